// Inspection and set-up interface of the stand-in host PCB module (Kovlan).
//
// Tests and the reference host use these calls to reset the module, seed
// host values, read back what the plug-in wrote, follow the call journal and
// the progress indicator, and dump the board as JSON.
#pragma once

#include "orvik/abi.h"

#ifdef KOVLAN_BUILDING
#define KOVLAN_API ORVIK_EXTERN_C ORVIK_EXPORT
#else
#define KOVLAN_API ORVIK_EXTERN_C ORVIK_IMPORT
#endif

// Progress events passed to the callback.
enum { KVHOST_PROGRESS_INIT = 0, KVHOST_PROGRESS_UPDATE = 1, KVHOST_PROGRESS_FINISH = 2 };

typedef void(ORVIK_STDCALL* KvHostProgressFn)(int32_t event, const char* message, int32_t done, int32_t total,
                                              void* ctx);

// Fresh state: one current board with the default layer stack, no objects,
// journal off and cleared, progress closed, callback cleared.
KOVLAN_API void ORVIK_STDCALL KvHost_Reset(void);

// Stored value of the attribute at 0-based `position` (counting the attribute
// addresses after mode and handle) of the query entry point `entryPoint`
// (e.g. "PcbApi_QueryTrack"). Returns the attribute's width in bytes, or -1
// when the handle, entry point or position is unknown or `size` is too small.
// Strings are 256-byte OrvikShortString values. Board-level queries take the
// board handle.
KOVLAN_API int32_t ORVIK_STDCALL KvHost_ReadAttribute(uint32_t handle, const char* entryPoint, int32_t position,
                                                      void* out, int32_t size);
KOVLAN_API int32_t ORVIK_STDCALL KvHost_WriteAttribute(uint32_t handle, const char* entryPoint, int32_t position,
                                                       const void* in, int32_t size);

// The same for values kept per layer (0..82): the per-layer pad calls
// (position counts the value addresses after handle and layer), QueryLayer,
// QueryInternalPlane, QueryLayerDielectric, QueryBoardLayerInfo and the
// per-layer board option queries.
KOVLAN_API int32_t ORVIK_STDCALL KvHost_ReadLayerAttribute(uint32_t handle, const char* entryPoint, int32_t layer,
                                                           int32_t position, void* out, int32_t size);
KOVLAN_API int32_t ORVIK_STDCALL KvHost_WriteLayerAttribute(uint32_t handle, const char* entryPoint, int32_t layer,
                                                            int32_t position, const void* in, int32_t size);

// Kind reported by KvHost_ObjectKind for the board's handle. (The board is
// no object kind of the entry points: PcbApi_GetObjectIdFromObjectHandle
// reports 0 for it.)
#define KVHOST_BOARD_KIND 0xFF

// Object kind (ObjectId) of a handle, 0 when unknown.
KOVLAN_API uint8_t ORVIK_STDCALL KvHost_ObjectKind(uint32_t handle);
// Number of objects of a kind (0 = all kinds).
KOVLAN_API int32_t ORVIK_STDCALL KvHost_ObjectCount(uint8_t kind);
// Objects added to a container, in order: copies up to `max` handles and
// returns the total count (-1 for an unknown container).
KOVLAN_API int32_t ORVIK_STDCALL KvHost_Members(uint32_t container, uint32_t* out, int32_t max);
// Containers an object was added to, in order; returns the total count (-1
// for an unknown object).
KOVLAN_API int32_t ORVIK_STDCALL KvHost_Memberships(uint32_t object, uint32_t* out, int32_t max);
// Handle of the current board.
KOVLAN_API uint32_t ORVIK_STDCALL KvHost_BoardHandle(void);

// Call journal: one line per entry-point call while on.
KOVLAN_API void ORVIK_STDCALL KvHost_SetJournal(int32_t on);
KOVLAN_API int32_t ORVIK_STDCALL KvHost_JournalCount(void);
// Writes line i zero-terminated; returns its length, or -1 when i is out of
// range or the buffer is too small.
KOVLAN_API int32_t ORVIK_STDCALL KvHost_JournalEntry(int32_t i, char* out, int32_t size);

// Progress indicator.
KOVLAN_API void ORVIK_STDCALL KvHost_SetProgressCallback(KvHostProgressFn cb, void* ctx);
// 1 while a range is open.
KOVLAN_API int32_t ORVIK_STDCALL KvHost_ProgressOpen(void);
// Current range: message (zero-terminated, cut to size-1), steps done and
// total. Returns 1 while a range is open, else 0. Any pointer may be null.
KOVLAN_API int32_t ORVIK_STDCALL KvHost_ProgressState(char* message, int32_t size, int32_t* done, int32_t* total);
// Counts of progress calls since the last reset: inits, updates (including
// those with no open range), finishes (including those with no open range).
KOVLAN_API void ORVIK_STDCALL KvHost_ProgressCounts(int32_t* inits, int32_t* updates, int32_t* finishes);

// Layer stack set-up: links of a legacy layer (0 = none), and the layer
// pairs (count pairs of layer ids: 2 * count values).
KOVLAN_API int32_t ORVIK_STDCALL KvHost_SetLayerLink(int32_t layer, int32_t prev, int32_t next);
KOVLAN_API int32_t ORVIK_STDCALL KvHost_SetLayerPairs(int32_t count, const uint32_t* layerIds);

// Default value stored into new objects: sets the attribute at `position` of
// `entryPoint` for every object of `kind` created from now on (until reset).
// Returns the width, or -1 as KvHost_WriteAttribute.
KOVLAN_API int32_t ORVIK_STDCALL KvHost_SetDefault(uint8_t kind, const char* entryPoint, int32_t position,
                                                   const void* in, int32_t size);

// Host faults for robustness tests, all off after KvHost_Reset: sets the
// switch `name` to `value` (0 = off). Returns 0, or -1 for an unknown name.
//   "query-status"        every query exchange answers `value` (non-zero)
//                         and moves no data
//   "create-object-zero"  CreateObject answers 0
//   "long-strings"        every string read holds 255 characters;
//                         GetDesignatorDisplayString fills all 256 bytes
//                         without a terminator
//   "layer-id"            every layer identifier read is `value`
//   "pad-stack-mode"      QueryPadStackMode reads answer `value`
//   "layer-links"         layer links read as a ring (1) or past 82 (2)
//   "class-member-always" GetMemberFromClassAt answers 0 at every index
//   "reference-count"     References_Count reads answer `value`
KOVLAN_API int32_t ORVIK_STDCALL KvHost_SetFault(const char* name, int32_t value);

// Writes the board as JSON to `path`. 0 on success.
KOVLAN_API int32_t ORVIK_STDCALL KvHost_DumpJson(const char* path);
