#pragma once
// A data folder read into the tree of data sets and their records: seven kind roots,
// one item per data set folder under each root that has data of the kind, one item
// per measurement under that. Items are identified by their number (1, 2, ... in
// insertion order; the roots are 1 to 7); number 0 stands for the invisible top of
// the tree. No UI: the viewer's tree model and the command line read it.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "rxt4/data/CDataSet.h"
#include "rxt4/data/Kinds.h"
#include "rxt4/data/LoadObserver.h"

namespace rxt4 {

class DataFolderModel {
 public:
  static constexpr int kRootCount = kTransferKindCount;

  // Rebuilds the tree and records from the data folder; an empty path means the root
  // of the file system. Messages go to observer as they occur.
  void Load(const std::filesystem::path& dataFolder, LoadObserver& observer);

  // Forgets every item and record (no roots either).
  void Clear();

  // Number of items including the roots (the highest item number).
  int itemCount() const { return static_cast<int>(nodes_.size()) - 1; }
  // Number of roots: 7 after a load, 0 before.
  int RootCount() const { return ChildCount(0); }
  // Number of children of an item (0 for the top: the roots); 0 for unknown numbers.
  int ChildCount(int number) const;
  // Number of child row of an item (0 for the top); 0 when out of range.
  int ChildAt(int number, int row) const;
  // Number of the parent item; 0 for roots and unknown numbers.
  int Parent(int number) const;
  // Position of an item among its parent's children.
  int RowInParent(int number) const;
  // Kind of the item's record (DataKind::None for roots and set folder items).
  DataKind Kind(int number) const;
  // The root of a kind, which is also its tree position + 1.
  static int RootNumber(TransferKind kind) { return static_cast<int>(kind) + 1; }

  // Item label in UTF-8: root text, set folder name, or "%3d" + ":" + decoded data name.
  std::string Label(int number) const;
  // Item label as Shift-JIS bytes (the data name as stored).
  std::string LabelSjis(int number) const;

  // The record of an item; nullptr for an unknown number.
  const CDataSet* Record(int number) const;

  // Number of measurement items (items with a kind other than None).
  int measurementCount() const { return measurementCount_; }
  // Number of set folder items under a root.
  int FolderCount(TransferKind kind) const { return ChildCount(RootNumber(kind)); }
  // Number of measurement items under a root.
  int MeasurementCountOf(TransferKind kind) const;

 private:
  struct Node {
    std::uint32_t parent = 0;
    std::uint32_t rowInParent = 0;
    std::uint32_t childCount = 0;
    std::uint32_t childBegin = 0;  // into children_, set when the load ends
    std::int32_t nameIndex = -1;   // into names_ for root and folder items
  };

  class Loader;
  int Insert(int parent, CDataSet record, int nameIndex);
  void LinkChildren();

  std::vector<Node> nodes_;        // indexed by item number; [0] is the top
  std::vector<CDataSet> records_;  // indexed by item number
  std::vector<std::uint32_t> children_;
  std::vector<std::string> names_;  // root texts (UTF-8) and set folder names (as listed)
  int measurementCount_ = 0;
};

}  // namespace rxt4
