#include "host/orvik-host/Summary.h"

#include "host/orvik-host/HostReads.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace orvik::host {

namespace {

struct KindName {
  uint8_t kind;
  const char* name;
};
constexpr std::array<KindName, 8> kKinds{{{ORVIK_KIND_ARC, "arcs"},
                                          {ORVIK_KIND_PAD, "pads"},
                                          {ORVIK_KIND_VIA, "vias"},
                                          {ORVIK_KIND_TRACK, "tracks"},
                                          {ORVIK_KIND_TEXT, "texts"},
                                          {ORVIK_KIND_FILL, "fills"},
                                          {ORVIK_KIND_NET, "nets"},
                                          {ORVIK_KIND_COMPONENT, "components"}}};

// The `top` groups with the most members; ties by name.
std::vector<GroupEntry> Top(std::vector<std::pair<uint32_t, int32_t>> groups, int top,
                            std::string (*nameOf)(const KovlanApi&, uint32_t), const KovlanApi& api) {
  const std::size_t keep = std::min(groups.size(), static_cast<std::size_t>(std::max(top, 0)));
  // Names are read only for the kept groups; order by count, then handle.
  std::partial_sort(
      groups.begin(), groups.begin() + static_cast<std::ptrdiff_t>(keep), groups.end(),
      [](const auto& a, const auto& b) { return a.second != b.second ? a.second > b.second : a.first < b.first; });
  std::vector<GroupEntry> entries;
  entries.reserve(keep);
  for (std::size_t i = 0; i < keep; ++i) entries.push_back({nameOf(api, groups[i].first), groups[i].second});
  return entries;
}

void PrintKinds(std::FILE* out, const std::vector<KindCount>& kinds) {
  bool first = true;
  for (const KindCount& k : kinds) {
    std::fprintf(out, "%s%s %d", first ? "" : ", ", k.name, static_cast<int>(k.count));
    first = false;
  }
}

void PrintGroups(std::FILE* out, const char* title, int32_t count, const std::vector<GroupEntry>& entries) {
  std::fprintf(out, "%s: %d", title, static_cast<int>(count));
  if (!entries.empty()) {
    std::fprintf(out, "; most members:");
    bool first = true;
    for (const GroupEntry& e : entries) {
      std::fprintf(out, "%s %s (%d)", first ? "" : ",", e.name.c_str(), static_cast<int>(e.members));
      first = false;
    }
  }
  std::fputc('\n', out);
}

}  // namespace

ImportSummary CollectSummary(const KovlanApi& api, int top) {
  ImportSummary s;
  s.totalObjects = std::max(api.ObjectCount(0), 0);
  for (const KindName& k : kKinds) s.created.push_back({k.kind, k.name, std::max(api.ObjectCount(k.kind), 0)});

  const std::vector<uint32_t> members = Members(api, api.BoardHandle());
  s.boardMembers = static_cast<int32_t>(members.size());
  for (const KindName& k : kKinds) s.boardByKind.push_back({k.kind, k.name, 0});
  std::vector<std::pair<uint32_t, int32_t>> nets;
  std::vector<std::pair<uint32_t, int32_t>> components;
  for (const uint32_t handle : members) {
    const uint8_t kind = api.ObjectKind(handle);
    for (KindCount& k : s.boardByKind) {
      if (k.kind == kind) ++k.count;
    }
    if (kind == ORVIK_KIND_NET) nets.emplace_back(handle, MemberCount(api, handle));
    if (kind == ORVIK_KIND_COMPONENT) components.emplace_back(handle, MemberCount(api, handle));
  }
  s.netCount = static_cast<int32_t>(nets.size());
  s.componentCount = static_cast<int32_t>(components.size());
  s.topNets = Top(std::move(nets), top, NetName, api);
  s.topComponents = Top(std::move(components), top, ComponentName, api);
  return s;
}

void PrintSummary(std::FILE* out, const ImportSummary& s) {
  if (s.seconds < 1.0) {
    std::fprintf(out, "Imported %s in %.1f ms\n", s.fileName.c_str(), s.seconds * 1000.0);
  } else {
    std::fprintf(out, "Imported %s in %.2f s\n", s.fileName.c_str(), s.seconds);
  }
  std::fprintf(out, "Objects created: %d (", static_cast<int>(s.totalObjects));
  PrintKinds(out, s.created);
  std::fprintf(out, ")\n");
  std::fprintf(out, "Board members: %d (", static_cast<int>(s.boardMembers));
  PrintKinds(out, s.boardByKind);
  std::fprintf(out, ")\n");
  PrintGroups(out, "Nets on the board", s.netCount, s.topNets);
  PrintGroups(out, "Components on the board", s.componentCount, s.topComponents);
}

}  // namespace orvik::host
