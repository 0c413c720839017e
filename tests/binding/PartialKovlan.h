// What the partial stand-in module (tests/binding/PartialKovlan.cpp) answers,
// shared by the module and the tests that load it.
#pragma once

#include <cstdint>

#include "orvik/abi.h"

inline constexpr uint32_t kPartialBoardHandle = 0x5151;
inline constexpr uint32_t kPartialObjectBase = 0x1000;
inline constexpr char kPartialDisplayChar = 'D';

// The last message and total that PcbApi_Percent_Init received.
typedef int32_t(ORVIK_STDCALL* PartialKovlan_LastPercentInit_fn)(OrvikShortString* message, int32_t* total);
