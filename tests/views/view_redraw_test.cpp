// The views over the engine's surfaces and the redraw order.
#include "EditorFixture.h"

#include "core/BoundingBox.h"
#include "core/Camera.h"
#include "core/Globals.h"
#include "ombrel.h"
#include "ombrel_views.h"
#include "views/PicWindow.h"
#include "views/ViewRedraw.h"

#include <QApplication>

#include <algorithm>
#include <vector>

namespace {

int32_t sceneCamera(int view) { return Globals::ViewCams[static_cast<std::size_t>(view)]->lngSceneCamera; }

// Share of pixels in the buffer that are not the clear colour.
double drawnShare(const QImage& image) {
    const QRgb background = image.pixel(0, 0);
    int drawn = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) drawn += image.pixel(x, y) != background;
    return static_cast<double>(drawn) / (image.width() * image.height());
}

}  // namespace

using ViewRedrawTest = EditorFixture;

TEST_F(ViewRedrawTest, EachViewIsAnEngineSurfaceOfItsOwnSize) {
    Form1& f = StartEditor();
    QApplication::processEvents();
    for (PicWindow* view : f.picWindow) {
        uint8_t* pixels = nullptr;
        int32_t w = 0, h = 0, stride = 0;
        ASSERT_EQ(OMBREL_ext_surface_get_pixels(view->hWnd(), &pixels, &w, &h, &stride), 0);
        EXPECT_EQ(w, view->width());
        EXPECT_EQ(h, view->height());
        EXPECT_EQ(pixels, view->buffer().constBits());
    }
}

TEST_F(ViewRedrawTest, TheActiveViewIsDrawnLastAndItsCameraStaysCurrent) {
    Form1& f = StartEditor();
    OpenSmallWorld();
    for (int active : {0, 2}) {
        f.PicBoxFocused = active;
        UpdateCameras();
        EXPECT_EQ(OMBREL_camera_get_current(), sceneCamera(active));
        EXPECT_EQ(Globals::OverlayDC, &f.picWindow[active]->dc());
    }
}

TEST_F(ViewRedrawTest, AMaximisedViewIsTheOnlyOneDrawn) {
    Form1& f = StartEditor();
    OpenSmallWorld();
    f.PicBoxFocused = 1;
    f.ToggleWindowMinMax();
    for (PicWindow* view : f.picWindow) view->ClearPicture();
    Globals::OverlayDC = nullptr;
    UpdateCameras();
    EXPECT_EQ(Globals::OverlayDC, &f.picWindow[1]->dc());
    for (int v : {0, 2, 3}) EXPECT_TRUE(f.picWindow[v]->Stale() || f.picWindow[v]->isHidden()) << v;
}

TEST_F(ViewRedrawTest, WithNoWorldNothingIsDrawn) {
    StartEditor();
    Globals::OverlayDC = nullptr;
    UpdateCameras();
    UpdateCamerasSingle(2);
    picWindow_Paint(1);
    EXPECT_EQ(Globals::OverlayDC, nullptr);
}

TEST_F(ViewRedrawTest, TheTopViewShowsTheWorldAtItsCentre) {
    Form1& f = StartEditor();
    OpenSmallWorld();
    UpdateCameras();
    const QImage& top = f.picWindow[0]->buffer();
    ASSERT_GT(top.width(), 20);
    // The engine drew something, and not over the whole view.
    const double share = drawnShare(top);
    EXPECT_GT(share, 0.0);
    EXPECT_LT(share, 0.9);
}

namespace {

// Pixels of one colour in the view's buffer.
int pixelsOf(const QImage& image, QRgb colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) count += (image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF);
    return count;
}

std::vector<int> paintOrder() {
    std::vector<int> order = {0, 1, 2, 3};
    std::sort(order.begin(), order.end(),
              [](int a, int b) { return views::LastPaintSerial(a) < views::LastPaintSerial(b); });
    return order;
}

}  // namespace

TEST_F(ViewRedrawTest, WithViewTwoActiveTheOthersArePaintedFirstInOrder) {
    Form1& f = StartEditor();
    OpenSmallWorld();
    f.PicBoxFocused = 2;
    UpdateCameras();
    EXPECT_EQ(paintOrder(), (std::vector<int>{0, 1, 3, 2}));
    EXPECT_EQ(OMBREL_camera_get_current(), sceneCamera(2));
}

TEST_F(ViewRedrawTest, AViewWithoutAreaIsSkipped) {
    Form1& f = StartEditor();
    OpenSmallWorld();
    f.picWindow[3]->resize(0, f.picWindow[3]->height());
    const uint64_t before = views::LastPaintSerial(3);
    UpdateCameras();
    EXPECT_EQ(views::LastPaintSerial(3), before);
    EXPECT_GT(views::LastPaintSerial(0), before);
}

// The selected group is shown by its white box, or by its wireframe after the
// toggle; a group hidden in its tree shows neither, and no handle.
TEST_F(ViewRedrawTest, TheSelectedGroupIsOutlinedUnlessHidden) {
    Form1& f = StartEditor();
    const int32_t group = OpenSmallWorld();
    const QImage& top = f.picWindow[0]->buffer();
    const QRgb white = qRgb(255, 255, 255);
    UpdateCameras();
    const int plain = pixelsOf(top, white);

    Globals::CurrSelEntityType = SelGroup;
    Globals::CurrSelEntityHandle = group;
    Globals::SelGrpBndBox->Initialize(group);
    UpdateCameras();
    const int boxed = pixelsOf(top, white);
    EXPECT_GT(boxed, plain + 20);
    EXPECT_TRUE(f.ViewGizmos[0]->IsShown());

    f.ToggleWireframe();
    ASSERT_TRUE(f.ShowWireframe);
    EXPECT_GT(pixelsOf(top, white), plain + 20);

    f.trwGroupView->SetImage(f.trwGroupView->Item(KeyedTree::NodeKey("Group", group)), "Group Invisible");
    ASSERT_TRUE(f.IsGrpHidden(group));
    f.ViewGizmos[0]->Draw(0, 0, false);  // forget where the handle was
    UpdateCameras();
    EXPECT_EQ(pixelsOf(top, white), plain);
    EXPECT_FALSE(f.ViewGizmos[0]->IsShown());
}

namespace {

// The engine's two ways of rendering, counted on their way through the bound
// entry points; the one for several views can be made to fail.
struct RenderCalls {
    static inline int alone = 0, atOnce = 0, viewsAtOnce = 0;
    static inline bool refuseAtOnce = false;
    static inline int32_t (*renderAlone)(int32_t, int32_t) = nullptr;
    static inline int32_t (*renderAtOnce)(int32_t, const int32_t*, const int32_t*) = nullptr;

    RenderCalls() {
        alone = atOnce = viewsAtOnce = 0;
        refuseAtOnce = false;
        renderAlone = OMBREL_engine_render_on_dc;
        renderAtOnce = OMBREL_ext_render_views_on_dcs;
        OMBREL_engine_render_on_dc = [](int32_t window, int32_t camera) {
            ++alone;
            return renderAlone(window, camera);
        };
        OMBREL_ext_render_views_on_dcs = [](int32_t count, const int32_t* windows, const int32_t* cameras) {
            ++atOnce;
            viewsAtOnce += count;
            return refuseAtOnce ? -1 : renderAtOnce(count, windows, cameras);
        };
    }
    ~RenderCalls() {
        OMBREL_engine_render_on_dc = renderAlone;
        OMBREL_ext_render_views_on_dcs = renderAtOnce;
    }
};

}  // namespace

// A redraw renders its four views in one engine call, and each view then shows,
// with its overlays, exactly what painting it alone shows; when that call fails,
// each view renders itself as before.
TEST_F(ViewRedrawTest, TheViewsOfARedrawAreRenderedInOneCallAndLookAsEachPaintedAlone) {
    Form1& f = StartEditor();
    const int32_t group = OpenSmallWorld();
    Globals::CurrSelEntityType = SelGroup;
    Globals::CurrSelEntityHandle = group;
    Globals::SelGrpBndBox->Initialize(group);
    RenderCalls calls;
    for (bool refused : {false, true}) {
        SCOPED_TRACE(refused ? "the call for every view refused" : "the call for every view made");
        RenderCalls::refuseAtOnce = refused;
        RenderCalls::alone = RenderCalls::atOnce = RenderCalls::viewsAtOnce = 0;
        for (PicWindow* view : f.picWindow) view->ClearPicture();
        UpdateCameras();
        EXPECT_EQ(RenderCalls::atOnce, 1);
        EXPECT_EQ(RenderCalls::viewsAtOnce, 4);
        EXPECT_EQ(RenderCalls::alone, refused ? 4 : 0);
        std::vector<QImage> redrawn;
        for (PicWindow* view : f.picWindow) redrawn.push_back(view->buffer().copy());
        for (int v = 0; v < 4; ++v) {
            SCOPED_TRACE(v);
            f.picWindow[static_cast<std::size_t>(v)]->ClearPicture();
            picWindow_Paint(v);
            EXPECT_EQ(f.picWindow[static_cast<std::size_t>(v)]->buffer(), redrawn[static_cast<std::size_t>(v)]);
            EXPECT_GT(drawnShare(redrawn[static_cast<std::size_t>(v)]), 0.0);
        }
        EXPECT_EQ(RenderCalls::alone, refused ? 8 : 4);
    }
    EXPECT_EQ(OMBREL_camera_get_current(), sceneCamera(f.PicBoxFocused));
}
