// Board layers as the plug-in and the host PCB module name them: the legacy
// layer numbers 0..82 with their fixed names, and the partition tags of the
// host's 32-bit layer identifiers.
//
// A layer identifier is legacy-coded (high 16 bits zero, the low byte is the
// legacy number) or partition-coded (high 16 bits a partition tag, low 16
// bits the layer's number within its group).
#pragma once

// The legacy layer table: X(number, name), every number 0..82 once, in order.
// clang-format off
#define ORVIK_LEGACY_LAYERS(X) \
  X(0, NoLayer) \
  X(1, TopLayer) \
  X(2, MidLayer1) \
  X(3, MidLayer2) \
  X(4, MidLayer3) \
  X(5, MidLayer4) \
  X(6, MidLayer5) \
  X(7, MidLayer6) \
  X(8, MidLayer7) \
  X(9, MidLayer8) \
  X(10, MidLayer9) \
  X(11, MidLayer10) \
  X(12, MidLayer11) \
  X(13, MidLayer12) \
  X(14, MidLayer13) \
  X(15, MidLayer14) \
  X(16, MidLayer15) \
  X(17, MidLayer16) \
  X(18, MidLayer17) \
  X(19, MidLayer18) \
  X(20, MidLayer19) \
  X(21, MidLayer20) \
  X(22, MidLayer21) \
  X(23, MidLayer22) \
  X(24, MidLayer23) \
  X(25, MidLayer24) \
  X(26, MidLayer25) \
  X(27, MidLayer26) \
  X(28, MidLayer27) \
  X(29, MidLayer28) \
  X(30, MidLayer29) \
  X(31, MidLayer30) \
  X(32, BottomLayer) \
  X(33, TopOverlay) \
  X(34, BottomOverlay) \
  X(35, TopPaste) \
  X(36, BottomPaste) \
  X(37, TopSolder) \
  X(38, BottomSolder) \
  X(39, InternalPlane1) \
  X(40, InternalPlane2) \
  X(41, InternalPlane3) \
  X(42, InternalPlane4) \
  X(43, InternalPlane5) \
  X(44, InternalPlane6) \
  X(45, InternalPlane7) \
  X(46, InternalPlane8) \
  X(47, InternalPlane9) \
  X(48, InternalPlane10) \
  X(49, InternalPlane11) \
  X(50, InternalPlane12) \
  X(51, InternalPlane13) \
  X(52, InternalPlane14) \
  X(53, InternalPlane15) \
  X(54, InternalPlane16) \
  X(55, DrillGuide) \
  X(56, KeepOutLayer) \
  X(57, Mechanical1) \
  X(58, Mechanical2) \
  X(59, Mechanical3) \
  X(60, Mechanical4) \
  X(61, Mechanical5) \
  X(62, Mechanical6) \
  X(63, Mechanical7) \
  X(64, Mechanical8) \
  X(65, Mechanical9) \
  X(66, Mechanical10) \
  X(67, Mechanical11) \
  X(68, Mechanical12) \
  X(69, Mechanical13) \
  X(70, Mechanical14) \
  X(71, Mechanical15) \
  X(72, Mechanical16) \
  X(73, DrillDrawing) \
  X(74, MultiLayer) \
  X(75, ConnectLayer) \
  X(76, BackGroundLayer) \
  X(77, DRCErrorLayer) \
  X(78, HighlightLayer) \
  X(79, GridColor1) \
  X(80, GridColor10) \
  X(81, PadHoleLayer) \
  X(82, ViaHoleLayer) \
  /* end of the legacy layer table */
// clang-format on

// ORVIK_LAYER_TopLayer = 1, ..., ORVIK_LAYER_ViaHoleLayer = 82.
enum OrvikLegacyLayer {
#define ORVIK_LAYER_ENUM(number, name) ORVIK_LAYER_##name = number,
  ORVIK_LEGACY_LAYERS(ORVIK_LAYER_ENUM)
#undef ORVIK_LAYER_ENUM
      ORVIK_LEGACY_LAYER_COUNT
};

// The fixed name of a legacy layer ("TopLayer", ...); "" above 82.
static inline const char* OrvikLegacyLayerName(unsigned layer) {
  static const char* const names[] = {
#define ORVIK_LAYER_NAME(number, name) #name,
      ORVIK_LEGACY_LAYERS(ORVIK_LAYER_NAME)
#undef ORVIK_LAYER_NAME
  };
  return layer < ORVIK_LEGACY_LAYER_COUNT ? names[layer] : "";
}

// Whether a legacy layer is an internal plane (InternalPlane1..16); the
// host answers for the planes through PcbApi_QueryInternalPlane, for the
// other layers through PcbApi_QueryLayer.
#ifdef __cplusplus
#define ORVIK_LAYERS_CONSTEXPR constexpr
#else
#define ORVIK_LAYERS_CONSTEXPR
#endif
static inline ORVIK_LAYERS_CONSTEXPR int OrvikIsInternalPlane(int layer) {
  return layer >= ORVIK_LAYER_InternalPlane1 && layer <= ORVIK_LAYER_InternalPlane16;
}

// Partition tags (the high 16 bits of a partition-coded layer identifier).
enum OrvikPartitionTag {
  ORVIK_PARTITION_TAG_SIGNAL = 0x0101,          // signal layers; number 65535 is the bottom layer
  ORVIK_PARTITION_TAG_INTERNAL_PLANE = 0x0104,  // internal planes
  ORVIK_PARTITION_TAG_MECHANICAL = 0x0400       // mechanical layers
};

// The highest number within each partition; for signal layers it names the
// bottom layer.
#define ORVIK_PARTITION_MAX_NUMBER 0xFFFF
