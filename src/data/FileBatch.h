#pragma once
// Opening, reading and closing many files of one folder with a few system calls
// instead of four per file (Linux's io_uring). A set folder's tables are small and
// many; one by one, the calls themselves cost more than the reading, and a cold disk
// is asked for one file at a time. A batch hands the kernel all of a set folder's
// opens at once, then all of its reads, so the disk gets them together.
//
// A batch only speeds things up: each file it opens is checked as FolderHandle::OpenFile
// checks it, and each read answers as ReadOnlyFile::ReadAt does. Where the system
// offers no such batching (an old kernel, a sandbox that forbids it), available() is
// false and the callers read file by file.
//
// A batch belongs to one thread at a time.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "rxt4/data/FolderHandle.h"
#include "rxt4/data/ReadOnlyFile.h"

namespace rxt4 {

class FileBatch {
 public:
  // Files a caller should have open at once: every reader thread holds up to this many
  // (and as many more being closed), well inside the usual limit of 1,024 descriptors.
  static constexpr std::size_t kFilesAtOnce = 16;

  struct OpenRequest {
    std::string name;  // relative to the folder ("LEVEL/0412.CSV")
    std::uint64_t maxBytes = 0;
    ReadOnlyFile file;       // the result, as FolderHandle::OpenFile leaves it
    FileStatus status = FileStatus::OpenFailed;
  };

  struct ReadRequest {
    ReadOnlyFile* file = nullptr;  // open
    void* buffer = nullptr;
    std::size_t count = 0;
    std::int64_t got = -1;  // the result, as file->ReadAt(buffer, count, 0) answers
  };

  FileBatch();
  ~FileBatch();
  FileBatch(const FileBatch&) = delete;
  FileBatch& operator=(const FileBatch&) = delete;

  bool available() const { return ring_ != nullptr; }

  // Opens every request's name in folder. A request that could not be opened in the
  // batch is left as OpenFailed with no message: open it again the usual way to learn
  // why (the batch does not repeat the system's reasons).
  void Open(const FolderHandle& folder, std::vector<OpenRequest>& requests);

  // Reads each request's file from its start.
  void Read(std::vector<ReadRequest>& reads);

  // Closes the file without waiting for the system to finish closing it.
  void Close(ReadOnlyFile& file);

 private:
  // Hands the queued requests to the system and waits until count results have come
  // (into results_), or, with count 0 and untilClosed, until every close has ended.
  void Complete(unsigned count, bool untilClosed);
  // Room for count more requests, submitting what is queued when the queue is full.
  // False when the batch has given up (see Complete).
  bool Reserve(unsigned count);
  // Lets the ring go after a failure that valid requests do not meet; from then on the
  // batch is not available.
  void GiveUp();

  struct Ring;
  Ring* ring_ = nullptr;
  std::vector<int> results_;  // of the round in flight, by request index
  unsigned closesInFlight_ = 0;
};

}  // namespace rxt4
