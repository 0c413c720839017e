// The values every new object of a kind starts with.
#include <utility>

#include "host/kovlan/Attributes.h"
#include "host/kovlan/ObjectStore.h"

namespace kovlan {

void SeedTemplates(ObjectStore& objects) {
  auto set = [&](HostObject& object, Api api, int32_t key, std::string_view name, double value) {
    SetFieldValue(objects, object, api, key, name, value);
  };
  HostObject& arc = objects.Template(ORVIK_KIND_ARC);
  arc.base.layerId = ORVIK_LAYER_TopLayer;
  set(arc, Api::QueryArc, 0, "radius", 100000);
  set(arc, Api::QueryArc, 0, "endAngle", 360.0);
  set(arc, Api::QueryArc, 0, "width", 100000);

  HostObject& pad = objects.Template(ORVIK_KIND_PAD);
  pad.base.layerId = ORVIK_LAYER_MultiLayer;
  for (const char* size : {"topXSize", "topYSize", "midXSize", "midYSize", "botXSize", "botYSize"}) {
    set(pad, Api::QueryPad, 0, size, 600000);
  }
  for (const char* shape : {"topShape", "midShape", "botShape"}) set(pad, Api::QueryPad, 0, shape, 1);
  set(pad, Api::QueryPad, 0, "holeSize", 300000);

  HostObject& via = objects.Template(ORVIK_KIND_VIA);
  via.base.layerId = ORVIK_LAYER_MultiLayer;
  set(via, Api::QueryVia, 0, "size", 500000);
  set(via, Api::QueryVia, 0, "holeSize", 280000);

  for (int layer = ORVIK_LAYER_TopLayer; layer <= ORVIK_LAYER_BottomLayer; ++layer) {
    for (auto [object, size] : {std::pair{&pad, 600000}, std::pair{&via, 500000}}) {
      set(*object, Api::QueryPadOrViaSizeOnLayer, layer, "xSize", size);
      set(*object, Api::QueryPadOrViaSizeOnLayer, layer, "ySize", size);
      set(*object, Api::QueryPadOrViaShapeOnLayer, layer, "shape", 1);
    }
  }

  HostObject& track = objects.Template(ORVIK_KIND_TRACK);
  track.base.layerId = ORVIK_LAYER_TopLayer;
  set(track, Api::QueryTrack, 0, "width", 100000);

  HostObject& text = objects.Template(ORVIK_KIND_TEXT);
  text.base.layerId = ORVIK_LAYER_TopOverlay;
  set(text, Api::QueryText, 0, "height", 600000);
  set(text, Api::QueryText, 0, "width", 100000);
  SetFieldText(objects, text, Api::QueryTrueTypeTextInfo, 0, "fontName", "Arial");

  for (uint8_t kind : {ORVIK_KIND_FILL, ORVIK_KIND_POLYGON, ORVIK_KIND_REGION, ORVIK_KIND_EMBEDDED_BOARD,
                       ORVIK_KIND_SPLIT_PLANE, ORVIK_KIND_BOARD_OUTLINE, ORVIK_KIND_COMPONENT}) {
    objects.Template(kind).base.layerId = ORVIK_LAYER_TopLayer;
  }
  for (uint8_t kind : {ORVIK_KIND_DIMENSION, ORVIK_KIND_COORDINATE})
    objects.Template(kind).base.layerId = ORVIK_LAYER_TopOverlay;
}

}  // namespace kovlan
