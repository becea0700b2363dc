#include "ViewOverlays.h"

#include "PicWindow.h"
#include "ViewRedraw.h"

#include "core/BoundingBox.h"
#include "core/Camera.h"
#include "core/Globals.h"
#include "core/MultipleSelection.h"
#include "core/TrackPointEdits.h"
#include "core/Wireframe.h"
#include "ombrel.h"
#include "ombrel_views.h"
#include "platform/error_trap.h"
#include "platform/gdi.h"
#include "transform/EditModes.h"
#include "transform/TransformGizmo.h"

#include <array>
#include <string>
#include <vector>

namespace views {
namespace {

// Selects a pen into OverlayDC and puts the previous one back on every way out.
class PenInUse {
public:
    explicit PenInUse(platform::GdiObject pen)
        : dc_(*Globals::OverlayDC), previous_(platform::SelectObject(dc_, pen)) {}
    ~PenInUse() { platform::SelectObject(dc_, previous_); }
    PenInUse(const PenInUse&) = delete;
    PenInUse& operator=(const PenInUse&) = delete;

private:
    platform::DeviceContext& dc_;
    platform::GdiObject previous_;
};

// Lines of one pen drawn together: a line starting where the last one ended
// continues its polyline, so a long track is one call to the device context.
class Lines {
public:
    void add(const PixelPt& a, const PixelPt& b) {
        const bool continues = !counts_.empty() && points_.back().x == a[0] && points_.back().y == a[1];
        if (continues) {
            ++counts_.back();
        } else {
            points_.push_back({a[0], a[1]});
            counts_.push_back(2);
        }
        points_.push_back({b[0], b[1]});
    }
    void draw(platform::GdiObject pen) const {
        if (counts_.empty()) return;
        PenInUse inUse(pen);
        platform::PolyPolyline(*Globals::OverlayDC, points_.data(), counts_.data(), static_cast<int>(counts_.size()));
    }

private:
    std::vector<platform::PixelPoint> points_;
    std::vector<uint32_t> counts_;
};

// Point squares of one pen and size, drawn together: one call for all of them
// instead of one each.
class Squares {
public:
    // Each square reaches from 2 pixels before its point to side - 2 after.
    explicit Squares(int side) : side_(side) {}
    void add(const PixelPt& c) {
        ltrb_.insert(ltrb_.end(), {c[0] - 2, c[1] - 2, c[0] - 2 + side_, c[1] - 2 + side_});
    }
    void draw(platform::GdiObject pen) const {
        if (ltrb_.empty()) return;
        PenInUse inUse(pen);
        platform::Rectangles(*Globals::OverlayDC, ltrb_.data(), static_cast<int>(ltrb_.size() / 4));
    }

private:
    int side_;
    std::vector<int32_t> ltrb_;
};

// The squares of track points; those of a group's points are a pixel smaller.
constexpr int kTrackPointSide = 5, kGroupPointSide = 4;

// The edges of a point list projected into the current camera: each part in
// front of the near plane that meets the view.
void addEdges(Lines& lines, const double* points, std::size_t n, bool closed) {
    const std::size_t edges = closed ? n : (n > 0 ? n - 1 : 0);
    for (std::size_t i = 0; i < edges; ++i) {
        const std::size_t j = i + 1 < n ? i + 1 : 0;
        if (i == j) continue;
        PixelPt a = {0, 0}, b = {0, 0};
        const int32_t code = OMBREL_engine_3D_edge_to_2D(points + 3 * i, points + 3 * j, a.data(), b.data());
        if (code == 0 || code == 2) lines.add(a, b);
    }
}

// A square on each point in front of the eye (projection 0 or 2).
void addPointSquares(Squares& squares, const double* points, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) {
        PixelPt p = {0, 0};
        const int32_t code = OMBREL_engine_3D_point_to_2D(points + 3 * i, p.data());
        if (code == 0 || code == 2) squares.add(p);
    }
}

// The view's camera, told whether to draw the background behind the world.
int32_t showBackgroundAsSet(int index) {
    const int32_t camera = SceneCamera(index);
    OMBREL_ext_camera_set_background_shown(camera, viewHost().ShowsBackground(index) ? 1 : 0);
    return camera;
}

std::array<bool, 4>& renderedAhead() {
    static std::array<bool, 4> ahead{};
    return ahead;
}

bool selectionHidden() {
    using namespace Globals;
    return viewHost().IsEntityHidden(CurrSelEntityType, CurrSelEntityHandle);
}

}  // namespace

int32_t SceneCamera(int index) {
    const auto& camera = Globals::ViewCams[static_cast<std::size_t>(index)];
    return camera ? camera->lngSceneCamera : 0;
}

void EngineFailed(const char* what) {
    const char* reason = OMBREL_ext_get_last_error();
    throw platform::EditorError(std::string(what) + ": " + (reason && *reason ? reason : "the engine gave no reason"));
}

void RenderViewsAhead(const int* indexes, int count) {
    ForgetViewsAhead();
    std::array<int32_t, 4> windows{}, cameras{};
    std::array<std::size_t, 4> views{};
    int n = 0;
    for (int i = 0; i < count && n < 4; ++i) {
        const int index = indexes[i];
        if (index < 0 || index >= 4) continue;
        const auto k = static_cast<std::size_t>(n++);
        views[k] = static_cast<std::size_t>(index);
        windows[k] = viewHost().View(index).hWnd();
        cameras[k] = showBackgroundAsSet(index);
    }
    if (OMBREL_ext_render_views_on_dcs(n, windows.data(), cameras.data()) != n) return;
    for (int k = 0; k < n; ++k) renderedAhead()[views[static_cast<std::size_t>(k)]] = true;
}

void ForgetViewsAhead() { renderedAhead().fill(false); }

void DrawBDBoxOrWire(int Index) {
    using namespace Globals;
    PicWindow& view = viewHost().View(Index);
    bool& ahead = renderedAhead()[static_cast<std::size_t>(Index)];
    if (ahead) {
        ahead = false;
    } else if (OMBREL_engine_render_on_dc(view.hWnd(), showBackgroundAsSet(Index)) == 0) {
        EngineFailed("The view could not be rendered");
    }
    OverlayDC = &view.dc();
    view.transient().clear();
    view.MarkRendered();

    PenInUse pen(PenWhite);
    const bool wireframe = viewHost().ShowsWireframe();
    if (CurrSelEntityType == SelGroup && !selectionHidden()) {
        if (ShowBndBox) {
            if (SelGrpBndBox) SelGrpBndBox->Draw(Index);
        } else if (wireframe && OverlayWireframe) {
            OverlayWireframe->Draw(CurrSelEntityHandle, Index);
        }
    } else if (CurrSelEntityType == SelMultiple && CurrMultiSel) {
        if (ShowBndBox)
            CurrMultiSel->DrawGrpBndBoxes(Index);
        else if (wireframe)
            CurrMultiSel->DrawGrpsWires(Index);
    }
}

void DrawGizmo(int Index) {
    TransformGizmo* gizmo = viewHost().Gizmo(Index);
    if (!gizmo) return;
    // Not drawn, the handle takes no press where it last stood.
    if (selectionHidden()) {
        gizmo->Hide();
        return;
    }
    gizmo->Draw(Globals::CurrSelEntityHandle, SceneCamera(Index), false);
}

void DrawGrpPts(int Index) {
    using namespace Globals;
    if (!viewHost().EditingPoints() || CurrSelEntityType != SelGroup) return;
    OMBREL_camera_set_current(SceneCamera(Index), viewHost().View(Index).hWnd());
    double eye[3] = {0, 0, 0};
    OMBREL_camera_get_location(OMBREL_camera_get_current(), &eye[0], &eye[1], &eye[2]);
    Squares squares(kGroupPointSide);
    const int32_t grp = CurrSelEntityHandle;
    for (int32_t pol = OMBREL_group_get_first_polygon(grp); pol != 0; pol = OMBREL_group_get_next_polygon(grp, pol)) {
        double plane[4] = {0, 0, 0, 0};
        OMBREL_polygon_get_plane(pol, plane);
        if (OMBREL_math_get_plane_point_relations(plane, eye, 0, 0) == 2) continue;
        for (int32_t pt = OMBREL_polygon_get_first_point(pol); pt != 0; pt = OMBREL_point_get_next_point(pt)) {
            double p[3] = {0, 0, 0};
            OMBREL_point_get_xyz(pt, p);
            PixelPt p2d = {0, 0};
            if (OMBREL_engine_3D_point_to_2D(p, p2d.data()) == 0) squares.add(p2d);
        }
    }
    squares.draw(PenBlue);
}

// The lines go through the edge projection, cut at the near plane: a point
// behind the eye has no place on the view to draw a line to.
void DrawSelTrack(int) {
    using namespace Globals;
    if (CurrSelEntityType != SelTrack || !OverlayDC) return;
    const int32_t track = CurrSelEntityHandle;
    const std::vector<double> points = ReadTrackPoints(track);
    const std::size_t n = points.size() / 3;
    if (n == 0) return;
    Lines lines;
    Squares squares(kTrackPointSide);
    addEdges(lines, points.data(), n, OMBREL_track_is_cyclic(track) == 1);
    addPointSquares(squares, points.data(), n);
    lines.draw(PenWhite);
    squares.draw(PenBlue);
}

void DrawSelectedTrackPts(int) {
    using namespace Globals;
    if (!transform::IsTrackPointEditing() || !OverlayDC || NumSelTrkPts <= 0) return;
    const int32_t track = CurrSelEntityHandle;
    const int32_t n = OMBREL_track_get_number_of_points(track);
    Squares squares(kTrackPointSide);
    for (int32_t k = 1; k <= NumSelTrkPts && static_cast<std::size_t>(k) < SelTrkPts.size(); ++k) {
        const int32_t index = SelTrkPts[static_cast<std::size_t>(k)];
        if (index < 0 || index >= n) continue;
        Point3d p = {0, 0, 0};
        PixelPt px = {0, 0};
        if (OMBREL_track_get_point(track, index, p.data()) != 0) continue;
        if (OMBREL_engine_3D_point_to_2D(p.data(), px.data()) == 0) squares.add(px);
    }
    squares.draw(PenRed);
}

void DrawNewTrack(int) {
    using namespace Globals;
    const double* points = nullptr;
    int32_t count = 0;
    if (!OverlayDC || !viewHost().LaidTrackPoints(points, count) || count <= 0 || !points) return;
    const auto n = static_cast<std::size_t>(count);
    Lines lines;
    Squares squares(kTrackPointSide);
    addEdges(lines, points, n, false);
    addPointSquares(squares, points, n);
    lines.draw(PenWhite);
    squares.draw(PenRed);
}

}  // namespace views
