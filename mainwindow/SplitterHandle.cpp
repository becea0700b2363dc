#include "SplitterHandle.h"

#include "Twips.h"

#include <QMouseEvent>

namespace {

void report(const std::function<void(double, double)>& to, const QMouseEvent* event) {
    if (!to) return;
    const QPointF p = event->position();
    to(Twips::fromPixels(static_cast<int>(p.x())), Twips::fromPixels(static_cast<int>(p.y())));
}

}  // namespace

SplitterHandle::SplitterHandle(const QString& name, Qt::CursorShape shape, QWidget* parent) : QWidget(parent) {
    setObjectName(name);
    setCursor(shape);
}

void SplitterHandle::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    pressed_ = true;
    report(MouseDown, event);
}

void SplitterHandle::mouseMoveEvent(QMouseEvent* event) {
    if (pressed_) report(MouseMove, event);
}

void SplitterHandle::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !pressed_) return;
    pressed_ = false;
    report(MouseUp, event);
}
