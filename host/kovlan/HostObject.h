// One object of the in-memory host (the board included): its kind, the
// attributes every object carries once, and the records of every exchange
// its kind takes part in, laid out by StorageLayout.
//
// Storage is compact: records live in the host's arena; a string is stored
// as the id of its text in the host's string pool; the keyed records (per
// layer or index) of an object are shared with its kind's template until
// the object's own differ (a pad's simple stack is kept as nine values, see
// Host::ApplySimpleStack).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "host/kovlan/ApiTable.h"
#include "platform/PagesAhead.h"

namespace kovlan {

// How a text shows a component.
enum class TextRole : uint8_t { None, Designator, Comment };

// A list of handles that holds up to two in place (an object's memberships:
// its net and its component or the board) and more on the heap.
class HandleList {
 public:
  HandleList() noexcept = default;
  HandleList(const HandleList& other) { Assign(other.View()); }
  HandleList& operator=(const HandleList& other) {
    if (this != &other) {
      Clear();
      Assign(other.View());
    }
    return *this;
  }
  HandleList(HandleList&& other) noexcept { Steal(other); }
  HandleList& operator=(HandleList&& other) noexcept {
    if (this != &other) {
      Clear();
      Steal(other);
    }
    return *this;
  }
  ~HandleList() { Clear(); }

  std::size_t size() const noexcept { return size_; }
  bool empty() const noexcept { return size_ == 0; }
  const uint32_t* data() const noexcept { return capacity_ == 0 ? inline_ : heap_; }
  const uint32_t* begin() const noexcept { return data(); }
  const uint32_t* end() const noexcept { return data() + size_; }
  uint32_t operator[](std::size_t i) const noexcept { return data()[i]; }
  std::span<const uint32_t> View() const noexcept { return {data(), size_}; }

  void push_back(uint32_t handle) {
    if (capacity_ == 0 && size_ < kInline) {
      inline_[size_++] = handle;
      return;
    }
    if (capacity_ == 0 || size_ == capacity_) Grow();
    heap_[size_++] = handle;
  }

  void Clear() noexcept {
    if (capacity_ != 0) std::free(heap_);
    capacity_ = 0;
    size_ = 0;
  }

 private:
  static constexpr uint32_t kInline = 2;

  void Assign(std::span<const uint32_t> handles) {
    for (uint32_t h : handles) push_back(h);
  }
  void Steal(HandleList& other) noexcept {
    size_ = other.size_;
    capacity_ = other.capacity_;
    if (capacity_ == 0) {
      std::memcpy(inline_, other.inline_, sizeof inline_);
    } else {
      heap_ = other.heap_;
    }
    other.size_ = 0;
    other.capacity_ = 0;
  }
  void Grow() {
    const uint32_t capacity = capacity_ == 0 ? 8u : capacity_ * 2u;
    auto* grown = static_cast<uint32_t*>(std::malloc(sizeof(uint32_t) * capacity));
    if (grown == nullptr) throw std::bad_alloc();
    std::memcpy(grown, data(), sizeof(uint32_t) * size_);
    if (capacity_ != 0) std::free(heap_);
    heap_ = grown;
    capacity_ = capacity;
  }

  union {
    uint32_t inline_[kInline];
    uint32_t* heap_;
  };
  uint32_t size_ = 0;
  uint32_t capacity_ = 0;  // 0: the handles are in place
};

struct HostObject {
  uint8_t kind = 0;
  TextRole role = TextRole::None;
  // A pad without keyed records of its own: its layers 1..32 show the
  // simple stack saved in its record block (see StorageLayout::SimpleStack).
  bool simpleStack = false;
  // A text: link[0] is the component it shows. A component: link[0] and
  // link[1] are the texts showing its designator and its comment.
  uint32_t link[2] = {0, 0};
  BaseValues base;
  uint8_t* data = nullptr;   // the unkeyed records (host arena)
  uint8_t* keyed = nullptr;  // the keyed records; null: the template's
  HandleList members;        // objects added to this container, in order
  HandleList memberOf;       // containers this object was added to, in order
};

// The saved top, mid and bottom sizes and shapes of a pad whose layers 1..32
// follow them (Host::ApplySimpleStack).
struct SimpleStack {
  int32_t xSize[3];
  int32_t ySize[3];
  uint8_t shape[3];

  // Which of the three a layer 1..32 shows: top (1), mid (2..31), bottom (32).
  static constexpr std::size_t PartOf(int32_t layer) noexcept {
    return layer == ORVIK_LAYER_TopLayer ? 0 : layer == ORVIK_LAYER_BottomLayer ? 2 : 1;
  }
};

// Where each exchange's records sit within an object's blocks, per kind.
class StorageLayout {
 public:
  static const StorageLayout& Get() {
    static const StorageLayout layout;
    return layout;
  }

  // Offset of the exchange's records in the unkeyed or the keyed block of
  // an object of `kind`, -1 if the kind does not take part in it.
  int32_t Offset(uint8_t kind, Api api) const { return offsets_[Slot(kind)][static_cast<int>(api)]; }
  // Block sizes of an object of `kind`.
  uint32_t Size(uint8_t kind) const { return sizes_[Slot(kind)]; }
  uint32_t KeyedSize(uint8_t kind) const { return keyedSizes_[Slot(kind)]; }
  // Offset of a pad's saved simple stack in its unkeyed block.
  uint32_t SimpleStackOffset() const { return simpleStackOffset_; }

 private:
  StorageLayout();
  static int Slot(uint8_t kind) {
    if (kind == kBoardKind) return kSlots - 1;
    return kind <= kMaxObjectKind ? kind : 0;
  }
  static constexpr int kSlots = kMaxObjectKind + 2;  // kinds 0..26 and the board

  int32_t offsets_[kSlots][kApiCount];
  uint32_t sizes_[kSlots];
  uint32_t keyedSizes_[kSlots];
  uint32_t simpleStackOffset_ = 0;
};

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
  std::size_t Used() const noexcept { return used_; }

 private:
  static constexpr std::size_t kChunk = std::size_t{4} << 20;
  std::vector<SystemBlock> chunks_;
  // Chunks of kChunk, made ready ahead once the arena grows large. Declared
  // after chunks_: its thread stops before the chunks are given back.
  std::unique_ptr<orvik::platform::PagesAhead> ahead_;
  std::size_t free_ = 0;  // bytes left in the last chunk
  uint8_t* next_ = nullptr;
  std::size_t used_ = 0;
};

// Interned texts of at most 255 bytes, by id; 0 is the empty text.
class StringPool {
 public:
  StringPool() { Clear(); }
  uint32_t Intern(std::string_view text);
  std::string_view View(uint32_t id) const {
    const auto length = static_cast<uint8_t>(bytes_[id]);
    return {bytes_.data() + id + 1, length};
  }
  void Clear();

 private:
  static uint64_t Hash(std::string_view text) noexcept;
  void Rehash();

  std::string bytes_;            // length byte, then the text, per entry
  std::vector<uint32_t> slots_;  // open addressing: id per slot, 0 = free
  std::size_t count_ = 0;
};

// Legacy layer number of a host layer identifier (0 when it has none).
uint8_t LegacyFromLayerId(uint32_t layerId);

}  // namespace kovlan
