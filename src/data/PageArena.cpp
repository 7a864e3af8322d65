// The platform side of PageArena (POSIX, with Linux's huge pages where present):
// full-size blocks are anonymous mappings aligned to a huge page, marked for huge
// pages and populated in one call; the smaller first blocks come from the heap.

#include "PageArena.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstdint>

namespace rxt4 {
namespace {

constexpr std::size_t kAlignment = alignof(std::max_align_t);

std::size_t Aligned(std::size_t bytes, std::size_t alignment) { return (bytes + alignment - 1) / alignment * alignment; }

// A mapping of bytes (a multiple of the block size) starting on a block boundary.
void* MapAligned(std::size_t bytes) {
  const std::size_t span = bytes + PageArena::kBlockBytes;
  void* raw = ::mmap(nullptr, span, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (raw == MAP_FAILED) throw std::bad_alloc();
  const auto start = reinterpret_cast<std::uintptr_t>(raw);
  const std::uintptr_t aligned = Aligned(start, PageArena::kBlockBytes);
  if (aligned > start) ::munmap(raw, aligned - start);
  const std::uintptr_t end = aligned + bytes;
  if (start + span > end) ::munmap(reinterpret_cast<void*>(end), start + span - end);
  void* block = reinterpret_cast<void*>(aligned);
#ifdef MADV_HUGEPAGE
  ::madvise(block, bytes, MADV_HUGEPAGE);
#endif
#ifdef MADV_POPULATE_WRITE
  ::madvise(block, bytes, MADV_POPULATE_WRITE);  // where unsupported, pages come on first touch
#endif
  return block;
}

std::shared_ptr<const void> MapBlock(std::size_t bytes) {
  if (bytes < PageArena::kBlockBytes) {
    // A small block comes from the heap: unmapping memory a thread may have touched
    // makes the system interrupt every other core, which on a virtual machine costs
    // more than the block is worth; the heap keeps such blocks for the next load.
    return std::shared_ptr<const void>(::operator new(bytes), [](const void* p) { ::operator delete(const_cast<void*>(p)); });
  }
  bytes = Aligned(bytes, PageArena::kBlockBytes);
  void* block = MapAligned(bytes);
  try {
    return std::shared_ptr<const void>(block, [bytes](const void* p) { ::munmap(const_cast<void*>(p), bytes); });
  } catch (...) {
    ::munmap(block, bytes);
    throw;
  }
}

}  // namespace

PageArena::Piece PageArena::Allocate(std::size_t bytes) {
  bytes = Aligned(bytes == 0 ? 1 : bytes, kAlignment);
  if (bytes > kBlockBytes / 4) {
    std::shared_ptr<const void> own = MapBlock(bytes);
    void* data = const_cast<void*>(own.get());
    return {data, std::move(own)};
  }
  std::lock_guard lock(mutex_);
  if (bytes > left_) {
    // Blocks grow from small to full size: a load of one small set folder should not
    // pay for zeroing megabytes it never uses.
    while (nextBlockBytes_ < bytes) nextBlockBytes_ *= 2;
    block_ = MapBlock(nextBlockBytes_);
    next_ = static_cast<char*>(const_cast<void*>(block_.get()));
    left_ = nextBlockBytes_;
    nextBlockBytes_ = std::min(nextBlockBytes_ * 2, kBlockBytes);
  }
  Piece piece{next_, block_};
  next_ += bytes;
  left_ -= bytes;
  return piece;
}

}  // namespace rxt4
