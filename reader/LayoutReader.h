// Reading a record's fields through its layout (RecordLayout.h): a reader
// names one target per field, and the fields are read in the layout's order
// as its kinds say, each stored in its target. The reads unroll at compile
// time into the same tokenizer calls a hand-written reader makes, and the
// targets are checked against the layout there: their count, their types
// against the field kinds, the text limits against the record's strings and
// the net, component and own numbers against their positions.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <utility>

#include "RTL/RT_PCB/Layers.h"
#include "RTL/RT_PCB/ShortString.h"
#include "reader/LayerMaps.h"
#include "reader/RecordLayout.h"
#include "reader/Tokenizer.h"

namespace orvik {

// The target of a field that is read and not kept.
inline constexpr std::nullptr_t kDropField = nullptr;

namespace layout_reader {

// What a field of each kind reads as: integers, a legacy layer (through
// CompactLayerToLegacy) or the token.
template <TFieldKind Kind>
using TValue = std::conditional_t<Kind == TFieldKind::Integer, std::int32_t,
                                  std::conditional_t<Kind == TFieldKind::Layer, TLegacyLayer, std::string_view>>;

template <TFieldKind Kind>
TValue<Kind> ReadValue(TTokenizer& tokens) {
  if constexpr (Kind == TFieldKind::Integer) {
    return tokens.ReadInteger();
  } else if constexpr (Kind == TFieldKind::Layer) {
    return CompactLayerToLegacy(static_cast<std::uint8_t>(tokens.ReadInteger()));
  } else {
    return tokens.ReadToken();
  }
}

template <class Member>
struct TShortStringCapacity : std::integral_constant<std::size_t, 0> {};
template <std::size_t N>
struct TShortStringCapacity<ShortString<N>> : std::integral_constant<std::size_t, N> {};

template <class T>
struct TMemberOf;
template <class Record, class Member>
struct TMemberOf<Member Record::*> {
  using Type = Member;
};

// A member takes a value of its own type; a double also takes an integer
// (exactly); a text member is a ShortString that holds what the field keeps.
template <class Member, TFieldKind FieldKind, std::size_t Keeps>
constexpr bool MemberFits() {
  using Value = TValue<FieldKind>;
  if constexpr (std::is_same_v<Value, std::string_view>) {
    return TShortStringCapacity<Member>::value >= Keeps && TShortStringCapacity<Member>::value > 0;
  } else {
    return std::is_same_v<Member, Value> || (std::is_same_v<Value, std::int32_t> && std::is_same_v<Member, double>);
  }
}

// Reads field `I` of a record of kind `Kind` into its target.
template <class Record, TRecordKind Kind, std::size_t I, auto Target>
void ReadField(TTokenizer& tokens, Record& record) {
  constexpr TFieldKind kind = LayoutOf(Kind).Fields[I].Kind;
  constexpr std::size_t keeps = LayoutOf(Kind).Fields[I].Keeps;
  const TValue<kind> value = ReadValue<kind>(tokens);
  using TargetType = decltype(Target);
  if constexpr (std::is_null_pointer_v<TargetType>) {
    static_assert(kind != TFieldKind::Text, "a text the importer keeps needs a target");
    (void)value;
    (void)record;
  } else if constexpr (std::is_member_object_pointer_v<TargetType>) {
    static_assert(MemberFits<typename TMemberOf<TargetType>::Type, kind, keeps>(), "the member does not fit the field");
    record.*Target = value;
  } else {
    Target(record, value);  // a conversion of the reader's own
  }
}

template <auto... Targets>
struct TTargets {};

// Reads the fields in order; the comma keeps the order.
template <TRecordKind Kind, class Record, auto... Targets, std::size_t... I>
void ReadAll(TTokenizer& tokens, Record& record, TTargets<Targets...>, std::index_sequence<I...>) {
  (ReadField<Record, Kind, I, Targets>(tokens, record), ...);
}

// True when the target at `position` (from 1) is `member`; a position of 0
// wants no target.
template <std::size_t Position, auto Member, auto... Targets>
constexpr bool TargetAt() {
  if constexpr (Position == 0) {
    return true;
  } else {
    constexpr auto target = std::get<Position - 1>(std::tuple{Targets...});
    if constexpr (std::is_same_v<std::remove_cv_t<decltype(target)>, decltype(Member)>) {
      return target == Member;
    } else {
      return false;
    }
  }
}

// The layout's net, component and own number positions hold the record's
// NetNumber, ComponentNumber and Number members.
template <TRecordKind Kind, class Record, auto... Targets>
constexpr bool NumbersWhereTheLayoutSays() {
  constexpr const TRecordLayout& layout = LayoutOf(Kind);
  bool ok = true;
  if constexpr (requires { &Record::NetNumber; }) {
    ok = ok && layout.Net != 0 && TargetAt<layout.Net, &Record::NetNumber, Targets...>();
  } else {
    ok = ok && layout.Net == 0;
  }
  if constexpr (requires { &Record::ComponentNumber; }) {
    ok = ok && layout.Component != 0 && TargetAt<layout.Component, &Record::ComponentNumber, Targets...>();
  } else {
    ok = ok && layout.Component == 0;
  }
  if constexpr (requires { &Record::Number; }) {
    ok = ok && layout.Number != 0 && TargetAt<layout.Number, &Record::Number, Targets...>();
  } else {
    ok = ok && layout.Number == 0;
  }
  return ok;
}

}  // namespace layout_reader

// Reads the fields of a record of kind `Kind` into `record`. Each target is
// a member pointer of the record, a function (Record&, value) that converts
// the value itself, or kDropField.
template <TRecordKind Kind, auto... Targets, class Record>
void ReadFields(TTokenizer& tokens, Record& record) {
  constexpr const TRecordLayout& layout = LayoutOf(Kind);
  static_assert(sizeof...(Targets) == layout.Fields.size(), "one target per field of the layout");
  static_assert(layout_reader::NumbersWhereTheLayoutSays<Kind, Record, Targets...>(),
                "the net, component and own numbers lie where the layout says");
  layout_reader::ReadAll<Kind>(tokens, record, layout_reader::TTargets<Targets...>{},
                               std::make_index_sequence<sizeof...(Targets)>{});
}

}  // namespace orvik
