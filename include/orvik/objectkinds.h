// Object kinds (ObjectId) shared by the plug-in and the host PCB module: the
// number PcbApi_GetObjectIdFromObjectHandle reports for an object and
// PcbApi_CreateObject takes. Numbers 23 to 25 name no kind.
#pragma once

// X(NAME, number, "name"): the kind's enumerator suffix, its number, and the
// name reports and board dumps give it.
// clang-format off
#define ORVIK_OBJECT_KINDS(X) \
  X(ARC, 1, "arc") \
  X(PAD, 2, "pad") \
  X(VIA, 3, "via") \
  X(TRACK, 4, "track") \
  X(TEXT, 5, "text") \
  X(FILL, 6, "fill") \
  X(FROM_TO, 7, "fromTo") \
  X(NET, 8, "net") \
  X(COMPONENT, 9, "component") \
  X(POLYGON, 10, "polygon") \
  X(REGION, 11, "region") \
  X(COMPONENT_BODY, 12, "componentBody") \
  X(DIMENSION, 13, "dimension") \
  X(COORDINATE, 14, "coordinate") \
  X(CLASS, 15, "class") \
  X(RULE, 16, "rule") \
  X(MANUAL_FROM_TO, 17, "manualFromTo") \
  X(DIFFERENTIAL_PAIR, 18, "differentialPair") \
  X(VIOLATION, 19, "violation") \
  X(EMBEDDED, 20, "embedded") \
  X(EMBEDDED_BOARD, 21, "embeddedBoard") \
  X(SPLIT_PLANE, 22, "splitPlane") \
  X(BOARD_OUTLINE, 26, "boardOutline")
// clang-format on

// ORVIK_KIND_ARC = 1, ..., ORVIK_KIND_BOARD_OUTLINE = 26.
enum OrvikObjectKind {
#define ORVIK_KIND_ENUM(name, number, text) ORVIK_KIND_##name = number,
  ORVIK_OBJECT_KINDS(ORVIK_KIND_ENUM)
#undef ORVIK_KIND_ENUM
      ORVIK_KIND_MAX = 26  // the highest kind number
};

// The kind's name ("arc", ...); null for a number that names no kind.
static inline const char* OrvikObjectKindName(unsigned kind) {
  switch (kind) {
#define ORVIK_KIND_CASE(name, number, text) \
  case number:                              \
    return text;
    ORVIK_OBJECT_KINDS(ORVIK_KIND_CASE)
#undef ORVIK_KIND_CASE
    default:
      return 0;
  }
}
