#include "host/orvik-host/HostModules.h"

#include <filesystem>
#include <system_error>
#include <utility>
#include <vector>

#include "orvik/pcbapi.h"

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
void Resolve(const platform::Library& library, const char* name, Fn& slot, std::vector<const char*>& missing) {
  slot = library.Function<Fn>(name);
  if (slot == nullptr) missing.push_back(name);
}

}  // namespace

bool KovlanModule::Load(platform::Library library, std::string& error) {
  api_ = {};
  library_ = std::move(library);
  if (!library_.IsOpen()) {
    error = "cannot load the host PCB module " + library_.Path() + ": " + library_.Error();
    return false;
  }
  std::vector<const char*> missing;
#define ORVIK_HOST_KOVLAN_RESOLVE(name) Resolve(library_, "KvHost_" #name, api_.name, missing);
  ORVIK_HOST_KOVLAN_EXPORTS(ORVIK_HOST_KOVLAN_RESOLVE)
#undef ORVIK_HOST_KOVLAN_RESOLVE
  if (!missing.empty()) {
    error = MissingExportsMessage(library_.Path(), missing);
    return false;
  }
  return true;
}

bool ImporterPlugin::Load(platform::Library library, std::string& error) {
  api_ = {};
  library_ = std::move(library);
  if (!library_.IsOpen()) {
    error = "cannot load the importer plug-in " + library_.Path() + ": " + library_.Error();
    return false;
  }
  std::vector<const char*> missing;
  Resolve(library_, "RecognisedPCBFile", api_.RecognisedPCBFile, missing);
  Resolve(library_, "ImportFileIntoPcb", api_.ImportFileIntoPcb, missing);
  Resolve(library_, "GetPcbImporterDescription", api_.GetPcbImporterDescription, missing);
  if (!missing.empty()) {
    error = MissingExportsMessage(library_.Path(), missing);
    return false;
  }
  return true;
}

std::vector<std::string> ModuleDirectories(const std::string& programDirectory) {
  if (programDirectory.empty()) return {""};
  const std::filesystem::path installed =
      (std::filesystem::path(programDirectory) / ORVIK_HOST_INSTALLED_MODULES).lexically_normal();
  return {programDirectory, installed.string()};
}

std::optional<std::string> FindModuleDirectory(const std::vector<std::string>& directories) {
  const std::string file = platform::LibraryFileName(ORVIK_PCBAPI_MODULE_NAME);
  for (const std::string& directory : directories) {
    std::error_code error;
    if (directory.empty() || std::filesystem::is_regular_file(platform::JoinPath(directory, file), error)) {
      return directory;
    }
  }
  return std::nullopt;
}

bool HostModules::Load(const std::string& pluginPath, std::string& error) {
  using platform::Library;
  const std::vector<std::string> directories = ModuleDirectories(platform::ExecutableDirectory());
  const std::optional<std::string> directory = FindModuleDirectory(directories);
  if (!directory) {
    error = "cannot find the host PCB module " + platform::LibraryFileName(ORVIK_PCBAPI_MODULE_NAME) + " in ";
    for (std::size_t i = 0; i < directories.size(); ++i) error += (i == 0 ? "" : " or ") + directories[i];
    return false;
  }
  // Global, so that its exports resolve for the plug-in as well.
  if (!kovlan_.Load(Library::OpenModule(*directory, ORVIK_PCBAPI_MODULE_NAME, Library::Scope::kGlobal), error)) {
    return false;
  }
  return importer_.Load(
      pluginPath.empty() ? Library::OpenModule(*directory, ORVIK_PLUGIN_MODULE_NAME) : Library::Open(pluginPath),
      error);
}

}  // namespace orvik::host
