#include "platform/doubles/platform_doubles.h"
#include "platform/doubles/test_application.h"
#include "platform/input_filter.h"
#include "platform/wheel_queue.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QWheelEvent>
#include <QWidget>
#include <QWindow>

using namespace platform;

namespace {

class WheelQueueTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { installInputFilter(platform::doubles::testApplication()); }
    platform::doubles::CleanInputState clean_;
};

QWheelEvent notch(int delta, QPointF at = {10, 10}) {
    return QWheelEvent(at, at, QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                       false);
}

TEST_F(WheelQueueTest, OnePassGivesTheDirectionOfTheLastNotch) {
    struct Case {
        const char* name;
        std::vector<int> deltas;
        int direction;
    };
    const Case cases[] = {
        {"nothing pending", {}, 0},
        {"three notches away", {120, 120, 120}, 1},
        {"three away, then one towards", {120, 120, 120, -120}, -1},
        {"a fine-grained notch", {-15}, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (int d : c.deltas) pushWheelDelta(d);
        EXPECT_EQ(takeWheelDirection(), c.direction);
        EXPECT_EQ(pendingWheelMessages(), 0);
        EXPECT_EQ(takeWheelDirection(), 0);
    }
}

TEST_F(WheelQueueTest, APassTakesAtMostAHundredMessages) {
    for (int i = 0; i < kWheelMessagesPerPass; ++i) pushWheelDelta(120);
    for (int i = 0; i < 50; ++i) pushWheelDelta(-120);
    EXPECT_EQ(takeWheelDirection(), 1);
    EXPECT_EQ(pendingWheelMessages(), 50);
    EXPECT_EQ(takeWheelDirection(), -1);
    EXPECT_EQ(pendingWheelMessages(), 0);
}

TEST_F(WheelQueueTest, TheFilterQueuesEachNotchOnceEvenWhenItTravelsToTheParents) {
    QWidget window;
    window.resize(100, 100);
    auto* child = new QWidget(&window);
    child->setGeometry(0, 0, 50, 50);
    queueWheelNotchesOver(*child);
    window.show();

    // As the windowing system delivers it: to the window, which hands a copy to
    // the widget under the pointer.
    QWheelEvent viaWindow = notch(120);
    QApplication::sendEvent(window.windowHandle(), &viaWindow);
    // Ignored by the widget, the same event goes on to its parent.
    QWheelEvent propagated = notch(120);
    QApplication::sendEvent(child, &propagated);
    QApplication::sendEvent(&window, &propagated);
    // A notch of its own on the same widget.
    QWheelEvent towards = notch(-120);
    QApplication::sendEvent(child, &towards);

    EXPECT_EQ(pendingWheelMessages(), 3);
    EXPECT_EQ(takeWheelDirection(), -1);

    // Two notches in a row on the same widget, the second event built where the
    // first one stood, are two notches.
    QWheelEvent reused = notch(120);
    QApplication::sendEvent(child, &reused);
    QApplication::sendEvent(child, &reused);
    EXPECT_EQ(pendingWheelMessages(), 2);
    EXPECT_EQ(takeWheelDirection(), 1);
}

TEST_F(WheelQueueTest, OnlyNotchesOverTheWidgetsThatAskAreQueued) {
    QWidget window;
    auto* view = new QWidget(&window);
    auto* overlay = new QWidget(view);
    auto* panel = new QWidget(&window);
    queueWheelNotchesOver(*view);
    struct Case {
        const char* name;
        QWidget* over;
        int queued;
    };
    const Case cases[] = {{"the view", view, 1}, {"a child of the view", overlay, 1}, {"the panel", panel, 0},
                          {"the window", &window, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QWheelEvent e = notch(120);
        QApplication::sendEvent(c.over, &e);
        // The panel does not take it: it travels on to the window, still no notch of the views.
        QApplication::sendEvent(&window, &e);
        EXPECT_EQ(pendingWheelMessages(), c.queued);
        clearWheelQueue();
    }
}

}  // namespace
