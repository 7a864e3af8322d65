#pragma once
// Demonstration data: instrument-style received kind images (header "2.00", the
// record count, 180-byte records, companion blocks) for all seven kinds. The sample
// data folder and the instrument simulator are made from these.
//
// The sample is one job: an apartment house's shared reception measured before (set
// folder 0412) and after (0413) its UHF antenna was re-aimed, each set folder with its
// job record. Set folder 0412 also holds the edge cases every screen and table must
// show (the instrument's markers, odd sample counts, the three delay profile modes);
// their data names begin "試験:".

#include <filesystem>
#include <string>
#include <vector>

#include "rxt4/data/DataSetWriter.h"
#include "rxt4/data/JobRecord.h"
#include "rxt4/data/Kinds.h"

namespace rxt4 {

struct DemoSet {
  std::string name;   // data set folder name
  KindImages images;  // an empty image means the set has no data of that kind
  JobRecord job;      // its job record, labels included
};

// The data set folders of the demonstration data folder.
std::vector<DemoSet> BuildDemoSets();

// The kind images the simulated instrument holds (one set's worth of every kind).
KindImages BuildDemoImages();

// Writes every demonstration set into dataFolder (created when missing) through
// DataSetWriter, with its job record; false when anything could not be written.
bool WriteDemoFolder(const std::filesystem::path& dataFolder);

}  // namespace rxt4
