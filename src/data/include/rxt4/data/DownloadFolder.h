#pragma once
// The set folder one download writes into, held for that download alone.
//
// Open locks the set folder against a second download (which is refused, not made to
// wait). A set folder without measurements (new, empty, or with empty kind folders
// only) is written into directly. A set folder holding an earlier download is never
// written into: the new download goes into a private staging folder beside it (same
// file system) and Commit puts it in place of the earlier one in one step, moving
// along whatever the set folder held besides its kind folders; the earlier download
// is then removed. Without Commit (a failure, a cancel) the staging folder is removed
// and the set folder stays exactly as it was: an overwrite ends with exactly the new
// download's files, or with nothing of it.
//
// The set folder's job record (job.toml) is stamped with the download's 測定日時 where
// the kind folders go, before Commit: an overwrite carries the record along with the
// new date, a failed or cancelled one leaves the earlier record as it was.

#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

#include "rxt4/data/JobRecord.h"

namespace rxt4 {

class DownloadFolder {
 public:
  // A folder that refused the download, and why.
  struct Problem {
    std::filesystem::path folder;
    std::error_code reason;  // the system's reason; empty when busy
    bool busy = false;       // another download holds the set folder
    explicit operator bool() const { return busy || static_cast<bool>(reason); }
  };

  DownloadFolder();
  // Removes an uncommitted staging folder and releases the set folder.
  ~DownloadFolder();
  DownloadFolder(const DownloadFolder&) = delete;
  DownloadFolder& operator=(const DownloadFolder&) = delete;

  // Takes the (existing) set folder for a download. An overwrite checks first that
  // the earlier download can be removed (the set folder and its kind folders take
  // files) and makes the staging folder. False, with problem(), when the set folder
  // is missing, held by another download, or cannot be overwritten.
  bool Open(const std::filesystem::path& setFolder);

  // Where the kind folders go: the set folder itself, or the staging folder.
  const std::filesystem::path& writeFolder() const { return writeFolder_; }
  // The set folder's name, after which its files are named.
  const std::string& setName() const { return setName_; }
  // True when the download is staged (the set folder held an earlier download).
  bool staged() const { return !staging_.empty(); }

  // Writes the job record of the download where the kind folders go: the set
  // folder's record with 測定日時 set to measuredAt and the instrument's model,
  // serial and firmware set where known is given them (non-empty). A record that
  // cannot be read is left as it is and nothing is stamped (kept() tells; not a
  // failure). False, with problem(), when the record could not be written.
  bool StampJobRecord(const std::string& measuredAt, const InstrumentInfo& known);
  // Why the set folder's job record was left unstamped (empty when it was stamped).
  const RecordError& keptRecord() const { return keptRecord_; }

  // Puts a staged download in place of the earlier one and removes that; nothing to
  // do for a direct download. False, with problem(), when the swap failed: the set
  // folder is then as it was.
  bool Commit();

  const Problem& problem() const { return problem_; }

 private:
  bool Refuse(const std::filesystem::path& folder, std::error_code reason);
  bool CheckRemovable();
  void RemoveLeftovers() const;

  struct Locks;
  std::unique_ptr<Locks> locks_;
  std::filesystem::path setFolder_;  // the set folder as the file system names it (links resolved)
  std::filesystem::path writeFolder_;
  std::filesystem::path staging_;
  std::string setName_;
  bool committed_ = false;
  bool stamped_ = false;  // the job record was written where the kind folders go
  RecordError keptRecord_;
  Problem problem_;
};

}  // namespace rxt4
