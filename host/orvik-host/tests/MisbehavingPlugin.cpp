// A plug-in for convert's tests that misbehaves on request: it recognises a
// file whose first line holds "ORVIK", as the real one does, and its import
// acts on a word in the file: CRASH crashes the process (an access
// violation on Windows, SIGSEGV elsewhere), HANG never returns, FAIL
// returns false; any other file "imports" into nothing and returns true.
#include <chrono>
#include <csignal>
#include <cstdio>
#include <string>
#include <thread>

#include "orvik/importer.h"

#ifdef _WIN32
#include <windows.h>
#define MISBEHAVING_API ORVIK_EXTERN_C
#else
#define MISBEHAVING_API ORVIK_EXTERN_C ORVIK_EXPORT
#endif

namespace {

std::string Name(const OrvikShortString* name) {
  return name == nullptr ? std::string() : std::string(name->text, name->length);
}

std::string Contents(const std::string& name) {
  std::string text;
  if (std::FILE* file = std::fopen(name.c_str(), "rb")) {
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, n);
    std::fclose(file);
  }
  return text;
}

[[noreturn]] void Crash() {
#ifdef _WIN32
  RaiseException(EXCEPTION_ACCESS_VIOLATION, EXCEPTION_NONCONTINUABLE, 0, nullptr);
#else
  // The default action, not a sanitizer's report: the process ends by the signal.
  std::signal(SIGSEGV, SIG_DFL);
  std::raise(SIGSEGV);
#endif
  std::abort();
}

}  // namespace

MISBEHAVING_API OrvikBool ORVIK_STDCALL RecognisedPCBFile(const OrvikShortString* fileName) {
  const std::string text = Contents(Name(fileName));
  return text.substr(0, text.find('\n')).find("ORVIK") != std::string::npos ? 1 : 0;
}

MISBEHAVING_API OrvikBool ORVIK_STDCALL ImportFileIntoPcb(const OrvikShortString* fileName, const OrvikShortString*) {
  const std::string text = Contents(Name(fileName));
  if (text.find("CRASH") != std::string::npos) Crash();
  if (text.find("HANG") != std::string::npos) {
    for (;;) std::this_thread::sleep_for(std::chrono::seconds(1));
  }
  return text.find("FAIL") == std::string::npos ? 1 : 0;
}

MISBEHAVING_API const char* ORVIK_STDCALL GetPcbImporterDescription() { return "Misbehaving test importer"; }
