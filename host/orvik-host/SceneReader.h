// Reads the host module's current board into a BoardScene.
#pragma once

#include "host/orvik-host/BoardScene.h"
#include "host/orvik-host/HostModules.h"

namespace orvik::host {

// Every primitive on the board: the board's own members, the members of
// the components on it, and (to count what is left out) the members of its
// nets. A primitive counts as placed when it is a member of the board or of
// a component on the board; the others, those on no known layer, and those
// in no container at all (counted from the module's object counts; a placed
// component's designator and comment texts belong to it and are not
// counted) only add to `unplaced`. Layer names come from the board's layer stack.
BoardScene ReadBoardScene(const KovlanApi& api);

// One primitive's shape and layer (tracks, arcs, pads, vias, fills and
// texts); false for the other kinds.
bool ReadPrimitive(const KovlanApi& api, uint32_t handle, uint8_t kind, Primitive& out);

// A board layer's name as the host holds it; the built-in name when empty.
std::string ReadLayerName(const KovlanApi& api, uint32_t board, int layer);

}  // namespace orvik::host
