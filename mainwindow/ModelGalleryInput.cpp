#include "ModelGalleryInput.h"

#include <QApplication>
#include <QDragMoveEvent>
#include <QMouseEvent>
#include <QWidget>

namespace {

// Shift, Ctrl and Alt as 1, 2 and 4.
int shiftState(Qt::KeyboardModifiers modifiers) {
    return (modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0) |
           (modifiers & Qt::AltModifier ? 4 : 0);
}

int buttonNumber(Qt::MouseButton button) {
    switch (button) {
        case Qt::LeftButton: return 1;
        case Qt::RightButton: return 2;
        case Qt::MiddleButton: return 4;
        default: return 0;
    }
}

}  // namespace

ModelGalleryInput::ModelGalleryInput(QWidget* widget) : QObject(widget) { widget->installEventFilter(this); }

bool ModelGalleryInput::eventFilter(QObject*, QEvent* event) {
    switch (event->type()) {
        case QEvent::MouseButtonPress: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            pressed_ = mouse->button() == Qt::LeftButton;
            pressedAt_ = mouse->position().toPoint();
            if (MouseDown)
                MouseDown(buttonNumber(mouse->button()), shiftState(mouse->modifiers()), pressedAt_.x(), pressedAt_.y());
            break;
        }
        case QEvent::MouseMove: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (pressed_ && (mouse->buttons() & Qt::LeftButton) && DragStart &&
                (mouse->position().toPoint() - pressedAt_).manhattanLength() >= QApplication::startDragDistance()) {
                pressed_ = false;
                DragStart();
                return true;
            }
            break;
        }
        case QEvent::MouseButtonRelease: {
            pressed_ = false;
            auto* mouse = static_cast<QMouseEvent*>(event);
            const QPoint at = mouse->position().toPoint();
            if (MouseUp) MouseUp(buttonNumber(mouse->button()), shiftState(mouse->modifiers()), at.x(), at.y());
            break;
        }
        case QEvent::Paint:
            if (Paint) Paint();
            break;
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            if (!DragOver) break;
            auto* drag = static_cast<QDragMoveEvent*>(event);
            int effect = 0;
            DragOver(drag->mimeData(), effect);
            if (effect == 0) {
                drag->ignore();
            } else {
                drag->setDropAction(Qt::MoveAction);
                drag->accept();
            }
            return true;
        }
        case QEvent::Resize:
            if (Resize) Resize();
            break;
        default:
            break;
    }
    return false;
}
