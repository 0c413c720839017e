#include "tests/pe/VersionInfo.h"

#include <cstddef>

namespace orvik::test {

namespace {

// One block of the resource: wLength (the whole block, children included),
// wValueLength, wType (1: the value is text, counted in 16-bit units), the
// key as zero-terminated UTF-16, padding to 32 bits, the value, padding,
// the children.
struct Block {
  std::u16string key;
  bool text = false;
  std::size_t valueStart = 0;
  std::size_t valueSize = 0;  // bytes
  std::size_t childrenStart = 0;
  std::size_t end = 0;
};

class Reader {
 public:
  explicit Reader(const std::vector<std::uint8_t>& data) : data_(data) {}

  std::uint16_t U16(std::size_t offset, std::size_t end) const {
    if (end > data_.size() || offset > end || end - offset < 2) throw EPeFormat("version data out of range");
    return static_cast<std::uint16_t>(data_[offset] | (data_[offset + 1] << 8));
  }
  std::uint32_t U32(std::size_t offset, std::size_t end) const {
    return static_cast<std::uint32_t>(U16(offset, end)) | (static_cast<std::uint32_t>(U16(offset + 2, end)) << 16);
  }

  // The block at `offset`, which must end by `end`.
  Block Read(std::size_t offset, std::size_t end) const {
    Block b;
    const std::size_t length = U16(offset, end);
    if (length < 6 || length > end - offset) throw EPeFormat("version block length out of range");
    b.end = offset + length;
    const std::size_t valueLength = U16(offset + 2, b.end);
    const std::uint16_t type = U16(offset + 4, b.end);
    if (type > 1) throw EPeFormat("unknown version block type");
    b.text = type == 1;
    std::size_t at = offset + 6;
    for (;;) {
      const std::uint16_t c = U16(at, b.end);  // throws when the key runs past the block
      at += 2;
      if (c == 0) break;
      b.key.push_back(static_cast<char16_t>(c));
    }
    b.valueStart = Align(at);
    b.valueSize = b.text ? valueLength * 2 : valueLength;
    if (b.valueSize > 0 && (b.valueStart > b.end || b.valueSize > b.end - b.valueStart))
      throw EPeFormat("version value out of range");
    b.childrenStart = b.valueSize > 0 ? Align(b.valueStart + b.valueSize) : b.valueStart;
    return b;
  }

  // The children of `parent`, each within it.
  std::vector<Block> Children(const Block& parent) const {
    std::vector<Block> children;
    for (std::size_t at = parent.childrenStart; at < parent.end; at = Align(children.back().end)) {
      children.push_back(Read(at, parent.end));
    }
    return children;
  }

  // A text value without its terminating zero, if it has one.
  std::u16string Text(const Block& b) const {
    if (!b.text) throw EPeFormat("version string is not text");
    std::u16string text;
    for (std::size_t i = 0; i < b.valueSize; i += 2) {
      const std::uint16_t c = U16(b.valueStart + i, b.valueStart + b.valueSize);
      if (c == 0) break;
      text.push_back(static_cast<char16_t>(c));
    }
    return text;
  }

 private:
  static std::size_t Align(std::size_t offset) { return (offset + 3) & ~std::size_t{3}; }

  const std::vector<std::uint8_t>& data_;
};

void ReadFixed(const Reader& r, const Block& root, VersionInfo& info) {
  if (root.valueSize < 52) throw EPeFormat("no fixed file information");
  const std::size_t at = root.valueStart;
  const std::size_t end = at + root.valueSize;
  if (r.U32(at, end) != VersionInfo::kSignature) throw EPeFormat("bad fixed file information signature");
  const std::uint32_t words[4] = {r.U32(at + 8, end), r.U32(at + 12, end), r.U32(at + 16, end), r.U32(at + 20, end)};
  for (int i = 0; i < 2; ++i) {
    info.fileVersion[i * 2] = static_cast<std::uint16_t>(words[i] >> 16);
    info.fileVersion[i * 2 + 1] = static_cast<std::uint16_t>(words[i]);
    info.productVersion[i * 2] = static_cast<std::uint16_t>(words[i + 2] >> 16);
    info.productVersion[i * 2 + 1] = static_cast<std::uint16_t>(words[i + 2]);
  }
  info.fileType = r.U32(at + 36, end);
}

}  // namespace

VersionInfo VersionInfo::Parse(const std::vector<std::uint8_t>& data) {
  const Reader r(data);
  const Block root = r.Read(0, data.size());
  if (root.key != u"VS_VERSION_INFO") throw EPeFormat("not a version resource");
  VersionInfo info;
  ReadFixed(r, root, info);
  // Four levels: VS_VERSION_INFO, StringFileInfo or VarFileInfo, a string
  // table or a Var, a string.
  for (const Block& group : r.Children(root)) {
    if (group.key == u"StringFileInfo") {
      for (const Block& table : r.Children(group)) {
        auto& strings = info.strings[table.key];
        for (const Block& value : r.Children(table)) strings[value.key] = r.Text(value);
      }
    } else if (group.key == u"VarFileInfo") {
      for (const Block& var : r.Children(group)) {
        if (var.key != u"Translation" || var.text) continue;
        for (std::size_t i = 0; i + 4 <= var.valueSize; i += 4) {
          const std::size_t end = var.valueStart + var.valueSize;
          info.translations.emplace_back(r.U16(var.valueStart + i, end), r.U16(var.valueStart + i + 2, end));
        }
      }
    }
  }
  return info;
}

}  // namespace orvik::test
