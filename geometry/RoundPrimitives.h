// The round primitives: cylinder and cone stand on the z axis (the cone's base at
// z = 0, its apex up), the sphere has its poles on the z axis, the torus lies in
// the x-z plane round the y axis. Cosines and sines are rounded to 10 decimals,
// angles and texture coordinates are running sums, as the shapes are defined.
#pragma once

#include "PrimitiveBuilder.h"

namespace geometry {

// 2π and π as the shapes write them.
inline constexpr double kTwoPi = 6.28318530717958;
inline constexpr double kPi = 3.14159265358979;

// What the round shapes share: their caps.
class RoundPrimitive : public PrimitiveBuilder {
public:
    using PrimitiveBuilder::PrimitiveBuilder;

protected:
    // One polygon of the given sides on the circle of radius R at height z, the
    // disc projected onto the texture square; reverse walks the angles downwards
    // and faces +z, otherwise they grow and it faces -z.
    void Disc(double R, double z, int32_t sides, bool reverse);
};

class CreateCylinder : public RoundPrimitive {
public:
    using RoundPrimitive::RoundPrimitive;
    // False when refused (more than 100 sides): nothing was made.
    bool Create(double CylRadius, double CylHeight, int32_t CSegs, int32_t SSegs, int32_t HSegs);

private:
    void CreateCylinderSides(bool flip);
    void CreateCylinderCap(bool top, bool reverse);

    double CylRadius_ = 0, CylHeight_ = 0, HeightStep_ = 0;
    int32_t CSegs_ = 0, SSegs_ = 0, HSegs_ = 0;
};

class CreateSphere : public PrimitiveBuilder {
public:
    using PrimitiveBuilder::PrimitiveBuilder;
    bool Create(double SphRadius, int32_t SphSegs);

private:
    void CreateSphereFaces();

    double SphRadius_ = 0;
    int32_t SphSegs_ = 0;
};

class CreateCone : public RoundPrimitive {
public:
    using RoundPrimitive::RoundPrimitive;
    // False when refused (more than 100 sides): nothing was made.
    bool Create(double ConRadius, double ConHeight, int32_t CSegs, int32_t SSegs, int32_t HSegs);

private:
    void CreateConeSides();
    void CreateConeCap();

    double ConRadius_ = 0, ConHeight_ = 0, RingHeight_ = 0;
    int32_t CSegs_ = 0, SSegs_ = 0, HSegs_ = 0;
};

class CreateTorus : public PrimitiveBuilder {
public:
    using PrimitiveBuilder::PrimitiveBuilder;
    bool Create(double TorRadius1, double TorRadius2, int32_t Ring_Segs, int32_t Side_Segs);

private:
    void CreateTorusFaces();

    double TorRadius1_ = 0, TorRadius2_ = 0;
    int32_t Ring_Segs_ = 0, Side_Segs_ = 0;
};

}  // namespace geometry
