#include "FlipPolygons.h"

#include "GroupPolygonProcedures.h"
#include "WeldedPointsProcedures.h"

namespace Globals {

void FlipPolygonList(const std::vector<int32_t>& polygons) {
    RemovePolygonsFromWelded(polygons);
    for (int32_t polygon : polygons) ReversePolygonPoints(polygon);
    AddPolygonsToWelded(polygons);
    UpdateSelPolsRelatedPtsArray();
}

}  // namespace Globals
