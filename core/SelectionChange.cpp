#include "SelectionChange.h"

#include "CoreTypes.h"
#include "Globals.h"
#include "SelectionBookkeeping.h"
#include "WindowHooks.h"

namespace Globals {

void SetPrevSelEntityToCurrSelEntity() {
    PrevSelEntityType = CurrSelEntityType;
    PrevSelEntityHandle = CurrSelEntityHandle;
    if (CurrSelEntityType == SelMultiple) SaveMultiSelAsPrev();
}

void ThingsToDoOnSelectedEntityChange() {
    if (IsCurrSelSameAsPrevSel()) return;
    NumSelPts = 0;
    NumSelPols = 0;
    core::callHook(core::windowHooks().selectionChangedUi);
}

}  // namespace Globals
