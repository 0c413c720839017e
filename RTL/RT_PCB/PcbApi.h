// The binding to the host's PCB editor module: the table of its 278 entry
// points, resolved by name, and one wrapper per entry point that the object
// model and the import driver call.
//
// Every wrapper first makes sure the module is bound (EnsurePcbApi), then
// calls the entry point if its slot is filled; otherwise it returns its
// default (0, or 1 for the few entry points listed in DefaultResult) and
// nothing else happens. Wrappers pass results through unchanged.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <type_traits>

#include "RTL/RT_PCB/ShortString.h"
#include "orvik/pcbapi.h"
#include "orvik/pcbapi_names.h"
#include "platform/Module.h"

namespace orvik::pcbapi {

// One slot per entry point, in resolution order.
enum class Entry : int {
#define ORVIK_ENTRY_ENUM(name, exported) name,
  ORVIK_PCBAPI_ENTRY_POINTS(ORVIK_ENTRY_ENUM)
#undef ORVIK_ENTRY_ENUM
      Count
};
inline constexpr int kEntryCount = static_cast<int>(Entry::Count);
static_assert(kEntryCount == ORVIK_PCBAPI_ENTRY_POINT_COUNT);

// The bound module, 0 while unbound.
platform::ModuleHandle PcbApiModule() noexcept;
// Finds the module among those already loaded and resolves all 278 names.
void LoadPcbApi() noexcept;
// Fills one slot: the export named exactly `name`, or empty.
void ResolvePcbApiEntry(Entry slot, const char* name) noexcept;

namespace detail {
// The bound module (0 while unbound) and the table; written by LoadPcbApi
// and ResolvePcbApiEntry only.
extern platform::ModuleHandle g_module;
extern std::array<void*, kEntryCount> g_slots;
}  // namespace detail

// Binds again while unbound; does nothing once bound. Inline: one
// predictable branch per host call.
inline void EnsurePcbApi() noexcept {
  if (detail::g_module == 0) [[unlikely]]
    LoadPcbApi();
}

// The exported name of a slot, and whether the slot is filled.
const char* EntryName(Entry slot) noexcept;
bool IsResolved(Entry slot) noexcept;
// The raw address in a slot (after EnsurePcbApi).
inline void* SlotAddress(Entry slot) noexcept {
  const auto i = static_cast<std::size_t>(slot);
  return i < detail::g_slots.size() ? detail::g_slots[i] : nullptr;
}

namespace testing {
// Empties one slot, as if the module did not export that entry point, until
// the next LoadPcbApi. For in-process tests only.
void ClearSlot(Entry slot) noexcept;
}  // namespace testing

// What a wrapper returns when its slot is empty.
constexpr int DefaultResult(Entry e) noexcept {
  switch (e) {
    case Entry::QueryBoardSplitPlaneMode:
    case Entry::QueryBoardLayerPairsCount:
    case Entry::QueryManualFromTo:
    case Entry::AddMemberToClass:
    case Entry::GetMemberFromClassAt:
    case Entry::RemoveAllMembersFromClass:
      return 1;
    default:
      return 0;
  }
}

namespace detail {
template <Entry E, class Sig, class FnPtr>
struct Wrapper;

template <Entry E, class FnPtr, class R, class... P>
struct Wrapper<E, R(P...), FnPtr> {
  // The entry point itself, for a loop that calls it many times in a row:
  // null while the module is unbound (the caller then goes through the
  // wrapper, which tries to bind on every call) or when it lacks the entry.
  FnPtr Bound() const noexcept {
    EnsurePcbApi();
    return detail::g_module == 0 ? nullptr : reinterpret_cast<FnPtr>(SlotAddress(E));
  }
  R operator()(P... args) const noexcept {
    EnsurePcbApi();
    auto fn = reinterpret_cast<FnPtr>(SlotAddress(E));
    if constexpr (std::is_void_v<R>) {
      if (fn != nullptr) fn(args...);
    } else {
      if (fn == nullptr) return static_cast<R>(DefaultResult(E));
      return fn(args...);
    }
  }
};
// Wrappers whose client-side form differs from the entry point's.

// Opens a progress range; the message (at most 255 characters) is copied
// into a buffer of the wrapper's own.
template <>
struct Wrapper<Entry::Percent_Init, PcbApi_Percent_Init_sig, PcbApi_Percent_Init_fn> {
  void operator()(std::string_view message, std::int32_t total) const noexcept;
};

// The host's display form of a text object, at most 254 characters. The
// result is emptied first; the host's 256-byte buffer need not hold a
// terminator.
template <>
struct Wrapper<Entry::GetDesignatorDisplayString, PcbApi_GetDesignatorDisplayString_sig,
               PcbApi_GetDesignatorDisplayString_fn> {
  std::int32_t operator()(ShortString<254>& result, std::uint32_t handle) const noexcept;
};
}  // namespace detail

// The wrappers, named like their entry points: pcbapi::QueryTrack(mode,
// handle, &flags, ...).
#define ORVIK_PCBAPI_WRAPPER(ret, name, params) \
  inline constexpr detail::Wrapper<Entry::name, PcbApi_##name##_sig, PcbApi_##name##_fn> name{};
ORVIK_PCBAPI_PROTOTYPES(ORVIK_PCBAPI_WRAPPER)
#undef ORVIK_PCBAPI_WRAPPER

}  // namespace orvik::pcbapi
