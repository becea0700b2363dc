// The main toolbar: tool buttons and their pointers, the release over a tool
// button that opens the numeric transform dialog, and the commands that need a
// world or a suitable selection.
#include "EditorFixture.h"

#include "core/Camera.h"
#include "core/Globals.h"
#include "transform/frmTransformParameters.h"
#include "mainwindow/Twips.h"
#include "views/PicWindow.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>

namespace {

using ToolbarTest = EditorFixture;

const char* kToolKeys[] = {"Select", "Move", "Rotate", "Scale", "Pan", "Revolve", "Zoom Camera", "Move Camera",
                           "Roll Camera"};

QPoint centreOf(Form1& f, const char* key) {
    return f.Toolbar1->widgetForAction(f.Toolbar1_Button(key))->geometry().center();
}

// A press and release of a mouse button over a toolbar button, as the user
// makes them, and what they set going.
void clickButton(Form1& f, const char* key, Qt::MouseButton button) {
    QWidget* w = f.Toolbar1->widgetForAction(f.Toolbar1_Button(key));
    const QPointF at = QRectF(w->rect()).center();
    const QPointF global = w->mapToGlobal(at);
    QMouseEvent press(QEvent::MouseButtonPress, at, global, button, button, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, global, button, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &release);
    QApplication::processEvents();
}

}  // namespace

TEST_F(ToolbarTest, EachToolButtonSetsItsToolAndThePointerOfEveryView) {
    Form1& f = StartEditor();
    const char* pointers[] = {"Select", "Pointer", "Pointer", "Pointer", "Pan", "Revolve", "Zoom", "Move Camera",
                              "Roll Camera"};
    for (int mode = 8; mode >= 0; --mode) {
        f.Toolbar1_ButtonClick(QString(kToolKeys[mode]).toLower().toStdString());
        EXPECT_EQ(Globals::CurrToolMode, mode);
        for (PicWindow* view : f.picWindow) {
            EXPECT_EQ(view->MousePointer(), 99);
            EXPECT_EQ(view->MouseIcon(), pointers[mode]);
        }
    }
}

TEST_F(ToolbarTest, SetToolModePressesExactlyTheToolsButton) {
    Form1& f = StartEditor();
    f.picWinSetMousePtr("Pan");
    for (int32_t mode : {2, 7, 99}) {
        f.SetToolMode(mode);
        EXPECT_EQ(Globals::CurrToolMode, mode);
        for (int i = 0; i < 9; ++i) EXPECT_EQ(f.ToolbarButtonValue(kToolKeys[i]), i == mode ? 1 : 0) << mode << i;
        // The pointers are the caller's business.
        EXPECT_EQ(f.picWindow[0]->MouseIcon(), "Pan");
    }
}

TEST_F(ToolbarTest, AReleaseOverTheCurrentToolsButtonOpensTheNumericDialogForASuitableSelection) {
    Form1& f = StartEditor();
    const int32_t group = OpenSmallWorld();
    QApplication::processEvents();
    std::string caption;
    platform_.prompts.answerWindow<frmTransformParameters>(
        [&](frmTransformParameters& dialog) { caption = dialog.windowTitle().toStdString(); });
    struct Case {
        int32_t tool;
        int32_t kind;
        const char* over;
        int button;
        const char* opens;  // "" = nothing
    };
    const Case cases[] = {
        {ToolScale, SelCamera, "Scale", 1, ""},          {ToolScale, SelGroup, "Rotate", 1, ""},
        {ToolRevolve, SelGroup, "Revolve", 1, ""},       {ToolScale, SelMultiple, "Scale", 1, ""},
        {ToolScale, SelGroup, "Scale", 1, "Scale Transform"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.over);
        Globals::CurrToolMode = c.tool;
        Globals::CurrSelEntityType = c.kind;
        Globals::CurrSelEntityHandle = c.kind == SelGroup ? group : 0;
        const QPoint at = centreOf(f, c.over);
        f.Toolbar1_MouseUp(c.button, 0, at.x(), at.y());
        EXPECT_EQ(caption, c.opens);
    }
    EXPECT_EQ(platform_.prompts.pendingAnswers(), 0u);
}

TEST_F(ToolbarTest, CommandsThatNeedAWorldOrAGroupDoNothingWithoutThem) {
    Form1& f = StartEditor();
    int shown = 0;
    f.ShowAtmosphereWindow = [&] { ++shown; };
    f.ShowDuplicateDialog = [&] { ++shown; };
    f.Toolbar1_ButtonClick("atmosphere");
    f.Toolbar1_ButtonClick("duplicate");
    EXPECT_EQ(shown, 0);
    OpenSmallWorld();
    Globals::CurrSelEntityType = SelCamera;
    f.Toolbar1_ButtonClick("duplicate");
    EXPECT_EQ(shown, 0);
    f.Toolbar1_ButtonClick("atmosphere");
    Globals::CurrSelEntityType = SelMultiple;
    f.Toolbar1_ButtonClick("duplicate");
    EXPECT_EQ(shown, 2);
}

TEST_F(ToolbarTest, ZoomExtentsAllWithAMaximisedViewMovesOnlyThatView) {
    Form1& f = StartEditor();
    OpenSmallWorld();
    QApplication::processEvents();
    f.PicBoxFocused = 1;
    f.ToggleWindowMinMax();
    QApplication::processEvents();
    double before[4];
    for (int i = 0; i < 4; ++i) before[i] = Globals::ViewCams[i]->dblViewingDistance;
    f.Toolbar1_ButtonClick("zoom extents all");
    for (int i = 0; i < 4; ++i) {
        if (i == 1)
            EXPECT_NE(Globals::ViewCams[i]->dblViewingDistance, before[i]);
        else
            EXPECT_EQ(Globals::ViewCams[i]->dblViewingDistance, before[i]) << i;
    }
}

// The release over a tool's button belongs to the tool chosen before the click:
// a first click chooses the tool, a second on the same button opens its dialog.
TEST_F(ToolbarTest, TheButtonOfTheCurrentToolOpensTheNumericDialog) {
    Form1& f = StartEditor();
    const int32_t group = OpenSmallWorld();
    QApplication::processEvents();
    Globals::CurrSelEntityType = SelGroup;
    Globals::CurrSelEntityHandle = group;
    std::vector<std::string> opened;
    auto expectDialog = [&] {
        platform_.prompts.answerWindow<frmTransformParameters>(
            [&](frmTransformParameters& d) { opened.push_back(d.windowTitle().toStdString()); });
    };
    clickButton(f, "Move", Qt::LeftButton);  // from Select: chooses Move only
    EXPECT_EQ(Globals::CurrToolMode, ToolMove);
    EXPECT_TRUE(opened.empty());
    expectDialog();
    clickButton(f, "Move", Qt::LeftButton);
    EXPECT_EQ(opened, std::vector<std::string>{"Move Transform"});
    clickButton(f, "Rotate", Qt::LeftButton);  // another tool: chosen, nothing opens
    EXPECT_EQ(Globals::CurrToolMode, ToolRotate);
    EXPECT_EQ(opened.size(), 1u);
    EXPECT_EQ(platform_.prompts.pendingAnswers(), 0u);
}

// The right button reaches the toolbar: no menu of its own comes up, and its
// release over the current tool's button opens the dialog for several entities.
TEST_F(ToolbarTest, TheRightButtonOpensTheDialogForAMultipleSelectionAndNoBuiltInMenu) {
    Form1& f = StartEditor();
    OpenSmallWorld();
    QApplication::processEvents();
    f.show();
    QApplication::processEvents();
    int menus = 0;
    // A menu would run its own loop; close it from there and count it.
    auto closeMenus = [&] {
        QTimer::singleShot(0, [&] {
            if (QWidget* popup = QApplication::activePopupWidget()) {
                ++menus;
                popup->close();
            }
        });
    };
    for (QWidget* w : {static_cast<QWidget*>(f.Toolbar1), static_cast<QWidget*>(f.StatusBar1),
                       static_cast<QWidget*>(f.tabWorkspace)}) {
        SCOPED_TRACE(w->objectName().toStdString());
        closeMenus();
        const QPoint at = w->rect().center();
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, w->mapToGlobal(at));
        QApplication::sendEvent(w, &event);
        QApplication::processEvents();
        EXPECT_EQ(menus, 0);
    }
    EXPECT_TRUE(f.Toolbar1->isVisible());

    Globals::CurrSelEntityType = SelMultiple;
    f.SetToolMode(ToolRotate);
    std::string caption;
    platform_.prompts.answerWindow<frmTransformParameters>(
        [&](frmTransformParameters& d) { caption = d.windowTitle().toStdString(); });
    clickButton(f, "Rotate", Qt::RightButton);
    EXPECT_EQ(caption, "Rotate Transform");
    EXPECT_EQ(platform_.prompts.pendingAnswers(), 0u);
}

TEST_F(ToolbarTest, EveryButtonIsInSightAtTheDefaultAndTheLeastWidth) {
    Form1& f = StartEditor();
    struct Button {
        const char* key;
        const char* caption;
    };
    const Button buttons[] = {
        {"New", "New"},           {"Open", "Open"},
        {"Save", "Save"},         {"Select", "Select"},
        {"Move", "Move"},         {"Rotate", "Rotate"},
        {"Scale", "Scale"},       {"Pan", "Pan"},
        {"Revolve", "Revolve"},   {"Zoom Camera", "Zoom"},
        {"Move Camera", "Dolly"}, {"Roll Camera", "Roll"},
        {"Zoom Extents", "Fit"},  {"Zoom Extents All", "Fit All"},
        {"Min/Max Toggle", "Max"}, {"Center Obj In View", "Centre"},
        {"Wireframe", "Wire"},    {"3D Card Toggle", "3D Card"},
        {"Selection List", "List"}, {"Atmosphere", "Fog"},
        {"Duplicate", "Duplicate"}, {"Align", "Align"},
    };
    // The default width, then the least one the window allows.
    for (int width : {Twips::toPixels(15000), Twips::toPixels(Form1::MinWidth)}) {
        SCOPED_TRACE(width);
        f.resize(width, f.height());
        QApplication::processEvents();
        ASSERT_EQ(f.width(), width);
        int lastRight = -1;
        for (const Button& b : buttons) {
            SCOPED_TRACE(b.key);
            QAction* action = f.Toolbar1_Button(b.key);
            EXPECT_FALSE(action->icon().isNull());
            EXPECT_EQ(action->toolTip().toStdString(), b.caption);
            QWidget* button = f.Toolbar1->widgetForAction(action);
            ASSERT_NE(button, nullptr);
            EXPECT_TRUE(button->isVisible());
            EXPECT_TRUE(f.Toolbar1->rect().contains(button->geometry()));
            // In the toolbar's order, left to right.
            EXPECT_GT(button->geometry().left(), lastRight);
            lastRight = button->geometry().right();
        }
    }
}
