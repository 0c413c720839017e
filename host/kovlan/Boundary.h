// Helpers for the module's exported functions: no exception leaves an
// export, and every call is journalled before it runs.
#pragma once

#include <cstdint>

#include "host/kovlan/ApiTable.h"
#include "host/kovlan/Host.h"

namespace kovlan {

// Runs `body`; any exception becomes `failure`.
template <typename R, typename F>
R Guarded(R failure, F&& body) noexcept {
  try {
    return body();
  } catch (...) {
    return failure;
  }
}

template <typename F>
void GuardedVoid(F&& body) noexcept {
  try {
    body();
  } catch (...) {
  }
}

// An exchange of an object or board query: (mode, handle, attributes...).
template <typename... Ts>
int32_t Query(Api api, uint8_t mode, uint32_t handle, Ts*... args) noexcept {
  return Guarded<int32_t>(1, [&] {
    Host& host = Host::Instance();
    if (host.JournalOn()) [[unlikely]]
      host.AppendLine(ExchangeOf(api).name, mode, handle);
    return host.Transfer(api, mode, handle, 0, args...);
  });
}

// A keyed query with the key after the handle: (mode, handle, key, ...).
template <typename... Ts>
int32_t KeyedQuery(Api api, uint8_t mode, uint32_t board, int32_t key, Ts*... args) noexcept {
  return Guarded<int32_t>(1, [&] {
    Host& host = Host::Instance();
    if (host.JournalOn()) [[unlikely]]
      host.AppendLine(ExchangeOf(api).name, mode, board, key);
    return host.Transfer(api, mode, board, key, args...);
  });
}

// A layer query with the layer before the board: (mode, layer, board, ...).
template <typename... Ts>
int32_t LayerQuery(Api api, uint8_t mode, uint8_t layer, uint32_t board, Ts*... args) noexcept {
  return Guarded<int32_t>(1, [&] {
    Host& host = Host::Instance();
    if (host.JournalOn()) [[unlikely]]
      host.AppendLine(ExchangeOf(api).name, mode, layer, board);
    return host.Transfer(api, mode, board, layer, args...);
  });
}

// A per-layer read of a pad or via: (handle, layer, attributes...). The
// hottest exchange of an import (83 layers, four queries, per pad read), so
// the common case is a leaf that calls nothing: the host exists, keeps no
// journal, has no fault switched on, and the exchange is a plain one.
// Everything else takes the general road below, out of line.
template <Api A, typename... Ts>
[[gnu::noinline]] int32_t GeneralPadLayerQuery(uint32_t handle, uint8_t layer, Ts*... args) noexcept {
  return Guarded<int32_t>(1, [&] {
    Host& host = Host::Instance();
    if (host.JournalOn()) [[unlikely]]
      host.AppendLine(ExchangeOf(A).name, handle, layer);
    if (!faults::Active()) {
      const int32_t status = host.ReadLayerRecord<A>(handle, layer, args...);
      if (status != Host::kGenericTransfer) return status;
    }
    return host.Transfer(A, ORVIK_SM_READ, handle, layer, args...);
  });
}

template <Api A, typename... Ts>
int32_t PadLayerQuery(uint32_t handle, uint8_t layer, Ts*... args) noexcept {
  if (const Host* host = Host::Plain()) [[likely]] {
    const int32_t status = host->ReadLayerRecord<A>(handle, layer, args...);
    if (status != Host::kGenericTransfer) [[likely]]
      return status;
  }
  return GeneralPadLayerQuery<A>(handle, layer, args...);
}

// A per-layer write to a pad: (handle, layer, values...) stored as the
// records of the query `api`.
template <typename... Ts>
int32_t PadLayerSet(const char* name, Api api, uint32_t handle, uint8_t layer, Ts... values) noexcept {
  return Guarded<int32_t>(1, [&] {
    Host& host = Host::Instance();
    host.Log(name, handle, layer, values...);
    const HostObject* pad = host.Find(handle);
    if (pad == nullptr || pad->kind != ORVIK_KIND_PAD) return 1;
    return host.Transfer(api, ORVIK_SM_WRITE, handle, layer, &values...);
  });
}

}  // namespace kovlan
