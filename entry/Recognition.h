// The recognition test: does a file belong to the Orvik ASCII PCB format?
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "orvik/importer.h"

namespace orvik::entry {

// Longest first line that the test reads; later characters are ignored.
inline constexpr std::size_t kFirstLineLimit = 255;

// The file's first line: the characters before LF, CR LF, the physical end
// of the file or the first 0x1A byte, at most kFirstLineLimit of them. A
// file that cannot be opened or read, or that is not a regular file, yields
// an empty line. Never throws.
std::string ReadFirstLine(std::string_view fileName) noexcept;

// True when "ORVIK" occurs anywhere in the line after upper-casing a-z.
bool ContainsFormatWord(std::string_view line) noexcept;

// The whole test: the host says the file exists (a missing `exists` entry
// point means no file exists) and its first line holds the format word.
bool IsRecognised(ClientAPI_ExistSpecific_fn exists, const std::string& fileName) noexcept;

}  // namespace orvik::entry
