// The test program's own ClientAPI_ExistSpecific export, the host facility
// that the plug-in asks before it opens a file. Its answer can be switched.
#pragma once

#include <string>

#include "orvik/abi.h"

ORVIK_EXTERN_C ORVIK_EXPORT OrvikBool ORVIK_STDCALL ClientAPI_ExistSpecific(const char* fileName);

namespace orvik::test {

enum class ExistAnswer {
  FileSystem,  // true when the name exists in the file system
  Yes,
  No,
};

void SetExistAnswer(ExistAnswer answer) noexcept;
// Calls since the last SetExistAnswer, and the last name asked about.
int ExistCalls() noexcept;
std::string LastExistName();

}  // namespace orvik::test
