#include "host/kovlan/ObjectServices.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <string_view>

#include "host/kovlan/Attributes.h"

namespace kovlan {

std::string DisplayText(const ObjectStore& objects, uint32_t handle) {
  const HostObject* o = objects.Find(handle);
  std::string text;
  if (o == nullptr) return text;
  if (o->kind == ORVIK_KIND_COMPONENT) {
    int64_t designator = 0;
    FieldValue(objects, handle, Api::QueryComponent, 0, "designatorHandle", &designator);
    const HostObject* d = objects.Find(static_cast<uint32_t>(designator));
    if (d != nullptr && d->kind == ORVIK_KIND_TEXT)
      FieldString(objects, static_cast<uint32_t>(designator), Api::QueryText, 0, "text", &text);
    return text;
  }
  FieldString(objects, handle, Api::QueryText, 0, "text", &text);
  return text;
}

int32_t DisplayString(const ObjectStore& objects, char* buffer256, uint32_t handle) {
  const HostObject* o = objects.Find(handle);
  if (buffer256 == nullptr || o == nullptr || (o->kind != ORVIK_KIND_TEXT && o->kind != ORVIK_KIND_COMPONENT)) return 1;
  const std::string text = DisplayText(objects, handle);
  const std::size_t n = std::min<std::size_t>(text.size(), ORVIK_DISPLAY_STRING_SIZE - 1);
  std::memcpy(buffer256, text.data(), n);
  buffer256[n] = '\0';
  return 0;
}

int32_t BoundingRectangle(const ObjectStore& objects, uint32_t handle, int32_t* b1, int32_t* b2, int32_t* b3,
                          int32_t* b4) {
  const HostObject* o = objects.Find(handle);
  if (o == nullptr || o->kind == kBoardKind || !b1 || !b2 || !b3 || !b4) return 1;
  int64_t left = 0, bottom = 0, right = 0, top = 0;
  auto get = [&](Api api, std::string_view name) {
    int64_t v = 0;
    FieldValue(objects, handle, api, 0, name, &v);
    return v;
  };
  auto around = [&](int64_t x, int64_t y, int64_t half) {
    left = x - half;
    right = x + half;
    bottom = y - half;
    top = y + half;
  };
  // The rectangle between two corners, grown by `half` on every side.
  auto between = [&](Api api, int64_t half) {
    const int64_t x1 = get(api, "x1"), x2 = get(api, "x2");
    const int64_t y1 = get(api, "y1"), y2 = get(api, "y2");
    left = std::min(x1, x2) - half;
    right = std::max(x1, x2) + half;
    bottom = std::min(y1, y2) - half;
    top = std::max(y1, y2) + half;
  };
  switch (o->kind) {
    case ORVIK_KIND_ARC:
      around(get(Api::QueryArc, "x"), get(Api::QueryArc, "y"),
             get(Api::QueryArc, "radius") + get(Api::QueryArc, "width") / 2);
      break;
    case ORVIK_KIND_PAD: {
      int64_t half = 0;
      for (const char* name : {"topXSize", "topYSize", "midXSize", "midYSize", "botXSize", "botYSize"}) {
        half = std::max(half, get(Api::QueryPad, name) / 2);
      }
      around(get(Api::QueryPad, "x"), get(Api::QueryPad, "y"), half);
      break;
    }
    case ORVIK_KIND_VIA:
      around(get(Api::QueryVia, "x"), get(Api::QueryVia, "y"), get(Api::QueryVia, "size") / 2);
      break;
    case ORVIK_KIND_TRACK:
      between(Api::QueryTrack, get(Api::QueryTrack, "width") / 2);
      break;
    case ORVIK_KIND_TEXT:
      left = right = get(Api::QueryText, "x");
      bottom = top = get(Api::QueryText, "y");
      top += get(Api::QueryText, "height");
      break;
    case ORVIK_KIND_FILL:
      between(Api::QueryFill, 0);
      break;
    case ORVIK_KIND_COMPONENT:
      around(get(Api::QueryComponent, "x"), get(Api::QueryComponent, "y"), 0);
      break;
    default:
      break;
  }
  auto clamp = [](int64_t v) {
    return static_cast<int32_t>(
        std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
  };
  *b1 = clamp(left);
  *b2 = clamp(bottom);
  *b3 = clamp(right);
  *b4 = clamp(top);
  return 0;
}

}  // namespace kovlan
