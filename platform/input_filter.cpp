#include "input_filter.h"

#include "cursor.h"
#include "key_state.h"
#include "virtual_keys.h"
#include "wheel_queue.h"

#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QWidget>
#include <QWindow>

namespace platform {
namespace {

constexpr const char* kQueuesWheel = "platformQueuesWheel";

void followMouse(const QMouseEvent& e) {
    const QPoint p = e.globalPosition().toPoint();
    cursor().follow({p.x(), p.y()});
}

// A release can be lost (Qt drops the input of a window that a modal one blocks),
// so every event from the window system puts Shift, Ctrl and Alt back in step
// with the keyboard as it is now. Events a program sends itself carry no such
// news and leave them alone.
void followModifiers(const QEvent& event) {
    if (!event.spontaneous()) return;
    const Qt::KeyboardModifiers live = QGuiApplication::queryKeyboardModifiers();
    setKeyHeld(vk::Shift, live.testFlag(Qt::ShiftModifier));
    setKeyHeld(vk::Control, live.testFlag(Qt::ControlModifier));
    setKeyHeld(vk::Menu, live.testFlag(Qt::AltModifier));
}

bool queuesWheel(const QObject* watched) {
    for (auto* w = qobject_cast<const QWidget*>(watched); w; w = w->parentWidget())
        if (w->property(kQueuesWheel).toBool()) return true;
    return false;
}

}  // namespace

// A key press or wheel event nobody accepts travels up to the parents as the same
// event; it is one press or notch all the same. Strict ancestors only: the next
// event may reuse the address of the last one, and on the same widget it is new.
bool InputFilter::PropagationGuard::isPropagated(QObject* watched, const QEvent* event) {
    auto* widget = qobject_cast<QWidget*>(watched);
    const bool propagated =
        event == last_ && widget && receiver_ && widget != receiver_ && widget->isAncestorOf(receiver_);
    last_ = event;
    receiver_ = widget;
    return propagated;
}

bool InputFilter::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress: {
        if (keys_.isPropagated(watched, event)) break;
        followModifiers(*event);
        auto* e = static_cast<QKeyEvent*>(event);
        const int key = virtualKeyFromQt(e->key(), e->modifiers() & Qt::KeypadModifier);
        // A held key repeats, yet counts as pressed once.
        if (e->isAutoRepeat())
            setKeyHeld(key, true);
        else
            noteKeyDown(key);
        break;
    }
    case QEvent::KeyRelease: {
        followModifiers(*event);
        auto* e = static_cast<QKeyEvent*>(event);
        if (!e->isAutoRepeat()) noteKeyUp(virtualKeyFromQt(e->key(), e->modifiers() & Qt::KeypadModifier));
        break;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        followModifiers(*event);
        auto* e = static_cast<QMouseEvent*>(event);
        noteKeyDown(virtualKeyFromMouseButton(e->button()));
        followMouse(*e);
        break;
    }
    case QEvent::MouseButtonRelease: {
        followModifiers(*event);
        auto* e = static_cast<QMouseEvent*>(event);
        noteKeyUp(virtualKeyFromMouseButton(e->button()));
        followMouse(*e);
        break;
    }
    case QEvent::MouseMove:
        followModifiers(*event);
        followMouse(*static_cast<QMouseEvent*>(event));
        break;
    case QEvent::Wheel:
        // Widgets get the event from their window as a copy; count it there only.
        // Only notches over the widgets that asked go to the queue; the others
        // scroll what they are over and nothing else.
        if (!qobject_cast<QWindow*>(watched) && !wheels_.isPropagated(watched, event) && queuesWheel(watched))
            pushWheelDelta(static_cast<QWheelEvent*>(event)->angleDelta().y());
        break;
    case QEvent::WindowBlocked:
    case QEvent::WindowUnblocked:
        // A modal window opens or closes: what was held may be let go meanwhile
        // without the blocked window hearing of it.
        clearKeyState();
        break;
    case QEvent::ApplicationDeactivate:
        clearKeyState();
        break;
    case QEvent::ApplicationStateChange:
        if (static_cast<QApplicationStateChangeEvent*>(event)->applicationState() != Qt::ApplicationActive)
            clearKeyState();
        break;
    default:
        break;
    }
    return false;
}

void queueWheelNotchesOver(QWidget& widget) { widget.setProperty(kQueuesWheel, true); }

void installInputFilter(QCoreApplication& app) {
    const char* name = "platformInputFilter";
    if (app.findChild<QObject*>(name, Qt::FindDirectChildrenOnly)) return;
    auto* filter = new InputFilter(&app);
    filter->setObjectName(name);
    app.installEventFilter(filter);
}

}  // namespace platform
