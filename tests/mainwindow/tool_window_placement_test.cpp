// The Texture Map Editor and the program's other windows open wholly on the
// screen, over the views and not over the workspace panel, on a large and on a
// small screen; a position that has gone off the screen is not used again.
#include "EditorFixture.h"
#include "ScreenProcess.h"

#include "core/Globals.h"
#include "geometry/formDuplicate.h"
#include "mainwindow/formAbout.h"
#include "mainwindow/formAnimation.h"
#include "mainwindow/formAtmsEffect.h"
#include "mainwindow/formCamChaseParams.h"
#include "mainwindow/formCreateTrack.h"
#include "mainwindow/formError.h"
#include "mainwindow/formTemplate.h"
#include "mainwindow/formTip.h"
#include "mainwindow/frmLightMapParameterInput.h"
#include "scene/formGrpProperties.h"
#include "scene/formSelectionWindow.h"
#include "textures/formTrnsClrPcr.h"
#include "textures/frmTextureMapping.h"
#include "transform/formAlign.h"
#include "transform/frmTransformParameters.h"

#include <QApplication>
#include <QColorDialog>
#include <QFrame>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>

#include <functional>
#include <memory>
#include <string>

namespace {

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
        box_ = OpenSmallWorld();
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

    int32_t box_ = 0;

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
    if (const QString asked = AskedScreenSize(); !asked.isEmpty()) {
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

// Runs on whatever screen the program has; the test below runs it again on each size.
TEST_F(ToolWindowTest, EveryDialogOfTheEditorOpensRightOfThePanel) {
    if (const QString asked = AskedScreenSize(); !asked.isEmpty()) {
        ASSERT_EQ(QStringLiteral("%1x%2").arg(screen().width()).arg(screen().height()), asked);
    }
    Form1& f = startFillingTheScreen();
    auto transform = [&](int32_t type, int32_t tool, const char* caption) {
        Globals::CurrSelEntityType = SelGroup;
        Globals::CurrSelEntityHandle = box_;
        Globals::CurrToolMode = tool;
        auto dialog = std::make_unique<frmTransformParameters>(&f);
        dialog->TransformType = type;
        dialog->setWindowTitle(caption);
        return dialog;
    };
    using Make = std::function<std::unique_ptr<QDialog>()>;
    const struct {
        const char* name;
        Make make;
    } dialogs[] = {
        {"Move Transform", [&] { return transform(frmTransformParameters::MoveTransform, ToolMove, "Move Transform"); }},
        {"Rotate Transform",
         [&] { return transform(frmTransformParameters::RotateTransform, ToolRotate, "Rotate Transform"); }},
        {"Scale Transform",
         [&] { return transform(frmTransformParameters::ScaleTransform, ToolScale, "Scale Transform"); }},
        {"align", [&] { return std::make_unique<formAlign>(&f); }},
        {"duplicate", [&] { return std::make_unique<formDuplicate>(&f); }},
        {"group properties", [&] { return std::make_unique<formGrpProperties>(&f); }},
        {"selection window", [&] { return std::make_unique<formSelectionWindow>(&f); }},
        {"create track", [&] { return std::make_unique<formCreateTrack>([](auto&&...) {}, &f); }},
        {"tip", [&] { return std::make_unique<formTip>(&f); }},
        {"about", [&] { return std::make_unique<formAbout>(&f); }},
        {"light map parameters", [&] { return std::make_unique<frmLightMapParameterInput>(&f); }},
        {"template", [&] { return std::make_unique<formTemplate>([](const std::string&) {}, [] {}, &f); }},
        {"fog", [&] { return std::make_unique<formAtmsEffect>([](int32_t) { return std::nullopt; }, &f); }},
        {"camera chase", [&] { return std::make_unique<formCamChaseParams>([] {}, &f); }},
        {"transparent colour", [&] { return std::make_unique<textures::formTrnsClrPcr>(0, &f); }},
        {"animation", [&] { return std::make_unique<formAnimation>(0, 0, *f.trwTextures, &f); }},
    };
    for (const auto& d : dialogs) {
        SCOPED_TRACE(d.name);
        std::unique_ptr<QDialog> dialog = d.make();
        dialog->show();
        QApplication::processEvents();
        ASSERT_TRUE(dialog->isVisible());
        expectPlaced(*dialog);
        dialog->close();
        QApplication::processEvents();
    }
    bool errorShown = false;
    platform_.prompts
        .answerWindow<formError>([&](formError& w) {
            errorShown = true;
            expectPlaced(w);
            w.close();
        })
        .answer(platform::MsgResult::No);
    formError::Instance().ShowModal(&f);
    EXPECT_TRUE(errorShown);

    // A standard dialog that cannot be made narrower than the room keeps to the
    // screen's right edge, over as little of the panel as the screen allows.
    QColorDialog colour(&f);
    colour.setOption(QColorDialog::DontUseNativeDialog);
    colour.show();
    QApplication::processEvents();
    const QRect frame = colour.frameGeometry();
    EXPECT_TRUE(screen().contains(frame)) << text(frame);
    if (frame.width() > screen().right() + 1 - globalRect(*f.frmPicWins).left()) {
        EXPECT_EQ(frame.right(), screen().right()) << text(frame);
    } else {
        expectPlaced(colour);
    }
    colour.close();
}

TEST_F(ToolWindowTest, OnALargeAndOnASmallScreen) {
    for (const QSize size : {QSize(1280, 1024), QSize(800, 600)})
        ExpectPassesOnScreen(size, "ToolWindowTest.TheTextureMapEditorAndAMessageBoxOpenOverTheViewsOnTheScreen",
                             tempPath(""));
    // The tests' own screen is a large one.
    ExpectPassesOnScreen({800, 600}, "ToolWindowTest.EveryDialogOfTheEditorOpensRightOfThePanel", tempPath(""));
}

}  // namespace
