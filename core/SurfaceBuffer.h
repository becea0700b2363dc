// An RGBA picture the editor draws into through a device context and the engine
// renders into through a surface over the same pixels. The views and the
// texture-coordinate editor each hold one.
#pragma once

#include "platform/device_context.h"

#include <QImage>

#include <cstdint>
#include <memory>

class SurfaceBuffer {
public:
    SurfaceBuffer() = default;
    SurfaceBuffer(const SurfaceBuffer&) = delete;
    SurfaceBuffer& operator=(const SurfaceBuffer&) = delete;
    ~SurfaceBuffer();

    // A new black picture of w x h pixels (at least one each; the engine needs
    // a pixel) and a device context over it. The surface must be attached again.
    void Resize(int w, int h, double devicePixelRatio = 1.0);
    // Attaches the engine's surface to the pixels, or re-attaches it after they
    // moved or the engine was reopened; 0 while the engine is not there.
    int32_t Attach();
    int32_t Surface() const { return surface_; }

    const QImage& Image() const { return image_; }
    platform::DeviceContext& DC() { return *dc_; }
    void Clear() { image_.fill(Qt::black); }

private:
    QImage image_;
    std::unique_ptr<platform::DeviceContext> dc_;
    int32_t surface_ = 0;
};
