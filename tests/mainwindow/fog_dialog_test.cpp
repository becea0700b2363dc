// The fog dialog: the spinner's steps (Shift doubling them, auto-repeat speeding
// them up, never below 0), the colour through the colour dialog, one undo step per
// visit that changed something and none for a visit that did not, nothing without
// a world, and the fog in the views' picture.
#include "EditorFixture.h"

#include "core/Camera.h"
#include "core/Globals.h"
#include "mainwindow/formAtmsEffect.h"
#include "ombrel.h"
#include "platform/NumericField.h"
#include "platform/colour.h"
#include "platform/key_state.h"
#include "platform/virtual_keys.h"
#include "undo/ActionUndoRedo.h"
#include "undo/ActionUndoRedo_Stack.h"
#include "views/PicWindow.h"
#include "views/ViewRedraw.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>

#include <array>

namespace {

using Rgb = std::array<int32_t, 3>;

Rgb fogColour() {
    Rgb c{};
    OMBREL_engine_get_atmospheric_effect(&c[0], &c[1], &c[2]);
    return c;
}

double intensity() { return OMBREL_engine_get_atmospheric_effect_intensity(); }

class FogDialogTest : public EditorFixture {
protected:
    void SetUp() override {
        StartEditor();
        OpenEmptyWorld();
    }

    // One visit through Alt+A's entry point; the handler acts in the open dialog.
    void visit(std::function<void(formAtmsEffect&)> handler) {
        platform_.prompts.answerWindow<formAtmsEffect>(std::move(handler));
        form().ShowAtmosphereWindow();
        EXPECT_EQ(platform_.prompts.pendingAnswers(), 0u);
    }

    // The newest record, or nullptr.
    const ActionUndoRedo* newest() const { return Globals::UndoRedoStack->Retrive(); }
};

TEST_F(FogDialogTest, EachStepAddsTheRateShiftDoublesItAndZeroIsTheFloor) {
    struct Case {
        const char* what;
        double start;
        bool shift;
        std::function<void(platform::UpDown*)> act;
        double want;
    } cases[] = {
        {"one click up", 0.01, false, [](platform::UpDown* s) { s->clickUp(); }, 0.0106},
        {"one click up with Shift", 0.01, true, [](platform::UpDown* s) { s->clickUp(); }, 0.0112},
        {"one click down", 0.01, false, [](platform::UpDown* s) { s->clickDown(); }, 0.0094},
        {"down from 0.0004", 0.0004, false, [](platform::UpDown* s) { s->clickDown(); }, 0},
        // Held: the position climbs 1, 2, 3, 4 and each step adds position x rate.
        {"held for three repeats", 0, false,
         [](platform::UpDown* s) {
             s->press(platform::UpDown::Up);
             for (int i = 0; i < 3; ++i) s->step();
             s->release();
         },
         10 * 0.0006},
        // The position stops at 10: the steps beyond add nothing more.
        {"held past the limit", 0, false,
         [](platform::UpDown* s) {
             s->press(platform::UpDown::Up);
             for (int i = 0; i < 14; ++i) s->step();
             s->release();
         },
         55 * 0.0006},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        OMBREL_engine_set_atmospheric_effect_intensity(c.start);
        visit([&](formAtmsEffect& w) {
            platform::setKeyHeld(platform::vk::Shift, c.shift);
            c.act(w.updwnIntensity);
            platform::setKeyHeld(platform::vk::Shift, false);
            EXPECT_EQ(w.updwnIntensity->Value(), 0) << "the spinner rests at 0 after a release";
            EXPECT_NEAR(intensity(), c.want, 1e-12);
            w.close();
        });
    }
}

TEST_F(FogDialogTest, AVisitIsOneUndoStepAndAVisitWithoutChangeIsNone) {
    OMBREL_engine_set_atmospheric_effect(10, 20, 30);
    OMBREL_engine_set_atmospheric_effect_intensity(0.002);
    const ActionUndoRedo* before = newest();

    // Opened, the colour dialog cancelled, closed by Esc: nothing changed, nothing pushed.
    visit([this](formAtmsEffect& w) {
        platform_.prompts.answerColour(std::nullopt);
        EXPECT_EQ(w.windowTitle().toStdString(), "Set Fog Parameters.");
        w.cmdColor->click();
        QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(&w, &esc);
        EXPECT_FALSE(w.isVisible());
    });
    EXPECT_EQ(newest(), before);
    EXPECT_EQ(fogColour(), (Rgb{10, 20, 30}));
    for (const auto& shown : platform_.prompts.shown())
        EXPECT_NE(shown.kind, platform::doubles::PromptKind::Message) << shown.text;

    // A colour and two steps in one visit: one record.
    visit([this](formAtmsEffect& w) {
        platform_.prompts.answerColour(platform::rgb(200, 100, 50));
        w.cmdColor->click();
        EXPECT_EQ(fogColour(), (Rgb{200, 100, 50}));
        w.updwnIntensity->clickUp();
        w.updwnIntensity->clickUp();
        w.close();
    });
    ASSERT_NE(newest(), before);
    EXPECT_EQ(newest()->ActionType, ActChngFog);
    EXPECT_NEAR(intensity(), 0.0032, 1e-12);

    form().mnuUndo_Click();
    EXPECT_EQ(fogColour(), (Rgb{10, 20, 30}));
    EXPECT_NEAR(intensity(), 0.002, 1e-12);
    form().mnuRedo_Click();
    EXPECT_EQ(fogColour(), (Rgb{200, 100, 50}));
    EXPECT_NEAR(intensity(), 0.0032, 1e-12);
}

TEST_F(FogDialogTest, NothingOpensWithoutAWorld) {
    platform_.prompts.answer(platform::MsgResult::No);  // "Save changes?"
    form().mnuCloseFile_Click();
    ASSERT_FALSE(form().WorldLoaded);
    const std::size_t shown = platform_.prompts.shown().size();
    form().ShowAtmosphereWindow();  // an unexpected window would fail the test
    EXPECT_EQ(platform_.prompts.shown().size(), shown);
}

// The top view looks down on two white squares, one 1,500 units below the other:
// with black fog the lower one is the darker.
TEST_F(FogDialogTest, TheFarSquareIsFoggedMoreThanTheNearOne) {
    Form1& f = form();
    const int32_t group = MakeGroup("squares", Globals::RootGrp);
    const int32_t nearSq = MakePolygon(group, {{-300, -100}, {-300, 100}, {-100, 100}, {-100, -100}}, 0);
    const int32_t farSq = MakePolygon(group, {{100, -100}, {100, 100}, {300, 100}, {300, -100}}, -1500);
    OMBREL_polygon_set_color_fill(nearSq, 255, 255, 255);
    OMBREL_polygon_set_color_fill(farSq, 255, 255, 255);
    f.trwGroupView_Populate();
    OMBREL_engine_set_atmospheric_effect(255, 255, 255);
    const auto brightness = [&](double x, double z) {
        const std::array<int32_t, 2> px = PixelOf(0, x, 0, z);
        const QRgb c = f.picWindow[0]->buffer().pixel(px[0], px[1]);
        return qRed(c) + qGreen(c) + qBlue(c);
    };
    UpdateCameras();
    const int nearClear = brightness(-200, 0), farClear = brightness(200, -1500);
    EXPECT_NEAR(nearClear, farClear, 6);

    visit([this](formAtmsEffect& w) {
        platform_.prompts.answerColour(platform::rgb(0, 0, 0));
        w.cmdColor->click();
        w.updwnIntensity->press(platform::UpDown::Up);  // 1 + 2 + 3 steps of 0.0006
        w.updwnIntensity->step();
        w.updwnIntensity->step();
        w.updwnIntensity->release();
        w.close();
    });
    const int nearFogged = brightness(-200, 0), farFogged = brightness(200, -1500);
    EXPECT_GT(nearFogged, farFogged + 60) << nearFogged << " vs " << farFogged;
    EXPECT_LT(farFogged, farClear - 60);
}

}  // namespace
