// The importer plug-in contract: what the host calls, what it must offer.
//
// The plug-in (LoadOrvik.dll on Windows, libLoadOrvik.so elsewhere) exports
// exactly three entry points, standard calling convention, undecorated names,
// ordinals 1 to 3. It runs on the caller's thread for the duration of a call,
// keeps no state between calls, shows no message and writes no file.
//
// Threads: every call into the host is made on the caller's thread, in the
// order the import prescribes. On a machine with two or more hardware
// threads an import reads and parses the file on a worker thread of its own
// (which never calls the host) while the caller's thread makes the reading
// pass's progress calls, and a helper thread may fault in the pages of the
// plug-in's next memory block ahead of use. Both have ended before the call
// returns.
//
// What the host must offer:
// - Its PCB editor module, "Kovlan.dll" (on POSIX the shared object
//   "libKovlan.so"), already loaded in the process when an import runs, with
//   the entry points of pcbapi.h. The plug-in never loads or releases it;
//   while it is absent every host call does nothing and returns its default.
// - In its main program module, the export ClientAPI_ExistSpecific.
//
// Ownership: every string argument is the caller's; the plug-in copies it on
// entry and never writes into it. The description text returned by
// GetPcbImporterDescription belongs to the plug-in and lives as long as the
// plug-in is loaded; the caller must not free or modify it.
//
// Failures: no exception and no error crosses these entry points. Bad input
// is absorbed (the import still returns true); a failure of the import itself
// (input/output error, impossible layer) releases everything the plug-in
// created on its side, closes the file and any progress range it opened, and
// returns false. Host objects created before the failure stay in the board.
#pragma once

#include "orvik/abi.h"

// Ordinal 1. True when the host reports that the file exists and the first
// line of the file (at most 255 characters), upper-cased, contains "ORVIK".
typedef OrvikBool(ORVIK_STDCALL* RecognisedPCBFile_fn)(const OrvikShortString* fileName);

// Ordinal 2. False when the file is not recognised (nothing is touched);
// otherwise imports it into the host's current board and returns true. The
// second argument is copied and otherwise ignored.
typedef OrvikBool(ORVIK_STDCALL* ImportFileIntoPcb_fn)(const OrvikShortString* fileName,
                                                       const OrvikShortString* unused);

// Ordinal 3. The zero-terminated text "Orvik Ascii files (*.PCB)".
typedef const char*(ORVIK_STDCALL* GetPcbImporterDescription_fn)(void);

// Exported by the host's main program: does the file exist? Takes a
// zero-terminated 8-bit file name; returns 1 for true, 0 for false.
typedef OrvikBool(ORVIK_STDCALL* ClientAPI_ExistSpecific_fn)(const char* fileName);

// The plug-in's file name on Windows ("libLoadOrvik.so" on POSIX systems).
#define ORVIK_PLUGIN_MODULE_NAME "LoadOrvik.dll"

#define ORVIK_IMPORTER_DESCRIPTION "Orvik Ascii files (*.PCB)"
#define ORVIK_LIBRARY_DESCRIPTION "||Orvik Ascii files (*.PCB)|||"
