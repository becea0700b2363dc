// The editor's window: loading with the group's bitmaps, the picture (texture,
// margins, outlines, selected boxes), the mapping between texture space and
// PicMain's pixels with zoom, pan, zoom extent and resizing, the tools and the
// keyboard, and closing.
#include "texture_fixture.h"

#include "undo/UndoRedoCommands.h"

#include <QAction>
#include <QComboBox>
#include <QKeyEvent>

#include "core/WindowProcedures.h"
#include "platform/input_filter.h"

#include <filesystem>

namespace {

constexpr uint32_t kWhite = 0xFFFFFF, kMargin = 0xC8C8C8;

class TextureWindowTest : public TextureFixture {};

}  // namespace

TEST_F(TextureWindowTest, LoadingListsTheGroupsBitmapsAndShowsTheFirstSelectedPolygonsPicture) {
    const int32_t a = bitmap("alpha", 64, 32, {200, 0, 0});
    bitmap("unused", 8, 8);
    const int32_t b = bitmap("beta", 32, 32, {0, 200, 0});
    const int32_t c = bitmap("gamma", 16, 16, {0, 0, 200});
    const int32_t g = newGroup("g");
    const int32_t pb = quad(g, 0, 0, {0, 0}, {1, 1}, b);
    quad(g, 2, 0, {0, 0}, {1, 1}, c);
    quad(g, 4, 0, {0, 0}, {1, 1}, a);
    selectGroup(g);
    selectPolygons({pb});

    frmTextureMapping& e = open();
    ASSERT_TRUE(e.Loaded);
    ASSERT_EQ(e.cmbTextures->count(), 3);
    EXPECT_EQ(e.cmbTextures->itemText(0), "alpha");
    EXPECT_EQ(e.cmbTextures->itemText(1), "beta");
    EXPECT_EQ(e.cmbTextures->itemText(2), "gamma");
    EXPECT_EQ(e.cmbTextures->currentText(), "alpha");
    // The combo's entry sets the size; the first selected polygon's bitmap is shown.
    EXPECT_EQ(e.TexWidth, 64);
    EXPECT_EQ(e.TexHeight, 32);
    const auto [x, y] = pixelOf({0.5, 0.3});
    EXPECT_EQ(pixel(static_cast<int>(x), static_cast<int>(y)), 0x00C800u);

    // Choosing another entry shows its picture at its size, zoom and pan kept.
    e.Zoom = 1.5;
    e.cmbTextures->setCurrentIndex(2);
    EXPECT_EQ(e.TexWidth, 16);
    EXPECT_EQ(e.TexHeight, 16);
    EXPECT_DOUBLE_EQ(e.Zoom, 1.5);
    const auto [cx, cy] = pixelOf({0.5, 0.5});
    EXPECT_EQ(pixel(static_cast<int>(cx), static_cast<int>(cy)), 0x0000C8u);
}

TEST_F(TextureWindowTest, TheTextureIsFittedAndCentredWithTheMarginsFilled) {
    const int32_t a = bitmap("wide", 64, 32);
    const int32_t g = newGroup("g");
    quad(g, 0, 0, {0.25, 0.25}, {0.75, 0.75}, a);
    selectGroup(g);
    frmTextureMapping& e = open();
    const int W = e.PicMain->width(), H = e.PicMain->height();
    ASSERT_GT(W, 100);
    ASSERT_GT(H, 100);
    // Fitted to the limiting side, proportions kept, centre on centre.
    EXPECT_TRUE(e.DispWidth == W || e.DispHeight == H) << e.DispWidth << " x " << e.DispHeight;
    EXPECT_NEAR(static_cast<double>(e.DispWidth) / e.DispHeight, 2.0, 0.02);
    EXPECT_EQ(e.OriginX, W / 2 - e.DispWidth / 2);
    EXPECT_EQ(e.OriginY, H / 2 - e.DispHeight / 2);
    EXPECT_DOUBLE_EQ(e.BaseScale, static_cast<double>(e.DispWidth) / 64);

    EXPECT_EQ(pixel(e.OriginX + e.DispWidth / 2, e.OriginY + 3), 0x0000C8u);
    EXPECT_EQ(pixel(e.OriginX + e.DispWidth / 2, e.OriginY - 3), kMargin);
    // The outline's corners: white boxes at the coordinates.
    const auto [x, y] = pixelOf({0.25, 0.25});
    EXPECT_EQ(pixel(static_cast<int>(std::lround(x)) - 2, static_cast<int>(std::lround(y))), kWhite);

    // Texture On/Off up: only the margin colour under the outlines.
    e.Button("Texture On/Off")->trigger();
    EXPECT_FALSE(e.TextureOn());
    EXPECT_EQ(pixel(e.OriginX + e.DispWidth / 2, e.OriginY + 3), kMargin);
    EXPECT_EQ(pixel(static_cast<int>(std::lround(x)) - 2, static_cast<int>(std::lround(y))), kWhite);
}

TEST_F(TextureWindowTest, CoordinatesAndPixelsMapBothWaysForEveryZoomAndPan) {
    const int32_t g = newGroup("g");
    quad(g, 0, 0, {0.25, 0.25}, {0.75, 0.75}, bitmap("square", 128, 128));
    selectGroup(g);
    frmTextureMapping& e = open();
    const int W = e.PicMain->width(), H = e.PicMain->height();
    struct Case {
        double zoom;
        int32_t panX, panY;
    };
    for (const Case& c : std::vector<Case>{{1, 0, 0}, {2.5, 0, 0}, {0.5, 40, -25}, {3, -300, 120}}) {
        e.Zoom = c.zoom;
        e.PanPixX = c.panX;
        e.PanPixY = c.panY;
        e.SetupWithNewZoom();
        const int32_t disp = e.DispWidth;
        EXPECT_NEAR(disp, e.BaseScale * c.zoom * 128, 0.5);
        EXPECT_EQ(e.DispHeight, disp);
        EXPECT_EQ(e.OriginX, W / 2 - disp / 2);
        EXPECT_EQ(e.OriginY, H / 2 - disp / 2);
        for (const UV uv : {UV{0, 0}, UV{0.25, 0.75}, UV{1, 1}, UV{-3, 7.5}}) {
            const double x = e.PixelX(uv[0]), y = e.PixelY(uv[1]);
            EXPECT_DOUBLE_EQ(x, e.OriginX + c.panX + disp * uv[0]);
            EXPECT_DOUBLE_EQ(y, e.OriginY + c.panY + disp * uv[1]);
            EXPECT_NEAR(e.TexU(x), uv[0], 1e-12);
            EXPECT_NEAR(e.TexV(y), uv[1], 1e-12);
        }
        // The corner (0.25, 0.75) is drawn there: its box's left edge is white.
        const int x = static_cast<int>(std::lround(e.OriginX + c.panX + disp * 0.25));
        const int y = static_cast<int>(std::lround(e.OriginY + c.panY + disp * 0.75));
        if (x > 2 && x < W - 2 && y > 2 && y < H - 2) {
            EXPECT_EQ(pixel(x - 2, y), kWhite) << c.zoom;
        }
    }
}

TEST_F(TextureWindowTest, ZoomExtentCentresTheCoordinatesAndFillsNinetyPercent) {
    const int32_t g = newGroup("g");
    const int32_t pol = quad(g, 0, 0, {0.1, 0.2}, {0.3, 0.3}, bitmap("square", 100, 100));
    selectGroup(g);
    frmTextureMapping& e = open();
    const double W = e.PicMain->width(), H = e.PicMain->height();
    e.TexZoomExtent();
    // The extent (0.2 wide, 0.1 high) is relatively wider than the surface.
    ASSERT_GT(2.0, W / H);
    EXPECT_NEAR(e.DispWidth * 0.2, 0.9 * W, 1.0);
    EXPECT_NEAR(e.PixelX(0.2), W / 2, 1.0);
    EXPECT_NEAR(e.PixelY(0.25), H / 2, 1.0);
    EXPECT_NEAR(e.PanX, e.PanPixX / e.Zoom, 1e-9);

    // One selected coordinate has no extent: nothing changes; with Ctrl all of them count.
    const std::vector<int32_t> pts = pointsOf(pol);
    e.TexSel.Append(pts[0], pol);
    setUV(pts[1], pol, {0.9, 0.9});
    const double zoom = e.Zoom;
    e.TexZoomExtent();
    EXPECT_EQ(e.Zoom, zoom);
    platform::setKeyHeld(platform::vk::Control, true);
    e.TexZoomExtent();
    EXPECT_NEAR(e.PixelY(0.1 + 0.8 / 2 + 0.05), H / 2, 1.0);
    EXPECT_NEAR(e.DispHeight * 0.7, 0.9 * H, 1.0);
}

TEST_F(TextureWindowTest, DragsPanAndZoomButNeverBelowTheZoomFloor) {
    const int32_t g = newGroup("g");
    quad(g, 0, 0, {0, 0}, {1, 1}, bitmap("square", 64, 64));
    selectGroup(g);
    frmTextureMapping& e = open();
    const double cx = e.PicMain->width() / 2.0, cy = e.PicMain->height() / 2.0;

    e.SetToolMode(frmTextureMapping::TexPan);
    press(100, 100);
    dragTo(130, 90);
    release(130, 90);
    EXPECT_EQ(e.PanPixX, 30);
    EXPECT_EQ(e.PanPixY, -10);

    // Zooming keeps the texture point at the centre where it is.
    const double u = e.TexU(cx), v = e.TexV(cy);
    e.SetToolMode(frmTextureMapping::TexZoom);
    press(100, 100);
    dragTo(100, 150);
    release(100, 150);
    EXPECT_NEAR(e.Zoom, 1.3, 1e-12);
    EXPECT_NEAR(e.TexU(cx), u, 2.0 / e.DispWidth);
    EXPECT_NEAR(e.TexV(cy), v, 2.0 / e.DispHeight);

    press(100, 400);
    dragTo(100, -5000);
    release(100, -5000);
    EXPECT_DOUBLE_EQ(e.BaseScale * e.Zoom, 0.01);
    EXPECT_GE(e.DispWidth, 0);
}

TEST_F(TextureWindowTest, ResizingKeepsTheTextureFittedAndThePanInProportion) {
    const int32_t g = newGroup("g");
    quad(g, 0, 0, {0, 0}, {1, 1}, bitmap("tall", 32, 64));
    selectGroup(g);
    frmTextureMapping& e = open();
    e.PanPixX = 20;
    e.PanPixY = 10;
    const int w0 = e.PicMain->width(), h0 = e.PicMain->height();
    e.resize(e.width() + w0, e.height() + h0);
    settle();
    const int w1 = e.PicMain->width(), h1 = e.PicMain->height();
    ASSERT_EQ(w1, 2 * w0);
    EXPECT_EQ(e.PanPixX, 40);
    EXPECT_EQ(e.PanPixY, static_cast<int32_t>(std::lround(10.0 * h1 / h0)));
    EXPECT_EQ(e.DispHeight, h1);
    EXPECT_EQ(e.OriginY, 0);

    // Down to nothing and back: the view of the last real size comes back.
    const int32_t panX = e.PanPixX, disp = e.DispHeight;
    e.PicMain->resize(0, 0);
    e.PicMain->resize(w1, h1);
    EXPECT_EQ(e.PanPixX, panX);
    EXPECT_EQ(e.DispHeight, disp);
}

TEST_F(TextureWindowTest, KeysChooseToolsAndCtrlZUndoesOncePerPress) {
    const int32_t g = newGroup("g");
    const int32_t pol = quad(g, 0, 0, {0, 0}, {1, 1});
    selectGroup(g);
    frmTextureMapping& e = open();
    struct Case {
        std::vector<int> keys;
        int32_t tool;
        const char* pointer;
    };
    using platform::vk::Shift;
    for (const Case& c : std::vector<Case>{{{'Z'}, frmTextureMapping::TexZoom, "Zoom"},
                                           {{'P'}, frmTextureMapping::TexPan, "Pan"},
                                           {{Shift, '2'}, frmTextureMapping::TexRotate, "Pointer"},
                                           {{'S'}, frmTextureMapping::TexSelect, "Select"},
                                           {{Shift, '3'}, frmTextureMapping::TexScale, "Pointer"},
                                           {{Shift, '1'}, frmTextureMapping::TexMove, "Pointer"}}) {
        platform::clearKeyState();
        for (int k : c.keys) platform::noteKeyDown(k);
        e.Form_KeyDown();
        EXPECT_EQ(e.TexToolMode, c.tool);
        EXPECT_EQ(e.PicMain->MouseIcon(), c.pointer);
        const char* button = c.tool == frmTextureMapping::TexZoom     ? "Zoom"
                             : c.tool == frmTextureMapping::TexPan    ? "Pan"
                             : c.tool == frmTextureMapping::TexSelect ? "Select"
                             : c.tool == frmTextureMapping::TexMove   ? "Move"
                             : c.tool == frmTextureMapping::TexRotate ? "Rotate"
                                                                      : "Scale";
        EXPECT_TRUE(e.Button(button)->isChecked()) << button;
    }

    // Two changes on the history; Ctrl+Z held through auto-repeat undoes one.
    const int32_t pt = pointsOf(pol)[0];
    for (double u : {0.5, 0.75}) pushChange(pt, pol, {u, 0});
    platform::clearKeyState();
    platform::noteKeyDown(platform::vk::Control);
    platform::noteKeyDown('Z');
    e.Form_KeyDown();
    e.Form_KeyDown();
    e.Form_KeyDown();
    EXPECT_EQ(uvOf(pt), (UV{0.5, 0}));
    platform::noteKeyUp('Z');
    platform::noteKeyDown('Z');
    e.Form_KeyDown();
    EXPECT_EQ(uvOf(pt), (UV{0, 0}));
    // Ctrl+A redoes.
    platform::noteKeyDown('A');
    e.Form_KeyDown();
    EXPECT_EQ(uvOf(pt), (UV{0.5, 0}));
}

TEST_F(TextureWindowTest, AKeyPressInTheWindowReachesTheKeyHandlerOnce) {
    const int32_t g = newGroup("g");
    const int32_t pol = quad(g, 0, 0, {0, 0}, {1, 1});
    selectGroup(g);
    frmTextureMapping& e = open();
    platform::installInputFilter(*QApplication::instance());
    const int32_t pt = pointsOf(pol)[0];
    for (double u : {0.5, 0.75}) pushChange(pt, pol, {u, 0});
    // The press travels from the picture, which takes no keys, to the window: one Undo.
    platform::setKeyHeld(platform::vk::Control, true);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Z, Qt::ControlModifier);
    QApplication::sendEvent(e.PicMain, &press);
    EXPECT_EQ(uvOf(pt), (UV{0.5, 0}));
    QKeyEvent up(QEvent::KeyRelease, Qt::Key_Z, Qt::ControlModifier);
    QApplication::sendEvent(e.PicMain, &up);
    platform::setKeyHeld(platform::vk::Control, false);
    // A control that takes the key gets it after the window.
    QKeyEvent p(QEvent::KeyPress, Qt::Key_P, Qt::NoModifier, "p");
    QApplication::sendEvent(e.cmbTextures, &p);
    EXPECT_EQ(e.TexToolMode, frmTextureMapping::TexPan);
}

TEST_F(TextureWindowTest, ClosingAndReopeningStartsAfresh) {
    const int32_t g = newGroup("g");
    const int32_t pol = quad(g, 0, 0, {0, 0}, {1, 1}, bitmap("square", 64, 64));
    selectGroup(g);
    frmTextureMapping& e = open();
    e.Zoom = 3;
    e.PanX = e.PanY = 12;
    e.PanPixX = e.PanPixY = 36;
    e.SetToolMode(frmTextureMapping::TexRotate);
    e.TexSel.Append(pointsOf(pol)[0], pol);
    e.TexSelOnly.Append(pointsOf(pol)[0], pol);
    e.Button("Selected Only")->setChecked(true);
    e.Button("Texture On/Off")->setChecked(false);
    e.close();
    EXPECT_FALSE(e.Loaded);
    EXPECT_FALSE(Globals::IsTextureMappingLoaded());

    frmTextureMapping& again = frmTextureMapping::ShowEditor(nullptr);
    settle();
    EXPECT_EQ(&again, &e);
    EXPECT_TRUE(e.Loaded);
    EXPECT_EQ(e.Zoom, 1.0);
    EXPECT_EQ(e.PanX, 0.0);
    EXPECT_EQ(e.PanPixX, 0);
    EXPECT_EQ(e.PanPixY, 0);
    EXPECT_EQ(e.TexToolMode, frmTextureMapping::TexSelect);
    EXPECT_TRUE(e.Button("Select")->isChecked());
    EXPECT_EQ(e.TexSel.Count, 0);
    EXPECT_EQ(e.TexSelOnly.Count, 0);
    EXPECT_FALSE(e.SelectedOnly());
    EXPECT_TRUE(e.TextureOn());

    // A minimised editor is restored, never opened a second time.
    e.showMinimized();
    settle();
    e.Zoom = 2;
    EXPECT_EQ(&frmTextureMapping::ShowEditor(nullptr), &e);
    EXPECT_FALSE(e.isMinimized());
    EXPECT_EQ(e.Zoom, 2.0);

    // Closed while minimised (the world was closed), it opens afresh and in sight.
    e.showMinimized();
    settle();
    frmTextureMapping::UnloadEditor();
    EXPECT_FALSE(e.Loaded);
    frmTextureMapping::ShowEditor(nullptr);
    settle();
    EXPECT_TRUE(e.Loaded);
    EXPECT_FALSE(e.isMinimized());
    EXPECT_TRUE(e.isVisible());
    EXPECT_EQ(e.Zoom, 1.0);
}

TEST_F(TextureWindowTest, GroupsWithoutBitmapsOrFilesStillShowTheirOutlines) {
    const int32_t missing = bitmap("gone", 64, 64);
    std::filesystem::remove(folder_.path() / "gone.bmp");
    const int32_t g = newGroup("g");
    quad(g, 0, 0, {0.25, 0.25}, {0.75, 0.75}, missing);
    const int32_t plain = newGroup("plain");
    quad(plain, 0, 0, {0.25, 0.25}, {0.75, 0.75});
    const int32_t empty = newGroup("empty");

    struct Case {
        int32_t group;
        int count;
        int32_t size;
    };
    for (const Case& c : std::vector<Case>{{g, 1, 64}, {plain, 0, 256}, {empty, 0, 256}}) {
        selectGroup(c.group);
        frmTextureMapping& e = open();
        EXPECT_EQ(e.cmbTextures->count(), c.count);
        EXPECT_EQ(e.TexWidth, c.size);
        EXPECT_EQ(e.TexPicture, 0);
        // The surface is cleared: no texture, the margin colour inside the frame.
        EXPECT_EQ(pixel(e.OriginX + e.DispWidth / 2, e.OriginY + e.DispHeight / 3), kMargin);
        const auto [x, y] = pixelOf({0.25, 0.25});
        EXPECT_EQ(pixel(static_cast<int>(std::lround(x)) - 2, static_cast<int>(std::lround(y))),
                  c.group == empty ? kMargin : kWhite);
        e.close();
    }
    // Nothing selected at all: the default size, nothing outlined.
    Globals::CurrSelEntityType = SelNone;
    frmTextureMapping& e = open();
    EXPECT_EQ(e.cmbTextures->count(), 0);
    EXPECT_EQ(e.TexWidth, 256);
}

TEST_F(TextureWindowTest, FarCoordinatesDrawWhatIsInSight) {
    const int32_t g = newGroup("g");
    const int32_t pol = quad(g, 0, 0, {-1e6, 0.5}, {1e6, 0.5});
    selectGroup(g);
    frmTextureMapping& e = open();
    // A line across the whole texture at v = 0.5, drawn though its ends are far away.
    const int y = static_cast<int>(std::lround(e.PixelY(0.5)));
    EXPECT_EQ(pixel(e.OriginX + e.DispWidth / 2, y), kWhite);
    e.TexSel.Append(pointsOf(pol)[0], pol);
    e.TexZoomExtent();
    e.SetupWithNewZoom();
    EXPECT_TRUE(std::isfinite(e.Zoom));
    EXPECT_GE(e.BaseScale * e.Zoom, 0.01 - 1e-15);
}
