// The character-level reading of an Orvik ASCII PCB file: whitespace,
// tokens, quoted strings and integers, over the one text file that the
// driver and all section readers share.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/TextFile.h"
#include "reader/ReaderObserver.h"

namespace orvik {

class TProgressCount;

// Which consumed characters advance the host's progress indicator.
enum class TProgressRule : std::uint8_t {
  EveryCharacter,  // section readers: every character they consume
  AfterFirst,      // the driver: only the characters read after a token's first
};

inline constexpr std::size_t kMaxTokenLength = 255;

// NUL, LF, CR and space. TAB is an ordinary token character.
constexpr bool IsWhitespace(char c) noexcept {
  constexpr std::uint64_t kSet = (1ull << 0x00) | (1ull << 0x0A) | (1ull << 0x0D) | (1ull << 0x20);
  const auto u = static_cast<unsigned char>(c);
  return u <= 0x20 && ((kSet >> u) & 1u) != 0;
}

// A cursor over the shared text file. Tokens land in a fixed buffer of 255
// characters; nothing is allocated per token.
class TTokenizer {
 public:
  TTokenizer(platform::TextFile& file, TProgressRule rule) noexcept : file_(file), rule_(rule) {}
  TTokenizer(const TTokenizer&) = delete;
  TTokenizer& operator=(const TTokenizer&) = delete;

  // Reads the next token. A bare token ends at whitespace (consumed), before
  // a CR, or at the end of the data; a quoted token ends at its closing quote
  // or before the end of its line. The view stays valid until the next read.
  std::string_view ReadToken();

  // Reads a token and converts it with ParseInteger; 0 when it is no number.
  std::int32_t ReadInteger();

  // True when the last token ended by consuming an LF: its line has ended.
  bool TokenEndedAtLineFeed() const noexcept { return endedAtLineFeed_; }

  platform::TextFile& File() noexcept { return file_; }

  // Reports every token to `observer` (nil: to nobody, the default).
  void SetObserver(TReaderObserver* observer) noexcept { observer_ = observer; }

  // Where progress steps go: into `count` while the reading pass runs on a
  // worker thread; to the host (nil, the default) otherwise.
  void SetProgressCount(TProgressCount* count) noexcept { count_ = count; }
  // One progress step beside the characters (a record kept).
  void ProgressStep();

 private:
  void Report(std::string_view token, std::uint64_t offset, std::size_t dropped) const;
  bool NextWindow(const char*& p, const char*& limit);
  // Consumes whitespace and the first character after it, which it returns.
  // When the data ends first, returns the last whitespace character read, or
  // NUL when nothing could be read.
  template <class Step>
  char SkipWhitespaceWith(Step& step);
  template <class Step>
  std::string_view ReadTokenWith(Step& step);

  platform::TextFile& file_;
  TProgressRule rule_;
  TReaderObserver* observer_ = nullptr;
  TProgressCount* count_ = nullptr;
  bool endedAtLineFeed_ = false;
  char token_[kMaxTokenLength] = {};
};

// Converts a whole token into a 32-bit signed integer: leading spaces, an
// optional sign, then decimal digits or hexadecimal digits after "$", "x",
// "X", "0x" or "0X". A hexadecimal value is a 32-bit pattern (FFFFFFFF is
// -1). Returns false, with value 0, for an empty token, any other character,
// a decimal value outside the 32-bit range or a hexadecimal value above
// FFFFFFFF.
bool ParseInteger(std::string_view token, std::int32_t& value) noexcept;

}  // namespace orvik
