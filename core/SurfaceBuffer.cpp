#include "SurfaceBuffer.h"

#include "ombrel_loader.h"
#include "ombrel.h"

#include <algorithm>

SurfaceBuffer::~SurfaceBuffer() {
    if (surface_ != 0 && ombrel_loader::isLoaded()) OMBREL_ext_surface_destroy(surface_);
}

void SurfaceBuffer::Resize(int w, int h, double devicePixelRatio) {
    w = std::max(1, w);
    h = std::max(1, h);
    image_ = QImage(w, h, QImage::Format_RGBA8888);
    image_.setDevicePixelRatio(devicePixelRatio);
    image_.fill(Qt::black);
    dc_ = std::make_unique<platform::DeviceContext>(image_.bits(), w, h, static_cast<int>(image_.bytesPerLine()));
}

int32_t SurfaceBuffer::Attach() {
    if (!ombrel_loader::isLoaded()) return 0;
    const int32_t stride = static_cast<int32_t>(image_.bytesPerLine());
    if (surface_ != 0 &&
        OMBREL_ext_surface_reattach(surface_, image_.bits(), image_.width(), image_.height(), stride) == 0)
        return surface_;
    surface_ = OMBREL_ext_surface_attach(image_.bits(), image_.width(), image_.height(), stride);
    return surface_;
}
