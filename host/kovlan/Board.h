// The board of the in-memory host (handle kBoardHandle in the object
// store): its defaults (layer names and stack, dielectrics, options, one
// layer pair), the layer links and layer pairs the inspection API sets, and
// the rules the layer pair exchanges keep.
#pragma once

#include <cstdint>
#include <span>

#include "host/kovlan/ApiTable.h"
#include "host/kovlan/ObjectStore.h"

namespace kovlan::board {

// The exchange that keeps a legacy layer's name and links.
inline Api LayerApi(int layer) { return OrvikIsInternalPlane(layer) ? Api::QueryInternalPlane : Api::QueryLayer; }

// Gives the board of a fresh store its defaults.
void Seed(ObjectStore& objects);

// Links legacy layer `layer` (1..82) to the layers above and below it (0:
// none); 1 for a number out of range.
int32_t SetLayerLink(ObjectStore& objects, int32_t layer, int32_t prev, int32_t next);
// Sets the layer pairs, two layer identifiers each; 1 for a count out of range.
int32_t SetLayerPairs(ObjectStore& objects, int32_t count, const uint32_t* layerIds);

// CheckLayerPairs for the two layer pair exchanges.
int32_t CheckLayerPairExchange(const Exchange& ex, const HostObject& board, int32_t key,
                               std::span<void* const> addresses, bool write);

// Whether the exchange `ex` may run on the board as asked: a layer pair
// count written must fit the pair table, and a pair read or written must
// be below the count. 0 when it may, 1 otherwise. Every exchange asks, so
// all but the layer pair ones are answered here without a call.
inline int32_t CheckLayerPairs(const Exchange& ex, const HostObject& board, int32_t key,
                               std::span<void* const> addresses, bool write) {
  if (ex.api != Api::QueryBoardLayerPairsCount && ex.api != Api::QueryBoardLayerPairAt) [[likely]]
    return 0;
  return CheckLayerPairExchange(ex, board, key, addresses, write);
}

}  // namespace kovlan::board
