#include "CreateBox.h"

namespace geometry {
namespace {

constexpr int X = 0, Y = 1, Z = 2;

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
    GridFace f;
    f.a = X;
    f.b = Y;
    f.na = DSegs_;
    f.nb = WSegs_;
    f.ea = BoxDepth_ / DSegs_;
    f.eb = BoxWidth_ / WSegs_;
    f.normal = {0, 0, flip ? 1.0 : -1.0};
    f.flip = flip;
    f.uAlongInner = true;
    Grid(start, f);
}

// Faces of constant x: the flipped one is the front (+x).
void CreateBox::CreateYZFace(const Point3d& start, bool flip) {
    GridFace f;
    f.a = Y;
    f.b = Z;
    f.na = WSegs_;
    f.nb = HSegs_;
    f.ea = BoxWidth_ / WSegs_;
    f.eb = BoxHeight_ / HSegs_;
    f.normal = {flip ? 1.0 : -1.0, 0, 0};
    f.flip = flip;
    Grid(start, f);
}

// Faces of constant y: the flipped one is the left (-y).
void CreateBox::CreateXZFace(const Point3d& start, bool flip) {
    GridFace f;
    f.a = X;
    f.b = Z;
    f.na = DSegs_;
    f.nb = HSegs_;
    f.ea = BoxDepth_ / DSegs_;
    f.eb = BoxHeight_ / HSegs_;
    f.normal = {0, flip ? -1.0 : 1.0, 0};
    f.flip = flip;
    Grid(start, f);
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
    GridFace f;
    f.a = Y;
    f.b = Z;
    f.na = WSegs_;
    f.nb = HSegs_;
    f.ea = BoxWidth_ / WSegs_;
    f.eb = BoxHeight_ / HSegs_;
    f.normal = {1, 0, 0};
    f.flip = true;
    f.secondSixth = 65280.0;  // green, on the second corner of every quad
    Grid(start, f);
}

}  // namespace geometry
