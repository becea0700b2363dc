// The light-map dialog, scripted through the modal seam and the event-pump double:
// its validation, its spinners, the progress painted at most every 50 ms, the
// stop question on Esc, and a world without polygons.
#include "EditorFixture.h"

#include "core/Globals.h"
#include "mainwindow/frmLightMapParameterInput.h"
#include "ombrel.h"
#include "platform/NumericField.h"

#include <QApplication>
#include <QFocusEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <string>
#include <vector>

namespace {

using platform::MsgResult;
using platform::doubles::PromptKind;

std::vector<std::string> messages(const platform::doubles::ScriptedPrompts& prompts) {
    std::vector<std::string> out;
    for (const auto& p : prompts.shown())
        if (p.kind == PromptKind::Message) out.push_back(p.text);
    return out;
}

// The light maps the engine holds.
int lightMaps() {
    int n = 0;
    for (int32_t b = OMBREL_bitmap_get_first_bitmap(); b; b = OMBREL_bitmap_get_next(b)) {
        char name[4096] = {};
        OMBREL_entity_get_name(b, name, sizeof name);
        if (std::string(name).find("LIGHTMAP_") != std::string::npos) ++n;
    }
    return n;
}

// Entered as the user enters a field (its text all selected), and left.
void enterField(QLineEdit* field) {
    QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(field, &in);
    field->selectAll();
}
void leaveField(QLineEdit* field) {
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(field, &out);
}

void pressEsc(QWidget& target) {
    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&target, &esc);
}

class LightMapDialogTest : public EditorFixture {
protected:
    void SetUp() override {
        StartEditor();
        OpenEmptyWorld();
    }

    // count squares of 4 x 4 in a row under the root, lit by one lamp.
    void makeWorld(int count) {
        const int32_t group = MakeGroup("floor", Globals::RootGrp);
        for (int i = 0; i < count; ++i)
            MakePolygon(group, {{i * 5.0, 0}, {i * 5.0, 4}, {i * 5.0 + 4, 4}, {i * 5.0 + 4, 0}});
        const double at[3] = {0, 0, 20};
        lamp = OMBREL_light_create("lamp", at);
    }

    // The dialog opened from the menu; the handler acts in it.
    void open(std::function<void(frmLightMapParameterInput&)> handler) {
        platform_.prompts.answerWindow<frmLightMapParameterInput>(std::move(handler));
        form().mnuLightMaps->trigger();
        EXPECT_EQ(platform_.prompts.pendingAnswers(), 0u);
    }

    int32_t lamp = 0;
};

// The texts set without their change handlers, as a paste of all three at once.
void setTexts(frmLightMapParameterInput& w, const char* max, const char* min, const char* rate) {
    for (QLineEdit* f : {w.txtMaxSize, w.txtMinSize, w.txtSamplingRate}) f->blockSignals(true);
    w.txtMaxSize->setText(max);
    w.txtMinSize->setText(min);
    w.txtSamplingRate->setText(rate);
    for (QLineEdit* f : {w.txtMaxSize, w.txtMinSize, w.txtSamplingRate}) f->blockSignals(false);
}

TEST_F(LightMapDialogTest, EntriesAreCheckedInOrderAndNothingIsComputedUntilTheyPass) {
    makeWorld(2);
    struct Case {
        const char *max, *min, *rate, *message;
    } cases[] = {
        {"256", "1", "abc", "Sampling Rate has to be a number"},
        {"256", "1", "1e999", "Sampling Rate has to be a number"},
        {"x", "y", "-1", "Sampling Rate has to be a positive number"},
        {"", "1", "0", "Max Map Size has to be a number"},
        {"1", "1", "4", "Max Map Size has to be higher than one"},
        {"2", "", "4", "Min Map Size has to be a number"},
        {"256", "0", "4", "Min Map Size has to be higher than zero"},
        {"16", "17", "4", "Min Map Size cannot be higher than Max Map Size"},
        {"3e9", "1", "4", "Max Map Size is too large"},
        {"3e9", "2.5e9", "4", "Max Map Size is too large"},
    };
    open([&](frmLightMapParameterInput& w) {
        EXPECT_EQ(w.txtMaxSize->text().toStdString(), "256");
        EXPECT_EQ(w.txtMinSize->text().toStdString(), "1");
        EXPECT_EQ(w.txtSamplingRate->text().toStdString(), "4");
        EXPECT_TRUE(w.Option2->isChecked());
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.max) + " " + c.min + " " + c.rate);
            setTexts(w, c.max, c.min, c.rate);
            platform_.prompts.answer(MsgResult::OK);
            EXPECT_FALSE(w.EntriesOk());
            ASSERT_FALSE(messages(platform_.prompts).empty());
            EXPECT_EQ(messages(platform_.prompts).back(), c.message);
            platform_.prompts.answer(MsgResult::OK);
            w.cmdCompute->click();
            EXPECT_EQ(messages(platform_.prompts).back(), c.message);
            EXPECT_TRUE(w.isVisible());
            EXPECT_FALSE(w.frmProgress->isVisible());
        }
        setTexts(w, "2", "2", "0");
        EXPECT_TRUE(w.EntriesOk()) << "2, 2 and a rate of 0 pass";
        pressEsc(w);  // while idle: closes
        EXPECT_FALSE(w.isVisible());
    });
    EXPECT_EQ(lightMaps(), 0);
    // The message's icon: information, with OK.
    EXPECT_EQ(platform_.prompts.shown().back().icon, platform::MsgIcon::Information);
}

TEST_F(LightMapDialogTest, SpinnersAndFieldsFollowEachOther) {
    makeWorld(1);
    open([&](frmLightMapParameterInput& w) {
        // Before any typing the spinners stand at 1, 1 and 0.
        EXPECT_EQ(w.updwnMaxSize->Value(), 1);
        EXPECT_EQ(w.updwnSamplingRate->Value(), 0);
        w.updwnMaxSize->clickUp();
        EXPECT_EQ(w.txtMaxSize->text().toStdString(), "2");
        w.txtMaxSize->setText("300");
        EXPECT_EQ(w.updwnMaxSize->Value(), 300);
        w.txtSamplingRate->setText("2.5");
        EXPECT_EQ(w.updwnSamplingRate->Value(), 2) << "the nearest whole number, halves to even";
        w.txtSamplingRate->setText("5e9");
        EXPECT_EQ(w.updwnSamplingRate->Value(), 2147483647) << "clamped to the spinner's range";
        // Deleting a text shows nothing while the user types; leaving the field
        // shows its message once, and the text it had comes back.
        const std::size_t before = messages(platform_.prompts).size();
        enterField(w.txtMinSize);
        QTest::keyClick(w.txtMinSize, Qt::Key_Backspace);
        EXPECT_EQ(w.txtMinSize->text().toStdString(), "");
        EXPECT_EQ(messages(platform_.prompts).size(), before);
        EXPECT_EQ(w.updwnMinSize->Value(), 1);
        platform_.prompts.answer(MsgResult::OK);
        leaveField(w.txtMinSize);
        ASSERT_EQ(messages(platform_.prompts).size(), before + 1);
        EXPECT_EQ(messages(platform_.prompts).back(), "Min Map Size has to be a number");
        EXPECT_EQ(w.txtMinSize->text().toStdString(), "1");
        w.close();
    });
}

// A step whose value the dialog refuses shows its message once and ends the
// gesture: the arrow is up again and nothing steps on its own, so no second
// message follows.
TEST_F(LightMapDialogTest, AStepThatShowsAMessageEndsTheHeldArrow) {
    makeWorld(1);
    open([&](frmLightMapParameterInput& w) {
        for (QLineEdit* field : {w.txtMaxSize, w.txtMinSize}) {
            enterField(field);
            QTest::keyClicks(field, "3");
        }
        EXPECT_TRUE(messages(platform_.prompts).empty());
        platform_.prompts.answer(MsgResult::OK);
        w.updwnMinSize->press(platform::UpDown::Up);
        ASSERT_EQ(messages(platform_.prompts).size(), 1u);
        EXPECT_EQ(messages(platform_.prompts).back(), "Min Map Size cannot be higher than Max Map Size");
        EXPECT_FALSE(w.updwnMinSize->Held());
        EXPECT_FALSE(w.updwnMinSize->Repeating());
        w.updwnMinSize->step();  // a tick of the repeat timer coming late
        w.updwnMinSize->release();
        EXPECT_EQ(w.txtMinSize->text().toStdString(), "4");
        EXPECT_EQ(messages(platform_.prompts).size(), 1u);
        w.close();
    });
}

TEST_F(LightMapDialogTest, EveryPolygonGetsItsMapWithProgressPaintedAtMostEvery50ms) {
    makeWorld(12);
    std::vector<std::string> painted;
    uint32_t lastChange = platform_.clock.tickCount();
    std::string lastText;
    frmLightMapParameterInput* dialog = nullptr;
    // Every pump moves the clock 20 ms; a change of the label since the last pump
    // must lie 50 ms or more after the one before.
    platform_.pump.everyPump = [&] {
        if (!dialog) return;
        const std::string text = dialog->lblPolsProcessed->text().toStdString();
        if (text != lastText) {
            EXPECT_GE(platform_.clock.tickCount() - lastChange, 50u) << text;
            painted.push_back(text);
            lastText = text;
            lastChange = platform_.clock.tickCount();
        }
        platform_.clock.advance(20);
    };
    open([&](frmLightMapParameterInput& w) {
        dialog = &w;
        lastText = "0";  // painted as the run starts
        w.cmdCompute->click();
        dialog = nullptr;
        EXPECT_EQ(w.lblTotalPols->text().toStdString(), "12");
        EXPECT_EQ(w.lblPolsProcessed->text().toStdString(), "12") << "painted once at the end";
        EXPECT_EQ(w.ProgressBar1->value(), 12);
        EXPECT_FALSE(w.isVisible()) << "a finished computation closes the dialog";
    });
    EXPECT_EQ(lightMaps(), 12);
    EXPECT_GE(platform_.pump.pumps(), 12);
    ASSERT_GE(painted.size(), 2u) << "progress shows during the run";
    EXPECT_EQ(OMBREL_ext_lightmap_ready(OMBREL_group_get_first_polygon(Globals::RootGrp), 0), 1) << "batch ended";
    EXPECT_EQ(messages(platform_.prompts).size(), 0u);
}

// While the maps are computed the progress frame lies over the compute button,
// in the dialog's own size.
TEST_F(LightMapDialogTest, TheProgressLiesOverTheComputeButtonWhileItRuns) {
    makeWorld(3);
    frmLightMapParameterInput* dialog = nullptr;
    QSize opened;
    bool seen = false;
    platform_.pump.when([&] { return dialog && dialog->Processed() >= 1; },
                        [&] {
                            frmLightMapParameterInput& w = *dialog;
                            seen = true;
                            EXPECT_EQ(w.size(), opened);
                            ASSERT_TRUE(w.frmProgress->isVisible());
                            const QRect button(w.cmdCompute->mapTo(&w, QPoint(0, 0)), w.cmdCompute->size());
                            EXPECT_TRUE(w.frmProgress->geometry().contains(button));
                            QWidget* onTop = w.childAt(button.center());
                            EXPECT_TRUE(onTop == w.frmProgress || w.frmProgress->isAncestorOf(onTop));
                        });
    open([&](frmLightMapParameterInput& w) {
        opened = w.size();
        dialog = &w;
        w.cmdCompute->click();
        dialog = nullptr;
    });
    EXPECT_TRUE(seen);
    EXPECT_EQ(lightMaps(), 3);
}

TEST_F(LightMapDialogTest, EscAsksNoGoesOnWithTheSamePolygonAndYesStopsThere) {
    makeWorld(10);
    frmLightMapParameterInput* dialog = nullptr;
    const std::string question = "Lightmap creation has not completed. Do you wish to abort?";
    // Esc at the first pump after 3 polygons: No. Esc again after 5: Yes.
    platform_.pump
        .when([&] { return dialog && dialog->Processed() >= 3; },
              [&] {
                  platform_.prompts.answer(MsgResult::No);
                  pressEsc(*dialog);
              })
        .when([&] { return dialog && dialog->Processed() >= 5; },
              [&] {
                  EXPECT_EQ(messages(platform_.prompts), std::vector<std::string>{question});
                  platform_.prompts.answer(MsgResult::Yes);
                  pressEsc(*dialog);
              });
    open([&](frmLightMapParameterInput& w) {
        dialog = &w;
        w.cmdCompute->click();
        EXPECT_EQ(w.Processed(), 5) << "stopped before the sixth";
        EXPECT_FALSE(w.isVisible());
        EXPECT_FALSE(w.Computing);
        dialog = nullptr;
    });
    EXPECT_EQ(messages(platform_.prompts), (std::vector<std::string>{question, question}));
    EXPECT_EQ(lightMaps(), 5) << "the polygons done keep their maps, the rest none";
    // The workers were stopped: no batch answers for the sixth polygon.
    int32_t sixth = OMBREL_group_get_first_polygon(Globals::RootGrp);
    for (int i = 0; i < 5; ++i) sixth = OMBREL_group_get_next_polygon(Globals::RootGrp, sixth);
    EXPECT_EQ(OMBREL_ext_lightmap_ready(sixth, 0), 1);
}

TEST_F(LightMapDialogTest, AWorldWithoutPolygonsShowsTheProgressAndClosesAtOnce) {
    open([&](frmLightMapParameterInput& w) {
        w.cmdCompute->click();
        EXPECT_FALSE(w.isVisible());
        EXPECT_EQ(w.lblTotalPols->text().toStdString(), "") << "no count to show";
    });
    EXPECT_EQ(lightMaps(), 0);
    EXPECT_EQ(platform_.pump.pumps(), 0);
}

TEST_F(LightMapDialogTest, NothingOpensWithoutAWorld) {
    platform_.prompts.answer(MsgResult::No);  // "Save changes?"
    form().mnuCloseFile_Click();
    ASSERT_FALSE(form().WorldLoaded);
    const std::size_t shown = platform_.prompts.shown().size();
    form().CreateLightMaps();
    EXPECT_EQ(platform_.prompts.shown().size(), shown);
}

}  // namespace
