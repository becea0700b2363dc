#include "SharedObjects.h"

namespace undo {

void CopyCurrMultiSelWithoutTracks(MultipleSelection& dst) {
    const MultipleSelection& src = CurrMultiSel();
    dst.Reset();
    for (int32_t i = 1; i <= src.NumOfCams(); ++i) dst.AddCamHandles(src.GetCam(i));
    for (int32_t i = 1; i <= src.NumOfGrps(); ++i) dst.AddGrpHandles(src.GetGrp(i));
    for (int32_t i = 1; i <= src.NumOfLights(); ++i) dst.AddLightHandles(src.GetLight(i));
}

}  // namespace undo
