// An optional witness of the reading pass. The import never sets one; a
// checker does, to learn where each token lay and what the driver made of
// it. All reading stays as it is: an observer only listens.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace orvik {

struct TRecordLayout;

// One token as the tokenizer read it.
struct TTokenEvent {
  std::string_view Text;       // as the readers get it (quotes removed, cut)
  std::uint64_t Offset = 0;    // byte offset of its first character
  std::size_t FullLength = 0;  // its length had nothing been cut
  bool EndOfData = false;      // no token: the data ended first
};

class TReaderObserver {
 public:
  virtual ~TReaderObserver() = default;

  // Every token that the driver or a section reader reads, in file order.
  // The text stays valid only during the call.
  virtual void OnToken(const TTokenEvent& token) = 0;
  // The token just reported was read as an integer and is no number: it
  // reads as 0.
  virtual void OnNotNumber() = 0;
  // The driver found the keyword of `layout` in the token just reported; the
  // tokens that follow, up to the driver's next token, are its record.
  virtual void OnRecordStart(const TRecordLayout& layout) = 0;
  // The driver found no keyword in the token just reported and skips the
  // rest of its line.
  virtual void OnLineSkipped() = 0;
};

}  // namespace orvik
