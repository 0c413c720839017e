#include "host/orvik-host/kicad/KicadExport.h"

#include <chrono>
#include <cstdio>
#include <memory>

#include "host/orvik-host/kicad/KicadBoardWriter.h"
#include "host/orvik-host/kicad/KicadSource.h"

namespace orvik::host::kicad {

namespace {

struct FileCloser {
  void operator()(std::FILE* f) const noexcept { std::fclose(f); }
};

}  // namespace

bool ExportKicadBoard(const KovlanApi& api, const BoardScene& scene, const std::string& path, KicadReport& report,
                      std::string& error, const KicadOptions& options, const std::string& writePath) {
  const auto start = std::chrono::steady_clock::now();
  report = KicadReport{};
  report.path = path;
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen((writePath.empty() ? path : writePath).c_str(), "wb"));
  if (!file) {
    error = "cannot create the KiCad board " + path;
    return false;
  }
  const KicadSource source = ReadKicadSource(api, scene);
  const bool written = WriteKicadBoard(
      source,
      [&file](std::string_view piece) {
        return std::fwrite(piece.data(), 1, piece.size(), file.get()) == piece.size();
      },
      report, options);
  const bool closed = std::fclose(file.release()) == 0;
  report.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (!written || !closed) {
    error = "cannot write the KiCad board " + path;
    return false;
  }
  return true;
}

}  // namespace orvik::host::kicad
