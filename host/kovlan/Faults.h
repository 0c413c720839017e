// Switchable host faults: the stand-in module misbehaves on purpose so that
// tests can check how the plug-in copes with a faulty host. All switches are
// off after KvHost_Reset; KvHost_SetFault turns them on by name.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "host/kovlan/ApiTable.h"

namespace kovlan::faults {

// Sets the switch `name` to `value` (0 turns it off). False for an unknown
// name. Names and values:
//   "query-status"        every stored exchange answers `value` and moves no data
//   "create-object-zero"  CreateObject answers handle 0
//   "long-strings"        every string read holds 255 characters; the display
//                         string fills its 256 bytes without a terminator
//   "layer-id"            every layer identifier read is `value`
//   "pad-stack-mode"      pad stack mode reads answer `value`
//   "layer-links"         1: the layer links form a ring; 2: they point past 82
//   "class-member-always" the class member query answers a member at every index
//   "reference-count"     dimension reference counts read as `value`
bool Set(std::string_view name, int32_t value) noexcept;
void ClearAll() noexcept;

namespace detail {
extern bool g_active;  // some switch is on
}
// True while any switch is on: one test on the exchanges' fast paths.
inline bool Active() noexcept { return detail::g_active; }

// Status every stored exchange answers instead of running; 0 when off.
int32_t QueryStatus() noexcept;
bool CreateObjectFails() noexcept;
bool ClassMemberAlways() noexcept;
// Changes the values that a successful read of `ex` delivered.
void AfterRead(const Exchange& ex, int32_t key, std::span<void* const> addresses) noexcept;
// Changes the display string the host wrote into its 256-byte buffer.
void AfterDisplayString(char* buffer256) noexcept;
// Fills a class member name for a query that always answers.
void FillClassMember(OrvikShortString* name, int32_t index) noexcept;

}  // namespace kovlan::faults
