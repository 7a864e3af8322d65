#pragma once
// Memory for what a load keeps (table bytes, records), handed out in pieces from large
// blocks that the system maps in one go, as huge pages where it can. Touching fresh
// pages one at a time costs a fault each, and on a virtual machine a fault can cost
// more than reading the page from the page cache: a 60 MB archive would spend longer
// faulting in its memory than reading its files. The first blocks are small and grow. The reader threads share one arena,
// so at most one block is left part-used. A piece keeps its block alive through the
// owner it comes with.

#include <cstddef>
#include <memory>
#include <mutex>
#include <new>
#include <utility>

namespace rxt4 {

class PageArena {
 public:
  struct Piece {
    void* data = nullptr;
    std::shared_ptr<const void> owner;  // keeps the block mapped
  };

  // A request of more than a quarter of a block gets a mapping of its own.
  static constexpr std::size_t kBlockBytes = 2 * 1024 * 1024;
  // The first block; each next one twice the one before, up to kBlockBytes.
  static constexpr std::size_t kFirstBlockBytes = 64 * 1024;

  // bytes bytes aligned for any object, from any thread; throws std::bad_alloc when no
  // memory is left.
  Piece Allocate(std::size_t bytes);

 private:
  std::mutex mutex_;
  std::shared_ptr<const void> block_;
  char* next_ = nullptr;
  std::size_t left_ = 0;
  std::size_t nextBlockBytes_ = kFirstBlockBytes;
};

// A fixed-capacity array of T placed in arena memory: elements are added at the end
// and destroyed with the array.
template <class T>
class ArenaArray {
 public:
  ArenaArray() = default;
  ArenaArray(PageArena& arena, std::size_t capacity) {
    PageArena::Piece piece = arena.Allocate(capacity * sizeof(T));
    data_ = static_cast<T*>(piece.data);
    memory_ = std::move(piece.owner);
    capacity_ = capacity;
  }
  ~ArenaArray() { Clear(); }
  ArenaArray(ArenaArray&& other) noexcept { *this = std::move(other); }
  ArenaArray& operator=(ArenaArray&& other) noexcept {
    if (this != &other) {
      Clear();
      data_ = std::exchange(other.data_, nullptr);
      size_ = std::exchange(other.size_, 0);
      capacity_ = std::exchange(other.capacity_, 0);
      memory_ = std::move(other.memory_);
    }
    return *this;
  }
  ArenaArray(const ArenaArray&) = delete;
  ArenaArray& operator=(const ArenaArray&) = delete;

  // Adds a default-constructed or moved-in element; the capacity must not be exceeded.
  T& emplace_back() { return *::new (static_cast<void*>(data_ + size_++)) T(); }
  T& push_back(T&& value) { return *::new (static_cast<void*>(data_ + size_++)) T(std::move(value)); }

  // Hands the elements over to a shared pointer that destroys them (and lets their
  // memory go) when its last copy goes; the array is empty afterwards.
  std::shared_ptr<T> Release() {
    if (!data_) return nullptr;
    const std::size_t n = std::exchange(size_, 0);
    T* data = std::exchange(data_, nullptr);
    capacity_ = 0;
    return std::shared_ptr<T>(data, [n, memory = std::move(memory_)](T* p) {
      for (std::size_t i = 0; i < n; ++i) p[i].~T();
    });
  }

  std::size_t size() const { return size_; }
  T& operator[](std::size_t i) { return data_[i]; }
  const T& operator[](std::size_t i) const { return data_[i]; }

 private:
  void Clear() {
    for (std::size_t i = 0; i < size_; ++i) data_[i].~T();
    size_ = 0;
  }

  T* data_ = nullptr;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
  std::shared_ptr<const void> memory_;
};

}  // namespace rxt4
