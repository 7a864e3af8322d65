#pragma once
// The large archive of the benchmarks: data set folders with all seven kinds (48
// rows each for the single-row kinds, four multi-channel tables of 12 channels),
// generated once under the system's temporary folder and kept for later runs. The
// tables only: the graph kinds' companion files are not written.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "rxt4/data/DataSetWriter.h"
#include "rxt4/data/Kinds.h"

namespace rxt4::bench {

// Where the archives live: <temp>/rxt4_bench_load/sets<N>.
inline std::filesystem::path ArchiveBase() { return std::filesystem::temp_directory_path() / "rxt4_bench_load"; }

constexpr int kRowsPerSingleKind = 48;
constexpr int kMultiTables = 4;
constexpr int kChannelsPerTable = 12;
constexpr std::size_t kRecordBytes = 180;

inline std::string Record(int set, int row, const char* tag) {
  char text[kRecordBytes + 1];
  int n =
      std::snprintf(text, sizeof text,
                    "%s%03d,Site %04d row %02d,UHF,%d,,473.143,%d.%d,32.5,OFDM,*,OFF,OFF,OFF,A,30,0,1,VU/CATV,1,%d,0,"
                    "2.0E-4,27.3,,,,,,,",
                    tag, row % 1000, set, row, 13 + row % 40, 40 + row % 50, row % 10, kChannelsPerTable);
  std::string record(text, static_cast<std::size_t>(n < 0 ? 0 : n));
  record.resize(kRecordBytes - 1, ' ');
  return record + "\n";
}

inline bool WriteKind(const std::filesystem::path& setFolder, int set, rxt4::TransferKind kind) {
  std::string image = "2.00";
  std::uint32_t count = kind == rxt4::TransferKind::Multi ? kMultiTables : kRowsPerSingleKind;
  for (int i = 0; i < 4; ++i) image += static_cast<char>((count >> (8 * i)) & 0xFF);
  if (kind == rxt4::TransferKind::Multi) {
    for (int t = 1; t <= kMultiTables; ++t) {
      char tag[8];
      std::snprintf(tag, sizeof tag, "%03d", t);
      for (int c = 1; c <= kChannelsPerTable; ++c) image += Record(set, c, tag);
    }
  } else {
    for (int r = 1; r <= kRowsPerSingleKind; ++r) image += Record(set, r, "0");
  }
  rxt4::DataSetWriter writer;
  writer.SelectKind(kind);
  if (!writer.PrepareFolder(setFolder) || !writer.Allocate(static_cast<std::uint32_t>(image.size()))) return false;
  writer.Append(reinterpret_cast<const std::uint8_t*>(image.data()), image.size());
  return writer.Write();
}

// Makes the data folder of `sets` set folders unless a complete one is there from an
// earlier run.
inline bool GenerateArchive(const std::filesystem::path& folder, int sets) {
  if (std::filesystem::exists(folder / ".complete")) return true;
  std::filesystem::remove_all(folder);
  for (int s = 0; s < sets; ++s) {
    char name[16];
    std::snprintf(name, sizeof name, "%04d", s);
    std::filesystem::path setFolder = folder / name;
    std::filesystem::create_directories(setFolder);
    for (rxt4::TransferKind kind : rxt4::kAllTransferKinds)
      if (!WriteKind(setFolder, s, kind)) return false;
  }
  std::ofstream(folder / ".complete") << "done";
  return true;
}

}  // namespace rxt4::bench
