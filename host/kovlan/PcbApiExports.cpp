// The entry points the plug-in calls, defined against their prototypes.
// Each journals its call and goes to the part of the host that answers it;
// the stored exchanges take the one query road of Boundary.h.
#define ORVIK_PCBAPI_DECLARE_EXPORTS
#include "orvik/pcbapi.h"

#include <tuple>

#include "host/kovlan/Boundary.h"
#include "host/kovlan/Faults.h"
#include "host/kovlan/ObjectServices.h"

using kovlan::Api;
using kovlan::Called;
using kovlan::Guarded;
using kovlan::GuardedVoid;
using kovlan::Host;
using kovlan::KeyedQuery;
using kovlan::LayerQuery;
using kovlan::PadLayerQuery;
using kovlan::PadLayerSet;
using kovlan::Query;

namespace {
// The object behind `handle` once the call is journalled; null for the
// board or an unknown handle.
const kovlan::HostObject* CalledOnObject(Api api, uint32_t handle) {
  const kovlan::HostObject* o = Called(api, handle).objects.Find(handle);
  return o == nullptr || o->kind == kovlan::kBoardKind ? nullptr : o;
}

// For the calls that only need an object: 0 for an object, 1 for the board
// or an unknown handle.
int32_t KnownObject(Api api, uint32_t handle) noexcept {
  return Guarded<int32_t>(1, [&] { return CalledOnObject(api, handle) == nullptr ? 1 : 0; });
}
}  // namespace

// --- Editor and progress

uint32_t ORVIK_STDCALL PcbApi_GetCurrentBoardHandle(void) {
  return Guarded<uint32_t>(0, [] {
    Called(Api::GetCurrentBoardHandle);
    return kovlan::kBoardHandle;
  });
}

void ORVIK_STDCALL PcbApi_Percent_Init(const OrvikStr* message, int32_t total) {
  GuardedVoid([&] { Called(Api::Percent_Init, message, total).progress.Init(message, total); });
}

void ORVIK_STDCALL PcbApi_Percent_Update(void) {
  GuardedVoid([] { Called(Api::Percent_Update).progress.Update(); });
}

void ORVIK_STDCALL PcbApi_Percent_Finish(void) {
  GuardedVoid([] { Called(Api::Percent_Finish).progress.Finish(); });
}

// --- Objects and containers

uint32_t ORVIK_STDCALL PcbApi_CreateObject(uint8_t objectId) {
  return Guarded<uint32_t>(0, [&] {
    Host& host = Called(Api::CreateObject, objectId);
    return kovlan::faults::CreateObjectFails() ? 0u : host.objects.Create(objectId);
  });
}

int32_t ORVIK_STDCALL PcbApi_AddObjectToContainer(uint32_t container, uint32_t object) {
  return Guarded<int32_t>(1, [&] {
    return Called(Api::AddObjectToContainer, container, object).objects.AddToContainer(container, object);
  });
}

uint8_t ORVIK_STDCALL PcbApi_GetObjectIdFromObjectHandle(uint32_t handle) {
  return Guarded<uint8_t>(0, [&] {
    const kovlan::HostObject* o = CalledOnObject(Api::GetObjectIdFromObjectHandle, handle);
    return o == nullptr ? uint8_t{0} : o->kind;
  });
}

int32_t ORVIK_STDCALL PcbApi_GetObjectBitField2(uint8_t mode, uint32_t handle, uint8_t* bits) {
  return Query(Api::GetObjectBitField2, mode, handle, bits);
}

int32_t ORVIK_STDCALL PcbApi_GetObjectBitField3(uint8_t mode, uint32_t handle, uint16_t* bits) {
  return Query(Api::GetObjectBitField3, mode, handle, bits);
}

int32_t ORVIK_STDCALL PcbApi_QueryObjectBoundingRectangle(uint32_t handle, int32_t* b1, int32_t* b2, int32_t* b3,
                                                          int32_t* b4) {
  return Guarded<int32_t>(1, [&] {
    return kovlan::BoundingRectangle(Called(Api::QueryObjectBoundingRectangle, handle).objects, handle, b1, b2, b3, b4);
  });
}

int32_t ORVIK_STDCALL PcbApi_QueryObjectImport_FromUser(uint32_t handle) {
  return KnownObject(Api::QueryObjectImport_FromUser, handle);
}

int32_t ORVIK_STDCALL PcbApi_QueryObjectGraphicallyInvalidate(uint32_t handle) {
  return KnownObject(Api::QueryObjectGraphicallyInvalidate, handle);
}

int32_t ORVIK_STDCALL PcbApi_GetDesignatorDisplayString(char* buffer256, uint32_t handle) {
  return Guarded<int32_t>(1, [&] {
    const int32_t status =
        kovlan::DisplayString(Called(Api::GetDesignatorDisplayString, handle).objects, buffer256, handle);
    kovlan::faults::AfterDisplayString(buffer256);
    return status;
  });
}

int32_t ORVIK_STDCALL PcbApi_QueryPrimitive(uint8_t mode, uint32_t handle, uint16_t* flags, int16_t* index,
                                            uint32_t* layerId, int32_t* net, int32_t* component, uint8_t* auxByte) {
  return Query(Api::QueryPrimitive, mode, handle, flags, index, layerId, net, component, auxByte);
}

// --- Pads and vias

int32_t ORVIK_STDCALL PcbApi_QueryPad(uint8_t mode, uint32_t handle, uint16_t* flags, int16_t* index, uint32_t* layerId,
                                      int32_t* net, uint8_t* auxByte, int32_t* component, int32_t* x, int32_t* y,
                                      int32_t* topXSize, int32_t* topYSize, int32_t* midXSize, int32_t* midYSize,
                                      int32_t* botXSize, int32_t* botYSize, int32_t* holeSize, uint8_t* topShape,
                                      uint8_t* midShape, uint8_t* botShape, OrvikStr* name, uint8_t* byteA,
                                      uint8_t* byteB, double* rotation, OrvikStr* s1, OrvikStr* s2, int32_t* v1,
                                      OrvikStr* s3, uint8_t* byteC, uint8_t* byteD, int32_t* v2, int64_t* f1,
                                      int32_t* v3, int32_t* v4, int32_t* v5, uint8_t* stackOption1,
                                      uint8_t* stackOption2) {
  return Query(Api::QueryPad, mode, handle, flags, index, layerId, net, auxByte, component, x, y, topXSize, topYSize,
               midXSize, midYSize, botXSize, botYSize, holeSize, topShape, midShape, botShape, name, byteA, byteB,
               rotation, s1, s2, v1, s3, byteC, byteD, v2, f1, v3, v4, v5, stackOption1, stackOption2);
}

int32_t ORVIK_STDCALL PcbApi_QueryPadOrViaShapeOnLayer(uint32_t handle, uint8_t layer, uint8_t* shape) {
  return PadLayerQuery<Api::QueryPadOrViaShapeOnLayer>(handle, layer, shape);
}

int32_t ORVIK_STDCALL PcbApi_QueryPadOrViaSizeOnLayer(uint32_t handle, uint8_t layer, int32_t* xSize, int32_t* ySize) {
  return PadLayerQuery<Api::QueryPadOrViaSizeOnLayer>(handle, layer, xSize, ySize);
}

int32_t ORVIK_STDCALL PcbApi_QueryPadCornerRadiusOnLayer(uint32_t handle, uint8_t layer, int32_t* radius) {
  return PadLayerQuery<Api::QueryPadCornerRadiusOnLayer>(handle, layer, radius);
}

int32_t ORVIK_STDCALL PcbApi_QueryPadCRPercentageOnLayer(uint32_t handle, uint8_t layer, uint8_t* percent) {
  return PadLayerQuery<Api::QueryPadCRPercentageOnLayer>(handle, layer, percent);
}

int32_t ORVIK_STDCALL PcbApi_SetPadShapeOnLayer(uint32_t handle, uint8_t layer, uint8_t shape) {
  return PadLayerSet(Api::SetPadShapeOnLayer, Api::QueryPadOrViaShapeOnLayer, handle, layer, shape);
}

int32_t ORVIK_STDCALL PcbApi_SetPadSizeOnLayer(uint32_t handle, uint8_t layer, int32_t xSize, int32_t ySize) {
  return PadLayerSet(Api::SetPadSizeOnLayer, Api::QueryPadOrViaSizeOnLayer, handle, layer, xSize, ySize);
}

int32_t ORVIK_STDCALL PcbApi_SetCRPctOnLayer(uint32_t handle, uint8_t layer, uint8_t percent) {
  return PadLayerSet(Api::SetCRPctOnLayer, Api::QueryPadCRPercentageOnLayer, handle, layer, percent);
}

int32_t ORVIK_STDCALL PcbApi_QueryPadStackMode(uint8_t mode, uint32_t handle, uint8_t* stackMode) {
  return Query(Api::QueryPadStackMode, mode, handle, stackMode);
}

int32_t ORVIK_STDCALL PcbApi_QueryVia(uint8_t mode, uint32_t handle, uint16_t* flags, int16_t* index,
                                      uint8_t* legacyLayer, int32_t* net, uint8_t* auxByte, int32_t* component,
                                      int32_t* x, int32_t* y, int32_t* size, int32_t* holeSize, uint8_t* viaOption1,
                                      uint8_t* viaOption2, uint8_t* stackOption1, uint8_t* stackOption2) {
  return Query(Api::QueryVia, mode, handle, flags, index, legacyLayer, net, auxByte, component, x, y, size, holeSize,
               viaOption1, viaOption2, stackOption1, stackOption2);
}

// --- Tracks, arcs, texts, fills, regions

int32_t ORVIK_STDCALL PcbApi_QueryTrack(uint8_t mode, uint32_t handle, uint16_t* flags, int16_t* index,
                                        uint32_t* layerId, int32_t* net, uint8_t* auxByte, int32_t* component,
                                        int32_t* x1, int32_t* y1, int32_t* x2, int32_t* y2, int32_t* width,
                                        int32_t* param1, int32_t* param2, int32_t* param3) {
  return Query(Api::QueryTrack, mode, handle, flags, index, layerId, net, auxByte, component, x1, y1, x2, y2, width,
               param1, param2, param3);
}

int32_t ORVIK_STDCALL PcbApi_QueryArc(uint8_t mode, uint32_t handle, uint16_t* flags, int16_t* index, uint32_t* layerId,
                                      int32_t* net, uint8_t* auxByte, int32_t* component, int32_t* x, int32_t* y,
                                      int32_t* radius, double* startAngle, double* endAngle, int32_t* width,
                                      int32_t* param1) {
  return Query(Api::QueryArc, mode, handle, flags, index, layerId, net, auxByte, component, x, y, radius, startAngle,
               endAngle, width, param1);
}

int32_t ORVIK_STDCALL PcbApi_QueryText(uint8_t mode, uint32_t handle, uint16_t* flags, int16_t* index,
                                       uint32_t* layerId, int32_t* net, uint8_t* auxByte, int32_t* component,
                                       int32_t* x, int32_t* y, int32_t* height, int32_t* textOption, double* rotation,
                                       uint8_t* mirrored, OrvikStr* text, int32_t* width, int32_t* param2,
                                       int32_t* param3) {
  return Query(Api::QueryText, mode, handle, flags, index, layerId, net, auxByte, component, x, y, height, textOption,
               rotation, mirrored, text, width, param2, param3);
}

int32_t ORVIK_STDCALL PcbApi_QueryTrueTypeTextInfo(uint8_t mode, uint32_t handle, uint8_t* kind, OrvikStr* fontName,
                                                   uint8_t* flag1, uint8_t* flag2, uint8_t* flag3, int32_t* value) {
  return Query(Api::QueryTrueTypeTextInfo, mode, handle, kind, fontName, flag1, flag2, flag3, value);
}

int32_t ORVIK_STDCALL PcbApi_QueryBarCodeTextInfo(uint8_t mode, uint32_t handle, uint8_t* info1, uint8_t* info2,
                                                  uint8_t* info3, uint8_t* info4) {
  return Query(Api::QueryBarCodeTextInfo, mode, handle, info1, info2, info3, info4);
}

int32_t ORVIK_STDCALL PcbApi_QueryFill(uint8_t mode, uint32_t handle, uint16_t* flags, int16_t* index,
                                       uint32_t* layerId, int32_t* net, uint8_t* auxByte, int32_t* component,
                                       int32_t* x1, int32_t* y1, int32_t* x2, int32_t* y2, int32_t* param1,
                                       double* rotation) {
  return Query(Api::QueryFill, mode, handle, flags, index, layerId, net, auxByte, component, x1, y1, x2, y2, param1,
               rotation);
}

int32_t ORVIK_STDCALL PcbApi_QueryRegion(uint8_t mode, uint32_t handle, uint8_t* regionFlag, uint16_t* flags,
                                         int16_t* index, uint32_t* layerId, int32_t* net, uint8_t* auxByte,
                                         int32_t* component, int32_t* param6, int32_t* param5, int32_t* param1,
                                         int32_t* param2, int32_t* param3, int32_t* param4) {
  return Query(Api::QueryRegion, mode, handle, regionFlag, flags, index, layerId, net, auxByte, component, param6,
               param5, param1, param2, param3, param4);
}

// --- Nets and components

int32_t ORVIK_STDCALL PcbApi_QueryNet(uint8_t mode, uint32_t handle, int16_t* index, OrvikStr* name, uint8_t* byte1,
                                      int32_t* value1) {
  return Query(Api::QueryNet, mode, handle, index, name, byte1, value1);
}

int32_t ORVIK_STDCALL PcbApi_QueryComponent(uint8_t mode, uint32_t handle, uint16_t* flags, int16_t* index,
                                            uint8_t* legacyLayer, uint8_t* auxByte, uint32_t* designatorHandle,
                                            uint32_t* commentHandle, OrvikStr* pattern, uint8_t* byte1, uint8_t* byte2,
                                            int32_t* x, int32_t* y, int32_t* value1, double* rotation, uint8_t* byte3) {
  return Query(Api::QueryComponent, mode, handle, flags, index, legacyLayer, auxByte, designatorHandle, commentHandle,
               pattern, byte1, byte2, x, y, value1, rotation, byte3);
}

int32_t ORVIK_STDCALL PcbApi_QueryComponentEx(uint8_t mode, uint32_t handle, int32_t* value1, uint8_t* byte1,
                                              uint8_t* byte2, int32_t* value2) {
  return Query(Api::QueryComponentEx, mode, handle, value1, byte1, byte2, value2);
}

int32_t ORVIK_STDCALL PcbApi_QueryComponentSourceLinks(uint8_t mode, uint32_t handle, OrvikStr* link1, OrvikStr* link2,
                                                       OrvikStr* link3, OrvikStr* link4, OrvikStr* link5,
                                                       OrvikStr* link6, OrvikStr* link7, OrvikStr* link8) {
  return Query(Api::QueryComponentSourceLinks, mode, handle, link1, link2, link3, link4, link5, link6, link7, link8);
}

int32_t ORVIK_STDCALL PcbApi_QueryDefaultPCB3DModel(uint8_t mode, uint32_t handle, OrvikStr* model) {
  return Query(Api::QueryDefaultPCB3DModel, mode, handle, model);
}

int32_t ORVIK_STDCALL PcbApi_QueryComponentKind(uint8_t mode, uint32_t handle, int32_t* kind) {
  return Query(Api::QueryComponentKind, mode, handle, kind);
}

int32_t ORVIK_STDCALL PcbApi_QueryComponentChannelOffset(uint8_t mode, uint32_t handle, int32_t* offset) {
  return Query(Api::QueryComponentChannelOffset, mode, handle, offset);
}

// --- Kinds the import never creates

int32_t ORVIK_STDCALL PcbApi_QueryPolygon(uint8_t mode, uint32_t handle, uint16_t* flags, int16_t* index,
                                          uint32_t* layerId, int32_t* net, uint8_t* auxByte, uint8_t* byte2,
                                          uint8_t* byte3, uint8_t* byte4, int32_t* value1, int32_t* value2,
                                          uint8_t* byteAfterVertices, uint16_t* wordAfterVertices, int32_t* value3,
                                          uint8_t* byte1, int32_t* value4, uint8_t* vertices) {
  return Query(Api::QueryPolygon, mode, handle, flags, index, layerId, net, auxByte, byte2, byte3, byte4, value1,
               value2, byteAfterVertices, wordAfterVertices, value3, byte1, value4, vertices);
}

int32_t ORVIK_STDCALL PcbApi_QuerySplitPlane(uint8_t mode, uint32_t handle, uint16_t* flags, int16_t* index,
                                             uint32_t* layerId, int32_t* net, uint8_t* auxByte,
                                             uint8_t* byteAfterVertices, int32_t* value1, uint8_t* vertices) {
  return Query(Api::QuerySplitPlane, mode, handle, flags, index, layerId, net, auxByte, byteAfterVertices, value1,
               vertices);
}

int32_t ORVIK_STDCALL PcbApi_QueryClass(uint8_t mode, uint32_t handle, int16_t* index, uint8_t* byte1, uint8_t* byte2,
                                        OrvikStr* name) {
  return Query(Api::QueryClass, mode, handle, index, byte1, byte2, name);
}

int32_t ORVIK_STDCALL PcbApi_GetMemberFromClassAt(uint32_t classHandle, int32_t index, OrvikStr* name) {
  return Guarded<int32_t>(1, [&] {
    Host& host = Called(Api::GetMemberFromClassAt, classHandle, index);
    if (kovlan::faults::ClassMemberAlways()) {
      kovlan::faults::FillClassMember(name, index);
      return 0;
    }
    return host.classes.At(host.objects, classHandle, index, name);
  });
}

int32_t ORVIK_STDCALL PcbApi_AddMemberToClass(uint32_t classHandle, const OrvikStr* name) {
  return Guarded<int32_t>(1, [&] {
    Host& host = Called(Api::AddMemberToClass, classHandle, name);
    return host.classes.Add(host.objects, classHandle, name);
  });
}

int32_t ORVIK_STDCALL PcbApi_RemoveAllMembersFromClass(uint32_t classHandle) {
  return Guarded<int32_t>(1, [&] {
    Host& host = Called(Api::RemoveAllMembersFromClass, classHandle);
    return host.classes.RemoveAll(host.objects, classHandle);
  });
}

int32_t ORVIK_STDCALL PcbApi_QueryFromTo(uint8_t mode, uint32_t handle, int16_t* index, int32_t* x, int32_t* y,
                                         uint8_t* byte1, int32_t* x2, int32_t* y2, uint8_t* byte2, int32_t* net) {
  return Query(Api::QueryFromTo, mode, handle, index, x, y, byte1, x2, y2, byte2, net);
}

int32_t ORVIK_STDCALL PcbApi_QueryManualFromTo(uint8_t mode, uint32_t handle, int16_t* index, OrvikStr* s1,
                                               OrvikStr* s2, OrvikStr* s3, int32_t* value1) {
  return Query(Api::QueryManualFromTo, mode, handle, index, s1, s2, s3, value1);
}

int32_t ORVIK_STDCALL PcbApi_QueryCoordinate(uint8_t mode, uint32_t handle, uint16_t* flags, int16_t* index,
                                             uint8_t* auxByte, int32_t* x, int32_t* y, uint32_t* layerId, int32_t* v1,
                                             int32_t* v2, int32_t* v3, int32_t* v4, int32_t* v5, int32_t* v6) {
  return Query(Api::QueryCoordinate, mode, handle, flags, index, auxByte, x, y, layerId, v1, v2, v3, v4, v5, v6);
}

int32_t ORVIK_STDCALL PcbApi_QueryDimension(uint8_t mode, uint32_t handle, uint16_t* flags, int16_t* index,
                                            uint8_t* auxByte, int32_t* x, int32_t* y, int32_t* v1, int32_t* v2,
                                            uint32_t* layerId, int32_t* v3, int32_t* v4, int32_t* v5, int32_t* v6,
                                            int32_t* v7, uint8_t* byte1) {
  return Query(Api::QueryDimension, mode, handle, flags, index, auxByte, x, y, v1, v2, layerId, v3, v4, v5, v6, v7,
               byte1);
}

int32_t ORVIK_STDCALL PcbApi_QueryExtDimension(uint8_t mode, uint32_t handle, uint8_t* kind, int32_t* e1, int32_t* e2,
                                               int32_t* e3, int32_t* e4, int32_t* e5, int32_t* e6, int32_t* e7,
                                               int32_t* e8, int32_t* e9, int32_t* e10, int32_t* e11, uint8_t* b1,
                                               uint8_t* b2, uint8_t* b3, OrvikStr* s1, OrvikStr* s2, OrvikStr* s3,
                                               double* f1) {
  return Query(Api::QueryExtDimension, mode, handle, kind, e1, e2, e3, e4, e5, e6, e7, e8, e9, e10, e11, b1, b2, b3, s1,
               s2, s3, f1);
}

int32_t ORVIK_STDCALL PcbApi_References_Count(uint8_t mode, uint32_t handle, int32_t* count) {
  return Query(Api::References_Count, mode, handle, count);
}

int32_t ORVIK_STDCALL PcbApi_References_At(uint8_t mode, uint32_t handle, int32_t index, int32_t* r1, int32_t* r2,
                                           int32_t* r3, int32_t* r4) {
  return KeyedQuery(Api::References_At, mode, handle, index, r1, r2, r3, r4);
}

int32_t ORVIK_STDCALL PcbApi_QueryEmbeddedBoard(uint8_t mode, uint32_t handle, uint16_t* flags, int16_t* index,
                                                uint8_t* auxByte, int32_t* x, int32_t* y, OrvikStr* s1, int32_t* v1,
                                                int32_t* v2, int32_t* v3, int32_t* v4, int64_t* v5, uint8_t* mirrored,
                                                uint8_t* byte1) {
  return Query(Api::QueryEmbeddedBoard, mode, handle, flags, index, auxByte, x, y, s1, v1, v2, v3, v4, v5, mirrored,
               byte1);
}

int32_t ORVIK_STDCALL PcbApi_QueryEmbedded(uint8_t mode, uint32_t handle, OrvikStr* s1, uint8_t* buffer4096) {
  return Query(Api::QueryEmbedded, mode, handle, s1, buffer4096);
}

int32_t ORVIK_STDCALL PcbApi_QueryRule(uint8_t mode, uint32_t handle, uint8_t* b1, uint8_t* b2, uint8_t* b3,
                                       uint8_t* b4, uint8_t* b5, uint8_t* b6, uint8_t* b7, OrvikStr* s1, OrvikStr* s2,
                                       OrvikStr* s3, OrvikStr* s4, uint8_t* b8, uint8_t* b9, int32_t* v1, int32_t* v2,
                                       int32_t* v3, int32_t* v4, OrvikStr* s5, OrvikStr* s6, OrvikStr* s7, OrvikStr* s8,
                                       OrvikStr* s9, OrvikStr* s10) {
  return Query(Api::QueryRule, mode, handle, b1, b2, b3, b4, b5, b6, b7, s1, s2, s3, s4, b8, b9, v1, v2, v3, v4, s5, s6,
               s7, s8, s9, s10);
}

int32_t ORVIK_STDCALL PcbApi_QueryViolation(uint8_t mode, uint32_t handle, OrvikStr* s1, OrvikStr* s2, int32_t* v1,
                                            int32_t* v2, int32_t* v3) {
  return Query(Api::QueryViolation, mode, handle, s1, s2, v1, v2, v3);
}

// --- Board, layer stack and options

int32_t ORVIK_STDCALL PcbApi_QueryBoard(uint8_t mode, uint32_t board, int32_t* value1, OrvikStr* s1, uint8_t* byte1,
                                        int32_t* v2, int32_t* v3, int32_t* v4, int32_t* v5, uint8_t* byte2,
                                        uint32_t* currentLayerId, int32_t* lastValue) {
  return Query(Api::QueryBoard, mode, board, value1, s1, byte1, v2, v3, v4, v5, byte2, currentLayerId, lastValue);
}

int32_t ORVIK_STDCALL PcbApi_QueryBoardLayerInfo(uint8_t mode, uint32_t board, uint8_t layer, uint8_t* scratch1,
                                                 uint8_t* scratch2, int32_t* info) {
  return KeyedQuery(Api::QueryBoardLayerInfo, mode, board, layer, scratch1, scratch2, info);
}

int32_t ORVIK_STDCALL PcbApi_QueryLayer(uint8_t mode, uint8_t layer, uint32_t board, OrvikStr* name,
                                        int32_t* copperThickness, uint8_t* byte1, uint8_t* byte2, uint8_t* prevLayer,
                                        uint8_t* nextLayer, uint8_t* byte3) {
  return LayerQuery(Api::QueryLayer, mode, layer, board, name, copperThickness, byte1, byte2, prevLayer, nextLayer,
                    byte3);
}

int32_t ORVIK_STDCALL PcbApi_QueryInternalPlane(uint8_t mode, uint8_t layer, uint32_t board, OrvikStr* name,
                                                int32_t* copperThickness, uint8_t* byte1, uint8_t* byte2,
                                                uint8_t* prevLayer, uint8_t* nextLayer, OrvikStr* netName) {
  return LayerQuery(Api::QueryInternalPlane, mode, layer, board, name, copperThickness, byte1, byte2, prevLayer,
                    nextLayer, netName);
}

int32_t ORVIK_STDCALL PcbApi_QueryLayerDielectric(uint8_t mode, uint8_t layer, uint32_t board, OrvikStr* material,
                                                  uint8_t* dielectricType, double* dielectricConstant,
                                                  int32_t* height) {
  return LayerQuery(Api::QueryLayerDielectric, mode, layer, board, material, dielectricType, dielectricConstant,
                    height);
}

int32_t ORVIK_STDCALL PcbApi_QueryBoardExternalDielectrics(uint8_t mode, uint32_t board, OrvikStr* topMaterial,
                                                           uint8_t* topType, double* topConstant, int32_t* topHeight,
                                                           OrvikStr* bottomMaterial, uint8_t* bottomType,
                                                           double* bottomConstant, int32_t* bottomHeight) {
  return Query(Api::QueryBoardExternalDielectrics, mode, board, topMaterial, topType, topConstant, topHeight,
               bottomMaterial, bottomType, bottomConstant, bottomHeight);
}

int32_t ORVIK_STDCALL PcbApi_QueryBoardSplitPlaneMode(uint8_t mode, uint32_t board, uint8_t* splitPlaneMode) {
  return Query(Api::QueryBoardSplitPlaneMode, mode, board, splitPlaneMode);
}

int32_t ORVIK_STDCALL PcbApi_QueryBoardGridsEx(uint8_t mode, uint32_t board, uint8_t* b1, uint8_t* b2, uint8_t* b3,
                                               uint8_t* b4, double* f1, double* f2, double* f3, double* f4, int32_t* v1,
                                               uint8_t* b5, double* f5, double* f6, double* f7, double* f8) {
  return Query(Api::QueryBoardGridsEx, mode, board, b1, b2, b3, b4, f1, f2, f3, f4, v1, b5, f5, f6, f7, f8);
}

int32_t ORVIK_STDCALL PcbApi_QueryBoardOutputOptions(uint8_t mode, uint32_t board, int32_t* v1, int32_t* v2,
                                                     uint8_t* b1, uint8_t* b2, uint8_t* b3, uint8_t* b4, uint8_t* b5,
                                                     uint8_t* b6, uint8_t* b7, uint8_t* b8, uint8_t* b9, uint8_t* b10,
                                                     uint8_t* b11, uint8_t* b12, uint8_t* b13, uint8_t* b14,
                                                     uint8_t* b15, uint8_t* b16, uint8_t* b17, uint8_t* b18,
                                                     uint8_t* b19, uint8_t* b20, uint8_t* b21, uint8_t* b22) {
  return Query(Api::QueryBoardOutputOptions, mode, board, v1, v2, b1, b2, b3, b4, b5, b6, b7, b8, b9, b10, b11, b12,
               b13, b14, b15, b16, b17, b18, b19, b20, b21, b22);
}

int32_t ORVIK_STDCALL PcbApi_QueryBoardOutputOptionsPlotLayers(uint8_t mode, uint32_t board, uint8_t layerIndex,
                                                               uint8_t* plot) {
  return KeyedQuery(Api::QueryBoardOutputOptionsPlotLayers, mode, board, layerIndex, plot);
}

int32_t ORVIK_STDCALL PcbApi_QueryBoardOutputOptionsFlipLayers(uint8_t mode, uint32_t board, uint8_t layerIndex,
                                                               uint8_t* flip) {
  return KeyedQuery(Api::QueryBoardOutputOptionsFlipLayers, mode, board, layerIndex, flip);
}

int32_t ORVIK_STDCALL PcbApi_QueryBoardGerberOptions(uint8_t mode, uint32_t board, uint8_t* b1, uint8_t* b2,
                                                     uint8_t* b3, uint8_t* b4, uint8_t* b5, uint8_t* b6, uint8_t* b7,
                                                     int32_t* v1, int32_t* v2, int32_t* v3, int32_t* v4, int32_t* v5,
                                                     OrvikStr* s1, int32_t* v6, uint8_t* b8, uint8_t* b9, int32_t* v7,
                                                     int32_t* v8, uint8_t* b10) {
  return Query(Api::QueryBoardGerberOptions, mode, board, b1, b2, b3, b4, b5, b6, b7, v1, v2, v3, v4, v5, s1, v6, b8,
               b9, v7, v8, b10);
}

int32_t ORVIK_STDCALL PcbApi_QueryBoardPrinterOptions(uint8_t mode, uint32_t board, OrvikStr* s1, OrvikStr* s2,
                                                      OrvikStr* s3, uint8_t* b1, uint8_t* b2, uint8_t* b3, uint8_t* b4,
                                                      uint8_t* b5, uint8_t* b6, int32_t* v1, double* f1, double* f2,
                                                      double* f3, uint8_t* block27, uint8_t* b7, uint8_t* b8,
                                                      double* f4, double* f5, double* f6, int32_t* v2, int32_t* v3,
                                                      uint8_t* b9, uint8_t* b10, uint8_t* b11, uint8_t* b12,
                                                      uint8_t* b13) {
  return Query(Api::QueryBoardPrinterOptions, mode, board, s1, s2, s3, b1, b2, b3, b4, b5, b6, v1, f1, f2, f3, block27,
               b7, b8, f4, f5, f6, v2, v3, b9, b10, b11, b12, b13);
}

int32_t ORVIK_STDCALL PcbApi_QueryBoardPrinterOptionsPlotterPen(uint8_t mode, uint32_t board, int32_t pen, int32_t* v1,
                                                                int32_t* v2) {
  return KeyedQuery(Api::QueryBoardPrinterOptionsPlotterPen, mode, board, pen, v1, v2);
}

int32_t ORVIK_STDCALL PcbApi_QueryBoardPrinterOptionsCompositeLayer(uint8_t mode, uint32_t board, uint8_t layer,
                                                                    int32_t* v1, int32_t* v2, uint8_t* b1,
                                                                    int32_t* v3) {
  return KeyedQuery(Api::QueryBoardPrinterOptionsCompositeLayer, mode, board, layer, v1, v2, b1, v3);
}

int32_t ORVIK_STDCALL PcbApi_QueryBoardAdvancedPlacerOptions(uint8_t mode, uint32_t board, OrvikStr* s1, OrvikStr* s2,
                                                             uint8_t* b1, uint8_t* b2, uint8_t* b3, uint8_t* b4) {
  return Query(Api::QueryBoardAdvancedPlacerOptions, mode, board, s1, s2, b1, b2, b3, b4);
}

int32_t ORVIK_STDCALL PcbApi_QueryBoardEngineeringChangeOrderOptions(uint8_t mode, uint32_t board, uint8_t* b1,
                                                                     OrvikStr* s1) {
  return Query(Api::QueryBoardEngineeringChangeOrderOptions, mode, board, b1, s1);
}

int32_t ORVIK_STDCALL PcbApi_QueryBoardLayerPairsCount(uint32_t board, int32_t* count, uint8_t mode) {
  return kovlan::RunQuery(Api::QueryBoardLayerPairsCount, std::tuple(board, mode), mode, board, 0, count);
}

int32_t ORVIK_STDCALL PcbApi_QueryBoardLayerPairAt(uint8_t mode, uint32_t board, int32_t index, uint32_t* layer1,
                                                   uint32_t* layer2, uint8_t* byte2, uint8_t* byte1) {
  return KeyedQuery(Api::QueryBoardLayerPairAt, mode, board, index, layer1, layer2, byte2, byte1);
}
