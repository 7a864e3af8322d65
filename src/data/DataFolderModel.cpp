#include "rxt4/data/DataFolderModel.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <memory>
#include <utility>

#include "rxt4/data/Columns.h"
#include "rxt4/data/FolderHandle.h"
#include "FileBatch.h"
#include "ReaderPool.h"
#include "SetFolderReader.h"
#include "rxt4/data/Sjis.h"
#include "rxt4/data/Strings.h"
#include "rxt4/data/TextRules.h"

namespace rxt4 {
namespace {

std::string ItemNumberText(int i) {
  char text[16];
  std::snprintf(text, sizeof text, "%3d:", i);
  return text;
}

// The set folders of an open data folder: its sub folders (links to folders
// included), in name order; a FolderError message when it could not be opened.
std::vector<std::string> SetFolderNames(FolderHandle& folder, std::vector<LoadMessage>& messages) {
  std::vector<std::string> names;
  if (!folder.isOpen()) {
    messages.push_back({LoadMessage::Kind::FolderError, FolderErrorMessage(folder.error(), folder.path().string())});
    return names;
  }
  for (FolderHandle::Entry& entry : folder.List(true))
    if (entry.folder) names.push_back(std::move(entry.name));
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) { return NameOrderLess(a, b); });
  return names;
}

std::filesystem::path FolderPath(const std::filesystem::path& dataFolder) {
  return dataFolder.empty() ? std::filesystem::path("/") : dataFolder;
}

}  // namespace

std::vector<std::string> ListSetFolders(const std::filesystem::path& dataFolder, std::vector<LoadMessage>& messages) {
  FolderHandle folder(FolderPath(dataFolder));
  return SetFolderNames(folder, messages);
}

bool BatchedReadsAvailable() { return FileBatch().available(); }

void DataFolderModel::Load(const std::filesystem::path& dataFolder, LoadObserver& observer) {
  std::vector<LoadMessage> messages;
  Load(dataFolder, messages, LoadOptions{});
  Deliver(messages, observer);
}

bool DataFolderModel::Load(const std::filesystem::path& dataFolder, std::vector<LoadMessage>& messages,
                           const LoadOptions& options, LoadProgress* progress) {
  FolderHandle folder(FolderPath(dataFolder));
  std::vector<LoadMessage> listing;
  std::vector<std::string> names = options.setFolders.empty() ? SetFolderNames(folder, listing) : options.setFolders;
  if (progress) progress->setFolderTotal = static_cast<int>(names.size());

  // Each set folder is read on its own into its own items; the tree is put together
  // in name order afterwards, so it does not depend on which thread read what.
  std::vector<SetFolderItems> sets(names.size());
  const SetFolderReader reader(folder);
  const ReaderPool pool(options.threads);
  PageArena arena;
  // A batch of file requests per reader thread, made by the thread when it starts.
  std::vector<std::unique_ptr<FileBatch>> batches(static_cast<std::size_t>(pool.threads()));
  const bool complete = pool.Run(names.size(), [&](int worker, std::size_t i) {
    if (progress && progress->cancel.load()) return false;
    std::unique_ptr<FileBatch>& batch = batches[static_cast<std::size_t>(worker)];
    if (!batch && options.batchedReads) batch = std::make_unique<FileBatch>();
    sets[i] = reader.Read(names[i], arena, batch.get());
    if (progress) ++progress->setFoldersRead;
    return true;
  });
  if (!complete) return false;
  messages.insert(messages.end(), listing.begin(), listing.end());
  Assemble(names, sets, messages);
  return true;
}

void DataFolderModel::Assemble(std::vector<std::string>& names, std::vector<SetFolderItems>& sets,
                               std::vector<LoadMessage>& messages) {
  Clear();
  setFolders_.reserve(names.size());
  for (TransferKind kind : kAllTransferKinds) names_.emplace_back(Text(RootTextId(kind)));
  std::size_t blockCount = 0;
  for (const SetFolderItems& set : sets) blockCount += set.kinds.size();
  blocks_.reserve(blockCount);

  // Numbers as a load of one set folder after the other gives them: the roots 1 to 7,
  // then for each set folder and kind the folder item followed by its measurements.
  std::uint32_t next = kRootCount + 1;
  for (std::size_t s = 0; s < sets.size(); ++s) {
    SetFolderItems& set = sets[s];
    const auto nameIndex = static_cast<std::uint32_t>(names_.size());
    setFolders_.push_back(names[s]);
    if (!set.kinds.empty()) names_.push_back(std::move(names[s]));
    for (KindItems& kind : set.kinds) {
      const auto root = static_cast<std::uint32_t>(RootNumber(kind.kind));
      std::vector<std::uint32_t>& siblings = rootBlocks_[root - 1];
      Block& block = blocks_.emplace_back();
      block.first = next;
      block.rowInRoot = static_cast<std::uint32_t>(siblings.size());
      block.nameIndex = nameIndex;
      block.root = root;
      block.size = static_cast<std::uint32_t>(kind.records.size());
      block.records = kind.records.Release();
      siblings.push_back(static_cast<std::uint32_t>(blocks_.size() - 1));
      next += block.size;
      measurementCount_ += static_cast<int>(block.size) - 1;
    }
    messages.insert(messages.end(), std::make_move_iterator(set.messages.begin()),
                    std::make_move_iterator(set.messages.end()));
    set = SetFolderItems();
  }
  itemCount_ = next - 1;
}

void DataFolderModel::Clear() {
  blocks_.clear();
  for (auto& list : rootBlocks_) list.clear();
  names_.clear();
  setFolders_.clear();
  itemCount_ = 0;
  measurementCount_ = 0;
}

const DataFolderModel::Block* DataFolderModel::BlockOf(int number) const {
  if (number <= kRootCount || number > itemCount()) return nullptr;
  auto after = std::upper_bound(blocks_.begin(), blocks_.end(), static_cast<std::uint32_t>(number),
                                [](std::uint32_t n, const Block& block) { return n < block.first; });
  return after == blocks_.begin() ? nullptr : &*(after - 1);
}

int DataFolderModel::ChildCount(int number) const {
  if (itemCount_ == 0 || number < 0) return 0;
  if (number == 0) return kRootCount;
  if (number <= kRootCount) return static_cast<int>(rootBlocks_[static_cast<std::size_t>(number - 1)].size());
  const Block* block = BlockOf(number);
  if (!block || static_cast<std::uint32_t>(number) != block->first) return 0;
  return static_cast<int>(block->size) - 1;
}

int DataFolderModel::ChildAt(int number, int row) const {
  if (row < 0 || row >= ChildCount(number)) return 0;
  if (number == 0) return row + 1;
  if (number <= kRootCount) {
    const std::uint32_t block = rootBlocks_[static_cast<std::size_t>(number - 1)][static_cast<std::size_t>(row)];
    return static_cast<int>(blocks_[block].first);
  }
  return number + 1 + row;  // a set folder item's measurements follow it
}

int DataFolderModel::Parent(int number) const {
  const Block* block = BlockOf(number);
  if (!block) return 0;
  return static_cast<int>(static_cast<std::uint32_t>(number) == block->first ? block->root : block->first);
}

int DataFolderModel::RowInParent(int number) const {
  if (number <= 0 || number > itemCount()) return 0;
  if (number <= kRootCount) return number - 1;
  const Block* block = BlockOf(number);
  if (!block) return 0;
  const auto n = static_cast<std::uint32_t>(number);
  return static_cast<int>(n == block->first ? block->rowInRoot : n - block->first - 1);
}

DataKind DataFolderModel::Kind(int number) const {
  const CDataSet* record = Record(number);
  return record ? record->kind : DataKind::None;
}

const CDataSet* DataFolderModel::Record(int number) const {
  if (number <= 0 || number > itemCount()) return nullptr;
  if (number <= kRootCount) return &rootRecord_;
  const Block* block = BlockOf(number);
  return block ? block->records.get() + (static_cast<std::uint32_t>(number) - block->first) : nullptr;
}

const std::string* DataFolderModel::NameOf(int number) const {
  if (number <= 0 || number > itemCount()) return nullptr;
  if (number <= kRootCount) return &names_[static_cast<std::size_t>(number - 1)];
  const Block* block = BlockOf(number);
  if (!block || static_cast<std::uint32_t>(number) != block->first) return nullptr;
  return &names_[block->nameIndex];
}

std::string DataFolderModel::LabelSjis(int number) const {
  if (const std::string* name = NameOf(number)) return EncodeSjis(*name);
  const CDataSet* record = Record(number);
  if (!record) return {};
  return ItemNumberText(record->index) + std::string(Field(record->firstRow(), Column::DataName));
}

std::string DataFolderModel::Label(int number) const {
  if (const std::string* name = NameOf(number)) return *name;
  const CDataSet* record = Record(number);
  if (!record) return {};
  return ItemNumberText(record->index) + DecodeSjis(Field(record->firstRow(), Column::DataName));
}

int DataFolderModel::MeasurementCountOf(TransferKind kind) const {
  const int root = RootNumber(kind);
  if (root < 1 || root > kRootCount) return 0;
  int total = 0;
  for (std::uint32_t block : rootBlocks_[static_cast<std::size_t>(root - 1)])
    total += static_cast<int>(blocks_[block].size) - 1;
  return total;
}

}  // namespace rxt4
