// The host-call journal: while it is on, one line per entry-point call,
// the entry point's exported name and its scalar arguments in order (a
// short string as its text), for tests and orvik-host's --journal.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "host/kovlan/ApiTable.h"

namespace kovlan {

class CallJournal {
 public:
  bool On() const { return on_; }
  // Journals a call of `api` with its scalar arguments, while on.
  template <typename... Args>
  void Log(Api api, const Args&... args) {
    if (on_) [[unlikely]]
      AppendLine(api, args...);
  }
  // The line itself, out of line: the entry points' fast paths keep no
  // registers for it.
  template <typename... Args>
  [[gnu::noinline, gnu::cold]] void AppendLine(Api api, const Args&... args) {
    std::string line(ExportName(api));
    (AppendScalar(line, args), ...);
    lines_.push_back(std::move(line));
  }
  int32_t Count() const { return static_cast<int32_t>(lines_.size()); }
  // Copies line `i` with its terminator; its length, or -1 when there is
  // no such line or it does not fit.
  int32_t Entry(int32_t i, char* out, int32_t size) const;

 private:
  friend class Host;  // switches it, so that Host::Plain() stays current
  void Switch(bool on) { on_ = on; }
  void Clear();

  static void AppendScalar(std::string& line, const OrvikShortString* text);
  template <typename T>
  static void AppendScalar(std::string& line, const T& value) {
    line += ' ';
    line += std::to_string(static_cast<long long>(value));
  }

  bool on_ = false;
  std::vector<std::string> lines_;
};

}  // namespace kovlan
