#include "tests/e2e/HostileInputs.h"

#include <sstream>

#include "orvik/objectkinds.h"

namespace orvik::test {

const std::vector<RecordSample>& RecordSamples() {
  static const std::vector<RecordSample> samples = {
      {ORVIK_KIND_COMPONENT, R"(COMP U1 LOGIC "quad gate" SO14 LIB 100 200 90 1 0 0 7 1)"},
      {ORVIK_KIND_NET, R"(NET "DATA 0" 4 0 0 0)"},
      {ORVIK_KIND_PAD, R"(PAD RR 40 80 0 BL SMD "1" 110 220 4 7 0)"},
      {ORVIK_KIND_VIA, "VIA STD 30 12 0 100 100 4 0 0"},
      {ORVIK_KIND_TRACK, "LINE 10 0 0 0 100 100 4 0 0"},
      {ORVIK_KIND_ARC, "ARC 50 0 270 8 9 500 500 0 0 0"},
      {ORVIK_KIND_TEXT, R"(TEXT "hello there" 60 0 8 0 10 10 0 0 0 0 0 0)"},
      {ORVIK_KIND_FILL, "FILL 0 0 100 100 17 0 0 0"},
  };
  return samples;
}

const std::string& TrackSampleLine() {
  for (const RecordSample& r : RecordSamples()) {
    if (r.kind == ORVIK_KIND_TRACK) return r.line;
  }
  static const std::string none;
  return none;
}

namespace {

// The words of a record line.
std::vector<std::string> Tokens(const std::string& line) {
  std::vector<std::string> out;
  std::istringstream in(line);
  for (std::string t; in >> t;) out.push_back(t);
  return out;
}

}  // namespace

std::vector<HostileCase> RefusedInputs() {
  return {
      {"empty", ""},
      {"no header", "LINE 10 0 0 0 100 100 0 0 0\n"},
      {"word on the second line", "PCB\nORVIK\n"},
      {"NUL before the word", std::string("OR\0VIK\n", 7)},
      {"0x1A before the word", "OR\x1AVIK\n"},
  };
}

std::vector<HostileCase> DegenerateInputs() {
  return {
      {"only a header", kHostileHeader},
      {"header without line end", "ORVIK"},
      {"NUL bytes", kHostileHeader + std::string(100000, '\0')},
      {"0x1A then records", kHostileHeader + "\x1A" + "LINE 10 0 0 0 100 100 0 0 0\n"},
      {"10 MB line", kHostileHeader + std::string(10 * 1024 * 1024, 'x') + "\n"},
      {"unknown keywords", kHostileHeader + "BOARD x\nUNITS MILS\n\tLINE 1 2 3\n"},
  };
}

HostileCase BinaryGarbageInput() {
  std::string bytes = kHostileHeader;
  uint32_t state = 12345;
  for (int i = 0; i < 256 * 1024; ++i) {
    state = state * 1103515245u + 12345u;
    // No 0x1A: it would end the data at once.
    const auto byte = static_cast<char>(state >> 24);
    bytes += byte == '\x1A' ? '\x1B' : byte;
  }
  // Keywords among the garbage.
  for (const RecordSample& r : RecordSamples())
    bytes += "\n" + r.line.substr(0, r.line.find(' ') + 1) + bytes.substr(100, 300);
  return {"binary garbage", bytes};
}

std::vector<HostileCase> NulAndEndOfFileInputs() {
  return {
      {"record after NUL bytes", kHostileHeader + std::string(1000, '\0') + TrackSampleLine() + "\n", ORVIK_KIND_TRACK},
      {"0x1A inside a record", kHostileHeader + "LINE 10 0 1 2\x1A 3 4 5 6 7\nLINE 1 2 3 4 5 6 7 8 9\n",
       ORVIK_KIND_TRACK},
  };
}

std::vector<HostileCase> MillionCharacterInputs() {
  return {
      {"million-character text",
       kHostileHeader + "TEXT \"" + std::string(1000000, 'q') + "\" 60 0 8 0 10 10 0 0 0 0 0 0\n" + TrackSampleLine() +
           "\n",
       ORVIK_KIND_TEXT},
      {"million-character text without its end", kHostileHeader + "TEXT \"" + std::string(1000000, 'q'),
       ORVIK_KIND_TEXT},
  };
}

std::vector<HostileCase> NumberLimitInputs() {
  const std::vector<std::string> numbers = {"2147483647",  "2147483648",
                                            "-2147483648", "-2147483649",
                                            "+2147483647", "4294967295",
                                            "4294967296",  "$7FFFFFFF",
                                            "$80000000",   "$FFFFFFFF",
                                            "$100000000",  "x80000000",
                                            "XFFFFFFFF",   "0x7fffffff",
                                            "0X80000000",  "0xFFFFFFFF",
                                            "0x100000000", "-$FFFFFFFF",
                                            "-0x80000000", "99999999999999999999999",
                                            "-0",          "$",
                                            "0x",          "-",
                                            "+",           "00000000000000000000000001"};
  std::vector<HostileCase> inputs;
  for (const RecordSample& r : RecordSamples()) {
    std::string bytes = kHostileHeader;
    const std::string keyword = Tokens(r.line).front();
    for (const std::string& n : numbers) {
      bytes += keyword;
      for (int field = 0; field < 14; ++field) bytes += " " + n;
      bytes += "\n";
    }
    inputs.push_back({keyword + " numbers at the limits", bytes, r.kind});
  }
  return inputs;
}

std::vector<HostileCase> TruncatedInputs() {
  std::vector<HostileCase> inputs;
  for (const RecordSample& r : RecordSamples()) {
    const std::vector<std::string> tokens = Tokens(r.line);
    std::string prefix;
    for (std::size_t k = 1; k <= tokens.size(); ++k) {
      prefix += (k > 1 ? " " : "") + tokens[k - 1];
      inputs.push_back({prefix, kHostileHeader + prefix, r.kind});
    }
  }
  return inputs;
}

std::vector<HostileCase> NonNumericInputs() {
  std::vector<HostileCase> inputs;
  for (const RecordSample& r : RecordSamples()) {
    std::string bytes = kHostileHeader + Tokens(r.line).front();
    for (int field = 0; field < 14; ++field) bytes += " f" + std::to_string(field) + "\x01\t,";
    inputs.push_back({r.line, bytes + "\n", r.kind});
  }
  return inputs;
}

HostileCase LayerNumbersInput() {
  std::string bytes = kHostileHeader;
  for (int layer = 0; layer < 256; ++layer) {
    const std::string l = std::to_string(layer);
    bytes += "LINE 10 " + l + " 0 0 100 100 0 0 0\n";
    bytes += "ARC 50 0 270 8 " + l + " 500 500 0 0 0\n";
    bytes += "TEXT t 60 0 8 " + l + " 10 10 0 0 0 0 0 0\n";
    bytes += "FILL 0 0 100 100 " + l + " 0 0 0\n";
    bytes += "COMP U" + l + " L C P S 0 0 0 0 0 0 " + l + " " + l + "\n";
  }
  return {"layer numbers 0 to 255", bytes};
}

std::vector<HostileCase> ImportingHostileInputs() {
  std::vector<HostileCase> all = DegenerateInputs();
  all.push_back(BinaryGarbageInput());
  for (auto* group :
       {&NulAndEndOfFileInputs, &MillionCharacterInputs, &NumberLimitInputs, &TruncatedInputs, &NonNumericInputs}) {
    for (HostileCase& input : group()) all.push_back(std::move(input));
  }
  all.push_back(LayerNumbersInput());
  return all;
}

}  // namespace orvik::test
