// The main window starts on the screen it opens on: as a desktop shows it where
// its frame fits, maximised within a smaller screen, title bar, views and status
// bar all on it.
#include "EditorFixture.h"
#include "ScreenProcess.h"

#include "mainwindow/Twips.h"

#include <QApplication>
#include <QScreen>
#include <QStatusBar>
#include <QTabWidget>

#include <string>

namespace {

std::string text(const QRect& r) {
    return std::to_string(r.x()) + "," + std::to_string(r.y()) + " " + std::to_string(r.width()) + "x" +
           std::to_string(r.height());
}

QRect globalRect(const QWidget& w) { return {w.mapToGlobal(QPoint(0, 0)), w.size()}; }

using MainWindowOnScreenTest = EditorFixture;

// Runs on whatever screen the program has; the test below runs it again on each size.
TEST_F(MainWindowOnScreenTest, TheWindowStartsWithinTheScreenItOpensOn) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QString size = QStringLiteral("%1x%2").arg(screen.width()).arg(screen.height());
    if (const QString asked = AskedScreenSize(); !asked.isEmpty()) {
        ASSERT_EQ(size, asked);
    }
    Form1& f = StartEditor();
    OpenSmallWorld();
    QApplication::processEvents();
    ASSERT_TRUE(f.isVisible());
    const QRect frame = f.frameGeometry();
    EXPECT_TRUE(screen.contains(frame)) << text(frame) << " on " << text(screen);
    // The frame's top edge holds the title bar and its buttons.
    EXPECT_GE(frame.top(), screen.top());
    EXPECT_LT(f.geometry().top(), screen.bottom());
    for (const QWidget* part : {static_cast<const QWidget*>(f.StatusBar1), static_cast<const QWidget*>(f.tabWorkspace),
                                static_cast<const QWidget*>(f.frmPicWins)}) {
        EXPECT_TRUE(part->isVisible()) << part->objectName().toStdString();
        EXPECT_TRUE(screen.contains(globalRect(*part))) << part->objectName().toStdString() << " "
                                                        << text(globalRect(*part));
    }
    // Where today's window fits it keeps its size; a smaller screen holds it maximised.
    const QSize today(Twips::toPixels(15000), Twips::toPixels(11000));
    const struct {
        const char* screen;
        bool maximised;
    } cases[] = {{"1280x1024", false}, {"1024x768", false}, {"800x600", true}};
    for (const auto& c : cases) {
        if (size != QLatin1String(c.screen)) continue;
        EXPECT_EQ(f.isMaximized(), c.maximised);
        if (c.maximised) {
            EXPECT_EQ(frame, screen);
        } else {
            EXPECT_EQ(f.size(), today);
        }
    }
}

// The tests' own screen is the 1280 by 1024 one.
TEST_F(MainWindowOnScreenTest, OnSmallerScreens) {
    for (const QSize size : {QSize(1024, 768), QSize(800, 600)})
        ExpectPassesOnScreen(size, "MainWindowOnScreenTest.TheWindowStartsWithinTheScreenItOpensOn", tempPath(""));
}

}  // namespace
