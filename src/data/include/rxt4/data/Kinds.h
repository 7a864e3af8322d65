#pragma once
// The two numberings of measurement kinds: DataKind (tree records, screens) and
// TransferKind (the instrument's numbering on the link and in the writer).

#include <array>
#include <string_view>

#include "rxt4/data/Strings.h"

namespace rxt4 {

enum class DataKind : int {
  None = 0,  // a root or data set folder item; shows nothing
  Level = 2,
  Ber = 3,
  Sky = 4,
  Constellation = 5,
  Multi = 6,
  Spectrum = 7,
  Profile = 8,
};

enum class TransferKind : int {
  Level = 0,
  Ber = 1,
  Constellation = 2,
  Spectrum = 3,
  Profile = 4,
  Sky = 5,
  Multi = 6,
  None = 7,
};

inline constexpr int kTransferKindCount = 7;

// The seven kinds in TransferKind order, which is also the order of the tree's roots.
inline constexpr std::array<TransferKind, kTransferKindCount> kAllTransferKinds = {
    TransferKind::Level,   TransferKind::Ber, TransferKind::Constellation, TransferKind::Spectrum,
    TransferKind::Profile, TransferKind::Sky, TransferKind::Multi};

constexpr DataKind ToDataKind(TransferKind k) {
  constexpr DataKind map[] = {DataKind::Level,   DataKind::Ber, DataKind::Constellation, DataKind::Spectrum,
                              DataKind::Profile, DataKind::Sky, DataKind::Multi,         DataKind::None};
  int i = static_cast<int>(k);
  return i >= 0 && i <= 7 ? map[i] : DataKind::None;
}

constexpr TransferKind ToTransferKind(DataKind k) {
  for (TransferKind t : kAllTransferKinds)
    if (ToDataKind(t) == k) return t;
  return TransferKind::None;
}

// Kind folder name ("LEVEL", "BER", ...), as the string table holds it; empty for
// TransferKind::None.
inline std::string_view KindFolderName(TransferKind k) {
  constexpr StringId ids[] = {StringId::FolderLevel,   StringId::FolderBer, StringId::FolderConstel,
                              StringId::FolderSpectrum, StringId::FolderProfile, StringId::FolderSky,
                              StringId::FolderMulti};
  int i = static_cast<int>(k);
  return i >= 0 && i < 7 ? Text(ids[i]) : std::string_view{};
}

// String id of the tree root text of a kind.
constexpr StringId RootTextId(TransferKind k) {
  constexpr StringId ids[] = {StringId::RootLevel,   StringId::RootBer, StringId::RootConstellation,
                              StringId::RootSpectrum, StringId::RootProfile, StringId::RootSky,
                              StringId::RootMulti};
  int i = static_cast<int>(k);
  return i >= 0 && i < 7 ? ids[i] : StringId::RootLevel;
}

}  // namespace rxt4
