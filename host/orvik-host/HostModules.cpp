#include "host/orvik-host/HostModules.h"

#include <vector>

namespace orvik::host {

namespace {

std::string MissingExportsMessage(const std::string& path, const std::vector<const char*>& missing) {
  std::string message = path + " lacks the export";
  if (missing.size() > 1) message += "s";
  for (std::size_t i = 0; i < missing.size(); ++i) {
    message += i == 0 ? " " : ", ";
    message += missing[i];
  }
  return message;
}

template <typename Fn>
void Resolve(const DynamicLibrary& library, const char* name, Fn& slot, std::vector<const char*>& missing) {
  slot = library.Function<Fn>(name);
  if (slot == nullptr) missing.push_back(name);
}

}  // namespace

bool KovlanModule::Load(const std::string& path, std::string& error) {
  api_ = {};
  // Global, so that its exports resolve for the plug-in as well.
  if (!library_.Open(path, true)) {
    error = "cannot load the host PCB module " + path + ": " + library_.Error();
    return false;
  }
  std::vector<const char*> missing;
#define ORVIK_HOST_KOVLAN_RESOLVE(name) Resolve(library_, "KvHost_" #name, api_.name, missing);
  ORVIK_HOST_KOVLAN_EXPORTS(ORVIK_HOST_KOVLAN_RESOLVE)
#undef ORVIK_HOST_KOVLAN_RESOLVE
  if (!missing.empty()) {
    error = MissingExportsMessage(path, missing);
    return false;
  }
  return true;
}

bool ImporterPlugin::Load(const std::string& path, std::string& error) {
  api_ = {};
  if (!library_.Open(path, false)) {
    error = "cannot load the importer plug-in " + path + ": " + library_.Error();
    return false;
  }
  std::vector<const char*> missing;
  Resolve(library_, "RecognisedPCBFile", api_.RecognisedPCBFile, missing);
  Resolve(library_, "ImportFileIntoPcb", api_.ImportFileIntoPcb, missing);
  Resolve(library_, "GetPcbImporterDescription", api_.GetPcbImporterDescription, missing);
  if (!missing.empty()) {
    error = MissingExportsMessage(path, missing);
    return false;
  }
  return true;
}

bool HostModules::Load(const std::string& pluginPath, std::string& error) {
  const std::string directory = ExecutableDirectory();
  if (!kovlan_.Load(JoinPath(directory, kKovlanFileName), error)) return false;
  return importer_.Load(pluginPath.empty() ? JoinPath(directory, kPluginFileName) : pluginPath, error);
}

}  // namespace orvik::host
