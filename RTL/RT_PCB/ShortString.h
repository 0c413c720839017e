// Length-prefixed 8-bit strings with a fixed limit, and the 256-byte buffer
// through which every string crosses to the host.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "orvik/abi.h"

namespace orvik {

// At most N (1..255) characters; assignments keep the first N.
template <std::size_t N>
class ShortString {
  static_assert(N >= 1 && N <= 255, "a short string holds 1 to 255 characters");

 public:
  static constexpr std::size_t kCapacity = N;

  constexpr ShortString() noexcept = default;
  ShortString(std::string_view s) noexcept { Assign(s); }  // NOLINT: implicit by design
  ShortString& operator=(std::string_view s) noexcept {
    Assign(s);
    return *this;
  }

  void Assign(std::string_view s) noexcept {
    length_ = static_cast<std::uint8_t>(std::min(s.size(), N));
    if (length_ != 0) std::memcpy(text_, s.data(), length_);
  }

  [[nodiscard]] std::string_view View() const noexcept { return {text_, length_}; }
  [[nodiscard]] std::string Str() const { return std::string(View()); }
  [[nodiscard]] std::size_t size() const noexcept { return length_; }
  [[nodiscard]] bool empty() const noexcept { return length_ == 0; }
  void clear() noexcept { length_ = 0; }

  friend bool operator==(const ShortString& a, std::string_view b) noexcept { return a.View() == b; }
  friend bool operator==(const ShortString& a, const ShortString& b) noexcept { return a.View() == b.View(); }

  // Copies the value into a whole host buffer.
  void ToHost(OrvikShortString& out) const noexcept {
    out.length = length_;
    if (length_ != 0) std::memcpy(out.text, text_, length_);
  }
  // Takes the host's value, cut to this string's limit.
  void FromHost(const OrvikShortString& in) noexcept {
    length_ = static_cast<std::uint8_t>(std::min<std::size_t>(in.length, N));
    if (length_ != 0) std::memcpy(text_, in.text, length_);
  }

 private:
  std::uint8_t length_ = 0;
  char text_[N] = {};
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
  OrvikShortString buffer_{};
};

template <std::size_t N>
HostStringArg<N> HostArg(ShortString<N>& field) noexcept {
  return HostStringArg<N>(field);
}

}  // namespace orvik
