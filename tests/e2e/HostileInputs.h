// The hostile inputs of the importer's tests, as named byte strings: the
// hostile-input tests import each and check the board, and the KiCad export
// test exports each one that imports.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orvik::test {

inline const std::string kHostileHeader = "ORVIK ASCII PCB 1.0\r\n";

struct HostileCase {
  std::string name;
  std::string bytes;
  uint8_t kind = 0;  // the object kind the input is about, 0 for none
};

// One record of each kind, every field valid, and its kind.
struct RecordSample {
  uint8_t kind;
  std::string line;
};
const std::vector<RecordSample>& RecordSamples();
// The track sample's line: a record that imports an object.
const std::string& TrackSampleLine();

// Not recognised: no format word where it belongs.
std::vector<HostileCase> RefusedInputs();
// Imported without objects: only a header, NUL bytes, a 10 MB line, ...
std::vector<HostileCase> DegenerateInputs();
// 256 KiB of random bytes with keywords among them.
HostileCase BinaryGarbageInput();
// A record after 1000 NUL bytes; 0x1A inside a record (ends the data).
std::vector<HostileCase> NulAndEndOfFileInputs();
// A million-character quoted token, with and without its closing quote.
std::vector<HostileCase> MillionCharacterInputs();
// Per record kind, 26 records whose every field is a number at or past the
// 32-bit limits (kind set).
std::vector<HostileCase> NumberLimitInputs();
// Every record cut after each of its tokens, at the end of the file (kind
// set).
std::vector<HostileCase> TruncatedInputs();
// Per record kind, one record whose every field is no number (kind set).
std::vector<HostileCase> NonNumericInputs();
// Every layer number 0..255 on lines, arcs, texts, fills and components.
HostileCase LayerNumbersInput();

// Every input above that the importer imports.
std::vector<HostileCase> ImportingHostileInputs();

}  // namespace orvik::test
