#include "tests/pe/PeImage.h"

#include <algorithm>
#include <fstream>
#include <system_error>

namespace orvik::test {

PeImage::PeImage(const std::filesystem::path& file) {
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(file, error);
  if (error || size > (std::uintmax_t{1} << 30)) throw EPeFormat("cannot size " + file.string());
  file_.resize(static_cast<std::size_t>(size));
  std::ifstream in(file, std::ios::binary);
  if (!in.read(reinterpret_cast<char*>(file_.data()), static_cast<std::streamsize>(file_.size())))
    throw EPeFormat("cannot read " + file.string());

  if (U16(0) != 0x5A4D) throw EPeFormat("no MZ header");
  const std::size_t pe = U32(0x3C);
  if (U32(pe) != 0x00004550) throw EPeFormat("no PE signature");
  machine_ = U16(pe + 4);
  const std::uint16_t sectionCount = U16(pe + 6);
  const std::uint16_t optionalSize = U16(pe + 20);
  const std::size_t optional = pe + 24;
  // PE32+ widens the image base and the stack and heap sizes, which moves
  // the data directories 16 bytes further.
  const std::uint16_t magic = U16(optional);
  if (magic != 0x10B && magic != 0x20B) throw EPeFormat("neither a PE32 nor a PE32+ module");
  pe32Plus_ = magic == 0x20B;
  const std::size_t directories = pe32Plus_ ? 112 : 96;
  const std::uint32_t directoryCount = U32(optional + directories - 4);
  if (directoryCount > 16 || directories + directoryCount * 8 > optionalSize)
    throw EPeFormat("bad data directory count");
  for (std::uint32_t i = 0; i < directoryCount; ++i)
    directories_.push_back({U32(optional + directories + i * 8), U32(optional + directories + 4 + i * 8)});

  const std::size_t table = optional + optionalSize;
  for (std::uint16_t i = 0; i < sectionCount; ++i) {
    const std::size_t header = table + i * 40u;
    U32(header + 36);  // the whole header lies within the file
    Section s;
    const char* name = reinterpret_cast<const char*>(&file_[header]);
    std::size_t length = 0;
    while (length < 8 && name[length] != '\0') ++length;
    s.name.assign(name, length);
    s.virtualSize = U32(header + 8);
    s.virtualAddress = U32(header + 12);
    s.rawSize = U32(header + 16);
    s.rawOffset = U32(header + 20);
    s.characteristics = U32(header + 36);
    sections_.push_back(s);
  }
}

std::uint16_t PeImage::U16(std::size_t offset) const {
  if (offset > file_.size() || file_.size() - offset < 2) throw EPeFormat("read past the end of the file");
  return static_cast<std::uint16_t>(file_[offset] | (file_[offset + 1] << 8));
}

std::uint32_t PeImage::U32(std::size_t offset) const {
  return static_cast<std::uint32_t>(U16(offset)) | (static_cast<std::uint32_t>(U16(offset + 2)) << 16);
}

PeImage::DataDirectory PeImage::Directory(unsigned index) const {
  if (index >= directories_.size()) throw EPeFormat("no such data directory");
  return directories_[index];
}

const PeImage::Section* PeImage::SectionAt(std::uint32_t rva, std::uint32_t size) const noexcept {
  for (const Section& s : sections_) {
    const std::uint64_t start = s.virtualAddress;
    const std::uint64_t end = start + std::max(s.virtualSize, s.rawSize);
    if (rva >= start && static_cast<std::uint64_t>(rva) + size <= end) return &s;
  }
  return nullptr;
}

std::size_t PeImage::FileOffset(std::uint32_t rva, std::uint32_t size) const {
  const Section* s = SectionAt(rva, size);
  if (s == nullptr) throw EPeFormat("address outside every section");
  const std::uint64_t inSection = rva - s->virtualAddress;
  if (inSection + size > s->rawSize) throw EPeFormat("address outside the section's file data");
  const std::uint64_t offset = s->rawOffset + inSection;
  if (offset + size > file_.size()) throw EPeFormat("section data past the end of the file");
  return static_cast<std::size_t>(offset);
}

std::vector<std::uint8_t> PeImage::Bytes(std::uint32_t rva, std::uint32_t size) const {
  const std::size_t offset = FileOffset(rva, size);
  return std::vector<std::uint8_t>(file_.begin() + static_cast<std::ptrdiff_t>(offset),
                                   file_.begin() + static_cast<std::ptrdiff_t>(offset + size));
}

std::string PeImage::Text(std::uint32_t rva) const {
  const Section* s = SectionAt(rva, 1);
  if (s == nullptr) throw EPeFormat("text outside every section");
  std::size_t offset = FileOffset(rva, 1);
  const std::size_t end = std::min<std::size_t>(file_.size(), s->rawOffset + static_cast<std::size_t>(s->rawSize));
  std::string text;
  for (; offset < end && file_[offset] != 0; ++offset) text.push_back(static_cast<char>(file_[offset]));
  if (offset >= end) throw EPeFormat("unterminated text");
  return text;
}

std::string PeImage::ExportModuleName() const {
  const DataDirectory dir = Directory(0);
  const std::size_t base = FileOffset(dir.rva, 40);
  return Text(U32(base + 12));
}

std::uint32_t PeImage::ExportAddressCount() const {
  const DataDirectory dir = Directory(0);
  return U32(FileOffset(dir.rva, 40) + 20);
}

std::vector<PeImage::Export> PeImage::Exports() const {
  const DataDirectory dir = Directory(0);
  const std::size_t base = FileOffset(dir.rva, 40);
  const std::uint32_t ordinalBase = U32(base + 16);
  const std::uint32_t addressCount = U32(base + 20);
  const std::uint32_t nameCount = U32(base + 24);
  if (addressCount > 0x10000 || nameCount > addressCount) throw EPeFormat("implausible export counts");
  const std::size_t addresses = FileOffset(U32(base + 28), addressCount * 4);
  const std::size_t names = FileOffset(U32(base + 32), nameCount * 4);
  const std::size_t ordinals = FileOffset(U32(base + 36), nameCount * 2);
  std::vector<Export> exports;
  for (std::uint32_t i = 0; i < nameCount; ++i) {
    const std::uint16_t index = U16(ordinals + i * 2u);
    if (index >= addressCount) throw EPeFormat("export ordinal out of range");
    exports.push_back({Text(U32(names + i * 4u)), ordinalBase + index, U32(addresses + index * 4u)});
  }
  return exports;
}

std::optional<std::vector<std::uint8_t>> PeImage::Resource(std::uint16_t type, const std::u16string& name,
                                                           std::uint16_t language) const {
  return FindResource(type, name, language);
}

std::optional<std::vector<std::uint8_t>> PeImage::Resource(std::uint16_t type, std::uint16_t id,
                                                           std::uint16_t language) const {
  return FindResource(type, id, language);
}

std::optional<std::vector<std::uint8_t>> PeImage::FindResource(std::uint16_t type, const ResourceKey& name,
                                                               std::uint16_t language) const {
  const DataDirectory dir = Directory(2);
  if (dir.rva == 0) return std::nullopt;
  const std::size_t root = FileOffset(dir.rva, dir.size);

  // The entry of a directory (at `offset` from the root) that matches `key`;
  // the result is the entry's target field. Every offset is checked against
  // the resource directory's size, which lies within the file.
  auto find = [&](std::size_t offset, const ResourceKey& key) -> std::optional<std::uint32_t> {
    if (offset + 16 > dir.size) throw EPeFormat("resource directory out of range");
    const std::uint16_t named = U16(root + offset + 12);
    const std::uint16_t numbered = U16(root + offset + 14);
    const auto* id = std::get_if<std::uint16_t>(&key);
    for (std::uint32_t i = 0; i < static_cast<std::uint32_t>(named) + numbered; ++i) {
      const std::size_t entry = offset + 16 + i * 8u;
      if (entry + 8 > dir.size) throw EPeFormat("resource entry out of range");
      const std::uint32_t nameField = U32(root + entry);
      const std::uint32_t target = U32(root + entry + 4);
      const bool isName = (nameField & 0x80000000u) != 0;
      if (isName != (id == nullptr)) continue;
      if (id != nullptr) {
        if ((nameField & 0xFFFF) == *id) return target;
        continue;
      }
      const std::size_t text = nameField & 0x7FFFFFFFu;
      if (text + 2 > dir.size) throw EPeFormat("resource name out of range");
      const std::uint16_t length = U16(root + text);
      if (text + 2 + length * 2u > dir.size) throw EPeFormat("resource name out of range");
      std::u16string entryName;
      for (std::uint16_t c = 0; c < length; ++c)
        entryName.push_back(static_cast<char16_t>(U16(root + text + 2 + c * 2u)));
      if (entryName == std::get<std::u16string>(key)) return target;
    }
    return std::nullopt;
  };
  auto subdirectory = [](std::uint32_t target) -> std::size_t {
    if ((target & 0x80000000u) == 0) throw EPeFormat("expected a resource subdirectory");
    return target & 0x7FFFFFFFu;
  };

  const auto typeEntry = find(0, type);
  if (!typeEntry) return std::nullopt;
  const auto nameEntry = find(subdirectory(*typeEntry), name);
  if (!nameEntry) return std::nullopt;
  const auto languageEntry = find(subdirectory(*nameEntry), language);
  if (!languageEntry) return std::nullopt;
  if ((*languageEntry & 0x80000000u) != 0 || *languageEntry + 16 > dir.size)
    throw EPeFormat("expected a resource data entry");
  const std::uint32_t dataRva = U32(root + *languageEntry);
  const std::uint32_t dataSize = U32(root + *languageEntry + 4);
  return Bytes(dataRva, dataSize);
}

}  // namespace orvik::test
