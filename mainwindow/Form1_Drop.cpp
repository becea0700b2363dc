// Files dropped on a view: a world file from outside replaces the open world;
// a model dragged out of the gallery is merged where it is dropped.
#include "Form1.h"

#include "core/Camera.h"
#include "core/Globals.h"
#include "ombrel.h"
#include "platform/error_trap.h"
#include "views/PicWindow.h"
#include "views/ViewRedraw.h"

#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

#include <cmath>

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
    if (!isWorldFile(file)) return;
    // The dropped file replaces the open world: its unsaved changes get the save question first.
    if (!ConfirmDiscardWorld()) return;
    LoadWorld(file.toStdString());
}

void Form1::picWindow_DropGalleryModel(int Index, float X, float Y) {
    // Without an open world there are no view cameras and nothing to merge into.
    if (!WorldLoaded) return;
    const auto& camera = Globals::ViewCams.at(static_cast<std::size_t>(Index));
    if (!camera) throw platform::EditorError("Object variable not set");
    OMBREL_camera_set_current(camera->lngSceneCamera, picWindow.at(static_cast<std::size_t>(Index))->hWnd());
    std::array<double, 3> point{0, 0, 0};
    int32_t group = 0, polygon = 0;
    const auto x = static_cast<int32_t>(std::lround(X));
    const auto y = static_cast<int32_t>(std::lround(Y));
    // Nothing under the cursor: the model goes to the origin.
    if (OMBREL_engine_2D_point_to_3D(x, y, point.data(), &group, &polygon) == -1) point = {0, 0, 0};
    AddWorld(GalleryDragFile, point);
    if (AddedWorldRootGrp != 0) {
        // The merge centres the model on the point; lifted by half its height it rests on it.
        double extents[3] = {0, 0, 0};
        OMBREL_group_get_dimensions(AddedWorldRootGrp, extents);
        const double lift[3] = {0, 0, extents[2] / 2};
        OMBREL_group_move(AddedWorldRootGrp, lift, 0);
        SelectAddedWorld();
    }
    UpdateCameras();
    GalleryDragFile.clear();
    RefreshModelPreview = true;
}
