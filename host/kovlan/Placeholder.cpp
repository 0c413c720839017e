// Temporary bodies of the inspection API until the host model lands.
#include "orvik/kovlan.h"
KOVLAN_API void ORVIK_STDCALL KvHost_Reset(void) {}
KOVLAN_API int32_t ORVIK_STDCALL KvHost_ReadAttribute(uint32_t, const char*, int32_t, void*, int32_t) { return -1; }
KOVLAN_API int32_t ORVIK_STDCALL KvHost_WriteAttribute(uint32_t, const char*, int32_t, const void*, int32_t) {
  return -1;
}
KOVLAN_API int32_t ORVIK_STDCALL KvHost_ReadLayerAttribute(uint32_t, const char*, int32_t, int32_t, void*, int32_t) {
  return -1;
}
KOVLAN_API int32_t ORVIK_STDCALL KvHost_WriteLayerAttribute(uint32_t, const char*, int32_t, int32_t, const void*,
                                                            int32_t) {
  return -1;
}
KOVLAN_API uint8_t ORVIK_STDCALL KvHost_ObjectKind(uint32_t) { return 0; }
KOVLAN_API int32_t ORVIK_STDCALL KvHost_ObjectCount(uint8_t) { return 0; }
KOVLAN_API int32_t ORVIK_STDCALL KvHost_Members(uint32_t, uint32_t*, int32_t) { return -1; }
KOVLAN_API int32_t ORVIK_STDCALL KvHost_Memberships(uint32_t, uint32_t*, int32_t) { return -1; }
KOVLAN_API uint32_t ORVIK_STDCALL KvHost_BoardHandle(void) { return 1; }
KOVLAN_API void ORVIK_STDCALL KvHost_SetJournal(int32_t) {}
KOVLAN_API int32_t ORVIK_STDCALL KvHost_JournalCount(void) { return 0; }
KOVLAN_API int32_t ORVIK_STDCALL KvHost_JournalEntry(int32_t, char*, int32_t) { return -1; }
KOVLAN_API void ORVIK_STDCALL KvHost_SetProgressCallback(KvHostProgressFn, void*) {}
KOVLAN_API int32_t ORVIK_STDCALL KvHost_ProgressOpen(void) { return 0; }
KOVLAN_API int32_t ORVIK_STDCALL KvHost_ProgressState(char*, int32_t, int32_t*, int32_t*) { return 0; }
KOVLAN_API void ORVIK_STDCALL KvHost_ProgressCounts(int32_t*, int32_t*, int32_t*) {}
KOVLAN_API int32_t ORVIK_STDCALL KvHost_SetLayerLink(int32_t, int32_t, int32_t) { return 1; }
KOVLAN_API int32_t ORVIK_STDCALL KvHost_SetLayerPairs(int32_t, const uint32_t*) { return 1; }
KOVLAN_API int32_t ORVIK_STDCALL KvHost_SetDefault(uint8_t, const char*, int32_t, const void*, int32_t) { return -1; }
KOVLAN_API int32_t ORVIK_STDCALL KvHost_DumpJson(const char*) { return 1; }
