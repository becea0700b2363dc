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

    // The 4-pixel box around a point, as GDI draws Rectangle(x - 2, y - 2, x + 2, y + 2).
    void box(double x, double y) {
        if (!(x >= left_ && x <= right_ && y >= top_ && y <= bottom_)) return;
        const int32_t cx = static_cast<int32_t>(std::lround(x)), cy = static_cast<int32_t>(std::lround(y));
        const int32_t l = cx - 2, t = cy - 2, r = cx + 1, b = cy + 1;
        strip({{l, t}, {r, t}, {r, b}, {l, b}, {l, t}});
    }

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

    void draw(platform::DeviceContext& dc) const {
        if (!counts_.empty()) platform::PolyPolyline(dc, points_.data(), counts_.data(), static_cast<int>(counts_.size()));
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
    auto outline = [&](int32_t polygon) {
        double firstX = 0, firstY = 0, prevX = 0, prevY = 0;
        bool first = true;
        for (int32_t pt = OMBREL_polygon_get_first_point(polygon); pt != 0; pt = OMBREL_point_get_next_point(pt)) {
            double uv[2];
            uvOf(pt, uv);
            const double x = PixelX(uv[0]), y = PixelY(uv[1]);
            strokes.box(x, y);
            if (first) {
                firstX = x;
                firstY = y;
                first = false;
            } else {
                strokes.segment(prevX, prevY, x, y);
            }
            prevX = x;
            prevY = y;
        }
        if (!first) strokes.segment(prevX, prevY, firstX, firstY);
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
}

void frmTextureMapping::DrawSelCoords() {
    if (Globals::CurrSelEntityType != SelGroup) return;
    Strokes strokes(PicMain->width(), PicMain->height());
    const TexCoordList& list = ListInUse();
    for (int32_t i = 1; i <= list.Count; ++i) {
        double uv[2];
        uvOf(list.Pts[static_cast<std::size_t>(i)], uv);
        strokes.box(PixelX(uv[0]), PixelY(uv[1]));
    }
    PenScope pen(PicMain->dc(), penSelected_);
    strokes.draw(PicMain->dc());
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
