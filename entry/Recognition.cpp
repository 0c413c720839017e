#include "entry/Recognition.h"

#include "platform/TextFile.h"

namespace orvik::entry {

std::string ReadFirstLine(std::string_view fileName) noexcept {
  try {
    std::string line;
    line.reserve(kFirstLineLimit);
    platform::TextFile file;
    file.Assign(fileName);
    file.Reset();
    while (line.size() < kFirstLineLimit && !file.Eof()) {
      const char c = file.Read();
      if (c == '\n') break;
      // A CR ends the line only when an LF follows it.
      if (c == '\r' && file.Peek() == '\n') break;
      line.push_back(c);
    }
    file.Close();
    return line;
  } catch (...) {
    // Open, read and close failures all read as an empty first line; the
    // file object closes itself on the way out.
    return std::string();
  }
}

bool ContainsFormatWord(std::string_view line) noexcept {
  constexpr std::string_view kWord = "ORVIK";
  if (line.size() < kWord.size()) return false;
  for (std::size_t start = 0; start + kWord.size() <= line.size(); ++start) {
    std::size_t i = 0;
    for (; i < kWord.size(); ++i) {
      char c = line[start + i];
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
      if (c != kWord[i]) break;
    }
    if (i == kWord.size()) return true;
  }
  return false;
}

bool IsRecognised(ClientAPI_ExistSpecific_fn exists, const std::string& fileName) noexcept {
  if (exists == nullptr) return false;
  if (exists(fileName.c_str()) == 0) return false;
  return ContainsFormatWord(ReadFirstLine(fileName));
}

}  // namespace orvik::entry
