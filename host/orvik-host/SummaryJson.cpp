#include "host/orvik-host/SummaryJson.h"

#include <array>
#include <cstdio>

#include "host/common/JsonString.h"

namespace orvik::host {

namespace {

constexpr std::array<std::string_view, static_cast<std::size_t>(ImportStatus::kCount)> kStatusNames = {
    "imported", "failed", "not-recognised", "unreadable"};

void AppendText(std::string& out, std::string_view text) { json::AppendString(out, text, json::kCheckReportStyle); }

void AppendSeconds(std::string& out, double seconds) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.6f", seconds);
  out += buffer;
}

// "key": value pairs of one object, with separators.
class ObjectWriter {
 public:
  ObjectWriter(std::string& out, int indent) : out_(out), indent_(indent) { out_ += '{'; }
  void Key(std::string_view key) {
    out_ += first_ ? "\n" : ",\n";
    first_ = false;
    out_.append(static_cast<std::size_t>(indent_ + 2), ' ');
    AppendText(out_, key);
    out_ += ": ";
  }
  void Number(std::string_view key, long long value) {
    Key(key);
    out_ += std::to_string(value);
  }
  void Text(std::string_view key, std::string_view value) {
    Key(key);
    AppendText(out_, value);
  }
  void Close() {
    if (!first_) {
      out_ += '\n';
      out_.append(static_cast<std::size_t>(indent_), ' ');
    }
    out_ += '}';
  }
  [[nodiscard]] int Indent() const noexcept { return indent_ + 2; }

 private:
  std::string& out_;
  int indent_;
  bool first_ = true;
};

void AppendKinds(std::string& out, int indent, const std::vector<KindCount>& kinds) {
  ObjectWriter object(out, indent);
  for (const KindCount& k : kinds) object.Number(k.name, k.count);
  object.Close();
}

void AppendKicad(ObjectWriter& parent, std::string& out, const kicad::KicadReport& report) {
  using kicad::Change;
  using kicad::ChangeClass;
  using kicad::Written;
  parent.Key("kicad");
  ObjectWriter k(out, parent.Indent());
  k.Text("file", report.path);
  k.Key("seconds");
  AppendSeconds(out, report.seconds);
  k.Number("copperLayers", report.copperLayers);
  k.Text("page", report.page);
  long long written = 0;
  for (const int64_t n : report.written) written += n;
  k.Number("written", written);
  k.Key("writtenByKind");
  {
    ObjectWriter byKind(out, k.Indent());
    for (std::size_t w = 0; w < static_cast<std::size_t>(Written::kCount); ++w) {
      byKind.Number(kicad::WrittenKindName(static_cast<Written>(w)), report.written[w]);
    }
    byKind.Close();
  }
  std::array<long long, static_cast<std::size_t>(ChangeClass::kCount)> perClass{};
  long long changes = 0;
  for (std::size_t c = 0; c < static_cast<std::size_t>(Change::kCount); ++c) {
    perClass[static_cast<std::size_t>(kicad::ClassOf(static_cast<Change>(c)))] += report.changes[c];
    changes += report.changes[c];
  }
  k.Number("changes", changes);
  k.Number("objectsLeftOut", report.ObjectsLeftOut());
  k.Key("changesByClass");
  {
    ObjectWriter byClass(out, k.Indent());
    for (std::size_t c = 0; c < perClass.size(); ++c) {
      byClass.Number(kicad::ClassName(static_cast<ChangeClass>(c)), perClass[c]);
    }
    byClass.Close();
  }
  k.Key("changesByKind");
  {
    ObjectWriter byKind(out, k.Indent());
    for (std::size_t c = 0; c < static_cast<std::size_t>(Change::kCount); ++c) {
      if (report.changes[c] != 0) byKind.Number(kicad::Describe(static_cast<Change>(c)), report.changes[c]);
    }
    byKind.Close();
  }
  k.Close();
}

void AppendCheck(ObjectWriter& parent, std::string& out, const TFileCheck& check) {
  std::array<long long, kFindingKindCount> counts{};
  for (const TFinding& finding : check.Findings) ++counts[static_cast<std::size_t>(finding.Kind)];
  parent.Key("check");
  ObjectWriter c(out, parent.Indent());
  c.Number("warnings", static_cast<long long>(check.Findings.size()));
  c.Key("byKind");
  ObjectWriter byKind(out, c.Indent());
  for (std::size_t k = 0; k < counts.size(); ++k) {
    byKind.Number(FindingKindName(static_cast<TFindingKind>(k)), counts[k]);
  }
  byKind.Close();
  c.Close();
}

}  // namespace

std::string_view ImportStatusName(ImportStatus status) noexcept {
  const auto index = static_cast<std::size_t>(status);
  return index < kStatusNames.size() ? kStatusNames[index] : std::string_view();
}

ImportStatus ImportStatusByName(std::string_view name) noexcept {
  for (std::size_t i = 0; i < kStatusNames.size(); ++i) {
    if (kStatusNames[i] == name) return static_cast<ImportStatus>(i);
  }
  return ImportStatus::kCount;
}

std::string ImportRecordJson(const ImportRecord& record) {
  std::string out;
  ObjectWriter root(out, 0);
  root.Text("file", record.file);
  root.Text("status", ImportStatusName(record.status));
  if (!record.reason.empty()) root.Text("reason", record.reason);
  root.Key("seconds");
  {
    ObjectWriter seconds(out, root.Indent());
    seconds.Key("import");
    AppendSeconds(out, record.importSeconds);
    seconds.Key("total");
    AppendSeconds(out, record.totalSeconds);
    seconds.Close();
  }
  if (record.summary) {
    const ImportSummary& s = *record.summary;
    root.Key("objects");
    ObjectWriter objects(out, root.Indent());
    objects.Number("created", s.totalObjects);
    objects.Number("placed", s.boardMembers);
    objects.Key("createdByKind");
    AppendKinds(out, objects.Indent(), s.created);
    objects.Key("placedByKind");
    AppendKinds(out, objects.Indent(), s.boardByKind);
    objects.Close();
    root.Number("nets", s.netCount);
    root.Number("components", s.componentCount);
  }
  if (record.kicad) AppendKicad(root, out, *record.kicad);
  if (record.check) AppendCheck(root, out, *record.check);
  root.Close();
  out += '\n';
  return out;
}

}  // namespace orvik::host
