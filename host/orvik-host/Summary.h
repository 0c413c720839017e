// What an import left in the host module's board, read back through the
// module's inspection exports, and its printed form.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "host/orvik-host/HostModules.h"

namespace orvik::host {

struct KindCount {
  uint8_t kind = 0;       // ObjectId
  const char* name = "";  // plural, e.g. "tracks"
  int32_t count = 0;
};

struct GroupEntry {
  std::string name;
  int32_t members = 0;
};

struct ImportSummary {
  std::string fileName;
  double seconds = 0;
  int32_t totalObjects = 0;
  std::vector<KindCount> created;  // objects in the module, per kind
  int32_t boardMembers = 0;
  std::vector<KindCount> boardByKind;  // board members, per kind
  int32_t netCount = 0;                // nets on the board
  std::vector<GroupEntry> topNets;     // by member count, descending
  int32_t componentCount = 0;          // components on the board
  std::vector<GroupEntry> topComponents;
};

// Reads the module's current board; `top` limits the listed nets and
// components.
ImportSummary CollectSummary(const KovlanApi& api, int top);

void PrintSummary(std::FILE* out, const ImportSummary& summary);

}  // namespace orvik::host
