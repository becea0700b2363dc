#include "gdi_objects.h"

#include "colour.h"
#include "gdi.h"

#include <array>
#include <unordered_map>

namespace platform {
namespace {

// Stock objects live at fixed handles below the created ones.
constexpr GdiObject kStockBase = 0x100;
constexpr GdiObject kFirstCreated = 0x1000;

std::unordered_map<GdiObject, GdiEntry> g_objects;
GdiObject g_next = kFirstCreated;

QBrush solid(int r, int g, int b) { return QBrush(QColor(r, g, b)); }

std::optional<GdiEntry> stockEntry(int which) {
    switch (which) {
    case WHITE_BRUSH: return GdiEntry{GdiKind::Brush, {}, solid(255, 255, 255)};
    case LTGRAY_BRUSH: return GdiEntry{GdiKind::Brush, {}, solid(192, 192, 192)};
    case GRAY_BRUSH: return GdiEntry{GdiKind::Brush, {}, solid(128, 128, 128)};
    case DKGRAY_BRUSH: return GdiEntry{GdiKind::Brush, {}, solid(64, 64, 64)};
    case BLACK_BRUSH: return GdiEntry{GdiKind::Brush, {}, solid(0, 0, 0)};
    case NULL_BRUSH: return GdiEntry{GdiKind::Brush, {}, QBrush(Qt::NoBrush)};
    case WHITE_PEN: return GdiEntry{GdiKind::Pen, QPen(QColor(255, 255, 255), 0), {}};
    case BLACK_PEN: return GdiEntry{GdiKind::Pen, QPen(QColor(0, 0, 0), 0), {}};
    case NULL_PEN: return GdiEntry{GdiKind::Pen, QPen(Qt::NoPen), {}};
    default: return std::nullopt;
    }
}

}  // namespace

GdiObject GetStockObject(int which) {
    return stockEntry(which) ? kStockBase + which : 0;
}

std::optional<GdiEntry> gdiEntry(GdiObject object) {
    if (object >= kStockBase && object < kFirstCreated) return stockEntry(object - kStockBase);
    const auto it = g_objects.find(object);
    if (it == g_objects.end()) return std::nullopt;
    return it->second;
}

GdiObject addGdiEntry(const GdiEntry& entry) {
    const GdiObject handle = g_next++;
    g_objects.emplace(handle, entry);
    return handle;
}

bool removeGdiEntry(GdiObject object) {
    if (object >= kStockBase && object < kFirstCreated) return stockEntry(object - kStockBase).has_value();
    return g_objects.erase(object) > 0;
}

}  // namespace platform
