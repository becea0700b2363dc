#include "PicturePreview.h"

#include "ombrel.h"

#include "platform/colour.h"

#include <QColor>
#include <QImage>
#include <QPixmap>
#include <QVariant>

namespace textures {

bool DrawPictureFile(QImage& image, const std::string& path, int x, int y, int width, int height) {
    // The engine's own reading of the file: the same picture the views show.
    const int32_t picture = OMBREL_utilities_load_bitmap_from_file(path.c_str());
    return picture != 0 && DrawPicture(image, picture, x, y, width, height);
}

bool DrawPicture(QImage& image, int32_t picture, int x, int y, int width, int height) {
    if (image.format() != QImage::Format_RGBA8888 || image.isNull() || picture == 0) return false;
    const int32_t surface = OMBREL_ext_surface_attach(image.bits(), image.width(), image.height(),
                                                      static_cast<int32_t>(image.bytesPerLine()));
    if (surface == 0) return false;
    const bool drawn = OMBREL_utilities_copy_bitmap_on_dc(surface, picture, x, y, width, height) == 0;
    OMBREL_ext_surface_destroy(surface);
    return drawn;
}

void SetBackColour(QWidget& control, int32_t colour) {
    control.setProperty("BackColor", colour);
    // With a border of its own the control is painted flat: a styled button would
    // shade the colour and show another one than was picked.
    control.setStyleSheet(QString("background-color: %1; border: 1px solid palette(dark);")
                              .arg(colour < 0 ? QString("palette(button)") : platform::toQColor(colour).name()));
}

int32_t BackColour(const QWidget& control) { return control.property("BackColor").toInt(); }

PicturePreview::PicturePreview(QLabel* sizeLabel, QWidget* parent) : QLabel(parent), sizeLabel_(sizeLabel) {
    // The picture follows the box; the box never follows the picture.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void PicturePreview::Show(int32_t bitmap) { Globals::ShowBitmapPreview(bitmap, *this); }

void PicturePreview::Clear() {
    clear();
    if (sizeLabel_) sizeLabel_->clear();
}

bool PicturePreview::HasPicture() const { return !pixmap().isNull(); }

int PicturePreview::boxWidth() const { return width(); }
int PicturePreview::boxHeight() const { return height(); }

void PicturePreview::clearBox() { clear(); }

bool PicturePreview::drawImageFile(const std::string& path, int x, int y, int width, int height) {
    QImage image(boxWidth(), boxHeight(), QImage::Format_RGBA8888);
    if (image.isNull()) return false;
    image.fill(Qt::transparent);
    if (!DrawPictureFile(image, path, x, y, width, height)) return false;
    setPixmap(QPixmap::fromImage(image));
    return true;
}

void PicturePreview::setSizeText(const std::string& text) {
    if (sizeLabel_) sizeLabel_->setText(QString::fromStdString(text));
}

}  // namespace textures
