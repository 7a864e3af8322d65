#include "rxt4/screens/CompanionData.h"

#include <algorithm>
#include <cmath>

#include "CompanionFile.h"
#include "rxt4/data/Columns.h"
#include "rxt4/data/Paths.h"

namespace rxt4 {

namespace {

constexpr std::size_t kHeaderBytes = 8;  // payload length and the carried word
// Largest delay-profile payload (the largest mode's samples, and an odd length byte)
// plus one, so that a longer file shows itself by its length.
constexpr std::size_t kProfileReadLimitBytes = kHeaderBytes + 2 * kMaxProfileSamples + 2;
// Main paths this close after index 0 are moved to index 0 by shifting the first
// quarter; this close before the end of the buffer, by rotating it.
constexpr int kNearPeakSamples = 25;

// Indexed by fftMode (0: no profile).
constexpr ProfileMode kModes[4] = {
    {0, 0, 0, 0}, {2048, -21, 63, 1877}, {4096, -42, 126, 3754}, {kMaxProfileSamples, -84, 252, 7509}};

// The mode of a profile of n samples; 0 when no mode has that many.
int ModeOfSampleCount(std::uint32_t n) {
  for (int mode = 1; mode < 4; ++mode)
    if (n == static_cast<std::uint32_t>(kModes[mode].samples)) return mode;
  return 0;
}

std::int16_t Le16(std::string_view bytes, std::size_t at) {
  const auto lo = static_cast<unsigned char>(bytes[at]), hi = static_cast<unsigned char>(bytes[at + 1]);
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(lo | hi << 8));
}

// Moves the main path (the largest sample among the early delays and the pre-echo
// tail; the first of equal maxima wins) to index 0 when it lies near either end.
void CentreMainPath(DelayProfile& profile) {
  std::vector<std::int16_t>& s = profile.samples;
  const ProfileMode& m = ProfileModeOf(profile.fftMode);
  const int quarter = m.samples / 4;
  std::int16_t peak = s[0];
  int p = 0;
  auto visit = [&](int i) {
    if (s[static_cast<std::size_t>(i)] > peak) {
      peak = s[static_cast<std::size_t>(i)];
      p = i;
    }
  };
  for (int i = 0; i < quarter; ++i) visit(i);
  for (int i = m.tailStart; i < m.samples; ++i) visit(i);
  profile.peakValue = peak;
  profile.peakIndex = p;

  if (p >= 1 && p < kNearPeakSamples) {
    // A main path just after index 0: the first quarter moves down so that it is sample 0.
    for (int k = 0; k < quarter; ++k) s[static_cast<std::size_t>(k)] = s[static_cast<std::size_t>(p + k)];
  } else if (p >= m.samples - kNearPeakSamples) {
    // A main path just before the end of the buffer (a slightly negative delay): the
    // whole buffer is rotated so that the peak becomes sample 0. Every sample keeps its
    // delay relative to the main path, and the peak does not stay behind in the tail
    // as a 0 dB pre-echo.
    std::rotate(s.begin(), s.begin() + p, s.end());
  }
}

}  // namespace

std::optional<std::string> ReadSpectrumPayload(const std::filesystem::path& file) {
  std::optional<std::string> bytes = ReadFilePrefix(file, kHeaderBytes + kSpectrumPayloadBytes);
  if (!bytes || bytes->size() < kHeaderBytes) return std::nullopt;
  bytes->erase(0, kHeaderBytes);
  return bytes;
}

std::vector<std::int16_t> SpectrumSamples(std::string_view payload) {
  std::vector<std::int16_t> samples(payload.size() / 2);
  for (std::size_t i = 0; i < samples.size(); ++i) samples[i] = Le16(payload, 2 * i);
  return samples;
}

const ProfileMode& ProfileModeOf(int fftMode) { return kModes[fftMode >= 1 && fftMode <= 3 ? fftMode : 0]; }

std::optional<DelayProfile> ReadDelayProfile(const std::filesystem::path& file) {
  const std::optional<std::string> bytes = ReadFilePrefix(file, kProfileReadLimitBytes);
  if (!bytes || bytes->size() <= kHeaderBytes) return std::nullopt;
  auto byteAt = [&](std::size_t i) { return static_cast<std::uint32_t>(static_cast<unsigned char>((*bytes)[i])); };
  const std::uint32_t length = byteAt(0) | byteAt(1) << 8 | byteAt(2) << 16 | byteAt(3) << 24;
  const std::uint32_t n = length / 2;
  DelayProfile profile;
  profile.fftMode = ModeOfSampleCount(n);
  if (profile.fftMode == 0) return std::nullopt;
  if (bytes->size() != static_cast<std::size_t>(length) + kHeaderBytes) return std::nullopt;

  // An odd length carries one byte more than its samples; only whole samples are kept.
  profile.payloadBytes = length;
  profile.samples.resize(n);
  for (std::size_t i = 0; i < n; ++i) profile.samples[i] = Le16(*bytes, kHeaderBytes + 2 * i);
  CentreMainPath(profile);
  return profile;
}

SpectrumLayout SpectrumTraceLayout(int n) {
  switch (n) {
    case 36: return {1, 6};
    case 72: return {1, 3};
    case 108: return {1, 2};
    case 432: case 468: return {2, 1};
    case 936: return {4, 1};
    case 1872: return {8, 1};
    default: return n > 0 && n <= kSpectrumPlainSamples ? SpectrumLayout{1, 1} : SpectrumLayout{};
  }
}

std::optional<double> SpectrumSampleFrequencyMhz(int index, int n, double frequencyMhz) {
  const SpectrumLayout layout = SpectrumTraceLayout(n);
  if (layout.sampleStep == 0 || index < 0 || index >= n) return std::nullopt;
  const int p = layout.pixelStep, q = layout.sampleStep;
  const int x0 = (kSpectrumTraceWidthPx - p * (n / q)) / 2 + kSpectrumPlotLeftX;
  const double x = x0 + p * (static_cast<double>(index) / q + 1);
  // The instrument holds the frequency in single precision.
  const double low = static_cast<float>(frequencyMhz) - kSpectrumBelowMhz;
  const double mhz = low + (x - kSpectrumPlotLeftX) * (kSpectrumBelowMhz + kSpectrumAboveMhz) /
                               (kSpectrumPlotRightX - kSpectrumPlotLeftX);
  return std::round(mhz * 1e4) / 1e4;
}

double ProfileSampleDelayUs(int index, int sampleCount) {
  return (index < sampleCount / 2 ? index : index - sampleCount) / kProfileSamplesPerUs;
}

std::optional<std::string> ReadConstellationDiagram(const std::filesystem::path& file) {
  // Anything after the 193rd row is not read.
  return ReadFilePrefix(file, kConstellationFileBytes);
}

void DrawConstellationDiagram(std::string_view diagram, Surface& dc, int leftX, int bottomY) {
  const int rows = static_cast<int>(std::min<std::size_t>(diagram.size() / kConstellationRowBytes, kConstellationRows));
  for (int r = 0; r < rows; ++r) {
    const int y = bottomY - r;
    for (int j = 0; j < kConstellationRowBytes; ++j) {
      const auto byte = static_cast<unsigned char>(diagram[static_cast<std::size_t>(r * kConstellationRowBytes + j)]);
      if (byte == 0) continue;
      for (int b = 0; b < 8; ++b)
        if ((byte & (0x80u >> b)) != 0) dc.SetPixel(leftX + 8 * j + b, y, kBlack);
    }
  }
}

std::optional<std::filesystem::path> UnreadableCompanion(const CDataSet& record) {
  const DataKind kind = record.kind;
  if (!HasCompanions(kind)) return std::nullopt;
  const std::filesystem::path file = CompanionPath(record.companionBase(), Field(record.row, Column::No));
  const bool readable = kind == DataKind::Spectrum   ? ReadSpectrumPayload(file).has_value()
                        : kind == DataKind::Profile ? ReadDelayProfile(file).has_value()
                                                    : ReadConstellationDiagram(file).has_value();
  if (readable) return std::nullopt;
  return file;
}

}  // namespace rxt4
