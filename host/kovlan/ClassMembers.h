// The member names of the class objects: what the class member entry points
// add, read and remove.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "host/kovlan/ObjectStore.h"

namespace kovlan {

class ClassMembers {
 public:
  // The member at `index` of a class; 1 for no class, no name or no such member.
  int32_t At(const ObjectStore& objects, uint32_t classHandle, int32_t index, OrvikShortString* name) const;
  // Adds a member; 1 for no class or no name.
  int32_t Add(const ObjectStore& objects, uint32_t classHandle, const OrvikShortString* name);
  // Removes every member of a class; 1 for no class.
  int32_t RemoveAll(const ObjectStore& objects, uint32_t classHandle);
  void Clear() { lists_.clear(); }

 private:
  std::vector<std::pair<uint32_t, std::vector<std::string>>> lists_;  // by class handle
};

}  // namespace kovlan
