// The main toolbar's buttons, the release over a tool button that opens the
// numeric transform dialog, and the view commands behind the buttons.
#include "Form1.h"

#include "core/Globals.h"
#include "platform/error_trap.h"
#include "transform/AlignMode.h"
#include "transform/frmTransformParameters.h"
#include "views/PicWindow.h"
#include "views/ZoomExtents.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMetaObject>
#include <QMouseEvent>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>

namespace {

struct ToolRow {
    const char* key;
    int32_t mode;
    const char* pointer;
};

constexpr ToolRow kToolRows[] = {
    {"select", ToolSelect, "Select"},        {"move", ToolMove, "Pointer"},
    {"rotate", ToolRotate, "Pointer"},       {"scale", ToolScale, "Pointer"},
    {"pan", ToolPan, "Pan"},                 {"revolve", ToolRevolve, "Revolve"},
    {"zoom camera", ToolZoomCamera, "Zoom"}, {"move camera", ToolMoveCamera, "Move Camera"},
    {"roll camera", ToolRollCamera, "Roll Camera"}};

// Releases over the toolbar's buttons. They are passed on once the button has
// handled its click, and only when the click kept the tool: the release belongs
// to the tool chosen before it, so a first click on a tool's button chooses the
// tool and a second opens its dialog.
class ToolbarReleaseWatcher : public QObject {
public:
    ToolbarReleaseWatcher(Form1* form, QToolBar* toolbar) : QObject(form), form_(form), toolbar_(toolbar) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::MouseButtonRelease) return false;
        auto* button = qobject_cast<QWidget*>(watched);
        if (!button) return false;
        const auto* e = static_cast<QMouseEvent*>(event);
        const QPoint at = button->mapTo(toolbar_, e->position().toPoint());
        const int which = e->button() == Qt::RightButton ? 2 : e->button() == Qt::MiddleButton ? 4 : 1;
        const int shift = (e->modifiers() & Qt::ShiftModifier ? 1 : 0) | (e->modifiers() & Qt::ControlModifier ? 2 : 0) |
                          (e->modifiers() & Qt::AltModifier ? 4 : 0);
        const int32_t toolBefore = Globals::CurrToolMode;
        QMetaObject::invokeMethod(
            form_,
            [form = form_, which, shift, at, toolBefore] {
                if (Globals::CurrToolMode != toolBefore) return;
                platform::runTrapped(form, [&] { form->Toolbar1_MouseUp(which, shift, at.x(), at.y()); });
            },
            Qt::QueuedConnection);
        return false;
    }

private:
    Form1* form_;
    QToolBar* toolbar_;
};

}  // namespace

void Form1::watchToolbarReleases() {
    auto* watcher = new ToolbarReleaseWatcher(this, Toolbar1);
    for (QAction* action : Toolbar1->actions())
        if (QWidget* button = Toolbar1->widgetForAction(action)) button->installEventFilter(watcher);
}

void Form1::Toolbar1_ButtonClick(const std::string& key) {
    // Any click here leaves the polygon cut tool.
    SetCutButtonValue(0);
    for (const ToolRow& row : kToolRows) {
        if (key != row.key) continue;
        // The toolbar keeps its tool buttons' pressed state itself; "Align" is
        // not one of them, and any tool leaves align mode.
        Globals::CurrToolMode = row.mode;
        SetToolbarButtonValue("Align", 0);
        picWinSetMousePtr(row.pointer);
        return;
    }
    if (key == "open")
        LoadWorldWithOpenDialog();
    else if (key == "3d card toggle")
        Toggle3DCard();
    else if (key == "wireframe")
        ToggleWireframe();
    else if (key == "min/max toggle")
        ToggleWindowMinMax();
    else if (key == "center obj in view")
        CenterObjInView();
    else if (key == "new")
        NewWorld();
    else if (key == "zoom extents")
        ZoomExtent(PicBoxFocused);
    else if (key == "zoom extents all")
        ZoomExtentAll();
    else if (key == "selection list") {
        if (ShowSelectByNameWindow) ShowSelectByNameWindow();
    } else if (key == "save")
        mnuSave_Click();
    else if (key == "atmosphere") {
        if (WorldLoaded && ShowAtmosphereWindow) ShowAtmosphereWindow();
    } else if (key == "duplicate")
        ShowDuplicateWindow();
    else if (key == "align")
        transform::EnterAlignMode();
}

void Form1::Toolbar1_MouseUp(int Button, int, float X, float Y) {
    static const char* keys[] = {nullptr, "Move", "Rotate", "Scale"};
    const int32_t tool = Globals::CurrToolMode;
    if (tool < ToolMove || tool > ToolScale) return;
    QWidget* button = Toolbar1->widgetForAction(Toolbar1_Button(keys[tool]));
    if (!button || !button->geometry().contains(static_cast<int>(X), static_cast<int>(Y))) return;
    if (!transform::TransformDialogQualifies(tool, Globals::CurrSelEntityType, Button)) return;
    transform::OpenTransformDialog(this, tool - ToolMove);
}

// ---- view commands

void Form1::ZoomExtent(int view) {
    const auto i = static_cast<std::size_t>(view);
    views::ZoomExtent(WorldLoaded, view, *picWindow.at(i), lblPicView.at(i)->text().toStdString());
}

void Form1::ZoomExtentAll() {
    if (ViewMaximized) {
        ZoomExtent(PicBoxFocused);
        return;
    }
    for (int i = 0; i < 4; ++i) ZoomExtent(i);
}

void Form1::CenterObjInView() {
    // Centring's polygon mode also takes texture editing whatever the sub-mode.
    views::CentreOn centre = views::CentreOn::Group;
    if (tabWorkspace->currentIndex() == 1) {
        const QString obj = cmbObj->currentText(), geom = cmbObjEditGeom->currentText();
        if (obj == "Edit Geometry" && geom == "Point")
            centre = views::CentreOn::SelectedPoints;
        else if ((obj == "Edit Geometry" && geom == "Polygon") || obj == "Edit Texture")
            centre = views::CentreOn::SelectedPolygons;
    }
    views::CenterObjInView(WorldLoaded, PicBoxFocused, centre);
}

void Form1::ShowDuplicateWindow() {
    const int32_t kind = Globals::CurrSelEntityType;
    if (!WorldLoaded || (kind != SelGroup && kind != SelMultiple)) return;
    if (ShowDuplicateDialog) ShowDuplicateDialog();
}
