#include "ToolbarIcons.h"

#include <QLineF>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>

#include <cmath>
#include <functional>
#include <initializer_list>
#include <map>
#include <numbers>
#include <utility>

namespace {

// Every picture is drawn on a 24 by 24 grid and scaled to the sizes asked for.
constexpr double kGrid = 24;
const QColor kInk(40, 40, 40);
const QColor kPaper(250, 250, 250);
const QColor kAccent(30, 110, 200);
const QColor kWarm(230, 180, 60);

void pen(QPainter& p, const QColor& colour, double width = 1.5) {
    p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
}

// A filled head at tip, pointing along the direction from `from` to tip.
void arrowHead(QPainter& p, QPointF from, QPointF tip, const QColor& colour, double size = 4) {
    const QLineF line(from, tip);
    const double a = std::atan2(-line.dy(), line.dx());
    const double spread = 0.5;
    QPolygonF head;
    head << tip << tip - QPointF(std::cos(a - spread) * size, -std::sin(a - spread) * size)
         << tip - QPointF(std::cos(a + spread) * size, -std::sin(a + spread) * size);
    p.setBrush(colour);
    p.setPen(Qt::NoPen);
    p.drawPolygon(head);
    p.setBrush(Qt::NoBrush);
}

void arrow(QPainter& p, QPointF from, QPointF to, const QColor& colour) {
    pen(p, colour);
    p.drawLine(from, to - (to - from) * (2.5 / QLineF(from, to).length()));
    arrowHead(p, from, to, colour);
}

// An arc around centre of the given radius from one angle sweeping another (degrees,
// counter-clockwise), with a head at its end.
void arcArrow(QPainter& p, QPointF centre, double radius, double startDeg, double sweepDeg, const QColor& colour) {
    const QRectF box(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    pen(p, colour);
    p.drawArc(box, static_cast<int>(startDeg * 16), static_cast<int>(sweepDeg * 16));
    const double end = (startDeg + sweepDeg) * std::numbers::pi / 180, before = (startDeg + sweepDeg - 12) * std::numbers::pi / 180;
    const QPointF tip(centre.x() + radius * std::cos(end), centre.y() - radius * std::sin(end));
    const QPointF back(centre.x() + radius * std::cos(before), centre.y() - radius * std::sin(before));
    arrowHead(p, back, tip, colour);
}

void camera(QPainter& p, QRectF body) {
    pen(p, kInk, 1.2);
    p.setBrush(QColor(90, 90, 90));
    p.drawRoundedRect(body, 1.5, 1.5);
    QPolygonF lens;
    lens << QPointF(body.right(), body.center().y() - 1.5) << QPointF(body.right() + 4, body.top())
         << QPointF(body.right() + 4, body.bottom()) << QPointF(body.right(), body.center().y() + 1.5);
    p.drawPolygon(lens);
    p.setBrush(Qt::NoBrush);
}

// Rectangles outlined in ink, each filled with its colour, drawn in order.
void boxes(QPainter& p, std::initializer_list<std::pair<QColor, QRectF>> filled, double width = 1.5) {
    pen(p, kInk, width);
    for (const auto& [colour, rect] : filled) {
        p.setBrush(colour);
        p.drawRect(rect);
    }
    p.setBrush(Qt::NoBrush);
}

void cornerBrackets(QPainter& p, QRectF r, double arm) {
    pen(p, kInk);
    for (const QPointF& c : {r.topLeft(), r.topRight(), r.bottomRight(), r.bottomLeft()}) {
        const double dx = c.x() < r.center().x() ? arm : -arm;
        const double dy = c.y() < r.center().y() ? arm : -arm;
        p.drawLine(c, c + QPointF(dx, 0));
        p.drawLine(c, c + QPointF(0, dy));
    }
}

using Drawing = std::function<void(QPainter&)>;

const std::map<std::string, Drawing>& drawings() {
    static const std::map<std::string, Drawing> all = {
        {"New",
         [](QPainter& p) {
             pen(p, kInk);
             p.setBrush(kPaper);
             p.drawPolygon(QPolygonF({{5, 3}, {14, 3}, {19, 8}, {19, 21}, {5, 21}}));
             p.drawPolyline(QPolygonF({{14, 3}, {14, 8}, {19, 8}}));
         }},
        {"Open",
         [](QPainter& p) {
             pen(p, kInk);
             p.setBrush(kWarm);
             p.drawPolygon(QPolygonF({{3, 6}, {9, 6}, {11, 8}, {20, 8}, {20, 19}, {3, 19}}));
             p.setBrush(QColor(245, 210, 110));
             p.drawPolygon(QPolygonF({{3, 19}, {6, 11}, {22, 11}, {20, 19}}));
         }},
        {"Save",
         [](QPainter& p) {
             boxes(p, {{kAccent, {4, 4, 16, 16}}, {kPaper, {7, 4, 10, 6}}, {QColor(200, 200, 200), {8, 14, 8, 6}}});
         }},
        {"Select",
         [](QPainter& p) {
             pen(p, kInk, 1.2);
             p.setBrush(kPaper);
             p.drawPolygon(QPolygonF({{6, 3}, {6, 19}, {10, 15.5}, {13, 21}, {15.5, 20}, {12.5, 14.5}, {17.5, 14.5}}));
         }},
        {"Move",
         [](QPainter& p) {
             const QPointF c(12, 12);
             for (const QPointF& to : {QPointF(12, 2.5), QPointF(21.5, 12), QPointF(12, 21.5), QPointF(2.5, 12)})
                 arrow(p, c, to, kInk);
         }},
        {"Rotate", [](QPainter& p) { arcArrow(p, {12, 12}, 7.5, 100, 280, kInk); }},
        {"Scale",
         [](QPainter& p) {
             pen(p, kInk, 1);
             p.drawRect(QRectF(3.5, 3.5, 17, 17));
             p.setBrush(kAccent);
             p.drawRect(QRectF(3.5, 13, 7.5, 7.5));
             p.setBrush(Qt::NoBrush);
             arrow(p, {11, 13}, {19.5, 4.5}, kInk);
         }},
        {"Pan",
         [](QPainter& p) {
             const QColor skin(240, 205, 165);
             p.setPen(QPen(kInk, 4.2, Qt::SolidLine, Qt::RoundCap));
             for (double x : {8.0, 11.0, 14.0, 17.0}) p.drawLine(QPointF(x, 5 + (x == 8.0 || x == 17.0 ? 1.5 : 0)), QPointF(x, 13));
             p.drawLine(QPointF(5, 12), QPointF(8, 16));
             p.setPen(QPen(skin, 2.2, Qt::SolidLine, Qt::RoundCap));
             for (double x : {8.0, 11.0, 14.0, 17.0}) p.drawLine(QPointF(x, 5 + (x == 8.0 || x == 17.0 ? 1.5 : 0)), QPointF(x, 13));
             p.drawLine(QPointF(5, 12), QPointF(8, 16));
             pen(p, kInk, 1);
             p.setBrush(skin);
             p.drawRoundedRect(QRectF(6.5, 11, 12, 10), 3.5, 3.5);
         }},
        {"Revolve",
         [](QPainter& p) {
             p.setBrush(kAccent);
             pen(p, kInk, 1);
             p.drawEllipse(QPointF(12, 12), 3.5, 3.5);
             p.setBrush(Qt::NoBrush);
             arcArrow(p, {12, 12}, 9, 200, 300, kInk);
         }},
        {"Zoom Camera",
         [](QPainter& p) {
             pen(p, kInk, 1.8);
             p.setBrush(QColor(210, 230, 250));
             p.drawEllipse(QRectF(3.5, 3.5, 11, 11));
             p.setPen(QPen(kInk, 3.2, Qt::SolidLine, Qt::RoundCap));
             p.drawLine(QPointF(14, 14), QPointF(20.5, 20.5));
         }},
        {"Move Camera",
         [](QPainter& p) {
             camera(p, QRectF(3, 11, 11, 8));
             arrow(p, {3, 5.5}, {21, 5.5}, kAccent);
         }},
        {"Roll Camera",
         [](QPainter& p) {
             camera(p, QRectF(5, 9, 9, 7));
             arcArrow(p, {11, 12.5}, 9.5, 220, 280, kAccent);
         }},
        {"Zoom Extents",
         [](QPainter& p) {
             cornerBrackets(p, QRectF(3, 3, 18, 18), 4.5);
             boxes(p, {{kAccent, {8, 8, 8, 8}}}, 1);
         }},
        {"Zoom Extents All",
         [](QPainter& p) {
             cornerBrackets(p, QRectF(2.5, 2.5, 19, 19), 4);
             boxes(p, {{kAccent, {6.5, 6.5, 5, 5}}, {kAccent, {12.5, 6.5, 5, 5}}, {kAccent, {6.5, 12.5, 5, 5}},
                       {kAccent, {12.5, 12.5, 5, 5}}},
                   1);
         }},
        {"Min/Max Toggle",
         [](QPainter& p) { boxes(p, {{kPaper, {3.5, 4.5, 17, 15}}, {kAccent, {3.5, 4.5, 17, 4}}}); }},
        {"Center Obj In View",
         [](QPainter& p) {
             pen(p, kInk);
             p.drawEllipse(QPointF(12, 12), 7, 7);
             p.drawLine(QPointF(12, 2), QPointF(12, 8));
             p.drawLine(QPointF(12, 16), QPointF(12, 22));
             p.drawLine(QPointF(2, 12), QPointF(8, 12));
             p.drawLine(QPointF(16, 12), QPointF(22, 12));
             p.setBrush(QColor(210, 50, 40));
             p.setPen(Qt::NoPen);
             p.drawEllipse(QPointF(12, 12), 2, 2);
         }},
        {"Wireframe",
         [](QPainter& p) {
             pen(p, kInk, 1.1);
             const QRectF front(3.5, 8.5, 12, 12), back(8.5, 3.5, 12, 12);
             p.drawRect(back);
             p.drawRect(front);
             for (const auto& [a, b] : {std::pair{front.topLeft(), back.topLeft()}, {front.topRight(), back.topRight()},
                                        {front.bottomRight(), back.bottomRight()},
                                        {front.bottomLeft(), back.bottomLeft()}})
                 p.drawLine(a, b);
         }},
        {"3D Card Toggle",
         [](QPainter& p) {
             pen(p, kInk, 1.2);
             for (double t : {7.0, 11.0, 15.0}) {
                 p.drawLine(QPointF(t + 1, 2), QPointF(t + 1, 5));
                 p.drawLine(QPointF(t + 1, 19), QPointF(t + 1, 22));
                 p.drawLine(QPointF(2, t + 1), QPointF(5, t + 1));
                 p.drawLine(QPointF(19, t + 1), QPointF(22, t + 1));
             }
             p.setBrush(QColor(60, 140, 80));
             p.drawRect(QRectF(5, 5, 14, 14));
             QFont font = p.font();
             font.setPixelSize(7);
             font.setBold(true);
             p.setFont(font);
             p.setPen(kPaper);
             p.drawText(QRectF(5, 5, 14, 14), Qt::AlignCenter, "3D");
         }},
        {"Selection List",
         [](QPainter& p) {
             for (double y : {6.0, 12.0, 18.0}) {
                 p.setBrush(kAccent);
                 p.setPen(Qt::NoPen);
                 p.drawEllipse(QPointF(5, y), 1.8, 1.8);
                 pen(p, kInk, 1.8);
                 p.drawLine(QPointF(9, y), QPointF(21, y));
             }
         }},
        {"Atmosphere",
         [](QPainter& p) {
             for (double y : {6.0, 12.0, 18.0}) {
                 QPainterPath wave({2, y});
                 wave.cubicTo(6, y - 3.5, 9, y + 3.5, 12, y);
                 wave.cubicTo(15, y - 3.5, 18, y + 3.5, 22, y);
                 pen(p, QColor(120, 140, 165), 2);
                 p.drawPath(wave);
             }
         }},
        {"Duplicate",
         [](QPainter& p) { boxes(p, {{kPaper, {3.5, 3.5, 12, 12}}, {kAccent, {8.5, 8.5, 12, 12}}}, 1.2); }},
        {"Align",
         [](QPainter& p) {
             boxes(p, {{kAccent, {5, 5, 7, 15}}, {kWarm, {14, 11, 6, 9}}}, 1.2);
             p.setPen(QPen(QColor(210, 50, 40), 1.6, Qt::DashLine));
             p.drawLine(QPointF(2, 20.5), QPointF(22, 20.5));
         }},
    };
    return all;
}

QPixmap picture(const Drawing& draw, int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / kGrid, size / kGrid);
    draw(p);
    return pixmap;
}

}  // namespace

QIcon ToolbarIcon(const std::string& key) {
    const auto it = drawings().find(key);
    if (it == drawings().end()) return {};
    QIcon icon;
    // Drawn again at each size rather than scaled, so small ones stay sharp.
    for (int size : {16, 20, 24, 32, 48}) icon.addPixmap(picture(it->second, size));
    return icon;
}
