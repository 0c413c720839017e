// The in-memory host PCB editor: the current board with its layer stack and
// options, the objects it created (addressed by handle in constant time),
// containers and memberships, the progress indicator and the call journal.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "host/kovlan/ApiTable.h"
#include "host/kovlan/Faults.h"
#include "host/kovlan/HostObject.h"
#include "orvik/kovlan.h"

namespace kovlan {

class Host {
 public:
  static Host& Instance() {
    if (instance_ == nullptr) [[unlikely]]
      return CreateInstance();
    return *instance_;
  }

  void Reset();

  // --- Objects and containers
  uint32_t BoardHandle() const { return kBoardHandle; }
  uint32_t CreateObject(uint8_t kind);
  HostObject* Find(uint32_t handle) {
    if (handle == 0 || handle > objectCount_) return nullptr;
    return &chunks_[(handle - 1) >> kChunkBits][(handle - 1) & kChunkMask];
  }
  const HostObject* Find(uint32_t handle) const { return const_cast<Host*>(this)->Find(handle); }
  int32_t AddToContainer(uint32_t container, uint32_t object);
  int32_t ObjectCount(uint8_t kind) const;
  uint32_t HandleLimit() const { return objectCount_; }

  // --- Exchanges: the attributes of `api` for `handle` (record `key` of a
  // keyed exchange), one address per attribute in prototype order.
  template <typename... Ts>
  int32_t Transfer(Api api, uint8_t mode, uint32_t handle, int32_t key, Ts*... args) {
    const Exchange& ex = ExchangeOf(api);
    if (ex.holder == Holder::Object && !ex.keyed && !faults::Active()) [[likely]] {
      const int32_t status = TransferObject(ex, mode, handle, args...);
      if (status != kGenericTransfer) return status;
    }
    const std::array<void*, sizeof...(Ts)> addresses{static_cast<void*>(args)...};
    return TransferAll(ex, mode, handle, key, addresses);
  }
  // The generic exchange: any holder, key, mode and fault, attribute by
  // attribute through the exchange's table.
  int32_t TransferAll(const Exchange& ex, uint8_t mode, uint32_t handle, int32_t key, std::span<void* const> addresses);

  // TransferAll for an object's unkeyed exchange while no fault is on, with
  // the attribute types known at compile time: the same result without the
  // table's per-attribute dispatch. kGenericTransfer for everything it does
  // not take (a bad mode, handle or address, a type that does not fit).
  template <typename... Ts>
  int32_t TransferObject(const Exchange& ex, uint8_t mode, uint32_t handle, Ts*... args) {
    if (mode > ORVIK_SM_REBIND) return kGenericTransfer;
    HostObject* object = Find(handle);
    if (object == nullptr || !ex.HeldBy(object->kind) || ((args == nullptr) || ...)) return kGenericTransfer;
    const int32_t offset = StorageLayout::Get().Offset(object->kind, ex.api);
    if (offset < 0) return kGenericTransfer;
    const Field* const fields = ex.fields.data();
    if (!AllFit<Ts...>(ex)) return kGenericTransfer;
    uint8_t* const record = object->data + offset;
    std::size_t i = 0;
    if (mode == ORVIK_SM_READ) {
      (ReadAttribute(*object, record, fields[i++], args), ...);
    } else {
      (WriteAttribute(*object, record, fields[i++], args), ...);
      AfterWrite(ex, handle, *object);
    }
    return 0;
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

  // The read of a per-layer pad or via exchange (ReadLayerRecord: values of
  // the types Ts, no strings, no base attributes) answers as Transfer in
  // read mode does, without its generic steps and without calling anything.
  // What it needs of its exchange, gathered when the host is made: plain
  // when the exchange is an object's, keyed by legacy layer 0..82 without
  // plane rules (else kGenericTransfer: the caller runs Transfer).
  struct LayerReadInfo {
    bool plain = false;
    int32_t offset[4] = {-1, -1, -1, -1};  // keyed-block offset per kind 0..3; -1: kind not held
    uint32_t recordSize = 0;
    uint32_t fieldAt[2] = {0, 0};
    // The template's records of this exchange per kind (set by Reset).
    const uint8_t* shared[4] = {nullptr, nullptr, nullptr, nullptr};
  };
  static LayerReadInfo MakeLayerReadInfo(Api api);
  // The four per-layer pad and via reads, gathered when the host is made.
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

  // ReadLayerRecord's answer when the generic exchange must run instead.
  static constexpr int32_t kGenericTransfer = -1;

  template <Api A, typename... Ts>
  int32_t ReadLayerRecord(uint32_t handle, int32_t key, Ts*... args) const noexcept {
    static_assert(sizeof...(Ts) <= 2);
    const LayerReadInfo& info = LayerRead<A>();
    if (!info.plain) [[unlikely]]
      return kGenericTransfer;
    const HostObject* object = Find(handle);
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

  // The host while it exists and its exchanges take their plain road: no
  // journal to write and no fault switched on. Null otherwise.
  static Host* Plain() noexcept { return plain_; }
  // Brings Plain() up to date; called whenever the journal, a fault switch
  // or the instance changes.
  static void RefreshPlain() noexcept {
    Host* host = instance_;
    plain_ = host != nullptr && !host->journalOn_ && !faults::Active() ? host : nullptr;
  }

  // The stored record of an exchange for reading: in the object's blocks,
  // in its template's keyed block, or (a pad's simple stack) made up in
  // `scratch` (at least kScratchSize bytes). Null when not held.
  static constexpr std::size_t kScratchSize = 64;
  const uint8_t* RecordForRead(const HostObject& object, const Exchange& ex, int32_t key, uint8_t* scratch) const {
    const int32_t offset = StorageLayout::Get().Offset(object.kind, ex.api);
    if (offset < 0) return nullptr;
    if (!ex.keyed) return object.data + offset;
    const uint32_t at = static_cast<uint32_t>(offset) + static_cast<uint32_t>(key - ex.keyMin) * ex.recordSize;
    if (object.keyed != nullptr) return object.keyed + at;
    const uint8_t* shared = templates_[object.kind].keyed + at;
    if (!object.simpleStack || key < 1 || key > 32 ||
        (ex.api != Api::QueryPadOrViaSizeOnLayer && ex.api != Api::QueryPadOrViaShapeOnLayer)) {
      return shared;
    }
    return SimpleStackRecord(object, ex, key, scratch, shared);
  }
  const uint8_t* SimpleStackRecord(const HostObject& object, const Exchange& ex, int32_t key, uint8_t* scratch,
                                   const uint8_t* shared) const;
  // The object's own record for writing; gives the object keyed records of
  // its own first when it shares its template's. Null when not held.
  uint8_t* RecordForWrite(HostObject& object, const Exchange& ex, int32_t key);
  // One attribute between a stored record and an exchange address (a
  // string: a whole OrvikShortString at the address).
  void ReadValue(const HostObject& object, const uint8_t* record, const Field& f, void* out) const;
  void WriteValue(HostObject& object, uint8_t* record, const Field& f, const void* in);

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
  template <typename T>
  void ReadAttribute(const HostObject& object, const uint8_t* record, const Field& f, T* out) const {
    if constexpr (std::is_same_v<T, OrvikShortString>) {
      ReadValue(object, record, f, out);
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
  void WriteAttribute(HostObject& object, uint8_t* record, const Field& f, const T* in) {
    if constexpr (std::is_same_v<T, OrvikShortString>) {
      WriteValue(object, record, f, in);
    } else {
      if (sizeof(T) == 1 && f.op == FieldOp::LegacyLayer) {
        object.base.layerId = *reinterpret_cast<const uint8_t*>(in);
        return;
      }
      uint8_t* to = f.inBase ? reinterpret_cast<uint8_t*>(&object.base) + f.at : record + f.at;
      std::memcpy(to, in, sizeof(T));
    }
  }
  // The text of a stored string field.
  std::string_view StoredString(const uint8_t* record, const Field& f) const;
  // Bytes held in record blocks (arena) and objects, for memory reports.
  std::size_t ArenaBytes() const { return arena_.Used(); }

  // One stored attribute by position (inspection and set-up).
  int32_t ReadField(uint32_t handle, const Exchange& ex, int32_t key, int32_t position, void* out, int32_t size);
  int32_t WriteField(uint32_t handle, const Exchange& ex, int32_t key, int32_t position, const void* in, int32_t size);
  // The template new objects of `kind` are stamped from.
  int32_t WriteDefault(uint8_t kind, const Exchange& ex, int32_t position, const void* in, int32_t size);

  // --- Object services
  int32_t BoundingRectangle(uint32_t handle, int32_t* b1, int32_t* b2, int32_t* b3, int32_t* b4);
  int32_t DisplayString(char* buffer256, uint32_t handle);
  int32_t ClassMemberAt(uint32_t classHandle, int32_t index, OrvikShortString* name);
  int32_t AddClassMember(uint32_t classHandle, const OrvikShortString* name);
  int32_t RemoveClassMembers(uint32_t classHandle);

  // --- Layer stack
  int32_t SetLayerLink(int32_t layer, int32_t prev, int32_t next);
  int32_t SetLayerPairs(int32_t count, const uint32_t* layerIds);

  // --- Progress
  void ProgressInit(const OrvikShortString* message, int32_t total);
  void ProgressUpdate() {
    CountUp(progressUpdates_);
    if (!progressOpen_) return;
    CountUp(progressDone_);
    if (progressCallback_ != nullptr) [[unlikely]]
      Notify(KVHOST_PROGRESS_UPDATE);
  }
  void ProgressFinish();
  // Progress counts stop at the end of the int32 range: a host that lives
  // through more than 2^31 steps (one per character read) must not overflow.
  static void CountUp(int32_t& counter) {
    if (counter < std::numeric_limits<int32_t>::max()) ++counter;
  }
  void SetProgressCallback(KvHostProgressFn cb, void* ctx);
  bool ProgressOpen() const { return progressOpen_; }
  int32_t ProgressState(char* message, int32_t size, int32_t* done, int32_t* total) const;
  void ProgressCounts(int32_t* inits, int32_t* updates, int32_t* finishes) const;

  // --- Journal
  bool JournalOn() const { return journalOn_; }
  void SetJournal(bool on) {
    journalOn_ = on;
    RefreshPlain();
  }
  template <typename... Args>
  void Log(std::string_view name, const Args&... args) {
    if (journalOn_) [[unlikely]]
      AppendLine(name, args...);
  }
  // The journal line itself, out of line: the entry points' fast paths keep
  // no registers for it.
  template <typename... Args>
  [[gnu::noinline, gnu::cold]] void AppendLine(std::string_view name, const Args&... args) {
    std::string line(name);
    (AppendScalar(line, args), ...);
    journal_.push_back(std::move(line));
  }
  int32_t JournalCount() const { return static_cast<int32_t>(journal_.size()); }
  int32_t JournalEntry(int32_t i, char* out, int32_t size) const;

  // --- Reading values by field name (services and the JSON dump)
  const HostObject* Object(uint32_t handle) const { return Find(handle); }
  bool FieldValue(uint32_t handle, Api api, int32_t key, std::string_view name, int64_t* out) const;
  bool FieldString(uint32_t handle, Api api, int32_t key, std::string_view name, std::string* out) const;
  // Text a text object shows (its own text), or a component's designator.
  std::string DisplayText(uint32_t handle) const;

 private:
  static constexpr uint32_t kBoardHandle = 1;

  Host();
  ~Host();
  void DestroyObjects() noexcept;
  static Host& CreateInstance();
  static inline Host* instance_ = nullptr;
  static inline Host* plain_ = nullptr;  // see Plain()

  static constexpr uint32_t kChunkBits = 12;
  static constexpr uint32_t kChunkMask = (1u << kChunkBits) - 1;

  // A new object in the handle table (handle = count after the call).
  HostObject& AppendObject();
  // Gives `object` keyed records of its own (a copy of what it shows).
  void OwnKeyedRecords(HostObject& object);
  HostObject& Template(uint8_t kind);
  void SeedBoard(HostObject& board);
  void SeedTemplates();
  // Sets one value by field name, converting to the field's type.
  void Seed(HostObject& object, Api api, int32_t key, std::string_view name, double value);
  void SeedText(HostObject& object, Api api, int32_t key, std::string_view name, std::string_view text);
  int32_t CheckWrite(const Exchange& ex, HostObject& object, int32_t key, std::span<void* const> addresses) const;
  void AfterWrite(const Exchange& ex, uint32_t handle, HostObject& object);
  void LinkText(uint32_t component, uint32_t text, TextRole role);
  void ApplySimpleStack(HostObject& pad);
  void Notify(int32_t event);

  static void AppendScalar(std::string& line, std::string_view text);
  static void AppendScalar(std::string& line, const char* text) { AppendScalar(line, std::string_view(text)); }
  static void AppendScalar(std::string& line, const OrvikShortString* text);
  template <typename T>
  static void AppendScalar(std::string& line, const T& value) {
    line += ' ';
    line += std::to_string(static_cast<long long>(value));
  }

  // Objects by handle (index + 1; the board is handle 1), in chunks so that
  // growing never moves them.
  std::vector<HostObject*> chunks_;  // each in the arena; destroyed by Reset
  uint32_t objectCount_ = 0;
  int32_t kindCounts_[256] = {};
  Arena arena_;
  StringPool strings_;
  std::vector<HostObject> templates_;
  std::vector<std::pair<uint32_t, std::vector<std::string>>> classMembers_;

  bool progressOpen_ = false;
  std::string progressMessage_;
  int32_t progressTotal_ = 0;
  int32_t progressDone_ = 0;
  int32_t progressInits_ = 0;
  int32_t progressUpdates_ = 0;
  int32_t progressFinishes_ = 0;
  KvHostProgressFn progressCallback_ = nullptr;
  void* progressContext_ = nullptr;

  bool journalOn_ = false;
  std::vector<std::string> journal_;

  LayerReadInfo layerReads_[std::size(kLayerReads)];
  uint32_t simpleStackOffset_ = StorageLayout::Get().SimpleStackOffset();
};

}  // namespace kovlan
