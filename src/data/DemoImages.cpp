#include "rxt4/data/DemoImages.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <system_error>

#include "rxt4/data/DataSetWriter.h"
#include "rxt4/data/MeasurementRow.h"
#include "rxt4/data/Sjis.h"
#include "rxt4/data/TextRules.h"

namespace rxt4 {
namespace {

constexpr std::size_t kRecordBytes = DataSetWriter::kRecordBytes;
constexpr int kConstellationRows = 193;
constexpr int kConstellationRowBytes = 25;
constexpr int kConstellationWidthPx = 200;
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

// Columns: 2 band, 3 channel, 4 polarisation, 5 frequency, 6 level, 7 C/N, 8 modulation,
// 9 local oscillator, 10 correction, 11 booster, 12 converter, 13 layer, 14 band number,
// 20 screen type, 21 BER, 22 MER, 23-29 the second channel of SKY rows.
std::vector<Fields> LevelRows() {
  return {
      Row(No(1), "東京タワー方向", {{2, "UHF"}, {3, "13"}, {5, "473.143"}, {6, "68.2"}, {7, "32.5"}, {8, "OFDM"}, {9, "*"}, {10, "OFF"}, {11, "OFF"}, {12, "OFF"}, {14, "30"}, {20, "0"}}),
      Row(No(2), "ベランダ受信", {{2, "UHF"}, {3, "27"}, {5, "557.143"}, {6, "19.9"}, {7, "12.0"}, {8, "OFDM"}, {9, "*"}, {10, "1.5"}, {11, "OFF"}, {12, "OFF"}, {14, "31"}, {20, "0"}}),
      Row(No(3), "屋根上アンテナ", {{2, "UHF"}, {3, "52"}, {5, "707.143"}, {6, "120.1"}, {7, "35.0"}, {8, "OFDM"}, {9, "*"}, {10, "OFF"}, {11, "15V"}, {12, "OFF"}, {14, "34"}, {20, "0"}}),
      Row(No(4), "BS右旋", {{2, "BS"}, {3, "1"}, {4, "R"}, {5, "1049.48"}, {6, "72.4"}, {7, "18.3"}, {8, "8PSK"}, {9, "10.678"}, {10, "OFF"}, {11, "OFF"}, {12, "15V"}, {14, "3"}, {20, "2"}}),
      Row(No(5), "CS110度", {{2, "N-SAT110"}, {3, "ND2"}, {4, "L"}, {5, "1613.00"}, {6, "---.-"}, {7, "---.-"}, {8, "QPSK"}, {9, "10.678"}, {10, "2.0"}, {11, "OFF"}, {12, "15V"}, {14, "10"}, {20, "3"}}),
      Row(No(6), "CATV幹線", {{2, "VHF"}, {3, "C13"}, {5, "111.00"}, {6, "85.0"}, {7, "40.2"}, {8, "64QAM"}, {9, "*"}, {10, "OFF"}, {11, "15V"}, {12, "OFF"}, {14, "35"}, {20, "7"}}),
      Row(No(7), "アナログ放送", {{2, "VHF"}, {3, "1"}, {5, "91.25"}, {6, "___._"}, {7, "___._"}, {8, "Analog"}, {9, "*"}, {10, "OFF"}, {11, "OFF"}, {12, "OFF"}, {14, "33"}, {20, "8"}}),
      Row(No(8), "その他衛星", {{2, "JCSAT-4A"}, {3, "TP5"}, {4, "V"}, {5, "1280"}, {6, "~~~.~"}, {7, "~~~.~"}, {8, "QPSK"}, {9, "11.200"}, {10, "OFF"}, {11, "OFF"}, {12, "15V"}, {14, "20"}, {20, "9"}}),
      Row(No(9), "衛星C/N", {{2, "JCSAT-3A"}, {3, "12"}, {4, "H"}, {5, "1342"}, {6, "65.1"}, {7, "23.0"}, {8, "QPSK"}, {9, "11.200"}, {10, "OFF"}, {11, "OFF"}, {12, "15V"}, {14, "5"}, {20, "10"}}),
      Row(No(10), "CATV上り", {{2, "CATV"}, {3, "U3"}, {5, "35.00"}, {6, "95.3"}, {7, "30.1"}, {8, "QPSK"}, {9, "*"}, {10, "OFF"}, {11, "OFF"}, {12, "OFF"}, {14, "45"}, {20, "11"}}),
      Row(No(11), "BS-IFパススルー", {{2, "BSパススルー"}, {3, "3"}, {5, "1087.84"}, {6, "55.0"}, {7, "20.5"}, {8, "OFDM"}, {9, "*"}, {10, "OFF"}, {11, "OFF"}, {12, "OFF"}, {14, "28"}, {20, "0"}}),
      Row(No(12), "スカパー確認", {{2, "JCSAT-3A"}, {3, "TP8"}, {4, "V"}, {5, "1400"}, {6, "70.0"}, {7, "14.0"}, {8, "QPSK"}, {9, "11.200"}, {10, "OFF"}, {11, "OFF"}, {12, "15V"}, {14, "12"}, {20, "4"}}),
  };
}

std::vector<Fields> BerRows() {
  return {
      Row(No(1), "BER測定 B階層", {{2, "UHF"}, {3, "21"}, {5, "515.143"}, {6, "62.0"}, {7, "31.2"}, {8, "64QAM"}, {9, "*"}, {10, "OFF"}, {13, "B"}, {14, "30"}, {20, "0"}, {21, "2.0E-4"}, {22, "24.5"}}),
      Row(No(2), "BER A階層", {{2, "UHF"}, {3, "21"}, {5, "515.143"}, {6, "62.0"}, {7, "5.0"}, {8, "QPSK"}, {9, "*"}, {10, "OFF"}, {13, "A"}, {14, "30"}, {20, "0"}, {21, "_._____"}, {22, "5.1"}}),
      Row(No(3), "ワンセグ", {{2, "UHF"}, {3, "27"}, {5, "557.143"}, {6, "48.3"}, {7, "12.0"}, {8, "QPSK"}, {9, "*"}, {10, "OFF"}, {13, "A"}, {14, "31"}, {20, "1"}, {21, "1.0E-5"}, {22, "35.0"}}),
      Row(No(4), "BS放送", {{2, "BS"}, {3, "15"}, {4, "R"}, {5, "1318.00"}, {6, "70.2"}, {7, "17.5"}, {8, "8PSK"}, {9, "10.678"}, {10, "OFF"}, {12, "15V"}, {14, "3"}, {20, "2"}, {21, "-.-----"}}),
      Row(No(5), "CS放送", {{2, "N-SAT110"}, {3, "ND4"}, {4, "L"}, {5, "1653.00"}, {6, "66.8"}, {7, "12.4"}, {8, "QPSK"}, {9, "10.678"}, {10, "OFF"}, {12, "15V"}, {14, "10"}, {20, "3"}, {21, "~.~~~~~"}}),
      Row(No(6), "CATV BER", {{2, "VHF"}, {3, "C23"}, {5, "225.00"}, {6, "80.0"}, {7, "38.0"}, {8, "64QAM"}, {9, "*"}, {10, "OFF"}, {11, "15V"}, {13, "A"}, {14, "36"}, {20, "7"}, {21, "3.5E-6"}}),
      Row(No(7), "JCSAT-3A", {{2, "JCSAT-3A"}, {3, "12"}, {4, "V"}, {5, "1342"}, {6, "64.0"}, {7, "22.0"}, {8, "QPSK"}, {9, "11.200"}, {10, "OFF"}, {12, "15V"}, {14, "15"}, {20, "9"}, {21, "1.2E-7"}}),
      Row(No(8), "N-SAT110", {{2, "N-SAT110"}, {3, "ND6"}, {4, "R"}, {5, "1693"}, {6, "63.0"}, {7, "22.0"}, {8, "QPSK"}, {9, "10.678"}, {10, "OFF"}, {12, "15V"}, {14, "16"}, {20, "9"}, {21, "4.0E-8"}}),
      Row(No(9), "JCSAT-4A", {{2, " JCSAT-4A "}, {3, "TP3"}, {4, "H"}, {5, "1150"}, {6, "60.0"}, {7, "21.5"}, {8, "QPSK"}, {9, "11.200"}, {10, "OFF"}, {12, "15V"}, {14, "17"}, {20, "9"}, {21, "6.1E-5"}}),
      Row(No(10), "BS他衛星", {{2, "BS"}, {3, "9"}, {4, "R"}, {5, "1202"}, {6, "61.0"}, {7, "27.0"}, {8, "8PSK"}, {9, "10.678"}, {10, "OFF"}, {12, "15V"}, {14, "18"}, {20, "9"}, {21, "0.0E-0"}}),
  };
}

std::vector<Fields> SkyRows() {
  return {
      Row(No(1), "スカパー レベル", {{2, "JCSAT-3A"}, {3, "TP8"}, {4, "V"}, {6, "60.0"}, {7, "12.0"}, {9, "11.200"}, {10, "OFF"}, {12, "15V"}, {14, "12"}, {20, "4"}, {21, "2.0E-5"},
                                    {23, "JCSAT-4A"}, {24, "13"}, {25, "H"}, {26, "110.0"}, {27, "1.0E-4"}, {28, "14.0"}, {29, "1.0"}}),
      Row(No(2), "スカパー BER", {{2, "JCSAT-3A"}, {3, "10"}, {4, "H"}, {6, "58.2"}, {7, "13.5"}, {9, "11.200"}, {10, "2.0"}, {12, "15V"}, {14, "12"}, {20, "5"}, {21, "3.4E-6"},
                                 {23, "JCSAT-4A"}, {24, "15"}, {25, "V"}, {26, "42.9"}, {27, "_._____"}, {28, "4.5"}, {29, "OFF"}}),
      Row(No(3), "スカパー C/N", {{2, "JCSAT-4A"}, {3, "TP2"}, {4, "V"}, {6, "66.0"}, {7, "4.0"}, {9, "11.200"}, {10, "OFF"}, {12, "15V"}, {14, "13"}, {20, "6"}, {21, "-.-----"},
                                 {23, "JCSAT-3A"}, {24, "20"}, {25, "h"}, {26, "---.-"}, {27, "-.-----"}, {28, "25.0"}, {29, "OFF"}}),
  };
}

// Constellation rows and the MER that shapes their point clouds.
struct ConstellationRow {
  Fields fields;
  int levelsPerAxis;  // 8 for 64QAM, 4 for 16QAM, 2 for QPSK
  double merDb;
};

std::vector<ConstellationRow> ConstellationRows() {
  return {
      {Row(No(1), "64QAM B階層", {{2, "UHF"}, {3, "13"}, {5, "473.143"}, {8, "64QAM"}, {9, "*"}, {13, "B"}, {14, "30"}, {20, "0"}, {22, "27.3"}}), 8, 27.3},
      {Row(No(2), "16QAM 劣化", {{2, "UHF"}, {3, "13"}, {5, "473.143"}, {8, "16QAM"}, {9, "*"}, {13, "C"}, {14, "30"}, {20, "0"}, {22, "5"}}), 4, 16.0},
      {Row(No(3), "ワンセグQPSK", {{2, "UHF"}, {3, "27"}, {5, "557.143"}, {8, "QPSK"}, {9, "*"}, {13, "A"}, {14, "31"}, {20, "1"}, {22, "30"}}), 2, 30.0},
      {Row(No(4), "CATV 64QAM", {{2, "BSパススルー"}, {3, "C27"}, {5, "243.00"}, {8, "64QAM"}, {9, "*"}, {13, "_"}, {14, "40"}, {20, "7"}, {22, "___._"}}), 8, 17.0},
  };
}

// The instrument's constellation picture: 193 rows of 200 pixels, one bit each, the
// most significant bit first, the first row being the bottom line; a frame, dotted
// axes and one noisy cloud per symbol.
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

std::vector<SpectrumRow> SpectrumRows() {
  return {
      {Row(No(1), "13ch スペクトラム", {{2, "UHF"}, {3, "13"}, {5, "473.143"}, {8, "OFDM"}, {9, "*"}, {14, "30"}, {20, "0"}}), 234, 3.0},
      {Row(No(2), "27ch 216点", {{2, "UHF"}, {3, "27"}, {5, "557.143"}, {8, "OFDM"}, {9, "*"}, {14, "31"}, {20, "0"}}), 216, 0.5},
      {Row(No(3), "CATV 468点", {{2, "VHF"}, {3, "C27"}, {5, "243.00"}, {8, "64QAM"}, {9, "*"}, {14, "40"}, {20, "7"}}), 468, 5.0},
      {Row(No(4), "52ch 1872点", {{2, "UHF"}, {3, "52"}, {5, "707.143"}, {8, "OFDM"}, {9, "*"}, {14, "34"}, {20, "0"}}), 1872, -2.0},
      {Row(No(5), "粗い36点", {{2, "UHF"}, {3, "21"}, {5, "515.143"}, {8, "OFDM"}, {9, "*"}, {14, "30"}, {20, "0"}}), 36, 8.0},
  };
}

// A delay profile in tenths of a dB: the main path (0 dB) at index `mainIndex`, echoes
// at later delays, one pre-echo at a negative delay (the end of the buffer) and the
// noise floor about 50 dB down.
std::vector<std::int16_t> ProfileSamples(int count, int mainIndex, std::uint32_t seed) {
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
  path(2.5, -6.0);
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
};

// The 4096-sample profile has its main path a few samples before the end of the
// buffer (a slightly negative delay), which the screen moves to index 0.
std::vector<ProfileRow> ProfileRows() {
  return {
      {Row(No(1), "遅延 モード1", {{2, "UHF"}, {3, "13"}, {5, "473.143"}, {8, "64QAM"}, {9, "*"}, {14, "30"}, {20, "0"}}), 2048, 0},
      {Row(No(2), "遅延 モード2", {{2, "UHF"}, {3, "13"}, {5, "473.143"}, {8, "64QAM"}, {9, "*"}, {14, "30"}, {20, "0"}}), 4096, 4092},
      {Row(No(3), "遅延 モード3", {{2, "VHF"}, {3, "13"}, {5, "473.143"}, {8, "64QAM"}, {9, "*"}, {14, "30"}, {20, "7"}}), 8192, 10},
  };
}

// One multi-channel data set: a row per channel, every row tagged with the set number.
struct MultiSet {
  const char* name;
  const char* mode;   // column 17: "VU/CATV", or a satellite band ("BS", "CS")
  const char* band;   // column 2
  const char* range;  // column 15: the range offset digit
  const char* scale;  // column 16: 0, 1 or 2
  int channels;
  int cursor;         // column 18
};

std::vector<std::string> MultiRecords(int setNumber, const MultiSet& set, std::uint32_t seed) {
  Noise noise(seed);
  const bool vu = std::string(set.mode) == "VU/CATV";
  std::vector<std::string> records;
  for (int ch = 1; ch <= set.channels; ++ch) {
    char no[32], channel[32], level[32], frequency[32], count[16], cursor[16], bandNo[16];
    std::snprintf(no, sizeof no, "%03d%02d", setNumber, ch);
    std::snprintf(count, sizeof count, "%d", set.channels);
    std::snprintf(cursor, sizeof cursor, "%d", set.cursor);
    double lv;
    if (vu) {
      std::snprintf(channel, sizeof channel, std::string(set.band) == "UHF" ? "%d" : "C%d", (std::string(set.band) == "UHF" ? 12 : 12) + ch);
      std::snprintf(frequency, sizeof frequency, "%.3f", std::string(set.band) == "UHF" ? 467.143 + 6.0 * ch : 105.0 + 6.0 * ch);
      std::snprintf(bandNo, sizeof bandNo, "%d", std::string(set.band) == "UHF" ? 30 : 40);
      lv = 72.0 + 8.0 * std::sin(ch * 0.7) + noise.Gauss() * 2.0;
    } else {
      std::snprintf(channel, sizeof channel, "%s-%d", set.band, 2 * ch - 1);
      std::snprintf(frequency, sizeof frequency, "%.2f", 1049.48 + 38.36 * (ch - 1));
      std::snprintf(bandNo, sizeof bandNo, "%d", 3);
      lv = 96.0 - 3.0 * ch + noise.Gauss();  // inside the 74..106 dB view of the 4 dB scale
    }
    std::snprintf(level, sizeof level, "%.1f", lv);
    // A few channels hold the markers and out-of-range readings.
    if (ch == 3) std::snprintf(level, sizeof level, "---.-");
    if (ch == 7) std::snprintf(level, sizeof level, vu ? "130.5" : "110.2");
    if (ch == 9) std::snprintf(level, sizeof level, vu ? "15.0" : "40.0");
    Fields f;
    f[0] = no;
    f[1] = set.name;
    f[2] = set.band;
    f[3] = channel;
    f[4] = vu ? "" : (ch % 2 ? "R" : "L");
    f[5] = frequency;
    f[6] = level;
    f[7] = "";
    f[8] = vu ? (std::string(set.band) == "UHF" ? "OFDM" : (ch % 4 == 0 ? "Analog" : "64QAM")) : "8PSK";
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

const std::vector<MultiSet>& MultiSets() {
  static const std::vector<MultiSet> sets = {
      {"BS 5ch一括", "BS", "BS", "0", "1", 5, 2},
      {"UHF 全局", "VU/CATV", "UHF", "1", "0", 12, 12},
      {"CATV 25ch", "VU/CATV", "VHF", "6", "2", 25, 1},
  };
  return sets;
}

KindImage MultiImage(const std::vector<int>& setIndexes) {
  std::vector<std::string> records;
  int number = 0;
  for (int index : setIndexes) {
    ++number;
    auto set = MultiRecords(number, MultiSets()[static_cast<std::size_t>(index)], 0x5EED0000u + static_cast<std::uint32_t>(index));
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

KindImage ConstellationImage(const std::vector<int>& pick) {
  auto rows = ConstellationRows();
  std::vector<std::string> records;
  std::vector<std::vector<std::uint8_t>> blocks;
  for (int i : pick) {
    const auto& r = rows[static_cast<std::size_t>(i)];
    records.push_back(RecordNumbered(r.fields, static_cast<int>(records.size()) + 1));
    blocks.push_back(ConstellationBlock(r.levelsPerAxis, r.merDb, 0xC0000000u + static_cast<std::uint32_t>(i)));
  }
  return AssembleKindImage(static_cast<std::uint32_t>(records.size()), records, blocks);
}

KindImage SpectrumImage(const std::vector<int>& pick) {
  auto rows = SpectrumRows();
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

KindImage ProfileImage(const std::vector<int>& pick) {
  auto rows = ProfileRows();
  std::vector<std::string> records;
  std::vector<std::vector<std::uint8_t>> blocks;
  for (int i : pick) {
    const auto& r = rows[static_cast<std::size_t>(i)];
    records.push_back(RecordNumbered(r.fields, static_cast<int>(records.size()) + 1));
    blocks.push_back(SampleBlock(ProfileSamples(r.sampleCount, r.mainIndex, 0xDE1A0000u + static_cast<std::uint32_t>(i)),
                                 static_cast<std::uint32_t>(r.sampleCount)));
  }
  return AssembleKindImage(static_cast<std::uint32_t>(records.size()), records, blocks);
}

std::vector<int> Range(int n) {
  std::vector<int> v;
  for (int i = 0; i < n; ++i) v.push_back(i);
  return v;
}

}  // namespace

std::vector<DemoSet> BuildDemoSets() {
  using K = TransferKind;
  std::vector<DemoSet> sets(3);
  sets[0].name = "0412";
  sets[0].images[static_cast<int>(K::Level)] = TextImage(LevelRows(), Range(static_cast<int>(LevelRows().size())));
  sets[0].images[static_cast<int>(K::Ber)] = TextImage(BerRows(), Range(static_cast<int>(BerRows().size())));
  sets[0].images[static_cast<int>(K::Constellation)] = ConstellationImage(Range(static_cast<int>(ConstellationRows().size())));
  sets[0].images[static_cast<int>(K::Spectrum)] = SpectrumImage(Range(static_cast<int>(SpectrumRows().size())));
  sets[0].images[static_cast<int>(K::Profile)] = ProfileImage(Range(static_cast<int>(ProfileRows().size())));
  sets[0].images[static_cast<int>(K::Sky)] = TextImage(SkyRows(), Range(static_cast<int>(SkyRows().size())));
  sets[0].images[static_cast<int>(K::Multi)] = MultiImage({0, 1, 2});

  sets[1].name = "0413";
  sets[1].images[static_cast<int>(K::Level)] = TextImage(LevelRows(), {0, 3, 5, 8});
  sets[1].images[static_cast<int>(K::Ber)] = TextImage(BerRows(), {0, 2, 6});
  sets[1].images[static_cast<int>(K::Spectrum)] = SpectrumImage({0, 2});
  sets[1].images[static_cast<int>(K::Multi)] = MultiImage({1});

  sets[2].name = "0520";
  sets[2].images[static_cast<int>(K::Constellation)] = ConstellationImage({0, 2});
  sets[2].images[static_cast<int>(K::Profile)] = ProfileImage({0});
  sets[2].images[static_cast<int>(K::Sky)] = TextImage(SkyRows(), {0, 2});
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
  }
  return ok;
}

}  // namespace rxt4
