#include "rxt4/data/DemoImages.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <system_error>

#include "rxt4/data/CompanionLayout.h"
#include "rxt4/data/DataSetWriter.h"
#include "rxt4/data/JobRecord.h"
#include "rxt4/data/MeasurementRow.h"
#include "rxt4/data/Sjis.h"
#include "rxt4/data/TextRules.h"

namespace rxt4 {
namespace {

constexpr std::size_t kRecordBytes = DataSetWriter::kRecordBytes;
constexpr double kProfileSamplesPerUs = 8.126984126984127;

using Fields = std::array<std::string, MeasurementRow::kColumnCount>;

void PutLe32(KindImage& image, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) image.push_back(static_cast<std::uint8_t>((v >> (8 * i)) & 0xFF));
}

// The instrument's 180-byte record of a row: the fields in Shift-JIS joined by commas,
// blanks up to byte 179 (inside the last field, so the record stays one row of 30
// fields) and the line feed as byte 180.
std::string Record(const Fields& fields) {
  std::string text;
  for (std::size_t c = 0; c < fields.size(); ++c) {
    if (c) text += ',';
    text += EncodeSjis(fields[c]);
  }
  text.resize(kRecordBytes - 1, ' ');
  text += '\n';
  return text;
}

// Deterministic noise, so that the demonstration files are the same on every run.
class Noise {
 public:
  explicit Noise(std::uint32_t seed) : state_(seed ? seed : 1) {}
  double Uniform() {  // 0 <= u < 1
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return (state_ & 0xFFFFFF) / 16777216.0;
  }
  double Gauss() { return (Uniform() + Uniform() + Uniform() + Uniform() - 2.0) * 1.7320508; }

 private:
  std::uint32_t state_;
};

// A row of a text kind: column 0 and the data name, the rest from the list.
struct Column {
  int index;
  const char* text;
};
Fields Row(const std::string& no, const std::string& name, std::initializer_list<Column> columns) {
  Fields f;
  f[0] = no;
  f[1] = name;
  for (const Column& c : columns) f[static_cast<std::size_t>(c.index)] = c.text;
  return f;
}

std::string No(int i) {
  char text[16];
  std::snprintf(text, sizeof text, "%04d", i);
  return text;
}

// The demonstration job: a survey of an apartment house's shared reception system
// (set folder 0412, before) and the same outlets measured again after the UHF antenna
// was re-aimed and the booster's gain raised (0413, after). Frequencies follow the
// Japanese channel plans: UHF ch 13-62 at 473.142857 + 6 x (ch - 13) MHz; BS right-hand
// IF 1049.48 + 19.18 x (n - 1) MHz for BS-n (odd n); 110-degree CS left-hand IF
// 1573 + 20 x n MHz for ND n (even n); cable C13-C22 at 111 + 6 x (n - 13) MHz and
// C23-C63 at 225 + 6 x (n - 23) MHz. Rows whose data name begins "試験:" hold the
// instrument's markers and other edge cases, kept so that every screen and table shows
// them; they are no part of the job.

// Columns: 2 band, 3 channel, 4 polarisation, 5 frequency, 6 level, 7 C/N, 8 modulation,
// 9 local oscillator, 10 correction, 11 booster, 12 converter, 13 layer, 14 band number,
// 20 screen type, 21 BER, 22 MER, 23-29 the second channel of SKY rows.
std::vector<Fields> LevelRows(bool after) {
  std::vector<Fields> rows = {
      Row(No(1), "27ch NHK総合", {{2, "UHF"}, {3, "27"}, {5, "557.143"}, {6, "68.2"}, {7, "32.5"}, {8, "OFDM"}, {9, "*"}, {10, "OFF"}, {11, "OFF"}, {12, "OFF"}, {14, "30"}, {20, "0"}}),
      Row(No(2), "21ch フジ", {{2, "UHF"}, {3, "21"}, {5, "521.143"}, {6, "44.6"}, {7, "21.5"}, {8, "OFDM"}, {9, "*"}, {10, "1.5"}, {11, "OFF"}, {12, "OFF"}, {14, "31"}, {20, "0"}}),
      Row(No(3), "試験:過大入力", {{2, "UHF"}, {3, "52"}, {5, "707.143"}, {6, "120.1"}, {7, "35.0"}, {8, "OFDM"}, {9, "*"}, {10, "OFF"}, {11, "15V"}, {12, "OFF"}, {14, "34"}, {20, "0"}}),
      Row(No(4), "BS-1 右旋", {{2, "BS"}, {3, "1"}, {4, "R"}, {5, "1049.48"}, {6, "72.4"}, {7, "18.3"}, {8, "8PSK"}, {9, "10.678"}, {10, "OFF"}, {11, "OFF"}, {12, "15V"}, {14, "3"}, {20, "2"}}),
      Row(No(5), "試験:未測定", {{2, "N-SAT110"}, {3, "ND2"}, {4, "L"}, {5, "1613.00"}, {6, "---.-"}, {7, "---.-"}, {8, "QPSK"}, {9, "10.678"}, {10, "2.0"}, {11, "OFF"}, {12, "15V"}, {14, "10"}, {20, "3"}}),
      Row(No(6), "CATV C13", {{2, "VHF"}, {3, "C13"}, {5, "111.00"}, {6, "85.0"}, {7, "40.2"}, {8, "64QAM"}, {9, "*"}, {10, "OFF"}, {11, "15V"}, {12, "OFF"}, {14, "35"}, {20, "7"}}),
      Row(No(7), "試験:範囲外(下)", {{2, "VHF"}, {3, "1"}, {5, "91.25"}, {6, "___._"}, {7, "___._"}, {8, "Analog"}, {9, "*"}, {10, "OFF"}, {11, "OFF"}, {12, "OFF"}, {14, "33"}, {20, "8"}}),
      Row(No(8), "試験:範囲外(上)", {{2, "JCSAT-4A"}, {3, "TP5"}, {4, "V"}, {5, "1280"}, {6, "~~~.~"}, {7, "~~~.~"}, {8, "QPSK"}, {9, "11.200"}, {10, "OFF"}, {11, "OFF"}, {12, "15V"}, {14, "20"}, {20, "9"}}),
      Row(No(9), "JCSAT-3A 12", {{2, "JCSAT-3A"}, {3, "12"}, {4, "H"}, {5, "1342"}, {6, "65.1"}, {7, "23.0"}, {8, "QPSK"}, {9, "11.200"}, {10, "OFF"}, {11, "OFF"}, {12, "15V"}, {14, "5"}, {20, "10"}}),
      Row(No(10), "CATV上り U3", {{2, "CATV"}, {3, "U3"}, {5, "35.00"}, {6, "95.3"}, {7, "30.1"}, {8, "QPSK"}, {9, "*"}, {10, "OFF"}, {11, "OFF"}, {12, "OFF"}, {14, "45"}, {20, "11"}}),
      Row(No(11), "BS-3 IFパススルー", {{2, "BSパススルー"}, {3, "3"}, {5, "1087.84"}, {6, "55.0"}, {7, "20.5"}, {8, "OFDM"}, {9, "*"}, {10, "OFF"}, {11, "OFF"}, {12, "OFF"}, {14, "28"}, {20, "0"}}),
      Row(No(12), "スカパー TP8", {{2, "JCSAT-3A"}, {3, "TP8"}, {4, "V"}, {5, "1400"}, {6, "70.0"}, {7, "14.0"}, {8, "QPSK"}, {9, "11.200"}, {10, "OFF"}, {11, "OFF"}, {12, "15V"}, {14, "12"}, {20, "4"}}),
  };
  if (after) {
    // The antenna faces the tower now and the booster gives 6 dB more.
    rows[0][6] = "70.5", rows[0][7] = "34.0";
    rows[1][6] = "63.8", rows[1][7] = "33.2", rows[1][10] = "OFF";
    rows[3][6] = "73.0", rows[3][7] = "18.9";
    rows[5][6] = "84.6", rows[5][7] = "40.5";
  }
  return rows;
}
// Where each level measurement was taken.
const char* const kLevelPlaces[] = {"101号室 リビング", "101号室 寝室",  "",           "101号室 リビング",
                                    "",                 "共用部 MDF",    "",           "",
                                    "屋上 CSアンテナ",  "共用部 MDF",    "102号室 リビング", "屋上 CSアンテナ"};

std::vector<Fields> BerRows(bool after) {
  std::vector<Fields> rows = {
      Row(No(1), "27ch B階層", {{2, "UHF"}, {3, "27"}, {5, "557.143"}, {6, "62.0"}, {7, "31.2"}, {8, "64QAM"}, {9, "*"}, {10, "OFF"}, {13, "B"}, {14, "30"}, {20, "0"}, {21, "2.0E-4"}, {22, "24.5"}}),
      Row(No(2), "試験:BER範囲外(下)", {{2, "UHF"}, {3, "27"}, {5, "557.143"}, {6, "62.0"}, {7, "5.0"}, {8, "QPSK"}, {9, "*"}, {10, "OFF"}, {13, "A"}, {14, "30"}, {20, "0"}, {21, "_._____"}, {22, "5.1"}}),
      Row(No(3), "ワンセグ 27ch", {{2, "UHF"}, {3, "27"}, {5, "557.143"}, {6, "48.3"}, {7, "12.0"}, {8, "QPSK"}, {9, "*"}, {10, "OFF"}, {13, "A"}, {14, "31"}, {20, "1"}, {21, "1.0E-5"}, {22, "35.0"}}),
      Row(No(4), "試験:BER未測定", {{2, "BS"}, {3, "15"}, {4, "R"}, {5, "1318.00"}, {6, "70.2"}, {7, "17.5"}, {8, "8PSK"}, {9, "10.678"}, {10, "OFF"}, {12, "15V"}, {14, "3"}, {20, "2"}, {21, "-.-----"}}),
      Row(No(5), "試験:BER範囲外(上)", {{2, "N-SAT110"}, {3, "ND4"}, {4, "L"}, {5, "1653.00"}, {6, "66.8"}, {7, "12.4"}, {8, "QPSK"}, {9, "10.678"}, {10, "OFF"}, {12, "15V"}, {14, "10"}, {20, "3"}, {21, "~.~~~~~"}}),
      Row(No(6), "CATV C23", {{2, "VHF"}, {3, "C23"}, {5, "225.00"}, {6, "80.0"}, {7, "38.0"}, {8, "64QAM"}, {9, "*"}, {10, "OFF"}, {11, "15V"}, {13, "A"}, {14, "36"}, {20, "7"}, {21, "3.5E-6"}}),
      Row(No(7), "JCSAT-3A 12", {{2, "JCSAT-3A"}, {3, "12"}, {4, "V"}, {5, "1342"}, {6, "64.0"}, {7, "22.0"}, {8, "QPSK"}, {9, "11.200"}, {10, "OFF"}, {12, "15V"}, {14, "15"}, {20, "9"}, {21, "1.2E-7"}}),
      Row(No(8), "N-SAT110 ND6", {{2, "N-SAT110"}, {3, "ND6"}, {4, "L"}, {5, "1693.00"}, {6, "63.0"}, {7, "22.0"}, {8, "QPSK"}, {9, "10.678"}, {10, "OFF"}, {12, "15V"}, {14, "16"}, {20, "9"}, {21, "4.0E-8"}}),
      Row(No(9), "試験:バンド名空白", {{2, " JCSAT-4A "}, {3, "TP3"}, {4, "H"}, {5, "1150"}, {6, "60.0"}, {7, "21.5"}, {8, "QPSK"}, {9, "11.200"}, {10, "OFF"}, {12, "15V"}, {14, "17"}, {20, "9"}, {21, "6.1E-5"}}),
      Row(No(10), "試験:BER 0.0E-0", {{2, "BS"}, {3, "9"}, {4, "R"}, {5, "1202.92"}, {6, "61.0"}, {7, "27.0"}, {8, "8PSK"}, {9, "10.678"}, {10, "OFF"}, {12, "15V"}, {14, "18"}, {20, "9"}, {21, "0.0E-0"}}),
  };
  if (after) {
    rows[0][6] = "66.0", rows[0][7] = "34.1", rows[0][21] = "1.0E-6", rows[0][22] = "31.5";
    rows[2][6] = "53.9", rows[2][21] = "2.0E-7";
  }
  return rows;
}
const char* const kBerPlaces[] = {"101号室 リビング", "", "101号室 寝室", "", "", "共用部 MDF", "屋上 CSアンテナ", "屋上 CSアンテナ", "", ""};

std::vector<Fields> SkyRows(bool after) {
  std::vector<Fields> rows = {
      Row(No(1), "スカパー TP8/13", {{2, "JCSAT-3A"}, {3, "TP8"}, {4, "V"}, {6, "60.0"}, {7, "12.0"}, {9, "11.200"}, {10, "OFF"}, {12, "15V"}, {14, "12"}, {20, "4"}, {21, "2.0E-5"},
                                      {23, "JCSAT-4A"}, {24, "13"}, {25, "H"}, {26, "58.5"}, {27, "1.0E-4"}, {28, "14.0"}, {29, "1.0"}}),
      Row(No(2), "試験:BER範囲外(下)", {{2, "JCSAT-3A"}, {3, "10"}, {4, "H"}, {6, "58.2"}, {7, "13.5"}, {9, "11.200"}, {10, "2.0"}, {12, "15V"}, {14, "12"}, {20, "5"}, {21, "3.4E-6"},
                                    {23, "JCSAT-4A"}, {24, "15"}, {25, "V"}, {26, "42.9"}, {27, "_._____"}, {28, "4.5"}, {29, "OFF"}}),
      Row(No(3), "試験:未測定", {{2, "JCSAT-4A"}, {3, "TP2"}, {4, "V"}, {6, "66.0"}, {7, "4.0"}, {9, "11.200"}, {10, "OFF"}, {12, "15V"}, {14, "13"}, {20, "6"}, {21, "-.-----"},
                               {23, "JCSAT-3A"}, {24, "20"}, {25, "h"}, {26, "---.-"}, {27, "-.-----"}, {28, "25.0"}, {29, "OFF"}}),
  };
  if (after) rows[0][6] = "63.5", rows[0][7] = "15.2", rows[0][21] = "2.0E-7", rows[0][26] = "64.0", rows[0][27] = "5.0E-7";
  return rows;
}
const char* const kSkyPlaces[] = {"屋上 CSアンテナ", "", ""};

// Constellation rows and the MER that shapes their point clouds.
struct ConstellationRow {
  Fields fields;
  int levelsPerAxis;  // 8 for 64QAM, 4 for 16QAM, 2 for QPSK
  double merDb;
};

std::vector<ConstellationRow> ConstellationRows(bool after) {
  std::vector<ConstellationRow> rows = {
      {Row(No(1), "27ch 64QAM B階層", {{2, "UHF"}, {3, "27"}, {5, "557.143"}, {8, "64QAM"}, {9, "*"}, {13, "B"}, {14, "30"}, {20, "0"}, {22, "27.3"}}), 8, 27.3},
      {Row(No(2), "試験:16QAM MER劣化", {{2, "UHF"}, {3, "27"}, {5, "557.143"}, {8, "16QAM"}, {9, "*"}, {13, "C"}, {14, "30"}, {20, "0"}, {22, "5"}}), 4, 16.0},
      {Row(No(3), "ワンセグ 27ch QPSK", {{2, "UHF"}, {3, "27"}, {5, "557.143"}, {8, "QPSK"}, {9, "*"}, {13, "A"}, {14, "31"}, {20, "1"}, {22, "30"}}), 2, 30.0},
      {Row(No(4), "試験:MER範囲外(下)", {{2, "VHF"}, {3, "C27"}, {5, "249.00"}, {8, "64QAM"}, {9, "*"}, {13, "_"}, {14, "40"}, {20, "7"}, {22, "___._"}}), 8, 17.0},
  };
  if (after) rows[0].fields[22] = "31.0", rows[0].merDb = 31.0;
  return rows;
}
const char* const kConstellationPlaces[] = {"101号室 リビング", "", "101号室 寝室", ""};

// The instrument's constellation picture (CompanionLayout.h): a frame, dotted axes and
// one noisy cloud per symbol.
std::vector<std::uint8_t> ConstellationBlock(int levelsPerAxis, double merDb, std::uint32_t seed) {
  std::vector<std::uint8_t> block(static_cast<std::size_t>(kConstellationRows * kConstellationRowBytes), 0);
  auto set = [&](int x, int yFromTop) {
    if (x < 0 || x >= kConstellationWidthPx || yFromTop < 0 || yFromTop >= kConstellationRows) return;
    int fileRow = kConstellationRows - 1 - yFromTop;
    block[static_cast<std::size_t>(fileRow * kConstellationRowBytes + x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
  };
  const int left = 4, right = 195, top = 0, bottom = 192;
  for (int x = left; x <= right; ++x) set(x, top), set(x, bottom);
  for (int y = top; y <= bottom; ++y) set(left, y), set(right, y);
  const int cx = (left + right) / 2, cy = (top + bottom) / 2;
  for (int x = left; x <= right; x += 3) set(x, cy);
  for (int y = top; y <= bottom; y += 3) set(cx, y);

  Noise noise(seed);
  const double spacing = 176.0 / levelsPerAxis;
  const double sigma = spacing * std::pow(10.0, -merDb / 20.0) * 1.2;
  const int pointsPerSymbol = 2400 / (levelsPerAxis * levelsPerAxis) + 12;
  for (int i = 0; i < levelsPerAxis; ++i) {
    for (int q = 0; q < levelsPerAxis; ++q) {
      double sx = cx + (i - (levelsPerAxis - 1) / 2.0) * spacing;
      double sy = cy + (q - (levelsPerAxis - 1) / 2.0) * spacing;
      for (int k = 0; k < pointsPerSymbol; ++k)
        set(static_cast<int>(std::lround(sx + noise.Gauss() * sigma)), static_cast<int>(std::lround(sy + noise.Gauss() * sigma)));
    }
  }
  return block;
}

// A length-prefixed companion block: length, the carried word, signed 16-bit samples.
std::vector<std::uint8_t> SampleBlock(const std::vector<std::int16_t>& samples, std::uint32_t word) {
  KindImage block;
  PutLe32(block, static_cast<std::uint32_t>(samples.size() * 2));
  PutLe32(block, word);
  for (std::int16_t s : samples) {
    auto u = static_cast<std::uint16_t>(s);
    block.push_back(static_cast<std::uint8_t>(u & 0xFF));
    block.push_back(static_cast<std::uint8_t>(u >> 8));
  }
  return block;
}

// One channel across the spectrum window in tenths of a dB around the centre line: a
// flat top with a gentle tilt and ripple, steep shoulders, and the noise floor outside.
std::vector<std::int16_t> SpectrumSamples(int count, double topDb, std::uint32_t seed) {
  Noise noise(seed);
  std::vector<std::int16_t> samples(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    double u = (i + 0.5) / count;  // 0 .. 1 across the window
    double edge = std::min(u, 1.0 - u);
    double db = topDb + 0.8 * std::sin(u * 18.0) - 1.0 * (u - 0.5);
    if (edge < 0.035) db = -32.0 + (topDb + 32.0) * std::pow(edge / 0.035, 3.0);
    db += noise.Gauss() * (edge < 0.035 ? 1.5 : 0.4);
    samples[static_cast<std::size_t>(i)] = static_cast<std::int16_t>(std::lround(db * 10.0));
  }
  return samples;
}

struct SpectrumRow {
  Fields fields;
  int sampleCount;
  double topDb;
};

std::vector<SpectrumRow> SpectrumRows(bool after) {
  std::vector<SpectrumRow> rows = {
      {Row(No(1), "27ch スペクトラム", {{2, "UHF"}, {3, "27"}, {5, "557.143"}, {8, "OFDM"}, {9, "*"}, {14, "30"}, {20, "0"}}), 234, 3.0},
      {Row(No(2), "試験:216点 26ch", {{2, "UHF"}, {3, "26"}, {5, "551.143"}, {8, "OFDM"}, {9, "*"}, {14, "31"}, {20, "0"}}), 216, 0.5},
      {Row(No(3), "CATV C27", {{2, "VHF"}, {3, "C27"}, {5, "249.00"}, {8, "64QAM"}, {9, "*"}, {14, "40"}, {20, "7"}}), 468, 5.0},
      {Row(No(4), "試験:1872点 52ch", {{2, "UHF"}, {3, "52"}, {5, "707.143"}, {8, "OFDM"}, {9, "*"}, {14, "34"}, {20, "0"}}), 1872, -2.0},
      {Row(No(5), "試験:粗い36点 21ch", {{2, "UHF"}, {3, "21"}, {5, "521.143"}, {8, "OFDM"}, {9, "*"}, {14, "30"}, {20, "0"}}), 36, 8.0},
  };
  if (after) rows[0].topDb = 6.5;
  return rows;
}
const char* const kSpectrumPlaces[] = {"101号室 リビング", "", "共用部 MDF", "", ""};

// A delay profile in tenths of a dB: the main path (0 dB) at index `mainIndex`, echoes
// at later delays, one pre-echo at a negative delay (the end of the buffer) and the
// noise floor about 50 dB down.
std::vector<std::int16_t> ProfileSamples(int count, int mainIndex, double firstEchoDb, std::uint32_t seed) {
  Noise noise(seed);
  std::vector<std::int16_t> samples(static_cast<std::size_t>(count));
  for (auto& s : samples) s = static_cast<std::int16_t>(std::lround(-500 + noise.Gauss() * 25));
  auto path = [&](double delayUs, double levelDb) {
    long centre = std::lround(delayUs * kProfileSamplesPerUs) + (delayUs >= 0 ? mainIndex : count);
    for (int d = -2; d <= 2; ++d) {
      long index = ((centre + d) % count + count) % count;
      auto value = static_cast<std::int16_t>(std::lround((levelDb - 7.0 * std::abs(d)) * 10.0));
      auto& s = samples[static_cast<std::size_t>(index)];
      if (value > s) s = value;
    }
  };
  path(0.0, 0.0);
  path(2.5, firstEchoDb);
  path(11.8, -18.0);
  path(40.2, -31.0);
  path(-4.0, -35.0);
  if (count >= 8192) path(150.0, -27.0);  // beyond the guard interval
  return samples;
}

struct ProfileRow {
  Fields fields;
  int sampleCount;
  int mainIndex;
  double firstEchoDb;  // the reflection 2.5 us after the main path
};

// The 4096-sample profile has its main path a few samples before the end of the
// buffer (a slightly negative delay), which the screen moves to index 0. After the
// antenna was re-aimed, the reflection off the neighbouring building is 12 dB weaker.
std::vector<ProfileRow> ProfileRows(bool after) {
  return {
      {Row(No(1), "27ch 遅延 モード1", {{2, "UHF"}, {3, "27"}, {5, "557.143"}, {8, "64QAM"}, {9, "*"}, {14, "30"}, {20, "0"}}), 2048, 0, after ? -18.0 : -6.0},
      {Row(No(2), "試験:遅延 モード2", {{2, "UHF"}, {3, "27"}, {5, "557.143"}, {8, "64QAM"}, {9, "*"}, {14, "30"}, {20, "0"}}), 4096, 4092, -6.0},
      {Row(No(3), "試験:遅延 モード3", {{2, "UHF"}, {3, "16"}, {5, "491.143"}, {8, "64QAM"}, {9, "*"}, {14, "30"}, {20, "7"}}), 8192, 10, -6.0},
  };
}
const char* const kProfilePlaces[] = {"101号室 リビング", "", ""};

// One multi-channel data set: a row per channel, every row tagged with the set number.
struct MultiSet {
  const char* name;
  const char* mode;   // column 17: "VU/CATV", or a satellite band ("BS", "CS")
  const char* band;   // column 2
  const char* range;  // column 15: the range offset digit
  const char* scale;  // column 16: 0, 1 or 2
  int firstChannel;   // UHF: the first channel; cable: the first C number; satellites: 1
  int channels;
  int cursor;         // column 18
  bool markers;       // a few channels hold the markers and out-of-range readings
  bool adjusted;      // measured after the adjustment: UHF 21 received, 6 dB more gain
};

// Centre frequency of cable channel Cn.
double CableMhz(int n) { return n <= 22 ? 111.0 + 6.0 * (n - 13) : 225.0 + 6.0 * (n - 23); }

std::vector<std::string> MultiRecords(int setNumber, const MultiSet& set, std::uint32_t seed) {
  Noise noise(seed);
  const bool vu = std::string(set.mode) == "VU/CATV";
  const bool uhf = std::string(set.band) == "UHF";
  std::vector<std::string> records;
  for (int ch = 1; ch <= set.channels; ++ch) {
    char no[32], channel[32], level[32], frequency[32], count[16], cursor[16], bandNo[16];
    std::snprintf(no, sizeof no, "%03d%02d", setNumber, ch);
    std::snprintf(count, sizeof count, "%d", set.channels);
    std::snprintf(cursor, sizeof cursor, "%d", set.cursor);
    const int n = set.firstChannel + ch - 1;
    double lv;
    if (vu) {
      std::snprintf(channel, sizeof channel, uhf ? "%d" : "C%d", n);
      std::snprintf(frequency, sizeof frequency, "%.3f", uhf ? 473.142857 + 6.0 * (n - 13) : CableMhz(n));
      std::snprintf(bandNo, sizeof bandNo, "%d", uhf ? 30 : 40);
      // UHF reaches the outlet between 58 and 72 dBuV; the cable plan a little higher.
      lv = (uhf ? 65.0 : 72.0) + (uhf ? 6.0 : 8.0) * std::sin(ch * 0.7) + noise.Gauss() * (uhf ? 1.0 : 2.0);
    } else {
      std::snprintf(channel, sizeof channel, "%s-%d", set.band, 2 * ch - 1);
      std::snprintf(frequency, sizeof frequency, "%.2f", 1049.48 + 38.36 * (ch - 1));
      std::snprintf(bandNo, sizeof bandNo, "%d", 3);
      lv = 96.0 - 3.0 * ch + noise.Gauss();  // inside the 74..106 dB view of the 4 dB scale
    }
    if (set.adjusted) lv += 6.0;
    else if (uhf && n == 21) lv -= 20.0;  // the station the antenna missed before the adjustment
    std::snprintf(level, sizeof level, "%.1f", lv);
    if (set.markers) {
      if (ch == 3) std::snprintf(level, sizeof level, "---.-");
      if (ch == 7) std::snprintf(level, sizeof level, vu ? "130.5" : "110.2");
      if (ch == 9) std::snprintf(level, sizeof level, vu ? "15.0" : "40.0");
    }
    Fields f;
    f[0] = no;
    f[1] = set.name;
    f[2] = set.band;
    f[3] = channel;
    f[4] = vu ? "" : (ch % 2 ? "R" : "L");
    f[5] = frequency;
    f[6] = level;
    f[7] = "";
    f[8] = vu ? (uhf ? "OFDM" : (ch % 4 == 0 ? "Analog" : "64QAM")) : "8PSK";
    f[9] = vu ? "*" : "10.678";
    f[10] = ch % 5 == 2 ? "1.5" : "OFF ";
    f[11] = vu ? "15V" : "OFF";
    f[12] = vu ? "OFF" : "15V";
    f[14] = bandNo;
    f[15] = set.range;
    f[16] = set.scale;
    f[17] = set.mode;
    f[18] = cursor;
    f[19] = count;
    f[20] = vu ? "7" : "2";
    records.push_back(Record(f));
  }
  return records;
}

// The UHF scan covers the Tokyo stations (16, 21 to 27) and the empty channels between.
const std::vector<MultiSet>& MultiSets() {
  static const std::vector<MultiSet> sets = {
      {"試験:BS 5ch一括", "BS", "BS", "0", "1", 1, 5, 2, true, false},
      {"UHF 16-27ch一括", "VU/CATV", "UHF", "1", "0", 16, 12, 12, false, false},
      {"試験:CATV 25ch", "VU/CATV", "VHF", "6", "2", 13, 25, 1, true, false},
      {"UHF 16-27ch一括", "VU/CATV", "UHF", "1", "0", 16, 12, 12, false, true},  // after the adjustment
  };
  return sets;
}
const char* const kMultiPlaces[] = {"", "101号室 リビング", "", "101号室 リビング"};

KindImage MultiImage(const std::vector<int>& setIndexes) {
  std::vector<std::string> records;
  int number = 0;
  for (int index : setIndexes) {
    ++number;
    // The seed of the set's noise: the same for the UHF scan before and after.
    const std::uint32_t seed = 0x5EED0000u + static_cast<std::uint32_t>(index == 3 ? 1 : index);
    auto set = MultiRecords(number, MultiSets()[static_cast<std::size_t>(index)], seed);
    records.insert(records.end(), set.begin(), set.end());
  }
  return AssembleKindImage(static_cast<std::uint32_t>(setIndexes.size()), records);
}

// Renumbers column 0 so that the records of a subset name companion files 001, 002, ...
std::string RecordNumbered(Fields f, int number) {
  f[0] = No(number);
  return Record(f);
}

KindImage TextImage(const std::vector<Fields>& rows, const std::vector<int>& pick) {
  std::vector<std::string> records;
  for (int i : pick) records.push_back(RecordNumbered(rows[static_cast<std::size_t>(i)], static_cast<int>(records.size()) + 1));
  return AssembleKindImage(static_cast<std::uint32_t>(records.size()), records);
}

KindImage ConstellationImage(const std::vector<int>& pick, bool after) {
  auto rows = ConstellationRows(after);
  std::vector<std::string> records;
  std::vector<std::vector<std::uint8_t>> blocks;
  for (int i : pick) {
    const auto& r = rows[static_cast<std::size_t>(i)];
    records.push_back(RecordNumbered(r.fields, static_cast<int>(records.size()) + 1));
    blocks.push_back(ConstellationBlock(r.levelsPerAxis, r.merDb, 0xC0000000u + static_cast<std::uint32_t>(i)));
  }
  return AssembleKindImage(static_cast<std::uint32_t>(records.size()), records, blocks);
}

KindImage SpectrumImage(const std::vector<int>& pick, bool after) {
  auto rows = SpectrumRows(after);
  std::vector<std::string> records;
  std::vector<std::vector<std::uint8_t>> blocks;
  for (int i : pick) {
    const auto& r = rows[static_cast<std::size_t>(i)];
    records.push_back(RecordNumbered(r.fields, static_cast<int>(records.size()) + 1));
    blocks.push_back(SampleBlock(SpectrumSamples(r.sampleCount, r.topDb, 0x5AEC0000u + static_cast<std::uint32_t>(i)),
                                 static_cast<std::uint32_t>(r.sampleCount)));
  }
  return AssembleKindImage(static_cast<std::uint32_t>(records.size()), records, blocks);
}

KindImage ProfileImage(const std::vector<int>& pick, bool after) {
  auto rows = ProfileRows(after);
  std::vector<std::string> records;
  std::vector<std::vector<std::uint8_t>> blocks;
  for (int i : pick) {
    const auto& r = rows[static_cast<std::size_t>(i)];
    records.push_back(RecordNumbered(r.fields, static_cast<int>(records.size()) + 1));
    blocks.push_back(SampleBlock(ProfileSamples(r.sampleCount, r.mainIndex, r.firstEchoDb, 0xDE1A0000u + static_cast<std::uint32_t>(i)),
                                 static_cast<std::uint32_t>(r.sampleCount)));
  }
  return AssembleKindImage(static_cast<std::uint32_t>(records.size()), records, blocks);
}

std::vector<int> Range(int n) {
  std::vector<int> v;
  for (int i = 0; i < n; ++i) v.push_back(i);
  return v;
}

// The labels of the picked rows, numbered as the set folder numbers them.
template <std::size_t N>
void Label(JobRecord& job, TransferKind kind, const std::vector<int>& pick, const char* const (&places)[N]) {
  for (std::size_t i = 0; i < pick.size(); ++i) {
    const std::size_t row = static_cast<std::size_t>(pick[i]);
    if (row < N && *places[row]) job.SetNote({kind, static_cast<int>(i) + 1}, {places[row], ""});
  }
}

JobRecord Job(bool after) {
  JobRecord job;
  job.title = after ? "共聴設備 アンテナ調整後の確認測定" : "共聴設備 受信状況調査";
  job.customer = "桜台ハイツ管理組合";
  job.property = "桜台ハイツ";
  job.address = "東京都練馬区桜台二丁目4番7号";
  job.measuredAt = after ? "2026-04-13 14:10" : "2026-04-12 10:30";
  job.weather = after ? "曇り" : "晴れ";
  job.technician = "佐藤 健一";
  job.instrument = {"RXT4", "R4-102345", "1.20"};
  job.findings = after ? "屋上の UHF アンテナを東京スカイツリー方向に向け直し、ブースターの利得を 6 dB 上げた。\n"
                         "調整後、101号室 寝室の UHF 21ch は 63.8 dBμV となり、各端子とも基準内。"
                       : "101号室 寝室の UHF 21ch が 44.6 dBμV で、テレビ端子の基準 (50 dBμV) を下回る。\n"
                         "屋上の UHF アンテナの向きのずれとブースターの利得不足によるものと見られる。\n"
                         "データ名が「試験:」で始まる測定は計器の表示確認用で、調査の対象外。";
  return job;
}

}  // namespace

std::vector<DemoSet> BuildDemoSets() {
  using K = TransferKind;
  std::vector<DemoSet> sets(2);
  // Before the adjustment: every kind, the edge cases included.
  DemoSet& before = sets[0];
  before.name = "0412";
  before.job = Job(false);
  const std::vector<int> level = Range(12), ber = Range(10), constellation = Range(4), spectrum = Range(5),
                         profile = Range(3), sky = Range(3), multi = {0, 1, 2};
  before.images[static_cast<int>(K::Level)] = TextImage(LevelRows(false), level);
  before.images[static_cast<int>(K::Ber)] = TextImage(BerRows(false), ber);
  before.images[static_cast<int>(K::Constellation)] = ConstellationImage(constellation, false);
  before.images[static_cast<int>(K::Spectrum)] = SpectrumImage(spectrum, false);
  before.images[static_cast<int>(K::Profile)] = ProfileImage(profile, false);
  before.images[static_cast<int>(K::Sky)] = TextImage(SkyRows(false), sky);
  before.images[static_cast<int>(K::Multi)] = MultiImage(multi);
  Label(before.job, K::Level, level, kLevelPlaces);
  Label(before.job, K::Ber, ber, kBerPlaces);
  Label(before.job, K::Constellation, constellation, kConstellationPlaces);
  Label(before.job, K::Spectrum, spectrum, kSpectrumPlaces);
  Label(before.job, K::Profile, profile, kProfilePlaces);
  Label(before.job, K::Sky, sky, kSkyPlaces);
  Label(before.job, K::Multi, multi, kMultiPlaces);

  // After it: the outlets measured again.
  DemoSet& after = sets[1];
  after.name = "0413";
  after.job = Job(true);
  const std::vector<int> levelAfter = {0, 1, 3, 5}, berAfter = {0, 2, 6}, constellationAfter = {0, 2},
                         spectrumAfter = {0, 2}, profileAfter = {0}, skyAfter = {0, 2}, multiAfter = {3};
  after.images[static_cast<int>(K::Level)] = TextImage(LevelRows(true), levelAfter);
  after.images[static_cast<int>(K::Ber)] = TextImage(BerRows(true), berAfter);
  after.images[static_cast<int>(K::Constellation)] = ConstellationImage(constellationAfter, true);
  after.images[static_cast<int>(K::Spectrum)] = SpectrumImage(spectrumAfter, true);
  after.images[static_cast<int>(K::Profile)] = ProfileImage(profileAfter, true);
  after.images[static_cast<int>(K::Sky)] = TextImage(SkyRows(true), skyAfter);
  after.images[static_cast<int>(K::Multi)] = MultiImage(multiAfter);
  Label(after.job, K::Level, levelAfter, kLevelPlaces);
  Label(after.job, K::Ber, berAfter, kBerPlaces);
  Label(after.job, K::Constellation, constellationAfter, kConstellationPlaces);
  Label(after.job, K::Spectrum, spectrumAfter, kSpectrumPlaces);
  Label(after.job, K::Profile, profileAfter, kProfilePlaces);
  Label(after.job, K::Sky, skyAfter, kSkyPlaces);
  Label(after.job, K::Multi, multiAfter, kMultiPlaces);
  return sets;
}

KindImages BuildDemoImages() { return BuildDemoSets().front().images; }

bool WriteDemoFolder(const std::filesystem::path& dataFolder) {
  std::error_code ec;
  std::filesystem::create_directories(dataFolder, ec);
  if (!std::filesystem::is_directory(dataFolder, ec)) return false;
  bool ok = true;
  for (const DemoSet& set : BuildDemoSets()) {
    std::filesystem::path setFolder = dataFolder / set.name;
    std::filesystem::create_directories(setFolder, ec);
    for (TransferKind kind : kAllTransferKinds) {
      const KindImage& image = set.images[static_cast<std::size_t>(kind)];
      if (image.empty()) continue;
      DataSetWriter writer;
      writer.SelectKind(kind);
      ok = writer.PrepareFolder(setFolder) && writer.Allocate(static_cast<std::uint32_t>(image.size())) && ok;
      writer.Append(image.data(), image.size());
      ok = writer.Write() && ok;
    }
    RecordError error;
    ok = WriteJobRecord(setFolder, set.job, error) && ok;
  }
  return ok;
}

}  // namespace rxt4
