// Tests of the stand-in host PCB module, through its exports.
#define ORVIK_PCBAPI_DECLARE_EXPORTS
#include "orvik/pcbapi.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "orvik/kovlan.h"
#include "tests/support/StandInHost.h"
#include "tests/support/TestPaths.h"

// Two of the entry points the plug-in never calls.
ORVIK_EXTERN_C ORVIK_IMPORT int32_t ORVIK_STDCALL PcbApi_SendCommand(void);
ORVIK_EXTERN_C ORVIK_IMPORT int32_t ORVIK_STDCALL PCBAPI_GetUnaryRuleForPrimitive(void);

namespace {

constexpr uint8_t kArc = 1, kPad = 2, kVia = 3, kTrack = 4, kText = 5, kFill = 6, kNet = 8, kComponent = 9;

OrvikStr Str(const std::string& s) {
  OrvikStr out{};
  out.length = static_cast<uint8_t>(s.size());
  std::memcpy(out.text, s.data(), s.size());
  return out;
}

std::string Text(const OrvikStr& s) { return std::string(s.text, s.length); }

// Through a directory of its own: test processes run side by side.
std::string Dump() {
  const orvik::test::TempDir dir;
  const std::string path = (dir.Path() / "kovlan_dump.json").string();
  EXPECT_EQ(KvHost_DumpJson(path.c_str()), 0);
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

template <typename T>
T ReadAttr(uint32_t handle, const char* entry, int32_t position, int32_t key = 0) {
  T value{};
  EXPECT_EQ(KvHost_ReadLayerAttribute(handle, entry, key, position, &value, sizeof value),
            static_cast<int32_t>(sizeof value))
      << entry << " position " << position;
  return value;
}

class KovlanTest : public orvik::test::FreshHost {
 protected:
  uint32_t board = KvHost_BoardHandle();
};

// ---------------------------------------------------------------------------
// Generic invocation of an export: every attribute address points into its
// own slot of an arena, the scalars are given in parameter order.

constexpr std::size_t kSlot = 185040;  // room for the largest block

struct Arena {
  std::vector<uint64_t> storage = std::vector<uint64_t>(kSlot / 8 * 40);
  uint8_t* Slot(int i) { return reinterpret_cast<uint8_t*>(storage.data()) + static_cast<std::size_t>(i) * kSlot; }
};

template <typename T>
constexpr bool kIsAttr = std::is_pointer_v<T> && !std::is_const_v<std::remove_pointer_t<T>>;

template <typename... A, std::size_t... I>
constexpr auto Positions(std::index_sequence<I...>) {
  constexpr bool attr[] = {kIsAttr<A>..., false};
  std::array<int, sizeof...(A) + 1> pos{};
  int a = 0, s = 0;
  for (std::size_t i = 0; i < sizeof...(A); ++i) pos[i] = attr[i] ? a++ : s++;
  return pos;
}

template <typename T>
T Arg(bool attr, int pos, const std::vector<int64_t>& scalars, Arena& arena) {
  if constexpr (std::is_pointer_v<T>) {
    return attr ? reinterpret_cast<T>(arena.Slot(pos)) : nullptr;
  } else {
    return static_cast<T>(scalars.at(static_cast<std::size_t>(pos)));
  }
}

template <typename R, typename... A, std::size_t... I>
R InvokeImpl(R(ORVIK_STDCALL* fn)(A...), const std::vector<int64_t>& scalars, Arena& arena,
             std::index_sequence<I...> seq) {
  constexpr auto pos = Positions<A...>(seq);
  constexpr bool attr[] = {kIsAttr<A>..., false};
  return fn(Arg<A>(attr[I], pos[I], scalars, arena)...);
}

template <typename R, typename... A>
R Invoke(R(ORVIK_STDCALL* fn)(A...), const std::vector<int64_t>& scalars, Arena& arena) {
  return InvokeImpl(fn, scalars, arena, std::index_sequence_for<A...>{});
}

template <typename R, typename... A>
constexpr int AttrCount(R(ORVIK_STDCALL*)(A...)) {
  return (0 + ... + (kIsAttr<A> ? 1 : 0));
}

// One exchange: how to call it for a host object and key.
struct Case {
  const char* name;
  uint8_t kind;  // 0: the board
  int32_t key;
  int attributes;
  std::function<int32_t(uint8_t mode, uint32_t handle, int32_t key, Arena&)> call;
};

#define OBJ(fn, kind)                                                                                            \
  Case {                                                                                                         \
#fn, kind, 0, AttrCount(fn), [](uint8_t m, uint32_t h, int32_t, Arena & a) { return Invoke(fn, {m, h}, a); } \
  }
#define BOARD(fn) OBJ(fn, 0)
#define KEYED(fn, kind, key)                                                                 \
  Case {                                                                                     \
#fn, kind, key, AttrCount(fn),                                                           \
        [](uint8_t m, uint32_t h, int32_t k, Arena & a) { return Invoke(fn, {m, h, k}, a); } \
  }
#define LAYER(fn, key)                                                                                               \
  Case {                                                                                                             \
#fn, 0, key, AttrCount(fn), [](uint8_t m, uint32_t h, int32_t k, Arena & a) { return Invoke(fn, {m, k, h}, a); } \
  }

std::vector<Case> AllExchanges() {
  return {
      OBJ(PcbApi_GetObjectBitField2, kTrack),
      OBJ(PcbApi_GetObjectBitField3, kPad),
      OBJ(PcbApi_QueryPrimitive, kFill),
      OBJ(PcbApi_QueryPad, kPad),
      OBJ(PcbApi_QueryPadStackMode, kPad),
      OBJ(PcbApi_QueryVia, kVia),
      OBJ(PcbApi_QueryTrack, kTrack),
      OBJ(PcbApi_QueryArc, kArc),
      OBJ(PcbApi_QueryText, kText),
      OBJ(PcbApi_QueryTrueTypeTextInfo, kText),
      OBJ(PcbApi_QueryBarCodeTextInfo, kText),
      OBJ(PcbApi_QueryFill, kFill),
      OBJ(PcbApi_QueryRegion, 11),
      OBJ(PcbApi_QueryNet, kNet),
      OBJ(PcbApi_QueryComponent, kComponent),
      OBJ(PcbApi_QueryComponentEx, kComponent),
      OBJ(PcbApi_QueryComponentSourceLinks, kComponent),
      OBJ(PcbApi_QueryDefaultPCB3DModel, kComponent),
      OBJ(PcbApi_QueryComponentKind, kComponent),
      OBJ(PcbApi_QueryComponentChannelOffset, kComponent),
      OBJ(PcbApi_QueryPolygon, 10),
      OBJ(PcbApi_QueryPolygon, 26),
      OBJ(PcbApi_QuerySplitPlane, 22),
      OBJ(PcbApi_QueryClass, 15),
      OBJ(PcbApi_QueryFromTo, 7),
      OBJ(PcbApi_QueryManualFromTo, 17),
      OBJ(PcbApi_QueryCoordinate, 14),
      OBJ(PcbApi_QueryDimension, 13),
      OBJ(PcbApi_QueryExtDimension, 13),
      OBJ(PcbApi_References_Count, 13),
      KEYED(PcbApi_References_At, 13, 199),
      OBJ(PcbApi_QueryEmbeddedBoard, 21),
      OBJ(PcbApi_QueryEmbedded, 20),
      OBJ(PcbApi_QueryRule, 16),
      OBJ(PcbApi_QueryViolation, 19),
      BOARD(PcbApi_QueryBoard),
      KEYED(PcbApi_QueryBoardLayerInfo, 0, 82),
      LAYER(PcbApi_QueryLayer, 57),
      LAYER(PcbApi_QueryInternalPlane, 54),
      LAYER(PcbApi_QueryLayerDielectric, 3),
      BOARD(PcbApi_QueryBoardExternalDielectrics),
      BOARD(PcbApi_QueryBoardSplitPlaneMode),
      BOARD(PcbApi_QueryBoardGridsEx),
      BOARD(PcbApi_QueryBoardOutputOptions),
      KEYED(PcbApi_QueryBoardOutputOptionsPlotLayers, 0, 109),
      KEYED(PcbApi_QueryBoardOutputOptionsFlipLayers, 0, 1),
      BOARD(PcbApi_QueryBoardGerberOptions),
      BOARD(PcbApi_QueryBoardPrinterOptions),
      KEYED(PcbApi_QueryBoardPrinterOptionsPlotterPen, 0, 8),
      KEYED(PcbApi_QueryBoardPrinterOptionsCompositeLayer, 0, 82),
      BOARD(PcbApi_QueryBoardAdvancedPlacerOptions),
      BOARD(PcbApi_QueryBoardEngineeringChangeOrderOptions),
      KEYED(PcbApi_QueryBoardLayerPairAt, 0, 0),
  };
}

// Distinct bytes per exchange and position; strings get a length of their
// own. Values stay below 83 so that legacy layer bytes remain layers.
void FillPattern(Arena& arena, const char* name, int32_t position, int32_t width, int seed) {
  uint8_t* slot = arena.Slot(position);
  if (width == 256) {
    slot[0] = static_cast<uint8_t>(5 + position + seed % 7);
    for (int j = 1; j <= slot[0]; ++j) slot[j] = static_cast<uint8_t>('a' + (j + position + seed) % 26);
    return;
  }
  for (int j = 0; j < width; ++j) slot[j] = static_cast<uint8_t>(1 + (position * 7 + j + seed) % 64);
  if (std::strcmp(name, "PcbApi_QueryBoardLayerPairsCount") == 0) slot[1] = slot[2] = slot[3] = 0;
}

uint32_t HandleFor(uint8_t kind) { return kind == 0 ? KvHost_BoardHandle() : PcbApi_CreateObject(kind); }

TEST_F(KovlanTest, EveryExchangeRoundTripsItsAttributesByPosition) {
  int seed = 0;
  for (const Case& c : AllExchanges()) {
    SCOPED_TRACE(c.name);
    ++seed;
    const uint32_t handle = HandleFor(c.kind);
    ASSERT_NE(handle, 0u);
    // Widths as the host reports them, then a pattern written through the
    // export in write mode.
    Arena written;
    std::vector<int32_t> widths;
    for (int32_t p = 0; p < c.attributes; ++p) {
      uint8_t probe[kSlot];
      const int32_t w = KvHost_ReadLayerAttribute(handle, c.name, c.key, p, probe, sizeof probe);
      ASSERT_GT(w, 0) << "position " << p;
      widths.push_back(w);
      FillPattern(written, c.name, p, w, seed);
    }
    EXPECT_EQ(KvHost_ReadLayerAttribute(handle, c.name, c.key, c.attributes, nullptr, 0), -1);
    ASSERT_EQ(c.call(ORVIK_SM_WRITE, handle, c.key, written), 0);

    Arena read;
    ASSERT_EQ(c.call(ORVIK_SM_READ, handle, c.key, read), 0);
    for (int32_t p = 0; p < c.attributes; ++p) {
      const std::size_t n = widths[p] == 256 ? 1u + written.Slot(p)[0] : static_cast<std::size_t>(widths[p]);
      EXPECT_EQ(std::memcmp(read.Slot(p), written.Slot(p), n), 0) << "export read, position " << p;
      std::vector<uint8_t> stored(static_cast<std::size_t>(widths[p]));
      ASSERT_EQ(KvHost_ReadLayerAttribute(handle, c.name, c.key, p, stored.data(), widths[p]), widths[p]);
      EXPECT_EQ(std::memcmp(stored.data(), written.Slot(p), n), 0) << "stored value, position " << p;
    }
  }
}

TEST_F(KovlanTest, WriteAttributeSeedsWhatTheExportReads) {
  const uint32_t track = PcbApi_CreateObject(kTrack);
  const int32_t width = 123456;
  ASSERT_EQ(KvHost_WriteAttribute(track, "PcbApi_QueryTrack", 10, &width, sizeof width), 4);
  Arena a;
  ASSERT_EQ(Invoke(PcbApi_QueryTrack, {ORVIK_SM_READ, track}, a), 0);
  int32_t got;
  std::memcpy(&got, a.Slot(10), 4);
  EXPECT_EQ(got, 123456);
  // Too small a buffer, unknown entry point, position out of range.
  int16_t small;
  EXPECT_EQ(KvHost_ReadAttribute(track, "PcbApi_QueryTrack", 10, &small, sizeof small), -1);
  EXPECT_EQ(KvHost_ReadAttribute(track, "PcbApi_QueryNothing", 0, &got, sizeof got), -1);
  EXPECT_EQ(KvHost_ReadAttribute(track, "PcbApi_QueryTrack", 14, &got, sizeof got), -1);
}

TEST_F(KovlanTest, CommonAttributesAreSharedBetweenExchanges) {
  const uint32_t track = PcbApi_CreateObject(kTrack);
  uint16_t flags = 0x1234;
  int16_t index = 7;
  uint32_t layer = 32;
  int32_t net = 5, component = 6;
  uint8_t aux = 9;
  ASSERT_EQ(PcbApi_QueryPrimitive(ORVIK_SM_WRITE, track, &flags, &index, &layer, &net, &component, &aux), 0);
  EXPECT_EQ(ReadAttr<uint16_t>(track, "PcbApi_QueryTrack", 0), 0x1234);
  EXPECT_EQ(ReadAttr<uint32_t>(track, "PcbApi_QueryTrack", 2), 32u);
  EXPECT_EQ(ReadAttr<int32_t>(track, "PcbApi_QueryTrack", 5), 6);

  // A via's legacy layer byte and its layer id are one attribute.
  const uint32_t via = PcbApi_CreateObject(kVia);
  const uint8_t legacy = 32;
  ASSERT_EQ(KvHost_WriteAttribute(via, "PcbApi_QueryVia", 2, &legacy, 1), 1);
  EXPECT_EQ(ReadAttr<uint32_t>(via, "PcbApi_QueryPrimitive", 2), 32u);
}

// ---------------------------------------------------------------------------
// Validation: bad handles, wrong kinds, null addresses and bad keys fail and
// change nothing.

TEST_F(KovlanTest, InvalidCallsFailAndChangeNothing) {
  const uint32_t track = PcbApi_CreateObject(kTrack);
  const uint32_t pad = PcbApi_CreateObject(kPad);
  const uint32_t net = PcbApi_CreateObject(kNet);
  Arena a;
  FillPattern(a, "", 0, 8, 3);
  struct Bad {
    const char* what;
    std::function<int32_t()> call;
  };
  const Bad cases[] = {
      {"handle 0",
       [&] {
         return Invoke(PcbApi_QueryTrack, {ORVIK_SM_WRITE, 0}, a);
       }},
      {"unknown handle",
       [&] {
         return Invoke(PcbApi_QueryTrack, {ORVIK_SM_WRITE, 99999}, a);
       }},
      {"track query on a pad",
       [&] {
         return Invoke(PcbApi_QueryTrack, {ORVIK_SM_WRITE, pad}, a);
       }},
      {"object query on the board",
       [&] {
         return Invoke(PcbApi_QueryPrimitive, {ORVIK_SM_WRITE, board}, a);
       }},
      {"board query on a track",
       [&] {
         return Invoke(PcbApi_QueryBoard, {ORVIK_SM_WRITE, track}, a);
       }},
      {"unknown mode",
       [&] {
         return Invoke(PcbApi_QueryTrack, {7, track}, a);
       }},
      {"null address",
       [&] {
         int32_t v = 0;
         return PcbApi_QueryTrack(ORVIK_SM_WRITE, track, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &v, &v,
                                  &v, &v, &v, &v, &v, &v);
       }},
      {"null bit field", [&] { return PcbApi_GetObjectBitField2(ORVIK_SM_WRITE, track, nullptr); }},
      {"layer 83", [&] { return PcbApi_SetPadShapeOnLayer(pad, 83, 2); }},
      {"per-layer set on a track", [&] { return PcbApi_SetPadSizeOnLayer(track, 1, 5, 5); }},
      {"per-layer read on a net",
       [&] {
         uint8_t s;
         return PcbApi_QueryPadOrViaShapeOnLayer(net, 1, &s);
       }},
      {"plane through QueryLayer",
       [&] {
         return Invoke(PcbApi_QueryLayer, {ORVIK_SM_WRITE, 39, board}, a);
       }},
      {"signal layer through QueryInternalPlane",
       [&] {
         return Invoke(PcbApi_QueryInternalPlane, {ORVIK_SM_WRITE, 1, board}, a);
       }},
      {"layer 0 through QueryLayer",
       [&] {
         return Invoke(PcbApi_QueryLayer, {ORVIK_SM_WRITE, 0, board}, a);
       }},
      {"layer 83 through QueryLayer",
       [&] {
         return Invoke(PcbApi_QueryLayer, {ORVIK_SM_WRITE, 83, board}, a);
       }},
      {"pen 9",
       [&] {
         return Invoke(PcbApi_QueryBoardPrinterOptionsPlotterPen, {ORVIK_SM_WRITE, board, 9}, a);
       }},
      {"pair past the count",
       [&] {
         return Invoke(PcbApi_QueryBoardLayerPairAt, {ORVIK_SM_WRITE, board, 1}, a);
       }},
      {"negative pair count",
       [&] {
         int32_t n = -1;
         return PcbApi_QueryBoardLayerPairsCount(board, &n, ORVIK_SM_WRITE);
       }},
      {"container 0", [&] { return PcbApi_AddObjectToContainer(0, track); }},
      {"unknown container", [&] { return PcbApi_AddObjectToContainer(4242, track); }},
      {"track as container", [&] { return PcbApi_AddObjectToContainer(track, pad); }},
      {"unknown member", [&] { return PcbApi_AddObjectToContainer(net, 4242); }},
      {"net into a net", [&] { return PcbApi_AddObjectToContainer(net, net); }},
      {"bounding rectangle of 0",
       [&] {
         int32_t b[4];
         return PcbApi_QueryObjectBoundingRectangle(0, &b[0], &b[1], &b[2], &b[3]);
       }},
      {"display string of a track",
       [&] {
         char buf[256];
         return PcbApi_GetDesignatorDisplayString(buf, track);
       }},
      {"display string into null", [&] { return PcbApi_GetDesignatorDisplayString(nullptr, track); }},
      {"import of 0", [&] { return PcbApi_QueryObjectImport_FromUser(0); }},
      {"invalidate unknown", [&] { return PcbApi_QueryObjectGraphicallyInvalidate(12345); }},
  };
  const std::string before = Dump();
  for (const Bad& c : cases) {
    EXPECT_NE(c.call(), 0) << c.what;
  }
  EXPECT_EQ(Dump(), before);
  EXPECT_EQ(PcbApi_CreateObject(0), 0u);
  EXPECT_EQ(PcbApi_CreateObject(23), 0u);
  EXPECT_EQ(PcbApi_CreateObject(200), 0u);
  EXPECT_EQ(PcbApi_GetObjectIdFromObjectHandle(0), 0);
  EXPECT_EQ(PcbApi_GetObjectIdFromObjectHandle(board), 0);
  EXPECT_EQ(PcbApi_GetObjectIdFromObjectHandle(pad), kPad);
  EXPECT_EQ(KvHost_ObjectKind(board), KVHOST_BOARD_KIND);
  EXPECT_NE(PcbApi_SendCommand(), 0);
  EXPECT_NE(PCBAPI_GetUnaryRuleForPrimitive(), 0);
}

TEST_F(KovlanTest, PrimitiveAndBitFieldsWorkForEveryKind) {
  for (uint8_t kind : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 26}) {
    const uint32_t h = PcbApi_CreateObject(kind);
    ASSERT_NE(h, 0u) << int{kind};
    EXPECT_EQ(KvHost_ObjectKind(h), kind);
    uint8_t bits2 = 0x5A;
    uint16_t bits3 = 0xA5A5;
    EXPECT_EQ(PcbApi_GetObjectBitField2(ORVIK_SM_WRITE, h, &bits2), 0);
    EXPECT_EQ(PcbApi_GetObjectBitField3(ORVIK_SM_WRITE, h, &bits3), 0);
    bits2 = 0;
    bits3 = 0;
    EXPECT_EQ(PcbApi_GetObjectBitField2(ORVIK_SM_READ, h, &bits2), 0);
    EXPECT_EQ(PcbApi_GetObjectBitField3(ORVIK_SM_READ, h, &bits3), 0);
    EXPECT_EQ(bits2, 0x5A);
    EXPECT_EQ(bits3, 0xA5A5);
    Arena a;
    EXPECT_EQ(Invoke(PcbApi_QueryPrimitive, {ORVIK_SM_READ, h}, a), 0) << int{kind};
  }
}

// ---------------------------------------------------------------------------
// Strings

TEST_F(KovlanTest, LongestStringsSurviveEveryPath) {
  const std::string longest(255, 'x');
  const uint32_t net = PcbApi_CreateObject(kNet);
  int16_t index = 0;
  OrvikStr name = Str(longest);
  uint8_t b = 0;
  int32_t v = 0;
  ASSERT_EQ(PcbApi_QueryNet(ORVIK_SM_WRITE, net, &index, &name, &b, &v), 0);
  OrvikStr back{};
  ASSERT_EQ(PcbApi_QueryNet(ORVIK_SM_READ, net, &index, &back, &b, &v), 0);
  EXPECT_EQ(Text(back), longest);
  EXPECT_EQ(Text(ReadAttr<OrvikStr>(net, "PcbApi_QueryNet", 1)), longest);

  // A text's display string is cut to fit a terminator into 256 bytes.
  const uint32_t text = PcbApi_CreateObject(kText);
  const OrvikStr value = Str(longest);
  ASSERT_EQ(KvHost_WriteAttribute(text, "PcbApi_QueryText", 12, &value, sizeof value), 256);
  char buf[ORVIK_DISPLAY_STRING_SIZE];
  std::memset(buf, '#', sizeof buf);
  ASSERT_EQ(PcbApi_GetDesignatorDisplayString(buf, text), 0);
  EXPECT_EQ(std::string(buf), std::string(255, 'x'));

  // A shorter string written over a longer one leaves no trace of it.
  name = Str("GND");
  ASSERT_EQ(PcbApi_QueryNet(ORVIK_SM_WRITE, net, &index, &name, &b, &v), 0);
  const OrvikStr stored = ReadAttr<OrvikStr>(net, "PcbApi_QueryNet", 1);
  EXPECT_EQ(Text(stored), "GND");
  EXPECT_EQ(stored.text[3], '\0');
}

// ---------------------------------------------------------------------------
// Defaults

struct IntDefault {
  uint8_t kind;
  const char* entry;
  int32_t position;
  int32_t key;
  int64_t expected;
  int width;
};

TEST_F(KovlanTest, NewObjectsStartWithTheirKindsDefaults) {
  const IntDefault cases[] = {
      {kText, "PcbApi_QueryText", 2, 0, 33, 4},       // TopOverlay
      {kText, "PcbApi_QueryText", 8, 0, 600000, 4},   // height
      {kText, "PcbApi_QueryText", 13, 0, 100000, 4},  // width
      {kPad, "PcbApi_QueryPad", 2, 0, 74, 4},         // MultiLayer
      {kPad, "PcbApi_QueryPad", 8, 0, 600000, 4},     // top X size
      {kPad, "PcbApi_QueryPad", 13, 0, 600000, 4},    // bottom Y size
      {kPad, "PcbApi_QueryPad", 14, 0, 300000, 4},    // hole
      {kPad, "PcbApi_QueryPad", 15, 0, 1, 1},         // round on top
      {kPad, "PcbApi_QueryPadOrViaSizeOnLayer", 0, 1, 600000, 4},
      {kPad, "PcbApi_QueryPadOrViaSizeOnLayer", 1, 32, 600000, 4},
      {kPad, "PcbApi_QueryPadOrViaShapeOnLayer", 0, 16, 1, 1},
      {kPad, "PcbApi_QueryPadOrViaSizeOnLayer", 0, 33, 0, 4},  // no pad on the overlay
      {kTrack, "PcbApi_QueryTrack", 10, 0, 100000, 4},
      {kTrack, "PcbApi_QueryTrack", 2, 0, 1, 4},
      {kVia, "PcbApi_QueryVia", 2, 0, 74, 1},
      {kVia, "PcbApi_QueryVia", 8, 0, 500000, 4},
      {kVia, "PcbApi_QueryVia", 9, 0, 280000, 4},
      {kArc, "PcbApi_QueryArc", 11, 0, 100000, 4},
      {kComponent, "PcbApi_QueryComponent", 2, 0, 1, 1},
  };
  for (const IntDefault& c : cases) {
    const uint32_t h = PcbApi_CreateObject(c.kind);
    int64_t value = 0;
    ASSERT_EQ(KvHost_ReadLayerAttribute(h, c.entry, c.key, c.position, &value, sizeof value), c.width)
        << c.entry << " " << c.position;
    if (c.width == 1) value = static_cast<uint8_t>(value);
    if (c.width == 4) value = static_cast<int32_t>(value);
    EXPECT_EQ(value, c.expected) << c.entry << " position " << c.position << " key " << c.key;
  }
  const uint32_t text = PcbApi_CreateObject(kText);
  EXPECT_EQ(Text(ReadAttr<OrvikStr>(text, "PcbApi_QueryTrueTypeTextInfo", 1)), "Arial");
  const uint32_t net = PcbApi_CreateObject(kNet);
  EXPECT_EQ(Text(ReadAttr<OrvikStr>(net, "PcbApi_QueryNet", 1)), "");
}

TEST_F(KovlanTest, SetDefaultAppliesToLaterObjectsUntilReset) {
  const uint8_t fullStack = 2;
  ASSERT_EQ(KvHost_SetDefault(kPad, "PcbApi_QueryPadStackMode", 0, &fullStack, 1), 1);
  EXPECT_EQ(ReadAttr<uint8_t>(PcbApi_CreateObject(kPad), "PcbApi_QueryPadStackMode", 0), 2);
  EXPECT_EQ(KvHost_SetDefault(kTrack, "PcbApi_QueryPadStackMode", 0, &fullStack, 1), -1);
  KvHost_Reset();
  EXPECT_EQ(ReadAttr<uint8_t>(PcbApi_CreateObject(kPad), "PcbApi_QueryPadStackMode", 0), 0);
}

TEST_F(KovlanTest, ComponentsComeWithDesignatorAndCommentTexts) {
  const uint32_t comp = PcbApi_CreateObject(kComponent);
  const uint32_t designator = ReadAttr<uint32_t>(comp, "PcbApi_QueryComponent", 4);
  const uint32_t comment = ReadAttr<uint32_t>(comp, "PcbApi_QueryComponent", 5);
  EXPECT_EQ(KvHost_ObjectKind(designator), kText);
  EXPECT_EQ(KvHost_ObjectKind(comment), kText);
  EXPECT_NE(designator, comment);
  EXPECT_EQ(KvHost_ObjectCount(kText), 2);
  EXPECT_EQ(KvHost_ObjectCount(0), 3);

  // The designator text shows the component; writing the component with
  // another text moves the link.
  const OrvikStr u1 = Str("U1");
  ASSERT_EQ(KvHost_WriteAttribute(designator, "PcbApi_QueryText", 12, &u1, sizeof u1), 256);
  char buf[256];
  ASSERT_EQ(PcbApi_GetDesignatorDisplayString(buf, comp), 0);
  EXPECT_STREQ(buf, "U1");

  const uint32_t other = PcbApi_CreateObject(kText);
  const OrvikStr r7 = Str("R7");
  ASSERT_EQ(KvHost_WriteAttribute(other, "PcbApi_QueryText", 12, &r7, sizeof r7), 256);
  Arena a;
  ASSERT_EQ(Invoke(PcbApi_QueryComponent, {ORVIK_SM_READ, comp}, a), 0);
  std::memcpy(a.Slot(4), &other, 4);
  ASSERT_EQ(Invoke(PcbApi_QueryComponent, {ORVIK_SM_REBIND, comp}, a), 0);
  ASSERT_EQ(PcbApi_GetDesignatorDisplayString(buf, comp), 0);
  EXPECT_STREQ(buf, "R7");
  const std::string json = Dump();
  EXPECT_NE(json.find("\"designatorOf\":" + std::to_string(comp)), std::string::npos);
  EXPECT_EQ(
      json.find("\"handle\":" + std::to_string(designator) + ",\"kind\":\"text\",\"memberOf\":[],\"designatorOf\""),
      std::string::npos);
}

TEST_F(KovlanTest, SimplePadStackFollowsTheQueryUnlessFullStack) {
  const uint32_t pad = PcbApi_CreateObject(kPad);
  Arena a;
  ASSERT_EQ(Invoke(PcbApi_QueryPad, {ORVIK_SM_READ, pad}, a), 0);
  const int32_t top = 800000, mid = 400000;
  std::memcpy(a.Slot(8), &top, 4);
  std::memcpy(a.Slot(10), &mid, 4);
  a.Slot(15)[0] = 2;  // rectangular on top
  ASSERT_EQ(Invoke(PcbApi_QueryPad, {ORVIK_SM_WRITE, pad}, a), 0);
  int32_t xs = 0, ys = 0;
  uint8_t shape = 0;
  ASSERT_EQ(PcbApi_QueryPadOrViaSizeOnLayer(pad, 1, &xs, &ys), 0);
  EXPECT_EQ(xs, 800000);
  ASSERT_EQ(PcbApi_QueryPadOrViaSizeOnLayer(pad, 17, &xs, &ys), 0);
  EXPECT_EQ(xs, 400000);
  ASSERT_EQ(PcbApi_QueryPadOrViaShapeOnLayer(pad, 1, &shape), 0);
  EXPECT_EQ(shape, 2);

  // With a full stack the per-layer values are the pad's own.
  uint8_t full = 2;
  ASSERT_EQ(PcbApi_QueryPadStackMode(ORVIK_SM_WRITE, pad, &full), 0);
  ASSERT_EQ(PcbApi_SetPadSizeOnLayer(pad, 1, 111, 222), 0);
  ASSERT_EQ(PcbApi_SetPadShapeOnLayer(pad, 1, 9), 0);
  ASSERT_EQ(PcbApi_SetCRPctOnLayer(pad, 1, 50), 0);
  ASSERT_EQ(Invoke(PcbApi_QueryPad, {ORVIK_SM_WRITE, pad}, a), 0);
  ASSERT_EQ(PcbApi_QueryPadOrViaSizeOnLayer(pad, 1, &xs, &ys), 0);
  EXPECT_EQ(xs, 111);
  EXPECT_EQ(ys, 222);
  ASSERT_EQ(PcbApi_QueryPadOrViaShapeOnLayer(pad, 1, &shape), 0);
  EXPECT_EQ(shape, 9);
  uint8_t pct = 0;
  ASSERT_EQ(PcbApi_QueryPadCRPercentageOnLayer(pad, 1, &pct), 0);
  EXPECT_EQ(pct, 50);
}

// ---------------------------------------------------------------------------
// Containers

TEST_F(KovlanTest, ContainersKeepMembersInOrderAndObjectsTheirMemberships) {
  const uint32_t net = PcbApi_CreateObject(kNet);
  const uint32_t comp = PcbApi_CreateObject(kComponent);
  const uint32_t t1 = PcbApi_CreateObject(kTrack);
  const uint32_t t2 = PcbApi_CreateObject(kTrack);
  const uint32_t pad = PcbApi_CreateObject(kPad);
  EXPECT_EQ(PcbApi_AddObjectToContainer(net, t2), 0);
  EXPECT_EQ(PcbApi_AddObjectToContainer(net, t1), 0);
  EXPECT_EQ(PcbApi_AddObjectToContainer(net, pad), 0);
  EXPECT_EQ(PcbApi_AddObjectToContainer(comp, pad), 0);
  EXPECT_EQ(PcbApi_AddObjectToContainer(board, t1), 0);
  EXPECT_EQ(PcbApi_AddObjectToContainer(board, t2), 0);
  EXPECT_EQ(PcbApi_AddObjectToContainer(board, comp), 0);
  EXPECT_EQ(PcbApi_AddObjectToContainer(board, net), 0);
  EXPECT_NE(PcbApi_AddObjectToContainer(net, t1), 0);  // already a member

  uint32_t out[8];
  ASSERT_EQ(KvHost_Members(net, out, 8), 3);
  EXPECT_EQ(std::vector<uint32_t>(out, out + 3), (std::vector<uint32_t>{t2, t1, pad}));
  ASSERT_EQ(KvHost_Members(board, out, 8), 4);
  EXPECT_EQ(std::vector<uint32_t>(out, out + 4), (std::vector<uint32_t>{t1, t2, comp, net}));
  ASSERT_EQ(KvHost_Members(board, out, 1), 4);  // count beyond the room given
  ASSERT_EQ(KvHost_Memberships(pad, out, 8), 2);
  EXPECT_EQ(std::vector<uint32_t>(out, out + 2), (std::vector<uint32_t>{net, comp}));
  EXPECT_EQ(KvHost_Members(999, out, 8), -1);
}

// ---------------------------------------------------------------------------
// Board and layer stack

TEST_F(KovlanTest, DefaultBoardHasALinkedCopperStack) {
  EXPECT_EQ(PcbApi_GetCurrentBoardHandle(), board);
  EXPECT_NE(board, 0u);
  struct Step {
    uint8_t layer;
    const char* name;
    uint8_t prev, next;
  };
  const Step stack[] = {{1, "TopLayer", 0, 2},         {2, "MidLayer1", 1, 39},  {39, "InternalPlane1", 2, 40},
                        {40, "InternalPlane2", 39, 3}, {3, "MidLayer2", 40, 32}, {32, "BottomLayer", 3, 0}};
  for (const Step& s : stack) {
    Arena a;
    const bool plane = s.layer >= 39 && s.layer <= 54;
    const int32_t status = plane ? Invoke(PcbApi_QueryInternalPlane, {ORVIK_SM_READ, s.layer, board}, a)
                                 : Invoke(PcbApi_QueryLayer, {ORVIK_SM_READ, s.layer, board}, a);
    ASSERT_EQ(status, 0) << s.name;
    EXPECT_EQ(Text(*reinterpret_cast<OrvikStr*>(a.Slot(0))), s.name);
    EXPECT_EQ(a.Slot(4)[0], s.prev) << s.name;
    EXPECT_EQ(a.Slot(5)[0], s.next) << s.name;
    if (plane) {
      EXPECT_NE(reinterpret_cast<OrvikStr*>(a.Slot(6))->length, 0) << s.name;
    }
  }
  for (uint8_t outside : {33, 37, 57, 74, 4}) {
    Arena a;
    ASSERT_EQ(Invoke(PcbApi_QueryLayer, {ORVIK_SM_READ, outside, board}, a), 0);
    EXPECT_NE(reinterpret_cast<OrvikStr*>(a.Slot(0))->length, 0);
    EXPECT_EQ(a.Slot(4)[0], 0) << int{outside};
    EXPECT_EQ(a.Slot(5)[0], 0) << int{outside};
  }
  EXPECT_EQ(Text(ReadAttr<OrvikStr>(board, "PcbApi_QueryLayer", 0, 33)), "TopOverlay");
  EXPECT_EQ(Text(ReadAttr<OrvikStr>(board, "PcbApi_QueryLayer", 0, 74)), "MultiLayer");
  EXPECT_EQ(Text(ReadAttr<OrvikStr>(board, "PcbApi_QueryInternalPlane", 6, 45)), "(No Net)");

  int32_t count = -1;
  ASSERT_EQ(PcbApi_QueryBoardLayerPairsCount(board, &count, ORVIK_SM_READ), 0);
  EXPECT_EQ(count, 1);
  uint32_t l1 = 0, l2 = 0;
  uint8_t b1 = 0, b2 = 0;
  ASSERT_EQ(PcbApi_QueryBoardLayerPairAt(ORVIK_SM_READ, board, 0, &l1, &l2, &b2, &b1), 0);
  EXPECT_EQ(l1, 1u);
  EXPECT_EQ(l2, 32u);

  OrvikStr material{};
  uint8_t type = 0;
  double constant = 0;
  int32_t height = 0;
  ASSERT_EQ(PcbApi_QueryLayerDielectric(ORVIK_SM_READ, 1, board, &material, &type, &constant, &height), 0);
  EXPECT_EQ(Text(material), "FR-4");
  EXPECT_EQ(type, 1);
  EXPECT_DOUBLE_EQ(constant, 4.8);
  EXPECT_EQ(height, 126000);
  uint8_t split = 0;
  ASSERT_EQ(PcbApi_QueryBoardSplitPlaneMode(ORVIK_SM_READ, board, &split), 0);
  EXPECT_EQ(split, 1);
}

TEST_F(KovlanTest, LayerLinksAndPairsCanBeSetUp) {
  ASSERT_EQ(KvHost_SetLayerLink(32, 2, 0), 0);
  ASSERT_EQ(KvHost_SetLayerLink(2, 1, 32), 0);
  EXPECT_EQ(ReadAttr<uint8_t>(board, "PcbApi_QueryLayer", 4, 32), 2);
  EXPECT_EQ(ReadAttr<uint8_t>(board, "PcbApi_QueryLayer", 5, 2), 32);
  EXPECT_NE(KvHost_SetLayerLink(83, 0, 0), 0);
  const uint32_t pairs[] = {1, 2, 2, 32};
  ASSERT_EQ(KvHost_SetLayerPairs(2, pairs), 0);
  int32_t count = 0;
  ASSERT_EQ(PcbApi_QueryBoardLayerPairsCount(board, &count, ORVIK_SM_READ), 0);
  EXPECT_EQ(count, 2);
  EXPECT_EQ(ReadAttr<uint32_t>(board, "PcbApi_QueryBoardLayerPairAt", 0, 1), 2u);
  EXPECT_EQ(ReadAttr<uint32_t>(board, "PcbApi_QueryBoardLayerPairAt", 1, 1), 32u);
  ASSERT_EQ(KvHost_SetLayerPairs(0, nullptr), 0);
  ASSERT_EQ(PcbApi_QueryBoardLayerPairsCount(board, &count, ORVIK_SM_READ), 0);
  EXPECT_EQ(count, 0);
  uint32_t l1, l2;
  uint8_t b1, b2;
  EXPECT_NE(PcbApi_QueryBoardLayerPairAt(ORVIK_SM_READ, board, 0, &l1, &l2, &b2, &b1), 0);
}

// ---------------------------------------------------------------------------
// Journal, progress, JSON

TEST_F(KovlanTest, JournalRecordsCallsWithTheirScalarArgumentsWhileOn) {
  const uint32_t track = PcbApi_CreateObject(kTrack);
  EXPECT_EQ(KvHost_JournalCount(), 0);
  KvHost_SetJournal(1);
  const OrvikStr message = Str("Loading x");
  PcbApi_Percent_Init(&message, 10);
  PcbApi_AddObjectToContainer(board, track);
  Arena a;
  Invoke(PcbApi_QueryTrack, {ORVIK_SM_READ, track}, a);
  Invoke(PcbApi_QueryLayer, {ORVIK_SM_READ, 2, board}, a);
  PcbApi_SetPadShapeOnLayer(99, 5, 9);
  int32_t count;
  PcbApi_QueryBoardLayerPairsCount(board, &count, ORVIK_SM_READ);
  KvHost_SetJournal(0);
  PcbApi_Percent_Finish();
  const std::string b = std::to_string(board), t = std::to_string(track);
  EXPECT_EQ(
      orvik::test::JournalLines(),
      (std::vector<std::string>{"PcbApi_Percent_Init Loading x 10", "PcbApi_AddObjectToContainer " + b + " " + t,
                                "PcbApi_QueryTrack 1 " + t, "PcbApi_QueryLayer 1 2 " + b,
                                "PcbApi_SetPadShapeOnLayer 99 5 9", "PcbApi_QueryBoardLayerPairsCount " + b + " 1"}));
  char small[4];
  EXPECT_EQ(KvHost_JournalEntry(0, small, sizeof small), -1);
  EXPECT_EQ(KvHost_JournalEntry(6, small, sizeof small), -1);
  KvHost_Reset();
  EXPECT_EQ(KvHost_JournalCount(), 0);
}

struct ProgressLog {
  std::vector<std::string> events;
};

void ORVIK_STDCALL OnProgress(int32_t event, const char* message, int32_t done, int32_t total, void* ctx) {
  static_cast<ProgressLog*>(ctx)->events.push_back(std::to_string(event) + " " + message + " " + std::to_string(done) +
                                                   "/" + std::to_string(total));
}

TEST_F(KovlanTest, ProgressTracksTheOpenRangeAndReportsEveryStep) {
  ProgressLog log;
  KvHost_SetProgressCallback(OnProgress, &log);
  PcbApi_Percent_Update();  // no range open: accepted and counted
  PcbApi_Percent_Finish();
  EXPECT_EQ(KvHost_ProgressOpen(), 0);
  const OrvikStr message = Str("Adding primitives to board...");
  PcbApi_Percent_Init(&message, 2);
  EXPECT_EQ(KvHost_ProgressOpen(), 1);
  for (int i = 0; i < 3; ++i) PcbApi_Percent_Update();  // one past the total
  char text[64];
  int32_t done = 0, total = 0;
  EXPECT_EQ(KvHost_ProgressState(text, sizeof text, &done, &total), 1);
  EXPECT_STREQ(text, "Adding primitives to board...");
  EXPECT_EQ(done, 3);
  EXPECT_EQ(total, 2);
  PcbApi_Percent_Finish();
  EXPECT_EQ(KvHost_ProgressOpen(), 0);
  int32_t inits, updates, finishes;
  KvHost_ProgressCounts(&inits, &updates, &finishes);
  EXPECT_EQ(inits, 1);
  EXPECT_EQ(updates, 4);
  EXPECT_EQ(finishes, 2);
  const std::string m = "Adding primitives to board...";
  EXPECT_EQ(log.events, (std::vector<std::string>{"0 " + m + " 0/2", "1 " + m + " 1/2", "1 " + m + " 2/2",
                                                  "1 " + m + " 3/2", "2 " + m + " 3/2"}));
}

TEST_F(KovlanTest, JsonDumpIsStableAndEscapesBytes) {
  const uint32_t net = PcbApi_CreateObject(kNet);
  const uint32_t track = PcbApi_CreateObject(kTrack);
  PcbApi_AddObjectToContainer(net, track);
  PcbApi_AddObjectToContainer(board, track);
  int16_t index = 1;
  OrvikStr name = Str("N\"1\\\x01\xE9");
  uint8_t b = 0;
  int32_t v = 0;
  ASSERT_EQ(PcbApi_QueryNet(ORVIK_SM_WRITE, net, &index, &name, &b, &v), 0);
  const std::string first = Dump();
  EXPECT_EQ(Dump(), first);
  const std::string t = std::to_string(track), n = std::to_string(net);
  for (const std::string& expected :
       {std::string("\"name\":\"N\\\"1\\\\\\u0001\\u00E9\""), "\"handle\":" + t + ",\"kind\":\"track\"",
        "\"memberOf\":[" + n + "," + std::to_string(board) + "]", "\"members\":[" + t + "]",
        std::string("\"layerPairs\":[{\"layer1\":1,\"layer2\":32}]"),
        std::string("{\"layer\":39,\"name\":\"InternalPlane1\",\"prev\":2,\"next\":40}"),
        std::string("\"PcbApi_QueryTrack\":{\"flags\":0,"), std::string("\"dielectricConstant\":4.8")}) {
    EXPECT_NE(first.find(expected), std::string::npos) << expected;
  }
  for (const char c : first) {
    EXPECT_GE(static_cast<unsigned char>(c), 0x0A);
    EXPECT_LT(static_cast<unsigned char>(c), 0x80);
  }
  // The same calls after a reset give the same bytes.
  KvHost_Reset();
  const uint32_t net2 = PcbApi_CreateObject(kNet);
  const uint32_t track2 = PcbApi_CreateObject(kTrack);
  PcbApi_AddObjectToContainer(net2, track2);
  PcbApi_AddObjectToContainer(board, track2);
  ASSERT_EQ(PcbApi_QueryNet(ORVIK_SM_WRITE, net2, &index, &name, &b, &v), 0);
  EXPECT_EQ(Dump(), first);
  EXPECT_NE(KvHost_DumpJson(nullptr), 0);
}

TEST_F(KovlanTest, BoundingRectangleCoversTheTrack) {
  const uint32_t track = PcbApi_CreateObject(kTrack);
  Arena a;
  ASSERT_EQ(Invoke(PcbApi_QueryTrack, {ORVIK_SM_READ, track}, a), 0);
  const int32_t x1 = 1000, y1 = 5000, x2 = -3000, y2 = 9000, width = 200;
  std::memcpy(a.Slot(6), &x1, 4);
  std::memcpy(a.Slot(7), &y1, 4);
  std::memcpy(a.Slot(8), &x2, 4);
  std::memcpy(a.Slot(9), &y2, 4);
  std::memcpy(a.Slot(10), &width, 4);
  ASSERT_EQ(Invoke(PcbApi_QueryTrack, {ORVIK_SM_WRITE, track}, a), 0);
  int32_t b[4];
  ASSERT_EQ(PcbApi_QueryObjectBoundingRectangle(track, &b[0], &b[1], &b[2], &b[3]), 0);
  EXPECT_EQ(std::vector<int32_t>(b, b + 4), (std::vector<int32_t>{-3100, 4900, 1100, 9100}));
}

TEST_F(KovlanTest, ClassMembersAreKeptInOrder) {
  const uint32_t cls = PcbApi_CreateObject(15);
  const OrvikStr a = Str("GND"), b = Str("VCC");
  EXPECT_EQ(PcbApi_AddMemberToClass(cls, &a), 0);
  EXPECT_EQ(PcbApi_AddMemberToClass(cls, &b), 0);
  OrvikStr got{};
  EXPECT_EQ(PcbApi_GetMemberFromClassAt(cls, 1, &got), 0);
  EXPECT_EQ(Text(got), "VCC");
  EXPECT_EQ(PcbApi_GetMemberFromClassAt(cls, 2, &got), 1);
  EXPECT_EQ(PcbApi_RemoveAllMembersFromClass(cls), 0);
  EXPECT_EQ(PcbApi_GetMemberFromClassAt(cls, 0, &got), 1);
  EXPECT_NE(PcbApi_AddMemberToClass(PcbApi_CreateObject(kNet), &a), 0);
}

}  // namespace
