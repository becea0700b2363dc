#include "CreateBox.h"

namespace geometry {
namespace {

constexpr int X = 0, Y = 1, Z = 2;

// A grid over the extents of axes a (outer) and b (inner), each cut into its count.
GridFace boxFace(int a, int32_t na, double extentA, int b, int32_t nb, double extentB, const Point3d& normal,
                 bool flip, bool uAlongInner) {
    GridFace f;
    f.a = a;
    f.b = b;
    f.na = na;
    f.nb = nb;
    f.ea = extentA / na;
    f.eb = extentB / nb;
    f.normal = normal;
    f.flip = flip;
    f.uAlongInner = uAlongInner;
    return f;
}

}  // namespace

bool CreateBox::Create(double BoxDepth, double BoxWidth, double BoxHeight, int32_t DSegs, int32_t WSegs,
                       int32_t HSegs) {
    BoxDepth_ = BoxDepth;
    BoxWidth_ = BoxWidth;
    BoxHeight_ = BoxHeight;
    DSegs_ = DSegs;
    WSegs_ = WSegs;
    HSegs_ = HSegs;
    StartGroup("Box");
    const double hx = BoxDepth / 2, hy = BoxWidth / 2, hz = BoxHeight / 2;
    CreateXYFace({-hx, -hy, -hz}, false);
    CreateXYFace({-hx, -hy, +hz}, true);
    CreateYZFace({-hx, -hy, -hz}, false);
    CreateYZFace({+hx, -hy, -hz}, true);
    CreateXZFace({-hx, -hy, -hz}, true);
    CreateXZFace({-hx, +hy, -hz}, false);
    FinishGroup();
    return true;
}

// Faces of constant z: the flipped one is the top.
void CreateBox::CreateXYFace(const Point3d& start, bool flip) {
    Grid(start, boxFace(X, DSegs_, BoxDepth_, Y, WSegs_, BoxWidth_, {0, 0, flip ? 1.0 : -1.0}, flip, true));
}

// Faces of constant x: the flipped one is the front (+x).
void CreateBox::CreateYZFace(const Point3d& start, bool flip) {
    Grid(start, boxFace(Y, WSegs_, BoxWidth_, Z, HSegs_, BoxHeight_, {flip ? 1.0 : -1.0, 0, 0}, flip, false));
}

// Faces of constant y: the flipped one is the left (-y).
void CreateBox::CreateXZFace(const Point3d& start, bool flip) {
    Grid(start, boxFace(X, DSegs_, BoxDepth_, Z, HSegs_, BoxHeight_, {0, flip ? -1.0 : 1.0, 0}, flip, false));
}

bool CreatePlane::Create(double BoxWidth, double BoxHeight, int32_t WSegs, int32_t HSegs) {
    BoxWidth_ = BoxWidth;
    BoxHeight_ = BoxHeight;
    WSegs_ = WSegs;
    HSegs_ = HSegs;
    StartGroup("Plane");
    CreatePlaneFace({0, -BoxWidth / 2, -BoxHeight / 2});
    FinishGroup();
    return true;
}

void CreatePlane::CreatePlaneFace(const Point3d& start) {
    GridFace f = boxFace(Y, WSegs_, BoxWidth_, Z, HSegs_, BoxHeight_, {1, 0, 0}, true, false);
    f.secondSixth = 65280.0;  // green, on the second corner of every quad
    Grid(start, f);
}

}  // namespace geometry
