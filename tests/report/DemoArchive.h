#pragma once
// The demonstration data folder written once per test program into a temporary
// folder and loaded, with helpers to run the PDF tools and read files.

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "../common/TempFolder.h"
#include "rxt4/data/DataFolderModel.h"
#include "rxt4/data/DemoImages.h"
#include "rxt4/report/MeasurementSelection.h"

namespace rxt4::test {

struct DemoArchive {
  TempFolder folder{"report"};
  std::filesystem::path work = folder.path();
  std::filesystem::path data;
  DataFolderModel model;
  MeasurementSelection selection;

  static DemoArchive& Get() {
    static DemoArchive archive;
    return archive;
  }

 private:
  DemoArchive() {
    data = work / "RXT4";
    WriteDemoFolder(data);
    NullLoadObserver quiet;
    model.Load(data, quiet);
    selection = SelectMeasurements(model, data);
  }
};

// Standard output of a shell command.
inline std::string CommandOutput(const std::string& command) {
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
  std::string out;
  if (!pipe) return out;
  char buffer[4096];
  while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe.get())) out.append(buffer, n);
  return out;
}

inline std::string FileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace rxt4::test
