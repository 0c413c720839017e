// What the built LoadOrvik.dll carries, read from the file itself. The same
// checks run as a Windows program beside the DLL and, built for the build
// machine, natively against the file that ORVIK_PE_FILE names.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "orvik/importer.h"
#include "tests/pe/PeImage.h"
#include "tests/support/Modules.h"

namespace orvik::test {
namespace {

// Whether the DLL is the 64-bit build (set by the build).
#ifndef ORVIK_PE_64BIT
#error "ORVIK_PE_64BIT must be 0 or 1"
#endif
constexpr bool k64Bit = ORVIK_PE_64BIT != 0;

std::filesystem::path DllUnderTest() {
  const char* file = std::getenv("ORVIK_PE_FILE");
  if (file != nullptr && *file != '\0') return file;
  return ModulePath(ORVIK_PLUGIN_MODULE_NAME);
}

class PluginModule : public ::testing::Test {
 protected:
  PeImage image_{DllUnderTest()};
};

TEST_F(PluginModule, IsBuiltForTheHostsMachine) {
  EXPECT_EQ(image_.Machine(), k64Bit ? PeImage::kMachineAmd64 : PeImage::kMachineI386);
  EXPECT_EQ(image_.IsPe32Plus(), k64Bit);
}

TEST_F(PluginModule, ExportsExactlyTheThreeEntryPointsByOrdinal) {
  EXPECT_EQ(image_.ExportModuleName(), "LoadOrvik.dll");
  EXPECT_EQ(image_.ExportAddressCount(), 3u);
  const std::vector<PeImage::Export> exports = image_.Exports();
  ASSERT_EQ(exports.size(), 3u);
  struct Expected {
    const char* name;
    std::uint32_t ordinal;
  };
  // Export names are sorted in the table.
  const Expected expected[] = {{"GetPcbImporterDescription", 3}, {"ImportFileIntoPcb", 2}, {"RecognisedPCBFile", 1}};
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(exports[i].name, expected[i].name);
    EXPECT_EQ(exports[i].ordinal, expected[i].ordinal) << expected[i].name;
    const PeImage::Section* code = image_.SectionAt(exports[i].rva, 1);
    ASSERT_NE(code, nullptr) << expected[i].name;
    EXPECT_NE(code->characteristics & PeImage::kScnMemExecute, 0u) << expected[i].name;
  }
}

std::vector<std::uint8_t> Utf16Description() {
  const std::string text = "||Orvik Ascii files (*.PCB)|||";
  std::vector<std::uint8_t> bytes;
  for (char c : text) {
    bytes.push_back(static_cast<std::uint8_t>(c));
    bytes.push_back(0);
  }
  bytes.insert(bytes.end(), 4, 0);  // 16-bit zero and two bytes of padding
  return bytes;
}

TEST_F(PluginModule, CarriesTheLanguageNeutralDescriptionResource) {
  const auto data = image_.Resource(PeImage::kRtRcData, u"DESCRIPTION", 0);
  ASSERT_TRUE(data.has_value());
  EXPECT_EQ(data->size(), 64u);
  EXPECT_EQ(*data, Utf16Description());
}

TEST_F(PluginModule, ArchitectureDirectoryPointsAtTheReadOnlyDescriptionText) {
  const PeImage::DataDirectory entry = image_.Directory(7);
  ASSERT_NE(entry.rva, 0u);
  EXPECT_EQ(entry.size, 31u);
  const std::vector<std::uint8_t> bytes = image_.Bytes(entry.rva, entry.size);
  const std::string text(bytes.begin(), bytes.end());
  EXPECT_EQ(text, std::string("||Orvik Ascii files (*.PCB)|||", 31));
  const PeImage::Section* section = image_.SectionAt(entry.rva, entry.size);
  ASSERT_NE(section, nullptr);
  EXPECT_EQ(section->characteristics & (PeImage::kScnMemWrite | PeImage::kScnMemExecute), 0u) << section->name;
}

}  // namespace
}  // namespace orvik::test
