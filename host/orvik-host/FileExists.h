// The host's answer to "does this file exist", also exported to the plug-in
// as ClientAPI_ExistSpecific.
#pragma once

#include "orvik/abi.h"

namespace orvik::host {

// True when `path` names a regular file (symbolic links followed).
bool FileExists(const char* path) noexcept;

}  // namespace orvik::host

ORVIK_EXTERN_C ORVIK_EXPORT OrvikBool ORVIK_STDCALL ClientAPI_ExistSpecific(const char* fileName) noexcept;
