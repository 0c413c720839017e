// Design rules and the violations the host's rule checker reports.
#pragma once

#include <array>
#include <cstdint>

#include "RTL/RT_PCB/PcbObject.h"
#include "RTL/RT_PCB/ShortString.h"

namespace orvik {

class TPcbRule : public TPCBObject {
 public:
  static constexpr std::uint8_t kObjectId = ORVIK_KIND_RULE;

  explicit TPcbRule(std::uint32_t handle);

  // QueryRule: the 23 values in declaration order.
  std::int32_t SyncWithHost(TSyncMode mode) override;

  std::array<std::uint8_t, 7> RuleBytes1{};
  std::array<ShortString<255>, 4> RuleTexts1;
  std::array<std::uint8_t, 2> RuleBytes2{};
  std::array<std::int32_t, 4> RuleValues{};
  std::array<ShortString<255>, 6> RuleTexts2;
};

class TPcbViolation : public TPCBObject {
 public:
  static constexpr std::uint8_t kObjectId = ORVIK_KIND_VIOLATION;

  explicit TPcbViolation(std::uint32_t handle);

  // QueryViolation: the two texts and the three values.
  std::int32_t SyncWithHost(TSyncMode mode) override;

  ShortString<255> ViolationText1;
  ShortString<255> ViolationText2;
  std::array<std::int32_t, 3> ViolationValues{};
};

}  // namespace orvik
