#include "reader/Tokenizer.h"

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

#include "RTL/RT_PCB/PcbApi.h"
#include "reader/ProgressCount.h"

namespace orvik {

namespace {

constexpr char kQuote = '"';

// Characters of a bare token: neither whitespace nor the end-of-data byte.
constexpr auto kTokenCharacters = [] {
  std::array<bool, 256> table{};
  for (int c = 0; c < 256; ++c) {
    const auto ch = static_cast<char>(c);
    table[static_cast<std::size_t>(c)] = !IsWhitespace(ch) && ch != platform::TextFile::kEndOfFileByte;
  }
  return table;
}();
constexpr bool IsTokenCharacter(char c) noexcept { return kTokenCharacters[static_cast<unsigned char>(c)]; }

// The first character in [p, limit) that is no bare-token character, or
// limit. Eight characters at a time: a token's end is found without a
// branch per character (and without a mispredicted one where it ends).
// Always inlined into its one caller: called per token, it must not depend
// on how the optimiser weighs the rest of the library.
[[gnu::always_inline]] inline const char* TokenEnd(const char* p, const char* limit) noexcept {
  if constexpr (std::endian::native == std::endian::little) {
    constexpr std::uint64_t kOnes = 0x0101010101010101u;
    constexpr std::uint64_t kHighs = 0x8080808080808080u;
    while (limit - p >= 8) {
      std::uint64_t word;
      std::memcpy(&word, p, sizeof word);
      // Whitespace and 0x1A are all below 0x21. The lowest flag marks the
      // first character below 0x21 (flags above it may be borrows).
      const std::uint64_t below = (word - kOnes * 0x21) & ~word & kHighs;
      if (below == 0) {
        p += 8;
        continue;
      }
      const char* at = p + (std::countr_zero(below) >> 3);
      if (!IsTokenCharacter(*at)) return at;
      p = at + 1;  // another control character (a TAB) is part of the token
    }
  }
  while (p != limit && IsTokenCharacter(*p)) ++p;
  return p;
}

int HexDigit(char c) noexcept {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

// The host's step, resolved once per token, `n` times in a row.
class THostSteps : public THostStep {
 public:
  void Many(std::size_t n) const noexcept {
    for (std::size_t i = 0; i < n; ++i) (*this)();
  }
};

// The steps of a reading pass on a worker thread: counted in a register,
// added to the pass's count when the token ends.
class TCountStep {
 public:
  explicit TCountStep(TProgressCount& count) noexcept : count_(count) {}
  ~TCountStep() { count_.Add(steps_); }
  TCountStep(const TCountStep&) = delete;
  TCountStep& operator=(const TCountStep&) = delete;
  void operator()() noexcept { ++steps_; }
  void Many(std::size_t n) noexcept { steps_ += n; }

 private:
  TProgressCount& count_;
  std::uint64_t steps_ = 0;
};

// The window [p, limit) has been read: moves on to the next block and
// points p and limit at it (empty, and false, at the end of the data).
bool TTokenizer::NextWindow(const char*& p, const char*& limit) {
  file_.Consume(p);
  // A block read: hand the steps counted so far to the host's thread.
  if (count_ != nullptr) count_->Publish();
  const bool more = file_.NextWindow();
  p = file_.WindowBegin();
  limit = file_.WindowEnd();
  return more;
}

void TTokenizer::ProgressStep() {
  if (count_ != nullptr) {
    count_->Add(1);
  } else {
    pcbapi::Percent_Update();
  }
}

std::string_view TTokenizer::ReadToken() {
  if (count_ != nullptr) {
    TCountStep step(*count_);
    return ReadTokenWith(step);
  }
  THostSteps step;
  return ReadTokenWith(step);
}

template <class Step>
char TTokenizer::SkipWhitespaceWith(Step& step) {
  char c = '\0';
  // The rule is fixed per tokenizer: one predictable branch per character.
  const bool everyCharacter = rule_ == TProgressRule::EveryCharacter;
  // The cursor stays in registers across the progress calls.
  const char* p = file_.WindowBegin();
  const char* limit = file_.WindowEnd();
  while (IsWhitespace(c)) {
    if (p == limit) {
      if (!NextWindow(p, limit)) break;
      continue;
    }
    if (*p == platform::TextFile::kEndOfFileByte) break;
    c = *p++;
    if (everyCharacter) step();
  }
  file_.Consume(p);
  return c;
}

template <class Step>
std::string_view TTokenizer::ReadTokenWith(Step& step) {
  endedAtLineFeed_ = false;
  const char first = SkipWhitespaceWith(step);
  // Only at the end of the data can the first character be whitespace.
  if (IsWhitespace(first)) {
    if (observer_ != nullptr) [[unlikely]]
      observer_->OnToken({.Text = {}, .Offset = file_.Position(), .FullLength = 0, .EndOfData = true});
    return {};
  }
  std::uint64_t offset = 0;
  if (observer_ != nullptr) [[unlikely]]
    offset = file_.Position() - 1;

  const bool quoted = first == kQuote;
  // The cursor stays in registers across the progress calls; the file
  // learns how far it got when the token ends.
  const char* p = file_.WindowBegin();
  const char* limit = file_.WindowEnd();
  if (!quoted) {
    // A bare token that ends within this block, with room to spare, is read
    // in one go and shown where it lies in the block: the first character
    // is just before the cursor (SkipWhitespace read it from this block).
    const char* end = TokenEnd(p, limit);
    const auto length = static_cast<std::size_t>(end - p) + 1;
    if (end != limit && length <= kMaxTokenLength) {
      step.Many(length - 1);
      const char d = *end;
      if (IsWhitespace(d) && d != '\r') {  // consumed with the token
        ++end;
        step();
        endedAtLineFeed_ = d == '\n';
      }
      file_.Consume(end);
      const char* text = p - 1;
      // A closing quote is no part of the text.
      const std::string_view token{text, length > 1 && text[length - 1] == kQuote ? length - 1 : length};
      if (observer_ != nullptr) [[unlikely]]
        Report(token, offset, 0);
      return token;
    }
  }

  std::size_t length = 0;
  token_[length++] = first;
  bool done = false;
  std::size_t dropped = 0;  // characters beyond the token's limit
  while (!done) {
    if (p == limit) {
      if (!NextWindow(p, limit)) break;
      continue;
    }
    const char d = *p;
    if (d == platform::TextFile::kEndOfFileByte || d == '\r') break;
    ++p;
    step();
    if (quoted) {
      // One character stays free for the opening quote's partner.
      if (length < kMaxTokenLength) {
        token_[length++] = d;
      } else {
        ++dropped;
      }
      if (d == kQuote) {
        if (token_[length - 2] == '\\') {
          // An escaped quote: drop the backslash, keep the quote.
          token_[length - 2] = token_[length - 1];
          --length;
        } else {
          done = true;
        }
      }
    } else if (IsWhitespace(d)) {
      done = true;
      endedAtLineFeed_ = d == '\n';
    } else if (length < kMaxTokenLength) {
      token_[length++] = d;
    } else {
      ++dropped;
    }
  }
  file_.Consume(p);

  std::size_t begin = 0;
  std::size_t end = length;
  if (length > 1) {
    if (token_[begin] == kQuote) ++begin;
    if (end > begin && token_[end - 1] == kQuote) --end;
  }
  const std::string_view token{token_ + begin, end - begin};
  if (observer_ != nullptr) [[unlikely]] {
    // A dropped closing quote is no part of the text.
    if (quoted && done && dropped > 0) --dropped;
    Report(token, offset, dropped);
  }
  return token;
}

void TTokenizer::Report(std::string_view token, std::uint64_t offset, std::size_t dropped) const {
  observer_->OnToken({.Text = token, .Offset = offset, .FullLength = token.size() + dropped, .EndOfData = false});
}

std::int32_t TTokenizer::ReadInteger() {
  std::int32_t value = 0;
  if (!ParseInteger(ReadToken(), value) && observer_ != nullptr) [[unlikely]]
    observer_->OnNotNumber();
  return value;
}

bool ParseInteger(std::string_view token, std::int32_t& value) noexcept {
  value = 0;
  std::size_t i = 0;
  const std::size_t n = token.size();
  while (i < n && token[i] == ' ') ++i;
  bool negative = false;
  if (i < n && (token[i] == '-' || token[i] == '+')) {
    negative = token[i] == '-';
    ++i;
  }

  bool hex = false;
  if (i < n && (token[i] == '$' || token[i] == 'x' || token[i] == 'X')) {
    hex = true;
    i += 1;
  } else if (i + 1 < n && token[i] == '0' && (token[i + 1] == 'x' || token[i + 1] == 'X')) {
    hex = true;
    i += 2;
  }
  if (i == n) return false;

  std::uint64_t magnitude = 0;
  if (hex) {
    for (; i < n; ++i) {
      const int digit = HexDigit(token[i]);
      if (digit < 0) return false;
      magnitude = magnitude * 16 + static_cast<std::uint64_t>(digit);
      if (magnitude > 0xFFFFFFFFu) return false;
    }
  } else {
    const std::uint64_t limit = negative ? 2147483648u : 2147483647u;
    for (; i < n; ++i) {
      if (token[i] < '0' || token[i] > '9') return false;
      magnitude = magnitude * 10 + static_cast<std::uint64_t>(token[i] - '0');
      if (magnitude > limit) return false;
    }
  }
  // Two's complement in unsigned arithmetic: a hexadecimal pattern and the
  // negation of -2147483648 both wrap as 32-bit values.
  std::uint32_t bits = static_cast<std::uint32_t>(magnitude);
  if (negative) bits = 0u - bits;
  value = static_cast<std::int32_t>(bits);
  return true;
}

}  // namespace orvik
