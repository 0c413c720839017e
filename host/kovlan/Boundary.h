// The module's exported functions seen from inside: no exception leaves an
// export (Guarded), every call is journalled before it runs (Called), and
// every stored exchange takes one road (RunQuery), in the forms of its
// entry points: Query (mode, handle, ...), KeyedQuery (mode, board, key,
// ...), LayerQuery (mode, layer, board, ...), and the per-layer pad reads
// and writes (handle, layer, ...).
#pragma once

#include <cstdint>
#include <tuple>

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

// The host, once a call of `api` with the entry point's scalar arguments
// (in its order) is journalled.
template <typename... Scalars>
Host& Called(Api api, const Scalars&... scalars) {
  Host& host = Host::Instance();
  host.journal.Log(api, scalars...);
  return host;
}

// The one road of a stored exchange: the call journalled with `scalars`
// (the entry point's scalar arguments, in its order), then the attributes
// of `api` at `args` exchanged for `handle` (record `key` of a keyed
// exchange). It and its forms below are inlined into each export, so that
// the attribute addresses are not passed on a second time.
template <typename... Scalars, typename... Ts>
[[gnu::always_inline]] inline int32_t RunQuery(Api api, const std::tuple<Scalars...>& scalars, uint8_t mode,
                                               uint32_t handle, int32_t key, Ts*... args) noexcept {
  return Guarded<int32_t>(1, [&] {
    Host& host = Host::Instance();
    if (host.journal.On()) [[unlikely]]
      std::apply([&](const Scalars&... s) { host.journal.AppendLine(api, s...); }, scalars);
    return TypedExchange::Transfer(host.objects, api, mode, handle, key, args...);
  });
}

// An object or board query: (mode, handle, attributes...).
template <typename... Ts>
[[gnu::always_inline]] inline int32_t Query(Api api, uint8_t mode, uint32_t handle, Ts*... args) noexcept {
  return RunQuery(api, std::tuple(mode, handle), mode, handle, 0, args...);
}

// A keyed query with the key after the handle: (mode, handle, key, ...).
template <typename... Ts>
[[gnu::always_inline]] inline int32_t KeyedQuery(Api api, uint8_t mode, uint32_t handle, int32_t key,
                                                 Ts*... args) noexcept {
  return RunQuery(api, std::tuple(mode, handle, key), mode, handle, key, args...);
}

// A layer query with the layer before the board: (mode, layer, board, ...).
template <typename... Ts>
[[gnu::always_inline]] inline int32_t LayerQuery(Api api, uint8_t mode, uint8_t layer, uint32_t board,
                                                 Ts*... args) noexcept {
  return RunQuery(api, std::tuple(mode, layer, board), mode, board, layer, args...);
}

// A per-layer read of a pad or via: (handle, layer, attributes...). The
// hottest exchange of an import (83 layers, four queries, per pad read), so
// the common case is a leaf that calls nothing: the host exists, keeps no
// journal, has no fault switched on, and the exchange is a plain one.
// Everything else takes the one road, out of line.
template <Api A, typename... Ts>
[[gnu::noinline]] int32_t GeneralPadLayerQuery(uint32_t handle, uint8_t layer, Ts*... args) noexcept {
  return RunQuery(A, std::tuple(handle, layer), ORVIK_SM_READ, handle, layer, args...);
}

template <Api A, typename... Ts>
int32_t PadLayerQuery(uint32_t handle, uint8_t layer, Ts*... args) noexcept {
  if (const Host* host = Host::Plain()) [[likely]] {
    const int32_t status = host->exchange.ReadLayerRecord<A>(host->objects, handle, layer, args...);
    if (status != TypedExchange::kGenericTransfer) [[likely]]
      return status;
  }
  return GeneralPadLayerQuery<A>(handle, layer, args...);
}

// A per-layer write to a pad through the entry point `entry`: (handle,
// layer, values...) stored as the records of the query `api`.
template <typename... Ts>
int32_t PadLayerSet(Api entry, Api api, uint32_t handle, uint8_t layer, Ts... values) noexcept {
  return Guarded<int32_t>(1, [&] {
    Host& host = Called(entry, handle, layer, values...);
    const HostObject* pad = host.objects.Find(handle);
    if (pad == nullptr || pad->kind != ORVIK_KIND_PAD) return 1;
    return TypedExchange::Transfer(host.objects, api, ORVIK_SM_WRITE, handle, layer, &values...);
  });
}

}  // namespace kovlan
