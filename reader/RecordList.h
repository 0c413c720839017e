// The records a section reader keeps, in file order, in large blocks that
// never move: growing copies nothing (a vector copies all its records each
// time it doubles, and holds up to twice their room). The blocks come from
// the client object pool and go back to it on clear(): once a reader has
// made its objects, its records' room serves the next objects of the import.
#pragma once

#include <cstddef>
#include <iterator>
#include <memory>
#include <new>
#include <stdexcept>
#include <type_traits>
#include <utility>
#include <vector>

#include "RTL/RT_PCB/ObjectPool.h"

namespace orvik {

template <class Record>
class TRecordList {
 public:
  // A record larger than a pool block gets a block of its own from the
  // global allocator.
  static constexpr bool kPooled = sizeof(Record) <= pool::kBlockBytes;
  static constexpr std::size_t kBlockRecords = kPooled ? pool::kBlockBytes / sizeof(Record) : 1;

  TRecordList() noexcept = default;
  ~TRecordList() { clear(); }
  TRecordList(const TRecordList&) = delete;
  TRecordList& operator=(const TRecordList&) = delete;

  template <bool Const>
  class Iterator {
   public:
    using List = std::conditional_t<Const, const TRecordList, TRecordList>;
    using iterator_category = std::forward_iterator_tag;
    using value_type = Record;
    using difference_type = std::ptrdiff_t;
    using reference = std::conditional_t<Const, const Record&, Record&>;
    using pointer = std::conditional_t<Const, const Record*, Record*>;

    Iterator() noexcept = default;
    Iterator(List* list, std::size_t index) noexcept : list_(list), index_(index) {}
    reference operator*() const noexcept { return (*list_)[index_]; }
    pointer operator->() const noexcept { return &(*list_)[index_]; }
    Iterator& operator++() noexcept {
      ++index_;
      return *this;
    }
    Iterator operator++(int) noexcept {
      Iterator before = *this;
      ++index_;
      return before;
    }
    bool operator==(const Iterator& other) const noexcept { return index_ == other.index_; }

   private:
    List* list_ = nullptr;
    std::size_t index_ = 0;
  };
  using iterator = Iterator<false>;
  using const_iterator = Iterator<true>;

  std::size_t size() const noexcept { return size_; }
  bool empty() const noexcept { return size_ == 0; }

  void push_back(const Record& record) { emplace_back(record); }
  template <class... Args>
  Record& emplace_back(Args&&... args) {
    const std::size_t slot = size_ % kBlockRecords;
    if (size_ == blocks_.size() * kBlockRecords) AddBlock();
    Record* record = ::new (static_cast<void*>(blocks_.back() + slot)) Record(std::forward<Args>(args)...);
    ++size_;
    return *record;
  }
  // Destroys the records and gives their blocks back.
  void clear() noexcept {
    for (std::size_t i = 0; i < size_; ++i) std::destroy_at(&(*this)[i]);
    for (Record* block : blocks_) FreeBlock(block);
    blocks_.clear();
    blocks_.shrink_to_fit();
    size_ = 0;
  }

  Record& operator[](std::size_t i) noexcept { return blocks_[i / kBlockRecords][i % kBlockRecords]; }
  const Record& operator[](std::size_t i) const noexcept { return blocks_[i / kBlockRecords][i % kBlockRecords]; }
  Record& at(std::size_t i) {
    if (i >= size_) throw std::out_of_range("record index");
    return (*this)[i];
  }
  const Record& at(std::size_t i) const {
    if (i >= size_) throw std::out_of_range("record index");
    return (*this)[i];
  }

  iterator begin() noexcept { return {this, 0}; }
  iterator end() noexcept { return {this, size_}; }
  const_iterator begin() const noexcept { return {this, 0}; }
  const_iterator end() const noexcept { return {this, size_}; }

 private:
  void AddBlock() {
    blocks_.reserve(blocks_.size() + 1);  // may raise; nothing taken yet
    void* block = kPooled ? pool::AllocateBlock() : ::operator new (sizeof(Record), std::align_val_t{alignof(Record)});
    blocks_.push_back(static_cast<Record*>(block));
  }
  static void FreeBlock(Record* block) noexcept {
    if constexpr (kPooled) {
      pool::ReleaseBlock(block);
    } else {
      ::operator delete (block, std::align_val_t{alignof(Record)});
    }
  }

  std::vector<Record*> blocks_;  // raw room; records [0, size_) live in it
  std::size_t size_ = 0;
};

}  // namespace orvik
