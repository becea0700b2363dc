#include "AlignMode.h"

#include "TransformHooks.h"
#include "formAlign.h"

#include "core/Globals.h"
#include "core/Maths.h"
#include "core/WindowProcedures.h"
#include "platform/prompts.h"

namespace transform {
namespace {

bool isTarget(int32_t kind) { return kind == SelGroup || kind == SelCamera || kind == SelLight; }

void pick(float x, float y) {
    const auto& hook = transformHooks().pickEntityAt;
    Globals::PickedEntityType = SelNone;
    Globals::PickedEntityHandle = 0;
    if (hook)
        hook(static_cast<int32_t>(Maths::RoundHalfEven(x)), static_cast<int32_t>(Maths::RoundHalfEven(y)));
}

void setPointer(const char* key) {
    if (transformHooks().picWinSetMousePtr) transformHooks().picWinSetMousePtr(key);
}

}  // namespace

bool IsAlignMode() {
    const auto& hook = transformHooks().alignButtonDown;
    return hook && hook();
}

void EnterAlignMode() {
    const auto& hooks = transformHooks();
    if (!hooks.worldLoaded || !hooks.worldLoaded()) return;
    if (!IsAlignMode()) return;
    if (Globals::CurrSelEntityType == SelNone) {
        platform::msgBox("Please select a source object first.", platform::MsgButtons::OK, platform::MsgIcon::Information);
        if (hooks.setAlignButtonDown) hooks.setAlignButtonDown(false);
        return;
    }
    setPointer("Align Mode");
}

void SetAlignModeMousePtr(int16_t, float X, float Y) {
    pick(X, Y);
    setPointer(isTarget(Globals::PickedEntityType) ? "Align Target" : "Align Mode");
}

void PickAlignTarget(int16_t Button, float X, float Y, QWidget* owner) {
    if (Button != 1) return;
    pick(X, Y);
    if (!isTarget(Globals::PickedEntityType)) return;
    formAlign dialog(owner);
    dialog.SetTargetEntity(Globals::PickedEntityType, Globals::PickedEntityHandle);
    platform::showModal(dialog);
    Globals::RefillEntityPanel();
}

}  // namespace transform
