#include "platform/doubles/platform_doubles.h"
#include "platform/doubles/test_application.h"
#include "platform/input_filter.h"
#include "platform/key_state.h"
#include "platform/virtual_keys.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>
#include <QtTest/QTest>

using namespace platform;

namespace {

class KeyStateTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { installInputFilter(platform::doubles::testApplication()); }

    void key(QEvent::Type type, int qtKey, Qt::KeyboardModifiers mods = Qt::NoModifier,
             bool autoRepeat = false) {
        QKeyEvent e(type, qtKey, mods, QString(), autoRepeat);
        QApplication::sendEvent(&widget_, &e);
    }
    void mouse(QEvent::Type type, Qt::MouseButton button) {
        QMouseEvent e(type, QPointF(5, 5), QPointF(105, 205), button,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : button, Qt::NoModifier);
        QApplication::sendEvent(&widget_, &e);
    }

    platform::doubles::CleanInputState clean_;
    QWidget widget_;
};

constexpr int16_t kHeldAndFresh = -32767;
constexpr int16_t kHeld = -32768;

TEST_F(KeyStateTest, AKeyIsHeldUntilReleasedAndFreshOnlyAtTheFirstPoll) {
    key(QEvent::KeyPress, Qt::Key_Shift, Qt::ShiftModifier);
    EXPECT_EQ(GetAsyncKeyState(vk::Shift), kHeldAndFresh);
    EXPECT_EQ(GetAsyncKeyState(vk::Shift), kHeld);
    EXPECT_EQ(GetAsyncKeyState(vk::Control), 0);
    // Repeats while held do not make it fresh again.
    key(QEvent::KeyRelease, Qt::Key_Shift, Qt::ShiftModifier, true);
    key(QEvent::KeyPress, Qt::Key_Shift, Qt::ShiftModifier, true);
    EXPECT_EQ(GetAsyncKeyState(vk::Shift), kHeld);
    key(QEvent::KeyRelease, Qt::Key_Shift);
    EXPECT_EQ(GetAsyncKeyState(vk::Shift), 0);
}

TEST_F(KeyStateTest, APressReleasedBeforeThePollIsStillSeenOnce) {
    key(QEvent::KeyPress, Qt::Key_L, Qt::AltModifier);
    key(QEvent::KeyRelease, Qt::Key_L, Qt::AltModifier);
    EXPECT_EQ(GetAsyncKeyState('L'), 1);
    EXPECT_EQ(GetAsyncKeyState('L'), 0);
}

TEST_F(KeyStateTest, APressThatTravelsToTheParentsIsOnePress) {
    // The child ignores the press, so the application hands the same event on to
    // its parent; the child's handler polled the key in between, as shortcuts do.
    struct PollingChild : QWidget {
        using QWidget::QWidget;
        int16_t seen = 0;
        void keyPressEvent(QKeyEvent* e) override {
            seen = GetAsyncKeyState('M');
            e->ignore();
        }
    };
    auto* child = new PollingChild(&widget_);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_M, Qt::NoModifier);
    QApplication::sendEvent(child, &press);
    EXPECT_EQ(child->seen, kHeldAndFresh);
    EXPECT_EQ(GetAsyncKeyState('M'), kHeld);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_M, Qt::NoModifier);
    QApplication::sendEvent(child, &release);
    // A new press built where the first one stood is fresh again.
    QApplication::sendEvent(child, &press);
    EXPECT_EQ(child->seen, kHeldAndFresh);
}

TEST_F(KeyStateTest, MouseButtonsAreKeysOneTwoAndFour) {
    const struct {
        Qt::MouseButton button;
        int code;
    } cases[] = {{Qt::LeftButton, vk::LButton}, {Qt::RightButton, vk::RButton}, {Qt::MiddleButton, vk::MButton}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        mouse(QEvent::MouseButtonPress, c.button);
        EXPECT_EQ(GetAsyncKeyState(c.code), kHeldAndFresh);
        for (int other : {vk::LButton, vk::RButton, vk::MButton}) {
            if (other != c.code) {
                EXPECT_EQ(GetAsyncKeyState(other), 0) << other;
            }
        }
        mouse(QEvent::MouseButtonRelease, c.button);
        EXPECT_EQ(GetAsyncKeyState(c.code), 0);
    }
}

TEST_F(KeyStateTest, LosingTheApplicationFocusLetsEveryKeyGo) {
    key(QEvent::KeyPress, Qt::Key_Control, Qt::ControlModifier);
    mouse(QEvent::MouseButtonPress, Qt::LeftButton);
    QEvent deactivate(QEvent::ApplicationDeactivate);
    QApplication::sendEvent(qApp, &deactivate);
    EXPECT_EQ(GetAsyncKeyState(vk::Control), 0);
    EXPECT_EQ(GetAsyncKeyState(vk::LButton), 0);
}

TEST_F(KeyStateTest, ShiftCtrlAndAltFollowTheKeyboardAtEveryEventFromTheWindowSystem) {
    widget_.resize(100, 100);
    widget_.show();
    QWindow* window = widget_.windowHandle();
    auto held = [] {
        return std::array<bool, 3>{isKeyHeld(vk::Shift), isKeyHeld(vk::Control), isKeyHeld(vk::Menu)};
    };
    // Ctrl goes down; its release is lost, as while a modal window blocks this one.
    qt_handleKeyEvent(window, QEvent::KeyPress, Qt::Key_Control, Qt::ControlModifier);
    ASSERT_TRUE(isKeyHeld(vk::Control));
    struct Case {
        const char* name;
        std::function<void()> deliver;
        std::array<bool, 3> shiftCtrlAlt;
    };
    const Case cases[] = {
        {"a move with nothing held", [&] { QTest::mouseMove(window, {20, 20}); }, {false, false, false}},
        {"a key with Shift held", [&] { qt_handleKeyEvent(window, QEvent::KeyPress, Qt::Key_A, Qt::ShiftModifier); },
         {true, false, false}},
        {"a press with Ctrl and Alt held",
         [&] { QTest::mousePress(window, Qt::LeftButton, Qt::ControlModifier | Qt::AltModifier, {30, 30}); },
         {false, true, true}},
        {"a release with nothing held", [&] { QTest::mouseRelease(window, Qt::LeftButton, {}, {30, 30}); },
         {false, false, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.deliver();
        EXPECT_EQ(held(), c.shiftCtrlAlt);
    }
    // An event the program sends itself says nothing about the keyboard.
    setKeyHeld(vk::Control, true);
    mouse(QEvent::MouseButtonPress, Qt::LeftButton);
    EXPECT_TRUE(isKeyHeld(vk::Control));
}

TEST_F(KeyStateTest, AModalWindowOpeningOrClosingLetsEveryKeyGo) {
    widget_.show();
    QDialog modal;
    modal.setModal(true);
    for (bool opening : {true, false}) {
        SCOPED_TRACE(opening ? "opening" : "closing");
        key(QEvent::KeyPress, Qt::Key_Control, Qt::ControlModifier);
        mouse(QEvent::MouseButtonPress, Qt::LeftButton);
        modal.setVisible(opening);
        EXPECT_EQ(GetAsyncKeyState(vk::Control), 0);
        EXPECT_EQ(GetAsyncKeyState(vk::LButton), 0);
    }
}

TEST_F(KeyStateTest, QtKeysMapToTheClassicCodes) {
    const struct {
        int qtKey;
        bool keypad;
        int code;
    } cases[] = {
        {Qt::Key_Shift, false, 0x10}, {Qt::Key_Control, false, 0x11}, {Qt::Key_Alt, false, 0x12},
        {Qt::Key_A, false, 'A'},      {Qt::Key_I, false, 0x49},       {Qt::Key_Z, false, 'Z'},
        {Qt::Key_0, false, '0'},      {Qt::Key_7, true, 0x67},        {Qt::Key_F1, false, 0x70},
        {Qt::Key_F12, false, 0x7B},   {Qt::Key_Delete, false, 46},    {Qt::Key_Escape, false, 0x1B},
        {Qt::Key_Return, false, 0x0D}, {Qt::Key_Enter, true, 0x0D},   {Qt::Key_Left, false, 0x25},
        {Qt::Key_Down, false, 0x28},  {Qt::Key_Plus, true, 0x6B},    {Qt::Key_Minus, false, 0xBD},
        {Qt::Key_Space, false, 0x20}, {Qt::Key_Dead_Grave, false, 0},
        // Shift turns the digit keys into their symbols; they are still the digit keys.
        {Qt::Key_Exclam, false, '1'}, {Qt::Key_At, false, '2'},      {Qt::Key_NumberSign, false, '3'},
        {Qt::Key_Asterisk, false, '8'}, {Qt::Key_Asterisk, true, 0x6A}, {Qt::Key_ParenRight, false, '0'},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.qtKey);
        EXPECT_EQ(virtualKeyFromQt(c.qtKey, c.keypad), c.code);
    }
}

TEST_F(KeyStateTest, TestsMaySetTheStateDirectly) {
    setKeyHeld('I', true);
    EXPECT_EQ(GetAsyncKeyState('I'), kHeld);
    noteKeyDown(vk::Delete);
    EXPECT_EQ(GetAsyncKeyState(vk::Delete), kHeldAndFresh);
    EXPECT_EQ(GetAsyncKeyState(0), 0);
    EXPECT_EQ(GetAsyncKeyState(vk::Count), 0);
}

}  // namespace
