#include "mdlCutPols.h"

#include "core/Camera.h"
#include "core/CoreError.h"
#include "core/FakeDeletion.h"
#include "core/Globals.h"
#include "core/GroupPolygonProcedures.h"
#include "core/Maths.h"
#include "core/SelectionCentres.h"
#include "core/ViewHooks.h"
#include "core/WeldedPointsProcedures.h"
#include "core/WindowHooks.h"
#include "core/WindowProcedures.h"
#include "ombrel.h"
#include "platform/colour.h"
#include "platform/device_context.h"
#include "platform/gdi.h"
#include "undo/ActionUndoRedo_Stack.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>

namespace mdlCutPols {
namespace {

constexpr const char* kPieceName = "Cut_Poly";
// The cut line's colour (red) on the view.
constexpr int32_t kLineColour = platform::rgb(255, 0, 0);

int activeView() {
    const auto& h = core::windowHooks();
    return h.activeView ? h.activeView() : 0;
}

void setPointer(const char* picture) { core::callHook(core::windowHooks().setViewMouseIcon, activeView(), picture); }

PixelPt nearestPixel(float x, float y) {
    return {static_cast<int32_t>(Maths::RoundHalfEven(x)), static_cast<int32_t>(Maths::RoundHalfEven(y))};
}

// The cut line lives on the active view's transient layer only: it is wiped
// and drawn again, or just wiped, without a render.
void drawCutLine(const PixelPt* to) {
    const auto& h = core::windowHooks();
    const int view = activeView();
    platform::TransientLayer* layer = h.viewTransientLayer ? h.viewTransientLayer(view) : nullptr;
    if (!layer) return;
    layer->clear();
    if (to) {
        platform::DeviceContext& dc = layer->dc();
        const platform::GdiObject pen = platform::CreatePen(platform::PS_SOLID, 1, kLineColour);
        const platform::GdiObject old = platform::SelectObject(dc, pen);
        platform::MoveToEx(dc, CutStartPt[0], CutStartPt[1]);
        platform::LineTo(dc, (*to)[0], (*to)[1]);
        platform::SelectObject(dc, old);
        platform::DeleteObject(pen);
    }
    core::callHook(h.transientLayerChanged, view);
}

// Projection through the active view's camera onto its surface.
void makeActiveViewCurrent() {
    const int view = activeView();
    const auto& camera = Globals::ViewCams.at(static_cast<std::size_t>(view));
    if (!camera) core::raiseError("The view has no camera");
    const auto& h = core::windowHooks();
    OMBREL_camera_set_current(camera->lngSceneCamera, h.viewWindow ? h.viewWindow(view) : 0);
}

CutPolPt readPoint(int32_t pt) {
    CutPolPt p;
    OMBREL_point_get_xyz(pt, p.pos.data());
    OMBREL_point_get_bitmap_xy(pt, p.uv.data());
    p.brightness = OMBREL_point_get_brightness(pt);
    uint8_t rgb[3] = {255, 255, 255};
    OMBREL_ext_point_get_rgb(pt, rgb);
    p.rgb = {double(rgb[0]), double(rgb[1]), double(rgb[2])};
    p.hasNormal = OMBREL_ext_point_get_normal(pt, p.normal.data()) == 1;
    return p;
}

double lerp(double a, double b, double r) { return a + r * (b - a); }

// The point a ratio r along the edge from p to q, every value taken alike.
CutPolPt between(const CutPolPt& p, const CutPolPt& q, double r) {
    CutPolPt c;
    for (std::size_t k = 0; k < 3; ++k) {
        c.pos[k] = lerp(p.pos[k], q.pos[k], r);
        c.rgb[k] = lerp(p.rgb[k], q.rgb[k], r);
    }
    for (std::size_t k = 0; k < 2; ++k) c.uv[k] = lerp(p.uv[k], q.uv[k], r);
    c.brightness = lerp(p.brightness, q.brightness, r);
    c.hasNormal = p.hasNormal || q.hasNormal;
    for (std::size_t k = 0; k < 3; ++k)
        c.normal[k] = p.hasNormal && q.hasNormal ? lerp(p.normal[k], q.normal[k], r)
                      : p.hasNormal              ? p.normal[k]
                                                 : q.normal[k];
    return c;
}

// Two pieces of three points or more each: two crossings on two different
// edges, not two ends of one edge.
bool piecesAreSound() {
    return SecondCutIdx - FirstCutIdx + 1 >= 3 && FirstCutIdx + (NumCutPolPts - SecondCutIdx + 1) >= 3;
}

// What the pieces keep of the cut polygon: everything of its look but its
// light map, which was made for it alone.
struct Look {
    int32_t animation = 0, bitmap = 0;
    int32_t r = 0, g = 0, b = 0;
    int32_t translucency = 0;
    double diminution = 0;
    int32_t rotated = 0;
};

Look lookOf(int32_t pol) {
    Look look;
    look.animation = OMBREL_polygon_get_animation(pol);
    look.bitmap = OMBREL_polygon_get_bitmap_handle(pol);
    OMBREL_polygon_get_color(pol, &look.r, &look.g, &look.b);
    look.translucency = OMBREL_polygon_get_translucent(pol);
    look.diminution = OMBREL_polygon_get_light_diminution(pol);
    look.rotated = OMBREL_polygon_is_rotated(pol);
    return look;
}

uint8_t colourByte(double v) { return static_cast<uint8_t>(std::clamp(std::lround(v), 0L, 255L)); }

void makePiece(const Look& look, int32_t first, int32_t last, int32_t thenFirst = 0, int32_t thenLast = -1) {
    const int32_t group = Globals::CurrSelEntityHandle;
    const int32_t piece = OMBREL_polygon_create();
    OMBREL_polygon_set_group(piece, group);
    auto add = [&](int32_t from, int32_t to) {
        for (int32_t i = from; i <= to; ++i) {
            const CutPolPt& p = CutPolPts[static_cast<std::size_t>(i)];
            const double rec[6] = {p.pos[0], p.pos[1], p.pos[2], p.uv[0], p.uv[1], p.brightness};
            const int32_t pt = OMBREL_polygon_add_point(piece, rec);
            const uint8_t rgb[3] = {colourByte(p.rgb[0]), colourByte(p.rgb[1]), colourByte(p.rgb[2])};
            OMBREL_point_set_rgb(pt, piece, rgb);
            if (p.hasNormal) OMBREL_point_set_normal(pt, p.normal.data());
        }
    };
    add(first, last);
    add(thenFirst, thenLast);
    if (look.animation != 0)
        OMBREL_polygon_set_animation(piece, look.animation);
    else if (look.bitmap != 0)
        OMBREL_polygon_set_bitmap_fill(piece, look.bitmap);
    else
        OMBREL_polygon_set_color_fill(piece, look.r, look.g, look.b);
    OMBREL_polygon_set_translucent(piece, look.translucency);
    OMBREL_polygon_set_light_diminution(piece, look.diminution);
    OMBREL_polygon_set_rotated(piece, look.rotated);
    OMBREL_engine_add_polygon(piece);
    OMBREL_polygon_set_name(piece, kPieceName);
    core::callHook(core::windowHooks().addPolNode, piece, group);
    AddedCutPols.push_back(piece);
    ++NumAddedCutPols;
}

// The replaced polygons that had nodes (pieces of an earlier cut or extrusion).
std::vector<int32_t> deletedWithNodes;
// The places the replaced polygons had in the group before they went.
std::vector<int32_t> deletedPlaces{0};

std::vector<int32_t> listOf(const std::vector<int32_t>& fromOne, int32_t count) {
    return {fromOne.begin() + 1, fromOne.begin() + 1 + count};
}

}  // namespace

// ---- the mouse

void CutPols_MouseDown(float x, float y) {
    CuttingInProgress = true;
    CutStartPt = nearestPixel(x, y);
    setPointer("CutPol1");
}

void CutPols_MouseMove(float x, float y) {
    if (!CuttingInProgress) return;
    const PixelPt to = nearestPixel(x, y);
    drawCutLine(&to);
}

void CutPols_MouseUp(float x, float y) {
    using namespace Globals;
    // A release whose press was not a cut's has no line.
    if (!CuttingInProgress) return;
    CuttingInProgress = false;
    CutEndPt = nearestPixel(x, y);
    drawCutLine(nullptr);
    setPointer("CutPol2");
    CutSelPols();
    if (NumDeletedCutPols == 0) return;
    UpdateSelPolsRelatedPtsArray();
    ComputeSelPolsAvgCenter();
    core::callHook(core::viewHooks().updateCamerasSingle, activeView());
    setPointer("Pointer");
    UpdateStatusBar();
    UpdateEditGeomTabBasedOnPolsSelected();
    auto record = std::make_unique<ActionUndoRedo>();
    record->ActionType = ActCutPol;
    record->SetActionObjects();
    record->CutPols->SetDeletedPolsArray(DeletedCutPols, NumDeletedCutPols);
    record->CutPols->SetDeletedPolsWithNodes(deletedWithNodes);
    record->CutPols->SetDeletedPolsPlaces(deletedPlaces);
    record->CutPols->SetAddedPolsArray(AddedCutPols, NumAddedCutPols, CurrSelEntityHandle);
    undo::Push(std::move(record));
}

// ---- cutting

void CutSelPols() {
    using namespace Globals;
    AddedCutPols.assign(1, 0);
    NumAddedCutPols = 0;
    DeletedCutPols.assign(1, 0);
    NumDeletedCutPols = 0;
    deletedWithNodes.clear();
    deletedPlaces.assign(1, -1);
    for (int32_t i = 1; i <= NumSelPols; ++i) {
        const int32_t pol = SelPols[i];
        NumCutPolPts = 0;
        // A concave outline crossed more than twice is left as it is.
        if (GetCutPtsOnPol(pol) != 2 || !piecesAreSound()) continue;
        SplitPolAtCutPts(pol);
        DeletedCutPols.push_back(pol);
        ++NumDeletedCutPols;
    }
    ValidateGroupPolygons(CurrSelEntityHandle);
    if (NumAddedCutPols == 0) return;
    const auto& h = core::windowHooks();
    const std::vector<int32_t> deleted = listOf(DeletedCutPols, NumDeletedCutPols);
    for (int32_t pol : deleted)
        if (h.hasPolNode && h.hasPolNode(pol)) deletedWithNodes.push_back(pol);
    deletedPlaces = PolygonPlaces(DeletedCutPols, NumDeletedCutPols);
    FakeDeletePols(DeletedCutPols, NumDeletedCutPols);
    RemovePolygonsFromWelded(deleted);
    // The pieces are the selection; polygons the line missed are not.
    SelPols.checkCount(NumAddedCutPols);
    NumSelPols = NumAddedCutPols;
    for (int32_t k = 1; k <= NumAddedCutPols; ++k) SelPols[k] = AddedCutPols[static_cast<std::size_t>(k)];
    AddPolygonsToWelded(listOf(AddedCutPols, NumAddedCutPols));
    UpdateCameras();
}

int32_t GetCutPtsOnPol(int32_t pol) {
    makeActiveViewCurrent();
    const Point2d l1 = {double(CutStartPt[0]), double(CutStartPt[1])};
    const Point2d l2 = {double(CutEndPt[0]), double(CutEndPt[1])};
    std::vector<CutPolPt> pts;
    for (int32_t pt = OMBREL_polygon_get_first_point(pol); pt != 0; pt = OMBREL_point_get_next_point(pt))
        pts.push_back(readPoint(pt));
    const std::size_t n = pts.size();
    // A crossing at an edge's end is the next edge's crossing at its start: a
    // line through a vertex crosses once, at the vertex itself.
    std::vector<char> atVertex(n, 0);
    std::vector<std::optional<CutPolPt>> onEdge(n);
    for (std::size_t i = 0; i < n; ++i) {
        const CutPolPt& p = pts[i];
        const CutPolPt& q = pts[(i + 1) % n];
        PixelPt a = {0, 0}, b = {0, 0};
        // Only an edge drawn whole in the view: one moved by the near plane
        // would be measured along the wrong line.
        if (OMBREL_engine_3D_edge_to_2D(p.pos.data(), q.pos.data(), a.data(), b.data()) != 0) continue;
        const double length = Maths::Distance2D(a, b);
        if (length < 1) continue;
        Point2d cross = {0, 0};
        if (Maths::SegmentsIntersection2D(a, b, l1, l2, cross)) continue;
        // Measured as Distance2D measures: a crossing at B is exactly 1.
        const double dx = cross[0] - a[0], dy = cross[1] - a[1];
        const double r = std::sqrt(dx * dx + dy * dy) / length;
        if (r <= 0)
            atVertex[i] = 1;
        else if (r >= 1)
            atVertex[(i + 1) % n] = 1;
        else
            onEdge[i] = between(p, q, r);
    }
    CutPolPts.assign(1, CutPolPt{});
    NumCutPolPts = 0;
    FirstCutIdx = SecondCutIdx = 0;
    int32_t count = 0;
    auto append = [&](const CutPolPt& p, bool cut) {
        CutPolPts.push_back(p);
        ++NumCutPolPts;
        if (!cut) return;
        if (++count == 1)
            FirstCutIdx = NumCutPolPts;
        else
            SecondCutIdx = NumCutPolPts;
    };
    for (std::size_t i = 0; i < n; ++i) {
        append(pts[i], atVertex[i] != 0);
        if (onEdge[i]) append(*onEdge[i], true);
    }
    return count;
}

void SplitPolAtCutPts(int32_t pol) {
    const Look look = lookOf(pol);
    makePiece(look, 1, FirstCutIdx, SecondCutIdx, NumCutPolPts);
    makePiece(look, FirstCutIdx, SecondCutIdx);
}

void ForgetWorld() {
    CuttingInProgress = false;
    AddedCutPols.assign(1, 0);
    NumAddedCutPols = 0;
    DeletedCutPols.assign(1, 0);
    NumDeletedCutPols = 0;
    CutPolPts.assign(1, CutPolPt{});
    NumCutPolPts = 0;
    deletedWithNodes.clear();
}

}  // namespace mdlCutPols
