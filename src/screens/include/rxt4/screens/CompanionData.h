#pragma once
// The graph data of the companion files, decoded the one way the graph screens read
// it: the spectrum trace, the delay profile with its main path at delay 0, and the
// constellation diagram. The screens draw from these; the export stores them.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "rxt4/data/CDataSet.h"
#include "rxt4/data/CompanionLayout.h"
#include "rxt4/screens/Surface.h"

namespace rxt4 {

// --- spectrum ---

// Payload bytes the spectrum screen keeps from a companion file (1972 samples).
inline constexpr std::size_t kSpectrumPayloadBytes = 3944;

// The spectrum plot: its left and right edges (x), the width the trace is centred in,
// the most samples drawn one to a pixel without a layout of their own, and how far
// the left and right edges lie below and above the row's frequency.
inline constexpr int kSpectrumPlotLeftX = 35;
inline constexpr int kSpectrumPlotRightX = 295;
inline constexpr int kSpectrumTraceWidthPx = 257;
inline constexpr int kSpectrumPlainSamples = 257;
inline constexpr double kSpectrumBelowMhz = 2.64;
inline constexpr double kSpectrumAboveMhz = 2.93;

// The payload after the 8-byte header (length and carried word, neither used), at
// most kSpectrumPayloadBytes; nothing when the file is missing or shorter than its
// header.
std::optional<std::string> ReadSpectrumPayload(const std::filesystem::path& file);

// The payload's signed 16-bit little-endian samples, in tenths of a dB; an odd last
// byte is no sample.
std::vector<std::int16_t> SpectrumSamples(std::string_view payload);

// How the screen draws a trace of n samples: every sampleStep-th sample, pixelStep
// pixels apart (36 samples 6 pixels apart, 1872 every eighth one pixel apart, ...);
// sampleStep 0 for a count it draws no trace of.
struct SpectrumLayout {
  int sampleStep = 0;
  int pixelStep = 0;
};
SpectrumLayout SpectrumTraceLayout(int n);

// The frequency (MHz) at which the screen places sample index of a trace of n samples
// for a row of frequency frequencyMhz (column 5): the axis runs from 2.64 MHz below
// to 2.93 MHz above it across the plot, the trace centred on it, a sample at the end
// of its segment; samples between the drawn ones lie between them. Rounded to 0.1 kHz.
// Nothing for a count the screen draws no trace of.
std::optional<double> SpectrumSampleFrequencyMhz(int index, int n, double frequencyMhz);

// --- delay profile ---

// One FFT mode of the delay profile: its sample count, the delays (µs) the screen
// shows, and the first index of the pre-echo tail that the main-path search visits.
struct ProfileMode {
  int samples;
  int earliestUs;
  int latestUs;
  int tailStart;
};

// The samples of the largest mode (3).
inline constexpr int kMaxProfileSamples = 8192;

// Mode 1 (2048 samples), 2 (4096) or 3 (8192); mode 0 (no profile) for anything else.
const ProfileMode& ProfileModeOf(int fftMode);

// Samples per microsecond of delay (one sample every 0.123046875 µs).
inline constexpr double kProfileSamplesPerUs = 8.126984126984127;

struct DelayProfile {
  int fftMode = 0;                    // 1, 2 or 3
  std::vector<std::int16_t> samples;  // tenths of a dB, the main path moved to index 0
  std::int16_t peakValue = 0;         // the main path's value
  int peakIndex = 0;                  // where the main path was found, before it was moved
  std::uint32_t payloadBytes = 0;     // the stored payload length
};

// Decodes a delay-profile companion file (2048, 4096 or 8192 samples, the file exactly
// as long as its header says); nothing when it is missing or malformed.
std::optional<DelayProfile> ReadDelayProfile(const std::filesystem::path& file);

// Delay (µs) at which the screen places sample index of a profile of sampleCount
// samples: the first half lies after the main path, the second half before it.
double ProfileSampleDelayUs(int index, int sampleCount);

// --- constellation ---

// Up to the 193 rows of a diagram file; nothing when it cannot be opened.
std::optional<std::string> ReadConstellationDiagram(const std::filesystem::path& file);

// Paints the diagram's set pixels black, its bottom row at bottomY and its left
// column at leftX; only the complete rows present are drawn.
void DrawConstellationDiagram(std::string_view diagram, Surface& dc, int leftX, int bottomY);

// --- any companion kind ---

// The companion file of a constellation, spectrum or delay-profile record when its
// screen can draw no graph from it (missing, unreadable, no regular file, too long,
// malformed); nothing when it can, and for the other kinds.
std::optional<std::filesystem::path> UnreadableCompanion(const CDataSet& record);

}  // namespace rxt4
