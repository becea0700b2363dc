#include "Globals.h"

#include "platform/gdi.h"

namespace Globals {

void CreateOverlayPens() {
    using platform::CreatePen;
    using platform::PS_SOLID;
    using platform::rgb;
    PenWhite = CreatePen(PS_SOLID, 1, rgb(255, 255, 255));
    PenRed = CreatePen(PS_SOLID, 1, rgb(255, 0, 0));
    PenBlue = CreatePen(PS_SOLID, 1, rgb(0, 0, 255));
    PenRedThick = CreatePen(PS_SOLID, 2, rgb(255, 0, 0));
    PenGreenThick = CreatePen(PS_SOLID, 2, rgb(0, 255, 0));
    PenBlueThick = CreatePen(PS_SOLID, 2, rgb(0, 0, 255));
    PenYellowThick = CreatePen(PS_SOLID, 2, rgb(255, 255, 0));
}

void DeleteOverlayPens() {
    for (platform::GdiObject* pen :
         {&PenWhite, &PenRed, &PenBlue, &PenRedThick, &PenGreenThick, &PenBlueThick, &PenYellowThick}) {
        if (*pen) platform::DeleteObject(*pen);
        *pen = 0;
    }
}

}  // namespace Globals
