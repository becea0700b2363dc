#include "device_context.h"

#include "gdi.h"

#include <QImage>
#include <QPainter>

namespace platform {

DeviceContext::DeviceContext(uint8_t* rgba, int width, int height, int strideBytes)
    : pen(GetStockObject(BLACK_PEN)),
      brush(GetStockObject(NULL_BRUSH)),
      image_(std::make_unique<QImage>(rgba, width, height, strideBytes, QImage::Format_RGBA8888)) {}

DeviceContext::DeviceContext(int width, int height)
    : pen(GetStockObject(BLACK_PEN)),
      brush(GetStockObject(NULL_BRUSH)),
      image_(std::make_unique<QImage>(width, height, QImage::Format_ARGB32_Premultiplied)) {
    image_->fill(Qt::transparent);
}

DeviceContext::~DeviceContext() = default;
DeviceContext::DeviceContext(DeviceContext&&) noexcept = default;
DeviceContext& DeviceContext::operator=(DeviceContext&&) noexcept = default;

int DeviceContext::width() const { return image_->width(); }
int DeviceContext::height() const { return image_->height(); }
QImage& DeviceContext::image() { return *image_; }
const QImage& DeviceContext::image() const { return *image_; }

void TransientLayer::resize(int width, int height) { dc_ = DeviceContext(width, height); }

void TransientLayer::clear() { dc_.image().fill(Qt::transparent); }

void TransientLayer::paintOver(QPainter& painter) const { painter.drawImage(0, 0, dc_.image()); }

}  // namespace platform
