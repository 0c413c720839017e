#include "host/orvik-host/SceneReader.h"

#include <algorithm>
#include <limits>
#include <map>
#include <set>

#include "host/orvik-host/HostReads.h"

namespace orvik::host {

namespace {

// Argument positions (after mode and handle) of the primitive attributes.
// Shared by every primitive query: layer at 2 (a layer identifier, or a
// legacy layer byte for vias).
constexpr int32_t kLayerPosition = 2;
// Tracks and fills: the two corners from 6, then the width (tracks).
constexpr int32_t kX1Position = 6, kY1Position = 7, kX2Position = 8, kY2Position = 9, kTrackWidthPosition = 10;
constexpr int32_t kFillRotationPosition = 11;
// Every other primitive: its X and Y.
constexpr int32_t kXPosition = 6, kYPosition = 7;
constexpr int32_t kArcRadiusPosition = 8, kArcStartPosition = 9, kArcEndPosition = 10, kArcWidthPosition = 11;
// Pads: top, mid and bottom X and Y sizes from 8, the hole, the three shape
// codes, the name and two bytes, then the rotation.
constexpr int32_t kPadTopSizePosition = 8, kPadMidSizePosition = 10, kPadBottomSizePosition = 12;
constexpr int32_t kPadHolePosition = 14, kPadTopShapePosition = 15, kPadNamePosition = 18;
constexpr int32_t kPadRotationPosition = 21;
constexpr int32_t kViaSizePosition = 8, kViaHolePosition = 9;
constexpr int32_t kTextHeightPosition = 8, kTextRotationPosition = 10, kTextMirroredPosition = 11,
                  kTextTextPosition = 12, kTextWidthPosition = 13;
// Layer queries: the name is the first value after the layer.
constexpr int32_t kLayerNamePosition = 0;

// One object's attributes of one query.
class AttributeReader {
 public:
  AttributeReader(const KovlanApi& api, uint32_t handle, const char* entryPoint) noexcept
      : api_(api), handle_(handle), entryPoint_(entryPoint) {}

  [[nodiscard]] int64_t Length(int32_t position) const {
    return ReadValue<int32_t>(api_, handle_, entryPoint_, position).value_or(0);
  }
  [[nodiscard]] double Angle(int32_t position) const {
    return ReadValue<double>(api_, handle_, entryPoint_, position).value_or(0.0);
  }
  [[nodiscard]] uint8_t Byte(int32_t position) const {
    return ReadValue<uint8_t>(api_, handle_, entryPoint_, position).value_or(0);
  }
  [[nodiscard]] int Layer() const {
    return LegacyLayerOf(ReadValue<uint32_t>(api_, handle_, entryPoint_, kLayerPosition).value_or(0));
  }
  [[nodiscard]] std::string String(int32_t position) const {
    return ReadShortString(api_, handle_, entryPoint_, position);
  }

 private:
  const KovlanApi& api_;
  uint32_t handle_;
  const char* entryPoint_;
};

// Sizes and shape code of the stack part a pad is drawn with: bottom sizes
// on the bottom layer, mid sizes on inner layers, top sizes elsewhere.
PadShape ReadPad(const KovlanApi& api, uint32_t handle, int layer) {
  const AttributeReader r(api, handle, "PcbApi_QueryPad");
  PadShape p;
  p.x = r.Length(kXPosition);
  p.y = r.Length(kYPosition);
  int32_t sizePosition = kPadTopSizePosition;
  int32_t part = 0;  // top, mid, bottom
  if (layer == kBottomLayer) {
    sizePosition = kPadBottomSizePosition;
    part = 2;
  } else if (layer > kTopLayer && layer < kBottomLayer) {
    sizePosition = kPadMidSizePosition;
    part = 1;
  }
  p.xSize = r.Length(sizePosition);
  p.ySize = r.Length(sizePosition + 1);
  p.holeSize = r.Length(kPadHolePosition);
  p.shape = r.Byte(kPadTopShapePosition + part);
  p.name = r.String(kPadNamePosition);
  p.rotation = r.Angle(kPadRotationPosition);
  if (p.shape == kShapeRoundedRectangle) {
    const int percentLayer = layer >= kTopLayer && layer <= kBottomLayer ? layer : kTopLayer;
    uint8_t percent = 0;
    if (api.ReadLayerAttribute(handle, "PcbApi_QueryPadCRPercentageOnLayer", percentLayer, 0, &percent,
                               static_cast<int32_t>(sizeof percent)) == static_cast<int32_t>(sizeof percent)) {
      p.cornerPercent = percent;
    }
  }
  return p;
}

}  // namespace

bool ReadPrimitive(const KovlanApi& api, uint32_t handle, uint8_t kind, Primitive& out) {
  switch (kind) {
    case ORVIK_KIND_TRACK: {
      const AttributeReader r(api, handle, "PcbApi_QueryTrack");
      out.layer = r.Layer();
      out.shape = TrackShape{r.Length(kX1Position), r.Length(kY1Position), r.Length(kX2Position), r.Length(kY2Position),
                             r.Length(kTrackWidthPosition)};
      return true;
    }
    case ORVIK_KIND_ARC: {
      const AttributeReader r(api, handle, "PcbApi_QueryArc");
      out.layer = r.Layer();
      out.shape = ArcShape{r.Length(kXPosition),       r.Length(kYPosition),     r.Length(kArcRadiusPosition),
                           r.Angle(kArcStartPosition), r.Angle(kArcEndPosition), r.Length(kArcWidthPosition)};
      return true;
    }
    case ORVIK_KIND_PAD: {
      out.layer = AttributeReader(api, handle, "PcbApi_QueryPad").Layer();
      out.shape = ReadPad(api, handle, out.layer);
      return true;
    }
    case ORVIK_KIND_VIA: {
      const AttributeReader r(api, handle, "PcbApi_QueryVia");
      const uint8_t legacy = r.Byte(kLayerPosition);
      out.layer = legacy <= kMaxLayer ? legacy : 0;
      out.shape =
          ViaShape{r.Length(kXPosition), r.Length(kYPosition), r.Length(kViaSizePosition), r.Length(kViaHolePosition)};
      return true;
    }
    case ORVIK_KIND_FILL: {
      const AttributeReader r(api, handle, "PcbApi_QueryFill");
      out.layer = r.Layer();
      out.shape = FillShape{r.Length(kX1Position), r.Length(kY1Position), r.Length(kX2Position), r.Length(kY2Position),
                            r.Angle(kFillRotationPosition)};
      return true;
    }
    case ORVIK_KIND_TEXT: {
      const AttributeReader r(api, handle, "PcbApi_QueryText");
      out.layer = r.Layer();
      out.shape =
          TextShape{r.Length(kXPosition),         r.Length(kYPosition),           r.Length(kTextHeightPosition),
                    r.Length(kTextWidthPosition), r.Angle(kTextRotationPosition), r.Byte(kTextMirroredPosition) != 0,
                    r.String(kTextTextPosition)};
      return true;
    }
    default:
      return false;
  }
}

std::string ReadLayerName(const KovlanApi& api, uint32_t board, int layer) {
  OrvikShortString name{};
  if (api.ReadLayerAttribute(board, LayerQuery(layer), layer, kLayerNamePosition, &name,
                             static_cast<int32_t>(sizeof name)) == static_cast<int32_t>(sizeof name) &&
      name.length != 0) {
    return std::string(name.text, name.length);
  }
  return DefaultLayerName(layer);
}

namespace {

// Names of nets and components, read once each.
class GroupNames {
 public:
  explicit GroupNames(const KovlanApi& api) noexcept : api_(api) {}

  const std::string& Of(uint32_t handle, uint8_t kind) {
    auto it = names_.find(handle);
    if (it == names_.end()) {
      it = names_.emplace(handle, kind == ORVIK_KIND_NET ? NetName(api_, handle) : ComponentName(api_, handle)).first;
    }
    return it->second;
  }

 private:
  const KovlanApi& api_;
  std::map<uint32_t, std::string> names_;
};

// The primitive kinds ReadPrimitive reads.
constexpr uint8_t kPrimitiveKinds[] = {ORVIK_KIND_ARC,   ORVIK_KIND_PAD,  ORVIK_KIND_VIA,
                                       ORVIK_KIND_TRACK, ORVIK_KIND_TEXT, ORVIK_KIND_FILL};

// Primitives in no container at all (tracks on MultiLayer, objects whose
// component number matched none), which no walk of the board reaches: the
// module's primitives less the `reached` candidates and the designator and
// comment texts the placed components show.
int64_t Unreached(const KovlanApi& api, const std::vector<uint32_t>& candidates, const std::set<uint32_t>& components,
                  int64_t reached) {
  int64_t created = 0;
  for (const uint8_t kind : kPrimitiveKinds) created += std::max(api.ObjectCount(kind), 0);
  std::set<uint32_t> labels;
  for (const uint32_t component : components) {
    const ComponentLabels l = ReadComponentLabels(api, component);
    for (const uint32_t text : {l.designator, l.comment}) {
      if (text != 0 && api.ObjectKind(text) == ORVIK_KIND_TEXT &&
          !std::binary_search(candidates.begin(), candidates.end(), text)) {
        labels.insert(text);
      }
    }
  }
  return std::max<int64_t>(created - reached - static_cast<int64_t>(labels.size()), 0);
}

}  // namespace

BoardScene ReadBoardScene(const KovlanApi& api) {
  BoardScene scene;
  const uint32_t board = api.BoardHandle();
  std::set<uint32_t> components;
  std::vector<uint32_t> candidates;
  for (const uint32_t handle : Members(api, board)) {
    const uint8_t kind = api.ObjectKind(handle);
    if (kind == ORVIK_KIND_COMPONENT) components.insert(handle);
    if (kind == ORVIK_KIND_COMPONENT || kind == ORVIK_KIND_NET) {
      const std::vector<uint32_t> members = Members(api, handle);
      candidates.insert(candidates.end(), members.begin(), members.end());
    } else {
      candidates.push_back(handle);
    }
  }
  std::sort(candidates.begin(), candidates.end());
  candidates.erase(std::unique(candidates.begin(), candidates.end()), candidates.end());

  GroupNames names(api);
  std::set<int> layers;
  int64_t reached = 0;  // primitives among the candidates
  for (const uint32_t handle : candidates) {
    Primitive p;
    p.handle = handle;
    if (!ReadPrimitive(api, handle, api.ObjectKind(handle), p)) continue;
    ++reached;
    bool placed = false;
    for (const uint32_t container : Memberships(api, handle)) {
      const uint8_t kind = api.ObjectKind(container);
      if (container == board || components.contains(container)) placed = true;
      if (kind == ORVIK_KIND_NET && p.netHandle == 0) {
        p.netHandle = container;
        p.net = names.Of(container, kind);
      }
      if (kind == ORVIK_KIND_COMPONENT && p.componentHandle == 0) {
        p.componentHandle = container;
        p.component = names.Of(container, kind);
      }
    }
    if (!placed || p.layer == 0) {
      ++scene.unplaced;
      continue;
    }
    layers.insert(p.layer);
    scene.primitives.push_back(std::move(p));
  }
  scene.unplaced += static_cast<int32_t>(
      std::min<int64_t>(Unreached(api, candidates, components, reached), std::numeric_limits<int32_t>::max()));
  for (const int layer : layers) scene.layers.push_back({layer, ReadLayerName(api, board, layer)});
  SortLayersForDrawing(scene.layers);
  return scene;
}

}  // namespace orvik::host
