// The drawing surface of the texture-coordinate editor (PicMain): a widget that
// shows an RGBA buffer the editor draws into through a device context and the
// engine through a surface. An expose only shows the buffer; the editor draws.
#pragma once

#include "core/SurfaceBuffer.h"

#include <QImage>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class TexturePicture : public QWidget {
public:
    explicit TexturePicture(QWidget* parent = nullptr);
    ~TexturePicture() override;

    platform::DeviceContext& dc() { return buffer_.DC(); }
    const QImage& buffer() const { return buffer_.Image(); }
    // The engine surface over the buffer (0 while the engine is not there).
    int32_t hDC() { return buffer_.Attach(); }
    // The buffer holds a new picture: show it.
    void Refresh() { update(); }
    // Every pixel black, as an unloaded window leaves it.
    void ClearPicture();

    // The pointer kind (0 default, 99 the picture named by MouseIcon).
    int MousePointer() const { return mousePointer_; }
    void SetMousePointer(int kind);
    const std::string& MouseIcon() const { return mouseIcon_; }
    // An unknown picture name raises "Element not found".
    void SetMouseIcon(const std::string& name);

    // Mouse events in the classic shape (button 1 left, 2 right, 4 middle; shift
    // 1 Shift, 2 Ctrl, 4 Alt; the position in pixels), and a change of size.
    std::function<void(int button, int shift, float x, float y)> MouseDown, MouseMove, MouseUp;
    std::function<void()> Resized;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void allocate();

    SurfaceBuffer buffer_;
    int mousePointer_ = 0;
    std::string mouseIcon_;
};
