#include "host/orvik-host/kicad/KicadNetNames.h"

#include <unordered_map>
#include <unordered_set>

#include "host/common/Windows1252.h"

namespace orvik::host::kicad {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

}  // namespace

std::string KicadText(std::string_view host, bool& replaced) {
  std::string out;
  out.reserve(host.size());
  for (const char c : host) {
    if (c == '\0') {
      text::AppendUtf8(out, kReplacement);
      replaced = true;
    } else {
      text::AppendUtf8(out, text::Windows1252CodePoint(static_cast<unsigned char>(c)));
    }
  }
  return out;
}

NetNames NameNets(const std::vector<SourceNet>& nets) {
  NetNames result;
  result.names.resize(nets.size());
  std::unordered_set<std::string> taken;
  std::vector<std::size_t> renamed;
  // Names as held first, so that a generated name never takes a real one.
  for (std::size_t i = 0; i < nets.size(); ++i) {
    bool replaced = false;
    std::string name = KicadText(nets[i].name, replaced);
    if (replaced) ++result.nulReplaced;
    if (name.empty()) {
      ++result.empty;
      renamed.push_back(i);
    } else if (!taken.insert(name).second) {
      ++result.duplicates;
      renamed.push_back(i);
    }
    result.names[i] = std::move(name);
  }
  // The next number to try per base name, so that many nets of one name
  // cost no more than as many distinct ones.
  std::unordered_map<std::string, int> next;
  for (const std::size_t i : renamed) {
    const std::string base = result.names[i].empty() ? "#" + std::to_string(nets[i].handle) : result.names[i];
    int& n = next.try_emplace(base, result.names[i].empty() ? 1 : 2).first->second;
    std::string name = n == 1 ? base : base + "#" + std::to_string(n);
    while (!taken.insert(name).second) name = base + "#" + std::to_string(++n);
    ++n;
    result.names[i] = std::move(name);
  }
  return result;
}

}  // namespace orvik::host::kicad
