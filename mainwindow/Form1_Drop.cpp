// Files dropped on a view: a world file from outside replaces the open world;
// a model dragged out of the gallery is merged where it is dropped.
#include "Form1.h"

#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

namespace {

bool isWorldFile(const QString& path) {
    const QString extension = QFileInfo(path).suffix().toLower();
    return extension == "wld" || extension == "vandel";
}

// The first file of the dropped list, or "" when the data carries none.
QString firstDroppedFile(const QMimeData* data) {
    if (!data || !data->hasUrls() || data->urls().isEmpty()) return {};
    return data->urls().first().toLocalFile();
}

}  // namespace

void Form1::picWindow_OLEDragOver(int, const QMimeData* Data, int& Effect) {
    const QString file = firstDroppedFile(Data);
    const QString dragged = file.isEmpty() ? QString::fromStdString(GalleryDragFile) : file;
    Effect = isWorldFile(dragged) ? 1 : 0;
}

void Form1::picWindow_OLEDragDrop(int Index, const QMimeData* Data, int&, int, int, float X, float Y) {
    if (!GalleryDragFile.empty()) {
        if (isWorldFile(QString::fromStdString(GalleryDragFile))) picWindow_DropGalleryModel(Index, X, Y);
        return;
    }
    const QString file = firstDroppedFile(Data);
    // File > Open also reads .x files; a drop takes only the editor's own worlds.
    if (isWorldFile(file)) LoadWorld(file.toStdString());
}

void Form1::picWindow_DropGalleryModel(int, float, float) {
    // Merging the model at the point under the cursor (AddWorld), lifting it by
    // half its height, selecting it and recording its creation come with the
    // model gallery.
}
