// The gallery's mouse and paint events as plain callbacks: the tree's right-button
// release (its pop-up menu), the start of a drag out of the tree or the preview,
// the preview's repaint, a drag passing over it and the preview frame's resize.
#pragma once

#include <QObject>
#include <QPoint>

#include <functional>

class QEvent;
class QMimeData;
class QWidget;

class ModelGalleryInput : public QObject {
public:
    // Watches widget; the callbacks left empty are not called.
    explicit ModelGalleryInput(QWidget* widget);

    std::function<void(int button, int shift, int x, int y)> MouseUp;
    std::function<void(int button, int shift, int x, int y)> MouseDown;
    // A left-button press followed by a move past the drag distance.
    std::function<void()> DragStart;
    // Before the widget paints itself.
    std::function<void()> Paint;
    std::function<void()> Resize;
    // A drag entering or moving over the widget (which must accept drops);
    // effect 0 refuses it, any other shows a move.
    std::function<void(const QMimeData* data, int& effect)> DragOver;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPoint pressedAt_;
    bool pressed_ = false;
};
