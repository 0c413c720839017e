// The plug-in's three exported entry points. No exception leaves them: each
// catches everything and answers false (or the static description).
#include <string>

#include "entry/ImportFile.h"
#include "entry/Recognition.h"
#include "orvik/importer.h"
#include "platform/Module.h"

// Windows exports come from LoadOrvik.def (undecorated names, fixed
// ordinals); elsewhere the version script keeps exactly these three.
#ifdef _WIN32
#define LOADORVIK_API ORVIK_EXTERN_C
#else
#define LOADORVIK_API ORVIK_EXTERN_C ORVIK_EXPORT
#endif

namespace {

constexpr char kImporterDescription[] = ORVIK_IMPORTER_DESCRIPTION;

#ifdef _WIN32
// The library description as 8-bit text in read-only data; the post-link
// step points the module header's architecture directory entry at it.
[[gnu::used, gnu::section(".rdata$orvik_description")]] const char kLibraryDescription[31] = ORVIK_LIBRARY_DESCRIPTION;
static_assert(sizeof(ORVIK_LIBRARY_DESCRIPTION) == sizeof kLibraryDescription);
#endif

// The host's file-existence test, looked up once when the library loads;
// null when the main program does not export it.
ClientAPI_ExistSpecific_fn LookUpExistSpecific() noexcept {
  namespace platform = orvik::platform;
  return reinterpret_cast<ClientAPI_ExistSpecific_fn>(
      platform::ExportAddress(platform::MainProgramModule(), "ClientAPI_ExistSpecific"));
}
const ClientAPI_ExistSpecific_fn g_existSpecific = LookUpExistSpecific();

// The plug-in's own copy of a caller's short string (a null address reads as
// the empty string).
std::string CopyArgument(const OrvikShortString* arg) {
  if (arg == nullptr) return std::string();
  return std::string(arg->text, arg->length);
}

}  // namespace

LOADORVIK_API OrvikBool ORVIK_STDCALL RecognisedPCBFile(const OrvikShortString* fileName) noexcept {
  try {
    const std::string name = CopyArgument(fileName);
    return orvik::entry::IsRecognised(g_existSpecific, name) ? 1 : 0;
  } catch (...) {
    return 0;
  }
}

LOADORVIK_API OrvikBool ORVIK_STDCALL ImportFileIntoPcb(const OrvikShortString* fileName,
                                                        const OrvikShortString* unused) noexcept {
  try {
    const std::string name = CopyArgument(fileName);
    // Copied like the file name; it has no bearing on the import.
    [[maybe_unused]] const std::string second = CopyArgument(unused);
    return orvik::entry::ImportFile(g_existSpecific, name) ? 1 : 0;
  } catch (...) {
    return 0;
  }
}

LOADORVIK_API const char* ORVIK_STDCALL GetPcbImporterDescription() noexcept { return kImporterDescription; }

// The exports must match the contract's types, calling convention included.
[[maybe_unused]] constexpr RecognisedPCBFile_fn kRecognisedPCBFileType = &RecognisedPCBFile;
[[maybe_unused]] constexpr ImportFileIntoPcb_fn kImportFileIntoPcbType = &ImportFileIntoPcb;
[[maybe_unused]] constexpr GetPcbImporterDescription_fn kGetPcbImporterDescriptionType = &GetPcbImporterDescription;
