// The built plug-in, loaded into the test process the way a host loads it,
// with its three entry points. It is loaded once and stays loaded for the
// rest of the process, as a host keeps its modules.
#pragma once

#include <string_view>

#include "orvik/importer.h"

namespace orvik::test {

class Plugin {
 public:
  // The plug-in from beside the test program (loaded by the first Plugin);
  // throws when it or one of its entry points is missing.
  Plugin();

  bool Recognised(std::string_view fileName) const;
  bool Import(std::string_view fileName, std::string_view second = {}) const;
  const char* Description() const { return description_(); }

  RecognisedPCBFile_fn RecognisedEntry() const noexcept { return recognised_; }
  ImportFileIntoPcb_fn ImportEntry() const noexcept { return import_; }

 private:
  RecognisedPCBFile_fn recognised_ = nullptr;
  ImportFileIntoPcb_fn import_ = nullptr;
  GetPcbImporterDescription_fn description_ = nullptr;
};

// A short string holding the first 255 bytes of `text`.
OrvikShortString MakeShortString(std::string_view text) noexcept;

}  // namespace orvik::test
