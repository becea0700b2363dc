#include "pointer_pictures.h"

#include <QWidget>

#include <map>

namespace platform {
namespace {

// Stand-ins from the platform's cursors until the windows get their own pictures.
const std::map<std::string, Qt::CursorShape>& pointerPictures() {
    static const std::map<std::string, Qt::CursorShape> pictures = {{"Select", Qt::ArrowCursor},
                                                                    {"Cross hair", Qt::CrossCursor},
                                                                    {"Pointer", Qt::ArrowCursor},
                                                                    {"Pan", Qt::OpenHandCursor},
                                                                    {"Revolve", Qt::SizeAllCursor},
                                                                    {"Zoom", Qt::SizeVerCursor},
                                                                    {"Move Camera", Qt::SizeAllCursor},
                                                                    {"Roll Camera", Qt::SizeHorCursor},
                                                                    {"Move", Qt::SizeAllCursor},
                                                                    {"Rotate", Qt::SizeBDiagCursor},
                                                                    {"Scale", Qt::SizeFDiagCursor},
                                                                    {"Align Mode", Qt::PointingHandCursor},
                                                                    {"Align Target", Qt::PointingHandCursor},
                                                                    {"CutPol1", Qt::CrossCursor},
                                                                    {"CutPol2", Qt::CrossCursor}};
    return pictures;
}

}  // namespace

bool hasPointerPicture(const std::string& name) { return pointerPictures().count(name) != 0; }

void setWidgetPointer(QWidget& widget, int kind, const std::string& name) {
    Qt::CursorShape shape = Qt::ArrowCursor;
    if (kind == 11)
        shape = Qt::WaitCursor;
    else if (kind == 99 && hasPointerPicture(name))
        shape = pointerPictures().at(name);
    widget.setCursor(shape);
}

}  // namespace platform
