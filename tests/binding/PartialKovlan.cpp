// A stand-in host PCB module that exports only a handful of entry points, one
// of the three upper-case-prefixed names in its exact case and another in the
// wrong case. Built as "Kovlan" in a directory of its own.
#define ORVIK_PCBAPI_DECLARE_EXPORTS
#include <algorithm>
#include <cstring>

#include "orvik/pcbapi.h"
#include "tests/binding/PartialKovlan.h"

namespace {
OrvikShortString g_lastMessage{};
int32_t g_lastTotal = -1;
}  // namespace

ORVIK_EXTERN_C ORVIK_EXPORT uint32_t ORVIK_STDCALL PcbApi_GetCurrentBoardHandle(void) { return kPartialBoardHandle; }

ORVIK_EXTERN_C ORVIK_EXPORT uint32_t ORVIK_STDCALL PcbApi_CreateObject(uint8_t objectId) {
  return kPartialObjectBase + objectId;
}

ORVIK_EXTERN_C ORVIK_EXPORT void ORVIK_STDCALL PcbApi_Percent_Init(const OrvikStr* message, int32_t total) {
  if (message != nullptr) std::memcpy(&g_lastMessage, message, sizeof g_lastMessage);
  g_lastTotal = total;
}

// Fills the whole buffer, leaving no room for a terminator.
ORVIK_EXTERN_C ORVIK_EXPORT int32_t ORVIK_STDCALL PcbApi_GetDesignatorDisplayString(char* buffer256, uint32_t) {
  if (buffer256 == nullptr) return 1;
  std::memset(buffer256, kPartialDisplayChar, ORVIK_DISPLAY_STRING_SIZE);
  return 0;
}

ORVIK_EXTERN_C ORVIK_EXPORT int32_t ORVIK_STDCALL PCBAPI_GetUnaryRuleForPrimitive(void) { return 0; }
// Wrong letter case: the table must not take these for its PCBAPI_ names.
ORVIK_EXTERN_C ORVIK_EXPORT int32_t ORVIK_STDCALL PcbApi_GetBinaryRuleForPrimitive(void) { return 0; }
ORVIK_EXTERN_C ORVIK_EXPORT int32_t ORVIK_STDCALL pcbapi_CheckPrimitivesOverlapWithClearance(void) { return 0; }

ORVIK_EXTERN_C ORVIK_EXPORT int32_t ORVIK_STDCALL PartialKovlan_LastPercentInit(OrvikShortString* message,
                                                                                int32_t* total) {
  if (message != nullptr) std::memcpy(message, &g_lastMessage, sizeof g_lastMessage);
  if (total != nullptr) *total = g_lastTotal;
  return 0;
}
