#include "tests/support/Plugin.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "tests/support/Modules.h"

namespace orvik::test {

namespace {
const platform::Library& PluginLibrary() {
  static const platform::Library library = OpenModule(ORVIK_PLUGIN_MODULE_NAME);
  return library;
}
}  // namespace

Plugin::Plugin() {
  const platform::Library& library = PluginLibrary();
  recognised_ = library.Function<RecognisedPCBFile_fn>("RecognisedPCBFile");
  import_ = library.Function<ImportFileIntoPcb_fn>("ImportFileIntoPcb");
  description_ = library.Function<GetPcbImporterDescription_fn>("GetPcbImporterDescription");
  if (recognised_ == nullptr || import_ == nullptr || description_ == nullptr)
    throw std::runtime_error("the plug-in lacks an entry point");
}

bool Plugin::Recognised(std::string_view fileName) const {
  const OrvikShortString name = MakeShortString(fileName);
  const OrvikBool result = recognised_(&name);
  if (result > 1) throw std::runtime_error("RecognisedPCBFile answered neither 0 nor 1");
  return result == 1;
}

bool Plugin::Import(std::string_view fileName, std::string_view second) const {
  const OrvikShortString name = MakeShortString(fileName);
  const OrvikShortString other = MakeShortString(second);
  const OrvikBool result = import_(&name, &other);
  if (result > 1) throw std::runtime_error("ImportFileIntoPcb answered neither 0 nor 1");
  return result == 1;
}

OrvikShortString MakeShortString(std::string_view text) noexcept {
  OrvikShortString s{};
  s.length = static_cast<std::uint8_t>(std::min<std::size_t>(text.size(), 255));
  if (s.length != 0) std::memcpy(s.text, text.data(), s.length);
  return s;
}

}  // namespace orvik::test
