#include <cstdio>

#include "host/common/JsonString.h"
#include "host/common/Utf8.h"
#include "host/orvik-host/convert/Report.h"

namespace orvik::host::convert {

namespace {

void AppendText(std::string& out, std::string_view text) { json::AppendUtf8String(out, text::ShownUtf8(text)); }

void AppendNumber(std::string& out, double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3f", value);
  out += text;
}

void AppendCounts(std::string& out, const Counts& counts) {
  out += '{';
  bool first = true;
  for (const auto& [key, count] : counts) {
    if (!first) out += ", ";
    first = false;
    AppendText(out, key);
    out += ": " + std::to_string(count);
  }
  out += '}';
}

void AppendFile(std::string& out, const FileResult& r) {
  out += "    {\"name\": ";
  AppendText(out, r.path);
  out += std::string(", \"utf8\": ") + (text::IsValidUtf8(r.path) ? "true" : "false");
  out += ", \"place\": ";
  AppendText(out, r.relative);
  out += ", \"status\": ";
  AppendText(out, StatusKey(r.status));
  out += ", \"statusText\": ";
  AppendText(out, StatusText(r.status));
  out += ", \"detail\": ";
  AppendText(out, r.detail);
  out += ", \"errorTail\": ";
  AppendText(out, r.errorTail);
  out += ", \"size\": " + std::to_string(r.size) + ", \"seconds\": ";
  AppendNumber(out, r.seconds);
  // Each part of the child's summary, or null where the file has none.
  auto section = [&out](const char* key, bool present, const std::string& numbers, const char* countsKey,
                        const Counts& counts, const Counts* more = nullptr, const char* moreKey = nullptr) {
    out += std::string(",\n     \"") + key + "\": ";
    if (!present) {
      out += "null";
      return;
    }
    out += "{" + numbers + ", \"" + countsKey + "\": ";
    AppendCounts(out, counts);
    if (more != nullptr) {
      out += std::string(", \"") + moreKey + "\": ";
      AppendCounts(out, *more);
    }
    out += '}';
  };
  section("objects", r.counted,
          "\"created\": " + std::to_string(r.created) + ", \"placed\": " + std::to_string(r.placed), "createdByKind",
          r.createdByKind, &r.placedByKind, "placedByKind");
  section("check", r.checked, "\"warnings\": " + std::to_string(r.checkWarnings), "byKind", r.checkByKind);
  section("kicad", r.exported,
          "\"written\": " + std::to_string(r.kicadWritten) + ", \"changes\": " + std::to_string(r.kicadChanges),
          "byClass", r.kicadByClass);
  out += ",\n     \"outputs\": [";
  for (std::size_t i = 0; i < r.outputs.size(); ++i) {
    if (i != 0) out += ", ";
    AppendText(out, r.outputs[i]);
  }
  out += "]}";
}

}  // namespace

std::string ReportJson(const Report& report) {
  const Totals& t = report.totals;
  std::string out = "{\n  \"program\": \"orvik-host convert\",\n  \"version\": ";
  AppendText(out, report.version);
  out += ",\n  \"outputFolder\": ";
  AppendText(out, report.outDir);
  out += std::string(",\n  \"interrupted\": ") + (report.interrupted ? "true" : "false");
  out += ",\n  \"exitStatus\": " + std::to_string(report.exitStatus);
  out += ",\n  \"totals\": {\"found\": " + std::to_string(t.found);
  for (std::size_t s = 0; s < t.byStatus.size(); ++s) {
    out += ", ";
    AppendText(out, StatusKey(static_cast<FileStatus>(s)));
    out += ": " + std::to_string(t.byStatus[s]);
  }
  out += ", \"bytes\": " + std::to_string(t.bytes) + ", \"convertedBytes\": " + std::to_string(t.convertedBytes) +
         ", \"seconds\": ";
  AppendNumber(out, t.seconds);
  out += "},\n  \"kicadClasses\": [";
  for (std::size_t i = 0; i < report.kicadClasses.size(); ++i) {
    if (i != 0) out += ", ";
    AppendText(out, report.kicadClasses[i]);
  }
  out += "],\n  \"files\": [";
  for (std::size_t i = 0; i < report.files.size(); ++i) {
    out += i == 0 ? "\n" : ",\n";
    AppendFile(out, report.files[i]);
  }
  out += report.files.empty() ? "]\n}\n" : "\n  ]\n}\n";
  return out;
}

std::string LinkTarget(const std::string& relative) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (const char c : relative) {
    const auto b = static_cast<unsigned char>(c);
    if ((b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z') || (b >= '0' && b <= '9') || c == '/' || c == '-' ||
        c == '_' || c == '.' || c == '~') {
      out += c;
    } else {
      out += '%';
      out += kHex[b >> 4];
      out += kHex[b & 15];
    }
  }
  return out;
}

}  // namespace orvik::host::convert
