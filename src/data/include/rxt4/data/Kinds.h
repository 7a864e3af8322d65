#pragma once
// The two numberings of measurement kinds: DataKind (tree records, screens) and
// TransferKind (the instrument's numbering on the link and in the writer).

#include <array>
#include <cstddef>
#include <string_view>
#include <utility>

#include "rxt4/data/FileTexts.h"
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

// Everything the program knows of a measurement kind, in one row per kind. Adding a
// kind is a row here, its enum values above and its screen (MakeScreen); building
// with -Wswitch-enum names every switch over the kinds that must learn it.
struct KindInfo {
  TransferKind transfer;
  DataKind data;
  std::string_view folder;  // the kind folder's name: a file-format constant ("LEVEL", ...)
  StringId root;       // the tree root's text
  bool companions;     // each row's graph is in a companion file named by the row (".NNN")
  bool channelTables;  // each row is a data set whose channels are a table of their own
  std::string_view key;  // the ASCII name scripts and files use: "level", "ber", ...
};

// The kinds in TransferKind order, which is also the order of the tree's roots.
inline constexpr std::array<KindInfo, kTransferKindCount> kKinds = {{
    {TransferKind::Level, DataKind::Level, filetext::kFolderLevel, StringId::RootLevel, false, false, "level"},
    {TransferKind::Ber, DataKind::Ber, filetext::kFolderBer, StringId::RootBer, false, false, "ber"},
    {TransferKind::Constellation, DataKind::Constellation, filetext::kFolderConstel, StringId::RootConstellation,
     true, false, "constellation"},
    {TransferKind::Spectrum, DataKind::Spectrum, filetext::kFolderSpectrum, StringId::RootSpectrum, true, false, "spectrum"},
    {TransferKind::Profile, DataKind::Profile, filetext::kFolderProfile, StringId::RootProfile, true, false, "profile"},
    {TransferKind::Sky, DataKind::Sky, filetext::kFolderSky, StringId::RootSky, false, false, "sky"},
    {TransferKind::Multi, DataKind::Multi, filetext::kFolderMulti, StringId::RootMulti, false, true, "multi"},
}};

namespace detail {
consteval bool KindsInTransferOrder() {
  for (std::size_t i = 0; i < kKinds.size(); ++i)
    if (static_cast<std::size_t>(kKinds[i].transfer) != i) return false;
  return true;
}
}  // namespace detail
static_assert(detail::KindsInTransferOrder(), "kKinds is indexed by TransferKind");

// The row of a kind; nullptr for None and numbers outside the table.
constexpr const KindInfo* FindKind(TransferKind k) {
  const int i = static_cast<int>(k);
  return i >= 0 && i < kTransferKindCount ? &kKinds[static_cast<std::size_t>(i)] : nullptr;
}
constexpr const KindInfo* FindKind(DataKind k) {
  for (const KindInfo& info : kKinds)
    if (info.data == k) return &info;
  return nullptr;
}

// The seven kinds in TransferKind order.
inline constexpr std::array<TransferKind, kTransferKindCount> kAllTransferKinds = [] {
  std::array<TransferKind, kTransferKindCount> all{};
  for (std::size_t i = 0; i < kKinds.size(); ++i) all[i] = kKinds[i].transfer;
  return all;
}();

// The kinds in DataKind order: the order the loader reads a set folder's kinds in,
// which numbers the tree's measurement items.
inline constexpr std::array<TransferKind, kTransferKindCount> kLoadOrder = [] {
  std::array<TransferKind, kTransferKindCount> order = kAllTransferKinds;
  for (std::size_t i = 1; i < order.size(); ++i)
    for (std::size_t j = i; j > 0 && FindKind(order[j])->data < FindKind(order[j - 1])->data; --j)
      std::swap(order[j], order[j - 1]);
  return order;
}();

constexpr DataKind ToDataKind(TransferKind k) {
  const KindInfo* info = FindKind(k);
  return info != nullptr ? info->data : DataKind::None;
}

// Whether a kind's rows have companion files (constellation, spectrum, delay profile).
constexpr bool HasCompanions(DataKind k) {
  const KindInfo* info = FindKind(k);
  return info != nullptr && info->companions;
}

// Kind folder name ("LEVEL", "BER", ...); empty for TransferKind::None.
constexpr std::string_view KindFolderName(TransferKind k) {
  const KindInfo* info = FindKind(k);
  return info != nullptr ? info->folder : std::string_view{};
}

// The kind's ASCII name ("level", ...); empty for TransferKind::None.
constexpr std::string_view KindKey(TransferKind k) {
  const KindInfo* info = FindKind(k);
  return info != nullptr ? info->key : std::string_view{};
}

// String id of the tree root text of a kind.
constexpr StringId RootTextId(TransferKind k) {
  const KindInfo* info = FindKind(k);
  return info != nullptr ? info->root : StringId::RootLevel;
}

}  // namespace rxt4
