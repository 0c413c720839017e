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
    case ORVIK_KIND_ARC:
      return std::make_unique<TPcbArc>(handle);
    case ORVIK_KIND_PAD:
      return std::make_unique<TPcbPad>(handle);
    case ORVIK_KIND_VIA:
      return std::make_unique<TPcbVia>(handle);
    case ORVIK_KIND_TRACK:
      return std::make_unique<TPcbTrack>(handle);
    case ORVIK_KIND_TEXT:
      return std::make_unique<TPcbText>(handle);
    case ORVIK_KIND_FILL:
      return std::make_unique<TPcbFill>(handle);
    case ORVIK_KIND_FROM_TO:
      return std::make_unique<TPcbFromTo>(handle);
    case ORVIK_KIND_NET:
      return std::make_unique<TPcbNet>(handle);
    case ORVIK_KIND_COMPONENT:
      return std::make_unique<TPcbComponent>(handle);
    case ORVIK_KIND_POLYGON:
      return std::make_unique<TPcbPolygon>(handle);
    case ORVIK_KIND_REGION:
      return std::make_unique<TPCBRegion>(handle);
    case ORVIK_KIND_COMPONENT_BODY:
      return std::make_unique<TPcbComponentBody>(handle);
    case ORVIK_KIND_DIMENSION:
      return std::make_unique<TPcbDimension>(handle);
    case ORVIK_KIND_COORDINATE:
      return std::make_unique<TPcbCoordinate>(handle);
    case ORVIK_KIND_CLASS:
      return std::make_unique<TPCBObjectClass>(handle);
    case ORVIK_KIND_RULE:
      return std::make_unique<TPcbRule>(handle);
    case ORVIK_KIND_MANUAL_FROM_TO:
      return std::make_unique<TPcbManualFromTo>(handle);
    case ORVIK_KIND_DIFFERENTIAL_PAIR:
      return std::make_unique<TPcbDifferentialPair>(handle);
    case ORVIK_KIND_VIOLATION:
      return std::make_unique<TPcbViolation>(handle);
    case ORVIK_KIND_EMBEDDED:
      return std::make_unique<TPcbEmbedded>(handle);
    case ORVIK_KIND_EMBEDDED_BOARD:
      return std::make_unique<TPcbEmbeddedBoard>(handle);
    case ORVIK_KIND_SPLIT_PLANE:
      return std::make_unique<TPcbSplitPlane>(handle);
    case ORVIK_KIND_BOARD_OUTLINE:
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
