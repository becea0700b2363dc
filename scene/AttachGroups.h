// Attaching groups under another group, the selection window's third purpose.
#pragma once

#include <cstdint>
#include <vector>

namespace scene {

// Moves the groups, in order, under the receiving group (the current selection),
// their nodes under its node, and records every move in one undo record. A move
// the engine refuses (a group would hold one of its own fathers) stops there:
// what moved before it stays moved and recorded, and the refusal rises as an
// error. No group, no change and no record.
void AttachGroupsUnder(const std::vector<int32_t>& groups, int32_t receiver);

}  // namespace scene
