// The group tree of the workspace's first page: built from the engine, a click
// selects a node's group, a label edit renames its group or polygon, the right
// button opens the group tree menu; and the group name field of the "Edit
// Geometry" frame. A node leads to its entity by the handle in its key only.
#include "Form1.h"
#include "FieldEvents.h"
#include "ModelGalleryInput.h"

#include "core/EntityProcedures.h"
#include "core/FakeDeletion.h"
#include "core/Globals.h"
#include "core/GroupHierarchy.h"
#include "core/StringProcedures.h"
#include "ombrel.h"
#include "platform/error_trap.h"
#include "platform/prompts.h"
#include "scene/GroupSelection.h"
#include "scene/GroupTreeWalk.h"
#include "scene/Renames.h"
#include "views/ViewRedraw.h"

#include <QLineEdit>
#include <QMenu>
#include <QScopeGuard>
#include <QTabWidget>

namespace {

constexpr const char* kGroupKind = "Group";
constexpr const char* kPolKind = "Pol";

int32_t handleOf(const std::string& key, const std::string& kind) { return KeyedTree::HandleOf(key, kind); }

std::string groupKey(int32_t group) { return KeyedTree::NodeKey(kGroupKind, group); }

// Where a node goes among the children of its parent node that are of its kind
// and stand in the engine's order: before the first whose place comes after
// place, else after the last; -1 when there is none. placeOf(i) is child i's
// place, or -1 for a child of another kind. Being in order, those children are
// searched by halving, stepping over the others, so that putting back thousands
// of nodes under one parent costs a few looks each, not a walk over the others.
template <class PlaceOf>
int indexAmongSiblings(int count, int32_t place, PlaceOf&& placeOf) {
    // Children of the kind before lo do not come after place, lastBefore the
    // last of them; firstAfter is the first at or after hi, which does.
    int lo = 0, hi = count, lastBefore = -1, firstAfter = -1;
    while (lo < hi) {
        const int mid = lo + (hi - lo) / 2;
        int at = mid;
        int32_t atPlace = -1;
        while (at < hi && (atPlace = placeOf(at)) < 0) ++at;
        if (atPlace < 0 || atPlace > place) {
            if (atPlace >= 0) firstAfter = at;
            hi = mid;
        } else {
            lastBefore = at;
            lo = at + 1;
        }
    }
    if (firstAfter >= 0) return firstAfter;
    return lastBefore >= 0 ? lastBefore + 1 : -1;
}

}  // namespace

void Form1::connectGroupTree() {
    connectTree(trwGroupView, {&Form1::trwGroupView_NodeClick, &Form1::trwGroupView_AfterLabelEdit, nullptr, nullptr,
                               &Form1::trwGroupView_MouseUp});
    connect(txtSelectedGrpName, &QLineEdit::textChanged, this, [this](const QString&) { txtSelectedGrpName_Change(); });
    auto* field = new FieldEvents(txtSelectedGrpName);
    field->KeyPress = [this](int key) { platform::runTrapped(this, [&] { txtSelectedGrpName_KeyPress(key); }); };
    field->LostFocus = [this] { platform::runTrapped(this, [this] { txtSelectedGrpName_LostFocus(); }); };
}

void Form1::trwGroupView_Reset() { trwGroupView->Clear(); }

void Form1::trwGroupView_Populate() {
    trwGroupView->setEnabled(false);
    trwGroupView->setUpdatesEnabled(false);
    const auto enable = qScopeGuard([this] {
        trwGroupView->setUpdatesEnabled(true);
        trwGroupView->setEnabled(true);
    });
    trwGroupView_Reset();
    trwGroupView_PopulateRecursive(Globals::RootGrp, true);
}

void Form1::trwGroupView_PopulateRecursive(int32_t Grp, bool ChildrenAtTopLevel) {
    // One walk of the engine: every father comes before its children, so each
    // node's parent is already there, at any depth and without recursion.
    const std::string ownKey = ChildrenAtTopLevel ? std::string() : groupKey(Grp);
    for (const scene::GroupAndFather& entry : scene::IncludedGroupsWithFathers(Grp)) {
        const std::string parent = entry.father == Grp ? ownKey : groupKey(entry.father);
        trwGroupView->Add(parent, groupKey(entry.group), Globals::GetEntityName(entry.group),
                          scene::GroupImage(entry.group));
    }
}

void Form1::trwGroupView_NodeClick(QTreeWidgetItem* Node) {
    if (!WorldLoaded || !Node) return;
    const int32_t group = handleOf(KeyedTree::Key(Node), kGroupKind);
    if (group != 0 && scene::SelectGroupFromTree(group)) UpdateCameras();
}

std::optional<std::string> Form1::trwGroupView_AfterLabelEdit(QTreeWidgetItem* Node, const std::string& NewString) {
    const std::string key = KeyedTree::Key(Node);
    if (const int32_t group = handleOf(key, kGroupKind)) return scene::RenameGroupFromLabel(group, NewString);
    if (const int32_t polygon = handleOf(key, kPolKind)) return scene::RenamePolygonFromLabel(polygon, NewString);
    return std::nullopt;
}

void Form1::trwGroupView_MouseUp(int Button, int, int x, int y) {
    if (!WorldLoaded || Button != 2) return;
    // Menu, record and command all concern the group under the pointer.
    QTreeWidgetItem* node = trwGroupView->itemAt(x, y);
    if (!node || handleOf(KeyedTree::Key(node), kGroupKind) == 0) return;
    trwGroupView->SetSelectedItem(node);
    trwGroupView_NodeClick(node);
    if (SetGroupMenuItems) SetGroupMenuItems();
    platform::popupMenu(*mnuGroupMenu, trwGroupView->viewport()->mapToGlobal(QPoint(x, y)));
}

// ---- the group name field

bool Form1::GrpNameEditMarked() const { return EditMarked(txtSelectedGrpName); }

void Form1::txtSelectedGrpName_Change() {
    // Typed or written by the program, a change on the "Edit Group" page is unapplied.
    if (tabWorkspace->currentIndex() == 1) SetEditMark(txtSelectedGrpName, true);
}

void Form1::txtSelectedGrpName_KeyPress(int KeyAscii) {
    using namespace Globals;
    if (KeyAscii == 27) {
        txtSelectedGrpName_LostFocus();
        SetEditMark(txtSelectedGrpName, false);
        return;
    }
    if (KeyAscii != 13 || CurrSelEntityType != SelGroup) return;
    const std::string text = txtSelectedGrpName->text().toStdString();
    if (Trim(text).empty()) {
        // No group is named by blanks: the name stays and is shown again.
        txtSelectedGrpName->setText(QString::fromStdString(GetEntityName(CurrSelEntityHandle)));
        SetEditMark(txtSelectedGrpName, false);
        return;
    }
    // Taken as typed, even when another group has the name; not recorded for undo.
    // Node and field show the name as the engine keeps it.
    const std::string stored = StoredName(text);
    trwGroupView->Item(groupKey(CurrSelEntityHandle))->setText(0, QString::fromStdString(stored));
    if (stored != text) txtSelectedGrpName->setText(QString::fromStdString(stored));
    SetEditMark(txtSelectedGrpName, false);
    OMBREL_group_set_name(CurrSelEntityHandle, text.c_str());
}

void Form1::txtSelectedGrpName_LostFocus() {
    // An edit not confirmed with Enter is dropped.
    if (Globals::CurrSelEntityType != SelGroup) return;
    txtSelectedGrpName->setText(QString::fromStdString(Globals::GetEntityName(Globals::CurrSelEntityHandle)));
}

// ---- nodes added and removed by deletion, undo and the tools that make polygons

void Form1::AddGroupNode(int32_t Grp, int32_t Father) {
    const std::string parent = Father == Globals::RootGrp ? std::string() : groupKey(Father);
    int index = -1;
    if (const auto place = groupNodePlaces_.find(Grp); place != groupNodePlaces_.end()) {
        if (place->second.parentKey == parent) index = place->second.index;
        groupNodePlaces_.erase(place);
    }
    if (const int engineIndex = groupNodeIndexAsInEngine(parent, Grp, Father); engineIndex >= 0) index = engineIndex;
    trwGroupView->Add(parent, groupKey(Grp), Globals::GetEntityName(Grp), scene::GroupImage(Grp), index);
    trwGroupView_PopulateRecursive(Grp);
    restorePolNodesBelow(Grp);
}

void Form1::restorePolNodesBelow(int32_t Grp) {
    for (auto it = polNodesAway_.begin(); it != polNodesAway_.end();) {
        const int32_t group = OMBREL_ext_handle_kind(*it) == OMBREL_KIND_POLYGON ? OMBREL_polygon_get_group(*it) : 0;
        if (group != 0 && Globals::IsGroupOrAncestor(Grp, group) && trwGroupView->Exists(groupKey(group))) {
            AddPolNode(*it, group);
            it = polNodesAway_.erase(it);
        } else {
            ++it;
        }
    }
}

// Sibling nodes stand in the engine's order of the father's children: the node
// goes before the first sibling group that comes after it there, else after the
// last sibling group; -1 when the father's node shows no other group.
int Form1::groupNodeIndexAsInEngine(const std::string& parentKey, int32_t Grp, int32_t Father) const {
    const int32_t place = Globals::GroupPlace(Grp);
    if (place < 0) return -1;
    QTreeWidgetItem* parent = parentKey.empty() ? trwGroupView->invisibleRootItem() : trwGroupView->Item(parentKey);
    return indexAmongSiblings(parent->childCount(), place, [&](int i) {
        const int32_t sibling = handleOf(KeyedTree::Key(parent->child(i)), kGroupKind);
        return sibling == 0 || sibling == Grp || OMBREL_group_get_father_group(sibling) != Father
                   ? -1
                   : Globals::GroupPlace(sibling);
    });
}

void Form1::RemoveGroupNode(int32_t Grp) {
    const std::string key = groupKey(Grp);
    if (trwGroupView->Exists(key)) {
        const QTreeWidgetItem* node = trwGroupView->Item(key);
        std::vector<const QTreeWidgetItem*> below{node};
        while (!below.empty()) {
            const QTreeWidgetItem* n = below.back();
            below.pop_back();
            if (const int32_t pol = handleOf(KeyedTree::Key(n), kPolKind)) polNodesAway_.insert(pol);
            for (int i = 0; i < n->childCount(); ++i) below.push_back(n->child(i));
        }
        groupNodePlaces_[Grp] = {KeyedTree::ParentKey(node), trwGroupView->IndexAmongSiblings(node)};
        trwGroupView->Remove(key);
    }
    trwGroupView->SetSelectedItem(nullptr);
}

void Form1::AddPolNode(int32_t Pol, int32_t Grp) {
    // As for groups: before the first polygon node that comes after it in the
    // group, else after the last, so that a polygon put back last does not land
    // after the group nodes that follow its siblings.
    const std::string parent = groupKey(Grp);
    int index = -1;
    if (const int32_t place = Globals::PolygonPlace(Pol); place >= 0) {
        const QTreeWidgetItem* node = trwGroupView->Item(parent);
        index = indexAmongSiblings(node->childCount(), place, [&](int i) {
            const int32_t sibling = handleOf(KeyedTree::Key(node->child(i)), kPolKind);
            return sibling == 0 || sibling == Pol || OMBREL_polygon_get_group(sibling) != Grp
                       ? -1
                       : Globals::PolygonPlace(sibling);
        });
    }
    trwGroupView->Add(parent, KeyedTree::NodeKey(kPolKind, Pol), Globals::GetEntityName(Pol), "Pol", index);
}

void Form1::RemovePolNode(int32_t Pol) {
    const std::string key = KeyedTree::NodeKey(kPolKind, Pol);
    if (trwGroupView->Exists(key)) trwGroupView->Remove(key);
}
