// One view of the main window: a plain widget that shows the RGBA buffer the
// engine renders into, with the transient layer painted over it. The buffer is
// registered with the engine as a surface; its handle stands wherever the engine
// expects a window or a device context. An expose only shows the finished buffer;
// rendering happens in the redraw pipeline.
#pragma once

#include "core/SurfaceBuffer.h"
#include "platform/device_context.h"

#include <QImage>
#include <QWidget>

class QMimeData;

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class PicWindow : public QWidget {
public:
    PicWindow(int index, QWidget* parent = nullptr);
    ~PicWindow() override;

    int Index() const { return index_; }
    // The engine surface of the buffer; 0 while the engine is not there.
    int32_t hWnd() const { return buffer_.Surface(); }
    // The device context over the buffer the engine rendered into.
    platform::DeviceContext& dc() { return buffer_.DC(); }
    platform::TransientLayer& transient() { return transient_; }
    const QImage& buffer() const { return buffer_.Image(); }
    // Width times height in pixels; 0 for a collapsed or hidden view.
    int Area() const;

    // The pointer over the view: kind 0 default, 11 hourglass, 99 the picture
    // named by MouseIcon ("Select", "Cross hair", "Pan", ...).
    int MousePointer() const { return mousePointer_; }
    void SetMousePointer(int kind);
    const std::string& MouseIcon() const { return mouseIcon_; }
    // An unknown picture name raises "Element not found".
    void SetMouseIcon(const std::string& key);

    // Clears the picture (File > Close).
    void ClearPicture();
    // The buffer holds a finished image now; repaint the widget from it.
    void Present();
    // The buffer no longer matches the widget (it was resized) until the next render.
    bool Stale() const { return stale_; }
    void MarkRendered() { stale_ = false; }

    // Runs the view's paint pipeline; called once, queued, after a resize left the
    // buffer stale.
    std::function<void(int index)> PaintRequested;
    // Mouse events in the classic shape: button 1 left, 2 right, 4 middle; shift
    // 1 Shift, 2 Ctrl, 4 Alt; positions in pixels.
    std::function<void(int index, int button, int shift, int x, int y)> MouseDown, MouseMove, MouseUp;
    // Drags over the view and drops on it; effect 0 refuses the drop, 1 takes a copy.
    std::function<void(int index, const QMimeData* data, int& effect)> DragOver;
    std::function<void(int index, const QMimeData* data, int& effect, int button, int shift, int x, int y)> DragDrop;

    // The view whose surface has this handle, or null.
    static PicWindow* FromSurface(int32_t surface);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void allocate();

    int index_;
    SurfaceBuffer buffer_;
    platform::TransientLayer transient_;
    void applyPointer();

    int mousePointer_ = 0;
    std::string mouseIcon_;
    bool stale_ = true;
    bool paintQueued_ = false;
};
