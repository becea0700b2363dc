// A bitmap shown fitted into a picture box, with its size in a label.
#pragma once

#include <cstdint>
#include <string>

namespace Globals {

// The picture box and size label the preview draws into; the window that owns
// them implements it.
class BitmapPreviewTarget {
public:
    virtual ~BitmapPreviewTarget() = default;
    virtual int boxWidth() const = 0;
    virtual int boxHeight() const = 0;
    virtual void clearBox() = 0;
    // Draws the image file scaled into the rectangle; false when it cannot be read.
    virtual bool drawImageFile(const std::string& path, int x, int y, int width, int height) = 0;
    virtual void setSizeText(const std::string& text) = 0;
};

struct PreviewRect {
    int x = 0, y = 0, width = 0, height = 0;
};

// The bitmap's w x h fitted into 0.9 of the box on both sides, proportions kept,
// centred in the box.
PreviewRect FitBitmapPreview(int bitmapWidth, int bitmapHeight, int boxWidth, int boxHeight);

// Clears the box, draws the bitmap's file (its engine name + ".bmp", then ".jpg")
// fitted into it and shows "w x h". Failures leave the box and the size empty and
// say nothing.
void ShowBitmapPreview(int32_t bitmap, BitmapPreviewTarget& target);

}  // namespace Globals
