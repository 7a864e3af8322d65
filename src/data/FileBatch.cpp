// The platform side of FileBatch (Linux): one io_uring per batch. Opens and reads go
// in rounds of at most kRound files, each round one call into the kernel; closes are
// queued and travel with the next round.

#include "FileBatch.h"

#include <dirent.h>
#include <liburing.h>

#include <algorithm>
#include <cerrno>
#include <memory>

#include "OpenFlags.h"

namespace rxt4 {
namespace {

constexpr unsigned kEntries = 64;
constexpr unsigned kRound = 32;             // files a round; leaves room for queued closes
constexpr std::uint64_t kCloseTag = ~0ull;  // user data of a close, whose result nobody waits for
constexpr int kTransientTries = 1000;       // kernel short of resources: tries before giving up

// The kernel must know every operation the batch uses.
bool Supports(io_uring& ring) {
  std::unique_ptr<io_uring_probe, void (*)(io_uring_probe*)> probe(io_uring_get_probe_ring(&ring),
                                                                  io_uring_free_probe);
  return probe && io_uring_opcode_supported(probe.get(), IORING_OP_OPENAT) &&
         io_uring_opcode_supported(probe.get(), IORING_OP_READ) &&
         io_uring_opcode_supported(probe.get(), IORING_OP_CLOSE);
}

}  // namespace

struct FileBatch::Ring {
  io_uring ring{};
};

FileBatch::FileBatch() {
  auto ring = std::make_unique<Ring>();
  if (io_uring_queue_init(kEntries, &ring->ring, 0) != 0) return;  // not offered here
  if (!Supports(ring->ring)) {
    io_uring_queue_exit(&ring->ring);
    return;
  }
  ring_ = ring.release();
}

FileBatch::~FileBatch() {
  if (!ring_) return;
  Complete(0, true);  // the queued closes
  GiveUp();
}

void FileBatch::GiveUp() {
  if (!ring_) return;
  io_uring_queue_exit(&ring_->ring);
  delete ring_;
  ring_ = nullptr;
}

bool FileBatch::Reserve(unsigned count) {
  if (ring_ && io_uring_sq_space_left(&ring_->ring) < count) Complete(0, false);
  return ring_ != nullptr;
}

void FileBatch::Complete(unsigned count, bool untilClosed) {
  io_uring& ring = ring_->ring;
  unsigned done = 0;
  int transient = 0;
  for (;;) {
    int rc;
    if (io_uring_sq_ready(&ring) > 0) {
      rc = io_uring_submit_and_wait(&ring, count - done);
    } else if (done < count || (untilClosed && closesInFlight_ > 0)) {
      io_uring_cqe* cqe = nullptr;
      rc = io_uring_wait_cqe(&ring, &cqe);
    } else {
      return;
    }
    if (rc == -EAGAIN || rc == -EBUSY) {
      if (++transient > kTransientTries) rc = -EIO;
    }
    if (rc < 0 && rc != -EINTR && rc != -EAGAIN && rc != -EBUSY) {
      // Results that have not come stay as their rounds preset them, so the callers
      // go the usual way for those files.
      GiveUp();
      return;
    }
    io_uring_cqe* cqe;
    unsigned head;
    unsigned seen = 0;
    io_uring_for_each_cqe(&ring, head, cqe) {
      ++seen;
      if (cqe->user_data == kCloseTag) {
        --closesInFlight_;
      } else if (cqe->user_data > 0 && cqe->user_data <= results_.size()) {
        results_[cqe->user_data - 1] = cqe->res;
        ++done;
      }
    }
    io_uring_cq_advance(&ring, seen);
  }
}

void FileBatch::Open(const FolderHandle& folder, std::vector<OpenRequest>& requests) {
  if (!folder.stream_) return;
  const int at = ::dirfd(static_cast<DIR*>(folder.stream_));
  for (std::size_t first = 0; first < requests.size(); first += kRound) {
    const std::size_t end = std::min(requests.size(), first + kRound);
    const auto count = static_cast<unsigned>(end - first);
    results_.assign(count, -ECANCELED);
    if (!Reserve(count)) return;
    for (std::size_t i = first; i < end; ++i) {
      io_uring_sqe* sqe = io_uring_get_sqe(&ring_->ring);
      io_uring_prep_openat(sqe, at, requests[i].name.c_str(), kReadFlags, 0);
      io_uring_sqe_set_data64(sqe, i - first + 1);
    }
    Complete(count, false);
    for (std::size_t i = first; i < end; ++i) {
      OpenRequest& request = requests[i];
      const int fd = results_[i - first];
      request.status = fd >= 0 ? request.file.Adopt(fd, 0, &folder.path(), request.name, request.maxBytes)
                               : FileStatus::OpenFailed;
    }
  }
}

void FileBatch::Read(std::vector<ReadRequest>& reads) {
  for (std::size_t first = 0; first < reads.size(); first += kRound) {
    const std::size_t end = std::min(reads.size(), first + kRound);
    const auto count = static_cast<unsigned>(end - first);
    results_.assign(count, -EAGAIN);
    if (Reserve(count)) {
      for (std::size_t i = first; i < end; ++i) {
        io_uring_sqe* sqe = io_uring_get_sqe(&ring_->ring);
        io_uring_prep_read(sqe, reads[i].file->fd_, reads[i].buffer, static_cast<unsigned>(reads[i].count), 0);
        io_uring_sqe_set_data64(sqe, i - first + 1);
      }
      Complete(count, false);
    }
    for (std::size_t i = first; i < end; ++i) {
      ReadRequest& read = reads[i];
      const int res = results_[i - first];
      if (res >= 0) {
        read.got = res;
      } else if (res == -EAGAIN || res == -EINTR) {
        // A file system that cannot read without waiting answers EAGAIN to a file
        // opened without blocking: this thread reads it itself.
        read.got = read.file->ReadAt(read.buffer, read.count, 0);
      } else {
        read.file->Fail(FileStatus::ReadFailed, -res);
        read.got = -1;
      }
    }
  }
}

void FileBatch::Close(ReadOnlyFile& file) {
  if (file.fd_ < 0 || !Reserve(1)) {
    file.Close();
    return;
  }
  io_uring_sqe* sqe = io_uring_get_sqe(&ring_->ring);
  io_uring_prep_close(sqe, file.fd_);
  io_uring_sqe_set_data64(sqe, kCloseTag);
  file.fd_ = -1;
  ++closesInFlight_;
}

}  // namespace rxt4
