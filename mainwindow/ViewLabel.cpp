#include "ViewLabel.h"

#include <QPainter>

ViewLabel::ViewLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    // Room for the outline at the left edge.
    setContentsMargins(1, 0, 1, 0);
}

void ViewLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setFont(font());
    const QRect area = contentsRect();
    const int flags = static_cast<int>(alignment()) | Qt::TextSingleLine;
    // The text drawn dark one pixel off in every direction, then white on top.
    painter.setPen(QColor(0, 0, 0));
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy)
            if (dx != 0 || dy != 0) painter.drawText(area.translated(dx, dy), flags, text());
    painter.setPen(QColor(255, 255, 255));
    painter.drawText(area, flags, text());
}
