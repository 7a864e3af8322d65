#include "rxt4/data/DataFolderModel.h"

#include <cstdio>
#include <system_error>
#include <utility>

#include "DirectoryIndex.h"
#include "rxt4/data/CountFile.h"
#include "rxt4/data/CsvTable.h"
#include "rxt4/data/Sjis.h"
#include "rxt4/data/Strings.h"
#include "rxt4/data/TextRules.h"

namespace rxt4 {
namespace {

// The order in which the kind loaders run for each set folder.
constexpr TransferKind kLoadOrder[] = {TransferKind::Level,    TransferKind::Ber,      TransferKind::Sky,
                                       TransferKind::Constellation, TransferKind::Multi, TransferKind::Spectrum,
                                       TransferKind::Profile};

std::string ItemNumberText(int i) {
  char text[16];
  std::snprintf(text, sizeof text, "%3d:", i);
  return text;
}

}  // namespace

// One load: the kind loaders of the set folders, inserting into the model.
class DataFolderModel::Loader {
 public:
  Loader(DataFolderModel& model, LoadObserver& observer) : model_(model), observer_(observer) {}

  void LoadSetFolder(const std::filesystem::path& setFolder, const std::string& name) {
    DirectoryIndex set(setFolder);
    int nameIndex = -1;
    for (TransferKind kind : kLoadOrder) {
      std::optional<std::string> kindFolder = set.Find(KindFolderName(kind));
      if (!kindFolder) continue;
      DirectoryIndex files(setFolder / *kindFolder);
      if (kind == TransferKind::Multi)
        LoadMulti(files, name, nameIndex);
      else
        LoadSingle(kind, files, name, nameIndex);
    }
  }

 private:
  int FolderName(const std::string& name, int& nameIndex) {
    if (nameIndex < 0) {
      nameIndex = static_cast<int>(model_.names_.size());
      model_.names_.push_back(name);
    }
    return nameIndex;
  }

  // Reads a count file; false (silently, or with the file error after a read failure)
  // when the kind folder is to be skipped.
  bool ReadCount(const DirectoryIndex& files, std::string_view name, CountFile& count) {
    std::optional<std::string> found = files.Find(name);
    if (!found) return false;
    if (count.Read(files.folder() / *found) < 0) {
      if (count.readFailed()) observer_.FileError(count.errorMessage());
      return false;
    }
    return count.versionValid();
  }

  int ReadTable(const std::filesystem::path& path, CsvTable& table) {
    int n = table.Read(path);
    if (!table.errorMessage().empty()) observer_.FileError(table.errorMessage());
    return n;
  }

  void WarnCount(const std::string& tablePath) {
    observer_.CountWarning(tablePath + std::string(Text(StringId::CountWarning)));
  }

  void LoadSingle(TransferKind kind, const DirectoryIndex& files, const std::string& name, int& nameIndex) {
    CountFile count;
    if (!ReadCount(files, name + ".cnt", count)) return;
    CsvTable table;
    std::filesystem::path path = files.PathOf(name + ".CSV");
    int n = ReadTable(path, table);
    if (n <= 0) return;
    auto info = std::make_shared<DataSetTable>();
    info->path = path.string();
    info->countText = std::to_string(n);
    if (n != ParseInt(count.countText())) WarnCount(info->path);

    int folder = model_.Insert(RootNumber(kind), CDataSet{}, FolderName(name, nameIndex));
    const DataKind dataKind = ToDataKind(kind);
    std::shared_ptr<const DataSetTable> shared = std::move(info);
    for (int i = 1; i <= n; ++i) {
      CDataSet record;
      record.kind = dataKind;
      record.row = table.Row(i - 1);
      record.index = i;
      record.table = shared;
      model_.Insert(folder, std::move(record), -1);
    }
  }

  void LoadMulti(const DirectoryIndex& files, const std::string& name, int& nameIndex) {
    CountFile count;
    if (!ReadCount(files, "COUNT.CNT", count)) return;
    // The folder item comes first, so a set folder whose tables are all missing still
    // shows an empty folder item.
    int folder = model_.Insert(RootNumber(TransferKind::Multi), CDataSet{}, FolderName(name, nameIndex));
    const long long tableCount = ParseInt(count.countText());
    for (long long i = 1; i <= tableCount; ++i) {
      char fileName[32];
      std::snprintf(fileName, sizeof fileName, "%.2lld.CSV", i);
      std::filesystem::path path = files.PathOf(fileName);
      CsvTable table;
      int n = ReadTable(path, table);
      if (n <= 0) break;  // later tables of this set folder are not read
      auto info = std::make_shared<DataSetTable>();
      info->path = path.string();
      info->countText = count.countText();
      MeasurementRow first = table.Row(0);
      if (n != ParseInt(first.Field(19))) WarnCount(info->path);
      CDataSet record;
      record.kind = DataKind::Multi;
      record.rows.reserve(static_cast<std::size_t>(n));
      for (int r = 0; r < n; ++r) record.rows.push_back(table.Row(r));
      record.index = static_cast<int>(i);
      record.table = std::move(info);
      model_.Insert(folder, std::move(record), -1);
    }
  }

  DataFolderModel& model_;
  LoadObserver& observer_;
};

void DataFolderModel::Clear() {
  nodes_.clear();
  records_.clear();
  children_.clear();
  names_.clear();
  measurementCount_ = 0;
}

int DataFolderModel::Insert(int parent, CDataSet record, int nameIndex) {
  Node node;
  node.parent = static_cast<std::uint32_t>(parent);
  node.rowInParent = nodes_[static_cast<std::size_t>(parent)].childCount++;
  node.nameIndex = nameIndex;
  if (record.kind != DataKind::None) ++measurementCount_;
  nodes_.push_back(node);
  records_.push_back(std::move(record));
  return static_cast<int>(nodes_.size()) - 1;
}

void DataFolderModel::LinkChildren() {
  // Children are kept in one array, each item's children together in insertion order.
  std::uint32_t next = 0;
  for (Node& node : nodes_) {
    node.childBegin = next;
    next += node.childCount;
  }
  children_.assign(next, 0);
  for (std::size_t number = 1; number < nodes_.size(); ++number) {
    const Node& node = nodes_[number];
    children_[nodes_[node.parent].childBegin + node.rowInParent] = static_cast<std::uint32_t>(number);
  }
}

void DataFolderModel::Load(const std::filesystem::path& dataFolder, LoadObserver& observer) {
  Clear();
  nodes_.emplace_back();
  records_.emplace_back();
  for (TransferKind kind : kAllTransferKinds) {
    names_.emplace_back(Text(RootTextId(kind)));
    Insert(0, CDataSet{}, static_cast<int>(names_.size()) - 1);
  }

  const std::filesystem::path folder = dataFolder.empty() ? std::filesystem::path("/") : dataFolder;
  Loader loader(*this, observer);
  std::error_code ec;
  std::filesystem::directory_iterator it(folder, std::filesystem::directory_options::skip_permission_denied, ec);
  for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
    std::error_code typeError;
    if (!it->is_directory(typeError)) continue;
    std::string name = it->path().filename().string();
    if (name == "." || name == "..") continue;
    loader.LoadSetFolder(it->path(), name);
  }
  LinkChildren();
}

int DataFolderModel::ChildCount(int number) const {
  if (number < 0 || number >= static_cast<int>(nodes_.size())) return 0;
  return static_cast<int>(nodes_[static_cast<std::size_t>(number)].childCount);
}

int DataFolderModel::ChildAt(int number, int row) const {
  if (row < 0 || row >= ChildCount(number)) return 0;
  return static_cast<int>(children_[nodes_[static_cast<std::size_t>(number)].childBegin + static_cast<std::uint32_t>(row)]);
}

int DataFolderModel::Parent(int number) const {
  if (number <= 0 || number >= static_cast<int>(nodes_.size())) return 0;
  return static_cast<int>(nodes_[static_cast<std::size_t>(number)].parent);
}

int DataFolderModel::RowInParent(int number) const {
  if (number <= 0 || number >= static_cast<int>(nodes_.size())) return 0;
  return static_cast<int>(nodes_[static_cast<std::size_t>(number)].rowInParent);
}

DataKind DataFolderModel::Kind(int number) const {
  const CDataSet* record = Record(number);
  return record ? record->kind : DataKind::None;
}

const CDataSet* DataFolderModel::Record(int number) const {
  if (number <= 0 || number >= static_cast<int>(records_.size())) return nullptr;
  return &records_[static_cast<std::size_t>(number)];
}

std::string DataFolderModel::LabelSjis(int number) const {
  const CDataSet* record = Record(number);
  if (!record) return {};
  const Node& node = nodes_[static_cast<std::size_t>(number)];
  if (node.nameIndex >= 0) return EncodeSjis(names_[static_cast<std::size_t>(node.nameIndex)]);
  return ItemNumberText(record->index) + std::string(record->firstRow().Field(1));
}

std::string DataFolderModel::Label(int number) const {
  const CDataSet* record = Record(number);
  if (!record) return {};
  const Node& node = nodes_[static_cast<std::size_t>(number)];
  if (node.nameIndex >= 0) return names_[static_cast<std::size_t>(node.nameIndex)];
  return ItemNumberText(record->index) + DecodeSjis(record->firstRow().Field(1));
}

int DataFolderModel::MeasurementCountOf(TransferKind kind) const {
  int root = RootNumber(kind);
  int total = 0;
  for (int f = 0; f < ChildCount(root); ++f) total += ChildCount(ChildAt(root, f));
  return total;
}

}  // namespace rxt4
