// orvik-host: the reference host that loads the importer plug-in and runs
// its entry points against the stand-in host PCB module.
#include <cstdio>
#include <exception>

#include "host/orvik-host/Commands.h"
#include "host/orvik-host/ExitCodes.h"

int main(int argc, char** argv) {
  try {
    return orvik::host::RunHost(argc, argv);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "orvik-host: internal error: %s\n", e.what());
  } catch (...) {
    std::fprintf(stderr, "orvik-host: internal error\n");
  }
  return orvik::host::kExitInternal;
}
