#include "host/orvik-host/kicad/KicadLayers.h"

#include <algorithm>

#include "host/common/Windows1252.h"
#include "host/orvik-host/kicad/KicadFormat.h"

namespace orvik::host::kicad {

namespace {

struct TechnicalLayer {
  int layer;
  const char* name;
  const char* defaultUserName;  // as KiCad writes it; null for none
};
// Every non-copper layer, as KiCad lists them.
constexpr TechnicalLayer kTechnicalLayers[] = {
    {kBAdhes, "B.Adhes", "B.Adhesive"},
    {kFAdhes, "F.Adhes", "F.Adhesive"},
    {kBPaste, "B.Paste", nullptr},
    {kFPaste, "F.Paste", nullptr},
    {kBSilkS, "B.SilkS", "B.Silkscreen"},
    {kFSilkS, "F.SilkS", "F.Silkscreen"},
    {kBMask, "B.Mask", nullptr},
    {kFMask, "F.Mask", nullptr},
    {kDwgsUser, "Dwgs.User", "User.Drawings"},
    {kCmtsUser, "Cmts.User", "User.Comments"},
    {kEco1User, "Eco1.User", "User.Eco1"},
    {kEco2User, "Eco2.User", "User.Eco2"},
    {kEdgeCuts, "Edge.Cuts", nullptr},
    {kMargin, "Margin", nullptr},
    {kBCrtYd, "B.CrtYd", "B.Courtyard"},
    {kFCrtYd, "F.CrtYd", "F.Courtyard"},
    {kBFab, "B.Fab", nullptr},
    {kFFab, "F.Fab", nullptr},
};

// The KiCad layers the shared rows fill, in order; the last takes the rest.
constexpr int kSharedLayers[] = {kDwgsUser, kCmtsUser, kEco1User, kEco2User};

constexpr uint8_t Bit(LayerUse use) { return static_cast<uint8_t>(1u << static_cast<unsigned>(use)); }

}  // namespace

std::string KicadLayerName(int layer) {
  if (layer == kFCu) return "F.Cu";
  if (layer == kBCu) return "B.Cu";
  if (layer > kFCu && layer < kBCu) return "In" + std::to_string(layer) + ".Cu";
  for (const TechnicalLayer& t : kTechnicalLayers) {
    if (t.layer == layer) return t.name;
  }
  if (layer >= kUser1 && layer <= kLastKicadLayer) return "User." + std::to_string(layer - kUser1 + 1);
  return "";
}

const LayerMapping& MappingOf(int legacy) {
  for (const LayerMapping& m : kLayerMappings) {
    if (legacy >= m.first && legacy <= m.last) return m;
  }
  return kLayerMappings[0];
}

LayerPlan::LayerPlan(const std::vector<int>& stack, const std::array<std::string, ORVIK_LEGACY_LAYER_COUNT>& names,
                     bool wholeStack)
    : stack_(stack), wholeStack_(wholeStack) {
  for (std::size_t i = 0; i < names.size(); ++i) names_[i] = text::Windows1252ToUtf8(names[i]);
  assigned_.fill(kNoKicadLayer);
}

void LayerPlan::Use(int legacy, LayerUse use) {
  if (legacy >= 0 && legacy < ORVIK_LEGACY_LAYER_COUNT) uses_[static_cast<std::size_t>(legacy)] |= Bit(use);
}

void LayerPlan::Finish() {
  // Inner copper: the stack's inner layers in its order (those in use, or
  // all of them), then the others in use, by number. Past 30 they share the
  // last inner layer.
  std::vector<int> inner;
  std::array<bool, ORVIK_LEGACY_LAYER_COUNT> inStack{};
  for (const int legacy : stack_) {
    if (MappingOf(legacy).rule != LayerRule::kInner || inStack[static_cast<std::size_t>(legacy)]) continue;
    inStack[static_cast<std::size_t>(legacy)] = true;
    if (wholeStack_ || uses_[static_cast<std::size_t>(legacy)] != 0) {
      inner.push_back(legacy);
    } else {
      ++unusedStackLayers_;
    }
  }
  std::vector<int> shared;
  for (int legacy = 0; legacy < ORVIK_LEGACY_LAYER_COUNT; ++legacy) {
    if (uses_[static_cast<std::size_t>(legacy)] == 0) continue;
    const LayerRule rule = MappingOf(legacy).rule;
    if (rule == LayerRule::kInner && std::find(inner.begin(), inner.end(), legacy) == inner.end()) {
      inner.push_back(legacy);
    }
    if (rule == LayerRule::kShared || rule == LayerRule::kMulti) shared.push_back(legacy);
  }
  for (std::size_t i = 0; i < inner.size(); ++i) {
    const int kicad = static_cast<int>(std::min<std::size_t>(i + 1, kMaxInnerCopper));
    const auto legacy = static_cast<std::size_t>(inner[i]);
    assigned_[legacy] = kicad;
    if (OrvikIsInternalPlane(inner[i])) {
      ++planeCount_;
      planes_.push_back({inner[i], kicad});
    }
  }
  // Past the last layer of a group, the layers share it with the one there.
  if (inner.size() > kMaxInnerCopper) sharedCount_ += static_cast<int>(inner.size() - kMaxInnerCopper + 1);
  if (shared.size() > std::size(kSharedLayers)) {
    sharedCount_ += static_cast<int>(shared.size() - std::size(kSharedLayers) + 1);
  }
  const int innerCount = static_cast<int>(std::min<std::size_t>(inner.size(), kMaxInnerCopper));
  copperCount_ = 2 + innerCount + innerCount % 2;
  for (std::size_t i = 0; i < shared.size(); ++i) {
    assigned_[static_cast<std::size_t>(shared[i])] = kSharedLayers[std::min(i, std::size(kSharedLayers) - 1)];
  }

  // User names: the host's name of the first legacy layer on each KiCad
  // layer, unless empty or taken by a KiCad layer name or an earlier name.
  std::vector<std::string> taken;
  for (int layer = kFCu; layer <= kLastKicadLayer; ++layer) taken.push_back(KicadLayerName(layer));
  auto name = [&](int kicad, int legacy) {
    if (kicad < 0 || !userNames_[static_cast<std::size_t>(kicad)].empty() || kicad == kEdgeCuts) return;
    const std::string& host = names_[static_cast<std::size_t>(legacy)];
    if (host.empty() || std::find(taken.begin(), taken.end(), host) != taken.end()) {
      ++namesNotKept_;
      return;
    }
    taken.push_back(host);
    userNames_[static_cast<std::size_t>(kicad)] = host;
  };
  for (const LayerMapping& m : kLayerMappings) {
    for (int legacy = m.first; legacy <= m.last; ++legacy) {
      if (m.rule == LayerRule::kFixed) name(m.kicad + (legacy - m.first), legacy);
      if (m.rule == LayerRule::kMechanical1) name(kUser1, legacy);
    }
  }
  for (const int legacy : inner) name(assigned_[static_cast<std::size_t>(legacy)], legacy);
  for (const int legacy : shared) name(assigned_[static_cast<std::size_t>(legacy)], legacy);
  for (const Plane& plane : planes_) power_[static_cast<std::size_t>(plane.kicad)] = true;
}

int LayerPlan::LayerOf(int legacy, LayerUse use) const {
  const LayerMapping& m = MappingOf(legacy);
  switch (m.rule) {
    case LayerRule::kFixed:
      return m.kicad + (legacy - m.first);
    case LayerRule::kMechanical1:
      return use == LayerUse::kLine ? kEdgeCuts : kUser1;
    case LayerRule::kInner:
    case LayerRule::kShared:
    case LayerRule::kMulti:
      return assigned_[static_cast<std::size_t>(legacy)];
    case LayerRule::kNone:
      break;
  }
  return kNoKicadLayer;
}

std::string LayerPlan::LayersSection() const {
  std::string out = "  (layers\n";
  auto row = [&](int layer, const char* type, const char* defaultUserName) {
    out += "    (" + std::to_string(layer) + " ";
    AppendQuoted(out, KicadLayerName(layer));
    out += " ";
    out += type;
    const std::string& user =
        layer < static_cast<int>(userNames_.size()) ? userNames_[static_cast<std::size_t>(layer)] : std::string();
    if (!user.empty()) {
      out += " ";
      AppendQuoted(out, user);
    } else if (defaultUserName != nullptr) {
      out += " ";
      AppendQuoted(out, defaultUserName);
    }
    out += ")\n";
  };
  const int innerCount = copperCount_ - 2;
  row(kFCu, "signal", nullptr);
  for (int layer = 1; layer <= innerCount; ++layer) {
    row(layer, power_[static_cast<std::size_t>(layer)] ? "power" : "signal", nullptr);
  }
  row(kBCu, "signal", nullptr);
  for (const TechnicalLayer& t : kTechnicalLayers) row(t.layer, "user", t.defaultUserName);
  for (int layer = kUser1; layer <= kLastKicadLayer; ++layer) row(layer, "user", nullptr);
  out += "  )\n";
  return out;
}

}  // namespace orvik::host::kicad
