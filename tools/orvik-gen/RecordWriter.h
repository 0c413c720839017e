// Buffered output of Orvik records: blank-separated tokens, CR LF line ends.
// Whole records are written by their layouts (reader/RecordLayout.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

#include "reader/RecordLayout.h"

namespace orvik::gen {

// The value of a field that is read as a token: bare, or in double quotes
// (the text holds no quote). A plain string is written bare.
struct TokenValue {
  std::string_view text;
  bool quoted = false;
};
inline TokenValue InQuotes(std::string_view text) noexcept { return {text, true}; }

// Where the generated text goes.
class OutputSink {
 public:
  OutputSink() = default;
  OutputSink(const OutputSink&) = delete;
  OutputSink& operator=(const OutputSink&) = delete;
  virtual ~OutputSink() = default;
  // Takes all of `data`; false when it could not.
  virtual bool Write(std::string_view data) = 0;
};

// Collects the text in memory.
class StringSink final : public OutputSink {
 public:
  bool Write(std::string_view data) override {
    text_.append(data);
    return true;
  }
  [[nodiscard]] const std::string& Text() const noexcept { return text_; }

 private:
  std::string text_;
};

// Writes to an open stdio stream, which the caller owns.
class StreamSink final : public OutputSink {
 public:
  explicit StreamSink(std::FILE* stream) noexcept : stream_(stream) {}
  bool Write(std::string_view data) override {
    return std::fwrite(data.data(), 1, data.size(), stream_) == data.size();
  }

 private:
  std::FILE* stream_;
};

class RecordWriter {
 public:
  static constexpr std::size_t kDefaultBufferSize = std::size_t{4} << 20;

  // `bufferSize` is at least 64 bytes.
  explicit RecordWriter(OutputSink& sink, std::size_t bufferSize = kDefaultBufferSize);

  // A whole record of kind `Kind`, one value per field of its layout, in
  // order: an integer for integer and layer fields, text (a string or a
  // TokenValue) for the others. The values are checked against the layout
  // at compile time.
  template <TRecordKind Kind, class... Values>
  void Record(const Values&... values) {
    static_assert(sizeof...(Values) == LayoutOf(Kind).Fields.size(), "one value per field of the layout");
    Keyword(LayoutOf(Kind).Keyword);
    Fields<Kind>(std::index_sequence_for<Values...>{}, values...);
    EndLine();
  }

  // Starts a line with its first token.
  void Keyword(std::string_view word) { Raw(word); }
  // A blank, then a bare token.
  void Word(std::string_view word) {
    Char(' ');
    Raw(word);
  }
  // A blank, then the text in double quotes. The text holds no quote.
  void Quoted(std::string_view text) {
    Char(' ');
    Char('"');
    Raw(text);
    Char('"');
  }
  // A blank, then the decimal value.
  void Int(std::int64_t value);
  void EndLine() {
    Char('\r');
    Char('\n');
  }

  // Hands the buffered text to the sink. False once any write has failed.
  bool Flush();
  [[nodiscard]] bool Ok() const noexcept { return ok_; }
  [[nodiscard]] std::uint64_t BytesWritten() const noexcept { return flushed_ + used_; }

 private:
  void Char(char c) {
    if (used_ == capacity_) Flush();
    buffer_[used_++] = c;
  }
  void Raw(std::string_view text);

  template <TRecordKind Kind, std::size_t... I, class... Values>
  void Fields(std::index_sequence<I...>, const Values&... values) {
    (Field<IsIntegerField(LayoutOf(Kind).Fields[I].Kind)>(values), ...);
  }
  template <bool Integer, class Value>
  void Field(const Value& value) {
    if constexpr (Integer) {
      static_assert(std::is_integral_v<Value>, "an integer or layer field takes an integer");
      Int(value);
    } else if constexpr (std::is_same_v<Value, TokenValue>) {
      if (value.quoted) {
        Quoted(value.text);
      } else {
        Word(value.text);
      }
    } else {
      static_assert(std::is_convertible_v<const Value&, std::string_view>, "a token field takes text");
      Word(value);
    }
  }

  OutputSink& sink_;
  std::unique_ptr<char[]> buffer_;
  std::size_t capacity_;
  std::size_t used_ = 0;
  std::uint64_t flushed_ = 0;
  bool ok_ = true;
};

}  // namespace orvik::gen
