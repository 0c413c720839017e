#include "host/kovlan/Arena.h"

#include <new>

#include "platform/Pages.h"

namespace kovlan {

SystemBlock::SystemBlock(std::size_t size) : size_(size) {
  data_ = static_cast<uint8_t*>(orvik::platform::AllocatePages(size));
  if (data_ == nullptr) throw std::bad_alloc();
}

void SystemBlock::Release() noexcept {
  if (data_ == nullptr) return;
  orvik::platform::ReleasePages(data_, size_);
  data_ = nullptr;
  size_ = 0;
}

uint8_t* Arena::Allocate(std::size_t size) {
  size = (size + 7u) & ~std::size_t{7};
  // A kind whose exchanges carry base attributes only has an empty block:
  // a valid address that holds nothing.
  static uint8_t empty[8];
  if (size == 0) return empty;
  if (size > free_) {
    if (size > kChunk) {
      chunks_.emplace_back(size);  // zeroed
    } else {
      if (ahead_ == nullptr) ahead_ = std::make_unique<orvik::platform::PagesAhead>(kChunk);
      chunks_.reserve(chunks_.size() + 1);
      void* pages = ahead_->Take();  // zeroed
      if (pages == nullptr) throw std::bad_alloc();
      chunks_.emplace_back(pages, kChunk);
    }
    next_ = chunks_.back().get();
    free_ = kChunk > size ? kChunk : size;
  }
  uint8_t* block = next_;
  next_ += size;
  free_ -= size;
  return block;
}

void Arena::Clear() noexcept {
  ahead_.reset();  // a new life starts small again
  chunks_.clear();
  chunks_.shrink_to_fit();
  free_ = 0;
  next_ = nullptr;
}

}  // namespace kovlan
