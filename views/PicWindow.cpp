#include "PicWindow.h"

#include "ombrel.h"
#include "ombrel_loader.h"
#include "platform/error_trap.h"
#include "platform/input_filter.h"
#include "platform/pointer_pictures.h"
#include "platform/virtual_keys.h"

#include <QDropEvent>
#include <QKeyEvent>
#include <QMetaObject>
#include <QMouseEvent>
#include <QPainter>

#include <map>

namespace {

std::map<int32_t, PicWindow*>& surfaces() {
    static std::map<int32_t, PicWindow*> registry;
    return registry;
}

// The engine's present call for whichever view it just finished.
void presentSurface(int32_t surface, void*) {
    if (PicWindow* view = PicWindow::FromSurface(surface)) view->Present();
}

}  // namespace

PicWindow::PicWindow(int index, QWidget* parent) : QWidget(parent), index_(index) {
    setObjectName(QString("picWindow%1").arg(index));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAcceptDrops(true);
    // The main loop zooms the active view by the notches made over a view.
    platform::queueWheelNotchesOver(*this);
    allocate();
}

PicWindow::~PicWindow() {
    if (buffer_.Surface() != 0) surfaces().erase(buffer_.Surface());
}

PicWindow* PicWindow::FromSurface(int32_t surface) {
    const auto it = surfaces().find(surface);
    return it == surfaces().end() ? nullptr : it->second;
}

int PicWindow::Area() const { return isVisible() ? width() * height() : 0; }

void PicWindow::allocate() {
    const qreal ratio = devicePixelRatioF();
    // Area tells a collapsed view; the buffer keeps at least one pixel.
    buffer_.Resize(static_cast<int>(width() * ratio), static_cast<int>(height() * ratio), ratio);
    transient_.resize(buffer_.Image().width(), buffer_.Image().height());
    stale_ = true;
    if (!ombrel_loader::isLoaded()) return;
    // Set on every view: the engine may have been reopened since the last one.
    OMBREL_ext_set_present_callback(&presentSurface, nullptr);
    const int32_t previous = buffer_.Surface();
    const int32_t surface = buffer_.Attach();
    if (surface == previous) return;
    if (previous != 0) surfaces().erase(previous);
    if (surface != 0) surfaces()[surface] = this;
}

void PicWindow::SetMousePointer(int kind) {
    mousePointer_ = kind;
    applyPointer();
}

void PicWindow::SetMouseIcon(const std::string& key) {
    if (!platform::hasPointerPicture(key)) throw platform::EditorError("Element not found");
    mouseIcon_ = key;
    applyPointer();
}

void PicWindow::applyPointer() { platform::setWidgetPointer(*this, mousePointer_, mouseIcon_); }

void PicWindow::ClearPicture() {
    buffer_.Clear();
    transient_.clear();
    update();
}

void PicWindow::Present() { update(); }

void PicWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, buffer_.Image());
    transient_.paintOver(painter);
}

void PicWindow::resizeEvent(QResizeEvent*) {
    allocate();
    if (paintQueued_ || !PaintRequested) return;
    // Once per burst of resizes, after the layout has settled.
    paintQueued_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            paintQueued_ = false;
            if (stale_ && PaintRequested) PaintRequested(index_);
        },
        Qt::QueuedConnection);
}

void PicWindow::mousePressEvent(QMouseEvent* event) {
    if (MouseDown)
        MouseDown(index_, platform::mouseButtonCode(event->button()), platform::shiftCode(event->modifiers().toInt()),
                  event->position().toPoint().x(), event->position().toPoint().y());
}

void PicWindow::mouseMoveEvent(QMouseEvent* event) {
    if (MouseMove)
        MouseMove(index_, platform::mouseButtonCode(event->buttons().toInt()),
                  platform::shiftCode(event->modifiers().toInt()), event->position().toPoint().x(),
                  event->position().toPoint().y());
}

void PicWindow::mouseReleaseEvent(QMouseEvent* event) {
    if (MouseUp)
        MouseUp(index_, platform::mouseButtonCode(event->button()), platform::shiftCode(event->modifiers().toInt()),
                event->position().toPoint().x(), event->position().toPoint().y());
}

void PicWindow::keyPressEvent(QKeyEvent* event) {
    // The main window has run the shortcut already; a press passed on to the
    // parents would be counted as pressed again by the key state.
    event->accept();
}

void PicWindow::dragEnterEvent(QDragEnterEvent* event) {
    // Entering is answered like any move over the view.
    dragMoveEvent(event);
}

void PicWindow::dragMoveEvent(QDragMoveEvent* event) {
    int effect = 0;
    if (DragOver) DragOver(index_, event->mimeData(), effect);
    if (effect == 0) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void PicWindow::dropEvent(QDropEvent* event) {
    int effect = 1;
    const QPoint p = event->position().toPoint();
    if (DragDrop)
        DragDrop(index_, event->mimeData(), effect, platform::mouseButtonCode(event->buttons().toInt()),
                 platform::shiftCode(event->modifiers().toInt()), p.x(), p.y());
    if (effect == 0) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
}
