#include "FogAction.h"

#include "ombrel.h"

void ActionChngFog::SetOldFogValues(const std::array<int32_t, 3>& Clr, double Intensity) {
    OldClr = Clr;
    OldIntensity = Intensity;
}

void ActionChngFog::SetNewFogValues(const std::array<int32_t, 3>& Clr, double Intensity) {
    NewClr = Clr;
    NewIntensity = Intensity;
}

void ActionChngFog::Undo() { apply(OldClr, OldIntensity); }

void ActionChngFog::Redo() { apply(NewClr, NewIntensity); }

void ActionChngFog::apply(const std::array<int32_t, 3>& clr, double intensity) {
    OMBREL_engine_set_atmospheric_effect(clr[0], clr[1], clr[2]);
    OMBREL_engine_set_atmospheric_effect_intensity(intensity);
}
