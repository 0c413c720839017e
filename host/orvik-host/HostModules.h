// The two libraries the host loads: the stand-in host PCB module (Kovlan)
// and the importer plug-in, each with the exports the host calls resolved.
#pragma once

#include <string>

#include "host/orvik-host/DynamicLibrary.h"
#include "orvik/importer.h"
#include "orvik/kovlan.h"

namespace orvik::host {

// File names of the libraries beside the executable.
#ifdef _WIN32
inline constexpr const char* kKovlanFileName = "Kovlan.dll";
inline constexpr const char* kPluginFileName = "LoadOrvik.dll";
#else
inline constexpr const char* kKovlanFileName = "libKovlan.so";
inline constexpr const char* kPluginFileName = "libLoadOrvik.so";
#endif

// The KvHost_ exports the host uses.
#define ORVIK_HOST_KOVLAN_EXPORTS(X) \
  X(Reset)                           \
  X(ObjectKind)                      \
  X(ObjectCount)                     \
  X(Members)                         \
  X(Memberships)                     \
  X(BoardHandle)                     \
  X(ReadAttribute)                   \
  X(ReadLayerAttribute)              \
  X(SetJournal)                      \
  X(JournalCount)                    \
  X(JournalEntry)                    \
  X(SetProgressCallback)             \
  X(DumpJson)

struct KovlanApi {
#define ORVIK_HOST_KOVLAN_SLOT(name) decltype(&KvHost_##name) name = nullptr;
  ORVIK_HOST_KOVLAN_EXPORTS(ORVIK_HOST_KOVLAN_SLOT)
#undef ORVIK_HOST_KOVLAN_SLOT
};

struct ImporterApi {
  RecognisedPCBFile_fn RecognisedPCBFile = nullptr;
  ImportFileIntoPcb_fn ImportFileIntoPcb = nullptr;
  GetPcbImporterDescription_fn GetPcbImporterDescription = nullptr;
};

// Loads a library and resolves its exports; false with a message naming the
// library and what is missing.
class KovlanModule {
 public:
  bool Load(const std::string& path, std::string& error);
  [[nodiscard]] const KovlanApi& Api() const noexcept { return api_; }

 private:
  DynamicLibrary library_;
  KovlanApi api_;
};

class ImporterPlugin {
 public:
  bool Load(const std::string& path, std::string& error);
  [[nodiscard]] const ImporterApi& Api() const noexcept { return api_; }

 private:
  DynamicLibrary library_;
  ImporterApi api_;
};

// The host module first, globally, so that the plug-in finds it loaded; then
// the plug-in. Members unload in reverse order: the plug-in first.
class HostModules {
 public:
  // `pluginPath` empty: the plug-in beside the executable.
  bool Load(const std::string& pluginPath, std::string& error);
  [[nodiscard]] const KovlanApi& Kovlan() const noexcept { return kovlan_.Api(); }
  [[nodiscard]] const ImporterApi& Importer() const noexcept { return importer_.Api(); }

 private:
  KovlanModule kovlan_;
  ImporterPlugin importer_;
};

}  // namespace orvik::host
