#include "TexturePicture.h"

#include "ombrel.h"
#include "ombrel_loader.h"
#include "platform/error_trap.h"
#include "platform/pointer_pictures.h"
#include "platform/virtual_keys.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

TexturePicture::TexturePicture(QWidget* parent) : QWidget(parent) {
    setObjectName("PicMain");
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::ClickFocus);
    allocate();
}

TexturePicture::~TexturePicture() {
    if (surface_ != 0 && ombrel_loader::isLoaded()) OMBREL_ext_surface_destroy(surface_);
}

void TexturePicture::allocate() {
    // The engine needs at least one pixel; the editor reads the widget's own size.
    const int w = std::max(1, width()), h = std::max(1, height());
    buffer_ = QImage(w, h, QImage::Format_RGBA8888);
    buffer_.fill(Qt::black);
    dc_ = std::make_unique<platform::DeviceContext>(buffer_.bits(), w, h, static_cast<int>(buffer_.bytesPerLine()));
}

int32_t TexturePicture::hDC() {
    if (!ombrel_loader::isLoaded()) return 0;
    const int32_t stride = static_cast<int32_t>(buffer_.bytesPerLine());
    // The buffer moves when it is resized, and the engine may have been reopened.
    if (surface_ != 0 &&
        OMBREL_ext_surface_reattach(surface_, buffer_.bits(), buffer_.width(), buffer_.height(), stride) == 0)
        return surface_;
    surface_ = OMBREL_ext_surface_attach(buffer_.bits(), buffer_.width(), buffer_.height(), stride);
    return surface_;
}

void TexturePicture::ClearPicture() {
    buffer_.fill(Qt::black);
    update();
}

void TexturePicture::SetMousePointer(int kind) {
    mousePointer_ = kind;
    platform::setWidgetPointer(*this, mousePointer_, mouseIcon_);
}

void TexturePicture::SetMouseIcon(const std::string& name) {
    if (!platform::hasPointerPicture(name)) throw platform::EditorError("Element not found");
    mouseIcon_ = name;
    platform::setWidgetPointer(*this, mousePointer_, mouseIcon_);
}

void TexturePicture::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, buffer_);
}

void TexturePicture::resizeEvent(QResizeEvent*) {
    allocate();
    if (Resized) Resized();
}

void TexturePicture::mousePressEvent(QMouseEvent* event) {
    if (MouseDown)
        MouseDown(platform::mouseButtonCode(event->button()), platform::shiftCode(event->modifiers().toInt()),
                  static_cast<float>(event->position().x()), static_cast<float>(event->position().y()));
}

void TexturePicture::mouseMoveEvent(QMouseEvent* event) {
    if (MouseMove)
        MouseMove(platform::mouseButtonCode(event->buttons().toInt()), platform::shiftCode(event->modifiers().toInt()),
                  static_cast<float>(event->position().x()), static_cast<float>(event->position().y()));
}

void TexturePicture::mouseReleaseEvent(QMouseEvent* event) {
    if (MouseUp)
        MouseUp(platform::mouseButtonCode(event->button()), platform::shiftCode(event->modifiers().toInt()),
                static_cast<float>(event->position().x()), static_cast<float>(event->position().y()));
}
