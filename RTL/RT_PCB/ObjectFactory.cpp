#include "RTL/RT_PCB/ObjectFactory.h"

#include "RTL/RT_PCB/PcbApi.h"
#include "RTL/RT_PCB/PcbArc.h"
#include "RTL/RT_PCB/PcbComponent.h"
#include "RTL/RT_PCB/PcbDimension.h"
#include "RTL/RT_PCB/PcbEmbedded.h"
#include "RTL/RT_PCB/PcbFill.h"
#include "RTL/RT_PCB/PcbFromTo.h"
#include "RTL/RT_PCB/PcbMiscObjects.h"
#include "RTL/RT_PCB/PcbNet.h"
#include "RTL/RT_PCB/PcbObjectClass.h"
#include "RTL/RT_PCB/PcbPad.h"
#include "RTL/RT_PCB/PcbPolygon.h"
#include "RTL/RT_PCB/PcbRegion.h"
#include "RTL/RT_PCB/PcbRule.h"
#include "RTL/RT_PCB/PcbSplitPlane.h"
#include "RTL/RT_PCB/PcbText.h"
#include "RTL/RT_PCB/PcbTrack.h"
#include "RTL/RT_PCB/PcbVia.h"

namespace orvik {

namespace {

// The client object for a kind, unread; nullptr for kinds without a class.
std::unique_ptr<TPCBObject> MakeObject(std::uint8_t kind, std::uint32_t handle) {
  switch (kind) {
    case 1:
      return std::make_unique<TPcbArc>(handle);
    case 2:
      return std::make_unique<TPcbPad>(handle);
    case 3:
      return std::make_unique<TPcbVia>(handle);
    case 4:
      return std::make_unique<TPcbTrack>(handle);
    case 5:
      return std::make_unique<TPcbText>(handle);
    case 6:
      return std::make_unique<TPcbFill>(handle);
    case 7:
      return std::make_unique<TPcbFromTo>(handle);
    case 8:
      return std::make_unique<TPcbNet>(handle);
    case 9:
      return std::make_unique<TPcbComponent>(handle);
    case 10:
      return std::make_unique<TPcbPolygon>(handle);
    case 11:
      return std::make_unique<TPCBRegion>(handle);
    case 12:
      return std::make_unique<TPcbComponentBody>(handle);
    case 13:
      return std::make_unique<TPcbDimension>(handle);
    case 14:
      return std::make_unique<TPcbCoordinate>(handle);
    case 15:
      return std::make_unique<TPCBObjectClass>(handle);
    case 16:
      return std::make_unique<TPcbRule>(handle);
    case 17:
      return std::make_unique<TPcbManualFromTo>(handle);
    case 18:
      return std::make_unique<TPcbDifferentialPair>(handle);
    case 19:
      return std::make_unique<TPcbViolation>(handle);
    case 20:
      return std::make_unique<TPcbEmbedded>(handle);
    case 21:
      return std::make_unique<TPcbEmbeddedBoard>(handle);
    case 22:
      return std::make_unique<TPcbSplitPlane>(handle);
    case 26:
      return std::make_unique<TPcbBoardOutline>(handle);
    default:
      return nullptr;
  }
}

}  // namespace

std::unique_ptr<TPCBObject> CreateObjectFromHandle(std::uint32_t handle) {
  const auto kind = static_cast<std::uint8_t>(pcbapi::GetObjectIdFromObjectHandle(handle) & 0x7F);
  auto object = MakeObject(kind, handle);
  if (object != nullptr) object->SyncWithHost(smRead);
  return object;
}

std::string GetObjectTextByHandle(std::uint32_t handle) {
  if (handle == 0) return {};
  const auto object = CreateObjectFromHandle(handle);
  return object != nullptr ? object->GetText() : std::string();
}

}  // namespace orvik
