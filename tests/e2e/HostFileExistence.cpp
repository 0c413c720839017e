#include "tests/e2e/HostFileExistence.h"

#include <filesystem>
#include <system_error>

namespace {
orvik::test::ExistAnswer g_answer = orvik::test::ExistAnswer::FileSystem;
int g_calls = 0;
std::string g_lastName;
}  // namespace

ORVIK_EXTERN_C ORVIK_EXPORT OrvikBool ORVIK_STDCALL ClientAPI_ExistSpecific(const char* fileName) {
  ++g_calls;
  try {
    g_lastName = fileName != nullptr ? fileName : "";
    switch (g_answer) {
      case orvik::test::ExistAnswer::Yes:
        return 1;
      case orvik::test::ExistAnswer::No:
        return 0;
      case orvik::test::ExistAnswer::FileSystem:
        break;
    }
    std::error_code error;
    return std::filesystem::exists(std::filesystem::path(g_lastName), error) ? 1 : 0;
  } catch (...) {
    return 0;
  }
}

namespace orvik::test {

void SetExistAnswer(ExistAnswer answer) noexcept {
  g_answer = answer;
  g_calls = 0;
}

int ExistCalls() noexcept { return g_calls; }

std::string LastExistName() { return g_lastName; }

}  // namespace orvik::test
