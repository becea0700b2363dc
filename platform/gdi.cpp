#include "gdi.h"

#include "gdi_objects.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cstring>
#include <vector>

namespace platform {
namespace {

constexpr GdiObject kLastSystemColourBrush = 31;

Qt::PenStyle qtPenStyle(int style) {
    switch (style) {
    case PS_DASH: return Qt::DashLine;
    case PS_DOT: return Qt::DotLine;
    case PS_DASHDOT: return Qt::DashDotLine;
    case PS_DASHDOTDOT: return Qt::DashDotDotLine;
    case PS_NULL: return Qt::NoPen;
    default: return Qt::SolidLine;
    }
}

QPen penOf(const DeviceContext& dc) {
    const auto e = gdiEntry(dc.pen);
    return e && e->kind == GdiKind::Pen ? e->pen : QPen(Qt::black, 0);
}

QBrush brushOf(GdiObject brush) {
    const auto e = gdiEntry(brush);
    return e && e->kind == GdiKind::Brush ? e->brush : QBrush(Qt::NoBrush);
}

// Brushes given as a system colour index + 1.
QColor systemColour(int index) {
    switch (index) {
    case 0: return QColor(200, 200, 200);  // scroll bar
    case 5: return QColor(255, 255, 255);  // window
    case 8: return QColor(0, 0, 0);        // window text
    default: return QColor(240, 240, 240);  // button face
    }
}

// One painter per call: the buffer is the engine's between calls.
class DcPainter {
public:
    explicit DcPainter(DeviceContext& dc) : painter_(&dc.image()) {
        ++dc.drawingCalls;
        painter_.setRenderHint(QPainter::Antialiasing, false);
        painter_.setPen(penOf(dc));
        painter_.setBrush(brushOf(dc.brush));
    }
    QPainter* operator->() { return &painter_; }

private:
    QPainter painter_;
};

// GDI leaves the right and bottom edge out; a QPainter outline covers the
// rectangle's width plus one.
QRectF outlineRect(int left, int top, int right, int bottom) {
    return QRectF(left, top, right - left - 1, bottom - top - 1);
}

}  // namespace

GdiObject CreatePen(int style, int width, int32_t colour) {
    QPen pen(toQColor(colour));
    pen.setStyle(qtPenStyle(style));
    if (width > 1) {
        pen.setWidth(width);
        pen.setCapStyle(Qt::RoundCap);
        pen.setJoinStyle(Qt::RoundJoin);
    } else {
        pen.setWidth(0);
    }
    return addGdiEntry(GdiEntry{GdiKind::Pen, pen, {}});
}

GdiObject CreateSolidBrush(int32_t colour) {
    return addGdiEntry(GdiEntry{GdiKind::Brush, {}, QBrush(toQColor(colour))});
}

GdiObject SelectObject(DeviceContext& dc, GdiObject object) {
    const auto e = gdiEntry(object);
    if (!e) return 0;
    GdiObject& slot = e->kind == GdiKind::Pen ? dc.pen : dc.brush;
    const GdiObject previous = slot;
    slot = object;
    return previous;
}

bool DeleteObject(GdiObject object) { return removeGdiEntry(object); }

bool MoveToEx(DeviceContext& dc, int x, int y, PixelPoint* previous) {
    if (previous) *previous = dc.position;
    dc.position = {x, y};
    return true;
}

bool LineTo(DeviceContext& dc, int x, int y) {
    {
        DcPainter p(dc);
        p->drawLine(dc.position.x, dc.position.y, x, y);
    }
    dc.position = {x, y};
    return true;
}

bool PolyPolyline(DeviceContext& dc, const PixelPoint* points, const uint32_t* counts, int polylines) {
    if (!points || !counts || polylines < 0) return false;
    DcPainter p(dc);
    // One-pixel lines go to the painter as one list of segments: a long
    // polyline costs it several times more than the same segments apart.
    if (penOf(dc).width() <= 1) {
        std::vector<QLine> segments;
        std::size_t total = 0;
        for (int i = 0; i < polylines; ++i) total += counts[i] > 0 ? counts[i] - 1 : 0;
        segments.reserve(total);
        for (int i = 0; i < polylines; ++i) {
            for (uint32_t k = 1; k < counts[i]; ++k)
                segments.emplace_back(points[k - 1].x, points[k - 1].y, points[k].x, points[k].y);
            points += counts[i];
        }
        p->drawLines(segments.data(), static_cast<int>(segments.size()));
        return true;
    }
    std::vector<QPoint> line;
    for (int i = 0; i < polylines; ++i) {
        line.clear();
        for (uint32_t k = 0; k < counts[i]; ++k, ++points) line.emplace_back(points->x, points->y);
        if (line.size() >= 2) p->drawPolyline(line.data(), static_cast<int>(line.size()));
    }
    return true;
}

bool Rectangle(DeviceContext& dc, int left, int top, int right, int bottom) {
    DcPainter p(dc);
    p->drawRect(outlineRect(left, top, right, bottom));
    return true;
}

bool Ellipse(DeviceContext& dc, int left, int top, int right, int bottom) {
    DcPainter p(dc);
    p->drawEllipse(outlineRect(left, top, right, bottom));
    return true;
}

bool TextOutA(DeviceContext& dc, int x, int y, const std::string& text) {
    ++dc.drawingCalls;
    const QString s = QString::fromStdString(text);
    QPainter p(&dc.image());
    p.setFont(QGuiApplication::font());
    const QFontMetrics metrics(p.font());
    if (dc.backMode == OPAQUE)
        p.fillRect(QRect(x, y, metrics.horizontalAdvance(s), metrics.height()), toQColor(dc.backColour));
    p.setPen(toQColor(dc.textColour));
    p.drawText(QPoint(x, y + metrics.ascent()), s);
    return true;
}

int32_t SetTextColor(DeviceContext& dc, int32_t colour) {
    const int32_t previous = dc.textColour;
    dc.textColour = colour;
    return previous;
}

int32_t SetBkColor(DeviceContext& dc, int32_t colour) {
    const int32_t previous = dc.backColour;
    dc.backColour = colour;
    return previous;
}

int SetBkMode(DeviceContext& dc, int mode) {
    if (mode != TRANSPARENT && mode != OPAQUE) return 0;
    const int previous = dc.backMode;
    dc.backMode = mode;
    return previous;
}

bool FillRect(DeviceContext& dc, int left, int top, int right, int bottom, GdiObject brush) {
    ++dc.drawingCalls;
    const QBrush b = brush >= 1 && brush <= kLastSystemColourBrush ? QBrush(systemColour(brush - 1))
                                                                   : brushOf(brush);
    if (b.style() == Qt::NoBrush && !gdiEntry(brush)) return false;
    QPainter p(&dc.image());
    p.fillRect(QRect(left, top, right - left, bottom - top), b);
    return true;
}

bool StretchBlt(DeviceContext& dst, int x, int y, int width, int height, const DeviceContext& src,
                int srcX, int srcY, int srcWidth, int srcHeight) {
    // Copy first: source and destination may be the same buffer.
    ++dst.drawingCalls;
    const QImage part = src.image().copy(srcX, srcY, srcWidth, srcHeight);
    QPainter p(&dst.image());
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(QRect(x, y, width, height), part);
    return true;
}

int32_t GetPixel(const DeviceContext& dc, int x, int y) {
    if (x < 0 || y < 0 || x >= dc.width() || y >= dc.height()) return CLR_INVALID;
    return fromQColor(dc.image().pixelColor(x, y));
}

namespace {

// The word a colour takes in a 32-bit image of this format.
uint32_t wordOf(const QImage& image, const QColor& colour) {
    QImage one(1, 1, image.format());
    one.setPixelColor(0, 0, colour);
    uint32_t word = 0;
    std::memcpy(&word, one.constBits(), sizeof word);
    return word;
}

// One-pixel outlines without fill written straight into a 32-bit image: many
// small squares through the painter cost a rasteriser set-up each.
bool writeOutlines(DeviceContext& dc, const int32_t* ltrb, int count) {
    QImage& image = dc.image();
    const QPen pen = penOf(dc);
    if (image.depth() != 32 || pen.style() != Qt::SolidLine || pen.width() > 1 ||
        brushOf(dc.brush).style() != Qt::NoBrush)
        return false;
    // Rectangles of less than two pixels a side are the painter's to draw.
    for (int i = 0; i < count; ++i)
        if (ltrb[4 * i + 2] - ltrb[4 * i] < 2 || ltrb[4 * i + 3] - ltrb[4 * i + 1] < 2) return false;
    const uint32_t word = wordOf(image, pen.color());
    const int w = image.width(), h = image.height();
    auto span = [&](int y, int x0, int x1) {
        if (y < 0 || y >= h) return;
        x0 = std::max(x0, 0), x1 = std::min(x1, w - 1);
        auto* line = reinterpret_cast<uint32_t*>(image.scanLine(y));
        for (int x = x0; x <= x1; ++x) line[x] = word;
    };
    for (int i = 0; i < count; ++i, ltrb += 4) {
        const int left = ltrb[0], top = ltrb[1], right = ltrb[2] - 1, bottom = ltrb[3] - 1;
        span(top, left, right);
        span(bottom, left, right);
        for (int y = top + 1; y < bottom; ++y) {
            span(y, left, left);
            span(y, right, right);
        }
    }
    return true;
}

}  // namespace

bool Rectangles(DeviceContext& dc, const int32_t* ltrb, int count) {
    if (!ltrb || count < 0) return false;
    if (writeOutlines(dc, ltrb, count)) {
        ++dc.drawingCalls;
        return true;
    }
    std::vector<QRectF> rects;
    rects.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i, ltrb += 4) rects.push_back(outlineRect(ltrb[0], ltrb[1], ltrb[2], ltrb[3]));
    DcPainter p(dc);
    p->drawRects(rects.data(), count);
    return true;
}

}  // namespace platform
