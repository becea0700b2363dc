// Layout lengths in twips: 15 twips per pixel at 96 dpi, scaled by the screen's
// logical dpi, so a layout keeps its physical size on any screen.
#pragma once

class QRect;
class QWidget;

namespace Twips {

// Twips per logical pixel on the primary screen (15 at 96 dpi).
double perPixel();
int toPixels(double twips);
double fromPixels(int pixels);

struct Rect {
    double Left = 0;
    double Top = 0;
    double Width = 0;
    double Height = 0;
};

// Places the widget at the rectangle (in its parent's coordinates); negative
// sizes count as zero.
void place(QWidget& widget, const Rect& rect);

}  // namespace Twips
