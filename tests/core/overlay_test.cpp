#include "core/BoundingBox.h"
#include "core/MultipleSelection.h"
#include "core/Wireframe.h"
#include "core/myLine.h"

#include "engine_world.h"
#include "platform/gdi.h"

#include <cstring>
#include <vector>

namespace {

constexpr int kW = 640, kH = 480;
const int32_t kRed = platform::rgb(255, 0, 0), kBlack = platform::rgb(0, 0, 0), kWhite = platform::rgb(255, 255, 255);

// A view buffer the engine renders into and the overlays draw on, and a camera at
// (-50, 0, 0) looking along +x.
class Overlays : public EngineWorldTest {
protected:
    void SetUp() override {
        EngineWorldTest::SetUp();
        if (IsSkipped()) return;
        buffer_.assign(kW * kH * 4, 0);
        surface_ = OMBREL_ext_surface_attach(buffer_.data(), kW, kH, kW * 4);
        OMBREL_ext_set_clear_color(0, 0, 0);
        camera_ = OMBREL_camera_create("view");
        OMBREL_camera_set_location(camera_, -50, 0, 0);
        OMBREL_camera_set_direction(camera_, 1, 0, 0);
        OMBREL_camera_set_zoom(camera_, 60);
        OMBREL_camera_set_distance_from_eye(camera_, 1);
        dc_ = std::make_unique<platform::DeviceContext>(buffer_.data(), kW, kH, kW * 4);
        Globals::CreateOverlayPens();
        Globals::OverlayDC = dc_.get();
        Globals::OverlayLine = std::make_shared<myLine>();
        Globals::OverlayWireframe = std::make_shared<Wireframe>();
    }
    void TearDown() override {
        Globals::DeleteOverlayPens();
        if (surface_) OMBREL_ext_surface_destroy(surface_);
        EngineWorldTest::TearDown();
    }

    void render() {
        ASSERT_EQ(OMBREL_engine_render_on_dc(surface_, camera_), surface_);
        platform::SelectObject(*dc_, Globals::PenWhite);
    }
    int32_t pixel(int x, int y) const { return platform::GetPixel(*dc_, x, y); }
    PixelPt project(const Point3d& p) {
        PixelPt px = {0, 0};
        EXPECT_EQ(OMBREL_engine_3D_point_to_2D(p.data(), px.data()), 0);
        return px;
    }

    std::vector<uint8_t> buffer_;
    int32_t surface_ = 0, camera_ = 0;
    std::unique_ptr<platform::DeviceContext> dc_;
};

TEST_F(Overlays, BoxCornersLandOnTheRenderedGroupsEdges) {
    int32_t g = makeBox("crate", {0, -10, -10}, {20, 10, 10});
    render();
    BoundingBox box;
    box.Initialize(g);
    // The near face's corners (x = 0) outline the rendered square.
    const int near[] = {2, 3, 6, 7};
    std::vector<PixelPt> corners;
    for (int i : near) corners.push_back(project(box.WorldCorner(i)));
    for (const PixelPt& c : corners) {
        const int inX = c[0] < kW / 2 ? 3 : -3, inY = c[1] < kH / 2 ? 3 : -3;
        EXPECT_EQ(pixel(c[0] + inX, c[1] + inY), kRed) << c[0] << "," << c[1];
        EXPECT_EQ(pixel(c[0] - inX, c[1] - inY), kBlack) << c[0] << "," << c[1];
    }
    box.Draw(0);
    for (const PixelPt& c : corners) EXPECT_EQ(pixel(c[0], c[1]), kWhite) << c[0] << "," << c[1];
    // An edge is drawn along its whole length: the middle of the near top edge.
    EXPECT_EQ(pixel(kW / 2, (corners[0][1] < kH / 2 ? corners[0][1] : corners[2][1])), kWhite);
}

// The boxes of a multiple selection are drawn in one call, on the very pixels
// their edges take drawn one line to a call: a box before the eye, one through
// the eye's near plane, one reaching off the view, a turned one, and one wholly
// behind the eye.
TEST_F(Overlays, SelectedGroupsBoxesAreOneCallOnTheirEdgesPixels) {
    struct Case {
        P3 lo, hi;
        double turn;  // degrees about z
    };
    const Case cases[] = {
        {{0, -10, -10}, {20, 10, 10}, 0},
        {{-55, 4, -3}, {-20, 12, 3}, 0},
        {{0, 20, -5}, {10, 80, 5}, 0},
        {{10, -25, -8}, {30, -15, 8}, 30},
        {{-90, -5, -5}, {-70, 5, 5}, 0},
        {{40, -30, 0}, {60, -20, 0}, 0},  // flat: its two rings meet
    };
    for (const Case& c : cases) {
        const int32_t g = makeBox("crate", c.lo, c.hi);
        if (c.turn != 0) OMBREL_group_rotate(g, c.turn, 0, 2);
        Globals::CurrMultiSel->AddGrpHandles(g);
    }
    render();
    const std::vector<uint8_t> rendered = buffer_;

    const uint64_t calls = dc_->drawingCalls;
    Globals::CurrMultiSel->DrawGrpBndBoxes(0);
    EXPECT_EQ(dc_->drawingCalls - calls, 1u);
    const std::vector<uint8_t> batched = buffer_;

    // Corners in the documented order, (+,+,+), (+,-,+), (-,-,+), (-,+,+), then
    // at -z: an edge joins two that differ in one sign.
    const int signs[8][3] = {{1, 1, 1},  {1, -1, 1},  {-1, -1, 1},  {-1, 1, 1},
                             {1, 1, -1}, {1, -1, -1}, {-1, -1, -1}, {-1, 1, -1}};
    auto oneSignApart = [&](int i, int j) {
        int differ = 0;
        for (int k = 0; k < 3; ++k) differ += signs[i][k] != signs[j][k];
        return differ == 1;
    };
    buffer_ = rendered;
    myLine line;
    line.SetDC(dc_.get());
    int edges = 0, shown = 0;
    for (int32_t n = 1; n <= Globals::CurrMultiSel->NumOfGrps(); ++n) {
        const BoundingBox& box = Globals::CurrMultiSel->GetGrpBndBox(n);
        for (int i = 0; i < 8; ++i)
            for (int j = i + 1; j < 8; ++j) {
                if (!oneSignApart(i, j)) continue;
                ++edges;
                line.Draw(box.WorldCorner(i), box.WorldCorner(j));
                shown += line.LastResult() == 0 || line.LastResult() == 2;
            }
    }
    ASSERT_EQ(edges, 12 * 6);
    EXPECT_GT(shown, 12 * 2);
    EXPECT_LT(shown, edges);

    int differing = 0, white = 0;
    for (std::size_t i = 0; i < buffer_.size(); i += 4) {
        differing += std::memcmp(&buffer_[i], &batched[i], 3) != 0;
        white += batched[i] == 255 && batched[i + 1] == 255 && batched[i + 2] == 255;
    }
    EXPECT_EQ(differing, 0);
    EXPECT_GT(white, 500);
}

// The corners the four views share are gathered again once a box was read
// again or the selection changed: after a move and a removal, the selection
// draws exactly the one box that is left, where it now stands.
TEST_F(Overlays, SelectedGroupsBoxesFollowAMoveAndARemoval) {
    const int32_t moved = makeBox("crate", {0, -10, -10}, {20, 10, 10});
    const int32_t removed = makeBox("crate", {10, -25, -8}, {30, -15, 8});
    Globals::CurrMultiSel->AddGrpHandles(removed);
    Globals::CurrMultiSel->AddGrpHandles(moved);
    render();
    Globals::CurrMultiSel->DrawGrpBndBoxes(0);
    const std::vector<uint8_t> before = buffer_;

    // Each of the selection's boxes drawn alone (reading none again).
    auto drawnAlone = [&] {
        render();
        for (int32_t n = 1; n <= Globals::CurrMultiSel->NumOfGrps(); ++n) Globals::CurrMultiSel->GetGrpBndBox(n).Draw(0);
        return buffer_;
    };
    const double there[3] = {10, 15, 5};
    OMBREL_group_set_location(moved, there);
    Globals::CurrMultiSel->InitializeBndBoxes();
    const std::vector<uint8_t> afterMove = drawnAlone();
    render();
    Globals::CurrMultiSel->DrawGrpBndBoxes(0);
    EXPECT_EQ(buffer_, afterMove);
    EXPECT_NE(buffer_, before);

    Globals::CurrMultiSel->RemoveGrp(removed);
    const std::vector<uint8_t> afterRemoval = drawnAlone();
    render();
    Globals::CurrMultiSel->DrawGrpBndBoxes(0);
    EXPECT_EQ(buffer_, afterRemoval);
    EXPECT_NE(buffer_, afterMove);
}

// Edges handed over in bulk, with a limit of 5 to a draw, mixed with edges
// queued one by one: the draws are split by the limit and take the very pixels
// of the edges drawn one to a call, and the last kept edge's answer is reported.
TEST_F(Overlays, EdgesKeptInBulkDrawInPartsOnTheirSingleDrawPixels) {
    render();
    const std::vector<uint8_t> rendered = buffer_;
    const std::vector<Point3d> ends = {
        {0, -10, -10}, {0, 10, 10},   // before the eye
        {-55, 4, 0},   {-20, 4, 3},   // through the near plane
        {0, 20, 0},    {10, 200, 5},  // reaching off the view
        {-60, 0, 0},   {-70, 5, 0},   // behind the eye
        {20, -5, 8},   {20, 5, 8},    {30, -15, 0}, {30, -15, 9}, {5, 1, 1}, {5, 2, -1},
    };
    const std::size_t edges = ends.size() / 2;
    myLine bulk(5);
    bulk.SetDC(dc_.get());
    const uint64_t calls = dc_->drawingCalls;
    std::vector<myLine::Ends> pairs;
    for (int32_t i = 0; i < static_cast<int32_t>(edges); ++i) pairs.push_back({2 * i, 2 * i + 1});
    bulk.QueueEdges(ends.data(), 8, pairs.data(), 4);
    bulk.Queue({25, -3, -3}, {25, 3, 3});
    // The second group names its points from its own first one.
    bulk.QueueEdges(ends.data() + 8, ends.size() - 8, pairs.data(), edges - 4);
    bulk.Flush();
    EXPECT_EQ(dc_->drawingCalls - calls, 2u);  // 7 shown, 5 to a draw
    EXPECT_EQ(bulk.LastResult(), OMBREL_PROJ_VISIBLE);
    const std::vector<uint8_t> batched = buffer_;

    buffer_ = rendered;
    myLine single;
    single.SetDC(dc_.get());
    int shown = 0;
    for (std::size_t i = 0; i < edges; ++i) {
        single.Draw(ends[2 * i], ends[2 * i + 1]);
        shown += single.LastResult() == OMBREL_PROJ_VISIBLE || single.LastResult() == OMBREL_PROJ_OFFSCREEN;
    }
    EXPECT_EQ(bulk.LastA(), single.LastA());
    EXPECT_EQ(bulk.LastB(), single.LastB());
    single.Draw({25, -3, -3}, {25, 3, 3});
    EXPECT_EQ(shown, 6);
    int differing = 0;
    for (std::size_t i = 0; i < buffer_.size(); i += 4) differing += std::memcmp(&buffer_[i], &batched[i], 3) != 0;
    EXPECT_EQ(differing, 0);
    EXPECT_NE(batched, rendered);
}

TEST_F(Overlays, LineBehindTheEyeOrOffTheViewIsNotDrawn) {
    render();
    myLine line;
    line.SetDC(dc_.get());
    line.Draw({-60, -5, 0}, {-70, 5, 0});  // behind the eye
    EXPECT_EQ(line.LastResult(), OMBREL_PROJ_NONE);
    line.Draw({100, 1000, 0}, {100, 1000, 50});  // far off to the side
    EXPECT_EQ(line.LastResult(), OMBREL_PROJ_OUTSIDE);
    int lit = 0;
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) lit += pixel(x, y) != kBlack;
    EXPECT_EQ(lit, 0);
    line.Draw({100, -10, 0}, {100, 10, 0});
    EXPECT_EQ(pixel(kW / 2, kH / 2), kWhite);
}

TEST_F(Overlays, WireframeSkipsFacesTurnedAwayFromTheEye) {
    int32_t g = makeBox("crate", {0, -10, -10}, {20, 10, 10});
    render();
    Globals::OverlayWireframe->Draw(g, 0);
    Point3d nearCorner = {0, -10, -10}, farTopMiddle = {20, 0, 10}, farSide = {20, 10, 0};
    PixelPt n = project(nearCorner);
    EXPECT_EQ(pixel(n[0], n[1]), kWhite);
    // The far face's edges lie inside the picture; only turned-away faces hold them.
    PixelPt f = project(farTopMiddle), s = project(farSide);
    EXPECT_EQ(pixel(f[0], f[1]), kRed);
    EXPECT_EQ(pixel(s[0], s[1]), kRed);
    EXPECT_EQ(Globals::OverlayWireframe->LastBatchCount(), 1);
}

TEST_F(Overlays, WireframeOfManyEdgesDrawsInSeveralBatches) {
    // 2100 small squares facing the eye: 8400 edges, more than one batch holds.
    int32_t g = OMBREL_group_create("grid");
    const int cols = 70, rows = 30;
    const double cell = 0.5;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            const double y0 = -17.5 + c * cell, z0 = -7.5 + r * cell, y1 = y0 + cell * 0.8, z1 = z0 + cell * 0.8;
            makePolygon(g, {{0, y0, z0}, {0, y1, z0}, {0, y1, z1}, {0, y0, z1}});
        }
    render();
    Globals::OverlayWireframe->Draw(g, 0);
    EXPECT_EQ(Globals::OverlayWireframe->LastBatchCount(), 2);
    // The first and the last square both show their corners.
    PixelPt first = project({0, -17.5, -7.5}), last = project({0, -17.5 + 69 * cell, -7.5 + 29 * cell});
    EXPECT_EQ(pixel(first[0], first[1]), kWhite);
    EXPECT_EQ(pixel(last[0], last[1]), kWhite);
}

}  // namespace
