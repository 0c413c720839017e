// The import behind ImportFileIntoPcb: the recognition test, then one whole
// import, with every failure turned into a false result.
#pragma once

#include <string>

#include "orvik/importer.h"

namespace orvik::entry {

// False when the file is not recognised or the import raised; the host
// objects made before a failure stay in the board. Never throws.
bool ImportFile(ClientAPI_ExistSpecific_fn exists, const std::string& fileName) noexcept;

}  // namespace orvik::entry
