#pragma once
// Demonstration data: instrument-style received kind images (header "2.00", the
// record count, 180-byte records, companion blocks) for all seven kinds. The sample
// data folder and the instrument simulator are made from these.

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "rxt4/data/Kinds.h"

namespace rxt4 {

using KindImage = std::vector<std::uint8_t>;
using KindImages = std::array<KindImage, kTransferKindCount>;  // indexed by TransferKind

struct DemoSet {
  std::string name;   // data set folder name
  KindImages images;  // an empty image means the set has no data of that kind
};

// The data set folders of the demonstration data folder.
std::vector<DemoSet> BuildDemoSets();

// The kind images the simulated instrument holds (one set's worth of every kind).
KindImages BuildDemoImages();

// Writes every demonstration set into dataFolder (created when missing) through
// DataSetWriter; false when anything could not be written.
bool WriteDemoFolder(const std::filesystem::path& dataFolder);

// The inverse of DataSetWriter: reads a data set folder's kind folder back into the
// kind image the instrument would send. Nothing when the kind folder is missing or
// unreadable.
std::optional<KindImage> ReadKindImage(const std::filesystem::path& setFolder, TransferKind kind);

}  // namespace rxt4
