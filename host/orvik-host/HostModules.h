// The two libraries the host loads: the stand-in host PCB module (Kovlan)
// and the importer plug-in, each with the exports the host calls resolved.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "orvik/importer.h"
#include "orvik/kovlan.h"
#include "platform/Library.h"

namespace orvik::host {

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

// Takes a library as it was opened and resolves its exports; false with a
// message naming the library and why it did not load or what it lacks.
class KovlanModule {
 public:
  bool Load(platform::Library library, std::string& error);
  [[nodiscard]] const KovlanApi& Api() const noexcept { return api_; }

 private:
  platform::Library library_;
  KovlanApi api_;
};

class ImporterPlugin {
 public:
  bool Load(platform::Library library, std::string& error);
  [[nodiscard]] const ImporterApi& Api() const noexcept { return api_; }

 private:
  platform::Library library_;
  ImporterApi api_;
};

// The directories the two modules are looked for in, in order: the program's
// own (the build tree, the Windows packages), then ORVIK_HOST_INSTALLED_MODULES
// relative to it (an installed tree: bin/ beside lib/orvik/). With no
// program directory, only "": the system's search.
std::vector<std::string> ModuleDirectories(const std::string& programDirectory);

// The first of `directories` that holds the host PCB module as a regular
// file (links followed); "" (the system's search) is taken as it is. None
// when no directory holds it.
std::optional<std::string> FindModuleDirectory(const std::vector<std::string>& directories);

// The host module first, globally, so that the plug-in finds it loaded; then
// the plug-in. Both come from the first of ModuleDirectories() that holds
// the host module. Members unload in reverse order: the plug-in first.
class HostModules {
 public:
  // `pluginPath` empty: the plug-in beside the host module.
  bool Load(const std::string& pluginPath, std::string& error);
  [[nodiscard]] const KovlanApi& Kovlan() const noexcept { return kovlan_.Api(); }
  [[nodiscard]] const ImporterApi& Importer() const noexcept { return importer_.Api(); }

 private:
  KovlanModule kovlan_;
  ImporterPlugin importer_;
};

}  // namespace orvik::host
