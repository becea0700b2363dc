// Moving groups between fathers for the group commands: the engine's refusal of
// a cycle is caught, and the group tree follows through the window hooks.
#pragma once

#include <cstdint>
#include <vector>

namespace Globals {

// True when ancestor is the group itself or a father up its chain.
bool IsGroupOrAncestor(int32_t ancestor, int32_t group);
// The groups of CurrMultiSel in its order, leaving out each one whose ancestor is
// selected too: it moves with that ancestor.
std::vector<int32_t> OutermostSelectedGroups();
// The group goes under father in the engine; a refusal (the group would become
// its own ancestor) raises an error and leaves everything as it was.
void SetFatherGroupOrRaise(int32_t group, int32_t father);
// The group's node with its sub-tree comes back under father's node (the top
// level for the root group).
void RemakeGroupNode(int32_t group, int32_t father);
// A fake-deleted group comes back under father, hidden by its own flag again when
// it was, with its node and sub-tree.
void UnDeleteGroupAsItWas(int32_t group, int32_t father, bool hidden);

}  // namespace Globals
