#include "RTL/RT_PCB/PcbEmbedded.h"

#include "RTL/RT_PCB/PcbApi.h"

namespace orvik {

TPcbEmbedded::TPcbEmbedded(std::uint32_t handle) : TPCBObject(handle) { ObjectId = kObjectId; }

std::int32_t TPcbEmbedded::SyncWithHost(TSyncMode mode) {
  SyncBitFields(mode);
  return pcbapi::QueryEmbedded(mode, Handle, HostArg(EmbeddedText), Buffer.get());
}

TPcbEmbeddedBoard::TPcbEmbeddedBoard(std::uint32_t handle) : TPCBObject(handle) {
  ObjectId = kObjectId;
  SetLegacyLayer(1);
}

std::int32_t TPcbEmbeddedBoard::SyncWithHost(TSyncMode mode) {
  SyncBitFields(mode);
  return pcbapi::QueryEmbeddedBoard(mode, Handle, &Flags, &Index, &AuxByte, &X, &Y, HostArg(DocumentName), &BoardValue1,
                                    &BoardValue2, &BoardValue3, &BoardValue4, &BoardValue5, &Mirrored, &BoardByte);
}

bool TPcbEmbeddedBoard::GetMirrored() const { return Mirrored != 0; }

void TPcbEmbeddedBoard::SetMirrored(bool value) { Mirrored = value ? 1 : 0; }

}  // namespace orvik
