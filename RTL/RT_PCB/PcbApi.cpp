#include "RTL/RT_PCB/PcbApi.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace orvik::pcbapi {

namespace detail {
// Written at library start and, while unbound, by the first wrapper call
// that finds the module; single-threaded by contract (the host's thread).
platform::ModuleHandle g_module = 0;
std::array<void*, kEntryCount> g_slots{};
}  // namespace detail

namespace {

using detail::g_module;
using detail::g_slots;

constexpr std::array<const char*, kEntryCount> kEntryNames = {
#define ORVIK_ENTRY_NAME(name, exported) exported,
    ORVIK_PCBAPI_ENTRY_POINTS(ORVIK_ENTRY_NAME)
#undef ORVIK_ENTRY_NAME
};

// Binds once when the library initialises; later initialisations of the
// same unit do nothing.
struct Binder {
  Binder() noexcept {
    static int initialisations = 0;
    if (initialisations++ == 0) {
      g_module = 0;
      LoadPcbApi();
    }
  }
};
const Binder g_binder;

}  // namespace

platform::ModuleHandle PcbApiModule() noexcept { return g_module; }

void ResolvePcbApiEntry(Entry slot, const char* name) noexcept {
  const auto i = static_cast<std::size_t>(slot);
  if (i >= g_slots.size()) return;
  g_slots[i] = g_module == 0 ? nullptr : platform::ExportAddress(g_module, name);
}

void LoadPcbApi() noexcept {
  g_module = platform::FindLoadedModule(ORVIK_PCBAPI_MODULE_NAME);
  for (int i = 0; i < kEntryCount; ++i) ResolvePcbApiEntry(static_cast<Entry>(i), kEntryNames[i]);
}

const char* EntryName(Entry slot) noexcept {
  const auto i = static_cast<std::size_t>(slot);
  return i < kEntryNames.size() ? kEntryNames[i] : "";
}

bool IsResolved(Entry slot) noexcept { return SlotAddress(slot) != nullptr; }

namespace testing {

void ClearSlot(Entry slot) noexcept {
  const auto i = static_cast<std::size_t>(slot);
  if (i < g_slots.size()) g_slots[i] = nullptr;
}

}  // namespace testing

namespace detail {

void Wrapper<Entry::Percent_Init, PcbApi_Percent_Init_sig, PcbApi_Percent_Init_fn>::operator()(
    std::string_view message, std::int32_t total) const noexcept {
  EnsurePcbApi();
  auto fn = reinterpret_cast<PcbApi_Percent_Init_fn>(SlotAddress(Entry::Percent_Init));
  if (fn == nullptr) return;
  OrvikShortString buffer{};
  buffer.length = static_cast<std::uint8_t>(std::min<std::size_t>(message.size(), 255));
  if (buffer.length != 0) std::memcpy(buffer.text, message.data(), buffer.length);
  fn(&buffer, total);
}

std::int32_t Wrapper<Entry::GetDesignatorDisplayString, PcbApi_GetDesignatorDisplayString_sig,
                     PcbApi_GetDesignatorDisplayString_fn>::operator()(ShortString<254>& result,
                                                                       std::uint32_t handle) const noexcept {
  result.clear();
  EnsurePcbApi();
  auto fn = reinterpret_cast<PcbApi_GetDesignatorDisplayString_fn>(SlotAddress(Entry::GetDesignatorDisplayString));
  if (fn == nullptr) return 0;
  char buffer[ORVIK_DISPLAY_STRING_SIZE] = {};
  const std::int32_t status = fn(buffer, handle);
  // The host may fill all 256 bytes without a terminator.
  const void* end = std::memchr(buffer, '\0', sizeof buffer);
  const std::size_t length = end ? static_cast<std::size_t>(static_cast<const char*>(end) - buffer) : sizeof buffer;
  result.Assign(std::string_view(buffer, length));
  return status;
}

}  // namespace detail
}  // namespace orvik::pcbapi
