#include "WorkspaceImages.h"

#include "KeyedTree.h"

#include <QApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QStyle>

#include <functional>

namespace {

constexpr int kSide = 16;

// A 16 x 16 picture drawn in one colour; the hidden variant is the same shape
// greyed and hollow.
QIcon drawn(const QColor& colour, bool hidden, const std::function<void(QPainter&)>& shape) {
    QPixmap picture(kSide, kSide);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor ink = hidden ? QColor(150, 150, 150) : colour;
    painter.setPen(QPen(ink.darker(140), 1));
    painter.setBrush(hidden ? QBrush(Qt::NoBrush) : QBrush(ink));
    shape(painter);
    return QIcon(picture);
}

void box(QPainter& p) {
    p.drawRect(QRectF(2.5, 5.5, 8, 8));
    p.drawPolygon(QPolygonF({QPointF(2.5, 5.5), QPointF(5.5, 2.5), QPointF(13.5, 2.5), QPointF(10.5, 5.5)}));
    p.drawPolygon(QPolygonF({QPointF(10.5, 5.5), QPointF(13.5, 2.5), QPointF(13.5, 10.5), QPointF(10.5, 13.5)}));
}

void triangle(QPainter& p) {
    p.drawPolygon(QPolygonF({QPointF(8, 2.5), QPointF(14, 13.5), QPointF(2, 13.5)}));
}

void camera(QPainter& p) {
    p.drawRect(QRectF(1.5, 5.5, 9, 7));
    p.drawPolygon(QPolygonF({QPointF(10.5, 7.5), QPointF(14.5, 5.5), QPointF(14.5, 12.5), QPointF(10.5, 10.5)}));
}

void bulb(QPainter& p) {
    p.drawEllipse(QRectF(3.5, 1.5, 9, 9));
    p.drawRect(QRectF(6, 10.5, 4, 4));
}

void landscape(QPainter& p) {
    p.drawRect(QRectF(1.5, 2.5, 13, 11));
    p.setBrush(QColor(60, 150, 60));
    p.drawPolygon(QPolygonF({QPointF(1.5, 13.5), QPointF(6, 7), QPointF(9, 10), QPointF(11, 8), QPointF(14.5, 13.5)}));
}

void path(QPainter& p) {
    QPainterPath curve(QPointF(2, 13));
    curve.cubicTo(QPointF(2, 2), QPointF(14, 14), QPointF(14, 3));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(p.pen().color(), 2));
    p.drawPath(curve);
}

void checker(QPainter& p) {
    p.setPen(Qt::NoPen);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
            p.setBrush((x + y) % 2 ? QColor(230, 230, 230) : QColor(70, 110, 200));
            p.drawRect(QRectF(2 + 3 * x, 2 + 3 * y, 3, 3));
        }
}

}  // namespace

void InstallWorkspaceImages(KeyedTree& tree) {
    const QStyle* style = QApplication::style();
    tree.SetImagePicture("Folder", style->standardIcon(QStyle::SP_DirClosedIcon));
    tree.SetImagePicture("FolderOpen", style->standardIcon(QStyle::SP_DirOpenIcon));
    tree.SetImagePicture("Gallery", style->standardIcon(QStyle::SP_FileIcon));
    tree.SetImagePicture("Texture", drawn(QColor(70, 110, 200), false, checker));
    const QColor group(80, 140, 220), pol(230, 140, 40), cam(90, 90, 90), light(250, 210, 40);
    for (bool hidden : {false, true}) {
        const std::string suffix = hidden ? " Invisible" : "";
        tree.SetImagePicture("Group" + suffix, drawn(group, hidden, box));
        tree.SetImagePicture("Pol" + suffix, drawn(pol, hidden, triangle));
        tree.SetImagePicture("Cam" + suffix, drawn(cam, hidden, camera));
        tree.SetImagePicture("Light" + suffix, drawn(light, hidden, bulb));
    }
    tree.SetImagePicture("Background", drawn(QColor(120, 180, 240), false, landscape));
    tree.SetImagePicture("Track", drawn(QColor(200, 50, 50), false, path));
}
