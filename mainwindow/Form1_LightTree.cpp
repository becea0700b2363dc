// The light tree of the workspace's light page: rebuilt from the engine when a
// world is loaded, created or merged, emptied when it closes. A click selects a
// node's light and fills the light panel, a label edit renames the light, the
// right button opens the light menu. A node leads to its light by the handle in
// its key only.
#include "Form1.h"
#include "ModelGalleryInput.h"

#include "core/EntityProcedures.h"
#include "core/Globals.h"
#include "core/SelectionBookkeeping.h"
#include "core/SelectionChange.h"
#include "entities/LightGrp.h"
#include "ombrel.h"
#include "platform/error_trap.h"
#include "platform/prompts.h"
#include "scene/Renames.h"
#include "undo/SelectionGestures.h"
#include "views/ViewRedraw.h"

#include <QGroupBox>
#include <QMenu>

namespace {

constexpr const char* kFolder = "LIGHT";
constexpr const char* kLightKind = "Light";

// The light of a "Light" key, or 0.
int32_t lightOf(const std::string& key) { return KeyedTree::HandleOf(key, kLightKind); }

}  // namespace

void Form1::connectLightTree() {
    connectTree(trwLight, {&Form1::trwLight_NodeClick, &Form1::trwLight_AfterLabelEdit, &Form1::trwLight_Expand,
                           &Form1::trwLight_Collapse, &Form1::trwLight_MouseUp});
}

void Form1::trwLight_Populate() {
    using namespace Globals;
    trwLight->Clear();
    trwLight->Add("", kFolder, kFolder, "Folder");
    // The engine lists only lights that are saved: one waiting in a deletion record
    // keeps its (hidden) marker for Undo. A light with a marker already keeps it,
    // and its node says whether it is hidden.
    for (int32_t l = OMBREL_light_get_first_light(); l != 0; l = OMBREL_light_get_next_light(l)) {
        const int32_t marker = SceneLights ? SceneLights->GetLightGrp(l) : 0;
        // Each light gets the marker of its type.
        if (marker == 0 && SceneLights) SceneLights->Add(l, OMBREL_light_get_type_of_light(l) & 1);
        const bool hidden = marker != 0 && OMBREL_group_is_disable(marker) == 1;
        trwLight->Add(kFolder, KeyedTree::NodeKey(kLightKind, l), GetEntityName(l),
                      hidden ? "Light Invisible" : "Light");
    }
}

void Form1::trwLight_Collapse(QTreeWidgetItem* Node) {
    trwLight_NodeClick(Node);
    trwLight->SetImage(Node, "Folder");
}

void Form1::trwLight_Expand(QTreeWidgetItem* Node) { trwLight->SetImage(Node, "FolderOpen"); }

void Form1::trwLight_NodeClick(QTreeWidgetItem* Node) {
    using namespace Globals;
    if (!WorldLoaded || !Node) return;
    const std::string key = KeyedTree::Key(Node);
    if (key == kFolder) {
        frmLight->setVisible(false);
        LightScrollBarVisibility(false);
        SetPrevSelEntityToCurrSelEntity();
        CurrSelEntityType = SelNone;
        ThingsToDoOnSelectedEntityChange();
    } else {
        const int32_t light = lightOf(key);
        if (light == 0 || (CurrSelEntityType == SelLight && CurrSelEntityHandle == light)) return;
        SetPrevSelEntityToCurrSelEntity();
        CurrSelEntityType = SelLight;
        CurrSelEntityHandle = light;
        ThingsToDoOnSelectedEntityChange();
        frmLight_Resize();
        SetLightScrollBar();
        SettingLightParams = true;
        frmLight_SetParameters(light);
        SettingLightParams = false;
        frmLight->setVisible(true);
        LightScrollBarVisibility(true);
    }
    const bool changed = !IsCurrSelSameAsPrevSel();
    RecordSelectionChange();
    // The selection box moves to the new selection.
    if (changed) UpdateCameras();
}

std::optional<std::string> Form1::trwLight_AfterLabelEdit(QTreeWidgetItem* Node, const std::string& NewString) {
    const std::string key = KeyedTree::Key(Node);
    // The folder keeps its caption.
    if (key == kFolder) return std::string(kFolder);
    const int32_t light = lightOf(key);
    if (light == 0) return std::nullopt;
    return scene::RenameEntityFromLabel(SelLight, light, NewString);
}

void Form1::trwLight_MouseUp(int Button, int, int x, int y) {
    if (!WorldLoaded || Button != 2) return;
    // The menu concerns the node under the pointer; over empty space there is none.
    QTreeWidgetItem* node = trwLight->itemAt(x, y);
    if (!node) return;
    trwLight->SetSelectedItem(node);
    trwLight_NodeClick(node);
    popUpLightMenu(trwLight->viewport()->mapToGlobal(QPoint(x, y)));
}

// The light menu at the pointer, its items prepared for the selected node.
void Form1::popUpLightMenu(const QPoint& at) {
    SetLightMenuItems();
    platform::popupMenu(*mnuLightMenu, at);
}
