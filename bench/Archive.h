#pragma once
// The large archives of the benchmarks: data set folders with all seven kinds (48
// rows each for the single-row kinds, four multi-channel tables of 12 channels),
// generated once under the system's temporary folder and kept for later runs. With
// companions, every graph row also has its companion file, as after a download.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "rxt4/data/DataSetWriter.h"
#include "rxt4/data/Kinds.h"

namespace rxt4::bench {

// Where the archives live: <temp>/rxt4_bench_archive (with companion files) or
// <temp>/rxt4_bench_load (tables only), each holding sets<N> folders.
inline std::filesystem::path ArchiveBase(bool companions = false) {
  return std::filesystem::temp_directory_path() / (companions ? "rxt4_bench_archive" : "rxt4_bench_load");
}

constexpr int kRowsPerSingleKind = 48;
constexpr int kMultiTables = 4;
constexpr int kChannelsPerTable = 12;
constexpr std::size_t kRecordBytes = 180;
constexpr std::size_t kConstelBlockBytes = 4825;
constexpr std::uint32_t kSpectrumPayloadBytes = 3944;
constexpr std::uint32_t kProfilePayloadBytes = 1024;
constexpr const char* kCompleteMark = ".complete";

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

inline void AppendU32(std::string& image, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) image += static_cast<char>((value >> (8 * i)) & 0xFF);
}

// One companion block per row, as the instrument sends them after the records.
inline void AppendCompanions(std::string& image, rxt4::TransferKind kind) {
  for (int r = 0; r < kRowsPerSingleKind; ++r) {
    if (kind == rxt4::TransferKind::Constellation) {
      image.append(kConstelBlockBytes, static_cast<char>(r));
    } else if (kind == rxt4::TransferKind::Spectrum || kind == rxt4::TransferKind::Profile) {
      const std::uint32_t payload = kind == rxt4::TransferKind::Spectrum ? kSpectrumPayloadBytes : kProfilePayloadBytes;
      AppendU32(image, payload);
      AppendU32(image, 0);
      image.append(payload, static_cast<char>(r));
    }
  }
}

inline bool WriteKind(const std::filesystem::path& setFolder, int set, rxt4::TransferKind kind, bool companions) {
  std::string image = "2.00";
  AppendU32(image, kind == rxt4::TransferKind::Multi ? kMultiTables : kRowsPerSingleKind);
  if (kind == rxt4::TransferKind::Multi) {
    for (int t = 1; t <= kMultiTables; ++t) {
      char tag[8];
      std::snprintf(tag, sizeof tag, "%03d", t);
      for (int c = 1; c <= kChannelsPerTable; ++c) image += Record(set, c, tag);
    }
  } else {
    for (int r = 1; r <= kRowsPerSingleKind; ++r) image += Record(set, r, "0");
    if (companions) AppendCompanions(image, kind);
  }
  rxt4::DataSetWriter writer;
  writer.SelectKind(kind);
  if (!writer.PrepareFolder(setFolder) || !writer.Allocate(static_cast<std::uint32_t>(image.size()))) return false;
  writer.Append(reinterpret_cast<const std::uint8_t*>(image.data()), image.size());
  return writer.Write();
}

// Makes the data folder of `sets` set folders unless a complete one is there from an
// earlier run.
inline bool GenerateArchive(const std::filesystem::path& folder, int sets, bool companions = false) {
  if (std::filesystem::exists(folder / kCompleteMark)) return true;
  std::filesystem::remove_all(folder);
  for (int s = 0; s < sets; ++s) {
    char name[16];
    std::snprintf(name, sizeof name, "%04d", s);
    std::filesystem::path setFolder = folder / name;
    std::filesystem::create_directories(setFolder);
    for (rxt4::TransferKind kind : rxt4::kAllTransferKinds)
      if (!WriteKind(setFolder, s, kind, companions)) return false;
  }
  std::ofstream(folder / kCompleteMark) << "done";
  return true;
}

}  // namespace rxt4::bench
