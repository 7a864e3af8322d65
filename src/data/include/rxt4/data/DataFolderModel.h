#pragma once
// A data folder read into the tree of data sets and their records: seven kind roots,
// one item per data set folder under each root that has data of the kind, one item
// per measurement under that. Items are identified by their number (1, 2, ... in
// insertion order; the roots are 1 to 7); number 0 stands for the invisible top of
// the tree. Set folders are taken in name order (see NameOrderLess). No UI: the
// viewer's tree model and the command line read it.

#include <array>
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "rxt4/data/CDataSet.h"
#include "rxt4/data/Kinds.h"
#include "rxt4/data/LoadObserver.h"

namespace rxt4 {

struct SetFolderItems;

// How a load reads the data folder.
struct LoadOptions {
  // Set folders are read side by side by this many threads (1: one by one, in the
  // calling thread). More threads than cores pay off: a reader mostly waits on the disk.
  int threads = 8;
  // Where the system offers it, each thread opens and reads a set folder's files in
  // batches, a few calls into the kernel instead of four per file. The result is the
  // same either way; false reads file by file (for comparing the two).
  bool batchedReads = true;
  // When not empty: only these set folders (names as listed) are read, in this order.
  std::vector<std::string> setFolders{};
};

// The set folders of a data folder (its sub folders, links to folders included), in
// the tree's order (NameOrderLess). A data folder that cannot be read gives none and
// a FolderError message.
std::vector<std::string> ListSetFolders(const std::filesystem::path& dataFolder, std::vector<LoadMessage>& messages);

// True where the system lets a load read in batches (LoadOptions::batchedReads).
bool BatchedReadsAvailable();

// Shared between a running load and whoever watches it.
struct LoadProgress {
  std::atomic<int> setFolderTotal{0};  // known once the data folder is listed
  std::atomic<int> setFoldersRead{0};
  std::atomic<bool> cancel{false};     // raised by the watcher: the load ends soon after
};

class DataFolderModel {
 public:
  static constexpr int kRootCount = kTransferKindCount;

  // Rebuilds the tree and records from the data folder; an empty path means the root
  // of the file system. The messages reach observer once the folder is read, in the
  // order a load of one set folder after the other meets them. A data folder, set
  // folder or kind folder that cannot be read is a FolderError message.
  void Load(const std::filesystem::path& dataFolder, LoadObserver& observer);

  // The same, appending the messages to messages; the result does not depend on the
  // number of threads. False when progress->cancel was raised: the model then keeps
  // what it held and messages is unchanged.
  bool Load(const std::filesystem::path& dataFolder, std::vector<LoadMessage>& messages,
            const LoadOptions& options, LoadProgress* progress = nullptr);

  // Forgets every item and record (no roots either).
  void Clear();

  // Number of items including the roots (the highest item number); 0 before a load.
  int itemCount() const { return static_cast<int>(itemCount_); }
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

  // The set folders the last load listed (with data or not), in the tree's order:
  // by name, digits as numbers (NameOrderLess).
  const std::vector<std::string>& SetFolders() const { return setFolders_; }

  // Number of measurement items (items with a kind other than None).
  int measurementCount() const { return measurementCount_; }
  // Number of set folder items under a root.
  int FolderCount(TransferKind kind) const { return ChildCount(RootNumber(kind)); }
  // Number of measurement items under a root.
  int MeasurementCountOf(TransferKind kind) const;

 private:
  // A set folder item under one root, with its measurement items, which follow it in
  // numbering. The records of a block are made by the thread that read the set folder
  // and are never moved again.
  struct Block {
    std::uint32_t first = 0;      // item number of the set folder item
    std::uint32_t rowInRoot = 0;  // its position under the root
    std::uint32_t nameIndex = 0;  // into names_
    std::uint32_t root = 0;       // item number of the root
    std::uint32_t size = 0;       // number of records: the set folder item's, then the measurements'
    std::shared_ptr<const CDataSet> records;
  };

  // Builds the tree from the set folders read, in their order; moves their messages on.
  void Assemble(std::vector<std::string>& names, std::vector<SetFolderItems>& sets, std::vector<LoadMessage>& messages);
  const Block* BlockOf(int number) const;
  const std::string* NameOf(int number) const;

  std::vector<Block> blocks_;  // in numbering order
  std::array<std::vector<std::uint32_t>, kRootCount> rootBlocks_;  // indices into blocks_, per root
  std::vector<std::string> names_;  // root texts (UTF-8), then set folder names (as listed)
  std::vector<std::string> setFolders_;  // every set folder listed, in name order
  CDataSet rootRecord_;             // the record of every root item
  std::uint32_t itemCount_ = 0;
  int measurementCount_ = 0;
};

}  // namespace rxt4
