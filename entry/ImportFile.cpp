#include "entry/ImportFile.h"

#include "entry/Recognition.h"
#include "reader/OrvikFile.h"

namespace orvik::entry {

bool ImportFile(ClientAPI_ExistSpecific_fn exists, const std::string& fileName) noexcept {
  try {
    if (!IsRecognised(exists, fileName)) return false;
    TOrvikFile driver(fileName);
    driver.Import();
    return true;
  } catch (...) {
    // Everything the import created on this side has been released by its
    // owner on the way out.
    return false;
  }
}

}  // namespace orvik::entry
