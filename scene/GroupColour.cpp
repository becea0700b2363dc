#include "GroupColour.h"

#include "core/Globals.h"
#include "platform/colour.h"
#include "undo/TextureActions.h"

#include "ombrel.h"

namespace scene {

std::array<uint8_t, 3> ColourBytes(int32_t colour) {
    return {static_cast<uint8_t>(platform::redOf(colour)), static_cast<uint8_t>(platform::greenOf(colour)),
            static_cast<uint8_t>(platform::blueOf(colour))};
}

void ColourSelectedGroup(ActionApplyTextureToGrp& action, int32_t colour, bool polygonMode) {
    using namespace Globals;
    const std::array<uint8_t, 3> rgb = ColourBytes(colour);
    action.SetSelToCurrSel(!polygonMode);
    action.SetNewColor(rgb);
    if (!polygonMode) {
        OMBREL_group_set_color(CurrSelEntityHandle, rgb.data());
        return;
    }
    for (int32_t i = 1; i <= NumSelPols; ++i) OMBREL_polygon_set_color_fill(SelPols[i], rgb[0], rgb[1], rgb[2]);
}

}  // namespace scene
