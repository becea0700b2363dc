// What the six primitive builders share: the free group name, the face step that
// hands one polygon to the engine, the face names, the random colour, the tree
// node and the selection of the new group.
#pragma once

#include "core/CoreTypes.h"

#include <array>
#include <cstdint>
#include <string>

namespace geometry {

// One point as OMBREL_polygon_add_point takes it: x, y, z, u, v and a sixth value.
using PolyPointRec = std::array<double, 6>;

// Where a builder's faces go, corner by corner. The editor's sink is the engine;
// a test may look over its shoulder.
class FaceSink {
public:
    virtual ~FaceSink() = default;
    virtual void BeginFace() = 0;
    virtual void AddCorner(const PolyPointRec& rec, const Point3d& normal) = 0;
    // Puts the face into the group and the world; flip also turns its visible side.
    virtual void EndFace(int32_t group, bool flip) = 0;
};

// The face step: create, add every point with its normal, set the group, add to
// the engine. Holds only the polygon being built.
class EngineFaceSink : public FaceSink {
public:
    void BeginFace() override;
    void AddCorner(const PolyPointRec& rec, const Point3d& normal) override;
    void EndFace(int32_t group, bool flip) override;

private:
    int32_t polygon_ = 0;
};

// How one axis-aligned grid of quads is laid out: its two axes (outer a, inner b),
// its counts and steps, its normal, and how its texture runs.
struct GridFace {
    int a = 0, b = 1;
    int32_t na = 1, nb = 1;
    double ea = 0, eb = 0;
    Point3d normal = {0, 0, 0};
    bool flip = false;         // corner order C00, C01, C11, C10
    bool uAlongInner = false;  // u grows with b and v with a from 0; otherwise both fall from 1
    double secondSixth = 100;  // the sixth value of each quad's second corner
};

// The kind word followed by ZeroPad(n, 2) for the first n from 1 whose name no
// group of the world has.
std::string GetNewGrpName(const std::string& kindWord);

// Cosine and sine rounded to 10 decimals (halves to even), as the round shapes use them.
double RoundedCos(double angle);
double RoundedSin(double angle);

// The more sides than this a cylinder or cone refuses.
inline constexpr int32_t MaxRoundSides = 100;

class PrimitiveBuilder {
public:
    // sink: the engine's face step when null.
    explicit PrimitiveBuilder(FaceSink* sink = nullptr);
    virtual ~PrimitiveBuilder() = default;
    PrimitiveBuilder(const PrimitiveBuilder&) = delete;
    PrimitiveBuilder& operator=(const PrimitiveBuilder&) = delete;

protected:
    // Free name, new group, the root group as its father.
    void StartGroup(const char* kindWord);
    // Names the faces, colours the group, adds its tree node, selects it, then the
    // status bar and the views.
    void FinishGroup();
    // The cylinder's and cone's side limit: the message, and true when refused.
    static bool RefusesSides(int32_t sides);

    void BeginFace() { sink_.BeginFace(); }
    void Corner(const Point3d& pos, double u, double v, double sixth, const Point3d& normal) {
        sink_.AddCorner({pos[0], pos[1], pos[2], u, v, sixth}, normal);
    }
    void EndFace(bool flip = false) { sink_.EndFace(GrpHandle, flip); }
    // One grid of quads from the start corner, row by row (p outer, q inner);
    // positions are index times step plus start, texture values running sums.
    void Grid(const Point3d& start, const GridFace& face);

    std::string GrpName;
    int32_t GrpHandle = 0;

private:
    void NameFaces();

    FaceSink& sink_;
};

}  // namespace geometry
