// Writes every hostile input that the importer imports into a directory,
// one file each (000.pcb, 001.pcb, ...), for the KiCad export test.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "tests/e2e/HostileInputs.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s DIRECTORY\n", argv[0]);
    return 2;
  }
  try {
    const std::filesystem::path dir = argv[1];
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    int n = 0;
    for (const orvik::test::HostileCase& input : orvik::test::ImportingHostileInputs()) {
      char name[16];
      std::snprintf(name, sizeof name, "%03d.pcb", n++);
      std::ofstream file(dir / name, std::ios::binary);
      file << input.bytes;
      if (!file.flush()) {
        std::fprintf(stderr, "cannot write %s\n", (dir / name).string().c_str());
        return 1;
      }
    }
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
}
