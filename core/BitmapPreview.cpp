#include "BitmapPreview.h"

#include "EntityProcedures.h"

#include "ombrel.h"

#include <cmath>
#include <exception>

namespace Globals {
PreviewRect FitBitmapPreview(int bitmapWidth, int bitmapHeight, int boxWidth, int boxHeight) {
    PreviewRect r;
    if (bitmapWidth <= 0 || bitmapHeight <= 0 || boxWidth <= 0 || boxHeight <= 0) return r;
    const double targetW = 0.9 * boxWidth, targetH = 0.9 * boxHeight;
    const double ratioW = bitmapWidth / targetW, ratioH = bitmapHeight / targetH;
    const double scale = 1.0 / (ratioW > ratioH ? ratioW : ratioH);
    r.width = static_cast<int>(std::lround(bitmapWidth * scale));
    r.height = static_cast<int>(std::lround(bitmapHeight * scale));
    r.x = (boxWidth - r.width) / 2;
    r.y = (boxHeight - r.height) / 2;
    return r;
}

void ShowBitmapPreview(int32_t bitmap, BitmapPreviewTarget& target) {
    try {
        target.clearBox();
        // No size beside an empty box: a file that is gone or no longer reads shows neither.
        target.setSizeText("");
        const int w = OMBREL_bitmap_get_width(bitmap), h = OMBREL_bitmap_get_height(bitmap);
        PreviewRect r = FitBitmapPreview(w, h, target.boxWidth(), target.boxHeight());
        std::string path = FindBitmapFilePath(bitmap);
        if (path.empty() || r.width <= 0 || r.height <= 0) return;
        if (target.drawImageFile(path, r.x, r.y, r.width, r.height))
            target.setSizeText(std::to_string(w) + " x " + std::to_string(h));
    } catch (const std::exception&) {
        // The preview traps its own errors: a box left empty is all the user sees.
    }
}

}  // namespace Globals
