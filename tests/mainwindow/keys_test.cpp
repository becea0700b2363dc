// Keyboard shortcuts: a row per key of the main window's table, driven through
// the live key state, and real key events for the once-per-press rule.
#include "EditorFixture.h"

#include "core/Camera.h"
#include "core/Globals.h"
#include "platform/input_filter.h"
#include "platform/key_state.h"
#include "platform/virtual_keys.h"
#include "views/PicWindow.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QWindow>
#include <QtTest/QTest>

#include <functional>
#include <vector>

namespace {

namespace vk = platform::vk;

class KeysTest : public EditorFixture {
protected:
    // Modifiers and keys held down, and keys newly pressed, then one key-down.
    void press(std::vector<int> heldKeys, std::vector<int> newKeys) {
        platform::clearKeyState();
        for (int k : heldKeys) platform::setKeyHeld(k, true);
        for (int k : newKeys) platform::noteKeyDown(k);
        form().Form_KeyDown(0, 0);
    }
};

double distanceOf(int view) { return Globals::ViewCams[static_cast<std::size_t>(view)]->dblViewingDistance; }

}  // namespace

TEST_F(KeysTest, EachShortcutRunsItsCommand) {
    Form1& f = StartEditor();
    const int32_t group = OpenSmallWorld();
    QApplication::processEvents();
    int lists = 0, fogs = 0, duplicates = 0;
    const std::string holdFile = programFolder() + "Hold.wld";
    f.ShowSelectByNameWindow = [&] { ++lists; };
    f.ShowAtmosphereWindow = [&] { ++fogs; };
    f.ShowDuplicateDialog = [&] { ++duplicates; };

    static const char* buttons[] = {"Select", "Move", "Rotate", "Scale", "Pan", "Revolve", "Zoom Camera",
                                    "Move Camera", "Roll Camera"};
    auto tool = [](int32_t mode, const char* pointer) {
        return [mode, pointer](Form1& form) {
            EXPECT_EQ(Globals::CurrToolMode, mode);
            EXPECT_EQ(form.ToolbarButtonValue(buttons[mode]), 1);
            EXPECT_EQ(form.ToolbarButtonValue("Roll Camera"), 0);
            EXPECT_EQ(form.picWindow[3]->MouseIcon(), pointer);
        };
    };
    auto unchanged = [](Form1& form) {
        EXPECT_EQ(Globals::CurrToolMode, ToolRollCamera);
        EXPECT_EQ(form.picWindow[3]->MouseIcon(), "Roll Camera");
    };
    struct Case {
        const char* name;
        std::vector<int> held, newly;
        std::function<void(Form1&)> check;
    };
    const int F2 = vk::F1 + 1;
    std::vector<Case> cases = {
        {"M", {'M'}, {}, tool(ToolMoveCamera, "Move Camera")},
        {"Z", {'Z'}, {}, tool(ToolZoomCamera, "Zoom")},
        {"R", {'R'}, {}, tool(ToolRevolve, "Revolve")},
        {"P", {'P'}, {}, tool(ToolPan, "Pan")},
        {"S", {'S'}, {}, tool(ToolSelect, "Select")},
        {"held M wins over a newly pressed R", {'M', 'R'}, {'R'}, tool(ToolMoveCamera, "Move Camera")},
        {"Shift+1", {vk::Shift, '1'}, {}, tool(ToolMove, "Pointer")},
        {"Shift+2", {vk::Shift, '2'}, {}, tool(ToolRotate, "Pointer")},
        {"Shift+3", {vk::Shift, '3'}, {}, tool(ToolScale, "Pointer")},
        {"Ctrl+M does nothing", {vk::Control}, {'M'}, unchanged},
        {"Alt+M does not fall through", {vk::Menu}, {'M'}, unchanged},
        {"Shift+Z does nothing", {vk::Shift}, {'Z'}, unchanged},
        {"F2", {}, {F2}, [](Form1& form) { EXPECT_TRUE(form.ShowWireframe); }},
        {"W", {'W'}, {}, [](Form1& form) { EXPECT_TRUE(form.ViewMaximized); }},
        {"W again", {'W'}, {}, [](Form1& form) { EXPECT_FALSE(form.ViewMaximized); }},
        {"numeric +", {}, {vk::Add}, [](Form1&) { EXPECT_EQ(Globals::NavSpeedFactor, 2.0); }},
        {"numeric -", {}, {vk::Subtract}, [](Form1&) { EXPECT_EQ(Globals::NavSpeedFactor, 1.0); }},
        {"Backspace", {}, {vk::Back}, [](Form1& form) { EXPECT_EQ(form.NewTrkPtCount, 1); }},
        {"Backspace", {}, {vk::Back}, [](Form1& form) { EXPECT_EQ(form.NewTrkPtCount, 0); }},
        {"Backspace at none", {}, {vk::Back}, [](Form1& form) { EXPECT_EQ(form.NewTrkPtCount, 0); }},
        {"Ctrl+Alt+H", {vk::Control, vk::Menu}, {'H'}, [&](Form1&) { EXPECT_TRUE(QFile::exists(QString::fromStdString(holdFile))); }},
        {"Ctrl+Alt+F", {vk::Control, vk::Menu}, {'F'},
         [&](Form1&) {
             ASSERT_FALSE(platform_.prompts.shown().empty());
             EXPECT_EQ(platform_.prompts.shown().back().text, "Fetch - Please confirm.");
         }},
        {"Ctrl+Alt+V", {vk::Control, vk::Menu}, {'V'},
         [](Form1& form) { EXPECT_EQ(form.ToolbarButtonValue("3D Card Toggle"), 1); }},
        {"Alt+S", {vk::Menu}, {'S'}, [&](Form1&) { EXPECT_EQ(lists, 1); }},
        {"Alt+A", {vk::Menu}, {'A'}, [&](Form1&) { EXPECT_EQ(fogs, 1); }},
        {"Alt+D", {vk::Menu}, {'D'}, [&](Form1&) { EXPECT_EQ(duplicates, 1); }},
        {"Alt+L", {vk::Menu}, {'L'},
         [](Form1& form) {
             EXPECT_EQ(form.ToolbarButtonValue("Align"), 1);
             EXPECT_EQ(form.picWindow[3]->MouseIcon(), "Align Mode");
         }},
    };
    f.NewTrkPtCount = 2;
    // Fetch asks before it replaces the world with the held one.
    platform_.prompts.answer(platform::MsgResult::Cancel);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Globals::CurrSelEntityType = SelGroup;
        Globals::CurrSelEntityHandle = group;
        f.SetToolMode(ToolRollCamera);
        f.picWinSetMousePtr("Roll Camera");
        f.PicBoxHasFocus = true;
        press(c.held, c.newly);
        c.check(f);
    }
}

TEST_F(KeysTest, ZoomAndCentreShortcutsMoveTheRightViews) {
    Form1& f = StartEditor();
    OpenSmallWorld();
    QApplication::processEvents();
    f.PicBoxHasFocus = true;
    f.PicBoxFocused = 3;
    const double before0 = distanceOf(0), before3 = distanceOf(3);
    press({vk::Control, vk::Menu}, {'Z'});
    EXPECT_EQ(distanceOf(0), before0);
    EXPECT_NE(distanceOf(3), before3);
    press({vk::Control, vk::Shift}, {'Z'});
    EXPECT_NE(distanceOf(0), before0);

    Camera& active = *Globals::ViewCams[3];
    active.SetLookAtOffset(5, 7);
    press({vk::Shift}, {'C'});
    EXPECT_EQ(active.VerticalOffset(), 0);
    EXPECT_EQ(active.HorizontalOffset(), 0);
}

TEST_F(KeysTest, ShortcutsNeedAFocusedView) {
    Form1& f = StartEditor();
    OpenSmallWorld();
    f.PicBoxHasFocus = false;
    press({'M'}, {vk::Add});
    EXPECT_EQ(Globals::CurrToolMode, ToolSelect);
    EXPECT_EQ(Globals::NavSpeedFactor, 1.0);
}

TEST_F(KeysTest, TheMainWindowSeesKeysFirstAndANewlyPressedKeyActsOncePerPress) {
    platform::installInputFilter(*qApp);
    Form1& f = StartEditor();
    OpenSmallWorld();
    auto send = [](QWidget* to, int key, Qt::KeyboardModifiers mods, bool repeat, QEvent::Type type = QEvent::KeyPress) {
        QKeyEvent e(type, key, mods, QString(), repeat);
        QApplication::sendEvent(to, &e);
    };
    // Letters typed into a text field are text, not tools.
    f.PicBoxHasFocus = false;
    send(f.txtSelectedGrpName, Qt::Key_P, Qt::NoModifier, false);
    send(f.txtSelectedGrpName, Qt::Key_P, Qt::NoModifier, false, QEvent::KeyRelease);
    EXPECT_EQ(Globals::CurrToolMode, ToolSelect);

    f.PicBoxHasFocus = true;
    PicWindow* view = f.picWindow[0];
    send(view, Qt::Key_P, Qt::NoModifier, false);
    EXPECT_EQ(Globals::CurrToolMode, ToolPan);
    send(view, Qt::Key_P, Qt::NoModifier, false, QEvent::KeyRelease);

    send(view, Qt::Key_Plus, Qt::KeypadModifier, false);
    send(view, Qt::Key_Plus, Qt::KeypadModifier, true);
    send(view, Qt::Key_Plus, Qt::KeypadModifier, true);
    EXPECT_EQ(Globals::NavSpeedFactor, 2.0);
    send(view, Qt::Key_Plus, Qt::KeypadModifier, false, QEvent::KeyRelease);
    send(view, Qt::Key_Plus, Qt::KeypadModifier, false);
    EXPECT_EQ(Globals::NavSpeedFactor, 4.0);
}

TEST_F(KeysTest, HoldAndFetchKeysRunTheirCommandsWhereTheMenuItemsAreDisabled) {
    Form1& f = StartEditor();
    const QString hold = QString::fromStdString(programFolder() + "Hold.wld");
    ASSERT_FALSE(f.mnuFetch->isEnabled());
    f.PicBoxHasFocus = true;
    platform_.prompts.answer(platform::MsgResult::OK).answer(platform::MsgResult::OK);
    auto lastPrompt = [this] {
        const auto& shown = platform_.prompts.shown();
        return shown.empty() ? std::string() : shown.back().text;
    };
    struct Case {
        const char* name;
        int key;
        std::function<void()> before;
        std::function<void()> check;
    };
    const Case cases[] = {
        // Without a world a hold would leave an empty file in place of the last hold.
        {"hold without a world", 'H', [] {}, [&] { EXPECT_FALSE(QFile::exists(hold)); }},
        {"fetch before any hold", 'F', [] {},
         [&] {
             EXPECT_EQ(lastPrompt(), "Nothing to fetch! Please do a hold first.");
             EXPECT_FALSE(f.WorldLoaded);
         }},
        {"fetch into the empty editor", 'F',
         [&] { ASSERT_TRUE(QFile::copy(QString::fromStdString(SaveSmallWorldFile("held.wld")), hold)); },
         [&] {
             EXPECT_EQ(lastPrompt(), "Fetch - Please confirm.");
             EXPECT_TRUE(f.WorldLoaded);
             EXPECT_EQ(Globals::CurrWorldFile, hold.toStdString());
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.before();
        press({vk::Control, vk::Menu}, {c.key});
        c.check();
    }
}

// Qt drops the key events of a window that a modal one blocks, so a modifier let go
// while a question is up never reaches the key state of the main window.
TEST_F(KeysTest, AModifierLetGoWhileAModalQuestionIsUpDoesNotStick) {
    platform::installInputFilter(*qApp);
    Form1& f = StartEditor();
    OpenSmallWorld();
    f.mnuHold_Click();
    f.picWindow[0]->setFocus();
    f.PicBoxHasFocus = true;
    QWindow* window = f.windowHandle();
    ASSERT_NE(window, nullptr);

    platform_.prompts.answer(platform::MsgResult::Cancel, [&] {
        QDialog question(&f);
        question.setModal(true);
        question.show();
        qt_handleKeyEvent(window, QEvent::KeyRelease, Qt::Key_F, Qt::ControlModifier | Qt::AltModifier);
        qt_handleKeyEvent(window, QEvent::KeyRelease, Qt::Key_Alt, Qt::ControlModifier);
        qt_handleKeyEvent(window, QEvent::KeyRelease, Qt::Key_Control, Qt::NoModifier);
        question.hide();
        // The main window is the active one again, as the window manager makes it.
        f.picWindow[0]->setFocus();
        f.PicBoxHasFocus = true;
    });
    qt_handleKeyEvent(window, QEvent::KeyPress, Qt::Key_Control, Qt::ControlModifier);
    qt_handleKeyEvent(window, QEvent::KeyPress, Qt::Key_Alt, Qt::ControlModifier | Qt::AltModifier);
    qt_handleKeyEvent(window, QEvent::KeyPress, Qt::Key_F, Qt::ControlModifier | Qt::AltModifier);
    ASSERT_EQ(platform_.prompts.pendingAnswers(), 0u);

    qt_handleKeyEvent(window, QEvent::KeyPress, Qt::Key_P, Qt::NoModifier);
    EXPECT_EQ(Globals::CurrToolMode, ToolPan);
}
