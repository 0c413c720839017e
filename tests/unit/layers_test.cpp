#include "RTL/RT_PCB/Layers.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>

namespace orvik {
namespace {

struct ConstructorCase {
  const char* name;
  std::function<TLayerId(std::int64_t)> make;
  std::int64_t n;
  TLayerId expected;
};

TEST(Layers, ConstructorsMapNumbersToIdentifiers) {
  const ConstructorCase cases[] = {
      {"Signal", SignalLayer, 1, 1},
      {"Signal", SignalLayer, 2, 2},
      {"Signal", SignalLayer, 31, 31},
      {"Signal", SignalLayer, 32, 0x01010020},
      {"Signal", SignalLayer, 65534, 0x0101FFFE},
      {"Signal", SignalLayer, 65535, layer::BottomLayer},
      {"Signal", SignalLayer, 0, 0x01010000},
      {"Mid", MidLayer, 0, layer::TopLayer},
      {"Mid", MidLayer, 1, 2},
      {"Mid", MidLayer, 30, 31},
      {"Mid", MidLayer, 65534, layer::BottomLayer},
      {"Plane", InternalPlaneLayer, 1, 39},
      {"Plane", InternalPlaneLayer, 16, 54},
      {"Plane", InternalPlaneLayer, 17, 0x01040011},
      {"Plane", InternalPlaneLayer, 65535, 0x0104FFFF},
      {"Mech", MechanicalLayer, 1, 57},
      {"Mech", MechanicalLayer, 16, 72},
      {"Mech", MechanicalLayer, 17, 0x04000011},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.make(c.n), c.expected) << c.name << "(" << c.n << ")";
  }
}

struct RejectCase {
  std::function<TLayerId(std::int64_t)> make;
  std::int64_t n;
  const char* message;
};

TEST(Layers, ConstructorsRejectNumbersOutOfRange) {
  const RejectCase cases[] = {
      {SignalLayer, 65536, "Creating SignalLayer(65536)"},
      {SignalLayer, -1, "Creating SignalLayer(-1)"},
      {MidLayer, 65535, "Creating SignalLayer(65536)"},
      {MidLayer, INT64_MAX, "Creating SignalLayer(9223372036854775808)"},
      {InternalPlaneLayer, 0, "Creating InternalPlaneLayer(0)"},
      {InternalPlaneLayer, 65536, "Creating InternalPlaneLayer(65536)"},
      {MechanicalLayer, 0, "Creating MechanicalLayer(0)"},
      {MechanicalLayer, 65536, "Creating MechanicalLayer(65536)"},
      {MechanicalLayer, INT64_MIN, "Creating MechanicalLayer(-9223372036854775808)"},
  };
  for (const auto& c : cases) {
    try {
      c.make(c.n);
      ADD_FAILURE() << "no exception for " << c.message;
    } catch (const ELayerException& e) {
      EXPECT_STREQ(e.what(), c.message);
    }
  }
}

TEST(Layers, LegacyNumbersRoundTrip) {
  for (int l = 0; l <= kMaxLegacyLayer; ++l) {
    const auto legacy = static_cast<TLegacyLayer>(l);
    EXPECT_EQ(LayerIdFromLegacy(legacy), static_cast<TLayerId>(l));
    EXPECT_EQ(LegacyLayerFromLayerId(LayerIdFromLegacy(legacy)), legacy) << l;
  }
  EXPECT_EQ(LayerIdFromLegacy(83), layer::NoLayer);
  EXPECT_EQ(LayerIdFromLegacy(255), layer::NoLayer);
}

TEST(Layers, PartitionCodedLayersClampIntoLegacyRanges) {
  EXPECT_EQ(LegacyLayerFromLayerId(SignalLayer(40)), 31);
  EXPECT_EQ(LegacyLayerFromLayerId(InternalPlaneLayer(20)), 54);
  EXPECT_EQ(LegacyLayerFromLayerId(MechanicalLayer(100)), 72);
  // A partition-coded signal layer numbered 1 is a mid layer, read back as its number.
  EXPECT_EQ(LayerPartition(0x01010001), 2);
  EXPECT_EQ(LegacyLayerFromLayerId(0x01010001), 1);
}

TEST(Layers, PartitionAndNumberOfIdentifiers) {
  struct Case {
    TLayerId id;
    TLayerPartition partition;
    std::int32_t number;
  };
  const Case cases[] = {
      {0, 0, 0},
      {1, 1, 1},
      {2, 2, 2},
      {31, 2, 31},
      {32, 3, 65535},
      {33, 6, 6},
      {38, 11, 11},
      {39, 4, 1},
      {54, 4, 16},
      {55, 12, 12},
      {56, 13, 13},
      {57, 5, 1},
      {72, 5, 16},
      {73, 14, 14},
      {74, 15, 15},
      {82, 23, 23},
      {83, 0, 0},
      {0x01010020, 2, 32},
      {0x0101FFFF, 2, 65535},
      {0x01040011, 4, 17},
      {0x04000064, 5, 100},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(LayerPartition(c.id), c.partition) << c.id;
    EXPECT_EQ(LayerNumberInPartition(c.id), c.number) << c.id;
  }
  // Bits 16..23 set under a zero top byte: the low byte is taken as the code.
  EXPECT_EQ(LayerPartition(0x00010021), 33);
}

TEST(Layers, UnclassifiableIdentifiersRaiseAssertionFailures) {
  try {
    LayerPartition(0x01010000);
    ADD_FAILURE() << "bare signal tag classified";
  } catch (const EAssertionFailed& e) {
    EXPECT_STREQ(e.what(), "Could not find layer partition ID=16842752 (RTL\\RT_PCB, line 10330)");
  }
  EXPECT_THROW(LayerPartition(0xFFFFFFFF), EAssertionFailed);
  try {
    LegacyLayerFromLayerId(0x00010021);
    ADD_FAILURE() << "partition code 33 converted";
  } catch (const EAssertionFailed& e) {
    EXPECT_STREQ(e.what(), "Assertion failure (RTL\\RT_PCB, line 9142)");
  }
}

TEST(Layers, PredicatesRejectBarePartitionTags) {
  EXPECT_TRUE(IsPartitionTagOnly(0x01010000));
  EXPECT_FALSE(IsPartitionTagOnly(0));
  EXPECT_FALSE(IsSignalLayerId(0x01010000));
  EXPECT_FALSE(IsInternalPlaneLayerId(0x01040000));
  EXPECT_FALSE(IsMechanicalLayerId(0x04000000));
  EXPECT_TRUE(IsSignalLayerId(32));
  EXPECT_FALSE(IsSignalLayerId(33));
  EXPECT_TRUE(IsMechanicalLayerId(0x04000011));
  EXPECT_FALSE(IsMechanicalLayerId(0x04010011));
  EXPECT_TRUE(IsTopByteZero(0x00FFFFFF));
  EXPECT_FALSE(IsTopByteZero(0x01000000));
}

TEST(Layers, LegacyNameTable) {
  const std::pair<int, const char*> cases[] = {
      {0, "NoLayer"},         {1, "TopLayer"},
      {2, "MidLayer1"},       {31, "MidLayer30"},
      {32, "BottomLayer"},    {38, "BottomSolder"},
      {39, "InternalPlane1"}, {54, "InternalPlane16"},
      {56, "KeepOutLayer"},   {57, "Mechanical1"},
      {72, "Mechanical16"},   {74, "MultiLayer"},
      {82, "ViaHoleLayer"},   {83, ""},
  };
  for (const auto& [l, name] : cases) EXPECT_EQ(LegacyLayerName(static_cast<TLegacyLayer>(l)), name) << l;
  for (int l = 0; l <= kMaxLegacyLayer; ++l) EXPECT_LE(LegacyLayerName(static_cast<TLegacyLayer>(l)).size(), 20u);
}

}  // namespace
}  // namespace orvik
