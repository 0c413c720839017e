#include <cstdio>

#include "host/common/Utf8.h"
#include "host/orvik-host/Markup.h"
#include "host/orvik-host/convert/Report.h"

namespace orvik::host::convert {

namespace {

// The page's style and script: sorting by a click on a column's head (again:
// the other way), filtering by status and by a text in the name.
constexpr const char* kHead = R"(<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<title>Conversion report</title>
<style>
body { font: 14px/1.4 system-ui, sans-serif; margin: 1.5em; color: #222; }
h1 { font-size: 1.4em; margin: 0 0 .6em; }
dl#totals { display: flex; flex-wrap: wrap; gap: .4em 1.6em; margin: 0 0 1em; }
dl#totals div { display: flex; gap: .4em; }
dt { color: #555; } dd { margin: 0; font-weight: 600; }
#controls { margin: 0 0 .8em; display: flex; gap: 1em; align-items: center; }
table { border-collapse: collapse; width: 100%; }
th, td { border-bottom: 1px solid #ddd; padding: .25em .5em; text-align: left; vertical-align: top; }
th { background: #f3f3f3; cursor: pointer; user-select: none; white-space: nowrap; position: sticky; top: 0; }
th[data-order="ascending"]::after { content: " \25B2"; } th[data-order="descending"]::after { content: " \25BC"; }
td.number { text-align: right; font-variant-numeric: tabular-nums; }
tr[data-status="failed"] td.status { color: #b00020; font-weight: 600; }
tr[data-status="unreadable"] td.status, tr[data-status="warnings"] td.status { color: #9a5b00; }
tr[data-status="not-recognised"] td.status, tr[data-status="up-to-date"] td.status { color: #555; }
tr[data-status="converted"] td.status { color: #106010; }
td.name { font-family: ui-monospace, monospace; min-width: 16em; overflow-wrap: anywhere; }
td.outputs { min-width: 14em; }
.detail { color: #555; font-size: .9em; font-weight: normal; }
pre { margin: .2em 0 0; font-size: .85em; white-space: pre-wrap; max-width: 60em; }
</style>
</head>
<body>
)";

constexpr const char* kScript = R"(<script>
(function () {
  var table = document.getElementById('files');
  var body = table.tBodies[0];
  var heads = table.tHead.rows[0].cells;
  var status = document.getElementById('status');
  var filter = document.getElementById('filter');
  var shown = document.getElementById('shown');
  function key(row, column) {
    var cell = row.cells[column];
    var value = cell.getAttribute('data-sort');
    if (value === null) value = cell.textContent;
    var number = Number(value);
    return value !== '' && !isNaN(number) ? number : value.toLowerCase();
  }
  function sort(column) {
    var head = heads[column];
    var order = head.getAttribute('data-order') === 'ascending' ? 'descending' : 'ascending';
    for (var i = 0; i < heads.length; i++) heads[i].removeAttribute('data-order');
    head.setAttribute('data-order', order);
    var rows = Array.prototype.slice.call(body.rows);
    var sign = order === 'ascending' ? 1 : -1;
    rows.sort(function (a, b) {
      var x = key(a, column), y = key(b, column);
      if (typeof x !== typeof y) { x = String(x); y = String(y); }
      return x < y ? -sign : x > y ? sign : key(a, 0) - key(b, 0);
    });
    rows.forEach(function (row) { body.appendChild(row); });
  }
  function apply() {
    var wanted = status.value, text = filter.value.toLowerCase(), count = 0;
    Array.prototype.forEach.call(body.rows, function (row) {
      var s = row.getAttribute('data-status');
      var ok = (wanted === 'all' || s === wanted ||
                (wanted === 'problems' && s !== 'converted' && s !== 'up-to-date')) &&
               row.cells[1].textContent.toLowerCase().indexOf(text) >= 0;
      row.hidden = !ok;
      if (ok) count++;
    });
    shown.textContent = count + ' of ' + body.rows.length + ' files shown';
  }
  for (var i = 0; i < heads.length; i++) {
    heads[i].addEventListener('click', sort.bind(null, i));
  }
  status.addEventListener('change', apply);
  filter.addEventListener('input', apply);
  apply();
})();
</script>
)";

void Text(std::string& out, std::string_view bytes) { AppendEscapedUtf8(out, text::ShownUtf8(bytes)); }

std::string Seconds(double seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3f", seconds);
  return text;
}

std::string Megabytes(uint64_t bytes) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f MB", static_cast<double>(bytes) / 1e6);
  return text;
}

void Total(std::string& out, std::string_view key, std::string_view label, const std::string& value) {
  out += "<div><dt>";
  Text(out, label);
  out += "</dt><dd data-total=\"";
  out += key;
  out += "\">";
  Text(out, value);
  out += "</dd></div>\n";
}

void NumberCell(std::string& out, bool known, long long value, const std::string& title = {}) {
  out += "<td class=\"number\"";
  if (!title.empty()) {
    out += " title=\"";
    Text(out, title);
    out += '"';
  }
  if (!known) {
    out += " data-sort=\"-1\"></td>";
    return;
  }
  out += " data-sort=\"" + std::to_string(value) + "\">" + std::to_string(value) + "</td>";
}

std::string Breakdown(const Counts& counts) {
  std::string text;
  for (const auto& [key, count] : counts) {
    if (count == 0) continue;
    text += (text.empty() ? "" : ", ") + key + " " + std::to_string(count);
  }
  return text;
}

long long CountOf(const Counts& counts, const std::string& key) {
  for (const auto& [name, count] : counts) {
    if (name == key) return count;
  }
  return 0;
}

void Row(std::string& out, std::size_t index, const FileResult& r, const std::vector<std::string>& classes) {
  out += "<tr data-status=\"";
  out += StatusKey(r.status);
  out += "\"><td class=\"number\" data-sort=\"" + std::to_string(index) + "\">" + std::to_string(index + 1) +
         "</td><td class=\"name\" title=\"";
  Text(out, r.path);
  out += "\">";
  Text(out, r.relative);
  out += "</td><td class=\"status\">";
  Text(out, StatusText(r.status));
  if (!r.detail.empty()) {
    out += "<div class=\"detail\">";
    Text(out, r.detail);
    out += "</div>";
  }
  if (!r.errorTail.empty()) {
    out += "<details><summary class=\"detail\">error output</summary><pre>";
    Text(out, r.errorTail);
    out += "</pre></details>";
  }
  out += "</td><td class=\"number\" data-sort=\"" + std::to_string(r.size) + "\">" + std::to_string(r.size) + "</td>";
  NumberCell(out, r.counted, r.created, Breakdown(r.createdByKind));
  NumberCell(out, r.counted, r.placed, Breakdown(r.placedByKind));
  NumberCell(out, r.checked, r.checkWarnings, Breakdown(r.checkByKind));
  for (const std::string& c : classes) NumberCell(out, r.exported, CountOf(r.kicadByClass, c));
  out += "<td class=\"number\" data-sort=\"" + Seconds(r.seconds) + "\">" + (r.seconds > 0 ? Seconds(r.seconds) : "") +
         "</td><td class=\"outputs\">";
  for (std::size_t i = 0; i < r.outputs.size(); ++i) {
    const std::string& output = r.outputs[i];
    out += i == 0 ? "" : " ";
    out += "<a href=\"" + LinkTarget(output) + "\">";
    // The kind of output, as its name's ending after the file's stem.
    const bool stemmed = !r.stem.empty() && output.size() > r.stem.size() + 1 && output.starts_with(r.stem);
    Text(out, stemmed ? output.substr(r.stem.size() + 1) : output);
    out += "</a>";
  }
  out += "</td></tr>\n";
}

}  // namespace

std::string ReportHtml(const Report& report) {
  const Totals& t = report.totals;
  std::string out = kHead;
  out += "<h1>Conversion report</h1>\n<p class=\"detail\">orvik-host ";
  Text(out, report.version);
  out += " convert into ";
  Text(out, report.outDir);
  if (report.interrupted) out += " &mdash; <strong>interrupted</strong>: the files not finished are listed as such";
  out += "</p>\n<dl id=\"totals\">\n";
  Total(out, "found", "files found", std::to_string(t.found));
  for (std::size_t s = 0; s < t.byStatus.size(); ++s) {
    const auto status = static_cast<FileStatus>(s);
    Total(out, StatusKey(status), StatusText(status), std::to_string(t.byStatus[s]));
  }
  Total(out, "bytes", "bytes", std::to_string(t.bytes) + " (" + Megabytes(t.bytes) + ")");
  Total(out, "seconds", "wall time", Seconds(t.seconds) + " s");
  out +=
      "</dl>\n<div id=\"controls\"><label>Show <select id=\"status\"><option value=\"all\">all files</option>"
      "<option value=\"problems\">all but converted and up to date</option>";
  for (std::size_t s = 0; s < t.byStatus.size(); ++s) {
    const auto status = static_cast<FileStatus>(s);
    out += "<option value=\"";
    out += StatusKey(status);
    out += "\">";
    Text(out, StatusText(status));
    out += " only</option>";
  }
  out +=
      "</select></label><label>Name contains <input id=\"filter\" type=\"search\"></label>"
      "<span id=\"shown\" class=\"detail\"></span></div>\n";
  out +=
      "<table id=\"files\"><thead><tr><th>#</th><th>File</th><th>Status</th><th>Bytes</th><th>Created</th>"
      "<th>Placed</th><th>Check warnings</th>";
  for (const std::string& c : report.kicadClasses) {
    out += "<th>KiCad ";
    Text(out, c);
    out += "</th>";
  }
  out += "<th>Seconds</th><th>Outputs</th></tr></thead>\n<tbody>\n";
  for (std::size_t i = 0; i < report.files.size(); ++i) Row(out, i, report.files[i], report.kicadClasses);
  out += "</tbody></table>\n";
  out += kScript;
  out += "</body>\n</html>\n";
  return out;
}

}  // namespace orvik::host::convert
