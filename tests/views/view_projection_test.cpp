// Every view draws each polygon where the projection puts it, whatever the
// size of the world: its pixels are read back against projected corners and
// against picks through the same camera.
#include "EditorFixture.h"

#include "core/Camera.h"
#include "core/Globals.h"
#include "core/SyncViewWithCamera.h"
#include "mainwindow/formTemplate.h"
#include "ombrel.h"
#include "views/PicWindow.h"
#include "views/ViewRedraw.h"

#include <QAction>
#include <QListWidget>

#include <algorithm>
#include <array>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Pixel = std::array<double, 2>;

void makeViewCurrent(Form1& f, int view) {
    const auto i = static_cast<std::size_t>(view);
    OMBREL_camera_set_current(Globals::ViewCams[i]->lngSceneCamera, f.picWindow[i]->hWnd());
}

// The polygon's corners projected into the view; each must be in front of the eye.
std::vector<Pixel> projectedCorners(Form1& f, int view, int32_t polygon) {
    makeViewCurrent(f, view);
    std::vector<Pixel> corners;
    for (int32_t pt = OMBREL_polygon_get_first_point(polygon); pt != 0; pt = OMBREL_point_get_next_point(pt)) {
        double p[3] = {0, 0, 0};
        OMBREL_point_get_xyz(pt, p);
        int32_t px[2] = {0, 0};
        const int32_t code = OMBREL_engine_3D_point_to_2D(p, px);
        EXPECT_TRUE(code == 0 || code == 2) << "a corner behind the eye";
        corners.push_back({px[0] + 0.5, px[1] + 0.5});
    }
    return corners;
}

// Signed distance from a point to a convex polygon's outline: positive inside.
// Outside, its size never exceeds the true distance.
double insideBy(const std::vector<Pixel>& polygon, Pixel p) {
    double area = 0;
    for (std::size_t i = 0; i < polygon.size(); ++i) {
        const Pixel& a = polygon[i];
        const Pixel& b = polygon[(i + 1) % polygon.size()];
        area += a[0] * b[1] - b[0] * a[1];
    }
    double nearest = 1e300;
    for (std::size_t i = 0; i < polygon.size(); ++i) {
        const Pixel& a = polygon[i];
        const Pixel& b = polygon[(i + 1) % polygon.size()];
        const double ex = b[0] - a[0], ey = b[1] - a[1], len = std::hypot(ex, ey);
        if (len == 0) continue;
        const double side = (ex * (p[1] - a[1]) - ey * (p[0] - a[0])) / len;
        nearest = std::min(nearest, area > 0 ? side : -side);
    }
    return nearest;
}

bool drawn(const QImage& image, int x, int y) { return (image.pixel(x, y) & 0xFFFFFF) != 0; }

// The polygon hit at the pixel through the view's camera (0: none).
int32_t pickedAt(int x, int y) {
    double p[3];
    int32_t polygon = 0;
    return OMBREL_engine_2D_point_to_3D(x, y, p, nullptr, &polygon) == 0 ? polygon : 0;
}

class ViewProjectionTest : public EditorFixture {
protected:
    // Nothing selected, so no overlay lies over the pictures; all views redrawn.
    void redrawWithoutOverlays() {
        Globals::CurrSelEntityType = SelNone;
        Globals::CurrSelEntityHandle = 0;
        UpdateCameras();
    }
};

}  // namespace

// File > New with "New" chosen, then Create > Standard Groups > Plane: in each
// axis view the plane covers what its projected corners enclose and nothing
// outside, two pixels of outline either way left to rounding.
TEST_F(ViewProjectionTest, ANewWorldsPlaneShowsWhereItsCornersProjectInEachAxisView) {
    Form1& f = StartEditor();
    platform_.prompts.answerWindow<formTemplate>([](formTemplate& w) {
        ASSERT_EQ(w.List1->currentItem()->text(), "New");
        w.cmdOk_Click();
    });
    f.mnuNew->trigger();
    f.mnuPlane->trigger();
    ASSERT_EQ(Globals::CurrSelEntityType, SelGroup);
    const std::vector<int32_t> polygons = PolygonsOf(Globals::CurrSelEntityHandle);
    ASSERT_EQ(polygons.size(), 1u);
    redrawWithoutOverlays();
    for (int view : {0, 1, 3}) {
        SCOPED_TRACE(view);
        const std::vector<Pixel> corners = projectedCorners(f, view, polygons[0]);
        const QImage& image = f.picWindow[static_cast<std::size_t>(view)]->buffer();
        int wrong = 0, inside = 0;
        std::ostringstream first;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const double d = insideBy(corners, {x + 0.5, y + 0.5});
                if (std::fabs(d) < 2) continue;
                inside += d > 0;
                if ((d > 0) == drawn(image, x, y)) continue;
                if (wrong++ == 0) first << "pixel " << x << ", " << y << (d > 0 ? " not drawn" : " drawn");
            }
        EXPECT_EQ(wrong, 0) << first.str() << "; " << inside << " pixels inside";
    }
}

// A world 10^12 units wide: a ground as wide and a 100-unit square lying just
// over it at the origin, and a world camera 60 units above the ground looking at
// the square. With the square fitted into the axis views (their eyes then stand
// ten-thousandths of the ground's width from it) and the perspective view looking
// through the camera, each view draws a pixel exactly where a pick through it
// finds a polygon, the square in its colour; only pixels on an outline may differ.
TEST_F(ViewProjectionTest, AWorldAsWideAsTheBoundShowsWhereThePicksFindIt) {
    Form1& f = StartEditor();
    OpenEmptyWorld();
    const double half = 0.5e12;
    const int32_t ground = MakePolygon(MakeGroup("ground", Globals::RootGrp),
                                       {{-half, -half}, {-half, half}, {half, half}, {half, -half}});
    OMBREL_polygon_set_color_fill(ground, 0, 160, 0);
    const int32_t square = MakeGroup("square", Globals::RootGrp);
    const int32_t top = MakePolygon(square, {{-50, -50}, {-50, 50}, {50, 50}, {50, -50}}, 0.5);
    OMBREL_polygon_set_color_fill(top, 255, 0, 0);
    const int32_t eye = OMBREL_camera_create("Cam01");
    OMBREL_camera_set_location(eye, -400, 0, 60);
    OMBREL_camera_set_direction(eye, 400, 0, -59.5);
    OMBREL_camera_set_zoom(eye, 60);
    f.trwGroupView_Populate();
    Globals::WorldSize = f.GetWorldSize();
    ASSERT_EQ(Globals::WorldSize, 1e12);
    f.mnuResetViews_Click();
    Globals::CurrSelEntityType = SelGroup;
    Globals::CurrSelEntityHandle = square;
    f.ZoomExtentAll();
    // The perspective view looks through the camera, as a click on its node makes it.
    f.SetViewedCamera(2, eye);
    SyncViewWithCamera(eye, 2);
    redrawWithoutOverlays();
    for (int view = 0; view < 4; ++view) {
        SCOPED_TRACE(view);
        const QImage& image = f.picWindow[static_cast<std::size_t>(view)]->buffer();
        makeViewCurrent(f, view);
        const int w = image.width(), h = image.height();
        std::vector<int32_t> picked(static_cast<std::size_t>(w) * h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) picked[static_cast<std::size_t>(y) * w + x] = pickedAt(x, y);
        auto pick = [&](int x, int y) {
            return picked[static_cast<std::size_t>(std::clamp(y, 0, h - 1)) * w + std::clamp(x, 0, w - 1)];
        };
        int wrong = 0, squarePixels = 0, groundPixels = 0;
        std::ostringstream first;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const int32_t here = pick(x, y);
                bool outline = false;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx) outline = outline || pick(x + dx, y + dy) != here;
                if (outline) continue;
                const QRgb seen = image.pixel(x, y) & 0xFFFFFF;
                const bool red = qRed(seen) > 200 && qGreen(seen) < 50, green = qGreen(seen) > 100 && qRed(seen) < 50;
                const bool right = here == top ? red : here == ground ? green : seen == 0;
                squarePixels += here == top;
                groundPixels += here == ground;
                if (!right && wrong++ == 0)
                    first << "pixel " << x << ", " << y << " picks " << here << " and shows " << std::hex << seen;
            }
        EXPECT_EQ(wrong, 0) << first.str();
        EXPECT_GT(groundPixels, w * h / 10);
        if (view == 2) {
            EXPECT_GT(squarePixels, 500);
        }
    }
}
