#include "reader/LineIndex.h"

#include <algorithm>
#include <limits>

namespace orvik {

TLineIndex::TLineIndex(std::string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    if (c == '\r' || c == '\n') lineStarts_.push_back(i + 1);
  }
  // A last line without a line end counts; the empty "line" after a final
  // line end does not.
  const bool openLastLine = lineStarts_.back() < text.size();
  const std::size_t lines = lineStarts_.size() - 1 + (openLastLine ? 1 : 0);
  lineCount_ = static_cast<std::uint32_t>(std::min<std::size_t>(lines, std::numeric_limits<std::uint32_t>::max()));
}

TTextPosition TLineIndex::PositionOf(std::uint64_t offset) const noexcept {
  // The last line start at or before the offset.
  const auto after = std::upper_bound(lineStarts_.begin(), lineStarts_.end(), offset);
  const auto line = static_cast<std::size_t>(after - lineStarts_.begin());  // at least 1
  const std::uint64_t column = offset - lineStarts_[line - 1] + 1;
  constexpr std::uint64_t kMax = std::numeric_limits<std::uint32_t>::max();
  return {static_cast<std::uint32_t>(std::min<std::uint64_t>(line, kMax)),
          static_cast<std::uint32_t>(std::min<std::uint64_t>(column, kMax))};
}

}  // namespace orvik
