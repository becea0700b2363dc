// Where a window opens: on the screen, beside the main window where there is
// room, else over its views and not over the panel at their left.
#include "platform/window_placement.h"
#include "platform/doubles/test_application.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QBoxLayout>
#include <QDialog>
#include <QGuiApplication>
#include <QScreen>

#include <optional>
#include <string>

namespace {

std::string text(const QRect& r) {
    return std::to_string(r.x()) + "," + std::to_string(r.y()) + " " + std::to_string(r.width()) + "x" +
           std::to_string(r.height());
}

TEST(WindowPlacementTest, TheFrameGoesBesideTheMainWindowElseOverItsViewsAndAlwaysOnTheScreen) {
    const QRect big(0, 0, 1280, 1024);
    const QRect small(0, 0, 800, 600);
    // A main window filling each screen, its views right of a 260 pixel panel.
    const QRect bigViews(260, 60, 1010, 940);
    const QRect smallViews(260, 60, 530, 520);
    const struct {
        const char* name;
        QSize wanted, least;
        platform::WindowRoom room;
        std::optional<QRect> remembered;
        QRect frame;
    } cases[] = {
        {"room right of a small main window", {400, 300}, {100, 100}, {big, {0, 0, 800, 600}, {260, 60, 530, 520}},
         std::nullopt, {800, 60, 400, 300}},
        {"room only left of it", {400, 300}, {100, 100}, {big, {600, 100, 680, 600}, {860, 160, 410, 520}},
         std::nullopt, {200, 160, 400, 300}},
        {"a full screen: centred over the views", {780, 680}, {100, 100}, {big, big, bigViews}, std::nullopt,
         {375, 190, 780, 680}},
        {"a small screen: cut to the room right of the panel", {780, 680}, {300, 200}, {small, small, smallViews},
         std::nullopt, {260, 0, 540, 600}},
        {"wider than the views: past the main window's right edge", {700, 400}, {100, 100},
         {big, {140, 150, 1000, 750}, {480, 220, 650, 640}}, std::nullopt, {480, 340, 700, 400}},
        {"at its least still wider than that room: at the screen's right edge", {780, 400}, {600, 200},
         {small, small, smallViews}, std::nullopt, {200, 120, 600, 400}},
        {"larger than the screen at its least: its top left on the screen", {900, 700}, {850, 650},
         {small, small, smallViews}, std::nullopt, {0, 0, 850, 650}},
        {"a second screen right of the first", {400, 300}, {100, 100},
         {{1280, 0, 800, 600}, {1280, 0, 800, 600}, {1540, 60, 530, 520}}, std::nullopt, {1605, 170, 400, 300}},
        {"no main window: centred on the screen", {400, 300}, {100, 100}, {big, {}, {}}, std::nullopt,
         {440, 362, 400, 300}},
        {"a remembered frame on the screen is kept", {400, 300}, {100, 100}, {big, big, bigViews},
         QRect(10, 10, 400, 300), {10, 10, 400, 300}},
        {"a remembered frame past the bottom edge is not", {400, 300}, {100, 100}, {big, big, bigViews},
         QRect(10, 900, 400, 300), {565, 380, 400, 300}},
        {"nor one on a screen that is gone", {400, 300}, {100, 100}, {small, small, smallViews},
         QRect(1300, 10, 400, 300), {325, 170, 400, 300}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QRect frame = platform::PlaceFrame(c.wanted, c.least, c.room, c.remembered ? &*c.remembered : nullptr);
        EXPECT_EQ(frame, c.frame) << text(frame);
        if (c.least.width() <= c.room.screen.width() && c.least.height() <= c.room.screen.height()) {
            EXPECT_TRUE(c.room.screen.contains(frame)) << text(frame);
        }
    }
}

TEST(WindowPlacementTest, PartsStandSideBySideWhereTheViewsHoldThemElseOneAboveTheOther) {
    platform::doubles::testApplication();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const struct {
        const char* name;
        int room;  // the views' width, right of the panel
        bool stacked;
    } cases[] = {{"room for both", 700, false}, {"room for one", 450, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QWidget main;
        QWidget views(&main);
        main.setGeometry(screen.adjusted(0, 40, 0, 0));
        views.setGeometry(main.width() - c.room, 0, c.room, main.height());
        main.show();
        QApplication::processEvents();
        platform::PlaceWindowsOnShow(main, views);

        QDialog dialog(&main);
        auto* parts = new QHBoxLayout(&dialog);
        QWidget first, second;
        for (QWidget* part : {&first, &second}) {
            part->setMinimumSize(300, 120);
            parts->addWidget(part);
        }
        platform::StackWhereNarrow(dialog, *parts);
        dialog.show();
        QApplication::processEvents();
        const QRect frame = dialog.frameGeometry();
        const QRect room(views.mapToGlobal(QPoint(0, 0)), views.size());
        EXPECT_TRUE(room.contains(frame)) << text(frame) << " in " << text(room);
        EXPECT_EQ(second.y() > first.y(), c.stacked);
        EXPECT_EQ(second.x() > first.x(), !c.stacked);
        dialog.close();
    }
}

}  // namespace
