// The transparent-colour picker in its animation-frame mode: the picture shown
// with the bitmap's proportions, picks by the left button on the picture only,
// and the colour handed back only when the picker is confirmed.
#include "texture_commands_fixture.h"

#include "core/EntityProcedures.h"
#include "textures/AnimationFrames.h"
#include "textures/PicturePreview.h"
#include "textures/TexturePicture.h"
#include "textures/formTrnsClrPcr.h"

#include <QCheckBox>

#include <QGroupBox>
#include <QLabel>
#include <QPixmap>

#include <cstdlib>
#include <filesystem>
#include <utility>

namespace {

using textures::formTrnsClrPcr;

constexpr int32_t kRed = 0x0000FF, kGreen = 0x00FF00;

class PickerTest : public TextureCommandsFixture {
protected:
    // 4 x 2: the left half red, the right half green.
    std::string twoColours() {
        const auto path = folder() / "halves.bmp";
        const TestRgb r{255, 0, 0}, g{0, 255, 0};
        writeBmp24(path, 4, 2, {r, r, g, g, r, r, g, g});
        return path.string();
    }

    // Picks at a fraction of the picture's width and half its height.
    static void pickAt(formTrnsClrPcr& w, double across, int button = 1) {
        w.Picture1_MouseDown(button, static_cast<int>(across * w.Picture1->width()), w.Picture1->height() / 2);
    }
};

TEST_F(PickerTest, APickOnThePictureIsHandedBackOnOk) {
    const std::string file = twoColours();
    platform_.prompts.answerWindow<formTrnsClrPcr>([&](formTrnsClrPcr& w) {
        EXPECT_EQ(w.windowTitle(), "Select Transparent Color.");
        EXPECT_FALSE(w.Check1->isVisible()) << "the polygons' check box is for mode 0";
        pickAt(w, 0.75);
        EXPECT_EQ(w.Color, kGreen);
        pickAt(w, 0.25, 2);  // the right button picks nothing
        EXPECT_EQ(w.Color, kGreen);
        // A drag leaving the picture keeps the last colour picked on it.
        w.Picture1_MouseMove(1, w.Picture1->width() / 8, w.Picture1->height() / 2);
        EXPECT_EQ(w.Color, kRed);
        w.Picture1_MouseMove(1, -3, 2);
        w.Picture1_MouseMove(1, w.Picture1->width() + 2, 2);
        EXPECT_EQ(w.Color, kRed);
        EXPECT_EQ(textures::BackColour(*w.lblCLR), kRed);
        w.cmdOK_Click();
    });
    EXPECT_EQ(textures::PickFrameTransparentColour(nullptr, file, textures::ButtonFaceColour), kRed);
}

TEST_F(PickerTest, CancelOrABitmapThatDoesNotLoadHandsNothingBack) {
    const std::string file = twoColours();
    platform_.prompts.answerWindow<formTrnsClrPcr>([&](formTrnsClrPcr& w) {
        pickAt(w, 0.75);
        w.cmdCancel_Click();
    });
    EXPECT_EQ(textures::PickFrameTransparentColour(nullptr, file, kRed), std::nullopt);
    // No window at all for a frame whose file does not load.
    EXPECT_EQ(textures::PickFrameTransparentColour(nullptr, (folder() / "none.bmp").string(), kRed), std::nullopt);
}

TEST_F(PickerTest, OkWithoutAPickHandsBackTheColourItOpenedWith) {
    const std::string file = twoColours();
    platform_.prompts.answerWindow<formTrnsClrPcr>([&](formTrnsClrPcr& w) {
        EXPECT_EQ(textures::BackColour(*w.lblCLR), kGreen);
        w.cmdOK_Click();
    });
    EXPECT_EQ(textures::PickFrameTransparentColour(nullptr, file, kGreen), kGreen);
}

TEST_F(PickerTest, ThePictureKeepsTheBitmapsProportionsCentredInTheFrame) {
    const std::string file = twoColours();
    formTrnsClrPcr w(1);
    w.FrameFile = file;
    ASSERT_TRUE(w.Form_Load());
    struct Case {
        int width, height;
        bool fillsHeight;
    } cases[] = {{400, 150, true}, {300, 200, false}, {200, 100, true}};
    for (const Case& c : cases) {
        w.Frame1->setFixedSize(c.width, c.height);
        w.FitPictureToFrame();
        const QRect inner = w.Frame1->contentsRect();
        const QRect picture = w.Picture1->geometry();
        if (c.fillsHeight) {
            EXPECT_EQ(picture.height(), inner.height()) << c.width;
            EXPECT_NEAR(picture.width(), 2 * inner.height(), 1) << c.width;
        } else {
            EXPECT_EQ(picture.width(), inner.width()) << c.width;
            EXPECT_NEAR(picture.height(), inner.width() / 2.0, 1) << c.width;
        }
        EXPECT_NEAR(picture.center().x(), inner.center().x(), 1);
        EXPECT_NEAR(picture.center().y(), inner.center().y(), 1);
    }
}

// ---- the polygon's bitmap (mode 0)

class PolygonPickerTest : public PickerTest {
protected:
    void SetUp() override {
        PickerTest::SetUp();
        window.editGeom = "Polygon";
        core::windowHooks().setPolTransparentControls = [this](bool on, int32_t colour) {
            panel = {on, colour};
        };
        group = newGroup("g");
        // Left texels green, right texels blue.
        keyedPath = folder() / "keyed.bmp";
        writeBmp8(keyedPath, 4, 1, {{0, 0, 0}, {0, 255, 0}, {0, 0, 255}}, {1, 1, 2, 2});
        keyed = OMBREL_bitmap_load(keyedPath.c_str(), -1);
        ASSERT_NE(keyed, 0);
        // Seen from above: a red square below, the keyed one on top.
        const int32_t below = polygon(group, {{-6, -6, -1}, {-6, 6, -1}, {6, 6, -1}, {6, -6, -1}},
                                      {{0, 0}, {0, 0}, {0, 0}, {0, 0}});
        OMBREL_polygon_set_color_fill(below, 255, 0, 0);
        top = polygon(group, {{-4, -4, 0}, {-4, 4, 0}, {4, 4, 0}, {4, -4, 0}}, {{0, 1}, {0, 0}, {1, 0}, {1, 1}}, keyed);
        selectGroup(group);
        selectPolygons({top});
    }

    // Picks at a fraction of the picture's width, then OK.
    void pickAndConfirm(double across, bool allPolygons = false) {
        platform_.prompts.answerWindow<formTrnsClrPcr>([&](formTrnsClrPcr& w) {
            EXPECT_TRUE(w.Check1->isVisible());
            w.Check1->setChecked(allPolygons);
            pickAt(w, across);
            w.cmdOK_Click();
        });
        textures::PickPolygonTransparentColour(nullptr);
    }

    // What the middle of the keyed square's right half shows from above.
    QRgb rightHalf() {
        const int32_t surface = OMBREL_ext_surface_create(64, 48);
        const int32_t camera = OMBREL_camera_create("down");
        OMBREL_camera_set_location(camera, 0, 0, 10);
        OMBREL_camera_set_direction(camera, 0, 0, -1);
        OMBREL_camera_set_zoom(camera, 90);
        EXPECT_EQ(OMBREL_engine_render_on_dc(surface, camera), surface);
        uint8_t* px = nullptr;
        int32_t w = 0, h = 0, stride = 0;
        OMBREL_ext_surface_get_pixels(surface, &px, &w, &h, &stride);
        const uint8_t* p = px + 24 * stride + 40 * 4;
        const QRgb colour = qRgb(p[0], p[1], p[2]);
        OMBREL_ext_surface_destroy(surface);
        return colour;
    }

    static bool near(QRgb a, QRgb b) {
        return std::abs(qRed(a) - qRed(b)) <= 8 && std::abs(qGreen(a) - qGreen(b)) <= 8 &&
               std::abs(qBlue(a) - qBlue(b)) <= 8;
    }

    std::pair<bool, int32_t> panel{false, -1};
    std::filesystem::path keyedPath;
    int32_t group = 0, keyed = 0, top = 0;
};

TEST_F(PolygonPickerTest, APickedColourShowsWhatLiesBehindAndUndoTakesItBack) {
    ASSERT_TRUE(near(rightHalf(), qRgb(0, 0, 255)));
    pickAndConfirm(0.75);

    const int32_t now = OMBREL_polygon_get_bitmap_handle(top);
    EXPECT_EQ(OMBREL_bitmap_get_transparent_index(now), 2);
    EXPECT_EQ(panel, std::make_pair(true, 0xFF0000));
    EXPECT_TRUE(near(rightHalf(), qRgb(255, 0, 0))) << "the red square behind shows through";
    ASSERT_EQ(recordsHeld(), 1);

    Globals::UndoRedoStack->Pop()->UndoAction();
    EXPECT_EQ(OMBREL_bitmap_get_transparent_index(OMBREL_polygon_get_bitmap_handle(top)), -1);
    EXPECT_FALSE(panel.first);
    EXPECT_TRUE(near(rightHalf(), qRgb(0, 0, 255)));
}

TEST_F(PolygonPickerTest, OkWithoutAPickOrOutsidePolygonEditingChangesAndRecordsNothing) {
    platform_.prompts.answerWindow<formTrnsClrPcr>([](formTrnsClrPcr& w) {
        EXPECT_EQ(w.Color, 0x0000FF) << "pure red stands for no colour yet";
        w.cmdOK_Click();
    });
    textures::PickPolygonTransparentColour(nullptr);
    window.editGeom = "Point";
    pickAndConfirm(0.75);
    EXPECT_EQ(OMBREL_polygon_get_bitmap_handle(top), keyed);
    EXPECT_EQ(recordsHeld(), 0);
    EXPECT_EQ(panel.second, -1);
}

TEST_F(PolygonPickerTest, EveryPolygonOfTheGroupWithTheBitmapTakesTheColourWhenAsked) {
    const int32_t twin = quad(group, 9, 9, {0, 0}, {1, 1}, keyed);
    const int32_t other = quad(group, 12, 12, {0, 0}, {1, 1}, loadBitmap("other"));
    const int32_t elsewhere = quad(newGroup("h"), 15, 15, {0, 0}, {1, 1}, keyed);
    const int32_t otherBitmap = OMBREL_polygon_get_bitmap_handle(other);
    pickAndConfirm(0.25, true);
    const int32_t now = OMBREL_polygon_get_bitmap_handle(top);
    EXPECT_EQ(OMBREL_bitmap_get_transparent_index(now), 1);
    EXPECT_EQ(OMBREL_polygon_get_bitmap_handle(twin), now);
    EXPECT_EQ(OMBREL_polygon_get_bitmap_handle(other), otherBitmap);
    EXPECT_EQ(OMBREL_polygon_get_bitmap_handle(elsewhere), keyed);
}

TEST_F(PolygonPickerTest, ABitmapWithALongPathIsLoadedAgainWithItsWholeName) {
    // A path of 300 bytes and more: the reload goes by the bitmap's whole engine name.
    const auto path = files.deepFolder(300) / "keyed long.bmp";
    std::filesystem::copy_file(keyedPath, path);
    const int32_t deep = OMBREL_bitmap_load(path.c_str(), -1);
    ASSERT_NE(deep, 0);
    OMBREL_polygon_set_bitmap_fill(top, deep);
    pickAndConfirm(0.75);
    const int32_t now = OMBREL_polygon_get_bitmap_handle(top);
    EXPECT_NE(now, deep);
    EXPECT_EQ(OMBREL_bitmap_get_transparent_index(now), 2);
    EXPECT_EQ(Globals::FindBitmapFilePath(now), path.string());
    ASSERT_EQ(recordsHeld(), 1);
    Globals::UndoRedoStack->Pop()->UndoAction();
    EXPECT_EQ(OMBREL_polygon_get_bitmap_handle(top), deep);
}

TEST_F(PolygonPickerTest, APolygonWithoutABitmapIsSaidAndNoPickerOpens) {
    OMBREL_polygon_set_color_fill(top, 1, 2, 3);
    platform_.prompts.answer(platform::MsgResult::OK);
    textures::PickPolygonTransparentColour(nullptr);
    ASSERT_EQ(platform_.prompts.shown().size(), 1u);
    EXPECT_EQ(platform_.prompts.shown()[0].text, "Selected polygon doesn't have a bitmap assigned to it.");
}

TEST(PipetteCursor, ItsTipIsTheHotSpot) {
    platform::doubles::testApplication();
    const QCursor cursor = textures::PipetteCursor();
    EXPECT_EQ(cursor.hotSpot(), QPoint(8, 23));
    EXPECT_EQ(cursor.pixmap().size(), QSize(32, 32));
    EXPECT_NE(cursor.pixmap().toImage().pixelColor(8, 23).alpha(), 0) << "the tip is drawn";
}

}  // namespace
