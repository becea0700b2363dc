// The box and the plane: x is the depth, y the width, z the height, both centred
// on the origin. The box is six faces of quads with outward normals; the plane
// one grid standing in x = 0, facing +x.
#pragma once

#include "PrimitiveBuilder.h"

namespace geometry {

class CreateBox : public PrimitiveBuilder {
public:
    using PrimitiveBuilder::PrimitiveBuilder;
    // Always builds; false never comes back (the same shape as the round builders).
    bool Create(double BoxDepth, double BoxWidth, double BoxHeight, int32_t DSegs, int32_t WSegs, int32_t HSegs);

private:
    void CreateXYFace(const Point3d& start, bool flip);
    void CreateYZFace(const Point3d& start, bool flip);
    void CreateXZFace(const Point3d& start, bool flip);

    double BoxDepth_ = 0, BoxWidth_ = 0, BoxHeight_ = 0;
    int32_t DSegs_ = 0, WSegs_ = 0, HSegs_ = 0;
};

class CreatePlane : public PrimitiveBuilder {
public:
    using PrimitiveBuilder::PrimitiveBuilder;
    bool Create(double BoxWidth, double BoxHeight, int32_t WSegs, int32_t HSegs);

private:
    void CreatePlaneFace(const Point3d& start);

    double BoxWidth_ = 0, BoxHeight_ = 0;
    int32_t WSegs_ = 0, HSegs_ = 0;
};

}  // namespace geometry
