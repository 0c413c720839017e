#include "host/orvik-host/Summary.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace orvik::host {

namespace {

// ObjectIds of the kinds an import creates.
constexpr uint8_t kArc = 1, kPad = 2, kVia = 3, kTrack = 4, kText = 5, kFill = 6, kNet = 8, kComponent = 9;

struct KindName {
  uint8_t kind;
  const char* name;
};
constexpr std::array<KindName, 8> kKinds{{{kArc, "arcs"},
                                          {kPad, "pads"},
                                          {kVia, "vias"},
                                          {kTrack, "tracks"},
                                          {kText, "texts"},
                                          {kFill, "fills"},
                                          {kNet, "nets"},
                                          {kComponent, "components"}}};

// Argument positions (after mode and handle) of the attributes read here.
constexpr int32_t kNetNamePosition = 1;              // PcbApi_QueryNet: index, name
constexpr int32_t kComponentDesignatorPosition = 4;  // PcbApi_QueryComponent: ..., designatorHandle
constexpr int32_t kTextTextPosition = 12;            // PcbApi_QueryText: ..., mirrored, text

// A container never lists more members than the module has objects; this
// bound only guards the allocation against a nonsensical count.
constexpr int32_t kMaxMembers = 1 << 26;

std::vector<uint32_t> Members(const KovlanApi& api, uint32_t container) {
  uint32_t probe = 0;
  const int32_t count = api.Members(container, &probe, 0);
  if (count <= 0) return {};
  std::vector<uint32_t> members(static_cast<std::size_t>(std::min(count, kMaxMembers)));
  const int32_t again = api.Members(container, members.data(), static_cast<int32_t>(members.size()));
  members.resize(static_cast<std::size_t>(std::clamp<int32_t>(again, 0, static_cast<int32_t>(members.size()))));
  return members;
}

int32_t MemberCount(const KovlanApi& api, uint32_t container) {
  uint32_t probe = 0;
  return std::max(api.Members(container, &probe, 0), 0);
}

std::string ReadShortString(const KovlanApi& api, uint32_t handle, const char* entryPoint, int32_t position) {
  OrvikShortString value{};
  if (api.ReadAttribute(handle, entryPoint, position, &value, static_cast<int32_t>(sizeof value)) !=
      static_cast<int32_t>(sizeof value)) {
    return {};
  }
  return std::string(value.text, value.length);
}

std::string NetName(const KovlanApi& api, uint32_t net) {
  std::string name = ReadShortString(api, net, "PcbApi_QueryNet", kNetNamePosition);
  return name.empty() ? "#" + std::to_string(net) : name;
}

std::string ComponentName(const KovlanApi& api, uint32_t component) {
  uint32_t designator = 0;
  std::string name;
  if (api.ReadAttribute(component, "PcbApi_QueryComponent", kComponentDesignatorPosition, &designator,
                        static_cast<int32_t>(sizeof designator)) == static_cast<int32_t>(sizeof designator) &&
      designator != 0) {
    name = ReadShortString(api, designator, "PcbApi_QueryText", kTextTextPosition);
  }
  return name.empty() ? "#" + std::to_string(component) : name;
}

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
    if (kind == kNet) nets.emplace_back(handle, MemberCount(api, handle));
    if (kind == kComponent) components.emplace_back(handle, MemberCount(api, handle));
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
