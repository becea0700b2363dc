// The Texture Map Editor and the program's other windows open wholly on the
// screen, over the views and not over the workspace panel, on a large and on a
// small screen; a position that has gone off the screen is not used again.
#include "EditorFixture.h"

#include "core/Globals.h"
#include "textures/frmTextureMapping.h"

#include <QApplication>
#include <QFile>
#include <QFrame>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>

#include <string>

namespace {

constexpr const char* kScreenVariable = "TALVORA_TEST_SCREEN";

std::string text(const QRect& r) {
    return std::to_string(r.x()) + "," + std::to_string(r.y()) + " " + std::to_string(r.width()) + "x" +
           std::to_string(r.height());
}

QRect globalRect(const QWidget& w) { return {w.mapToGlobal(QPoint(0, 0)), w.size()}; }

class ToolWindowTest : public EditorFixture {
protected:
    // The main window as a user maximises it: its frame fills the available screen.
    Form1& startFillingTheScreen() {
        Form1& f = StartEditor();
        OpenSmallWorld();
        f.show();
        QApplication::processEvents();
        const QRect frame = f.frameGeometry();
        const QRect inner = f.geometry();
        const QMargins margins(inner.left() - frame.left(), inner.top() - frame.top(), frame.right() - inner.right(),
                               frame.bottom() - inner.bottom());
        f.resize(screen().size().shrunkBy(margins));
        f.move(screen().topLeft());
        QApplication::processEvents();
        return f;
    }

    static QRect screen() { return QGuiApplication::primaryScreen()->availableGeometry(); }

    // On the screen, right of the workspace panel, from the views' left edge on.
    void expectPlaced(const QWidget& window) {
        const QRect frame = window.frameGeometry();
        EXPECT_TRUE(screen().contains(frame)) << text(frame) << " on " << text(screen());
        EXPECT_FALSE(frame.intersects(globalRect(*form().tabWorkspace))) << text(frame);
        EXPECT_GE(frame.left(), globalRect(*form().frmPicWins).left()) << text(frame);
    }
};

// Runs on whatever screen the program has; the test below runs it again on each size.
TEST_F(ToolWindowTest, TheTextureMapEditorAndAMessageBoxOpenOverTheViewsOnTheScreen) {
    // Run for a screen size, the program has a screen of that size.
    if (const QString asked = qEnvironmentVariable(kScreenVariable); !asked.isEmpty()) {
        ASSERT_EQ(QStringLiteral("%1x%2").arg(screen().width()).arg(screen().height()), asked);
    }
    Form1& f = startFillingTheScreen();
    ASSERT_TRUE(screen().contains(f.frameGeometry()));
    f.cmdEditTexture->click();
    QApplication::processEvents();
    frmTextureMapping* editor = frmTextureMapping::Instance();
    ASSERT_NE(editor, nullptr);
    ASSERT_TRUE(editor->isVisible());
    expectPlaced(*editor);

    // Dragged off the screen's bottom right corner and closed, it comes back on it.
    editor->move(screen().bottomRight() - QPoint(40, 40));
    editor->close();
    QApplication::processEvents();
    f.cmdEditTexture->click();
    QApplication::processEvents();
    ASSERT_TRUE(editor->isVisible());
    expectPlaced(*editor);
    // Where the user leaves it on the screen, it opens again.
    const QPoint kept = editor->frameGeometry().topLeft() + QPoint(-5, 0);
    editor->move(kept);
    QApplication::processEvents();
    editor->close();
    f.cmdEditTexture->click();
    QApplication::processEvents();
    EXPECT_EQ(editor->frameGeometry().topLeft(), kept);
    editor->close();

    // A box that sizes itself as it shows is placed at the size it took.
    QMessageBox box(QMessageBox::Information, "TALVORA", QString("A long report. ").repeated(40), QMessageBox::Ok, &f);
    box.show();
    QApplication::processEvents();
    expectPlaced(box);
    box.close();
}

TEST_F(ToolWindowTest, OnALargeAndOnASmallScreen) {
    for (const QSize size : {QSize(1280, 1024), QSize(800, 600)}) {
        SCOPED_TRACE(std::to_string(size.width()) + "x" + std::to_string(size.height()));
        const QString config = QString::fromStdString(tempPath("screen.json"));
        QFile file(config);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(QStringLiteral(R"({"screens": [{"name": "screen", "x": 0, "y": 0, "width": %1, "height": %2}]})")
                       .arg(size.width())
                       .arg(size.height())
                       .toUtf8());
        file.close();
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen:configfile=" + config);
        env.insert(kScreenVariable, QStringLiteral("%1x%2").arg(size.width()).arg(size.height()));
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start(QCoreApplication::applicationFilePath(),
                    {"--gtest_filter=ToolWindowTest.TheTextureMapEditorAndAMessageBoxOpenOverTheViewsOnTheScreen"});
        ASSERT_TRUE(child.waitForFinished(240000));
        const QString output = QString::fromUtf8(child.readAll());
        EXPECT_EQ(child.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
        EXPECT_TRUE(output.contains("[  PASSED  ] 1 test")) << output.toStdString();
    }
}

}  // namespace
