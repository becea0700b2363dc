// Keyboard shortcuts. The main window sees every key press first and polls the
// live key state instead of reading the event: keys that act while held switch
// the tool again on every repeat, keys that act when newly pressed act once per
// press.
#include "Form1.h"

#include "formCreateTrack.h"

#include "core/Globals.h"
#include "platform/error_trap.h"
#include "platform/key_state.h"
#include "platform/virtual_keys.h"
#include "transform/AlignMode.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QWidget>

#include <algorithm>

namespace {

namespace vk = platform::vk;

bool held(int key) { return platform::GetAsyncKeyState(key) < 0; }
// Down now and pressed since this key was last polled.
bool newly(int key) { return static_cast<uint16_t>(platform::GetAsyncKeyState(key)) == 0x8001; }

// Hands every key press meant for the main window or one of its controls to
// Form_KeyDown before the control sees it.
class KeyPreview : public QObject {
public:
    explicit KeyPreview(Form1* form) : QObject(form), form_(form) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return false;
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget || widget->window() != form_) return false;
        // A press nobody takes travels up to the parents as the same event. A new
        // press may reuse the address, so only a strict ancestor counts.
        const bool propagated = event == lastEvent_ && lastReceiver_ && widget != lastReceiver_ &&
                                widget->isAncestorOf(lastReceiver_);
        lastEvent_ = event;
        lastReceiver_ = widget;
        if (propagated) return false;
        const auto* e = static_cast<QKeyEvent*>(event);
        const int shift = (e->modifiers() & Qt::ShiftModifier ? 1 : 0) | (e->modifiers() & Qt::ControlModifier ? 2 : 0) |
                          (e->modifiers() & Qt::AltModifier ? 4 : 0);
        platform::runTrapped(form_, [&] { form_->Form_KeyDown(e->key(), shift); });
        return false;
    }

private:
    Form1* form_;
    const QEvent* lastEvent_ = nullptr;
    QPointer<QWidget> lastReceiver_;
};

}  // namespace

void Form1::installKeyPreview() {
    keyPreview_ = new KeyPreview(this);
    qApp->installEventFilter(keyPreview_);
    // The shortcuts poll the key state, so the filter that keeps it must see each
    // press first: installing it again puts it in front.
    if (QObject* keyState = qApp->findChild<QObject*>("platformInputFilter", Qt::FindDirectChildrenOnly))
        qApp->installEventFilter(keyState);
}

void Form1::Form_KeyDown(int, int) {
    using Globals::NavSpeedFactor;
    // Every key press leaves the polygon cut tool; Esc ends custom track laying.
    // Both act even when no view has the focus.
    SetCutButtonValue(0);
    if (formCreateTrack::CustomTrkMode && held(vk::Escape)) {
        EndTrackCreation();
        UpdateCameras();
    }
    if (!PicBoxHasFocus) return;

    auto chooseTool = [this](int32_t mode, const char* pointer) {
        SetToolMode(mode);
        picWinSetMousePtr(pointer);
    };
    const bool ctrl = held(vk::Control), shift = held(vk::Shift), alt = held(vk::Menu);
    if (ctrl && shift) {
        if (newly('Z')) ZoomExtentAll();
        return;
    }
    if (ctrl && alt) {
        // The handlers themselves: a disabled menu item ignores its trigger, and
        // fetching into an empty editor is allowed.
        if (newly('F'))
            mnuFetch_Click();
        else if (newly('H'))
            mnuHold_Click();
        else if (newly('V')) {
            SetToolbarButtonValue("3D Card Toggle", ToolbarButtonValue("3D Card Toggle") == 1 ? 0 : 1);
            Toggle3DCard();
        } else if (newly('Z'))
            ZoomExtent(PicBoxFocused);
        return;
    }
    if (ctrl) return;
    if (shift) {
        if (held('1'))
            chooseTool(ToolMove, "Pointer");
        else if (held('2'))
            chooseTool(ToolRotate, "Pointer");
        else if (held('3'))
            chooseTool(ToolScale, "Pointer");
        else if (newly('Z')) {
            // Shift+Z is taken and does nothing.
        } else if (newly('C'))
            CenterObjInView();
        return;
    }
    if (alt) {
        if (newly('A')) {
            if (ShowAtmosphereWindow) ShowAtmosphereWindow();
        } else if (newly('S')) {
            if (ShowSelectByNameWindow) ShowSelectByNameWindow();
        } else if (newly('D'))
            ShowDuplicateWindow();
        else if (newly('L')) {
            SetToolbarButtonValue("Align", 1);
            transform::EnterAlignMode();
        }
        return;
    }
    if (newly(vk::F1 + 1))
        ToggleWireframe();
    else if (held('M'))
        chooseTool(ToolMoveCamera, "Move Camera");
    else if (held('Z'))
        chooseTool(ToolZoomCamera, "Zoom");
    else if (held('W'))
        ToggleWindowMinMax();
    else if (held('R'))
        chooseTool(ToolRevolve, "Revolve");
    else if (held('P'))
        chooseTool(ToolPan, "Pan");
    else if (held('S'))
        chooseTool(ToolSelect, formCreateTrack::CustomTrkMode ? "Cross hair" : "Select");
    else if (newly(vk::Delete))
        DeleteSelEntity();
    else if (newly(vk::Add))
        NavSpeedFactor *= 2;
    else if (newly(vk::Subtract))
        NavSpeedFactor /= 2;
    else if (newly(vk::Back)) {
        NewTrkPtCount = std::max(0.0, NewTrkPtCount - 1);
        UpdateCameras();
    }
}
