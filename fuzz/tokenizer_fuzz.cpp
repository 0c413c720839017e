// Fuzz target: the tokenizer over arbitrary file contents, reading tokens
// and integers alternately; the same contents read once within one file
// block and once across the block boundary, which must give the same tokens
// and progress steps; and the integer conversion of arbitrary text checked
// against a plain reference conversion.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "orvik/kovlan.h"

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

struct Reading {
  std::vector<std::string> tokens;
  std::int32_t updates = 0;
  std::uint64_t position = 0;
};

// Reads "F", `gap` spaces and `data` as tokens.
bool ReadWithGap(orvik::fuzz::FuzzInputFile& input, const std::uint8_t* data, std::size_t size, std::size_t gap,
                 Reading& out) {
  std::string content(gap + 1, ' ');
  content[0] = 'F';
  content.append(reinterpret_cast<const char*>(data), size);
  if (!input.Write(reinterpret_cast<const std::uint8_t*>(content.data()), content.size())) return false;
  orvik::platform::TextFile file;
  file.Assign(input.Path());
  try {
    file.Reset();
  } catch (const orvik::platform::EInOutError&) {
    return false;
  }
  KvHost_Reset();
  orvik::TTokenizer tokens(file, orvik::TProgressRule::EveryCharacter);
  while (!file.Eof()) out.tokens.emplace_back(tokens.ReadToken());
  KvHost_ProgressCounts(nullptr, &out.updates, nullptr);
  out.position = file.Position();
  return true;
}

// The block boundary falls in the middle of the data in the second reading.
void CheckAcrossTheBoundary(orvik::fuzz::FuzzInputFile& input, const std::uint8_t* data, std::size_t size) {
  constexpr std::size_t kBlock = orvik::platform::TextFile::kBufferSize;
  const std::size_t gap = kBlock - 1 - size / 2;
  // Two spaces at least, so that both readings leave whitespace after "F".
  constexpr std::size_t kNear = 2;
  Reading within, across;
  if (!ReadWithGap(input, data, size, kNear, within) || !ReadWithGap(input, data, size, gap, across)) return;
  if (within.tokens != across.tokens) std::abort();
  if (across.updates - within.updates != static_cast<std::int32_t>(gap - kNear)) std::abort();
  if (across.position - within.position != gap - kNear) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static orvik::fuzz::FuzzInputFile input;
  CheckConversion(std::string_view(reinterpret_cast<const char*>(data), size < 300 ? size : 300));
  if (size < orvik::platform::TextFile::kBufferSize) CheckAcrossTheBoundary(input, data, size);
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
