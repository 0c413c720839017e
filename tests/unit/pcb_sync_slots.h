// Checks that an object's exchange with the stand-in host puts each
// attribute at its position with its width (write) and fills each field
// from the host's value at that position (read).
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <type_traits>
#include <vector>

#include "RTL/RT_PCB/PcbObject.h"
#include "RTL/RT_PCB/ShortString.h"
#include "orvik/kovlan.h"

namespace orvik::testing {

using Bytes = std::vector<std::uint8_t>;

// One attribute: its position among the entry point's attribute addresses,
// its width on the host side, and access to the client's copy as host bytes.
struct SyncSlot {
  int position;
  int width;
  bool text;
  std::function<Bytes()> get;
  std::function<void(const Bytes&)> set;
};

template <class T>
SyncSlot Field(int position, T& field) {
  static_assert(std::is_trivially_copyable_v<T>);
  return {position, static_cast<int>(sizeof(T)), false,
          [&field] {
            Bytes b(sizeof(T));
            std::memcpy(b.data(), &field, sizeof(T));
            return b;
          },
          [&field](const Bytes& b) { std::memcpy(&field, b.data(), sizeof(T)); }};
}

inline SyncSlot Block(int position, std::uint8_t* data, int size) {
  return {position, size, false, [data, size] { return Bytes(data, data + size); },
          [data](const Bytes& b) { std::memcpy(data, b.data(), b.size()); }};
}

// A string slot; its bytes are the whole 256-byte buffer, zero after the text.
template <std::size_t N>
SyncSlot Text(int position, ShortString<N>& field) {
  return {position, static_cast<int>(sizeof(OrvikShortString)), true,
          [&field] {
            OrvikShortString buffer{};
            field.ToHost(buffer);
            Bytes b(sizeof buffer);
            std::memcpy(b.data(), &buffer, sizeof buffer);
            return b;
          },
          [&field](const Bytes& b) {
            OrvikShortString buffer{};
            std::memcpy(&buffer, b.data(), sizeof buffer);
            field.FromHost(buffer);
          }};
}

// A value for a slot that differs between slots and between seeds.
inline Bytes Pattern(const SyncSlot& slot, int seed) {
  Bytes b(static_cast<std::size_t>(slot.width), 0);
  if (slot.text) {
    std::string s = "s";
    s += std::to_string(seed);
    s += 'p';
    s += std::to_string(slot.position);
    b[0] = static_cast<std::uint8_t>(s.size());
    std::memcpy(b.data() + 1, s.data(), s.size());
    return b;
  }
  for (std::size_t k = 0; k < b.size(); ++k) {
    b[k] = static_cast<std::uint8_t>(seed * 37 + slot.position * 11 + static_cast<int>(k) * 3 + 1);
  }
  return b;
}

// Host bytes of a string buffer, zero after the text.
inline Bytes Normalised(const SyncSlot& slot, Bytes b) {
  if (slot.text && !b.empty()) std::fill(b.begin() + 1 + b[0], b.end(), std::uint8_t{0});
  return b;
}

// Reads the host's value of a slot; `layer` < 0 for object attributes.
inline Bytes HostValue(std::uint32_t handle, const char* entryPoint, int layer, const SyncSlot& slot) {
  Bytes b(static_cast<std::size_t>(slot.width));
  const int width = layer < 0
                        ? KvHost_ReadAttribute(handle, entryPoint, slot.position, b.data(), slot.width)
                        : KvHost_ReadLayerAttribute(handle, entryPoint, layer, slot.position, b.data(), slot.width);
  EXPECT_EQ(width, slot.width) << entryPoint << " position " << slot.position;
  return Normalised(slot, b);
}

// The attributes of one entry point; `layer` >= 0 for values kept per layer.
struct SlotGroup {
  const char* entryPoint;
  int layer;
  std::vector<SyncSlot> slots;
};

// Sets every slot to a distinct value, writes, and checks the host's copy.
inline void ExpectWritten(const std::function<void(TSyncMode)>& sync, std::uint32_t handle,
                          const std::vector<SlotGroup>& groups, int seed = 3) {
  for (std::size_t g = 0; g < groups.size(); ++g) {
    for (const auto& slot : groups[g].slots) slot.set(Pattern(slot, seed + static_cast<int>(g)));
  }
  sync(smWrite);
  for (std::size_t g = 0; g < groups.size(); ++g) {
    const auto& group = groups[g];
    for (const auto& slot : group.slots) {
      EXPECT_EQ(HostValue(handle, group.entryPoint, group.layer, slot), Pattern(slot, seed + static_cast<int>(g)))
          << group.entryPoint << " layer " << group.layer << " position " << slot.position;
    }
  }
}

// Seeds every slot's host value, reads, and checks the client's fields.
inline void ExpectRead(const std::function<void(TSyncMode)>& sync, std::uint32_t handle,
                       const std::vector<SlotGroup>& groups, int seed = 50) {
  for (std::size_t g = 0; g < groups.size(); ++g) {
    const auto& group = groups[g];
    for (const auto& slot : group.slots) {
      const Bytes value = Pattern(slot, seed + static_cast<int>(g));
      const int width = group.layer < 0
                            ? KvHost_WriteAttribute(handle, group.entryPoint, slot.position, value.data(), slot.width)
                            : KvHost_WriteLayerAttribute(handle, group.entryPoint, group.layer, slot.position,
                                                         value.data(), slot.width);
      ASSERT_EQ(width, slot.width) << group.entryPoint << " layer " << group.layer << " position " << slot.position;
    }
  }
  sync(smRead);
  for (std::size_t g = 0; g < groups.size(); ++g) {
    const auto& group = groups[g];
    for (const auto& slot : group.slots) {
      EXPECT_EQ(Normalised(slot, slot.get()), Pattern(slot, seed + static_cast<int>(g)))
          << group.entryPoint << " layer " << group.layer << " position " << slot.position;
    }
  }
}

}  // namespace orvik::testing
