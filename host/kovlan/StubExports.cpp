// Exports of the entry points that the plug-in never calls.
#include <iterator>
#include <string_view>

#include "host/kovlan/ApiTable.h"
#include "host/kovlan/StubEntryPoints.h"
#include "orvik/abi.h"
#include "orvik/pcbapi_names.h"

#define KOVLAN_DEFINE_STUB(name) \
  ORVIK_EXTERN_C ORVIK_EXPORT int32_t ORVIK_STDCALL name(void) { return 1; }
KOVLAN_STUB_ENTRY_POINTS(KOVLAN_DEFINE_STUB)
#undef KOVLAN_DEFINE_STUB

namespace {

constexpr std::string_view kStubNames[] = {
#define KOVLAN_STUB_NAME(name) #name,
    KOVLAN_STUB_ENTRY_POINTS(KOVLAN_STUB_NAME)
#undef KOVLAN_STUB_NAME
};

constexpr bool IsPrototype(std::string_view exported) {
  for (const std::string_view name : kovlan::detail::kExportNames) {
    if (name == exported) return true;
  }
  return false;
}

// Every entry point of pcbapi_names.h is exported once: a stub here, in the
// list's order, or the definition of its prototype (PcbApiExports.cpp).
static_assert(
    [] {
      std::size_t stub = 0;
      for (const auto& entry : kovlan::detail::kEntryPointNames) {
        if (stub < std::size(kStubNames) && kStubNames[stub] == entry.exported) {
          ++stub;
        } else if (!IsPrototype(entry.exported)) {
          return false;
        }
      }
      return stub == std::size(kStubNames) &&
             std::size(kStubNames) + std::size(kovlan::detail::kExportNames) == ORVIK_PCBAPI_ENTRY_POINT_COUNT;
    }(),
    "the stubs and the prototypes make up the entry points of pcbapi_names.h");

}  // namespace
