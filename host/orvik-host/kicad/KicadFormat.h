// The tokens of a KiCad board file: lengths in millimetres written from
// whole nanometres, angles from whole thousandths of a degree, quoted UTF-8
// strings and the object identifiers (tstamp) that carry host handles.
// Nothing here prints a floating-point number, so every build writes the
// same bytes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orvik::host::kicad {

// Nanometres of a length in host units (10000 to the mil, 2.54 nm each),
// rounded to the nearest, halves away from zero: whole mils are exact.
constexpr int64_t NanometresOf(int64_t units) noexcept {
  const int64_t scaled = units * 254;  // hundredths of a nanometre; |units| < 2^55 cannot overflow
  return scaled >= 0 ? (scaled + 50) / 100 : -((-scaled + 50) / 100);
}

// "12.7", "-0.000152", "0": millimetres with up to six decimals, no
// trailing zeros, no "-0".
void AppendMillimetres(std::string& out, int64_t nanometres);
std::string Millimetres(int64_t nanometres);

// Thousandths of a degree of an angle in degrees, rounded to the nearest
// and brought into [0, 360000); not-a-number and infinities give 0.
int64_t MillidegreesOf(double degrees) noexcept;
// "90", "22.5", "0.001": an angle given in thousandths of a degree.
void AppendDegrees(std::string& out, int64_t millidegrees);
// "0.25": a ratio given in thousandths.
void AppendRatio(std::string& out, int64_t thousandths);

// A quoted string of UTF-8 text: '"' and '\' take a backslash, line breaks
// become \n and \r, other control characters \xHH (KiCad reads all of them
// back as they were).
void AppendQuoted(std::string& out, std::string_view utf8);

// What a tstamp stands for: the host object itself, or an object the
// export adds for it.
enum class Role : uint16_t {
  kObject = 0,      // the host object of the handle
  kSecondHalf = 1,  // the second arc of a full copper circle
  kFootprint = 2,   // the footprint that carries a free pad
  kReference = 3,   // reference text of a component without designator text, or of a free pad's footprint
  kValue = 4,       // value text of the same
  kOutline = 5,     // the board outline the export adds (handle 0)
  kPlane = 6,       // the zone that fills an internal plane (the legacy layer number for the handle)
};

// "(tstamp 4f52564b-RRRR-4000-8000-HHHHHHHHHHHH)": a fixed prefix, the role
// and the host handle, in the form of a random UUID so that KiCad keeps it.
void AppendTstamp(std::string& out, Role role, uint32_t handle);

}  // namespace orvik::host::kicad
