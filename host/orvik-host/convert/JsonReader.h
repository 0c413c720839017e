// A small JSON reader for what this program writes itself: the import
// summary of each child and nothing larger. Strings come back as 8-bit text:
// \uXXXX escapes below U+0100 and those of the Windows-1252 code page's
// characters as the byte they stand for (the writers' escapes undone), any
// other code point as UTF-8.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orvik::host::convert {

class JsonValue {
 public:
  enum class Type { kNull, kBool, kNumber, kString, kArray, kObject };

  // The document in `text`, or nothing when it is no valid JSON.
  static std::optional<JsonValue> Parse(std::string_view text);

  [[nodiscard]] Type type() const noexcept { return type_; }
  [[nodiscard]] double Number(double otherwise = 0) const noexcept {
    return type_ == Type::kNumber ? number_ : otherwise;
  }
  [[nodiscard]] bool Bool(bool otherwise = false) const noexcept { return type_ == Type::kBool ? flag_ : otherwise; }
  [[nodiscard]] const std::string& Text() const noexcept { return text_; }
  [[nodiscard]] const std::vector<JsonValue>& Items() const noexcept { return items_; }
  [[nodiscard]] const std::vector<std::pair<std::string, JsonValue>>& Members() const noexcept { return members_; }
  // The member `key` of an object, or a null value.
  [[nodiscard]] const JsonValue& operator[](std::string_view key) const noexcept;

 private:
  friend class JsonParser;
  Type type_ = Type::kNull;
  bool flag_ = false;
  double number_ = 0;
  std::string text_;
  std::vector<JsonValue> items_;
  std::vector<std::pair<std::string, JsonValue>> members_;
};

}  // namespace orvik::host::convert
