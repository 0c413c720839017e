#include "host/kovlan/HostObject.h"

#include <cstring>
#include <new>

#include "platform/Pages.h"

namespace kovlan {

StorageLayout::StorageLayout() {
  for (int s = 0; s < kSlots; ++s) {
    const uint8_t kind = s == kSlots - 1 ? kBoardKind : static_cast<uint8_t>(s);
    uint32_t size = 0;
    uint32_t keyedSize = 0;
    for (int a = 0; a < kApiCount; ++a) {
      const Exchange& ex = ExchangeOf(static_cast<Api>(a));
      if (s != 0 && ex.HeldBy(kind)) {
        uint32_t& blockSize = ex.keyed ? keyedSize : size;
        offsets_[s][a] = static_cast<int32_t>(blockSize);
        blockSize += ex.StorageSize();
      } else {
        offsets_[s][a] = -1;
      }
    }
    if (kind == ORVIK_KIND_PAD) {
      size = (size + 3u) & ~3u;
      simpleStackOffset_ = size;
      size += sizeof(SimpleStack);
    }
    sizes_[s] = size;
    keyedSizes_[s] = keyedSize;
  }
}

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
  used_ += size;
  return block;
}

void Arena::Clear() noexcept {
  ahead_.reset();  // a new life starts small again
  chunks_.clear();
  chunks_.shrink_to_fit();
  free_ = 0;
  next_ = nullptr;
  used_ = 0;
}

void StringPool::Clear() {
  bytes_.assign(1, '\0');  // id 0: the empty text
  slots_.assign(1024, 0u);
  count_ = 0;
}

uint64_t StringPool::Hash(std::string_view text) noexcept {
  uint64_t h = 1469598103934665603ull;  // FNV-1a
  for (const char c : text) {
    h ^= static_cast<unsigned char>(c);
    h *= 1099511628211ull;
  }
  return h ^ (h >> 29);
}

uint32_t StringPool::Intern(std::string_view text) {
  if (text.empty()) return 0;
  if (text.size() > 255) text = text.substr(0, 255);
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t i = Hash(text) & mask;; i = (i + 1) & mask) {
    const uint32_t id = slots_[i];
    if (id == 0) {
      const auto newId = static_cast<uint32_t>(bytes_.size());
      bytes_ += static_cast<char>(text.size());
      bytes_.append(text);
      slots_[i] = newId;
      if (++count_ * 2 > slots_.size()) Rehash();
      return newId;
    }
    if (View(id) == text) return id;
  }
}

void StringPool::Rehash() {
  std::vector<uint32_t> old(slots_.size() * 2, 0u);
  old.swap(slots_);
  const std::size_t mask = slots_.size() - 1;
  for (const uint32_t id : old) {
    if (id == 0) continue;
    std::size_t i = Hash(View(id)) & mask;
    while (slots_[i] != 0) i = (i + 1) & mask;
    slots_[i] = id;
  }
}

uint8_t LegacyFromLayerId(uint32_t layerId) {
  const uint32_t tag = layerId >> 16;
  if (tag == 0) return (layerId & 0xFFFFu) <= kMaxLegacyLayer ? static_cast<uint8_t>(layerId) : 0;
  if ((layerId & 0xFFFFu) == 0) return 0;
  if (tag == ORVIK_PARTITION_TAG_SIGNAL) {
    // The last signal number is the bottom layer; others are mid layers past the legacy range.
    return (layerId & 0xFFFFu) == ORVIK_PARTITION_MAX_NUMBER ? ORVIK_LAYER_BottomLayer : ORVIK_LAYER_MidLayer30;
  }
  if (tag == ORVIK_PARTITION_TAG_INTERNAL_PLANE) return ORVIK_LAYER_InternalPlane16;
  if (tag == ORVIK_PARTITION_TAG_MECHANICAL) return ORVIK_LAYER_Mechanical16;
  return 0;
}

}  // namespace kovlan
