// The records a section reader keeps, in file order, in blocks of about
// 64 KiB that never move: growing copies nothing (a vector copies all its
// records each time it doubles, and holds up to twice their room), and the
// room beyond the records is less than one block.
#pragma once

#include <cstddef>
#include <iterator>
#include <stdexcept>
#include <type_traits>
#include <utility>
#include <vector>

namespace orvik {

template <class Record>
class TRecordList {
 public:
  static constexpr std::size_t kBlockRecords = sizeof(Record) >= 65536 ? 1 : 65536 / sizeof(Record);

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
    if (size_ % kBlockRecords == 0) {
      // Reserved up front: the block's records never move.
      blocks_.emplace_back().reserve(kBlockRecords);
    }
    Record& record = blocks_.back().emplace_back(std::forward<Args>(args)...);
    ++size_;
    return record;
  }
  void clear() noexcept {
    blocks_.clear();
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
  std::vector<std::vector<Record>> blocks_;
  std::size_t size_ = 0;
};

}  // namespace orvik
