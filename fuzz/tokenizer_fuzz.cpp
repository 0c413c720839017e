// Fuzz target: the tokenizer over arbitrary file contents, reading tokens
// and integers alternately, and the integer conversion of arbitrary text
// checked against a plain reference conversion.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "fuzz/FuzzInputFile.h"
#include "platform/TextFile.h"
#include "reader/Tokenizer.h"

namespace {

// Reference conversion: the same rules with 64-bit arithmetic and no early
// exits.
bool ReferenceInteger(std::string_view t, std::int32_t& value) {
  value = 0;
  std::size_t i = t.find_first_not_of(' ');
  if (i == std::string_view::npos) return false;
  bool negative = false;
  if (t[i] == '-' || t[i] == '+') negative = t[i++] == '-';
  int base = 10;
  if (t.substr(i, 1) == "$" || t.substr(i, 1) == "x" || t.substr(i, 1) == "X") {
    base = 16;
    i += 1;
  } else if (t.substr(i, 2) == "0x" || t.substr(i, 2) == "0X") {
    base = 16;
    i += 2;
  }
  const std::string_view digits = t.substr(i);
  if (digits.empty()) return false;
  // Past 2^40 every value is out of range; it stays saturated there.
  constexpr __int128 kSaturated = __int128{1} << 40;
  __int128 magnitude = 0;
  for (char c : digits) {
    int d = -1;
    if (c >= '0' && c <= '9') d = c - '0';
    if (base == 16 && c >= 'a' && c <= 'f') d = c - 'a' + 10;
    if (base == 16 && c >= 'A' && c <= 'F') d = c - 'A' + 10;
    if (d < 0) return false;
    magnitude = magnitude > kSaturated ? magnitude : magnitude * base + d;
  }
  if (base == 16) {
    if (magnitude > 0xFFFFFFFF) return false;
    auto bits = static_cast<std::uint32_t>(magnitude);
    if (negative) bits = 0u - bits;
    value = static_cast<std::int32_t>(bits);
    return true;
  }
  const __int128 signedValue = negative ? -magnitude : magnitude;
  if (signedValue < INT32_MIN || signedValue > INT32_MAX) return false;
  value = static_cast<std::int32_t>(signedValue);
  return true;
}

void CheckConversion(std::string_view text) {
  std::int32_t value = -7;
  std::int32_t expected = -7;
  const bool ok = orvik::ParseInteger(text, value);
  if (ok != ReferenceInteger(text, expected) || value != expected || (!ok && value != 0)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static orvik::fuzz::FuzzInputFile input;
  CheckConversion(std::string_view(reinterpret_cast<const char*>(data), size < 300 ? size : 300));
  if (!input.Write(data, size)) return 0;

  orvik::platform::TextFile file;
  file.Assign(input.Path());
  try {
    file.Reset();
  } catch (const orvik::platform::EInOutError&) {
    return 0;
  }
  orvik::TTokenizer tokens(file, orvik::TProgressRule::EveryCharacter);
  // Every read consumes at least one character, so the loop ends; the bound
  // is a second guard.
  for (std::size_t reads = 0; !file.Eof(); ++reads) {
    if (reads > size + 1) std::abort();
    if (reads % 2 == 0) {
      const std::string_view token = tokens.ReadToken();
      if (token.size() > orvik::kMaxTokenLength) std::abort();
      CheckConversion(token);
    } else {
      tokens.ReadInteger();
    }
  }
  return 0;
}
