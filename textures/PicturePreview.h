// A picture box that shows a bitmap fitted into it, with its size written in a
// label beside it: the preview of the textures page and of the animation editor.
#pragma once

#include "core/BitmapPreview.h"

#include <QLabel>

#include <cstdint>

namespace textures {

class PicturePreview : public QLabel, public Globals::BitmapPreviewTarget {
public:
    // sizeLabel takes the "w x h" text; it may be null.
    explicit PicturePreview(QLabel* sizeLabel, QWidget* parent = nullptr);

    // ShowBitmapPreview into this box.
    void Show(int32_t bitmap);
    void Clear();
    bool HasPicture() const;

    int boxWidth() const override;
    int boxHeight() const override;
    void clearBox() override;
    bool drawImageFile(const std::string& path, int x, int y, int width, int height) override;
    void setSizeText(const std::string& text) override;

private:
    QLabel* sizeLabel_;
};

// Draws an engine picture or bitmap stretched over the rectangle of the image
// (bytes R, G, B, A), texel by texel; false when it has no picture.
bool DrawPicture(QImage& image, int32_t picture, int x, int y, int width, int height);
// The same for a picture file, as the engine reads it.
bool DrawPictureFile(QImage& image, const std::string& path, int x, int y, int width, int height);

// A control's back colour (0x00BBGGRR, kept in its "BackColor" property); a
// system colour (high bit set, as &H8000000F) shows the button face.
void SetBackColour(QWidget& control, int32_t colour);
int32_t BackColour(const QWidget& control);

}  // namespace textures
