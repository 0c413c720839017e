// The inspection and set-up API of the module.
#include "orvik/kovlan.h"

#include "host/kovlan/Attributes.h"
#include "host/kovlan/Board.h"
#include "host/kovlan/Boundary.h"
#include "host/kovlan/Faults.h"
#include "host/kovlan/JsonDump.h"

using kovlan::FindExchange;
using kovlan::Guarded;
using kovlan::GuardedVoid;
using kovlan::Host;

namespace {
const kovlan::Exchange* Lookup(const char* entryPoint) {
  return entryPoint == nullptr ? nullptr : FindExchange(entryPoint);
}

int32_t CopyHandles(const kovlan::HandleList& handles, uint32_t* out, int32_t max) {
  const auto n = static_cast<int32_t>(handles.size());
  for (int32_t i = 0; out != nullptr && i < n && i < max; ++i) out[i] = handles[static_cast<std::size_t>(i)];
  return n;
}
}  // namespace

KOVLAN_API void ORVIK_STDCALL KvHost_Reset(void) {
  GuardedVoid([] {
    Host::Instance().Reset();
    kovlan::faults::ClearAll();
  });
}

KOVLAN_API int32_t ORVIK_STDCALL KvHost_ReadAttribute(uint32_t handle, const char* entryPoint, int32_t position,
                                                      void* out, int32_t size) {
  return KvHost_ReadLayerAttribute(handle, entryPoint, 0, position, out, size);
}

KOVLAN_API int32_t ORVIK_STDCALL KvHost_WriteAttribute(uint32_t handle, const char* entryPoint, int32_t position,
                                                       const void* in, int32_t size) {
  return KvHost_WriteLayerAttribute(handle, entryPoint, 0, position, in, size);
}

KOVLAN_API int32_t ORVIK_STDCALL KvHost_ReadLayerAttribute(uint32_t handle, const char* entryPoint, int32_t layer,
                                                           int32_t position, void* out, int32_t size) {
  return Guarded<int32_t>(-1, [&] {
    const kovlan::Exchange* ex = Lookup(entryPoint);
    return ex == nullptr ? -1 : kovlan::ReadField(Host::Instance().objects, handle, *ex, layer, position, out, size);
  });
}

KOVLAN_API int32_t ORVIK_STDCALL KvHost_WriteLayerAttribute(uint32_t handle, const char* entryPoint, int32_t layer,
                                                            int32_t position, const void* in, int32_t size) {
  return Guarded<int32_t>(-1, [&] {
    const kovlan::Exchange* ex = Lookup(entryPoint);
    return ex == nullptr ? -1 : kovlan::WriteField(Host::Instance().objects, handle, *ex, layer, position, in, size);
  });
}

KOVLAN_API uint8_t ORVIK_STDCALL KvHost_ObjectKind(uint32_t handle) {
  return Guarded<uint8_t>(0, [&] {
    const kovlan::HostObject* o = Host::Instance().objects.Find(handle);
    return o == nullptr ? uint8_t{0} : o->kind;
  });
}

KOVLAN_API int32_t ORVIK_STDCALL KvHost_ObjectCount(uint8_t kind) {
  return Guarded<int32_t>(0, [&] { return Host::Instance().objects.Count(kind); });
}

KOVLAN_API int32_t ORVIK_STDCALL KvHost_Members(uint32_t container, uint32_t* out, int32_t max) {
  return Guarded<int32_t>(-1, [&] {
    const kovlan::HostObject* o = Host::Instance().objects.Find(container);
    return o == nullptr ? -1 : CopyHandles(o->members, out, max);
  });
}

KOVLAN_API int32_t ORVIK_STDCALL KvHost_Memberships(uint32_t object, uint32_t* out, int32_t max) {
  return Guarded<int32_t>(-1, [&] {
    const kovlan::HostObject* o = Host::Instance().objects.Find(object);
    return o == nullptr ? -1 : CopyHandles(o->memberOf, out, max);
  });
}

KOVLAN_API uint32_t ORVIK_STDCALL KvHost_BoardHandle(void) { return kovlan::kBoardHandle; }

KOVLAN_API void ORVIK_STDCALL KvHost_SetJournal(int32_t on) {
  GuardedVoid([&] { Host::Instance().SetJournal(on != 0); });
}

KOVLAN_API int32_t ORVIK_STDCALL KvHost_JournalCount(void) {
  return Guarded<int32_t>(0, [] { return Host::Instance().journal.Count(); });
}

KOVLAN_API int32_t ORVIK_STDCALL KvHost_JournalEntry(int32_t i, char* out, int32_t size) {
  return Guarded<int32_t>(-1, [&] { return Host::Instance().journal.Entry(i, out, size); });
}

KOVLAN_API void ORVIK_STDCALL KvHost_SetProgressCallback(KvHostProgressFn cb, void* ctx) {
  GuardedVoid([&] { Host::Instance().progress.SetCallback(cb, ctx); });
}

KOVLAN_API int32_t ORVIK_STDCALL KvHost_ProgressOpen(void) {
  return Guarded<int32_t>(0, [] { return Host::Instance().progress.Open() ? 1 : 0; });
}

KOVLAN_API int32_t ORVIK_STDCALL KvHost_ProgressState(char* message, int32_t size, int32_t* done, int32_t* total) {
  return Guarded<int32_t>(0, [&] { return Host::Instance().progress.State(message, size, done, total); });
}

KOVLAN_API void ORVIK_STDCALL KvHost_ProgressCounts(int32_t* inits, int32_t* updates, int32_t* finishes) {
  GuardedVoid([&] { Host::Instance().progress.Counts(inits, updates, finishes); });
}

KOVLAN_API int32_t ORVIK_STDCALL KvHost_SetLayerLink(int32_t layer, int32_t prev, int32_t next) {
  return Guarded<int32_t>(1, [&] { return kovlan::board::SetLayerLink(Host::Instance().objects, layer, prev, next); });
}

KOVLAN_API int32_t ORVIK_STDCALL KvHost_SetLayerPairs(int32_t count, const uint32_t* layerIds) {
  return Guarded<int32_t>(1, [&] { return kovlan::board::SetLayerPairs(Host::Instance().objects, count, layerIds); });
}

KOVLAN_API int32_t ORVIK_STDCALL KvHost_SetDefault(uint8_t kind, const char* entryPoint, int32_t position,
                                                   const void* in, int32_t size) {
  return Guarded<int32_t>(-1, [&] {
    const kovlan::Exchange* ex = Lookup(entryPoint);
    return ex == nullptr ? -1 : kovlan::WriteDefault(Host::Instance().objects, kind, *ex, position, in, size);
  });
}

KOVLAN_API int32_t ORVIK_STDCALL KvHost_DumpJson(const char* path) {
  return Guarded<int32_t>(1, [&] { return path == nullptr ? 1 : kovlan::DumpJson(Host::Instance().objects, path); });
}
