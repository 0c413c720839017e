// One object of the in-memory host (the board included): its kind, the
// attributes every object carries once, and the records of every exchange
// its kind takes part in, laid out by StorageLayout; with the list of
// handles that holds its members and memberships.
//
// Storage is compact: records live in the store's arena; a string is stored
// as the id of its text in the store's string pool; the keyed records (per
// layer or index) of an object are shared with its kind's template until
// the object's own differ (a pad's simple stack is kept as nine values, see
// ObjectStore::ApplySimpleStack).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <span>

#include "host/kovlan/ApiTable.h"

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

}  // namespace kovlan
