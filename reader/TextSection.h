// TEXT records: free strings on a layer.
#pragma once

#include <cstdint>

#include "RTL/RT_PCB/Layers.h"
#include "RTL/RT_PCB/PcbText.h"
#include "RTL/RT_PCB/ShortString.h"
#include "reader/Section.h"

namespace orvik {

// One TEXT record; lengths in mils, rotation in degrees.
struct TTextRecord {
  ShortString<255> Text;
  std::int32_t Height = 0;
  double Rotation = 0.0;  // 0, 90, 180 or 270
  bool Mirrored = false;
  std::int32_t Width = 0;  // 0 = derive from the height
  TLegacyLayer Layer = 0;  // after CompactLayerToLegacy
  std::int32_t X = 0;
  std::int32_t Y = 0;
  std::int32_t TrailingNumber = 0;  // the "number" field; kept, not used
};

// Sets a text from a record: the string cut to 254 characters, mils to host
// units, the layer through MapFileLayer, a zero width derived from the
// height. The text's net and component are left as the host gave them.
void ApplyRecord(const TTextRecord& record, TPcbText& text);

class TTextSection final : public TRecordSection<TTextRecord, TPcbText, TRecordKind::Text> {
 public:
  using TRecordSection::TRecordSection;
  void ReadRecords() override;
};

}  // namespace orvik
