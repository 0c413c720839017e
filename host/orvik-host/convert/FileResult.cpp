#include "host/orvik-host/convert/FileResult.h"

#include "host/common/Utf8.h"

namespace orvik::host::convert {

namespace {

constexpr std::array<std::string_view, static_cast<std::size_t>(FileStatus::kCount)> kKeys = {
    "converted", "warnings", "not-recognised", "up-to-date", "unreadable", "failed", "interrupted"};
constexpr std::array<std::string_view, static_cast<std::size_t>(FileStatus::kCount)> kTexts = {
    "converted", "converted with warnings", "not recognised", "up to date", "unreadable", "failed", "interrupted"};

long long Whole(const JsonValue& value) { return static_cast<long long>(value.Number()); }

Counts Numbers(const JsonValue& object) {
  Counts counts;
  for (const auto& [key, value] : object.Members()) counts.emplace_back(key, Whole(value));
  return counts;
}

}  // namespace

std::string_view StatusKey(FileStatus status) noexcept { return kKeys[static_cast<std::size_t>(status)]; }
std::string_view StatusText(FileStatus status) noexcept { return kTexts[static_cast<std::size_t>(status)]; }

void TakeSummary(FileResult& r, const JsonValue& summary) {
  r.importSeconds = summary["seconds"]["import"].Number();
  const JsonValue& objects = summary["objects"];
  if (objects.type() == JsonValue::Type::kObject) {
    r.counted = true;
    r.created = Whole(objects["created"]);
    r.placed = Whole(objects["placed"]);
    r.createdByKind = Numbers(objects["createdByKind"]);
    r.placedByKind = Numbers(objects["placedByKind"]);
  }
  const JsonValue& check = summary["check"];
  if (check.type() == JsonValue::Type::kObject) {
    r.checked = true;
    r.checkWarnings = Whole(check["warnings"]);
    r.checkByKind.clear();
    for (const auto& [kind, count] : Numbers(check["byKind"])) {
      if (count != 0) r.checkByKind.emplace_back(kind, count);
    }
  }
  const JsonValue& kicad = summary["kicad"];
  if (kicad.type() == JsonValue::Type::kObject) {
    r.exported = true;
    r.kicadWritten = Whole(kicad["written"]);
    r.kicadChanges = Whole(kicad["changes"]);
    r.kicadObjectsLeftOut = Whole(kicad["objectsLeftOut"]);
    r.kicadByClass = Numbers(kicad["changesByClass"]);
  }
}

Totals Count(const std::vector<FileResult>& results, double seconds) {
  Totals totals;
  totals.seconds = seconds;
  for (const FileResult& r : results) {
    ++totals.byStatus[static_cast<std::size_t>(r.status)];
    ++totals.found;
    totals.bytes += r.size;
    if (r.status == FileStatus::kConverted || r.status == FileStatus::kWarnings) totals.convertedBytes += r.size;
  }
  return totals;
}

std::string ShownName(const FileResult& result) { return text::ShownUtf8(result.path); }

}  // namespace orvik::host::convert
