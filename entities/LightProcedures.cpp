#include "LightProcedures.h"

#include "core/Globals.h"
#include "core/WindowProcedures.h"

#include "ombrel.h"

namespace Globals {

void ActivateSelLight() {
    OMBREL_light_activate(CurrSelEntityHandle, 0);
    UpdateCameras();
}

}  // namespace Globals
