// Length-prefixed 8-bit strings with a fixed limit, and the 256-byte buffer
// through which every string crosses to the host.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <type_traits>

#include "orvik/abi.h"

namespace orvik {

namespace detail {

// The characters of a short string of up to N characters, in place.
template <std::size_t N>
class FixedChars {
 public:
  const char* data() const noexcept { return text_; }
  std::size_t size() const noexcept { return length_; }
  void Assign(const char* s, std::size_t n) noexcept {
    length_ = static_cast<std::uint8_t>(n);
    if (n != 0) std::memcpy(text_, s, n);
  }

 private:
  std::uint8_t length_ = 0;
  char text_[N] = {};
};

// The characters of a short string of up to 255 characters: short values
// in place, longer ones in a heap block that later values reuse. 24 bytes
// instead of 256 for the long limits (names, texts, patterns), whose values
// are mostly short.
class CompactChars {
 public:
  static constexpr std::size_t kInPlace = 14;

  CompactChars() noexcept {}  // user-provided: const objects need no initialiser
  CompactChars(const CompactChars& other) { Assign(other.data(), other.size()); }
  CompactChars& operator=(const CompactChars& other) {
    if (this != &other) Assign(other.data(), other.size());
    return *this;
  }
  CompactChars(CompactChars&& other) noexcept { Steal(other); }
  CompactChars& operator=(CompactChars&& other) noexcept {
    if (this != &other) {
      Release();
      Steal(other);
    }
    return *this;
  }
  ~CompactChars() { Release(); }

  const char* data() const noexcept { return capacity_ != 0 ? heap_ : text_; }
  std::size_t size() const noexcept { return length_; }
  void Assign(const char* s, std::size_t n) {
    char* to = text_;
    if (capacity_ != 0 || n > kInPlace) {
      if (n > capacity_) {
        // Round up, so that a value that grows a little needs no new block.
        const std::size_t capacity = std::min<std::size_t>((n + 31) & ~std::size_t{31}, 255);
        char* block = new char[capacity];
        Release();
        heap_ = block;
        capacity_ = static_cast<std::uint8_t>(capacity);
      }
      to = heap_;
    }
    if (n != 0) std::memmove(to, s, n);
    length_ = static_cast<std::uint8_t>(n);
  }

 private:
  void Release() noexcept {
    if (capacity_ != 0) delete[] heap_;
    capacity_ = 0;
    length_ = 0;
  }
  void Steal(CompactChars& other) noexcept {
    length_ = other.length_;
    capacity_ = other.capacity_;
    if (capacity_ != 0) {
      heap_ = other.heap_;
    } else {
      std::memcpy(text_, other.text_, sizeof text_);
    }
    other.length_ = 0;
    other.capacity_ = 0;
  }

  std::uint8_t length_ = 0;
  std::uint8_t capacity_ = 0;  // 0: the characters are in place
  union {
    char text_[kInPlace] = {};
    char* heap_;
  };
};

}  // namespace detail

// At most N (1..255) characters; assignments keep the first N.
template <std::size_t N>
class ShortString {
  static_assert(N >= 1 && N <= 255, "a short string holds 1 to 255 characters");

 public:
  static constexpr std::size_t kCapacity = N;

  ShortString() noexcept = default;
  ShortString(std::string_view s) { Assign(s); }  // NOLINT: implicit by design
  ShortString& operator=(std::string_view s) {
    Assign(s);
    return *this;
  }

  void Assign(std::string_view s) { chars_.Assign(s.data(), std::min(s.size(), N)); }

  [[nodiscard]] std::string_view View() const noexcept { return {chars_.data(), chars_.size()}; }
  [[nodiscard]] std::string Str() const { return std::string(View()); }
  [[nodiscard]] std::size_t size() const noexcept { return chars_.size(); }
  [[nodiscard]] bool empty() const noexcept { return chars_.size() == 0; }
  void clear() noexcept { chars_.Assign("", 0); }

  friend bool operator==(const ShortString& a, std::string_view b) noexcept { return a.View() == b; }
  friend bool operator==(const ShortString& a, const ShortString& b) noexcept { return a.View() == b.View(); }

  // Copies the value into a whole host buffer.
  void ToHost(OrvikShortString& out) const noexcept {
    out.length = static_cast<std::uint8_t>(chars_.size());
    if (out.length != 0) std::memcpy(out.text, chars_.data(), out.length);
  }
  // Takes the host's value, cut to this string's limit.
  void FromHost(const OrvikShortString& in) { chars_.Assign(in.text, std::min<std::size_t>(in.length, N)); }

 private:
  // Small limits (pad names) in place; the long ones compact.
  std::conditional_t<(N <= 30), detail::FixedChars<N>, detail::CompactChars> chars_{};
};

// Lends a ShortString field to one host call as a whole 256-byte buffer: the
// value goes in on construction and comes back, cut to the field's limit, on
// destruction (the end of the full expression that makes the call).
template <std::size_t N>
class HostStringArg {
 public:
  explicit HostStringArg(ShortString<N>& field) noexcept : field_(field) { field_.ToHost(buffer_); }
  ~HostStringArg() { field_.FromHost(buffer_); }
  HostStringArg(const HostStringArg&) = delete;
  HostStringArg& operator=(const HostStringArg&) = delete;

  operator OrvikShortString*() noexcept { return &buffer_; }  // NOLINT: used as a call argument

 private:
  ShortString<N>& field_;
  // Only the length and the characters are set: the host reads no further
  // than the length, and writes a length and that many characters.
  OrvikShortString buffer_;
};

template <std::size_t N>
HostStringArg<N> HostArg(ShortString<N>& field) noexcept {
  return HostStringArg<N>(field);
}

}  // namespace orvik
