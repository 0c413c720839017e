// The contract between the importer plug-in and the host's PCB editor module.
//
// The module exports 278 entry points (see pcbapi_names.h); this header gives
// the C prototype of every one that the plug-in calls. Both sides include it:
// the plug-in derives its function-pointer types from it, and the stand-in
// module defines its exports against it (define ORVIK_PCBAPI_DECLARE_EXPORTS
// before including), so a mismatch in any argument fails to compile.
//
// Rules every entry point follows:
// - Standard calling convention (ORVIK_STDCALL), undecorated export name.
// - Handles are uint32_t; 0 names no object. The mode is a uint8_t
//   (ORVIK_SM_READ: the host fills the caller's storage; ORVIK_SM_WRITE and
//   ORVIK_SM_REBIND: the host takes it).
// - Attributes are passed by address, in the order of the prototype, with
//   the widths of the prototype. Strings are whole 256-byte OrvikShortString
//   buffers.
// - Results are a status, 0 for success, unless stated otherwise. A callee
//   given an unknown handle or a null address returns non-zero and changes
//   nothing.
// - The caller owns every buffer it passes; the host keeps no address beyond
//   the call.
#pragma once

#include "orvik/abi.h"

// The module's file name on Windows ("libKovlan.so" on POSIX systems).
#define ORVIK_PCBAPI_MODULE_NAME "Kovlan.dll"

typedef OrvikShortString OrvikStr;

// clang-format off
#define ORVIK_PCBAPI_PROTOTYPES(P) \
  /* Editor and progress */ \
  P(uint32_t, GetCurrentBoardHandle, (void)) \
  P(void, Percent_Init, (const OrvikStr* message, int32_t total)) \
  P(void, Percent_Update, (void)) \
  P(void, Percent_Finish, (void)) \
  /* Objects and containers */ \
  P(uint32_t, CreateObject, (uint8_t objectId)) \
  P(int32_t, AddObjectToContainer, (uint32_t container, uint32_t object)) \
  P(uint8_t, GetObjectIdFromObjectHandle, (uint32_t handle)) \
  P(int32_t, GetObjectBitField2, (uint8_t mode, uint32_t handle, uint8_t* bits)) \
  P(int32_t, GetObjectBitField3, (uint8_t mode, uint32_t handle, uint16_t* bits)) \
  P(int32_t, QueryObjectBoundingRectangle, (uint32_t handle, int32_t* b1, int32_t* b2, int32_t* b3, int32_t* b4)) \
  P(int32_t, QueryObjectImport_FromUser, (uint32_t handle)) \
  P(int32_t, QueryObjectGraphicallyInvalidate, (uint32_t handle)) \
  P(int32_t, GetDesignatorDisplayString, (char* buffer256, uint32_t handle)) \
  P(int32_t, QueryPrimitive, (uint8_t mode, uint32_t handle, uint16_t* flags, int16_t* index, uint32_t* layerId, int32_t* net, int32_t* component, uint8_t* auxByte)) \
  /* Pads and vias */ \
  P(int32_t, QueryPad, (uint8_t mode, uint32_t handle, uint16_t* flags, int16_t* index, uint32_t* layerId, int32_t* net, uint8_t* auxByte, int32_t* component, \
      int32_t* x, int32_t* y, int32_t* topXSize, int32_t* topYSize, int32_t* midXSize, int32_t* midYSize, int32_t* botXSize, int32_t* botYSize, int32_t* holeSize, \
      uint8_t* topShape, uint8_t* midShape, uint8_t* botShape, OrvikStr* name, uint8_t* byteA, uint8_t* byteB, double* rotation, OrvikStr* s1, OrvikStr* s2, \
      int32_t* v1, OrvikStr* s3, uint8_t* byteC, uint8_t* byteD, int32_t* v2, int64_t* f1, int32_t* v3, int32_t* v4, int32_t* v5, uint8_t* stackOption1, uint8_t* stackOption2)) \
  P(int32_t, QueryPadOrViaShapeOnLayer, (uint32_t handle, uint8_t layer, uint8_t* shape)) \
  P(int32_t, QueryPadOrViaSizeOnLayer, (uint32_t handle, uint8_t layer, int32_t* xSize, int32_t* ySize)) \
  P(int32_t, QueryPadCornerRadiusOnLayer, (uint32_t handle, uint8_t layer, int32_t* radius)) \
  P(int32_t, QueryPadCRPercentageOnLayer, (uint32_t handle, uint8_t layer, uint8_t* percent)) \
  P(int32_t, SetPadShapeOnLayer, (uint32_t handle, uint8_t layer, uint8_t shape)) \
  P(int32_t, SetPadSizeOnLayer, (uint32_t handle, uint8_t layer, int32_t xSize, int32_t ySize)) \
  P(int32_t, SetCRPctOnLayer, (uint32_t handle, uint8_t layer, uint8_t percent)) \
  P(int32_t, QueryPadStackMode, (uint8_t mode, uint32_t handle, uint8_t* stackMode)) \
  P(int32_t, QueryVia, (uint8_t mode, uint32_t handle, uint16_t* flags, int16_t* index, uint8_t* legacyLayer, int32_t* net, uint8_t* auxByte, int32_t* component, \
      int32_t* x, int32_t* y, int32_t* size, int32_t* holeSize, uint8_t* viaOption1, uint8_t* viaOption2, uint8_t* stackOption1, uint8_t* stackOption2)) \
  /* Tracks, arcs, texts, fills, regions */ \
  P(int32_t, QueryTrack, (uint8_t mode, uint32_t handle, uint16_t* flags, int16_t* index, uint32_t* layerId, int32_t* net, uint8_t* auxByte, int32_t* component, \
      int32_t* x1, int32_t* y1, int32_t* x2, int32_t* y2, int32_t* width, int32_t* param1, int32_t* param2, int32_t* param3)) \
  P(int32_t, QueryArc, (uint8_t mode, uint32_t handle, uint16_t* flags, int16_t* index, uint32_t* layerId, int32_t* net, uint8_t* auxByte, int32_t* component, \
      int32_t* x, int32_t* y, int32_t* radius, double* startAngle, double* endAngle, int32_t* width, int32_t* param1)) \
  P(int32_t, QueryText, (uint8_t mode, uint32_t handle, uint16_t* flags, int16_t* index, uint32_t* layerId, int32_t* net, uint8_t* auxByte, int32_t* component, \
      int32_t* x, int32_t* y, int32_t* height, int32_t* textOption, double* rotation, uint8_t* mirrored, OrvikStr* text, int32_t* width, int32_t* param2, int32_t* param3)) \
  P(int32_t, QueryTrueTypeTextInfo, (uint8_t mode, uint32_t handle, uint8_t* kind, OrvikStr* fontName, uint8_t* flag1, uint8_t* flag2, uint8_t* flag3, int32_t* value)) \
  P(int32_t, QueryBarCodeTextInfo, (uint8_t mode, uint32_t handle, uint8_t* info1, uint8_t* info2, uint8_t* info3, uint8_t* info4)) \
  P(int32_t, QueryFill, (uint8_t mode, uint32_t handle, uint16_t* flags, int16_t* index, uint32_t* layerId, int32_t* net, uint8_t* auxByte, int32_t* component, \
      int32_t* x1, int32_t* y1, int32_t* x2, int32_t* y2, int32_t* param1, double* rotation)) \
  P(int32_t, QueryRegion, (uint8_t mode, uint32_t handle, uint8_t* regionFlag, uint16_t* flags, int16_t* index, uint32_t* layerId, int32_t* net, uint8_t* auxByte, \
      int32_t* component, int32_t* param6, int32_t* param5, int32_t* param1, int32_t* param2, int32_t* param3, int32_t* param4)) \
  /* Nets and components */ \
  P(int32_t, QueryNet, (uint8_t mode, uint32_t handle, int16_t* index, OrvikStr* name, uint8_t* byte1, int32_t* value1)) \
  P(int32_t, QueryComponent, (uint8_t mode, uint32_t handle, uint16_t* flags, int16_t* index, uint8_t* legacyLayer, uint8_t* auxByte, uint32_t* designatorHandle, \
      uint32_t* commentHandle, OrvikStr* pattern, uint8_t* byte1, uint8_t* byte2, int32_t* x, int32_t* y, int32_t* value1, double* rotation, uint8_t* byte3)) \
  P(int32_t, QueryComponentEx, (uint8_t mode, uint32_t handle, int32_t* value1, uint8_t* byte1, uint8_t* byte2, int32_t* value2)) \
  P(int32_t, QueryComponentSourceLinks, (uint8_t mode, uint32_t handle, OrvikStr* link1, OrvikStr* link2, OrvikStr* link3, OrvikStr* link4, OrvikStr* link5, \
      OrvikStr* link6, OrvikStr* link7, OrvikStr* link8)) \
  P(int32_t, QueryDefaultPCB3DModel, (uint8_t mode, uint32_t handle, OrvikStr* model)) \
  P(int32_t, QueryComponentKind, (uint8_t mode, uint32_t handle, int32_t* kind)) \
  P(int32_t, QueryComponentChannelOffset, (uint8_t mode, uint32_t handle, int32_t* offset)) \
  /* Kinds the import never creates */ \
  P(int32_t, QueryPolygon, (uint8_t mode, uint32_t handle, uint16_t* flags, int16_t* index, uint32_t* layerId, int32_t* net, uint8_t* auxByte, uint8_t* byte2, \
      uint8_t* byte3, uint8_t* byte4, int32_t* value1, int32_t* value2, uint8_t* byteAfterVertices, uint16_t* wordAfterVertices, int32_t* value3, uint8_t* byte1, \
      int32_t* value4, uint8_t* vertices)) \
  P(int32_t, QuerySplitPlane, (uint8_t mode, uint32_t handle, uint16_t* flags, int16_t* index, uint32_t* layerId, int32_t* net, uint8_t* auxByte, \
      uint8_t* byteAfterVertices, int32_t* value1, uint8_t* vertices)) \
  P(int32_t, QueryClass, (uint8_t mode, uint32_t handle, int16_t* index, uint8_t* byte1, uint8_t* byte2, OrvikStr* name)) \
  P(int32_t, GetMemberFromClassAt, (uint32_t classHandle, int32_t index, OrvikStr* name)) \
  P(int32_t, AddMemberToClass, (uint32_t classHandle, const OrvikStr* name)) \
  P(int32_t, RemoveAllMembersFromClass, (uint32_t classHandle)) \
  P(int32_t, QueryFromTo, (uint8_t mode, uint32_t handle, int16_t* index, int32_t* x, int32_t* y, uint8_t* byte1, int32_t* x2, int32_t* y2, uint8_t* byte2, \
      int32_t* net)) \
  P(int32_t, QueryManualFromTo, (uint8_t mode, uint32_t handle, int16_t* index, OrvikStr* s1, OrvikStr* s2, OrvikStr* s3, int32_t* value1)) \
  P(int32_t, QueryCoordinate, (uint8_t mode, uint32_t handle, uint16_t* flags, int16_t* index, uint8_t* auxByte, int32_t* x, int32_t* y, uint32_t* layerId, \
      int32_t* v1, int32_t* v2, int32_t* v3, int32_t* v4, int32_t* v5, int32_t* v6)) \
  P(int32_t, QueryDimension, (uint8_t mode, uint32_t handle, uint16_t* flags, int16_t* index, uint8_t* auxByte, int32_t* x, int32_t* y, int32_t* v1, int32_t* v2, \
      uint32_t* layerId, int32_t* v3, int32_t* v4, int32_t* v5, int32_t* v6, int32_t* v7, uint8_t* byte1)) \
  P(int32_t, QueryExtDimension, (uint8_t mode, uint32_t handle, uint8_t* kind, int32_t* e1, int32_t* e2, int32_t* e3, int32_t* e4, int32_t* e5, int32_t* e6, \
      int32_t* e7, int32_t* e8, int32_t* e9, int32_t* e10, int32_t* e11, uint8_t* b1, uint8_t* b2, uint8_t* b3, OrvikStr* s1, OrvikStr* s2, OrvikStr* s3, \
      double* f1)) \
  P(int32_t, References_Count, (uint8_t mode, uint32_t handle, int32_t* count)) \
  P(int32_t, References_At, (uint8_t mode, uint32_t handle, int32_t index, int32_t* r1, int32_t* r2, int32_t* r3, int32_t* r4)) \
  P(int32_t, QueryEmbeddedBoard, (uint8_t mode, uint32_t handle, uint16_t* flags, int16_t* index, uint8_t* auxByte, int32_t* x, int32_t* y, OrvikStr* s1, \
      int32_t* v1, int32_t* v2, int32_t* v3, int32_t* v4, int64_t* v5, uint8_t* mirrored, uint8_t* byte1)) \
  P(int32_t, QueryEmbedded, (uint8_t mode, uint32_t handle, OrvikStr* s1, uint8_t* buffer4096)) \
  P(int32_t, QueryRule, (uint8_t mode, uint32_t handle, uint8_t* b1, uint8_t* b2, uint8_t* b3, uint8_t* b4, uint8_t* b5, uint8_t* b6, uint8_t* b7, OrvikStr* s1, \
      OrvikStr* s2, OrvikStr* s3, OrvikStr* s4, uint8_t* b8, uint8_t* b9, int32_t* v1, int32_t* v2, int32_t* v3, int32_t* v4, OrvikStr* s5, OrvikStr* s6, \
      OrvikStr* s7, OrvikStr* s8, OrvikStr* s9, OrvikStr* s10)) \
  P(int32_t, QueryViolation, (uint8_t mode, uint32_t handle, OrvikStr* s1, OrvikStr* s2, int32_t* v1, int32_t* v2, int32_t* v3)) \
  /* Board, layer stack and options */ \
  P(int32_t, QueryBoard, (uint8_t mode, uint32_t board, int32_t* value1, OrvikStr* s1, uint8_t* byte1, int32_t* v2, int32_t* v3, int32_t* v4, int32_t* v5, \
      uint8_t* byte2, uint32_t* currentLayerId, int32_t* lastValue)) \
  P(int32_t, QueryBoardLayerInfo, (uint8_t mode, uint32_t board, uint8_t layer, uint8_t* scratch1, uint8_t* scratch2, int32_t* info)) \
  P(int32_t, QueryLayer, (uint8_t mode, uint8_t layer, uint32_t board, OrvikStr* name, int32_t* copperThickness, uint8_t* byte1, uint8_t* byte2, \
      uint8_t* prevLayer, uint8_t* nextLayer, uint8_t* byte3)) \
  P(int32_t, QueryInternalPlane, (uint8_t mode, uint8_t layer, uint32_t board, OrvikStr* name, int32_t* copperThickness, uint8_t* byte1, uint8_t* byte2, \
      uint8_t* prevLayer, uint8_t* nextLayer, OrvikStr* netName)) \
  P(int32_t, QueryLayerDielectric, (uint8_t mode, uint8_t layer, uint32_t board, OrvikStr* material, uint8_t* dielectricType, double* dielectricConstant, \
      int32_t* height)) \
  P(int32_t, QueryBoardExternalDielectrics, (uint8_t mode, uint32_t board, OrvikStr* topMaterial, uint8_t* topType, double* topConstant, int32_t* topHeight, \
      OrvikStr* bottomMaterial, uint8_t* bottomType, double* bottomConstant, int32_t* bottomHeight)) \
  P(int32_t, QueryBoardSplitPlaneMode, (uint8_t mode, uint32_t board, uint8_t* splitPlaneMode)) \
  P(int32_t, QueryBoardGridsEx, (uint8_t mode, uint32_t board, uint8_t* b1, uint8_t* b2, uint8_t* b3, uint8_t* b4, double* f1, double* f2, double* f3, double* f4, \
      int32_t* v1, uint8_t* b5, double* f5, double* f6, double* f7, double* f8)) \
  P(int32_t, QueryBoardOutputOptions, (uint8_t mode, uint32_t board, int32_t* v1, int32_t* v2, uint8_t* b1, uint8_t* b2, uint8_t* b3, uint8_t* b4, uint8_t* b5, \
      uint8_t* b6, uint8_t* b7, uint8_t* b8, uint8_t* b9, uint8_t* b10, uint8_t* b11, uint8_t* b12, uint8_t* b13, uint8_t* b14, uint8_t* b15, uint8_t* b16, \
      uint8_t* b17, uint8_t* b18, uint8_t* b19, uint8_t* b20, uint8_t* b21, uint8_t* b22)) \
  P(int32_t, QueryBoardOutputOptionsPlotLayers, (uint8_t mode, uint32_t board, uint8_t layerIndex, uint8_t* plot)) \
  P(int32_t, QueryBoardOutputOptionsFlipLayers, (uint8_t mode, uint32_t board, uint8_t layerIndex, uint8_t* flip)) \
  P(int32_t, QueryBoardGerberOptions, (uint8_t mode, uint32_t board, uint8_t* b1, uint8_t* b2, uint8_t* b3, uint8_t* b4, uint8_t* b5, uint8_t* b6, uint8_t* b7, \
      int32_t* v1, int32_t* v2, int32_t* v3, int32_t* v4, int32_t* v5, OrvikStr* s1, int32_t* v6, uint8_t* b8, uint8_t* b9, int32_t* v7, int32_t* v8, \
      uint8_t* b10)) \
  P(int32_t, QueryBoardPrinterOptions, (uint8_t mode, uint32_t board, OrvikStr* s1, OrvikStr* s2, OrvikStr* s3, uint8_t* b1, uint8_t* b2, uint8_t* b3, \
      uint8_t* b4, uint8_t* b5, uint8_t* b6, int32_t* v1, double* f1, double* f2, double* f3, uint8_t* block27, uint8_t* b7, uint8_t* b8, double* f4, double* f5, \
      double* f6, int32_t* v2, int32_t* v3, uint8_t* b9, uint8_t* b10, uint8_t* b11, uint8_t* b12, uint8_t* b13)) \
  P(int32_t, QueryBoardPrinterOptionsPlotterPen, (uint8_t mode, uint32_t board, int32_t pen, int32_t* v1, int32_t* v2)) \
  P(int32_t, QueryBoardPrinterOptionsCompositeLayer, (uint8_t mode, uint32_t board, uint8_t layer, int32_t* v1, int32_t* v2, uint8_t* b1, int32_t* v3)) \
  P(int32_t, QueryBoardAdvancedPlacerOptions, (uint8_t mode, uint32_t board, OrvikStr* s1, OrvikStr* s2, uint8_t* b1, uint8_t* b2, uint8_t* b3, uint8_t* b4)) \
  P(int32_t, QueryBoardEngineeringChangeOrderOptions, (uint8_t mode, uint32_t board, uint8_t* b1, OrvikStr* s1)) \
  P(int32_t, QueryBoardLayerPairsCount, (uint32_t board, int32_t* count, uint8_t mode)) \
  P(int32_t, QueryBoardLayerPairAt, (uint8_t mode, uint32_t board, int32_t index, uint32_t* layer1, uint32_t* layer2, uint8_t* byte2, uint8_t* byte1))
// clang-format on

// Size of the printer options' opaque block.
#define ORVIK_PRINTER_BLOCK_SIZE 27

// Function-pointer types PcbApi_<Name>_fn, and the plain signatures
// PcbApi_<Name>_sig (without calling convention, for C++ type traits).
#define ORVIK_PCBAPI_TYPEDEF(ret, name, params)          \
  typedef ret(ORVIK_STDCALL* PcbApi_##name##_fn) params; \
  typedef ret PcbApi_##name##_sig params;
ORVIK_PCBAPI_PROTOTYPES(ORVIK_PCBAPI_TYPEDEF)
#undef ORVIK_PCBAPI_TYPEDEF

// Export declarations, for the module that implements the entry points.
#ifdef ORVIK_PCBAPI_DECLARE_EXPORTS
#define ORVIK_PCBAPI_DECLARE(ret, name, params) ORVIK_EXTERN_C ORVIK_EXPORT ret ORVIK_STDCALL PcbApi_##name params;
ORVIK_PCBAPI_PROTOTYPES(ORVIK_PCBAPI_DECLARE)
#undef ORVIK_PCBAPI_DECLARE
#endif
