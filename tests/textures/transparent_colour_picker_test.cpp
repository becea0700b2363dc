// The transparent-colour picker in its animation-frame mode: the picture shown
// with the bitmap's proportions, picks by the left button on the picture only,
// and the colour handed back only when the picker is confirmed.
#include "texture_commands_fixture.h"

#include "textures/AnimationFrames.h"
#include "textures/PicturePreview.h"
#include "textures/TexturePicture.h"
#include "textures/formTrnsClrPcr.h"

#include <QCheckBox>

#include <QGroupBox>
#include <QLabel>
#include <QPixmap>

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

TEST(PipetteCursor, ItsTipIsTheHotSpot) {
    platform::doubles::testApplication();
    const QCursor cursor = textures::PipetteCursor();
    EXPECT_EQ(cursor.hotSpot(), QPoint(8, 23));
    EXPECT_EQ(cursor.pixmap().size(), QSize(32, 32));
    EXPECT_NE(cursor.pixmap().toImage().pixelColor(8, 23).alpha(), 0) << "the tip is drawn";
}

}  // namespace
