#include "host/orvik-host/CheckReport.h"

#include <array>

#include "host/common/JsonString.h"
#include "host/common/Windows1252.h"

namespace orvik::host {

namespace {

std::array<std::size_t, kFindingKindCount> CountKinds(const TFileCheck& check) {
  std::array<std::size_t, kFindingKindCount> counts{};
  for (const TFinding& finding : check.Findings) ++counts[static_cast<std::size_t>(finding.Kind)];
  return counts;
}

void AppendJsonString(std::string& out, std::string_view text) {
  orvik::json::AppendString(out, text, orvik::json::kCheckReportStyle);
}

}  // namespace

std::string CheckText(const TFileCheck& check, std::string_view fileName) {
  std::string out;
  const std::string name(fileName);
  for (const TFinding& finding : check.Findings) {
    out += name + ":" + std::to_string(finding.Line) + ":" + std::to_string(finding.Column) +
           ": warning: " + text::Windows1252ToUtf8(finding.Message) + " [" +
           std::string(FindingKindName(finding.Kind)) + "]\n";
  }
  std::size_t records = 0;
  std::string perKeyword;
  for (const auto& [keyword, count] : check.Records) {
    records += count;
    if (count == 0) continue;
    perKeyword += (perKeyword.empty() ? "" : ", ") + keyword + " " + std::to_string(count);
  }
  out += name + ": " + std::to_string(check.Lines) + " lines, " + std::to_string(records) + " records";
  if (!perKeyword.empty()) out += " (" + perKeyword + ")";
  out += ", " + std::to_string(check.CommentLines) + " comment lines\n";
  if (check.Findings.empty()) {
    out += name + ": clean\n";
    return out;
  }
  out += name + ": " + std::to_string(check.Findings.size()) + (check.Findings.size() == 1 ? " warning" : " warnings");
  const auto counts = CountKinds(check);
  std::string kinds;
  for (std::size_t i = 0; i < counts.size(); ++i) {
    if (counts[i] == 0) continue;
    kinds += (kinds.empty() ? "" : ", ") + std::string(FindingKindName(static_cast<TFindingKind>(i))) + " " +
             std::to_string(counts[i]);
  }
  out += " (" + kinds + ")\n";
  return out;
}

std::string CheckJson(const TFileCheck& check, std::string_view fileName) {
  std::string out = "{\n  \"file\": ";
  AppendJsonString(out, fileName);
  out += ",\n  \"clean\": ";
  out += check.Findings.empty() ? "true" : "false";
  out += ",\n  \"lines\": " + std::to_string(check.Lines) + ",\n  \"records\": {";
  for (std::size_t i = 0; i < check.Records.size(); ++i) {
    out += i == 0 ? "" : ", ";
    AppendJsonString(out, check.Records[i].first);
    out += ": " + std::to_string(check.Records[i].second);
  }
  out += "},\n  \"commentLines\": " + std::to_string(check.CommentLines);
  out += ",\n  \"warnings\": " + std::to_string(check.Findings.size()) + ",\n  \"kinds\": {";
  const auto counts = CountKinds(check);
  for (std::size_t i = 0; i < counts.size(); ++i) {
    out += i == 0 ? "" : ", ";
    AppendJsonString(out, FindingKindName(static_cast<TFindingKind>(i)));
    out += ": " + std::to_string(counts[i]);
  }
  out += "},\n  \"findings\": [";
  for (std::size_t i = 0; i < check.Findings.size(); ++i) {
    const TFinding& finding = check.Findings[i];
    out += i == 0 ? "\n    {\"kind\": " : ",\n    {\"kind\": ";
    AppendJsonString(out, FindingKindName(finding.Kind));
    out += ", \"line\": " + std::to_string(finding.Line) + ", \"column\": " + std::to_string(finding.Column) +
           ", \"message\": ";
    AppendJsonString(out, finding.Message);
    out += "}";
  }
  out += check.Findings.empty() ? "]\n}\n" : "\n  ]\n}\n";
  return out;
}

}  // namespace orvik::host
