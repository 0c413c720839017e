// The typed exchange: how an entry point's attributes move between the
// caller's addresses and the records of an object or the board, in read or
// write mode. Three roads give the same answers:
// - the generic one (TransferAll): any holder, key, mode and fault,
//   attribute by attribute through the exchange's table;
// - an object's unkeyed exchange while no fault is on (TransferObject),
//   with the attribute types known at compile time;
// - the read of a per-layer pad or via exchange (ReadLayerRecord), a leaf
//   for the hottest calls of an import.
// The objects are the store's, passed in on every call.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <span>
#include <type_traits>

#include "host/kovlan/ApiTable.h"
#include "host/kovlan/Faults.h"
#include "host/kovlan/ObjectStore.h"

namespace kovlan {

class TypedExchange {
 public:
  // What TransferObject and ReadLayerRecord answer for what they do not
  // take: the caller runs the generic exchange instead.
  static constexpr int32_t kGenericTransfer = -1;

  TypedExchange();
  // Points the per-layer reads at the store's templates (after its Reset).
  void Reset(const ObjectStore& objects);

  // The attributes of `api` for `handle` (record `key` of a keyed
  // exchange), one address per attribute in prototype order.
  template <typename... Ts>
  static int32_t Transfer(ObjectStore& objects, Api api, uint8_t mode, uint32_t handle, int32_t key, Ts*... args) {
    const Exchange& ex = ExchangeOf(api);
    if (ex.holder == Holder::Object && !ex.keyed && !faults::Active()) [[likely]] {
      const int32_t status = TransferObject(objects, ex, mode, handle, args...);
      if (status != kGenericTransfer) return status;
    }
    const std::array<void*, sizeof...(Ts)> addresses{static_cast<void*>(args)...};
    return TransferAll(objects, ex, mode, handle, key, addresses);
  }
  // The generic exchange.
  static int32_t TransferAll(ObjectStore& objects, const Exchange& ex, uint8_t mode, uint32_t handle, int32_t key,
                             std::span<void* const> addresses);

  // TransferAll for an object's unkeyed exchange while no fault is on:
  // the same result without the table's per-attribute dispatch.
  // kGenericTransfer for everything it does not take (a bad mode, handle or
  // address, a type that does not fit).
  template <typename... Ts>
  static int32_t TransferObject(ObjectStore& objects, const Exchange& ex, uint8_t mode, uint32_t handle, Ts*... args) {
    if (mode > ORVIK_SM_REBIND) return kGenericTransfer;
    HostObject* object = objects.Find(handle);
    if (object == nullptr || !ex.HeldBy(object->kind) || ((args == nullptr) || ...)) return kGenericTransfer;
    const int32_t offset = StorageLayout::Get().Offset(object->kind, ex.api);
    if (offset < 0) return kGenericTransfer;
    const Field* const fields = ex.fields.data();
    if (!AllFit<Ts...>(ex)) return kGenericTransfer;
    uint8_t* const record = object->data + offset;
    std::size_t i = 0;
    if (mode == ORVIK_SM_READ) {
      (ReadAttribute(objects, *object, record, fields[i++], args), ...);
    } else {
      (WriteAttribute(objects, *object, record, fields[i++], args), ...);
      objects.AfterWrite(ex, handle, *object);
    }
    return 0;
  }

  // The read of a per-layer pad or via exchange (values of the types Ts, no
  // strings, no base attributes): answers as Transfer in read mode does,
  // without its generic steps and without calling anything.
  template <Api A, typename... Ts>
  int32_t ReadLayerRecord(const ObjectStore& objects, uint32_t handle, int32_t key, Ts*... args) const noexcept {
    static_assert(sizeof...(Ts) <= 2);
    const LayerReadInfo& info = LayerRead<A>();
    if (!info.plain) [[unlikely]]
      return kGenericTransfer;
    const HostObject* object = objects.Find(handle);
    if (object == nullptr || object->kind > 3) return 1;
    const int32_t offset = info.offset[object->kind];
    if (offset < 0 || static_cast<uint32_t>(key) > static_cast<uint32_t>(kMaxLegacyLayer) ||
        ((args == nullptr) || ...)) {
      return 1;
    }
    const uint32_t at = static_cast<uint32_t>(key) * info.recordSize;
    const uint8_t* record;
    if (object->keyed != nullptr) {
      record = object->keyed + static_cast<uint32_t>(offset) + at;
    } else {
      if constexpr (A == Api::QueryPadOrViaSizeOnLayer || A == Api::QueryPadOrViaShapeOnLayer) {
        if (object->simpleStack && key >= 1 && key <= 32) {
          // A pad's layers 1..32 show its saved simple stack.
          const uint8_t* stack = object->data + simpleStackOffset_;
          return ReadSimpleStack(stack, SimpleStack::PartOf(key), args...);
        }
      }
      record = info.shared[object->kind] + at;
    }
    std::size_t i = 0;
    ((std::memcpy(args, record + info.fieldAt[i++], sizeof(Ts))), ...);
    return 0;
  }

  // Whether every attribute of `ex` fits its type in Ts (see Fits). The
  // exchange table never changes: the answer is worked out once per
  // exchange and list of types.
  template <typename... Ts>
  static bool AllFit(const Exchange& ex) noexcept {
    enum : uint8_t { kUnknown, kFit, kMisfit };
    static std::array<uint8_t, kApiCount> known{};
    uint8_t& answer = known[static_cast<std::size_t>(ex.api)];
    if (answer == kUnknown) {
      std::size_t i = 0;
      answer = ex.fields.size() == sizeof...(Ts) && (Fits<Ts>(ex.fields[i++]) && ...) ? kFit : kMisfit;
    }
    return answer == kFit;
  }
  // Whether an attribute of type T moves as TransferObject moves it: a
  // short string as a string, a scalar by a copy of its width, a byte also
  // as the legacy layer.
  template <typename T>
  static bool Fits(const Field& f) noexcept {
    if constexpr (std::is_same_v<T, OrvikShortString>) {
      return f.op == FieldOp::String;
    } else {
      constexpr FieldOp copy = sizeof(T) == 1   ? FieldOp::Copy1
                               : sizeof(T) == 2 ? FieldOp::Copy2
                               : sizeof(T) == 4 ? FieldOp::Copy4
                                                : FieldOp::Copy8;
      return (f.op == copy && f.width == sizeof(T)) || (sizeof(T) == 1 && f.op == FieldOp::LegacyLayer);
    }
  }

 private:
  // What a per-layer read needs of its exchange, gathered when the host is
  // made: plain when the exchange is an object's, keyed by legacy layer
  // 0..82 without plane rules (else ReadLayerRecord answers
  // kGenericTransfer).
  struct LayerReadInfo {
    bool plain = false;
    int32_t offset[4] = {-1, -1, -1, -1};  // keyed-block offset per kind 0..3; -1: kind not held
    uint32_t recordSize = 0;
    uint32_t fieldAt[2] = {0, 0};
    // The template's records of this exchange per kind (set by Reset).
    const uint8_t* shared[4] = {nullptr, nullptr, nullptr, nullptr};
  };
  static LayerReadInfo MakeLayerReadInfo(Api api);
  // The four per-layer pad and via reads.
  static constexpr Api kLayerReads[] = {Api::QueryPadOrViaShapeOnLayer, Api::QueryPadOrViaSizeOnLayer,
                                        Api::QueryPadCornerRadiusOnLayer, Api::QueryPadCRPercentageOnLayer};
  template <Api A>
  const LayerReadInfo& LayerRead() const noexcept {
    constexpr std::size_t slot = [] {
      std::size_t i = 0;
      while (i < std::size(kLayerReads) && kLayerReads[i] != A) ++i;
      return i;
    }();
    static_assert(slot < std::size(kLayerReads), "not a per-layer read");
    return layerReads_[slot];
  }

  static int32_t ReadSimpleStack(const uint8_t* stack, std::size_t part, int32_t* xSize, int32_t* ySize) {
    std::memcpy(xSize, stack + offsetof(SimpleStack, xSize) + 4 * part, 4);
    std::memcpy(ySize, stack + offsetof(SimpleStack, ySize) + 4 * part, 4);
    return 0;
  }
  static int32_t ReadSimpleStack(const uint8_t* stack, std::size_t part, uint8_t* shape) {
    *shape = stack[offsetof(SimpleStack, shape) + part];
    return 0;
  }

  template <typename T>
  static void ReadAttribute(const ObjectStore& objects, const HostObject& object, const uint8_t* record, const Field& f,
                            T* out) {
    if constexpr (std::is_same_v<T, OrvikShortString>) {
      objects.ReadValue(object, record, f, out);
    } else {
      if (sizeof(T) == 1 && f.op == FieldOp::LegacyLayer) {
        std::memset(out, LegacyFromLayerId(object.base.layerId), 1);
        return;
      }
      const uint8_t* from = f.inBase ? reinterpret_cast<const uint8_t*>(&object.base) + f.at : record + f.at;
      std::memcpy(out, from, sizeof(T));
    }
  }
  template <typename T>
  static void WriteAttribute(ObjectStore& objects, HostObject& object, uint8_t* record, const Field& f, const T* in) {
    if constexpr (std::is_same_v<T, OrvikShortString>) {
      objects.WriteValue(object, record, f, in);
    } else {
      if (sizeof(T) == 1 && f.op == FieldOp::LegacyLayer) {
        object.base.layerId = *reinterpret_cast<const uint8_t*>(in);
        return;
      }
      uint8_t* to = f.inBase ? reinterpret_cast<uint8_t*>(&object.base) + f.at : record + f.at;
      std::memcpy(to, in, sizeof(T));
    }
  }

  LayerReadInfo layerReads_[std::size(kLayerReads)];
  uint32_t simpleStackOffset_ = StorageLayout::Get().SimpleStackOffset();
};

}  // namespace kovlan
