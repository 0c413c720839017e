#include "host/kovlan/Faults.h"

#include <array>
#include <cstdio>
#include <cstring>

#include "host/kovlan/Host.h"
#include "orvik/kovlan.h"

namespace kovlan::faults {
namespace {

enum Switch : std::size_t {
  kQueryStatus,
  kCreateObjectZero,
  kLongStrings,
  kLayerId,
  kPadStackMode,
  kLayerLinks,
  kClassMemberAlways,
  kReferenceCount,
  kSwitchCount
};

constexpr std::array<std::string_view, kSwitchCount> kNames = {
    "query-status",   "create-object-zero", "long-strings",        "layer-id",
    "pad-stack-mode", "layer-links",        "class-member-always", "reference-count"};

// Single-threaded like the rest of the module.
std::array<int32_t, kSwitchCount> g_values{};

void UpdateActive() noexcept {
  detail::g_active = false;
  for (const int32_t v : g_values) detail::g_active = detail::g_active || v != 0;
  Host::RefreshPlain();
}

constexpr int kMaxLayer = kMaxLegacyLayer;

void Put(void* to, const Field& f, int64_t value) {
  switch (f.type) {
    case FieldType::U8: {
      const auto v = static_cast<uint8_t>(value);
      std::memcpy(to, &v, 1);
      break;
    }
    case FieldType::U32:
    case FieldType::I32: {
      const auto v = static_cast<uint32_t>(value);
      std::memcpy(to, &v, 4);
      break;
    }
    default:
      break;
  }
}

// The links of legacy layer `layer` under the layer-links fault.
void LayerLinks(int32_t key, int64_t& prev, int64_t& next) {
  if (g_values[kLayerLinks] == 1) {
    next = key % kMaxLayer + 1;
    prev = key == 1 ? kMaxLayer : key - 1;
  } else {
    next = kMaxLayer + 1 + key % 100;
    prev = 255;
  }
}

}  // namespace

bool detail::g_active = false;

bool Set(std::string_view name, int32_t value) noexcept {
  for (std::size_t i = 0; i < kSwitchCount; ++i) {
    if (kNames[i] == name) {
      g_values[i] = value;
      UpdateActive();
      return true;
    }
  }
  return false;
}

void ClearAll() noexcept {
  g_values.fill(0);
  UpdateActive();
}

int32_t QueryStatus() noexcept { return g_values[kQueryStatus]; }
bool CreateObjectFails() noexcept { return g_values[kCreateObjectZero] != 0; }
bool ClassMemberAlways() noexcept { return g_values[kClassMemberAlways] != 0; }

void AfterRead(const Exchange& ex, int32_t key, std::span<void* const> addresses) noexcept {
  if (!Active()) return;
  for (std::size_t i = 0; i < ex.fields.size() && i < addresses.size(); ++i) {
    const Field& f = ex.fields[i];
    void* p = addresses[i];
    if (f.type == FieldType::Str && g_values[kLongStrings] != 0) {
      auto* s = static_cast<OrvikShortString*>(p);
      s->length = 255;
      std::memset(s->text, 'W', sizeof s->text);
    } else if (g_values[kLayerId] != 0 && f.type == FieldType::U32 &&
               (f.base == BaseField::LayerId || f.name == "layerId" || f.name == "currentLayerId")) {
      Put(p, f, g_values[kLayerId]);
    } else if (g_values[kPadStackMode] != 0 && ex.api == Api::QueryPadStackMode) {
      Put(p, f, g_values[kPadStackMode]);
    } else if (g_values[kReferenceCount] != 0 && ex.api == Api::References_Count) {
      Put(p, f, g_values[kReferenceCount]);
    } else if (g_values[kLayerLinks] != 0 && (f.name == "prevLayer" || f.name == "nextLayer") &&
               (ex.api == Api::QueryLayer || ex.api == Api::QueryInternalPlane)) {
      int64_t prev = 0, next = 0;
      LayerLinks(key, prev, next);
      Put(p, f, f.name == "prevLayer" ? prev : next);
    }
  }
}

void AfterDisplayString(char* buffer256) noexcept {
  if (g_values[kLongStrings] != 0 && buffer256 != nullptr) std::memset(buffer256, 'W', ORVIK_DISPLAY_STRING_SIZE);
}

void FillClassMember(OrvikShortString* name, int32_t index) noexcept {
  if (name == nullptr) return;
  const int n = std::snprintf(name->text, sizeof name->text, "MEMBER%d", static_cast<int>(index));
  name->length = static_cast<uint8_t>(n > 0 ? n : 0);
}

}  // namespace kovlan::faults

KOVLAN_API int32_t ORVIK_STDCALL KvHost_SetFault(const char* name, int32_t value) {
  return name != nullptr && kovlan::faults::Set(name, value) ? 0 : -1;
}
