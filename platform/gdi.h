// Pens, brushes and the drawing calls of the overlays, in the classic GDI shape,
// drawn with QPainter on a DeviceContext. Colours are 0x00BBGGRR (colour.h).
// Rectangles are (left, top, right, bottom) with right and bottom outside, as GDI
// has them.
#pragma once

#include "colour.h"
#include "device_context.h"

#include <cstdint>
#include <string>

namespace platform {

inline constexpr int PS_SOLID = 0, PS_DASH = 1, PS_DOT = 2, PS_DASHDOT = 3, PS_DASHDOTDOT = 4,
                     PS_NULL = 5;
inline constexpr int WHITE_BRUSH = 0, LTGRAY_BRUSH = 1, GRAY_BRUSH = 2, DKGRAY_BRUSH = 3,
                     BLACK_BRUSH = 4, NULL_BRUSH = 5, WHITE_PEN = 6, BLACK_PEN = 7, NULL_PEN = 8;
inline constexpr int32_t CLR_INVALID = -1;

// A width of 0 draws one pixel wide.
GdiObject CreatePen(int style, int width, int32_t colour);
GdiObject CreateSolidBrush(int32_t colour);
GdiObject GetStockObject(int which);
// Selects a pen or brush; returns the one of the same kind it replaces, or 0 for
// an unknown handle.
GdiObject SelectObject(DeviceContext& dc, GdiObject object);
// Stock objects are never deleted.
bool DeleteObject(GdiObject object);

bool MoveToEx(DeviceContext& dc, int x, int y, PixelPoint* previous = nullptr);
bool LineTo(DeviceContext& dc, int x, int y);
// counts[i] points form polyline i.
bool PolyPolyline(DeviceContext& dc, const PixelPoint* points, const uint32_t* counts, int polylines);
// Outline in the pen, inside in the brush.
bool Rectangle(DeviceContext& dc, int left, int top, int right, int bottom);
bool Ellipse(DeviceContext& dc, int left, int top, int right, int bottom);
// (x, y) is the text's top left corner.
bool TextOutA(DeviceContext& dc, int x, int y, const std::string& text);
int32_t SetTextColor(DeviceContext& dc, int32_t colour);
int32_t SetBkColor(DeviceContext& dc, int32_t colour);
int SetBkMode(DeviceContext& dc, int mode);
// A brush handle, or a system colour index + 1 as a small number (1 = scroll bar).
bool FillRect(DeviceContext& dc, int left, int top, int right, int bottom, GdiObject brush);
// Copies a source rectangle onto a destination rectangle, scaled to fit.
bool StretchBlt(DeviceContext& dst, int x, int y, int width, int height, const DeviceContext& src,
                int srcX, int srcY, int srcWidth, int srcHeight);
// The colour at a pixel, or CLR_INVALID outside the context.
int32_t GetPixel(const DeviceContext& dc, int x, int y);

// Many rectangles as Rectangle draws each, in one go: count entries of left,
// top, right, bottom.
bool Rectangles(DeviceContext& dc, const int32_t* ltrb, int count);

}  // namespace platform
