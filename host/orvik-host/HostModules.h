// The two libraries the host loads: the stand-in host PCB module (Kovlan)
// and the importer plug-in, each with the exports the host calls resolved.
#pragma once

#include <string>

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
