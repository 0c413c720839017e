// Group objects and the other kinds: each exchange with the host, the
// component's layer and primitives, class members, dimension references and
// the factory.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "RTL/RT_PCB/ObjectFactory.h"
#include "RTL/RT_PCB/PcbApi.h"
#include "RTL/RT_PCB/PcbComponent.h"
#include "RTL/RT_PCB/PcbDimension.h"
#include "RTL/RT_PCB/PcbEmbedded.h"
#include "RTL/RT_PCB/PcbFromTo.h"
#include "RTL/RT_PCB/PcbMiscObjects.h"
#include "RTL/RT_PCB/PcbNet.h"
#include "RTL/RT_PCB/PcbObjectClass.h"
#include "RTL/RT_PCB/PcbPolygon.h"
#include "RTL/RT_PCB/PcbRule.h"
#include "RTL/RT_PCB/PcbSplitPlane.h"
#include "orvik/kovlan.h"
#include "pcb_sync_slots.h"
#include "tests/support/StandInHost.h"

namespace orvik {
namespace {

using test::JournalLines;
using testing::Block;
using testing::Field;
using testing::SlotGroup;
using testing::Text;

// One kind: how to build its client object and where its attributes go.
struct KindCase {
  const char* name;
  std::uint8_t objectId;
  const char* query;  // the kind's main entry point
  std::function<std::unique_ptr<TPCBObject>(std::uint32_t)> make;
  std::function<std::vector<SlotGroup>(TPCBObject&)> groups;
};

template <class T>
KindCase Kind(const char* name, const char* query, std::function<std::vector<SlotGroup>(T&)> own) {
  return {name, T::kObjectId, query,
          [](std::uint32_t h) -> std::unique_ptr<TPCBObject> { return std::make_unique<T>(h); },
          [own](TPCBObject& o) {
            std::vector<SlotGroup> groups = {{"PcbApi_GetObjectBitField2", -1, {Field(0, o.BitField2)}},
                                             {"PcbApi_GetObjectBitField3", -1, {Field(0, o.BitField3)}}};
            for (auto& g : own(static_cast<T&>(o))) groups.push_back(std::move(g));
            return groups;
          }};
}

std::vector<SlotGroup> PrimitiveSlots(TPCBObject& o) {
  return {{"PcbApi_QueryPrimitive",
           -1,
           {Field(0, o.Flags), Field(1, o.Index), Field(2, o.LayerId), Field(3, o.Net), Field(4, o.Component),
            Field(5, o.AuxByte)}}};
}

std::vector<SlotGroup> PolygonSlots(TPcbPolygon& p) {
  return {{"PcbApi_QueryPolygon",
           -1,
           {Field(0, p.Flags), Field(1, p.Index), Field(2, p.LayerId), Field(3, p.Net), Field(4, p.AuxByte),
            Field(5, p.PolygonByte2), Field(6, p.PolygonByte3), Field(7, p.PolygonByte4), Field(8, p.PolygonValue1),
            Field(9, p.PolygonValue2), Field(10, p.ByteAfterVertices), Field(11, p.WordAfterVertices),
            Field(12, p.PolygonValue3), Field(13, p.PolygonByte1), Field(14, p.PolygonValue4),
            Block(15, p.Vertices.get(), static_cast<int>(kVerticesSize))}}};
}

std::vector<KindCase> AllKinds() {
  std::vector<KindCase> kinds;
  kinds.push_back(Kind<TPcbComponent>("Component", "PcbApi_QueryComponent", [](TPcbComponent& c) {
    auto& s = c.SourceLinks;
    return std::vector<SlotGroup>{
        {"PcbApi_QueryComponentChannelOffset", -1, {Field(0, c.ChannelOffset)}},
        {"PcbApi_QueryComponentKind", -1, {Field(0, c.ComponentKind)}},
        {"PcbApi_QueryComponent",
         -1,
         {Field(0, c.Flags), Field(1, c.Index), Field(3, c.AuxByte), Field(4, c.DesignatorHandle),
          Field(5, c.CommentHandle), Text(6, c.Pattern), Field(7, c.ComponentByte1), Field(8, c.ComponentByte2),
          Field(9, c.X), Field(10, c.Y), Field(11, c.ComponentValue), Field(12, c.Rotation),
          Field(13, c.ComponentByte3)}},
        {"PcbApi_QueryComponentEx",
         -1,
         {Field(0, c.ExValue1), Field(1, c.ExByte1), Field(2, c.ExByte2), Field(3, c.ExValue2)}},
        {"PcbApi_QueryComponentSourceLinks",
         -1,
         {Text(0, s[0]), Text(1, s[1]), Text(2, s[2]), Text(3, s[3]), Text(4, s[4]), Text(5, s[5]), Text(6, s[6]),
          Text(7, s[7])}},
        {"PcbApi_QueryDefaultPCB3DModel", -1, {Text(0, c.DefaultModel)}}};
  }));
  kinds.push_back(Kind<TPcbNet>("Net", "PcbApi_QueryNet", [](TPcbNet& n) {
    return std::vector<SlotGroup>{
        {"PcbApi_QueryNet", -1, {Field(0, n.Index), Text(1, n.Name), Field(2, n.NetByte), Field(3, n.NetValue)}}};
  }));
  kinds.push_back(Kind<TPcbPolygon>("Polygon", "PcbApi_QueryPolygon", PolygonSlots));
  kinds.push_back(Kind<TPcbBoardOutline>("BoardOutline", "PcbApi_QueryPolygon",
                                         [](TPcbBoardOutline& p) { return PolygonSlots(p); }));
  kinds.push_back(Kind<TPcbSplitPlane>("SplitPlane", "PcbApi_QuerySplitPlane", [](TPcbSplitPlane& p) {
    return std::vector<SlotGroup>{{"PcbApi_QuerySplitPlane",
                                   -1,
                                   {Field(0, p.Flags), Field(1, p.Index), Field(2, p.LayerId), Field(3, p.Net),
                                    Field(4, p.AuxByte), Field(5, p.ByteAfterVertices), Field(6, p.SplitPlaneValue),
                                    Block(7, p.Vertices.get(), static_cast<int>(kVerticesSize))}}};
  }));
  kinds.push_back(Kind<TPcbFromTo>("FromTo", "PcbApi_QueryFromTo", [](TPcbFromTo& f) {
    return std::vector<SlotGroup>{{"PcbApi_QueryFromTo",
                                   -1,
                                   {Field(0, f.Index), Field(1, f.X), Field(2, f.Y), Field(3, f.FromToByte1),
                                    Field(4, f.X2), Field(5, f.Y2), Field(6, f.FromToByte2), Field(7, f.Net)}}};
  }));
  kinds.push_back(Kind<TPcbManualFromTo>("ManualFromTo", "PcbApi_QueryManualFromTo", [](TPcbManualFromTo& f) {
    return std::vector<SlotGroup>{
        {"PcbApi_QueryManualFromTo",
         -1,
         {Field(0, f.Index), Text(1, f.Text1), Text(2, f.Text2), Text(3, f.Text3), Field(4, f.ManualValue)}}};
  }));
  kinds.push_back(Kind<TPcbComponentBody>("ComponentBody", "PcbApi_QueryPrimitive",
                                          [](TPcbComponentBody& o) { return PrimitiveSlots(o); }));
  kinds.push_back(Kind<TPcbDifferentialPair>("DifferentialPair", "PcbApi_QueryPrimitive",
                                             [](TPcbDifferentialPair& o) { return PrimitiveSlots(o); }));
  kinds.push_back(Kind<TPcbCoordinate>("Coordinate", "PcbApi_QueryCoordinate", [](TPcbCoordinate& c) {
    auto& v = c.CoordinateValues;
    return std::vector<SlotGroup>{
        {"PcbApi_QueryCoordinate",
         -1,
         {Field(0, c.Flags), Field(1, c.Index), Field(2, c.AuxByte), Field(3, c.X), Field(4, c.Y), Field(5, c.LayerId),
          Field(6, v[0]), Field(7, v[1]), Field(8, v[2]), Field(9, v[3]), Field(10, v[4]), Field(11, v[5])}}};
  }));
  kinds.push_back(Kind<TPcbDimension>("Dimension", "PcbApi_QueryDimension", [](TPcbDimension& d) {
    auto& v = d.DimensionValues;
    SlotGroup ext{"PcbApi_QueryExtDimension", -1, {Field(0, d.DimensionKind)}};
    for (int i = 0; i < 11; ++i) ext.slots.push_back(Field(1 + i, d.ExtValues[static_cast<std::size_t>(i)]));
    for (int i = 0; i < 3; ++i) ext.slots.push_back(Field(12 + i, d.ExtBytes[static_cast<std::size_t>(i)]));
    for (int i = 0; i < 3; ++i) ext.slots.push_back(Text(15 + i, d.ExtTexts[static_cast<std::size_t>(i)]));
    ext.slots.push_back(Field(18, d.ExtReal));
    return std::vector<SlotGroup>{
        {"PcbApi_QueryDimension",
         -1,
         {Field(0, d.Flags), Field(1, d.Index), Field(2, d.AuxByte), Field(3, d.X), Field(4, d.Y), Field(5, v[0]),
          Field(6, v[1]), Field(7, d.LayerId), Field(8, v[2]), Field(9, v[3]), Field(10, v[4]), Field(11, v[5]),
          Field(12, v[6]), Field(13, d.DimensionByte)}},
        ext};
  }));
  kinds.push_back(Kind<TPCBObjectClass>("ObjectClass", "PcbApi_QueryClass", [](TPCBObjectClass& c) {
    return std::vector<SlotGroup>{
        {"PcbApi_QueryClass",
         -1,
         {Field(0, c.Index), Field(1, c.ClassByte1), Field(2, c.ClassByte2), Text(3, c.Name)}}};
  }));
  kinds.push_back(Kind<TPcbEmbedded>("Embedded", "PcbApi_QueryEmbedded", [](TPcbEmbedded& e) {
    return std::vector<SlotGroup>{
        {"PcbApi_QueryEmbedded",
         -1,
         {Text(0, e.EmbeddedText), Block(1, e.Buffer.get(), static_cast<int>(TPcbEmbedded::kBufferSize))}}};
  }));
  kinds.push_back(Kind<TPcbEmbeddedBoard>("EmbeddedBoard", "PcbApi_QueryEmbeddedBoard", [](TPcbEmbeddedBoard& e) {
    return std::vector<SlotGroup>{
        {"PcbApi_QueryEmbeddedBoard",
         -1,
         {Field(0, e.Flags), Field(1, e.Index), Field(2, e.AuxByte), Field(3, e.X), Field(4, e.Y),
          Text(5, e.DocumentName), Field(6, e.BoardValue1), Field(7, e.BoardValue2), Field(8, e.BoardValue3),
          Field(9, e.BoardValue4), Field(10, e.BoardValue5), Field(11, e.Mirrored), Field(12, e.BoardByte)}}};
  }));
  kinds.push_back(Kind<TPcbRule>("Rule", "PcbApi_QueryRule", [](TPcbRule& r) {
    SlotGroup g{"PcbApi_QueryRule", -1, {}};
    int position = 0;
    for (auto& b : r.RuleBytes1) g.slots.push_back(Field(position++, b));
    for (auto& t : r.RuleTexts1) g.slots.push_back(Text(position++, t));
    for (auto& b : r.RuleBytes2) g.slots.push_back(Field(position++, b));
    for (auto& v : r.RuleValues) g.slots.push_back(Field(position++, v));
    for (auto& t : r.RuleTexts2) g.slots.push_back(Text(position++, t));
    return std::vector<SlotGroup>{g};
  }));
  kinds.push_back(Kind<TPcbViolation>("Violation", "PcbApi_QueryViolation", [](TPcbViolation& v) {
    return std::vector<SlotGroup>{
        {"PcbApi_QueryViolation",
         -1,
         {Text(0, v.ViolationText1), Text(1, v.ViolationText2), Field(2, v.ViolationValues[0]),
          Field(3, v.ViolationValues[1]), Field(4, v.ViolationValues[2])}}};
  }));
  return kinds;
}

class PcbGroupHost : public test::FreshHost {
 protected:
  static void SetHostText(std::uint32_t handle, const char* entryPoint, int position, std::string_view text) {
    OrvikShortString s{};
    s.length = static_cast<std::uint8_t>(text.size());
    std::memcpy(s.text, text.data(), text.size());
    ASSERT_EQ(KvHost_WriteAttribute(handle, entryPoint, position, &s, sizeof s), 256);
  }
};

// ------------------------------------------------------------ exchanges ---

TEST_F(PcbGroupHost, EveryKindWritesEachAttributeAtItsPosition) {
  for (const KindCase& kind : AllKinds()) {
    SCOPED_TRACE(kind.name);
    const std::uint32_t handle = pcbapi::CreateObject(kind.objectId);
    ASSERT_NE(handle, 0u);
    auto object = kind.make(handle);
    EXPECT_EQ(object->ObjectId, kind.objectId);
    testing::ExpectWritten([&](TSyncMode mode) { object->SyncWithHost(mode); }, handle, kind.groups(*object));
  }
}

TEST_F(PcbGroupHost, EveryKindReadsEachAttributeFromItsPosition) {
  for (const KindCase& kind : AllKinds()) {
    SCOPED_TRACE(kind.name);
    const std::uint32_t handle = pcbapi::CreateObject(kind.objectId);
    ASSERT_NE(handle, 0u);
    auto object = kind.make(handle);
    testing::ExpectRead([&](TSyncMode mode) { object->SyncWithHost(mode); }, handle, kind.groups(*object));
  }
}

TEST(PcbGroupPure, NewObjectsCarryTheirKindAndDefaults) {
  for (const KindCase& kind : AllKinds()) {
    const auto object = kind.make(42);
    EXPECT_EQ(object->ObjectId, kind.objectId) << kind.name;
    EXPECT_EQ(object->Handle, 42u) << kind.name;
    EXPECT_EQ(object->Index, 0) << kind.name;
  }
  EXPECT_EQ(TPcbManualFromTo(1).ObjectId, 17);
  EXPECT_EQ(TPcbEmbeddedBoard(1).GetLayer(), 1);
  EXPECT_EQ(TPcbDimension(1).DimensionKind, 8);
  EXPECT_EQ(TPcbDimension(1).ReferenceCount, 0);
  const TPcbPolygon polygon(1);
  ASSERT_NE(polygon.Vertices, nullptr);
  EXPECT_EQ(polygon.Vertices[0], 0);
  EXPECT_EQ(polygon.Vertices[kVerticesSize - 1], 0);
}

// ------------------------------------------------------------ component ---

TEST_F(PcbGroupHost, ComponentLayerCrossesAsALegacyByte) {
  const std::uint32_t handle = pcbapi::CreateObject(TPcbComponent::kObjectId);
  ASSERT_NE(handle, 0u);
  TPcbComponent component(handle);
  auto hostLayer = [&] {
    std::uint8_t value = 0xFF;
    EXPECT_EQ(KvHost_ReadAttribute(handle, "PcbApi_QueryComponent", 2, &value, 1), 1);
    return value;
  };

  struct WriteCase {
    TLayerId before;
    std::uint8_t sent;
  };
  for (const WriteCase c : {WriteCase{layer::BottomLayer, 32}, WriteCase{layer::TopLayer, 1},
                            WriteCase{0x01010028, 31},  // signal layer 40 reads back as MidLayer30
                            WriteCase{layer::NoLayer, 0}}) {
    component.LayerId = c.before;
    for (const TSyncMode mode : {smWrite, smRebind}) {
      component.LayerId = c.before;
      EXPECT_EQ(component.SyncWithHost(mode), 0);
      EXPECT_EQ(hostLayer(), c.sent) << c.before;
      EXPECT_EQ(component.LayerId, LayerIdFromLegacy(c.sent)) << c.before;
    }
  }

  struct ReadCase {
    std::uint8_t host;
    TLayerId after;
  };
  for (const ReadCase c :
       {ReadCase{74, layer::MultiLayer}, ReadCase{32, layer::BottomLayer}, ReadCase{90, layer::NoLayer}}) {
    ASSERT_EQ(KvHost_WriteAttribute(handle, "PcbApi_QueryComponent", 2, &c.host, 1), 1);
    component.LayerId = 57;
    component.SyncWithHost(smRead);
    EXPECT_EQ(component.LayerId, c.after) << int{c.host};
    EXPECT_EQ(component.GetLayer(), LegacyLayerFromLayerId(c.after));
  }
}

TEST_F(PcbGroupHost, ComponentAddsPrimitives) {
  const std::uint32_t handle = pcbapi::CreateObject(TPcbComponent::kObjectId);
  TPcbComponent component(handle);
  KvHost_SetJournal(1);
  EXPECT_EQ(component.AddPrimitive(0), 1);
  EXPECT_EQ(JournalLines(), std::vector<std::string>{});

  const std::uint32_t pad = pcbapi::CreateObject(2);
  const std::uint32_t track = pcbapi::CreateObject(4);
  EXPECT_EQ(component.AddPrimitive(pad), 0);
  EXPECT_EQ(component.AddPrimitive(track), 0);
  EXPECT_EQ(test::Members(handle), (std::vector<std::uint32_t>{pad, track}));
}

TEST_F(PcbGroupHost, ComponentNameIsTheHostsCurrentDesignatorText) {
  const std::uint32_t handle = pcbapi::CreateObject(TPcbComponent::kObjectId);
  TPcbComponent component(handle);
  EXPECT_EQ(component.GetName(), "");  // no designator

  const std::uint32_t text = pcbapi::CreateObject(5);
  ASSERT_NE(text, 0u);
  SetHostText(text, "PcbApi_QueryText", 12, "U7");
  component.DesignatorHandle = text;
  EXPECT_EQ(component.GetName(), "U7");
  SetHostText(text, "PcbApi_QueryText", 12, "U8");
  EXPECT_EQ(component.GetName(), "U8");

  // An object without text, and a handle the host does not know.
  component.DesignatorHandle = pcbapi::CreateObject(8);
  EXPECT_EQ(component.GetName(), "");
  component.DesignatorHandle = 0x7FFFFFF0;
  EXPECT_EQ(component.GetName(), "");
}

TEST_F(PcbGroupHost, RotationComesFromTheLastRead) {
  const std::uint32_t handle = pcbapi::CreateObject(TPcbComponent::kObjectId);
  const double rotation = 270.5;
  ASSERT_EQ(KvHost_WriteAttribute(handle, "PcbApi_QueryComponent", 12, &rotation, 8), 8);
  TPcbComponent component(handle);
  EXPECT_EQ(component.GetRotation(), 0.0);
  component.SyncWithHost(smRead);
  EXPECT_EQ(component.GetRotation(), 270.5);

  TPcbNet net(pcbapi::CreateObject(TPcbNet::kObjectId));
  net.SyncWithHost(smRead);
  EXPECT_EQ(net.GetRotation(), 0.0);
  net.Name = "GND";
  EXPECT_EQ(net.GetName(), "GND");
}

// ------------------------------------------------- class and dimension ---

TEST_F(PcbGroupHost, ClassMembersRoundTripInOrder) {
  const std::uint32_t handle = pcbapi::CreateObject(TPCBObjectClass::kObjectId);
  ASSERT_NE(handle, 0u);
  TPCBObjectClass written(handle);
  for (const char* name : {"VCC", "GND", "CLK"}) written.Members.emplace_back(name);
  written.SyncWithHost(smWrite);

  TPCBObjectClass read(handle);
  read.SyncWithHost(smRead);
  read.SyncWithHost(smRead);  // a second read replaces the list
  ASSERT_EQ(read.Members.size(), 3u);
  EXPECT_EQ(read.Members[0], "VCC");
  EXPECT_EQ(read.Members[1], "GND");
  EXPECT_EQ(read.Members[2], "CLK");

  // A write replaces the host's list.
  read.Members.pop_back();
  read.SyncWithHost(smWrite);
  TPCBObjectClass again(handle);
  again.SyncWithHost(smRead);
  EXPECT_EQ(again.Members.size(), 2u);
}

TEST_F(PcbGroupHost, ClassReadStopsWhenTheHostFails) {
  // No such object: the host fails every member query.
  TPCBObjectClass missing(0x7FFFFFF1);
  missing.Members.emplace_back("stale");
  EXPECT_NE(missing.SyncWithHost(smRead), 0);
  EXPECT_TRUE(missing.Members.empty());
}

TEST_F(PcbGroupHost, DimensionReferencesRoundTrip) {
  const std::uint32_t handle = pcbapi::CreateObject(TPcbDimension::kObjectId);
  ASSERT_NE(handle, 0u);
  TPcbDimension written(handle);
  written.ReferenceCount = 3;
  for (int i = 0; i < 3; ++i) {
    written.References[static_cast<std::size_t>(i)] = {i * 10 + 1, i * 10 + 2, i * 10 + 3, i * 10 + 4};
  }
  written.SyncWithHost(smWrite);

  TPcbDimension read(handle);
  read.SyncWithHost(smRead);
  ASSERT_EQ(read.ReferenceCount, 3);
  for (int i = 0; i < 3; ++i) {
    const auto& r = read.References[static_cast<std::size_t>(i)];
    EXPECT_EQ(r.Value1, i * 10 + 1);
    EXPECT_EQ(r.Value4, i * 10 + 4);
  }
}

TEST_F(PcbGroupHost, DimensionReadsNoMoreReferencesThanItHolds) {
  struct Case {
    std::int32_t hostCount;
    std::int32_t kept;
  };
  for (const Case c : {Case{250, 200}, Case{200, 200}, Case{-5, 0}, Case{0x7FFFFFFF, 200}}) {
    const std::uint32_t handle = pcbapi::CreateObject(TPcbDimension::kObjectId);
    ASSERT_NE(handle, 0u);
    ASSERT_EQ(KvHost_WriteAttribute(handle, "PcbApi_References_Count", 0, &c.hostCount, 4), 4);
    TPcbDimension dimension(handle);
    KvHost_SetJournal(1);
    dimension.SyncWithHost(smRead);
    KvHost_SetJournal(0);
    EXPECT_EQ(dimension.ReferenceCount, c.kept) << c.hostCount;
    EXPECT_EQ(JournalLines("PcbApi_References_At ").size(), static_cast<std::size_t>(c.kept)) << c.hostCount;
    KvHost_Reset();
  }
}

// -------------------------------------------------------------- factory ---

TEST_F(PcbGroupHost, FactoryBuildsAndReadsEveryKnownKind) {
  const struct {
    std::uint8_t kind;
    const char* query;
  } kinds[] = {{1, "PcbApi_QueryArc"},         {2, "PcbApi_QueryPad"},           {3, "PcbApi_QueryVia"},
               {4, "PcbApi_QueryTrack"},       {5, "PcbApi_QueryText"},          {6, "PcbApi_QueryFill"},
               {7, "PcbApi_QueryFromTo"},      {8, "PcbApi_QueryNet"},           {9, "PcbApi_QueryComponent"},
               {10, "PcbApi_QueryPolygon"},    {11, "PcbApi_QueryRegion"},       {12, "PcbApi_QueryPrimitive"},
               {13, "PcbApi_QueryDimension"},  {14, "PcbApi_QueryCoordinate"},   {15, "PcbApi_QueryClass"},
               {16, "PcbApi_QueryRule"},       {17, "PcbApi_QueryManualFromTo"}, {18, "PcbApi_QueryPrimitive"},
               {19, "PcbApi_QueryViolation"},  {20, "PcbApi_QueryEmbedded"},     {21, "PcbApi_QueryEmbeddedBoard"},
               {22, "PcbApi_QuerySplitPlane"}, {26, "PcbApi_QueryPolygon"}};
  for (const auto& k : kinds) {
    const std::uint32_t handle = pcbapi::CreateObject(k.kind);
    ASSERT_NE(handle, 0u) << int{k.kind};
    KvHost_SetJournal(1);
    const auto object = CreateObjectFromHandle(handle);
    KvHost_SetJournal(0);
    ASSERT_NE(object, nullptr) << int{k.kind};
    EXPECT_EQ(object->ObjectId, k.kind);
    EXPECT_EQ(object->Handle, handle);
    EXPECT_FALSE(JournalLines(std::string(k.query) + " 1 ").empty()) << int{k.kind};
    KvHost_Reset();
  }
}

TEST_F(PcbGroupHost, FactoryBuildsNothingForUnknownKinds) {
  KvHost_SetJournal(1);
  EXPECT_EQ(CreateObjectFromHandle(0), nullptr);
  EXPECT_EQ(CreateObjectFromHandle(0x7FFFFFF2), nullptr);  // the host reports kind 0
  EXPECT_EQ(GetObjectTextByHandle(0x7FFFFFF2), "");
  for (const int kind : {23, 24, 25, 27, 64, 127}) {
    const std::uint32_t handle = pcbapi::CreateObject(static_cast<std::uint8_t>(kind));
    if (handle == 0) continue;  // the host may refuse kinds it has no use for
    EXPECT_EQ(KvHost_ObjectKind(handle), kind);
    EXPECT_EQ(CreateObjectFromHandle(handle), nullptr) << kind;
    EXPECT_EQ(GetObjectTextByHandle(handle), "") << kind;
  }
  // Nothing but kind queries (and the creations) reached the host.
  for (const std::string& line : JournalLines()) {
    const std::string name = line.substr(0, line.find(' '));
    EXPECT_TRUE(name == "PcbApi_GetObjectIdFromObjectHandle" || name == "PcbApi_CreateObject") << line;
  }
}

TEST_F(PcbGroupHost, ObjectTextIsTheTextOfTheObject) {
  const std::uint32_t text = pcbapi::CreateObject(5);
  SetHostText(text, "PcbApi_QueryText", 12, ".REFDES");
  EXPECT_EQ(GetObjectTextByHandle(text), ".REFDES");
  EXPECT_EQ(GetObjectTextByHandle(pcbapi::CreateObject(4)), "");  // a track has no text
  EXPECT_EQ(GetObjectTextByHandle(0), "");
}

}  // namespace
}  // namespace orvik
