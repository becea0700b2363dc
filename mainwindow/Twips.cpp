#include "Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace Twips {

double perPixel() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInch() : 96.0;
    return 15.0 * 96.0 / (dpi > 0 ? dpi : 96.0);
}

int toPixels(double twips) { return static_cast<int>(std::lround(twips / perPixel())); }

double fromPixels(int pixels) { return pixels * perPixel(); }

void place(QWidget& widget, const Rect& rect) {
    const int left = toPixels(rect.Left), top = toPixels(rect.Top);
    // Round the far edges, not the sizes, so neighbours meet without gaps.
    const int right = toPixels(rect.Left + std::max(0.0, rect.Width));
    const int bottom = toPixels(rect.Top + std::max(0.0, rect.Height));
    widget.setGeometry(left, top, std::max(0, right - left), std::max(0, bottom - top));
}

}  // namespace Twips
