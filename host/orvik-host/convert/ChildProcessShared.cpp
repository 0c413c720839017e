// The parts of ChildProcess that are the same on every system.
#include <cstdio>

#include "host/orvik-host/convert/ChildProcess.h"

namespace orvik::host::convert {

namespace {

struct NamedCode {
  uint32_t code;
  const char* name;
};

constexpr NamedCode kExceptions[] = {
    {0xC0000005, "access violation"},     {0xC00000FD, "stack overflow"},
    {0xC000001D, "illegal instruction"},  {0xC0000094, "integer division by zero"},
    {0xC0000409, "stack buffer overrun"}, {0xC0000374, "heap corruption"},
    {0x80000003, "breakpoint"},           {0xC000013A, "interrupted by Ctrl-C"},
};

constexpr NamedCode kSignals[] = {{4, "SIGILL"},   {6, "SIGABRT"},  {7, "SIGBUS"},   {8, "SIGFPE"}, {9, "SIGKILL"},
                                  {11, "SIGSEGV"}, {13, "SIGPIPE"}, {15, "SIGTERM"}, {2, "SIGINT"}, {5, "SIGTRAP"}};

template <std::size_t N>
const char* NameOf(const NamedCode (&table)[N], uint32_t code) {
  for (const NamedCode& entry : table) {
    if (entry.code == code) return entry.name;
  }
  return nullptr;
}

}  // namespace

void ChildOutputs::Take(bool isError, const char* bytes, std::size_t n) {
  if (!isError) outputBytes += n;
  std::string& tail = isError ? error : output;
  tail.append(bytes, n);
  if (tail.size() > kKeptBytes) tail.erase(0, tail.size() - kKeptBytes);
}

std::string DescribeEnd(const ChildEnd& end) {
  char text[96];
  switch (end.kind) {
    case ChildEnd::Kind::kExited:
      std::snprintf(text, sizeof text, "exit code %u", static_cast<unsigned>(end.code));
      break;
    case ChildEnd::Kind::kSignal: {
      const char* name = NameOf(kSignals, end.code);
      std::snprintf(text, sizeof text, "signal %u%s%s%s", static_cast<unsigned>(end.code), name ? " (" : "",
                    name ? name : "", name ? ")" : "");
      break;
    }
    case ChildEnd::Kind::kCrashed: {
      const char* name = NameOf(kExceptions, end.code);
      std::snprintf(text, sizeof text, "exception 0x%08X%s%s%s", static_cast<unsigned>(end.code), name ? " (" : "",
                    name ? name : "", name ? ")" : "");
      break;
    }
  }
  return text;
}

std::string LastLines(const std::string& text, std::size_t lines) {
  std::size_t end = text.size();
  while (end > 0 && (text[end - 1] == '\n' || text[end - 1] == '\r')) --end;
  std::size_t start = end;
  std::size_t seen = 0;
  while (start > 0) {
    if (text[start - 1] == '\n' && ++seen == lines) break;
    --start;
  }
  return text.substr(start, end - start);
}

}  // namespace orvik::host::convert
