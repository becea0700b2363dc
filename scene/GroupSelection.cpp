#include "GroupSelection.h"

#include "core/Globals.h"
#include "core/SelectionChange.h"
#include "undo/SelectionGestures.h"

#include "ombrel.h"

namespace scene {

bool SelectGroupFromTree(int32_t group) {
    using namespace Globals;
    if (OMBREL_group_is_group(group, 0) != 1) return false;
    if (CurrSelEntityType == SelGroup && CurrSelEntityHandle == group) return false;
    SetPrevSelEntityToCurrSelEntity();
    CurrSelEntityType = SelGroup;
    CurrSelEntityHandle = group;
    RecordSelectionChange();
    ThingsToDoOnSelectedEntityChange();
    return true;
}

}  // namespace scene
