#include "SelectionChange.h"

#include "BoundingBox.h"
#include "Camera.h"
#include "CoreTypes.h"
#include "Globals.h"
#include "MultipleSelection.h"
#include "SelectionBookkeeping.h"
#include "SelectionCentres.h"
#include "ViewHooks.h"
#include "WindowHooks.h"
#include "WindowProcedures.h"

#include "platform/key_state.h"
#include "platform/virtual_keys.h"

namespace Globals {
namespace {

bool unchanged() {
    if (PrevSelEntityType != CurrSelEntityType) return false;
    if (CurrSelEntityType == SelMultiple) return IsMultiSelSameAsPrev();
    return PrevSelEntityHandle == CurrSelEntityHandle;
}

// Ctrl+Shift while a group gets selected turns the active view towards it.
void pointActiveViewAtGroup(int32_t group) {
    if (!platform::isKeyHeld(platform::vk::Control) || !platform::isKeyHeld(platform::vk::Shift)) return;
    const auto& active = core::windowHooks().activeView;
    const int view = active ? active() : 0;
    Camera* cam = ViewCams[static_cast<std::size_t>(view)].get();
    if (!cam) return;
    cam->SetLookAtOffset(0, 0);
    cam->PointAtGrp(group);
    cam->Update();
    core::callHook(core::viewHooks().updateCamerasSingle, view);
}

// The core's share of entering the current kind; false ends the path.
bool enterCurrentKind() {
    const auto& h = core::windowHooks();
    const bool goOn = h.enterSelectionPanel ? h.enterSelectionPanel(CurrSelEntityType, CurrSelEntityHandle) : true;
    switch (CurrSelEntityType) {
    case SelGroup:
        if (SelGrpBndBox) SelGrpBndBox->Initialize(CurrSelEntityHandle);
        if (CurrMultiSel) {
            CurrMultiSel->Reset();
            CurrMultiSel->AddGrpHandles(CurrSelEntityHandle);
        }
        pointActiveViewAtGroup(CurrSelEntityHandle);
        break;
    case SelCamera:
        if (!goOn) return false;
        UpdateCameras();
        break;
    case SelBackground:
        if (CurrMultiSel) CurrMultiSel->Reset();
        break;
    case SelMultiple: ComputeSelObjsAvgCenter(); break;
    default: break;
    }
    return true;
}

}  // namespace

void SetPrevSelEntityToCurrSelEntity() {
    PrevSelEntityType = CurrSelEntityType;
    PrevSelEntityHandle = CurrSelEntityHandle;
    if (CurrSelEntityType == SelMultiple) SaveMultiSelAsPrev();
}

void SetCurrSelEntityToPrevSelEntity() {
    CurrSelEntityType = PrevSelEntityType;
    CurrSelEntityHandle = PrevSelEntityHandle;
    if (PrevSelEntityType == SelMultiple && CurrMultiSel && PrevMultiSel)
        CopyMultipleSelection(*CurrMultiSel, *PrevMultiSel);
}

void treeViewHighlightCurrentSelectedAndDeHighlightPrevSelected() {
    core::callHook(core::windowHooks().selectionChangedUi);
}

void ThingsToDoOnSelectedEntityChange() {
    if (!unchanged()) {
        NumSelPts = 0;
        NumSelPols = 0;
        treeViewHighlightCurrentSelectedAndDeHighlightPrevSelected();
        core::callHook(core::windowHooks().leaveSelectionPanel, PrevSelEntityType, CurrSelEntityType);
        if (!enterCurrentKind()) return;
    }
    core::callHook(core::windowHooks().enableGrpMenuItems);
    UpdateStatusBar();
}

}  // namespace Globals
