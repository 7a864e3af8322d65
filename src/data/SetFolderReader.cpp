#include "SetFolderReader.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <memory>
#include <optional>
#include <utility>

#include "DirectoryIndex.h"
#include "rxt4/data/Columns.h"
#include "rxt4/data/CountFile.h"
#include "rxt4/data/CsvTable.h"
#include "rxt4/data/Paths.h"
#include "rxt4/data/Strings.h"
#include "rxt4/data/TextRules.h"

namespace rxt4 {
namespace {


// A kind folder, reached through its open set folder. A file is opened as the writer
// spells it (Paths.h); only when it is not there is the kind folder listed (once) to
// find the name regardless of letter case. So a kind folder as downloaded data is
// written is never listed.
class KindFolder {
 public:
  KindFolder(const DirectoryIndex& set, std::string name)
      : set_(set), name_(std::move(name)), path_(set.folder() / name_) {}

  // Opens the file of this name (or a name equal to it ignoring case). stored gets the
  // name found (the name itself when none is); message() tells of a failure.
  FileStatus Open(std::string_view name, std::uint64_t maxBytes, ReadOnlyFile& file, std::string& stored) {
    FileStatus status = OpenAs(name, maxBytes, file, stored);
    if (status != FileStatus::OpenFailed || !NotThere(file.error())) return status;
    if (!listing_) listing_.emplace(FolderHandle(set_.handle(), name_, path_));
    if (std::optional<std::string> found = listing_->Find(name)) return OpenAs(*found, maxBytes, file, stored);
    stored.assign(name);
    message_ = FileErrorMessage(ENOENT, (path_ / stored).string());
    return FileStatus::OpenFailed;
  }

  const std::string& message() const { return message_; }
  // The folder's name as stored.
  const std::string& name() const { return name_; }
  const std::filesystem::path& path() const { return path_; }
  // Why the folder itself cannot be read (0 when it can): asked when a file in it would
  // not open for another reason than that it is not there.
  int FolderError() const { return FolderHandle(set_.handle(), name_, path_).error(); }
  // The path of a file of the folder.
  std::string PathOf(const std::string& name) const { return (path_ / name).string(); }

 private:
  static bool NotThere(int err) { return err == ENOENT || err == ENOTDIR; }

  FileStatus OpenAs(std::string_view name, std::uint64_t maxBytes, ReadOnlyFile& file, std::string& stored) {
    stored.assign(name);
    const FileStatus status = set_.handle().OpenFile(name_ + '/' + stored, maxBytes, file);
    message_ = file.message();
    return status;
  }

  const DirectoryIndex& set_;
  std::string name_;
  std::filesystem::path path_;
  std::optional<DirectoryIndex> listing_;
  std::string message_;
};

// The bytes of a table as read, and what keeps them.
struct TableBytes {
  std::shared_ptr<const char> owner;  // points at the first byte
  std::string_view bytes;

  MeasurementRow Row(const CsvTable::LineSpan& line) const {
    return MeasurementRow(std::shared_ptr<const char>(owner, owner.get() + line.first), line.second - line.first);
  }
};

// The count files and tables of a set folder read ahead, in batches: those the kind
// loaders are about to ask for, under the names the writer gives them. A loader takes
// a file from here when it was read whole; a file that is missing, spelled in other
// letter case, refused or short it reads the usual way, which also words the message.
class ReadAhead {
 public:
  struct File {
    std::string path;  // kind folder/name
    std::shared_ptr<const char> owner;  // a table's bytes, in the arena
    std::string countBytes;             // a count file's bytes
    std::size_t size = 0;

    std::string_view bytes() const { return {owner ? owner.get() : countBytes.data(), size}; }
  };

  // A file to read: kind folder/name, a table (into the arena) or a count file.
  struct Wanted {
    std::string path;
    bool table = false;
  };

  ReadAhead(FileBatch* batch, const FolderHandle& set, PageArena& arena)
      : batch_(batch && batch->available() ? batch : nullptr), set_(set), arena_(arena) {}

  void Fetch(const std::vector<Wanted>& wanted) {
    if (!batch_) return;
    for (std::size_t first = 0; first < wanted.size(); first += FileBatch::kFilesAtOnce)
      FetchSome(wanted, first, std::min(wanted.size(), first + FileBatch::kFilesAtOnce));
  }

  // The file kind folder/name when it was read whole; nullptr otherwise.
  const File* Find(const std::string& folder, const std::string& name) const {
    for (const File& file : files_)
      if (file.path.size() == folder.size() + 1 + name.size() && file.path.compare(0, folder.size(), folder) == 0 &&
          file.path[folder.size()] == '/' && file.path.compare(folder.size() + 1, name.size(), name) == 0)
        return &file;
    return nullptr;
  }

 private:
  // Fetch for wanted[first, end).
  void FetchSome(const std::vector<Wanted>& wanted, std::size_t first, std::size_t end) {
    std::vector<FileBatch::OpenRequest> opens(end - first);
    for (std::size_t i = 0; i < opens.size(); ++i) {
      opens[i].name = wanted[first + i].path;
      opens[i].maxBytes = wanted[first + i].table ? CsvTable::kMaxFileBytes : CountFile::kMaxFileBytes;
    }
    batch_->Open(set_, opens);

    std::vector<FileBatch::ReadRequest> reads;
    std::vector<File> files;
    reads.reserve(opens.size());
    files.reserve(opens.size());
    for (std::size_t i = 0; i < opens.size(); ++i) {
      if (opens[i].status != FileStatus::Ok) continue;
      const std::size_t size = static_cast<std::size_t>(opens[i].file.size());
      File& file = files.emplace_back();
      file.path = std::move(opens[i].name);
      void* buffer;
      if (wanted[first + i].table) {
        PageArena::Piece piece = arena_.Allocate(size + 1);
        file.owner = std::shared_ptr<const char>(std::move(piece.owner), static_cast<const char*>(piece.data));
        buffer = piece.data;
      } else {
        file.countBytes.resize(size + 1);
        buffer = file.countBytes.data();
      }
      // One byte more than the file: a read that stops short of it has the whole file.
      reads.push_back({&opens[i].file, buffer, size + 1});
    }
    batch_->Read(reads);

    for (std::size_t i = 0; i < reads.size(); ++i) {
      const bool whole = reads[i].got >= 0 && static_cast<std::uint64_t>(reads[i].got) == reads[i].file->size();
      batch_->Close(*reads[i].file);
      if (!whole) continue;
      files[i].size = static_cast<std::size_t>(reads[i].got);
      files_.push_back(std::move(files[i]));
    }
  }

  FileBatch* batch_;
  const FolderHandle& set_;
  PageArena& arena_;
  std::vector<File> files_;
};

// The kind loaders of one set folder, appending to its items.
class KindLoader {
 public:
  KindLoader(const std::string& name, SetFolderItems& items, PageArena& arena, ReadAhead& ahead)
      : name_(name), items_(items), arena_(arena), ahead_(ahead) {}

  void Load(TransferKind kind, KindFolder& files) {
    if (FindKind(kind)->channelTables)
      LoadMulti(files);
    else
      LoadSingle(kind, files);
  }

 private:
  void FileError(std::string text) { items_.messages.push_back({LoadMessage::Kind::FileError, std::move(text)}); }

  void WarnCount(const std::string& tablePath) {
    items_.messages.push_back({LoadMessage::Kind::CountWarning, FillIn(Text(StringId::CountWarning), {tablePath})});
  }

  // A count file that is there but holds no count of this format (another version,
  // NUL bytes, an empty file): the kind folder is skipped, and said so.
  bool ValidCount(const CountFile& count, const std::string& path) {
    if (count.versionValid()) return true;
    items_.messages.push_back({LoadMessage::Kind::CountWarning, FillIn(Text(StringId::CountFileInvalid), {path})});
    return false;
  }

  // Reads a count file; false when the kind folder is to be skipped: silently when
  // the count file is not there, otherwise with a message naming the count file (or
  // the kind folder, when that cannot be read).
  bool ReadCount(KindFolder& files, const std::string& name, CountFile& count) {
    if (const ReadAhead::File* ahead = ahead_.Find(files.name(), name)) {
      count.Parse(ahead->bytes());
      return ValidCount(count, files.PathOf(name));
    }
    ReadOnlyFile file;
    std::string stored, bytes;
    FileStatus status = files.Open(name, CountFile::kMaxFileBytes, file, stored);
    if (status == FileStatus::OpenFailed) {
      const int err = file.error();
      if (err == 0 || err == ENOENT || err == ENOTDIR) return false;
      if (const int folderError = files.FolderError())
        items_.messages.push_back({LoadMessage::Kind::FolderError, FolderErrorMessage(folderError, files.path().string())});
      else
        FileError(files.message());
      return false;
    }
    if (status == FileStatus::Ok) status = file.ReadAll(bytes);
    count.Parse(bytes);
    if (status != FileStatus::Ok) {
      FileError(file.message());
      return false;
    }
    return ValidCount(count, files.PathOf(stored));
  }

  // Reads a table into the arena, in a single read when it is as long as it was when
  // opened (otherwise the long way), and splits it into lines_. Its row count (0 for
  // bytes that end inside the header line), or -1 when it could not be opened or read
  // at all (said with a file error); path gets its path.
  int ReadTable(KindFolder& files, const std::string& name, TableBytes& table, std::string& path) {
    if (const ReadAhead::File* ahead = ahead_.Find(files.name(), name)) {
      path = files.PathOf(name);
      table.owner = ahead->owner;
      table.bytes = ahead->bytes();
      return std::max(0, CsvTable::SplitRows(table.bytes, lines_));
    }
    ReadOnlyFile file;
    std::string stored;
    FileStatus status = files.Open(name, CsvTable::kMaxFileBytes, file, stored);
    path = files.PathOf(stored);
    if (status != FileStatus::Ok) {
      FileError(files.message());
      return -1;
    }
    const std::size_t size = static_cast<std::size_t>(file.size());
    PageArena::Piece piece = arena_.Allocate(size + 1);
    if (file.ReadAt(piece.data, size + 1, 0) == static_cast<std::int64_t>(size)) {
      table.owner = std::shared_ptr<const char>(std::move(piece.owner), static_cast<const char*>(piece.data));
      table.bytes = std::string_view(table.owner.get(), size);
    } else {
      auto text = std::make_shared<std::string>();
      status = file.ReadAll(*text);
      if (status != FileStatus::Ok) FileError(file.message());
      table.bytes = *text;
      table.owner = std::shared_ptr<const char>(std::move(text), table.bytes.data());
    }
    return std::max(0, CsvTable::SplitRows(table.bytes, lines_));
  }

  void LoadSingle(TransferKind kind, KindFolder& files) {
    CountFile count;
    if (!ReadCount(files, CountFileName(name_), count)) return;
    TableBytes table;
    auto info = std::make_shared<DataSetTable>();
    const int n = ReadTable(files, TableFileName(name_), table, info->path);
    if (n < 0) return;
    // A table without rows (empty, only its header, a lone carriage return) shows
    // nothing; when its count file says there are measurements, it is said.
    if (n != ParseInt(count.countText())) WarnCount(info->path);
    if (n == 0) return;
    info->countText = std::to_string(n);

    KindItems& items = items_.kinds.emplace_back();
    items.kind = kind;
    items.records = ArenaArray<CDataSet>(arena_, static_cast<std::size_t>(n) + 1);
    items.records.emplace_back();  // the set folder item's
    const DataKind dataKind = ToDataKind(kind);
    std::shared_ptr<const DataSetTable> shared = std::move(info);
    for (int i = 1; i <= n; ++i) {
      CDataSet& record = items.records.emplace_back();
      record.kind = dataKind;
      record.index = i;
      record.row = table.Row(lines_[static_cast<std::size_t>(i - 1)]);
      record.table = shared;
    }
  }

  void LoadMulti(KindFolder& files) {
    CountFile count;
    if (!ReadCount(files, MultiCountFileName(), count)) return;
    // The folder item comes first, so a set folder whose tables are all missing still
    // shows an empty folder item.
    std::vector<CDataSet> records(1);
    const long long tableCount = ParseInt(count.countText());
    ReadAheadTables(files, tableCount);
    for (long long i = 1; i <= tableCount; ++i) {
      TableBytes table;
      auto info = std::make_shared<DataSetTable>();
      const int n = ReadTable(files, MultiTableFileName(i), table, info->path);
      if (n == 0) WarnCount(info->path);  // COUNT.CNT counts it, yet it holds no channel
      if (n <= 0) break;                  // later tables of this set folder are not read
      info->countText = count.countText();
      CDataSet& record = records.emplace_back();
      record.kind = DataKind::Multi;
      record.index = static_cast<int>(i);
      record.rows.reserve(static_cast<std::size_t>(n));
      for (int r = 0; r < n; ++r) record.rows.push_back(table.Row(lines_[static_cast<std::size_t>(r)]));
      if (n != ParseInt(Field(record.rows.front(), Column::ChannelCount))) WarnCount(info->path);
      record.table = std::move(info);
    }
    KindItems& items = items_.kinds.emplace_back();
    items.kind = TransferKind::Multi;
    items.records = ArenaArray<CDataSet>(arena_, records.size());
    for (CDataSet& record : records) items.records.push_back(std::move(record));
  }

  // The multi-channel tables 01.CSV ... of a COUNT.CNT counting count (the first
  // kMultiReadAhead of them).
  void ReadAheadTables(const KindFolder& files, long long count) {
    constexpr long long kMultiReadAhead = 99;
    std::vector<ReadAhead::Wanted> wanted;
    for (long long i = 1; i <= std::min(count, kMultiReadAhead); ++i)
      wanted.push_back({files.name() + '/' + MultiTableFileName(i), true});
    ahead_.Fetch(wanted);
  }

  const std::string& name_;
  SetFolderItems& items_;
  PageArena& arena_;
  ReadAhead& ahead_;
  std::vector<CsvTable::LineSpan> lines_;  // the rows of the table last read
};

}  // namespace

SetFolderItems SetFolderReader::Read(const std::string& name, PageArena& arena, FileBatch* batch) const {
  SetFolderItems items;
  const DirectoryIndex set(FolderHandle(dataFolder_, name, dataFolder_.path() / name));
  if (!set.handle().isOpen()) {
    items.messages.push_back(
        {LoadMessage::Kind::FolderError, FolderErrorMessage(set.handle().error(), set.folder().string())});
    return items;
  }
  std::vector<std::pair<TransferKind, std::string>> kindFolders;
  for (TransferKind kind : kLoadOrder)
    if (std::optional<std::string> kindFolder = set.Find(KindFolderName(kind)))
      kindFolders.emplace_back(kind, std::move(*kindFolder));

  // What the kind loaders will read first: each kind's count file and table (the
  // multi-channel tables once COUNT.CNT has said how many).
  ReadAhead ahead(batch, set.handle(), arena);
  std::vector<ReadAhead::Wanted> wanted;
  for (const auto& [kind, folder] : kindFolders) {
    if (FindKind(kind)->channelTables) {
      wanted.push_back({folder + '/' + MultiCountFileName(), false});
    } else {
      wanted.push_back({folder + '/' + CountFileName(name), false});
      wanted.push_back({folder + '/' + TableFileName(name), true});
    }
  }
  ahead.Fetch(wanted);

  KindLoader loader(name, items, arena, ahead);
  for (const auto& [kind, folder] : kindFolders) {
    KindFolder files(set, folder);
    loader.Load(kind, files);
  }
  return items;
}

}  // namespace rxt4
