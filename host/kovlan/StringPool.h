// The host's strings: every stored text is interned once and kept in its
// records as a 4-byte id.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kovlan {

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

}  // namespace kovlan
