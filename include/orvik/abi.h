// Binary conventions shared by the importer plug-in, the host PCB module and
// the host program. Everything that crosses a module boundary is described
// here: calling convention, integer widths and the short-string buffer.
#pragma once

#include <stdint.h>

#ifdef __cplusplus
#define ORVIK_EXTERN_C extern "C"
#else
#define ORVIK_EXTERN_C
#endif

// Every entry point uses the platform's standard calling convention: on
// 32-bit Windows that is __stdcall (arguments pushed last to first, removed
// by the callee); everywhere else the default C convention.
#if defined(_WIN32) && !defined(_WIN64)
#define ORVIK_STDCALL __stdcall
#else
#define ORVIK_STDCALL
#endif

#if defined(_WIN32)
#define ORVIK_EXPORT __declspec(dllexport)
#define ORVIK_IMPORT __declspec(dllimport)
#else
#define ORVIK_EXPORT __attribute__((visibility("default")))
#define ORVIK_IMPORT
#endif

// A short string: a length byte (0..255) followed by that many 8-bit
// characters. Whenever a short string is passed by address, the buffer is a
// whole 256 bytes, whatever the field's own limit, so that no callee can
// write past it. The receiver cuts the value to its own limit after a read.
typedef struct OrvikShortString {
  uint8_t length;
  char text[255];
} OrvikShortString;

#ifdef __cplusplus
static_assert(sizeof(OrvikShortString) == 256, "short string buffer is 256 bytes");
#endif

// A one-byte Boolean result: 0 false, 1 true.
typedef uint8_t OrvikBool;

// Exchange modes passed as the first argument of every query entry point.
enum {
  ORVIK_SM_WRITE = 0,  // the host takes the caller's values
  ORVIK_SM_READ = 1,   // the host fills the caller's storage
  ORVIK_SM_REBIND = 2  // components only; the host treats it as a write
};

// Size of the opaque vertex block of polygons and split planes.
#define ORVIK_VERTICES_SIZE 185037
// Size of the opaque buffer of embedded objects.
#define ORVIK_EMBEDDED_BUFFER_SIZE 4096
// Size of the buffer that receives a designator display string (zero
// terminated when the host leaves room for the terminator).
#define ORVIK_DISPLAY_STRING_SIZE 256
