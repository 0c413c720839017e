// Lookup of a net or component by the number a file gives it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "reader/Section.h"

namespace orvik {

// The object as class `Object` (a class with a kObjectId), nil when it is of
// another kind: the object kind that each class's constructor sets tells
// the class.
template <class Object>
Object* AsKind(TPCBObject* object) noexcept {
  return object->ObjectId == Object::kObjectId ? static_cast<Object*>(object) : nullptr;
}

// Scans the section's objects in order for the first object of class
// `Object` whose Index, read as 0..65535, equals `number`. Numbers outside
// 0..65535 match nothing.
template <class Object>
Object* FindObjectByNumber(const TSection& section, std::int32_t number) noexcept {
  if (number < 0 || number > 0xFFFF) return nullptr;
  for (const auto& object : section.Objects) {
    if (static_cast<std::uint16_t>(object->Index) != number) continue;
    if (auto* match = AsKind<Object>(object.get())) return match;
  }
  return nullptr;
}

// A constant-time form of FindObjectByNumber over one list of objects: for
// every number 0..65535, the first object of class `Object` in list order
// whose Index, read as 0..65535, equals it. Built once from the list after
// the objects exist (the readers' CreateObjects); it holds positions, not
// the objects, and answers exactly as the scan does while the list and the
// objects' Index values stay as they were when it was built.
template <class Object>
class TNumberIndex {
 public:
  static constexpr std::size_t kNumbers = 0x10000;

  void Build(const std::vector<std::unique_ptr<TPCBObject>>& objects) {
    Clear();
    if (objects.size() >= 0xFFFFFFFFu) return;  // positions would not fit: scan
    // An empty list needs no table: every lookup answers nil.
    if (!objects.empty()) slots_ = std::make_unique<std::uint32_t[]>(kNumbers);  // zeroed: no object
    for (std::size_t i = objects.size(); i-- > 0;) {
      // Walking backwards, the first matching object in list order is the
      // last one written.
      if (AsKind<Object>(objects[i].get()) == nullptr) continue;
      slots_[static_cast<std::uint16_t>(objects[i]->Index)] = static_cast<std::uint32_t>(i + 1);
    }
    size_ = objects.size();
    built_ = true;
  }

  void Clear() noexcept {
    slots_.reset();
    size_ = 0;
    built_ = false;
  }

  // True when the index was built over a list of `size` objects.
  bool Covers(std::size_t size) const noexcept { return built_ && size_ == size; }

  Object* Find(const std::vector<std::unique_ptr<TPCBObject>>& objects, std::int32_t number) const noexcept {
    if (number < 0 || number > 0xFFFF || !slots_) return nullptr;
    const std::uint32_t position = slots_[static_cast<std::size_t>(number)];
    // The class was checked when the index was built.
    return position == 0 ? nullptr : static_cast<Object*>(objects[position - 1].get());
  }

 private:
  std::unique_ptr<std::uint32_t[]> slots_;  // position + 1 per number; 0 = none
  std::size_t size_ = 0;
  bool built_ = false;
};

// The lookup the readers use: the index of the reader that owns the list
// when it covers the list, else the scan. A build with
// ORVIK_LIST_SCAN_LOOKUP defined always scans (the benchmark's reference).
template <class Object>
Object* LookupObjectByNumber(const TNumberIndex<Object>& index, const TSection& section, std::int32_t number) noexcept {
#ifndef ORVIK_LIST_SCAN_LOOKUP
  if (index.Covers(section.Objects.size())) return index.Find(section.Objects, number);
#else
  (void)index;
#endif
  return FindObjectByNumber<Object>(section, number);
}

// True in the build whose lookups scan the list (ORVIK_LIST_SCAN_LOOKUP).
constexpr bool kListScanLookup =
#ifdef ORVIK_LIST_SCAN_LOOKUP
    true;
#else
    false;
#endif

}  // namespace orvik
