// Embedded objects: an opaque embedded document, and a board embedded in
// another as a panel element.
#pragma once

#include <cstdint>
#include <memory>

#include "RTL/RT_PCB/PcbObject.h"
#include "RTL/RT_PCB/ShortString.h"
#include "orvik/abi.h"

namespace orvik {

class TPcbEmbedded : public TPCBObject {
 public:
  static constexpr std::uint8_t kObjectId = ORVIK_KIND_EMBEDDED;
  static constexpr std::size_t kBufferSize = ORVIK_EMBEDDED_BUFFER_SIZE;

  explicit TPcbEmbedded(std::uint32_t handle);

  // QueryEmbedded: the text and the whole buffer.
  std::int32_t SyncWithHost(TSyncMode mode) override;

  ShortString<255> EmbeddedText;
  // The host's opaque data, zero-filled on the heap.
  std::unique_ptr<std::uint8_t[]> Buffer = std::make_unique<std::uint8_t[]>(kBufferSize);
};

class TPcbEmbeddedBoard : public TPCBObject {
 public:
  static constexpr std::uint8_t kObjectId = ORVIK_KIND_EMBEDDED_BOARD;

  // Starts on the top layer.
  explicit TPcbEmbeddedBoard(std::uint32_t handle);

  // QueryEmbeddedBoard: Flags, Index, AuxByte, X, Y, then the own fields.
  std::int32_t SyncWithHost(TSyncMode mode) override;
  bool GetMirrored() const override;
  void SetMirrored(bool value) override;

  ShortString<255> DocumentName;
  std::int32_t BoardValue1 = 0;
  std::int32_t BoardValue2 = 0;
  std::int32_t BoardValue3 = 0;
  std::int32_t BoardValue4 = 0;
  std::int64_t BoardValue5 = 0;
  std::uint8_t Mirrored = 0;
  std::uint8_t BoardByte = 0;
};

}  // namespace orvik
