#pragma once
// Demonstration data: instrument-style received kind images (header "2.00", the
// record count, 180-byte records, companion blocks) for all seven kinds. The sample
// data folder and the instrument simulator are made from these.

#include <filesystem>
#include <string>
#include <vector>

#include "rxt4/data/DataSetWriter.h"
#include "rxt4/data/Kinds.h"

namespace rxt4 {

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

}  // namespace rxt4
