// UTF-8 text as file systems give names: checked sequence by sequence, and
// shown with each byte that is not part of valid UTF-8 escaped. Header-only,
// as the rest of host/common.
#pragma once

#include <string>
#include <string_view>

namespace orvik::text {

// The length of the valid UTF-8 sequence at the start of `text` (shortest
// form, no surrogates, at most U+10FFFF), or 0.
constexpr std::size_t Utf8SequenceLength(std::string_view text) noexcept {
  if (text.empty()) return 0;
  const auto b0 = static_cast<unsigned char>(text[0]);
  if (b0 < 0x80) return 1;
  std::size_t length = 0;
  char32_t lowest = 0;
  char32_t codePoint = 0;
  if ((b0 & 0xE0) == 0xC0) {
    length = 2;
    lowest = 0x80;
    codePoint = b0 & 0x1F;
  } else if ((b0 & 0xF0) == 0xE0) {
    length = 3;
    lowest = 0x800;
    codePoint = b0 & 0x0F;
  } else if ((b0 & 0xF8) == 0xF0) {
    length = 4;
    lowest = 0x10000;
    codePoint = b0 & 0x07;
  } else {
    return 0;
  }
  if (text.size() < length) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    const auto b = static_cast<unsigned char>(text[i]);
    if ((b & 0xC0) != 0x80) return 0;
    codePoint = (codePoint << 6) | (b & 0x3F);
  }
  if (codePoint < lowest || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint < 0xE000)) return 0;
  return length;
}

constexpr bool IsValidUtf8(std::string_view text) noexcept {
  while (!text.empty()) {
    const std::size_t length = Utf8SequenceLength(text);
    if (length == 0) return false;
    text.remove_prefix(length);
  }
  return true;
}

// `bytes` as valid UTF-8: valid sequences as they are, every other byte as
// the four characters "\xHH".
inline std::string ShownUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  while (!bytes.empty()) {
    const std::size_t length = Utf8SequenceLength(bytes);
    if (length == 0) {
      static constexpr char kHex[] = "0123456789ABCDEF";
      const auto b = static_cast<unsigned char>(bytes[0]);
      out += "\\x";
      out += kHex[b >> 4];
      out += kHex[b & 15];
      bytes.remove_prefix(1);
      continue;
    }
    out.append(bytes.substr(0, length));
    bytes.remove_prefix(length);
  }
  return out;
}

}  // namespace orvik::text
