#include "platform/cursor.h"
#include "platform/doubles/fake_cursor.h"
#include "platform/doubles/test_application.h"
#include "platform/input_filter.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

using namespace platform;

namespace {

class CursorTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { installInputFilter(platform::doubles::testApplication()); }
};

void sendMouse(QWidget& w, QEvent::Type type, QPointF global) {
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent e(type, QPointF(1, 1), global, button, type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                  Qt::NoModifier);
    QApplication::sendEvent(&w, &e);
}

TEST_F(CursorTest, TheFakePointerFollowsScriptedMouseEventsAndWarps) {
    platform::doubles::FakeCursor fake({800, 600});
    QWidget view;
    sendMouse(view, QEvent::MouseButtonPress, {30, 40});
    EXPECT_EQ(GetCursorPos(), (ScreenPoint{30, 40}));
    sendMouse(view, QEvent::MouseMove, {35, 47});
    EXPECT_EQ(GetCursorPos(), (ScreenPoint{35, 47}));

    SetCursorPos(11, 300);
    EXPECT_EQ(GetCursorPos(), (ScreenPoint{11, 300}));
    ASSERT_EQ(fake.warps().size(), 1u);
    EXPECT_EQ(fake.warps()[0], (ScreenPoint{11, 300}));
    EXPECT_EQ(cursor().screenSize(), (ScreenSize{800, 600}));
}

TEST_F(CursorTest, TheRealPointerWarpsOnTheOffscreenScreen) {
    SetCursorPos(12, 34);
    EXPECT_EQ(GetCursorPos(), (ScreenPoint{12, 34}));
    const ScreenSize screen = cursor().screenSize();
    EXPECT_GT(screen.width, 0);
    EXPECT_GT(screen.height, 0);
}

}  // namespace
