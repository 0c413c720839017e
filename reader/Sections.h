// TSections: the nine section readers of an import, one per record kind, as
// typed members. The reading pass reaches a reader by its kind; everything
// after it names the reader it wants.
#pragma once

#include <array>
#include <cstddef>

#include "platform/TextFile.h"
#include "reader/ArcSection.h"
#include "reader/ComponentSection.h"
#include "reader/FillSection.h"
#include "reader/NetSection.h"
#include "reader/PadSection.h"
#include "reader/PolygonSection.h"
#include "reader/RecordLayout.h"
#include "reader/Section.h"
#include "reader/TextSection.h"
#include "reader/TrackSection.h"
#include "reader/ViaSection.h"

namespace orvik {

class TSections {
 public:
  // Readers over the one text file they share.
  explicit TSections(platform::TextFile& file);
  TSections(const TSections&) = delete;
  TSections& operator=(const TSections&) = delete;

  // The reader of a record kind.
  TSection& Of(TRecordKind kind) noexcept { return *byKind_[IndexOf(kind)]; }
  const TSection& Of(TRecordKind kind) const noexcept { return *byKind_[IndexOf(kind)]; }
  // All readers, in kind order.
  const std::array<TSection*, kRecordKindCount>& All() noexcept { return byKind_; }

  // In kind order.
  TArcSection Arc;
  TPadSection Pad;
  TViaSection Via;
  TTrackSection Track;
  TTextSection Text;
  TFillSection Fill;
  TNetSection Net;
  TComponentSection Component;
  TPolygonSection Polygon;

 private:
  std::array<TSection*, kRecordKindCount> byKind_;
};

}  // namespace orvik
