#include "CreationRecord.h"

#include "core/Globals.h"
#include "undo/ActionUndoRedo_Stack.h"
#include "undo/SharedObjects.h"

#include <memory>

namespace geometry {

void RecordCreation() {
    using namespace Globals;
    auto record = std::make_unique<ActionUndoRedo>();
    record->ActionType = ActCreate;
    record->SetActionObjects();
    record->Create->SetCreatedEntity(CurrSelEntityType, CurrSelEntityHandle);
    undo::Shared(UndoRedoStack, "The undo history").Push(std::move(record));
}

}  // namespace geometry
