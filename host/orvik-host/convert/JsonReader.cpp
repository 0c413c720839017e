#include "host/orvik-host/convert/JsonReader.h"

#include <cstdlib>

#include "host/common/Windows1252.h"

namespace orvik::host::convert {

namespace {

// The byte a code point stands for in the writers' escapes, or -1.
int ByteOf(char32_t codePoint) {
  for (int b = 0; b < 256; ++b) {
    if (text::Windows1252CodePoint(static_cast<unsigned char>(b)) == codePoint) return b;
  }
  return -1;
}

}  // namespace

class JsonParser {
 public:
  explicit JsonParser(std::string_view text) : text_(text) {}

  std::optional<JsonValue> Document() {
    JsonValue value;
    if (!Value(value, 0)) return std::nullopt;
    Space();
    if (at_ != text_.size()) return std::nullopt;
    return value;
  }

 private:
  static constexpr int kMaxDepth = 64;

  void Space() {
    while (at_ < text_.size() &&
           (text_[at_] == ' ' || text_[at_] == '\n' || text_[at_] == '\r' || text_[at_] == '\t')) {
      ++at_;
    }
  }
  bool Take(char c) {
    Space();
    if (at_ < text_.size() && text_[at_] == c) {
      ++at_;
      return true;
    }
    return false;
  }
  bool Word(std::string_view word) {
    if (text_.substr(at_, word.size()) != word) return false;
    at_ += word.size();
    return true;
  }

  bool Value(JsonValue& value, int depth) {
    if (depth > kMaxDepth) return false;
    Space();
    if (at_ >= text_.size()) return false;
    const char c = text_[at_];
    if (c == '{') return Object(value, depth);
    if (c == '[') return Array(value, depth);
    if (c == '"') {
      value.type_ = JsonValue::Type::kString;
      return String(value.text_);
    }
    if (Word("true") || Word("false")) {
      value.type_ = JsonValue::Type::kBool;
      value.flag_ = c == 't';
      return true;
    }
    if (Word("null")) return true;
    return NumberValue(value);
  }

  bool Object(JsonValue& value, int depth) {
    value.type_ = JsonValue::Type::kObject;
    ++at_;
    if (Take('}')) return true;
    do {
      Space();
      std::pair<std::string, JsonValue> member;
      if (at_ >= text_.size() || text_[at_] != '"' || !String(member.first) || !Take(':') ||
          !Value(member.second, depth + 1)) {
        return false;
      }
      value.members_.push_back(std::move(member));
    } while (Take(','));
    return Take('}');
  }

  bool Array(JsonValue& value, int depth) {
    value.type_ = JsonValue::Type::kArray;
    ++at_;
    if (Take(']')) return true;
    do {
      JsonValue item;
      if (!Value(item, depth + 1)) return false;
      value.items_.push_back(std::move(item));
    } while (Take(','));
    return Take(']');
  }

  bool NumberValue(JsonValue& value) {
    const std::size_t start = at_;
    while (at_ < text_.size() && std::string_view("+-0123456789.eE").find(text_[at_]) != std::string_view::npos) ++at_;
    if (at_ == start) return false;
    const std::string number(text_.substr(start, at_ - start));
    char* end = nullptr;
    value.number_ = std::strtod(number.c_str(), &end);
    value.type_ = JsonValue::Type::kNumber;
    return end == number.c_str() + number.size();
  }

  bool Hex4(char32_t& out) {
    if (at_ + 4 > text_.size()) return false;
    out = 0;
    for (int i = 0; i < 4; ++i) {
      const char c = text_[at_++];
      out <<= 4;
      if (c >= '0' && c <= '9') {
        out |= static_cast<char32_t>(c - '0');
      } else if ((c | 0x20) >= 'a' && (c | 0x20) <= 'f') {
        out |= static_cast<char32_t>((c | 0x20) - 'a' + 10);
      } else {
        return false;
      }
    }
    return true;
  }

  bool String(std::string& out) {
    ++at_;  // the opening quote
    while (at_ < text_.size()) {
      const char c = text_[at_++];
      if (c == '"') return true;
      if (static_cast<unsigned char>(c) < 0x20) return false;
      if (c != '\\') {
        out += c;
        continue;
      }
      if (at_ >= text_.size()) return false;
      const char e = text_[at_++];
      switch (e) {
        case '"':
        case '\\':
        case '/':
          out += e;
          break;
        case 'b':
          out += '\b';
          break;
        case 'f':
          out += '\f';
          break;
        case 'n':
          out += '\n';
          break;
        case 'r':
          out += '\r';
          break;
        case 't':
          out += '\t';
          break;
        case 'u': {
          char32_t codePoint = 0;
          if (!Hex4(codePoint)) return false;
          if (codePoint >= 0xD800 && codePoint < 0xDC00 && text_.substr(at_, 2) == "\\u") {
            at_ += 2;
            char32_t low = 0;
            if (!Hex4(low) || low < 0xDC00 || low >= 0xE000) return false;
            codePoint = 0x10000 + ((codePoint - 0xD800) << 10) + (low - 0xDC00);
          }
          const int byte = ByteOf(codePoint);
          if (byte >= 0) {
            out += static_cast<char>(byte);
          } else if (codePoint > 0xFFFF) {
            out += static_cast<char>(0xF0 | (codePoint >> 18));
            out += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (codePoint & 0x3F));
          } else {
            text::AppendUtf8(out, codePoint);
          }
          break;
        }
        default:
          return false;
      }
    }
    return false;
  }

  std::string_view text_;
  std::size_t at_ = 0;
};

std::optional<JsonValue> JsonValue::Parse(std::string_view text) { return JsonParser(text).Document(); }

const JsonValue& JsonValue::operator[](std::string_view key) const noexcept {
  static const JsonValue kNull;
  for (const auto& [name, value] : members_) {
    if (name == key) return value;
  }
  return kNull;
}

}  // namespace orvik::host::convert
