// One per-layer value of a pad stack (83 legacy layers), held compactly: as
// runs of equal values over consecutive layers while there are few of them
// (a pad's stack is top, mid, bottom and the untouched rest), as a full
// array once there are more or once a caller takes a writable reference.
// Reads give the same values as an array would.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <type_traits>

namespace orvik {

template <class T, std::size_t N>
class TLayerColumn {
 public:
  static constexpr std::size_t kRuns = 6;

  TLayerColumn() noexcept = default;
  TLayerColumn(const TLayerColumn& other) { CopyFrom(other); }
  TLayerColumn& operator=(const TLayerColumn& other) {
    if (this != &other) CopyFrom(other);
    return *this;
  }
  TLayerColumn(TLayerColumn&&) noexcept = default;
  TLayerColumn& operator=(TLayerColumn&&) noexcept = default;

  static constexpr std::size_t size() noexcept { return N; }

  // The value on `layer` (< N).
  T Get(std::size_t layer) const noexcept {
    if (full_) return full_[layer];
    std::size_t i = count_ - 1;
    while (starts_[i] > layer) --i;
    return values_[i];
  }
  T operator[](std::size_t layer) const noexcept { return Get(layer); }
  // A writable element: the column becomes a full array.
  T& operator[](std::size_t layer) {
    Expand();
    return full_[layer];
  }
  void fill(T value) noexcept {
    full_.reset();
    count_ = 1;
    values_[0] = value;
  }

  // All N values into `out`.
  void CopyTo(T* out) const noexcept {
    if (full_) {
      std::copy(full_.get(), full_.get() + N, out);
      return;
    }
    for (std::size_t run = 0; run < count_; ++run) {
      const std::size_t end = run + 1u < count_ ? starts_[run + 1u] : N;
      std::fill(out + starts_[run], out + end, values_[run]);
    }
  }
  // Takes all N values from `values`.
  void Assign(const T* values) {
    std::uint8_t starts[kRuns];
    T runValues[kRuns];
    std::size_t count = 0;
    for (std::size_t layer = 0; layer < N;) {
      if (count == kRuns) {
        if (!full_) full_ = std::make_unique<T[]>(N);
        std::copy(values, values + N, full_.get());
        return;
      }
      starts[count] = static_cast<std::uint8_t>(layer);
      runValues[count] = values[layer];
      layer = RunEnd(values, layer + 1, values[layer]);
      ++count;
    }
    std::copy(starts, starts + count, starts_);
    std::copy(runValues, runValues + count, values_);
    full_.reset();
    count_ = static_cast<std::uint8_t>(count);
  }

  // Reads layers in increasing order without searching the runs again.
  class Cursor {
   public:
    explicit Cursor(const TLayerColumn& column) noexcept : column_(column) {}
    T operator()(std::size_t layer) noexcept {
      if (column_.full_) return column_.full_[layer];
      while (run_ + 1u < column_.count_ && column_.starts_[run_ + 1u] <= layer) ++run_;
      return column_.values_[run_];
    }

   private:
    const TLayerColumn& column_;
    std::size_t run_ = 0;
  };

  // Rebuilding a column layer by layer: Restart, then Append the values of
  // layers 0, 1, ... N-1 in order.
  void Restart() noexcept {
    full_.reset();
    count_ = 0;
    next_ = 0;
  }
  void Append(T value) {
    const std::size_t layer = next_++;
    if (full_) {
      full_[layer] = value;
    } else if (count_ != 0 && values_[count_ - 1] == value) {
      // The last run grows.
    } else if (count_ < kRuns) {
      starts_[count_] = static_cast<std::uint8_t>(layer);
      values_[count_] = value;
      ++count_;
    } else {
      Expand();
      full_[layer] = value;
    }
  }

 private:
  // The first layer at or after `from` whose value is not `value` (N if
  // none). A pad's stack is a few long runs: compare eight bytes at a time.
  static std::size_t RunEnd(const T* values, std::size_t from, T value) noexcept {
    if constexpr (std::is_integral_v<T> && sizeof(std::uint64_t) % sizeof(T) == 0) {
      constexpr std::size_t kPerWord = sizeof(std::uint64_t) / sizeof(T);
      T repeated[kPerWord];
      std::fill(repeated, repeated + kPerWord, value);
      std::uint64_t pattern;
      std::memcpy(&pattern, repeated, sizeof pattern);
      for (; from + kPerWord <= N; from += kPerWord) {
        std::uint64_t word;
        std::memcpy(&word, values + from, sizeof word);
        if (word != pattern) break;
      }
    }
    while (from < N && values[from] == value) ++from;
    return from;
  }

  void Expand() {
    if (full_) return;
    auto full = std::make_unique<T[]>(N);
    for (std::size_t layer = 0; layer < N; ++layer) full[layer] = count_ == 0 ? T{} : Get(layer);
    full_ = std::move(full);
  }
  void CopyFrom(const TLayerColumn& other) {
    std::copy(std::begin(other.starts_), std::end(other.starts_), std::begin(starts_));
    std::copy(std::begin(other.values_), std::end(other.values_), std::begin(values_));
    count_ = other.count_;
    next_ = other.next_;
    if (other.full_) {
      full_ = std::make_unique<T[]>(N);
      std::copy(other.full_.get(), other.full_.get() + N, full_.get());
    } else {
      full_.reset();
    }
  }

  std::uint8_t starts_[kRuns] = {};  // first layer of each run; starts_[0] is 0
  std::uint8_t count_ = 1;           // runs in use
  std::uint8_t next_ = 0;            // next layer to Append
  T values_[kRuns] = {};
  std::unique_ptr<T[]> full_;  // set: the values of all layers
};

}  // namespace orvik
