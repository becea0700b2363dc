// How much of a view a box fills once projected: the largest distance of a
// projected corner from the view's centre, over the view's half diagonal.
#pragma once

#include "core/Camera.h"
#include "core/Globals.h"
#include "ombrel.h"
#include "views/PicWindow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstddef>

inline double ViewSpread(PicWindow& w, int view, const double box[6]) {
    OMBREL_camera_set_current(Globals::ViewCams[static_cast<std::size_t>(view)]->lngSceneCamera, w.hWnd());
    double farthest = 0;
    for (int i = 0; i < 8; ++i) {
        const double corner[3] = {box[(i & 1) ? 3 : 0], box[(i & 2) ? 4 : 1], box[(i & 4) ? 5 : 2]};
        int32_t px[2];
        EXPECT_NE(OMBREL_engine_3D_point_to_2D(corner, px), -1);
        farthest = std::max(farthest, std::hypot(px[0] - w.width() / 2.0, px[1] - w.height() / 2.0));
    }
    return farthest / (std::hypot(w.width(), w.height()) / 2);
}
