// Memory for the host's record blocks: zeroed blocks straight from the
// system (SystemBlock), and the arena that bump-allocates from them and
// releases everything at once (Arena).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/PagesAhead.h"

namespace kovlan {

// Zeroed memory straight from the system, in large blocks (no per-block
// header, nothing to clear: the system hands out zeroed pages).
class SystemBlock {
 public:
  SystemBlock() noexcept = default;
  explicit SystemBlock(std::size_t size);
  // Takes over a block from the system's page allocator (AllocatePages).
  SystemBlock(void* pages, std::size_t size) noexcept : data_(static_cast<uint8_t*>(pages)), size_(size) {}
  SystemBlock(SystemBlock&& other) noexcept : data_(other.data_), size_(other.size_) {
    other.data_ = nullptr;
    other.size_ = 0;
  }
  SystemBlock& operator=(SystemBlock&& other) noexcept {
    if (this != &other) {
      Release();
      data_ = other.data_;
      size_ = other.size_;
      other.data_ = nullptr;
      other.size_ = 0;
    }
    return *this;
  }
  SystemBlock(const SystemBlock&) = delete;
  SystemBlock& operator=(const SystemBlock&) = delete;
  ~SystemBlock() { Release(); }

  uint8_t* get() const noexcept { return data_; }

 private:
  void Release() noexcept;
  uint8_t* data_ = nullptr;
  std::size_t size_ = 0;
};

// Bump allocation of zeroed record blocks, released all at once.
class Arena {
 public:
  uint8_t* Allocate(std::size_t size);
  void Clear() noexcept;

 private:
  static constexpr std::size_t kChunk = std::size_t{4} << 20;
  std::vector<SystemBlock> chunks_;
  // Chunks of kChunk, made ready ahead once the arena grows large. Declared
  // after chunks_: its thread stops before the chunks are given back.
  std::unique_ptr<orvik::platform::PagesAhead> ahead_;
  std::size_t free_ = 0;  // bytes left in the last chunk
  uint8_t* next_ = nullptr;
};

}  // namespace kovlan
