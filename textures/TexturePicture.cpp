#include "TexturePicture.h"

#include "platform/error_trap.h"
#include "platform/pointer_pictures.h"
#include "platform/virtual_keys.h"

#include <QMouseEvent>
#include <QPainter>

TexturePicture::TexturePicture(QWidget* parent) : QWidget(parent) {
    setObjectName("PicMain");
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::ClickFocus);
    allocate();
}

TexturePicture::~TexturePicture() = default;

// The editor reads the widget's own size.
void TexturePicture::allocate() { buffer_.Resize(width(), height()); }

void TexturePicture::ClearPicture() {
    buffer_.Clear();
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
    painter.drawImage(0, 0, buffer_.Image());
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
