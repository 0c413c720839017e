// Exports of the entry points that the plug-in never calls.
#include "host/kovlan/StubEntryPoints.h"
#include "orvik/abi.h"
#include "orvik/pcbapi_names.h"

#define KOVLAN_DEFINE_STUB(name) \
  ORVIK_EXTERN_C ORVIK_EXPORT int32_t ORVIK_STDCALL name(void) { return 1; }
KOVLAN_STUB_ENTRY_POINTS(KOVLAN_DEFINE_STUB)
#undef KOVLAN_DEFINE_STUB
