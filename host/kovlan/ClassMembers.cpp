#include "host/kovlan/ClassMembers.h"

#include <cstring>

namespace kovlan {
namespace {

bool IsClass(const ObjectStore& objects, uint32_t handle) {
  const HostObject* o = objects.Find(handle);
  return o != nullptr && o->kind == ORVIK_KIND_CLASS;
}

}  // namespace

int32_t ClassMembers::At(const ObjectStore& objects, uint32_t classHandle, int32_t index,
                         OrvikShortString* name) const {
  if (!IsClass(objects, classHandle) || name == nullptr || index < 0) return 1;
  for (const auto& [handle, members] : lists_) {
    if (handle != classHandle) continue;
    if (static_cast<std::size_t>(index) >= members.size()) return 1;
    const std::string& m = members[static_cast<std::size_t>(index)];
    name->length = static_cast<uint8_t>(m.size());
    std::memcpy(name->text, m.data(), m.size());
    return 0;
  }
  return 1;
}

int32_t ClassMembers::Add(const ObjectStore& objects, uint32_t classHandle, const OrvikShortString* name) {
  if (!IsClass(objects, classHandle) || name == nullptr) return 1;
  std::string member(name->text, name->length);
  for (auto& [handle, members] : lists_) {
    if (handle == classHandle) {
      members.push_back(std::move(member));
      return 0;
    }
  }
  lists_.emplace_back(classHandle, std::vector<std::string>{std::move(member)});
  return 0;
}

int32_t ClassMembers::RemoveAll(const ObjectStore& objects, uint32_t classHandle) {
  if (!IsClass(objects, classHandle)) return 1;
  std::erase_if(lists_, [classHandle](const auto& entry) { return entry.first == classHandle; });
  return 0;
}

}  // namespace kovlan
