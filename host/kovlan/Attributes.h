// Stored attributes by field name or position, outside the entry points'
// exchanges: by position for the inspection API (KvHost_ReadAttribute and
// its kin), by name for the host's own services, the board dump and the
// defaults of a fresh host.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "host/kovlan/ApiTable.h"
#include "host/kovlan/ObjectStore.h"

namespace kovlan {

// A stored numeric value of `type` at `p` (which need not be aligned) as an
// integer; 0 for text and blocks, and for a float outside the int64 range
// or NaN, which would not convert without undefined behaviour.
int64_t ReadInteger(const void* p, FieldType type);

// --- By name: a field of the exchange, as FieldOf finds it (the host's
// own code names only fields that exist).
// A numeric attribute of `handle` as an integer; false when the object or
// the key is not there, or the field holds text or a block.
bool FieldValue(const ObjectStore& objects, uint32_t handle, Api api, int32_t key, std::string_view name, int64_t* out);
// A text attribute; false when the object or the key is not there, or the
// field holds no text.
bool FieldString(const ObjectStore& objects, uint32_t handle, Api api, int32_t key, std::string_view name,
                 std::string* out);
// Sets a numeric or a text attribute of `object`, converting to the field's
// type; nothing happens when the key is not there or the field is of the
// other sort.
void SetFieldValue(ObjectStore& objects, HostObject& object, Api api, int32_t key, std::string_view name, double value);
void SetFieldText(ObjectStore& objects, HostObject& object, Api api, int32_t key, std::string_view name,
                  std::string_view text);

// --- By position: the bytes moved (a string: a whole OrvikShortString, its
// unused tail cleared when read; the legacy layer: one byte), or -1.
int32_t ReadField(const ObjectStore& objects, uint32_t handle, const Exchange& ex, int32_t key, int32_t position,
                  void* out, int32_t size);
int32_t WriteField(ObjectStore& objects, uint32_t handle, const Exchange& ex, int32_t key, int32_t position,
                   const void* in, int32_t size);
// The same for the template new objects of `kind` are stamped from.
int32_t WriteDefault(ObjectStore& objects, uint8_t kind, const Exchange& ex, int32_t position, const void* in,
                     int32_t size);

}  // namespace kovlan
