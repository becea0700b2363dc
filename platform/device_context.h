// A device context over a pixel buffer: the RGBA buffer the engine rendered into
// (bytes R, G, B, A, rows top-down, any stride), or an image of its own for the
// transient layer a view paints over its buffer. The drawing calls are in gdi.h.
#pragma once

#include <cstdint>
#include <memory>

class QImage;
class QPainter;

namespace platform {

using GdiObject = int32_t;  // a pen or brush handle; 0 = none

struct PixelPoint {
    int32_t x = 0;
    int32_t y = 0;
};

inline constexpr int TRANSPARENT = 1, OPAQUE = 2;  // background modes for text

class DeviceContext {
public:
    // Draws straight into the caller's buffer, which must outlive the context.
    DeviceContext(uint8_t* rgba, int width, int height, int strideBytes);
    // Owns a fully transparent image of this size.
    DeviceContext(int width, int height);
    ~DeviceContext();
    DeviceContext(DeviceContext&&) noexcept;
    DeviceContext& operator=(DeviceContext&&) noexcept;

    int width() const;
    int height() const;
    QImage& image();
    const QImage& image() const;

    // What GDI keeps per context.
    GdiObject pen;
    GdiObject brush;
    int32_t textColour = 0;
    int32_t backColour = 0xFFFFFF;
    int backMode = OPAQUE;
    PixelPoint position;
    // Drawing calls made on it: shapes drawn together count once, so a redraw's
    // cost in calls can be read back.
    uint64_t drawingCalls = 0;

private:
    std::unique_ptr<QImage> image_;
};

// What is drawn "straight on the view" without a render: the view paints it over
// its buffer and clears it at the next render.
class TransientLayer {
public:
    // Resizing clears.
    void resize(int width, int height);
    void clear();
    DeviceContext& dc() { return dc_; }
    void paintOver(QPainter& painter) const;

private:
    DeviceContext dc_{0, 0};
};

}  // namespace platform
