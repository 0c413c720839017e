// A reader for the data of a VERSIONINFO resource (RT_VERSION): the fixed
// file information and the strings of each string table. Every length read
// from the data is checked against the data's size and against the block
// that holds it; a fault throws EPeFormat.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "tests/pe/PeImage.h"

namespace orvik::test {

struct VersionInfo {
  static constexpr std::uint32_t kSignature = 0xFEEF04BDu;
  static constexpr std::uint32_t kFileTypeApp = 1;  // VFT_APP
  static constexpr std::uint32_t kFileTypeDll = 2;  // VFT_DLL

  // VS_FIXEDFILEINFO: each version as its four 16-bit numbers, most
  // significant first.
  std::uint16_t fileVersion[4] = {};
  std::uint16_t productVersion[4] = {};
  std::uint32_t fileType = 0;
  // StringFileInfo: table key ("040904B0") -> value name -> value, in
  // UTF-16 as stored, without the terminating zero.
  std::map<std::u16string, std::map<std::u16string, std::u16string>> strings;
  // VarFileInfo's Translation: (language, code page) pairs.
  std::vector<std::pair<std::uint16_t, std::uint16_t>> translations;

  // Reads the resource's data; throws EPeFormat.
  static VersionInfo Parse(const std::vector<std::uint8_t>& data);
};

}  // namespace orvik::test
