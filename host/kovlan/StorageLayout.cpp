#include "host/kovlan/StorageLayout.h"

namespace kovlan {

StorageLayout::StorageLayout() {
  for (int s = 0; s < kSlots; ++s) {
    const uint8_t kind = s == kSlots - 1 ? kBoardKind : static_cast<uint8_t>(s);
    uint32_t size = 0;
    uint32_t keyedSize = 0;
    for (int a = 0; a < kApiCount; ++a) {
      const Exchange& ex = ExchangeOf(static_cast<Api>(a));
      if (s != 0 && ex.HeldBy(kind)) {
        uint32_t& blockSize = ex.keyed ? keyedSize : size;
        offsets_[s][a] = static_cast<int32_t>(blockSize);
        blockSize += ex.StorageSize();
      } else {
        offsets_[s][a] = -1;
      }
    }
    if (kind == ORVIK_KIND_PAD) {
      size = (size + 3u) & ~3u;
      simpleStackOffset_ = size;
      size += sizeof(SimpleStack);
    }
    sizes_[s] = size;
    keyedSizes_[s] = keyedSize;
  }
}

}  // namespace kovlan
