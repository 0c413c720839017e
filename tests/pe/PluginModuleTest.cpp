// What the built LoadOrvik.dll carries, and the version resources of the
// build's three Windows files, read from the files themselves. The same
// checks run as a Windows program beside the files and, built for the build
// machine, natively against the files in the directory ORVIK_PE_DIR names.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "tests/pe/PeImage.h"
#include "tests/pe/VersionInfo.h"
#include "tests/support/TestPaths.h"

namespace orvik::test {
namespace {

// Whether the DLL is the 64-bit build (set by the build).
#ifndef ORVIK_PE_64BIT
#error "ORVIK_PE_64BIT must be 0 or 1"
#endif
constexpr bool k64Bit = ORVIK_PE_64BIT != 0;

// The file `name` of the build under test: in ORVIK_PE_DIR, or beside this
// program.
std::filesystem::path FileUnderTest(std::string_view name) {
  const char* directory = std::getenv("ORVIK_PE_DIR");
  return (directory != nullptr && *directory != '\0' ? std::filesystem::path(directory) : ProgramDirectory()) / name;
}

class PluginModule : public ::testing::Test {
 protected:
  PeImage image_{FileUnderTest("LoadOrvik.dll")};
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

// What the build passes: the project's version, the product's name and the
// licence's copyright line.
#if !defined(ORVIK_PE_VERSION) || !defined(ORVIK_PE_PRODUCT_NAME) || !defined(ORVIK_PE_COPYRIGHT)
#error "ORVIK_PE_VERSION, ORVIK_PE_PRODUCT_NAME and ORVIK_PE_COPYRIGHT must be set"
#endif

std::u16string Utf16(std::string_view ascii) { return std::u16string(ascii.begin(), ascii.end()); }

// "1.2.3" as Windows keeps it: four numbers, the missing ones 0.
std::vector<std::uint16_t> VersionNumbers(std::string_view version) {
  std::vector<std::uint16_t> numbers;
  for (std::size_t start = 0; start <= version.size();) {
    const std::size_t dot = std::min(version.find('.', start), version.size());
    numbers.push_back(static_cast<std::uint16_t>(std::stoi(std::string(version.substr(start, dot - start)))));
    start = dot + 1;
  }
  numbers.resize(4, 0);
  return numbers;
}

TEST(VersionResource, EachFileCarriesTheVersionAndWhatItIs) {
  struct File {
    const char* name;
    std::uint32_t type;
  };
  const File files[] = {{"LoadOrvik.dll", VersionInfo::kFileTypeDll},
                        {"Kovlan.dll", VersionInfo::kFileTypeDll},
                        {"orvik-host.exe", VersionInfo::kFileTypeApp}};
  const std::vector<std::uint16_t> version = VersionNumbers(ORVIK_PE_VERSION);
  std::set<std::u16string> descriptions;
  for (const File& file : files) {
    SCOPED_TRACE(file.name);
    const PeImage image(FileUnderTest(file.name));
    // English (United States), as the strings' table says.
    const auto data = image.Resource(PeImage::kRtVersion, 1, 0x0409);
    ASSERT_TRUE(data.has_value());
    const VersionInfo info = VersionInfo::Parse(*data);
    EXPECT_EQ(std::vector<std::uint16_t>(info.fileVersion, info.fileVersion + 4), version);
    EXPECT_EQ(std::vector<std::uint16_t>(info.productVersion, info.productVersion + 4), version);
    EXPECT_EQ(info.fileType, file.type);
    EXPECT_EQ(info.translations, (std::vector<std::pair<std::uint16_t, std::uint16_t>>{{0x0409, 1200}}));
    ASSERT_EQ(info.strings.size(), 1u);
    ASSERT_EQ(info.strings.count(u"040904B0"), 1u);
    const auto& strings = info.strings.at(u"040904B0");
    const std::string_view name = file.name;
    const std::pair<const char*, std::string_view> expected[] = {
        {"FileVersion", ORVIK_PE_VERSION},
        {"ProductVersion", ORVIK_PE_VERSION},
        {"ProductName", ORVIK_PE_PRODUCT_NAME},
        {"LegalCopyright", ORVIK_PE_COPYRIGHT},
        {"OriginalFilename", name},
        {"InternalName", name.substr(0, name.rfind('.'))},
    };
    for (const auto& [key, value] : expected) {
      const auto found = strings.find(Utf16(key));
      ASSERT_NE(found, strings.end()) << key;
      EXPECT_EQ(found->second, Utf16(value)) << key;
    }
    const auto description = strings.find(u"FileDescription");
    ASSERT_NE(description, strings.end());
    EXPECT_FALSE(description->second.empty());
    EXPECT_TRUE(descriptions.insert(description->second).second) << "the same description as another file";
  }
}

}  // namespace
}  // namespace orvik::test
