// TPcbVia: a plated hole centred on (X, Y). The host exchanges its layer as a
// legacy byte, so after every exchange LayerId is legacy-coded.
#pragma once

#include "RTL/RT_PCB/PcbObject.h"

namespace orvik {

class TPcbVia : public TPCBObject {
 public:
  explicit TPcbVia(std::uint32_t handle) noexcept;

  std::int32_t SyncWithHost(TSyncMode mode) override;
  bool GetStackOption1() const override;
  void SetStackOption1(bool value) override;
  bool GetStackOption2() const override;
  void SetStackOption2(bool value) override;
  std::int32_t GetHoleSize() const override;
  std::int32_t GetSize() const override;
  bool GetViaOption1() const override;
  bool GetViaOption2() const override;
  // Asked of the host; 0 when the host reports a failure.
  std::int32_t GetSizeOnLayer(TLegacyLayer layer) override;
  std::uint8_t GetShapeOnLayer(TLegacyLayer layer) override;
  void SetHoleSize(std::int32_t value) override;
  void SetSize(std::int32_t value) override;
  void SetViaOption1(bool value) override;
  void SetViaOption2(bool value) override;

  std::int32_t Size = 0;  // diameter
  std::int32_t HoleSize = 0;
  std::uint8_t ViaOption1 = 0;  // the option bytes are the host's; forwarded only
  std::uint8_t ViaOption2 = 0;
  std::uint8_t StackOption1 = 0;
  std::uint8_t StackOption2 = 0;
};

}  // namespace orvik
