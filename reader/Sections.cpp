#include "reader/Sections.h"

namespace orvik {

namespace {

// Every record kind has exactly one of the readers.
template <class... Readers>
constexpr bool EachKindOnce() {
  std::array<std::size_t, kRecordKindCount> readers{};
  (++readers[IndexOf(Readers::kRecordKind)], ...);
  for (std::size_t count : readers) {
    if (count != 1) return false;
  }
  return true;
}

// The readers, each at its kind.
template <class... Readers>
std::array<TSection*, kRecordKindCount> ByKind(Readers&... readers) noexcept {
  static_assert(EachKindOnce<Readers...>(), "one reader per record kind");
  std::array<TSection*, kRecordKindCount> byKind{};
  ((byKind[IndexOf(Readers::kRecordKind)] = &readers), ...);
  return byKind;
}

}  // namespace

TSections::TSections(platform::TextFile& file)
    : Arc(file),
      Pad(file),
      Via(file),
      Track(file),
      Text(file),
      Fill(file),
      Net(file),
      Component(file),
      Polygon(file),
      byKind_(ByKind(Arc, Pad, Via, Track, Text, Fill, Net, Component, Polygon)) {}

}  // namespace orvik
