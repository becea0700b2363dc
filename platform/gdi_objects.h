// The table behind pen and brush handles (inside the platform layer only).
#pragma once

#include "device_context.h"

#include <QBrush>
#include <QPen>

#include <optional>

namespace platform {

enum class GdiKind { Pen, Brush };

struct GdiEntry {
    GdiKind kind;
    QPen pen;
    QBrush brush;
};

std::optional<GdiEntry> gdiEntry(GdiObject object);
GdiObject addGdiEntry(const GdiEntry& entry);
bool removeGdiEntry(GdiObject object);

}  // namespace platform
