// Line and column of a byte offset in a text, for messages about a file.
// LF, CR LF and a lone CR each end one line, as the driver's line skipping
// counts them.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace orvik {

struct TTextPosition {
  std::uint32_t Line = 1;    // from 1
  std::uint32_t Column = 1;  // from 1, in bytes
};

class TLineIndex {
 public:
  TLineIndex() = default;
  explicit TLineIndex(std::string_view text);

  // The line and column of `offset`; an offset past the text lies on the
  // last line, after its last character.
  TTextPosition PositionOf(std::uint64_t offset) const noexcept;
  // Lines that hold at least one character or end the text's last line end.
  std::uint32_t LineCount() const noexcept { return lineCount_; }

 private:
  std::vector<std::uint64_t> lineStarts_{0};
  std::uint32_t lineCount_ = 0;
};

}  // namespace orvik
