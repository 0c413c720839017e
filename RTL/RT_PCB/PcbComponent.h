// A component: a footprint placed on the board, with the text objects that
// show its designator and comment, and the primitives it holds.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "RTL/RT_PCB/PcbGroupObject.h"
#include "RTL/RT_PCB/ShortString.h"

namespace orvik {

class TPcbComponent : public TPcbGroupObject {
 public:
  static constexpr std::uint8_t kObjectId = ORVIK_KIND_COMPONENT;
  static constexpr int kSourceLinkCount = 8;

  explicit TPcbComponent(std::uint32_t handle);

  // Exchanges all attributes; the layer crosses as a legacy byte, so after
  // any exchange LayerId is legacy-coded. Returns QueryComponent's status.
  std::int32_t SyncWithHost(TSyncMode mode) override;
  // The designator: the host's current text of the object behind
  // DesignatorHandle (empty for 0).
  std::string GetName() override;
  double GetRotation() const override;

  // Puts a primitive into the component; 1 without a host call for handle 0.
  std::int32_t AddPrimitive(std::uint32_t objectHandle);

  std::int32_t ChannelOffset = 0;
  std::int32_t ComponentKind = 0;
  std::uint32_t DesignatorHandle = 0;
  std::uint32_t CommentHandle = 0;
  ShortString<250> Pattern;
  std::uint8_t ComponentByte1 = 0;
  std::uint8_t ComponentByte2 = 0;
  std::int32_t ComponentValue = 0;
  double Rotation = 0.0;
  std::uint8_t ComponentByte3 = 0;
  // Exchanged through QueryComponentEx.
  std::int32_t ExValue1 = 0;
  std::uint8_t ExByte1 = 0;
  std::uint8_t ExByte2 = 0;
  std::int32_t ExValue2 = 0;
  std::array<ShortString<255>, kSourceLinkCount> SourceLinks;
  ShortString<255> DefaultModel;
};

}  // namespace orvik
