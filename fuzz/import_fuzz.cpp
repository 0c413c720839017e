// Fuzz target: a whole import of arbitrary file contents through the
// plug-in's driver into the in-process stand-in host, reset between inputs.
// An import may fail only with an exception (never a crash), and it never
// leaves a progress range open.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "fuzz/FuzzInputFile.h"
#include "orvik/kovlan.h"
#include "reader/OrvikFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static orvik::fuzz::FuzzInputFile input;
  if (!input.Write(data, size)) return 0;
  KvHost_Reset();
  try {
    orvik::TOrvikFile driver(input.Path());
    driver.Import();
  } catch (...) {
    // What the entry point does too: the import answers false.
  }
  if (KvHost_ProgressOpen() != 0) std::abort();
  return 0;
}
