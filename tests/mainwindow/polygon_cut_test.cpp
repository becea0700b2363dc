// The cut tool on a real window: the Cut button, lines dragged in the top and
// perspective views through the view handlers, the pieces with their look, their
// nodes and the selection, and the one record of each cut.
#include "EditorFixture.h"

#include "bmp_writer.h"

#include "core/Camera.h"
#include "core/Globals.h"
#include "core/WeldedPointsProcedures.h"
#include "geometry/mdlCutPols.h"
#include "ombrel.h"
#include "platform/key_state.h"
#include "platform/virtual_keys.h"
#include "undo/ActionUndoRedo.h"
#include "undo/ActionUndoRedo_Stack.h"
#include "views/PicWindow.h"
#include "views/ViewRedraw.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QTabWidget>
#include <QToolBar>

#include <algorithm>
#include <array>
#include <cmath>
#include <set>
#include <string>
#include <vector>

namespace {

using namespace Globals;
using Pixel = std::array<int32_t, 2>;
using Vec = std::array<double, 3>;

constexpr int kTop = 0;
constexpr int kPerspective = 2;

struct PointData {
    Vec pos;
    double u, v, brightness;
    std::array<int, 3> rgb;
    int hasNormal;
    Vec normal;
};

std::vector<PointData> pointsOf(int32_t polygon) {
    std::vector<PointData> out;
    for (int32_t pt = OMBREL_polygon_get_first_point(polygon); pt; pt = OMBREL_point_get_next_point(pt)) {
        PointData d{};
        OMBREL_point_get_xyz(pt, d.pos.data());
        double uv[2];
        OMBREL_point_get_bitmap_xy(pt, uv);
        d.u = uv[0];
        d.v = uv[1];
        d.brightness = OMBREL_point_get_brightness(pt);
        uint8_t rgb[3];
        OMBREL_ext_point_get_rgb(pt, rgb);
        d.rgb = {rgb[0], rgb[1], rgb[2]};
        d.hasNormal = OMBREL_ext_point_get_normal(pt, d.normal.data());
        out.push_back(d);
    }
    return out;
}


std::string nameOf(int32_t handle) {
    char buffer[256] = {};
    OMBREL_entity_get_name(handle, buffer, 255);
    return buffer;
}

Vec lerp(const Vec& a, const Vec& b, double r) {
    return {a[0] + r * (b[0] - a[0]), a[1] + r * (b[1] - a[1]), a[2] + r * (b[2] - a[2])};
}

class PolygonCutTest : public EditorFixture {
protected:
    // A group "walls" selected and edited in polygon mode, with the square of
    // side 100 round the origin in it.
    Form1& start() {
        Form1& f = StartEditor();
        OpenEmptyWorld();
        walls_ = MakeGroup("walls", RootGrp);
        square_ = MakePolygon(walls_, {{-50, -50}, {-50, 50}, {50, 50}, {50, -50}});
        f.trwGroupView_Populate();
        QApplication::processEvents();
        ::UpdateCameras();
        ClickView(kTop, PixelOf(kTop, 0, 0));
        EXPECT_EQ(CurrSelEntityHandle, walls_);
        f.tabWorkspace->setCurrentIndex(1);
        f.cmbObj->setCurrentText("Edit Geometry");
        f.cmbObjEditGeom->setCurrentText("Polygon");
        return f;
    }

    // Polygons of the edited group made in the test: the tree shows them and the
    // welded points know them.
    void refresh() {
        form().trwGroupView_Populate();
        BuildWeldedPoints(walls_);
        ::UpdateCameras();
    }

    // Exactly these polygons selected, by clicks at their points.
    void pickAt(const std::vector<Pixel>& at, int view = kTop) {
        form().SetCutButtonValue(0);
        bool first = true;
        for (const Pixel& p : at) {
            ClickView(view, p, first ? 0 : platform::vk::Control);
            first = false;
        }
        ASSERT_EQ(NumSelPols, static_cast<int32_t>(at.size()));
    }

    void pressCut() {
        QAction* cut = form().tlbrCut->actions().value(0);
        ASSERT_NE(cut, nullptr);
        if (!cut->isChecked()) cut->trigger();
        ASSERT_EQ(form().CutButtonValue(), 1);
    }

    // Press, a few moves with the left button held, release: the view handlers' road.
    void drag(const Pixel& from, const Pixel& to, int view = kTop, const std::function<void()>& beforeRelease = {}) {
        Form1& f = form();
        f.picWindow_MouseDown(view, 1, 0, static_cast<float>(from[0]), static_cast<float>(from[1]));
        for (int step = 1; step <= 3; ++step)
            f.picWindow_MouseMove(view, 1, 0, static_cast<float>(from[0] + (to[0] - from[0]) * step / 3.0),
                                  static_cast<float>(from[1] + (to[1] - from[1]) * step / 3.0));
        if (beforeRelease) beforeRelease();
        f.picWindow_MouseUp(view, 1, 0, static_cast<float>(to[0]), static_cast<float>(to[1]));
    }

    bool hasNode(int32_t pol) { return form().trwGroupView->Exists(KeyedTree::NodeKey("Pol", pol)); }

    // World units per pixel of the top view along x.
    double unitsPerPixel() {
        const Pixel a = PixelOf(kTop, 0, 0), b = PixelOf(kTop, 100, 0);
        return 100.0 / std::abs(b[0] - a[0]);
    }

    int32_t walls_ = 0, square_ = 0;
};

TEST_F(PolygonCutTest, AHorizontalLineCutsTheSquareInTwoAndUndoBringsItBack) {
    Form1& f = start();
    pickAt({PixelOf(kTop, 0, 0)});
    ActionUndoRedo* before = UndoRedoStack->Retrive();
    pressCut();
    EXPECT_TRUE(f.picWindow[kTop]->MouseIcon() == "Select");

    // The line is drawn straight on the view: a move renders nothing, so a change
    // the engine has not drawn yet stays undrawn while the line follows the pointer.
    const QImage drawn = f.picWindow[kTop]->buffer().copy();
    const int32_t decoy = MakePolygon(MakeGroup("decoy", RootGrp), {{60, 60}, {60, 90}, {90, 90}, {90, 60}});
    int redPixels = 0;
    const Pixel from = PixelOf(kTop, -100, 10), to = PixelOf(kTop, 100, 10);
    drag(from, to, kTop, [&] {
        EXPECT_EQ(f.picWindow[kTop]->MouseIcon(), "CutPol1");
        EXPECT_EQ(f.picWindow[kTop]->buffer(), drawn);
        const QImage& line = f.picWindow[kTop]->transient().dc().image();
        for (int x = 0; x < line.width(); ++x) redPixels += line.pixel(x, from[1]) == qRgb(255, 0, 0);
    });
    EXPECT_GE(redPixels, to[0] - from[0]);
    EXPECT_EQ(LastErrDescription, "");
    OMBREL_polygon_delete(decoy);

    // Two quads in the square's place, named, with their nodes, selected.
    const std::vector<int32_t> pieces = SelectedPolygons();
    ASSERT_EQ(pieces.size(), 2u);
    const double tolerance = unitsPerPixel();
    for (int32_t piece : pieces) {
        EXPECT_EQ(nameOf(piece), "Cut_Poly");
        EXPECT_EQ(OMBREL_polygon_get_group(piece), walls_);
        EXPECT_TRUE(hasNode(piece));
        EXPECT_EQ(pointsOf(piece).size(), 4u);
    }
    const std::vector<PointData> lower = pointsOf(pieces[0]), upper = pointsOf(pieces[1]);
    EXPECT_NEAR(lower[1].pos[1], 10, tolerance);
    EXPECT_EQ(lower[1].pos[0], -50);
    EXPECT_NEAR(upper[0].pos[1], 10, tolerance);
    // The two pieces share the cut points.
    EXPECT_EQ(lower[1].pos, upper[0].pos);
    EXPECT_EQ(lower[2].pos, upper[3].pos);
    EXPECT_EQ(OMBREL_polygon_get_group(square_), 0);
    EXPECT_FALSE(hasNode(square_));
    EXPECT_EQ(f.picWindow[kTop]->MouseIcon(), "Pointer");
    ActionUndoRedo* record = UndoRedoStack->Retrive();
    ASSERT_NE(record, before);
    EXPECT_EQ(record->ActionType, ActCutPol);

    f.mnuUndo_Click();
    EXPECT_EQ(LastErrDescription, "");
    EXPECT_EQ(PolygonsOf(walls_), std::vector<int32_t>{square_});
    EXPECT_EQ(SelectedPolygons(), std::vector<int32_t>{square_});
    for (int32_t piece : pieces) EXPECT_FALSE(hasNode(piece));

    f.mnuRedo_Click();
    EXPECT_EQ(SelectedPolygons(), pieces);
    for (int32_t piece : pieces) {
        EXPECT_EQ(OMBREL_polygon_get_group(piece), walls_);
        EXPECT_TRUE(hasNode(piece));
    }
    EXPECT_EQ(OMBREL_polygon_get_group(square_), 0);
}

TEST_F(PolygonCutTest, ACutPointAThirdOfTheWayAlongAnEdgeGetsAThirdOfEverything) {
    Form1& f = start();
    // The square's left edge runs from (-50,-50) to (-50,50) with u 0 to 0.9.
    std::vector<int32_t> pts;
    for (int32_t pt = OMBREL_polygon_get_first_point(square_); pt; pt = OMBREL_point_get_next_point(pt)) pts.push_back(pt);
    const double uv0[2] = {0, 0.3}, uv1[2] = {0.9, 0.6};
    OMBREL_point_set_bitmap_xy(pts[0], square_, uv0);
    OMBREL_point_set_bitmap_xy(pts[1], square_, uv1);
    const PointData p = pointsOf(square_)[0], q = pointsOf(square_)[1];
    pickAt({PixelOf(kTop, 0, 0)});
    pressCut();
    // A line square to the edge as the view shows it, through the whole pixel
    // nearest a third of the way along it, on to beyond the opposite edge.
    const Pixel a = PixelOf(kTop, -50, -50), b = PixelOf(kTop, -50, 50);
    const Pixel m = {a[0] + static_cast<int32_t>(std::lround((b[0] - a[0]) / 3.0)),
                     a[1] + static_cast<int32_t>(std::lround((b[1] - a[1]) / 3.0))};
    const Pixel across = {a[1] - b[1], b[0] - a[0]};
    const double span = std::hypot(b[0] - a[0], b[1] - a[1]);
    // The ratio is measured along the edge as the view shows it.
    const double r = std::hypot(m[0] - a[0], m[1] - a[1]) / span;
    EXPECT_NEAR(r, 1.0 / 3, 1.0 / span);
    const Pixel inside = PixelOf(kTop, 0, 0);
    // Towards the square's inside and beyond.
    const int sign = (inside[0] - m[0]) * across[0] + (inside[1] - m[1]) * across[1] > 0 ? 1 : -1;
    drag({m[0] - sign * across[0] / 2, m[1] - sign * across[1] / 2}, {m[0] + sign * across[0] * 3 / 2, m[1] + sign * across[1] * 3 / 2});
    ASSERT_EQ(NumSelPols, 2);
    const PointData c = pointsOf(SelPols[1])[1];
    const Vec expected = lerp(p.pos, q.pos, r);
    for (std::size_t k = 0; k < 3; ++k) EXPECT_NEAR(c.pos[k], expected[k], 1e-9);
    EXPECT_NEAR(c.u, 0.9 * r, 1e-9);
    EXPECT_NEAR(c.v, 0.3 + 0.3 * r, 1e-9);
    (void)f;
}

TEST_F(PolygonCutTest, ThePiecesKeepTheCutPolygonsLook) {
    Form1& f = start();
    // Translucent, rotated, dimmed, keyed bitmap, point colours, brightness and normals.
    std::vector<TestRgb> palette(256, TestRgb{0, 0, 0});
    palette[5] = {200, 100, 50};
    const std::string path = tempPath("keyed.bmp");
    writeBmp8(path, 2, 2, palette, {5, 3, 5, 3});
    const int32_t bitmap = OMBREL_bitmap_load(path.c_str(), 5);
    ASSERT_NE(bitmap, 0);
    OMBREL_polygon_set_bitmap_fill(square_, bitmap);
    OMBREL_polygon_set_translucent(square_, 5);
    OMBREL_polygon_set_rotated(square_, 1);
    OMBREL_polygon_set_light_diminution(square_, 40);
    int k = 0;
    for (int32_t pt = OMBREL_polygon_get_first_point(square_); pt; pt = OMBREL_point_get_next_point(pt), ++k) {
        const uint8_t rgb[3] = {uint8_t(k * 60), 10, uint8_t(250 - k * 60)};
        OMBREL_point_set_rgb(pt, square_, rgb);
        OMBREL_point_set_brightness(pt, 50 + k * 10);
        const double n[3] = {0, double(k), 1};
        OMBREL_point_set_normal(pt, n);
    }
    const std::vector<PointData> source = pointsOf(square_);
    pickAt({PixelOf(kTop, 0, 0)});
    pressCut();
    drag(PixelOf(kTop, -100, 0), PixelOf(kTop, 100, 0));
    ASSERT_EQ(NumSelPols, 2);
    for (int32_t piece : SelectedPolygons()) {
        EXPECT_EQ(OMBREL_polygon_get_bitmap_handle(piece), bitmap);
        EXPECT_EQ(OMBREL_polygon_get_transparent_index(piece), 5);
        EXPECT_EQ(OMBREL_polygon_get_translucent(piece), 5);
        EXPECT_EQ(OMBREL_polygon_is_rotated(piece), 1);
        EXPECT_EQ(OMBREL_polygon_get_light_diminution(piece), 40);
        EXPECT_EQ(nameOf(piece), "Cut_Poly");
    }
    // The lower piece: the first corner as it was, then the cut point on the
    // left edge with every value taken the same share of the way.
    const std::vector<PointData> lower = pointsOf(SelPols[1]);
    EXPECT_EQ(lower[0].rgb, source[0].rgb);
    EXPECT_EQ(lower[0].brightness, source[0].brightness);
    EXPECT_EQ(lower[0].normal, source[0].normal);
    const PointData& c = lower[1];
    const double r = (c.pos[1] - source[0].pos[1]) / (source[1].pos[1] - source[0].pos[1]);
    EXPECT_GT(r, 0.4);
    EXPECT_LT(r, 0.6);
    EXPECT_NEAR(c.brightness, 50 + 10 * r, 1e-9);
    EXPECT_EQ(c.rgb[0], std::lround(60 * r));
    EXPECT_EQ(c.rgb[2], std::lround(250 - 60 * r));
    EXPECT_EQ(c.hasNormal, 1);
    EXPECT_NEAR(c.normal[1], r, 1e-9);
    (void)f;
}

TEST_F(PolygonCutTest, ALineThroughAVertexCutsThereOnceAndRepeatsNoPoint) {
    Form1& f = start();
    struct Case {
        const char* name;
        Vec through1, through2;  // the line runs through these, extended both ways
        std::vector<std::size_t> pieceSizes;
    };
    const Case cases[] = {
        {"two opposite corners", {-50, -50, 0}, {50, 50, 0}, {3, 3}},
        {"a corner and the middle of an edge", {-50, -50, 0}, {50, 0, 0}, {3, 4}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        pickAt({PixelOf(kTop, 10, -20)});
        ASSERT_EQ(SelectedPolygons(), std::vector<int32_t>{square_});
        pressCut();
        const Pixel p = PixelOf(kTop, c.through1[0], c.through1[1]), q = PixelOf(kTop, c.through2[0], c.through2[1]);
        // Whole pixels on the line through both, beyond each end.
        drag({2 * p[0] - q[0], 2 * p[1] - q[1]}, {2 * q[0] - p[0], 2 * q[1] - p[1]});
        ASSERT_EQ(NumSelPols, 2);
        std::vector<std::size_t> sizes;
        for (int32_t piece : SelectedPolygons()) {
            const std::vector<PointData> pts = pointsOf(piece);
            sizes.push_back(pts.size());
            for (std::size_t i = 0; i < pts.size(); ++i)
                EXPECT_NE(pts[i].pos, pts[(i + 1) % pts.size()].pos) << "a repeated point";
        }
        std::sort(sizes.begin(), sizes.end());
        EXPECT_EQ(sizes, c.pieceSizes);
        f.mnuUndo_Click();
        ASSERT_EQ(OMBREL_polygon_get_group(square_), walls_);
    }
}

TEST_F(PolygonCutTest, OnlyPolygonsCrossedExactlyTwiceAreCut) {
    Form1& f = start();
    // A U open at the top: a line across both arms crosses it four times.
    const int32_t u = MakePolygon(walls_, {{200, -50}, {200, 50}, {230, 50}, {230, -20}, {270, -20}, {270, 50},
                                           {300, 50}, {300, -50}});
    const int32_t right = MakePolygon(walls_, {{-50, -250}, {-50, -150}, {50, -150}, {50, -250}});
    refresh();
    struct Case {
        const char* name;
        std::array<double, 2> from, to;
    };
    const Case cases[] = {
        {"a concave outline crossed four times", {180, 20}, {320, 20}},
        {"a line that ends inside", {-100, 0}, {0, 0}},
        {"a click", {0, 0}, {0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        pickAt({PixelOf(kTop, 210, 0), PixelOf(kTop, 0, 0)});
        pressCut();
        ActionUndoRedo* before = UndoRedoStack->Retrive();
        const std::vector<int32_t> selected = SelectedPolygons();
        drag(PixelOf(kTop, c.from[0], c.from[1]), PixelOf(kTop, c.to[0], c.to[1]));
        EXPECT_EQ(UndoRedoStack->Retrive(), before);
        EXPECT_EQ(SelectedPolygons(), selected);
        EXPECT_EQ(PolygonsOf(walls_).size(), 3u);
        EXPECT_EQ(f.picWindow[kTop]->MouseIcon(), "CutPol2");
    }

    // Three selected, one crossed: the selection is that one's two pieces.
    pickAt({PixelOf(kTop, 210, 0), PixelOf(kTop, 0, 0), PixelOf(kTop, 0, -200)});
    pressCut();
    drag(PixelOf(kTop, -100, -200), PixelOf(kTop, 100, -200));
    ASSERT_EQ(NumSelPols, 2);
    for (int32_t piece : SelectedPolygons()) EXPECT_EQ(nameOf(piece), "Cut_Poly");
    EXPECT_EQ(OMBREL_polygon_get_group(right), 0);
    EXPECT_EQ(OMBREL_polygon_get_group(u), walls_);
    EXPECT_EQ(OMBREL_polygon_get_group(square_), walls_);
    f.mnuUndo_Click();
    EXPECT_EQ(SelectedPolygons(), std::vector<int32_t>{right});
}

TEST_F(PolygonCutTest, UndoPutsACutPolygonBackAtItsPlaceInTheGroup) {
    Form1& f = start();
    const int32_t middle = MakePolygon(walls_, {{-50, -250}, {-50, -150}, {50, -150}, {50, -250}});
    const int32_t last = MakePolygon(walls_, {{-50, 150}, {-50, 250}, {50, 250}, {50, 150}});
    refresh();
    const std::vector<int32_t> order{square_, middle, last};
    struct Case {
        const char* place;
        std::array<double, 2> at;
    };
    const Case cases[] = {{"first", {0, 0}}, {"middle", {0, -200}}, {"last", {0, 200}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.place);
        pickAt({PixelOf(kTop, c.at[0], c.at[1])});
        pressCut();
        drag(PixelOf(kTop, -100, c.at[1] + 10), PixelOf(kTop, 100, c.at[1] + 10));
        ASSERT_EQ(NumSelPols, 2);
        const std::vector<int32_t> cut = PolygonsOf(walls_);
        f.mnuUndo_Click();
        EXPECT_EQ(PolygonsOf(walls_), order);
        f.mnuRedo_Click();
        EXPECT_EQ(PolygonsOf(walls_), cut);
        f.mnuUndo_Click();
        EXPECT_EQ(PolygonsOf(walls_), order);
    }
    EXPECT_EQ(LastErrDescription, "");
}

TEST_F(PolygonCutTest, AWallSeenEdgeOnIsCutAcrossWhereTheLineMeetsIt) {
    Form1& f = start();
    // A wall standing in the plane y = 0: the top view shows only its top edge.
    const int32_t wall = OMBREL_polygon_create();
    for (const Vec& c : {Vec{-50, -200, 0}, Vec{-50, -200, 80}, Vec{50, -200, 80}, Vec{50, -200, 0}}) {
        const double rec[6] = {c[0], c[1], c[2], 0, 0, 100};
        OMBREL_polygon_add_point(wall, rec);
    }
    OMBREL_polygon_set_group(wall, walls_);
    OMBREL_engine_add_polygon(wall);
    refresh();
    NumSelPols = 1;
    SelPols[1] = wall;
    UpdateSelPolsRelatedPtsArray();
    pressCut();
    drag(PixelOf(kTop, 10, -250), PixelOf(kTop, 10, -150));
    EXPECT_EQ(LastErrDescription, "");
    ASSERT_EQ(NumSelPols, 2);
    for (int32_t piece : SelectedPolygons())
        for (const PointData& p : pointsOf(piece))
            for (double v : p.pos) EXPECT_TRUE(std::isfinite(v));
    // Cut straight down the wall: the cut points on its top and bottom edges
    // stand above each other.
    const std::vector<PointData> first = pointsOf(SelPols[1]);
    ASSERT_EQ(first.size(), 4u);
    EXPECT_EQ(first[2].pos[2], 80);
    EXPECT_EQ(first[3].pos[2], 0);
    EXPECT_NEAR(first[2].pos[0], first[3].pos[0], 1e-9);
    EXPECT_NEAR(first[2].pos[0], 10, unitsPerPixel());
    (void)f;
}

TEST_F(PolygonCutTest, InThePerspectiveViewAnEdgeThroughTheNearPlaneIsNeverCut) {
    Form1& f = start();
    const int32_t camera = ViewCams[kPerspective]->lngSceneCamera;
    Vec eye{}, forward{}, a1{}, a2{}, up{};
    OMBREL_camera_get_location1(camera, eye.data());
    OMBREL_camera_get_direction1(camera, forward.data());
    OMBREL_camera_get_axis_system(camera, a1.data(), a2.data(), up.data());
    const double length = std::sqrt(forward[0] * forward[0] + forward[1] * forward[1] + forward[2] * forward[2]);
    for (double& v : forward) v /= length;
    const Vec side = {forward[1] * up[2] - forward[2] * up[1], forward[2] * up[0] - forward[0] * up[2],
                      forward[0] * up[1] - forward[1] * up[0]};
    auto at = [&](double ahead, double across, double above) {
        return Vec{eye[0] + ahead * forward[0] + across * side[0] + above * up[0],
                   eye[1] + ahead * forward[1] + across * side[1] + above * up[1],
                   eye[2] + ahead * forward[2] + across * side[2] + above * up[2]};
    };
    // A floor below the eye whose corner A lies behind it: the edges from A
    // cross the near plane; B-C and C-D are drawn whole.
    // The view is narrow (its zoom is a small angle): the floor too.
    const double reach = 300, below = -6;
    const Vec A = at(-reach / 3, 0, below), B = at(reach / 2, -reach / 30, below), C = at(reach, 0, below),
              D = at(reach / 2, reach / 30, below);
    const int32_t floor = OMBREL_polygon_create();
    for (const Vec& c : {A, B, C, D}) {
        const double rec[6] = {c[0], c[1], c[2], 0, 0, 100};
        OMBREL_polygon_add_point(floor, rec);
    }
    OMBREL_polygon_set_group(floor, walls_);
    OMBREL_engine_add_polygon(floor);
    refresh();
    const std::vector<int32_t> chosen = {floor};
    NumSelPols = 1;
    SelPols[1] = floor;
    UpdateSelPolsRelatedPtsArray();
    pressCut();
    auto pixel = [&](const Vec& p) { return PixelOf(kPerspective, p[0], p[1], p[2]); };
    auto beyond = [](const Pixel& p, const Pixel& q) { return Pixel{p[0] + (p[0] - q[0]) / 2, p[1] + (p[1] - q[1]) / 2}; };

    // Across A-B (cut by the near plane) and B-C: one crossing counts, no cut.
    const Pixel ab = pixel(lerp(A, B, 0.8)), bc = pixel(lerp(B, C, 0.5));
    ActionUndoRedo* before = UndoRedoStack->Retrive();
    drag(beyond(ab, bc), beyond(bc, ab), kPerspective);
    EXPECT_EQ(LastErrDescription, "");
    EXPECT_EQ(UndoRedoStack->Retrive(), before);
    EXPECT_EQ(SelectedPolygons(), chosen);

    // Across B-C and C-D: C's corner is cut off.
    const Pixel cd = pixel(lerp(C, D, 0.5));
    pressCut();
    drag(beyond(bc, cd), beyond(cd, bc), kPerspective);
    ASSERT_EQ(NumSelPols, 2);
    EXPECT_EQ(OMBREL_polygon_get_group(floor), 0);
    std::vector<std::size_t> sizes = {pointsOf(SelPols[1]).size(), pointsOf(SelPols[2]).size()};
    std::sort(sizes.begin(), sizes.end());
    EXPECT_EQ(sizes, (std::vector<std::size_t>{3, 5}));
    (void)f;
}

TEST_F(PolygonCutTest, TheCutButtonPicksTheSelectToolAndAnyKeyOrToolbarClickReleasesIt) {
    Form1& f = start();
    f.SetToolMode(ToolMove);
    pressCut();
    EXPECT_EQ(CurrToolMode, ToolSelect);
    EXPECT_EQ(f.ToolbarButtonValue("Select"), 1);
    for (PicWindow* view : f.picWindow) EXPECT_EQ(view->MouseIcon(), "Select");

    platform::clearKeyState();
    f.Form_KeyDown(0, 0);
    EXPECT_EQ(f.CutButtonValue(), 0);

    pressCut();
    f.Toolbar1_ButtonClick("zoom extents");
    EXPECT_EQ(f.CutButtonValue(), 0);

    // Outside polygon mode the button is down but the views select as ever.
    pressCut();
    f.cmbObjEditGeom->setCurrentText("Point");
    ClickView(kTop, PixelOf(kTop, 0, 0));
    EXPECT_EQ(mdlCutPols::CuttingInProgress, false);
}

}  // namespace
