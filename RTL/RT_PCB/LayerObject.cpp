#include "RTL/RT_PCB/LayerObject.h"

#include "RTL/RT_PCB/PcbApi.h"

namespace orvik {

TLayerObject::TLayerObject(std::uint32_t boardHandle, TLegacyLayer layer)
    : BoardHandle(boardHandle), Layer(layer), LayerName(LegacyLayerName(layer)) {}

std::int32_t TLayerObject::SyncDielectric(TSyncMode mode) {
  return pcbapi::QueryLayerDielectric(mode, Layer, BoardHandle, HostArg(Dielectric.Material),
                                      &Dielectric.DielectricType, &Dielectric.DielectricConstant, &Dielectric.Height);
}

std::int32_t TLayerObject::SyncWithHost(TSyncMode mode) {
  const std::int32_t result = pcbapi::QueryLayer(mode, Layer, BoardHandle, HostArg(LayerName), &CopperThickness,
                                                 &LayerByte1, &LayerByte2, &PrevLayer, &NextLayer, &LayerByte3);
  SyncDielectric(mode);
  return result;
}

TInternalPlane::TInternalPlane(std::uint32_t boardHandle, TLegacyLayer layer) : TLayerObject(boardHandle, layer) {}

std::int32_t TInternalPlane::SyncWithHost(TSyncMode mode) {
  const std::int32_t result =
      pcbapi::QueryInternalPlane(mode, Layer, BoardHandle, HostArg(LayerName), &CopperThickness, &LayerByte1,
                                 &LayerByte2, &PrevLayer, &NextLayer, HostArg(NetName));
  SyncDielectric(mode);
  return result;
}

}  // namespace orvik
