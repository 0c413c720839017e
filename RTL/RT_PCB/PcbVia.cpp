#include "RTL/RT_PCB/PcbVia.h"

#include "RTL/RT_PCB/PcbApi.h"

namespace orvik {

TPcbVia::TPcbVia(std::uint32_t handle) noexcept : TPCBObject(handle) { ObjectId = ORVIK_KIND_VIA; }

std::int32_t TPcbVia::SyncWithHost(TSyncMode mode) {
  SyncBitFields(mode);
  // The host speaks legacy layers for vias. The byte goes out and comes back
  // in every mode, so a written via keeps the legacy form of what it sent.
  TLegacyLayer layer = LegacyLayer();
  const std::int32_t status =
      pcbapi::QueryVia(mode, Handle, &Flags, &Index, &layer, &Net, &AuxByte, &Component, &X, &Y, &Size, &HoleSize,
                       &ViaOption1, &ViaOption2, &StackOption1, &StackOption2);
  SetLegacyLayer(layer);
  return status;
}

bool TPcbVia::GetStackOption1() const { return StackOption1 != 0; }
void TPcbVia::SetStackOption1(bool value) { StackOption1 = value ? 1 : 0; }
bool TPcbVia::GetStackOption2() const { return StackOption2 != 0; }
void TPcbVia::SetStackOption2(bool value) { StackOption2 = value ? 1 : 0; }
std::int32_t TPcbVia::GetHoleSize() const { return HoleSize; }
std::int32_t TPcbVia::GetSize() const { return Size; }
bool TPcbVia::GetViaOption1() const { return ViaOption1 != 0; }
bool TPcbVia::GetViaOption2() const { return ViaOption2 != 0; }

std::int32_t TPcbVia::GetSizeOnLayer(TLegacyLayer layer) {
  std::int32_t xSize = 0;
  std::int32_t ySize = 0;
  return pcbapi::QueryPadOrViaSizeOnLayer(Handle, layer, &xSize, &ySize) == 0 ? xSize : 0;
}

std::uint8_t TPcbVia::GetShapeOnLayer(TLegacyLayer layer) {
  std::uint8_t shape = 0;
  return pcbapi::QueryPadOrViaShapeOnLayer(Handle, layer, &shape) == 0 ? shape : 0;
}

void TPcbVia::SetHoleSize(std::int32_t value) { HoleSize = value; }
void TPcbVia::SetSize(std::int32_t value) { Size = value; }
void TPcbVia::SetViaOption1(bool value) { ViaOption1 = value ? 1 : 0; }
void TPcbVia::SetViaOption2(bool value) { ViaOption2 = value ? 1 : 0; }

}  // namespace orvik
