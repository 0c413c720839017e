#include "host/kovlan/CallJournal.h"

#include <cstring>

namespace kovlan {

void CallJournal::Clear() {
  on_ = false;
  lines_.clear();
}

int32_t CallJournal::Entry(int32_t i, char* out, int32_t size) const {
  if (i < 0 || static_cast<std::size_t>(i) >= lines_.size() || out == nullptr || size <= 0) return -1;
  const std::string& line = lines_[static_cast<std::size_t>(i)];
  if (line.size() >= static_cast<std::size_t>(size)) return -1;
  std::memcpy(out, line.c_str(), line.size() + 1);
  return static_cast<int32_t>(line.size());
}

void CallJournal::AppendScalar(std::string& line, const OrvikShortString* text) {
  line += ' ';
  if (text != nullptr) line.append(text->text, text->length);
}

}  // namespace kovlan
