// The commands of orvik-host. Each returns the process exit code.
#pragma once

#include "host/orvik-host/CommandLine.h"
#include "host/orvik-host/HostModules.h"

namespace orvik::host {

int RunDescribe(const ImporterApi& importer);
int RunRecognise(const ImporterApi& importer, const Options& options);
int RunImport(const HostModules& modules, const Options& options);
int RunCheck(const HostModules& modules, const Options& options);

// Parses the command line, loads the libraries and runs the command.
int RunHost(int argc, char** argv);

}  // namespace orvik::host
