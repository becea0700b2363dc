// Selecting a group from its node in the group tree.
#pragma once

#include <cstdint>

namespace scene {

// The group becomes the current selection unless it already is (kind 1 and that
// handle; after a hide or a deselection it is not), with one ActionSelect when
// the selection changed, then the selection-changed path. A handle that names no
// group changes nothing. True when the selection changed.
bool SelectGroupFromTree(int32_t group);

}  // namespace scene
