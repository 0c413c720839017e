#include "RTL/RT_PCB/PcbComponent.h"

#include "RTL/RT_PCB/ObjectFactory.h"
#include "RTL/RT_PCB/PcbApi.h"

namespace orvik {

TPcbComponent::TPcbComponent(std::uint32_t handle) : TPcbGroupObject(handle) { ObjectId = kObjectId; }

std::int32_t TPcbComponent::SyncWithHost(TSyncMode mode) {
  SyncBitFields(mode);
  pcbapi::QueryComponentChannelOffset(mode, Handle, &ChannelOffset);
  pcbapi::QueryComponentKind(mode, Handle, &ComponentKind);
  TLegacyLayer layer = LegacyLayer();
  const std::int32_t result = pcbapi::QueryComponent(mode, Handle, &Flags, &Index, &layer, &AuxByte, &DesignatorHandle,
                                                     &CommentHandle, HostArg(Pattern), &ComponentByte1, &ComponentByte2,
                                                     &X, &Y, &ComponentValue, &Rotation, &ComponentByte3);
  SetLegacyLayer(layer);
  pcbapi::QueryComponentEx(mode, Handle, &ExValue1, &ExByte1, &ExByte2, &ExValue2);
  auto& s = SourceLinks;
  pcbapi::QueryComponentSourceLinks(mode, Handle, HostArg(s[0]), HostArg(s[1]), HostArg(s[2]), HostArg(s[3]),
                                    HostArg(s[4]), HostArg(s[5]), HostArg(s[6]), HostArg(s[7]));
  pcbapi::QueryDefaultPCB3DModel(mode, Handle, HostArg(DefaultModel));
  return result;
}

std::string TPcbComponent::GetName() { return GetObjectTextByHandle(DesignatorHandle); }

double TPcbComponent::GetRotation() const { return Rotation; }

std::int32_t TPcbComponent::AddPrimitive(std::uint32_t objectHandle) {
  if (objectHandle == 0) return 1;
  return pcbapi::AddObjectToContainer(Handle, objectHandle);
}

}  // namespace orvik
