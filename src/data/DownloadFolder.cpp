#include "rxt4/data/DownloadFolder.h"

#include <string_view>
#include <utility>
#include <vector>

#include "Staging.h"
#include "rxt4/data/DirectoryIndex.h"
#include "rxt4/data/Kinds.h"
#include "rxt4/data/Paths.h"
#include "rxt4/data/StagedFile.h"
#include "rxt4/data/TransferDestination.h"

namespace rxt4 {
namespace {

namespace fs = std::filesystem;

// Staging folders are named ".<set folder>.rxt4-new-XXXXXX" beside the set folder.
std::string StagingStem(const std::string& setFolderName) { return "." + setFolderName + ".rxt4-new-"; }

bool IsKindFolderName(std::string_view name) {
  for (TransferKind kind : kAllTransferKinds)
    if (FoldCase(name) == FoldCase(KindFolderName(kind))) return true;
  return false;
}

// The entries of a folder; empty (with ec) when it cannot be listed.
std::vector<fs::path> Entries(const fs::path& folder, std::error_code& ec) {
  std::vector<fs::path> entries;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) entries.push_back(it->path());
  return entries;
}

}  // namespace

struct DownloadFolder::Locks {
  staging::FolderLock setFolder;
  staging::FolderLock staging;  // after the swap it holds what the set folder's path names
};

DownloadFolder::DownloadFolder() : locks_(std::make_unique<Locks>()) {}

DownloadFolder::~DownloadFolder() {
  if (staged() && !committed_) {
    std::error_code ec;
    fs::remove_all(staging_, ec);
  }
}

bool DownloadFolder::Refuse(const fs::path& folder, std::error_code reason) {
  problem_ = {folder, reason, false};
  return false;
}

bool DownloadFolder::Open(const fs::path& setFolder) {
  problem_ = {};
  setName_ = SetFolderName(setFolder);
  std::error_code ec;
  // A set folder reached through a link is replaced where it lies, so the link shows
  // the new download.
  setFolder_ = fs::canonical(setFolder, ec);
  if (ec) return Refuse(setFolder, ec);
  if (!fs::is_directory(setFolder_, ec)) return Refuse(setFolder, ec ? ec : std::make_error_code(std::errc::not_a_directory));
  bool busy = false;
  if (std::error_code locked = locks_->setFolder.Take(setFolder_, busy)) return Refuse(setFolder, locked);
  if (busy) {
    problem_ = {setFolder, {}, true};
    return false;
  }
  // Decided under the lock: a download that ended a moment ago is an earlier download now.
  if (!HoldsMeasurements(setFolder_)) {
    writeFolder_ = setFolder;
    return true;
  }
  if (!CheckRemovable()) return false;
  RemoveLeftovers();
  const fs::path parent = setFolder_.parent_path();
  if (std::error_code made = staging::CreateFolderIn(parent, StagingStem(setFolder_.filename().string()), staging_))
    return Refuse(parent, made);
  staging::NodeId set, stage;
  if (std::error_code err = staging::IdOf(setFolder_, set); err || staging::IdOf(staging_, stage) || set.device != stage.device) {
    // The set folder is a file system of its own (a mount point): nothing beside it
    // can take its place.
    fs::remove(staging_, ec);
    staging_.clear();
    return Refuse(setFolder, err ? err : std::make_error_code(std::errc::cross_device_link));
  }
  if (std::error_code locked = locks_->staging.Take(staging_, busy); locked || busy) {
    fs::remove(staging_, ec);
    staging_.clear();
    return Refuse(parent, locked ? locked : std::make_error_code(std::errc::device_or_resource_busy));
  }
  writeFolder_ = staging_;
  return true;
}

// The earlier download can only be removed after the swap when the set folder and
// each of its kind folders take files (a read-only kind folder would stay behind):
// found now, before anything is downloaded.
bool DownloadFolder::CheckRemovable() {
  std::error_code ec;
  std::vector<fs::path> folders{setFolder_};
  for (const fs::path& entry : Entries(setFolder_, ec))
    if (IsKindFolderName(entry.filename().string()) && fs::is_directory(fs::symlink_status(entry, ec))) folders.push_back(entry);
  if (ec) return Refuse(setFolder_, ec);
  for (const fs::path& folder : folders)
    if (StagedFile probe(folder / TableFileName(setName_)); !probe.ok()) return Refuse(folder, probe.error());
  return true;
}

// Staging folders of this set folder that a download killed on the way left behind
// (no lock holds them): their kind folders are removed, and the folder when nothing
// else is in it (entries moved along at a swap stay where they are).
void DownloadFolder::RemoveLeftovers() const {
  const std::string stem = StagingStem(setFolder_.filename().string());
  std::error_code ec;
  for (const fs::path& entry : Entries(setFolder_.parent_path(), ec)) {
    const std::string name = entry.filename().string();
    if (name.size() != stem.size() + 6 || name.compare(0, stem.size(), stem) != 0) continue;
    staging::FolderLock lock;
    bool busy = false;
    if (lock.Take(entry, busy) || busy) continue;
    std::error_code inner;
    for (const fs::path& kind : Entries(entry, inner))
      if (IsKindFolderName(kind.filename().string())) fs::remove_all(kind, inner);
    fs::remove(entry, inner);
  }
}

bool DownloadFolder::StampJobRecord(const std::string& measuredAt, const InstrumentInfo& known) {
  problem_ = {};
  keptRecord_ = {};
  JobRecordRead read = ReadJobRecord(setFolder_);
  if (read.error) {
    keptRecord_ = read.error;
    return true;
  }
  JobRecord& record = read.record;
  record.measuredAt = measuredAt;
  if (!known.model.empty()) record.instrument.model = known.model;
  if (!known.serial.empty()) record.instrument.serial = known.serial;
  if (!known.firmware.empty()) record.instrument.firmware = known.firmware;
  RecordError error;
  if (!WriteJobRecord(writeFolder_, record, error))
    return Refuse(error.file, error.system ? error.system : std::make_error_code(std::errc::invalid_argument));
  stamped_ = true;
  return true;
}

bool DownloadFolder::Commit() {
  problem_ = {};
  if (!staged() || committed_) return true;
  // What the set folder holds besides its kind folders moves along into the new one.
  std::error_code ec;
  std::vector<std::pair<fs::path, fs::path>> moved;
  auto moveBack = [&] {
    std::error_code ignored;
    for (const auto& [from, to] : moved) fs::rename(to, from, ignored);
  };
  const std::vector<fs::path> entries = Entries(setFolder_, ec);
  if (ec) return Refuse(setFolder_, ec);
  for (const fs::path& entry : entries) {
    if (IsKindFolderName(entry.filename().string())) continue;
    // The stamped job record took the earlier one's place; that goes with the earlier download.
    if (stamped_ && entry.filename() == kJobRecordFileName) continue;
    const fs::path to = staging_ / entry.filename();
    fs::rename(entry, to, ec);
    if (ec) {
      moveBack();
      return Refuse(entry, ec);
    }
    moved.emplace_back(entry, to);
  }
  fs::path formerly;
  ec = staging::CopyPermissions(setFolder_, staging_);
  if (!ec) ec = staging::SyncFolder(staging_);
  if (!ec) ec = staging::ReplaceFolder(staging_, setFolder_, formerly);
  if (ec && formerly.empty()) {
    moveBack();
    return Refuse(setFolder_, ec);
  }
  committed_ = true;
  fs::remove_all(formerly, ec);
  return true;
}

}  // namespace rxt4
