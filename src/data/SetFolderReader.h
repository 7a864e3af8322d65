#pragma once
// Reading one data set folder into what it adds to the tree: for each kind with data,
// a set folder item and its measurement items, and the loader's messages, all in the
// order of the kind loaders. A reader touches nothing shared, so the set folders of a
// data folder can be read side by side and put together in order afterwards.

#include <string>
#include <vector>

#include "FileBatch.h"
#include "PageArena.h"
#include "rxt4/data/FolderHandle.h"
#include "rxt4/data/CDataSet.h"
#include "rxt4/data/Kinds.h"
#include "rxt4/data/LoadObserver.h"

namespace rxt4 {

// The items of one kind of one set folder.
struct KindItems {
  TransferKind kind = TransferKind::None;
  ArenaArray<CDataSet> records;  // [0] the set folder item's record, then one per measurement
};

struct SetFolderItems {
  std::vector<KindItems> kinds;  // in the order the kind loaders run
  std::vector<LoadMessage> messages;
};

class SetFolderReader {
 public:
  // Reads set folders of the open data folder (which must outlive the reader).
  explicit SetFolderReader(const FolderHandle& dataFolder) : dataFolder_(dataFolder) {}

  // The items and messages of the set folder name (empty when it cannot be listed);
  // what the items keep (records, table bytes) comes from arena. With a batch that is
  // available, the files are opened and read in batches (FileBatch.h); the result is
  // the same.
  SetFolderItems Read(const std::string& name, PageArena& arena, FileBatch* batch = nullptr) const;

 private:
  const FolderHandle& dataFolder_;
};

}  // namespace rxt4
