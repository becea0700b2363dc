// PicMain's picture: the texture in its place with the margins filled, the
// outlines of the polygons at their texture coordinates, the selected
// coordinates, and the rubber band of a selection drag.
#include "frmTextureMapping.h"

#include "TexturePicture.h"

#include "core/CoreTypes.h"
#include "core/Globals.h"
#include "ombrel.h"
#include "platform/colour.h"
#include "platform/gdi.h"

#include <QImage>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace {

// The system brush of the margins (the scroll-bar colour).
constexpr platform::GdiObject kMarginBrush = 1;
// How far past the surface lines are still drawn: enough for a box's half width.
constexpr double kClipMargin = 8;

int32_t clampTo(int64_t value, int32_t limit) {
    return static_cast<int32_t>(std::clamp<int64_t>(value, -1, int64_t{limit} + 1));
}

// Line strips for one PolyPolyline: every segment clipped to the surface before it
// is rounded, so coordinates far outside (1e6) draw what is in sight and no more.
class Strokes {
public:
    Strokes(int width, int height)
        : left_(-kClipMargin), top_(-kClipMargin), right_(width + kClipMargin), bottom_(height + kClipMargin) {}

    void segment(double x1, double y1, double x2, double y2) {
        if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2)) return;
        // Liang-Barsky against the clip rectangle.
        double t0 = 0, t1 = 1;
        const double dx = x2 - x1, dy = y2 - y1;
        const double p[4] = {-dx, dx, -dy, dy};
        const double q[4] = {x1 - left_, right_ - x1, y1 - top_, bottom_ - y1};
        for (int i = 0; i < 4; ++i) {
            if (p[i] == 0) {
                if (q[i] < 0) return;
                continue;
            }
            const double t = q[i] / p[i];
            if (p[i] < 0)
                t0 = std::max(t0, t);
            else
                t1 = std::min(t1, t);
            if (t0 > t1) return;
        }
        strip({pixel(x1 + t0 * dx, y1 + t0 * dy), pixel(x1 + t1 * dx, y1 + t1 * dy)});
    }

    // From each corner to the next and from the last back to the first: one strip
    // when every corner is in sight, else segment by segment.
    void closedOutline(const std::vector<std::pair<double, double>>& corners) {
        if (corners.size() < 2) return;
        const bool inSight = std::all_of(corners.begin(), corners.end(), [&](const auto& c) {
            return c.first >= left_ && c.first <= right_ && c.second >= top_ && c.second <= bottom_;
        });
        if (inSight) {
            for (const auto& c : corners) points_.push_back(pixel(c.first, c.second));
            points_.push_back(pixel(corners.front().first, corners.front().second));
            counts_.push_back(static_cast<uint32_t>(corners.size() + 1));
            return;
        }
        for (std::size_t i = 0; i < corners.size(); ++i) {
            const auto& a = corners[i];
            const auto& b = corners[(i + 1) % corners.size()];
            segment(a.first, a.second, b.first, b.second);
        }
    }

    void draw(platform::DeviceContext& dc) const {
        if (!counts_.empty())
            platform::PolyPolyline(dc, points_.data(), counts_.data(), static_cast<int>(counts_.size()));
    }

private:
    static platform::PixelPoint pixel(double x, double y) {
        return {static_cast<int32_t>(std::lround(x)), static_cast<int32_t>(std::lround(y))};
    }
    void strip(std::initializer_list<platform::PixelPoint> pts) {
        points_.insert(points_.end(), pts);
        counts_.push_back(static_cast<uint32_t>(pts.size()));
    }

    double left_, top_, right_, bottom_;
    std::vector<platform::PixelPoint> points_;
    std::vector<uint32_t> counts_;
};

// The 4-pixel boxes around points, as Rectangle(x - 2, y - 2, x + 2, y + 2) draws
// each outline; tens of thousands of them are written straight into the pixels.
class Boxes {
public:
    void add(double x, double y) {
        // Far outside (or not a number): nothing in sight.
        if (!(x > -8 && x < 1e6 && y > -8 && y < 1e6)) return;
        centres_.push_back({static_cast<int32_t>(std::lround(x)), static_cast<int32_t>(std::lround(y))});
    }

    void draw(platform::DeviceContext& dc, int32_t colour) const {
        QImage& image = dc.image();
        const int w = image.width(), h = image.height();
        const QRgb rgb = qRgb(platform::redOf(colour), platform::greenOf(colour), platform::blueOf(colour));
        const bool rgba = image.format() == QImage::Format_RGBA8888;
        auto plot = [&](int x, int y) {
            if (x < 0 || y < 0 || x >= w || y >= h) return;
            if (rgba) {
                uchar* p = image.scanLine(y) + 4 * x;
                p[0] = static_cast<uchar>(qRed(rgb));
                p[1] = static_cast<uchar>(qGreen(rgb));
                p[2] = static_cast<uchar>(qBlue(rgb));
                p[3] = 255;
            } else {
                image.setPixel(x, y, rgb);
            }
        };
        for (const platform::PixelPoint& c : centres_) {
            const int l = c.x - 2, t = c.y - 2, r = c.x + 1, b = c.y + 1;
            for (int x = l; x <= r; ++x) {
                plot(x, t);
                plot(x, b);
            }
            for (int y = t + 1; y < b; ++y) {
                plot(l, y);
                plot(r, y);
            }
        }
    }

private:
    std::vector<platform::PixelPoint> centres_;
};

void uvOf(int32_t point, double uv[2]) {
    uv[0] = uv[1] = 0;
    OMBREL_point_get_bitmap_xy(point, uv);
}

// Draws with a pen selected for the call and the one before put back.
class PenScope {
public:
    PenScope(platform::DeviceContext& dc, platform::GdiObject pen) : dc_(dc), old_(platform::SelectObject(dc, pen)) {}
    ~PenScope() {
        if (old_ != 0) platform::SelectObject(dc_, old_);
    }
    PenScope(const PenScope&) = delete;
    PenScope& operator=(const PenScope&) = delete;

private:
    platform::DeviceContext& dc_;
    platform::GdiObject old_;
};

}  // namespace

void frmTextureMapping::PicMain_Paint() {
    if (!Loaded) return;
    DrawTexture();
    DrawPolygonOutlines();
    DrawSelCoords();
    PicMain->Refresh();
}

void frmTextureMapping::DrawTexture() {
    platform::DeviceContext& dc = PicMain->dc();
    const int32_t W = PicMain->width(), H = PicMain->height();
    const int64_t x0 = int64_t{OriginX} + PanPixX, y0 = int64_t{OriginY} + PanPixY;
    const int64_t x1 = x0 + DispWidth, y1 = y0 + DispHeight;
    const int32_t l = clampTo(x0, W), t = clampTo(y0, H), r = clampTo(x1, W), b = clampTo(y1, H);
    bool drawn = false;
    if (TextureOn() && TexPicture != 0) {
        const int32_t surface = PicMain->hDC();
        // The engine stretches the whole picture; far outside the surface it draws nothing anyway.
        drawn = surface != 0 && x0 > -(int64_t{1} << 30) && y0 > -(int64_t{1} << 30) && x1 < (int64_t{1} << 30) &&
                y1 < (int64_t{1} << 30) &&
                OMBREL_utilities_copy_bitmap_on_dc(surface, TexPicture, static_cast<int32_t>(x0),
                                                   static_cast<int32_t>(y0), DispWidth, DispHeight) == 0;
    }
    if (drawn) {
        platform::FillRect(dc, 0, 0, l, H, kMarginBrush);
        platform::FillRect(dc, l, 0, r, t, kMarginBrush);
        platform::FillRect(dc, r, 0, W, H, kMarginBrush);
        platform::FillRect(dc, l, b, r, H, kMarginBrush);
    } else {
        platform::FillRect(dc, 0, 0, W, H, kMarginBrush);
    }
    PenScope pen(dc, penFrame_);
    const platform::GdiObject oldBrush = platform::SelectObject(dc, platform::GetStockObject(platform::NULL_BRUSH));
    platform::Rectangle(dc, l, t, r, b);
    if (oldBrush != 0) platform::SelectObject(dc, oldBrush);
}

void frmTextureMapping::DrawPolygonOutlines() {
    if (Globals::CurrSelEntityType != SelGroup) return;
    Strokes strokes(PicMain->width(), PicMain->height());
    Boxes boxes;
    std::vector<std::pair<double, double>> corners;
    auto outline = [&](int32_t polygon) {
        corners.clear();
        for (int32_t pt = OMBREL_polygon_get_first_point(polygon); pt != 0; pt = OMBREL_point_get_next_point(pt)) {
            double uv[2];
            uvOf(pt, uv);
            corners.emplace_back(PixelX(uv[0]), PixelY(uv[1]));
            boxes.add(corners.back().first, corners.back().second);
        }
        strokes.closedOutline(corners);
    };
    if (SelectedOnly()) {
        for (int32_t i = 1; i <= Globals::NumSelPols; ++i) outline(Globals::SelPols[i]);
    } else {
        const int32_t group = Globals::CurrSelEntityHandle;
        for (int32_t pol = OMBREL_group_get_first_polygon(group); pol != 0;
             pol = OMBREL_group_get_next_polygon(group, pol))
            outline(pol);
    }
    PenScope pen(PicMain->dc(), penOutline_);
    strokes.draw(PicMain->dc());
    boxes.draw(PicMain->dc(), platform::rgb(255, 255, 255));
}

void frmTextureMapping::DrawSelCoords() {
    if (Globals::CurrSelEntityType != SelGroup) return;
    Boxes boxes;
    const TexCoordList& list = ListInUse();
    for (int32_t i = 1; i <= list.Count; ++i) {
        double uv[2];
        uvOf(list.Pts[static_cast<std::size_t>(i)], uv);
        boxes.add(PixelX(uv[0]), PixelY(uv[1]));
    }
    boxes.draw(PicMain->dc(), platform::rgb(255, 0, 0));
}

void frmTextureMapping::DrawRubberBand(int32_t colour, float X, float Y) {
    PicMain_Paint();
    platform::DeviceContext& dc = PicMain->dc();
    const platform::GdiObject band = platform::CreatePen(platform::PS_DASHDOT, 1, colour);
    {
        PenScope pen(dc, band);
        const platform::GdiObject oldBrush = platform::SelectObject(dc, platform::GetStockObject(platform::NULL_BRUSH));
        const int32_t x = static_cast<int32_t>(std::lround(X)), y = static_cast<int32_t>(std::lround(Y));
        // Both corners are on the band.
        platform::Rectangle(dc, std::min(MouseDownX, x), std::min(MouseDownY, y), std::max(MouseDownX, x) + 1,
                            std::max(MouseDownY, y) + 1);
        if (oldBrush != 0) platform::SelectObject(dc, oldBrush);
    }
    platform::DeleteObject(band);
    PicMain->Refresh();
}
