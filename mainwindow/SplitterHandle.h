// A splitter image of the view area: a thin strip that takes the mouse and
// reports presses, moves and releases in twips relative to itself.
#pragma once

#include <QWidget>

#include <functional>

class SplitterHandle : public QWidget {
public:
    SplitterHandle(const QString& name, Qt::CursorShape shape, QWidget* parent);

    std::function<void(double x, double y)> MouseDown, MouseMove, MouseUp;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool pressed_ = false;
};
