#include "host/orvik-host/kicad/KicadSource.h"

#include <algorithm>
#include <unordered_map>

#include "host/orvik-host/HostReads.h"
#include "host/orvik-host/SceneReader.h"

namespace orvik::host::kicad {

namespace {

// Argument positions (after mode and handle) of the attributes read here.
constexpr int32_t kPadTopSizePosition = 8, kPadMidSizePosition = 10, kPadBottomSizePosition = 12;
constexpr int32_t kPadTopShapePosition = 15;
constexpr int32_t kComponentLayerPosition = 2, kComponentPatternPosition = 6, kComponentXPosition = 9,
                  kComponentYPosition = 10, kComponentRotationPosition = 12;
constexpr int32_t kNetNamePosition = 1;
// Layer queries, after the layer: name, thickness, two bytes, the links.
constexpr int32_t kPrevLayerPosition = 4, kNextLayerPosition = 5;
// An internal plane's query answers its net's name after the links.
constexpr int32_t kPlaneNetPosition = 6;
// The stack mode in which a pad keeps a size and shape per layer.
constexpr uint8_t kFullStackMode = 2;

int32_t ReadInt(const KovlanApi& api, uint32_t handle, const char* entryPoint, int32_t position) {
  return ReadValue<int32_t>(api, handle, entryPoint, position).value_or(0);
}

template <typename T>
T ReadLayerValue(const KovlanApi& api, uint32_t handle, const char* entryPoint, int layer, int32_t position) {
  T value{};
  if (api.ReadLayerAttribute(handle, entryPoint, layer, position, &value, static_cast<int32_t>(sizeof value)) !=
      static_cast<int32_t>(sizeof value)) {
    return T{};
  }
  return value;
}

constexpr uint8_t kRoundedRectangle = kShapeRoundedRectangle;

// Corner percentages count for rounded rectangles only.
PadFace Normalised(PadFace f) {
  if (f.shape != kRoundedRectangle) f.cornerPercent = 0;
  return f;
}

PadFace FaceOnLayer(const KovlanApi& api, uint32_t pad, int layer) {
  PadFace f;
  f.xSize = ReadLayerValue<int32_t>(api, pad, "PcbApi_QueryPadOrViaSizeOnLayer", layer, 0);
  f.ySize = ReadLayerValue<int32_t>(api, pad, "PcbApi_QueryPadOrViaSizeOnLayer", layer, 1);
  f.shape = ReadLayerValue<uint8_t>(api, pad, "PcbApi_QueryPadOrViaShapeOnLayer", layer, 0);
  f.cornerPercent = ReadLayerValue<uint8_t>(api, pad, "PcbApi_QueryPadCRPercentageOnLayer", layer, 0);
  return Normalised(f);
}

// A simple stack: top, mid and bottom sizes and shapes; the corner
// percentages are kept per layer.
PadFace FaceOfPart(const KovlanApi& api, uint32_t pad, int32_t sizePosition, int part, int layer) {
  PadFace f;
  f.xSize = ReadInt(api, pad, "PcbApi_QueryPad", sizePosition);
  f.ySize = ReadInt(api, pad, "PcbApi_QueryPad", sizePosition + 1);
  f.shape = ReadValue<uint8_t>(api, pad, "PcbApi_QueryPad", kPadTopShapePosition + part).value_or(0);
  if (f.shape == kRoundedRectangle) {
    f.cornerPercent = ReadLayerValue<uint8_t>(api, pad, "PcbApi_QueryPadCRPercentageOnLayer", layer, 0);
  }
  return f;
}

PadStack ReadPadStack(const KovlanApi& api, uint32_t pad) {
  PadStack s;
  if (ReadValue<uint8_t>(api, pad, "PcbApi_QueryPadStackMode", 0).value_or(0) == kFullStackMode) {
    s.top = FaceOnLayer(api, pad, ORVIK_LAYER_TopLayer);
    s.bottom = FaceOnLayer(api, pad, ORVIK_LAYER_BottomLayer);
    for (int layer = ORVIK_LAYER_MidLayer1; layer <= ORVIK_LAYER_MidLayer30 && !s.innerDiffers; ++layer) {
      s.innerDiffers = !(FaceOnLayer(api, pad, layer) == s.top);
    }
    return s;
  }
  s.top = FaceOfPart(api, pad, kPadTopSizePosition, 0, ORVIK_LAYER_TopLayer);
  s.bottom = FaceOfPart(api, pad, kPadBottomSizePosition, 2, ORVIK_LAYER_BottomLayer);
  s.innerDiffers = !(FaceOfPart(api, pad, kPadMidSizePosition, 1, ORVIK_LAYER_MidLayer1) == s.top);
  return s;
}

SourceText ReadText(const KovlanApi& api, uint32_t handle) {
  SourceText t;
  if (handle == 0 || api.ObjectKind(handle) != ORVIK_KIND_TEXT) return t;
  t.text.handle = handle;
  t.present = ReadPrimitive(api, handle, ORVIK_KIND_TEXT, t.text);
  return t;
}

SourceComponent ReadComponent(const KovlanApi& api, uint32_t handle) {
  SourceComponent c;
  c.handle = handle;
  c.x = ReadInt(api, handle, "PcbApi_QueryComponent", kComponentXPosition);
  c.y = ReadInt(api, handle, "PcbApi_QueryComponent", kComponentYPosition);
  c.rotation = ReadValue<double>(api, handle, "PcbApi_QueryComponent", kComponentRotationPosition).value_or(0.0);
  c.layer = ReadValue<uint8_t>(api, handle, "PcbApi_QueryComponent", kComponentLayerPosition).value_or(0);
  c.pattern = ReadShortString(api, handle, "PcbApi_QueryComponent", kComponentPatternPosition);
  const ComponentLabels labels = ReadComponentLabels(api, handle);
  c.designator = ReadText(api, labels.designator);
  c.comment = ReadText(api, labels.comment);
  return c;
}

int LayerLink(const KovlanApi& api, uint32_t board, int layer, int32_t position) {
  return ReadLayerValue<uint8_t>(api, board, LayerQuery(layer), layer, position);
}

// The copper chain: from the first layer (by number) with no layer above
// but one below, along the links; a link out of range or back ends it.
std::vector<int> ReadCopperStack(const KovlanApi& api, uint32_t board) {
  int first = 0;
  for (int layer = 1; layer < ORVIK_LEGACY_LAYER_COUNT && first == 0; ++layer) {
    if (LayerLink(api, board, layer, kPrevLayerPosition) == 0 &&
        LayerLink(api, board, layer, kNextLayerPosition) != 0) {
      first = layer;
    }
  }
  std::vector<int> stack;
  std::array<bool, ORVIK_LEGACY_LAYER_COUNT> seen{};
  for (int layer = first; layer >= 1 && layer < ORVIK_LEGACY_LAYER_COUNT && !seen[static_cast<std::size_t>(layer)];
       layer = LayerLink(api, board, layer, kNextLayerPosition)) {
    seen[static_cast<std::size_t>(layer)] = true;
    stack.push_back(layer);
  }
  return stack;
}

}  // namespace

KicadSource ReadKicadSource(const KovlanApi& api, const BoardScene& scene) {
  KicadSource source{scene};
  const uint32_t board = api.BoardHandle();

  std::unordered_map<uint32_t, std::size_t> componentIndex;
  std::vector<uint32_t> netHandles;
  for (const uint32_t handle : Members(api, board)) {
    const uint8_t kind = api.ObjectKind(handle);
    if (kind == ORVIK_KIND_COMPONENT && !componentIndex.contains(handle)) {
      componentIndex.emplace(handle, source.components.size());
      source.components.push_back(ReadComponent(api, handle));
    }
    if (kind == ORVIK_KIND_NET) netHandles.push_back(handle);
  }
  std::sort(source.components.begin(), source.components.end(),
            [](const SourceComponent& a, const SourceComponent& b) { return a.handle < b.handle; });
  for (std::size_t i = 0; i < source.components.size(); ++i) componentIndex[source.components[i].handle] = i;

  const std::vector<Primitive>& primitives = source.scene.primitives;
  source.padStackOf.assign(primitives.size(), -1);
  for (std::size_t i = 0; i < primitives.size(); ++i) {
    const Primitive& p = primitives[i];
    if (p.netHandle != 0) netHandles.push_back(p.netHandle);
    if (std::holds_alternative<PadShape>(p.shape)) {
      source.padStackOf[i] = static_cast<int32_t>(source.padStacks.size());
      source.padStacks.push_back(ReadPadStack(api, p.handle));
    }
    const auto it = componentIndex.find(p.componentHandle);
    if (it != componentIndex.end()) source.components[it->second].members.push_back(i);
  }

  std::sort(netHandles.begin(), netHandles.end());
  netHandles.erase(std::unique(netHandles.begin(), netHandles.end()), netHandles.end());
  for (const uint32_t handle : netHandles) {
    source.nets.push_back({handle, ReadShortString(api, handle, "PcbApi_QueryNet", kNetNamePosition)});
  }

  source.copperStack = ReadCopperStack(api, board);
  for (int layer = 0; layer < ORVIK_LEGACY_LAYER_COUNT; ++layer) {
    source.layerNames[static_cast<std::size_t>(layer)] = ReadLayerName(api, board, layer);
    if (!OrvikIsInternalPlane(layer)) continue;
    OrvikShortString net{};
    if (api.ReadLayerAttribute(board, LayerQuery(layer), layer, kPlaneNetPosition, &net,
                               static_cast<int32_t>(sizeof net)) == static_cast<int32_t>(sizeof net)) {
      source.planeNets[static_cast<std::size_t>(layer)] = std::string(net.text, net.length);
    }
  }
  return source;
}

}  // namespace orvik::host::kicad
