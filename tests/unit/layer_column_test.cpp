// The compact per-layer column must read back exactly what was put in, by
// every road (Get, CopyTo, Cursor), whether it holds runs or a full array.
#include <gtest/gtest.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <random>
#include <string>

#include "RTL/RT_PCB/LayerColumn.h"

namespace {

constexpr std::size_t kLayers = 83;

template <class T>
using Values = std::array<T, kLayers>;

// Runs of random lengths (1..30) with values from a small set, so that
// neighbouring runs sometimes share a value and boundaries fall anywhere
// within an eight-byte word.
template <class T>
Values<T> RandomRuns(std::mt19937& random, int distinct) {
  Values<T> values{};
  std::uniform_int_distribution<int> length(1, 30);
  std::uniform_int_distribution<int> pick(0, distinct - 1);
  std::size_t layer = 0;
  while (layer < kLayers) {
    const T value = static_cast<T>(pick(random) * 0x01010101 + 7);
    for (int n = length(random); n > 0 && layer < kLayers; --n) values[layer++] = value;
  }
  return values;
}

template <class T>
void ExpectHolds(const orvik::TLayerColumn<T, kLayers>& column, const Values<T>& expected, const std::string& where) {
  Values<T> copied{};
  column.CopyTo(copied.data());
  typename orvik::TLayerColumn<T, kLayers>::Cursor cursor(column);
  for (std::size_t layer = 0; layer < kLayers; ++layer) {
    ASSERT_EQ(column.Get(layer), expected[layer]) << where << " layer " << layer;
    ASSERT_EQ(copied[layer], expected[layer]) << where << " layer " << layer;
    ASSERT_EQ(cursor(layer), expected[layer]) << where << " layer " << layer;
  }
}

template <class T>
void CheckAssignAndAppend() {
  std::mt19937 random(83);
  orvik::TLayerColumn<T, kLayers> assigned;
  orvik::TLayerColumn<T, kLayers> appended;
  for (int round = 0; round < 2000; ++round) {
    // Few distinct values: mostly a handful of runs; many: mostly more runs
    // than the column keeps, so it switches to a full array and back.
    const Values<T> values = RandomRuns<T>(random, round % 3 == 0 ? 40 : 2);
    const std::string where = "round " + std::to_string(round);
    assigned.Assign(values.data());
    ExpectHolds(assigned, values, where + " Assign");
    appended.Restart();
    for (const T v : values) appended.Append(v);
    ExpectHolds(appended, values, where + " Append");
    const orvik::TLayerColumn<T, kLayers> copy(assigned);
    ExpectHolds(copy, values, where + " copy");
  }
}

TEST(LayerColumn, ReadsBackWhatWasAssignedOrAppended) {
  CheckAssignAndAppend<std::uint8_t>();
  CheckAssignAndAppend<std::int32_t>();
}

TEST(LayerColumn, EdgesOfTheRunLimit) {
  // Exactly as many runs as are kept, one more, a run on the last layer
  // only, and one value everywhere.
  Values<std::int32_t> kept{}, over{}, lastOnly{}, flat{};
  for (std::size_t layer = 0; layer < kLayers; ++layer) {
    const auto run = static_cast<std::int32_t>(layer * 6 / kLayers);
    kept[layer] = run;
    over[layer] = static_cast<std::int32_t>(layer * 7 / kLayers);
    lastOnly[layer] = layer + 1 == kLayers ? -1 : 5;
    flat[layer] = -2;
  }
  orvik::TLayerColumn<std::int32_t, kLayers> column;
  for (const auto* values : {&kept, &over, &lastOnly, &flat, &over, &kept}) {
    column.Assign(values->data());
    ExpectHolds(column, *values, "edge");
  }
}

TEST(LayerColumn, WritableElementKeepsTheOtherLayers) {
  Values<std::uint8_t> values{};
  values.fill(3);
  orvik::TLayerColumn<std::uint8_t, kLayers> column;
  column.Assign(values.data());
  column[40] = 9;
  values[40] = 9;
  ExpectHolds(column, values, "after a write");
  column.fill(4);
  values.fill(4);
  ExpectHolds(column, values, "after fill");
}

}  // namespace
