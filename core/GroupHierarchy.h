// Moving groups between fathers and dissolving a group into its father: the
// engine, the group tree's nodes (through the window hooks) and the selection.
// Nothing here records an undo step; the commands and records that call these do.
#pragma once

#include <cstdint>
#include <vector>

namespace Globals {

// The groups whose father is group, in the engine's order.
std::vector<int32_t> ChildGroups(int32_t group);
// True when polygons lie in the group itself, not only in its sub-groups.
bool HoldsOwnPolygons(int32_t group);

// The group goes under father (the root group: the top level) at the place among
// its new siblings (last for -1); its node is made again there with its
// sub-tree, at the same place among the father's nodes. A move the engine
// refuses (the group would hold one of its own fathers) raises an error and
// changes nothing.
void ChangeFatherGroup(int32_t group, int32_t father, int32_t place = -1);

// The engine side of ungrouping: the child groups go to the group's father; a
// group left without polygons of its own leaves the world, fake-deleted
// (detached, disabled), or destroyed at once when destroyNow. True when it left.
bool UngroupInEngine(int32_t group, bool destroyNow);
// Ungroups the group: its children move to its father with their sub-trees and
// node images and become the multiple selection; the group keeps its place and
// node while it holds polygons of its own, otherwise it leaves the world as
// UngroupInEngine says. The panels follow and the views are redrawn.
void UngroupGroup(int32_t group, bool destroyNow);
// Takes UngroupGroup(group, false) back: a group that left comes back under
// father at its place, hidden as it was, and the children go under it again in
// their order. The group becomes the selection.
void RegroupGroup(int32_t group, int32_t father, int32_t place, const std::vector<int32_t>& children, bool hidden);

// ---- grouping, attaching and replacing groups
// True when ancestor is the group itself or a father up its chain.
bool IsGroupOrAncestor(int32_t ancestor, int32_t group);
// The groups of CurrMultiSel in its order, leaving out each one whose ancestor is
// selected too: it moves with that ancestor.
std::vector<int32_t> OutermostSelectedGroups();
// The group goes under father in the engine only; a refusal raises an error and
// leaves everything as it was.
void SetFatherGroupOrRaise(int32_t group, int32_t father);
// A fake-deleted group comes back under father at the place (last for -1),
// hidden by its own flag again when it was, with its node and sub-tree.
void UnDeleteGroupAsItWas(int32_t group, int32_t father, bool hidden, int32_t place = -1);
// The group alone becomes the current selection (kind 1 and CurrMultiSel),
// without a record and without the selection-changed path.
void MakeGroupTheSelection(int32_t group);

}  // namespace Globals
