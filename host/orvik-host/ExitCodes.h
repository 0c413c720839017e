// Process exit codes of orvik-host; the --help text lists them too.
#pragma once

namespace orvik::host {

enum ExitCode : int {
  kExitOk = 0,             // success; recognise: the file is recognised
  kExitNotRecognised = 1,  // recognise: the file is not recognised
  kExitUsage = 2,          // bad command line
  kExitLoadFailure = 3,    // input file, plug-in or host module could not be loaded
  kExitImportFailed = 4,   // ImportFileIntoPcb returned false
  kExitOutputFailure = 5,  // the JSON dump, the journal, a preview or the KiCad board could not be written
  kExitInternal = 6,       // unexpected internal error
  // check: warnings found; the file cannot be read
  kExitCheckWarnings = 1,
  kExitCheckUnreadable = 2
};

}  // namespace orvik::host
