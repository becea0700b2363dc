#include "TextureCoordsActions.h"

#include "core/Globals.h"
#include "core/WindowHooks.h"
#include "core/WindowProcedures.h"
#include "ombrel.h"

void ActionChngTextureCoords::Undo() { Write(IniCoords); }
void ActionChngTextureCoords::Redo() { Write(FnlCoords); }

void ActionChngTextureCoords::SetPtsChangedToCurrSel() {
    for (int32_t i = 1; i <= Globals::NumSelPols; ++i) {
        const int32_t pol = Globals::SelPols[i];
        for (int32_t pt = OMBREL_polygon_get_first_point(pol); pt != 0; pt = OMBREL_point_get_next_point(pt))
            Append(pt, pol);
    }
}

void ActionChngTextureCoords::ExtractIniCoordsLoc() { Extract(IniCoords); }
void ActionChngTextureCoords::ExtractFnlCoordsLoc() { Extract(FnlCoords); }

bool ActionChngTextureCoords::ChangesAnything() const { return IniCoords != FnlCoords; }

void ActionChngTextureCoords::Append(int32_t point, int32_t owner) {
    Points.push_back(point);
    OwnerPols.push_back(owner);
}

void ActionChngTextureCoords::Extract(std::vector<double>& coords) const {
    const std::size_t n = Points.size() - 1;
    coords.assign(2 * n + 1, 0.0);
    for (std::size_t i = 1; i <= n; ++i) {
        double uv[2] = {0, 0};
        OMBREL_point_get_bitmap_xy(Points[i], uv);
        coords[2 * i - 1] = uv[0];
        coords[2 * i] = uv[1];
    }
}

void ActionChngTextureCoords::Write(const std::vector<double>& coords) const {
    const std::size_t n = Points.size() - 1;
    // A record whose coordinates were never read writes nothing.
    if (coords.size() == 2 * n + 1) {
        for (std::size_t i = 1; i <= n; ++i) {
            const double uv[2] = {coords[2 * i - 1], coords[2 * i]};
            OMBREL_point_set_bitmap_xy(Points[i], OwnerPols[i], uv);
        }
    }
    if (Globals::IsTextureMappingLoaded()) core::callHook(core::windowHooks().textureMappingSetupWithNewZoom);
}
