// A small reader for PE modules, 32-bit (PE32) and 64-bit (PE32+), enough to
// check what the plug-in's DLL carries: machine type, sections, data
// directories, exports and resources. Every offset and length read from the
// file is checked against the file's size.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

namespace orvik::test {

class EPeFormat : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class PeImage {
 public:
  struct Section {
    std::string name;
    std::uint32_t virtualAddress = 0;
    std::uint32_t virtualSize = 0;
    std::uint32_t rawOffset = 0;
    std::uint32_t rawSize = 0;
    std::uint32_t characteristics = 0;
  };
  struct DataDirectory {
    std::uint32_t rva = 0;
    std::uint32_t size = 0;
  };
  struct Export {
    std::string name;
    std::uint32_t ordinal = 0;
    std::uint32_t rva = 0;
  };

  static constexpr std::uint32_t kScnMemWrite = 0x80000000u;
  static constexpr std::uint32_t kScnMemExecute = 0x20000000u;
  static constexpr std::uint16_t kRtRcData = 10;
  static constexpr std::uint16_t kRtVersion = 16;
  static constexpr std::uint16_t kMachineI386 = 0x014C;
  static constexpr std::uint16_t kMachineAmd64 = 0x8664;

  // Reads and checks the headers; throws EPeFormat.
  explicit PeImage(const std::filesystem::path& file);

  // The file header's machine type (kMachineI386, kMachineAmd64, ...).
  std::uint16_t Machine() const noexcept { return machine_; }
  // Whether the optional header is the 64-bit one.
  bool IsPe32Plus() const noexcept { return pe32Plus_; }
  const std::vector<Section>& Sections() const noexcept { return sections_; }
  DataDirectory Directory(unsigned index) const;
  // The section that holds `size` bytes at `rva`, or none.
  const Section* SectionAt(std::uint32_t rva, std::uint32_t size) const noexcept;
  // `size` bytes at `rva`; throws when they are not all in the file.
  std::vector<std::uint8_t> Bytes(std::uint32_t rva, std::uint32_t size) const;
  // A zero-terminated 8-bit text at `rva`.
  std::string Text(std::uint32_t rva) const;

  // The export directory's module name and its exports by name.
  std::string ExportModuleName() const;
  std::vector<Export> Exports() const;
  // Number of entries in the export address table.
  std::uint32_t ExportAddressCount() const;

  // The data of resource type/name/language, the name given as a string or
  // as a number (type and language are numbers); none when there is no such
  // resource.
  std::optional<std::vector<std::uint8_t>> Resource(std::uint16_t type, const std::u16string& name,
                                                    std::uint16_t language) const;
  std::optional<std::vector<std::uint8_t>> Resource(std::uint16_t type, std::uint16_t id, std::uint16_t language) const;

 private:
  // A resource directory entry's key: a number or a name.
  using ResourceKey = std::variant<std::uint16_t, std::u16string>;
  std::optional<std::vector<std::uint8_t>> FindResource(std::uint16_t type, const ResourceKey& name,
                                                        std::uint16_t language) const;

  std::uint16_t U16(std::size_t offset) const;
  std::uint32_t U32(std::size_t offset) const;
  std::size_t FileOffset(std::uint32_t rva, std::uint32_t size) const;

  std::vector<std::uint8_t> file_;
  std::uint16_t machine_ = 0;
  bool pe32Plus_ = false;
  std::vector<Section> sections_;
  std::vector<DataDirectory> directories_;
};

}  // namespace orvik::test
