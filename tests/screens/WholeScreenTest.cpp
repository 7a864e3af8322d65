// Whole text screens drawn from rows of known data with the pattern glyphs, each
// compared with the checksum of a picture that was looked at once: the field panel's
// fields, labels, outlines, markers, limit flags and correction marks, and the screen
// base's footers, in the places they take together. A picture that changes is written
// to the test's temporary folder, named in the failure, to be looked at again.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "PixelHelpers.h"
#include "rxt4/screens/BerScreen.h"
#include "rxt4/screens/ImageFiles.h"
#include "rxt4/screens/LevelScreen.h"
#include "rxt4/screens/SkyScreen.h"

namespace rxt4 {
namespace {

using test::Row;

std::shared_ptr<const FontSet> Fonts() {
  static const std::shared_ptr<const FontSet> fonts = FontSet::CreatePattern();
  return fonts;
}

// FNV-1a (64 bits) of the surface's pixels.
std::uint64_t Checksum(const Surface& s) {
  std::uint64_t h = 0xcbf29ce484222325u;
  for (std::uint8_t b : s.pixels()) h = (h ^ b) * 0x100000001b3u;
  return h;
}

template <typename Screen>
Surface Drawn(const MeasurementRow& row) {
  Screen screen(Fonts());
  screen.SetData(row);
  Surface dc;
  dc.Fill(kBlack);  // what the screen leaves undrawn shows
  screen.Draw(dc);
  return dc;
}

struct Picture {
  const char* name;
  std::function<Surface()> draw;
  std::uint64_t checksum;
};

// Column numbers: 2 band name, 3 channel, 4 polarisation, 5 frequency, 6 level, 7 C/N,
// 8 modulation, 9 oscillator, 10 correction, 12 converter power, 13 layer, 14 band
// number, 20 screen type, 21 BER, 22 MER, 25 polarisation 2, 26 level 2, 27 BER 2,
// 28 C/N 2, 29 correction 2.
const Picture kPictures[] = {
    // Terrestrial: band name, channel, frequency in the centre form, level, modulation
    // in the terrestrial footer, no correction mark.
    {"level_terrestrial",
     [] {
       return Drawn<CLevelScreen>(Row({{20, "0"}, {14, "30"}, {2, "UHF"}, {3, "13"}, {5, "473.143"}, {6, "68.24"},
                                       {8, " 64QAM\t"}, {10, "OFF"}}));
     },
     0xbecba92523e21cecu},
    // Satellite with C/N: the polarisation mark, C/N held at 20.0 with "以上", the
    // correction mark, oscillator and converter power in the satellite footer.
    {"level_satellite_cn_above_limit",
     [] {
       return Drawn<CLevelScreen>(Row({{20, "10"}, {14, "5"}, {2, "JCSAT"}, {3, "BS1"}, {4, "R"}, {5, "1049.48"},
                                       {6, "60.0"}, {7, "23.0"}, {9, "10.678"}, {10, "1.0"}, {12, "ON"}}));
     },
     0x4226155bf170cfb6u},
    // The BS pass-through satellite name in the narrow font; the level above its
    // range (high dashes); a polarisation that is not exactly a mark, and an
    // oscillator beginning with "*", draw nothing.
    {"level_bs_pass_through_above_range",
     [] {
       return Drawn<CLevelScreen>(Row({{20, "2"}, {14, "5"}, {2, " BSパススルー "}, {3, "BS15"}, {4, "v"}, {5, "1318"},
                                       {6, "~~~.~"}, {9, "*10.678"}, {10, "OFF"}, {12, "OFF"}}));
     },
     0xd1aecb2009ce58a4u},
    // One segment: MER below range instead of C/N, BER below range (dashes and point),
    // a layer text long enough to lie over the outline, a long modulation centred.
    {"ber_one_segment_below_range",
     [] {
       return Drawn<CBerScreen>(Row({{20, "1"}, {14, "30"}, {2, "UHF"}, {3, "21"}, {5, "515.143"}, {8, "ABCDEFGHI"},
                                     {13, "ABCD"}, {21, "_._____"}, {22, "___._"}}));
     },
     0x089c7b195b3194eau},
    // Terrestrial BER: the BS pass-through band name in the narrow font, the frequency
    // in the left form, no measurement, C/N held at its lower limit with "以下".
    {"ber_terrestrial_cn_below_limit",
     [] {
       return Drawn<CBerScreen>(Row({{20, "0"}, {14, "30"}, {2, " BSパススルー "}, {3, "C27"}, {5, "557.143"}, {8, "OFDM"},
                                     {13, "A"}, {21, "-.-----"}, {7, "1.0"}}));
     },
     0x429781159579af70u},
    // SKY levels: row 1 below range with its mark, row 2 above range, polarisation
    // marks only where exactly one, the correction mark in row 1 only.
    {"sky_levels",
     [] {
       return Drawn<CSkyScreen>(Row({{20, "4"}, {14, "12"}, {2, "JCSAT-3A"}, {3, "TP8"}, {4, "V"}, {6, "___._"},
                                     {10, "1.0"}, {23, "JCSAT-3A"}, {24, "TP13"}, {25, "R"}, {26, "~~~.~"},
                                     {29, "OFF"}, {9, "11.200"}, {12, "15V"}}));
     },
     0xbecc9602baafb8c2u},
    // SKY BER: row 1 a reading, row 2 below range.
    {"sky_ber",
     [] {
       return Drawn<CSkyScreen>(Row({{20, "5"}, {2, "JCSAT-3A"}, {3, "TP8"}, {4, "H "}, {21, "1.2E-04"},
                                     {23, "JCSAT-4A"}, {24, "TP2"}, {25, "L"}, {27, "_._____"}}));
     },
     0xe335413463918109u},
    // SKY C/N: both limit flags, 以下 in row 1 and 以上 in row 2.
    {"sky_cn_limits",
     [] { return Drawn<CSkyScreen>(Row({{20, "6"}, {7, "4.0"}, {28, "25.0"}, {10, "OFF"}, {29, "2.0"}})); },
     0x752994e2ca4c7652u},
};

TEST(WholeScreen, TextScreensAsLookedAt) {
  const std::filesystem::path out = std::filesystem::path(::testing::TempDir()) / "rxt4_whole_screens";
  for (const Picture& p : kPictures) {
    const Surface dc = p.draw();
    const std::uint64_t sum = Checksum(dc);
    if (sum == p.checksum) continue;
    std::filesystem::create_directories(out);
    const std::filesystem::path file = out / (std::string(p.name) + ".png");
    WritePngFile(file, dc.View());
    char hex[32];
    std::snprintf(hex, sizeof hex, "0x%016llx", static_cast<unsigned long long>(sum));
    ADD_FAILURE() << p.name << ": checksum " << hex << ", the picture is " << file.string();
  }
}

}  // namespace
}  // namespace rxt4
