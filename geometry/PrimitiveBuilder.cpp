#include "PrimitiveBuilder.h"

#include "RandomColour.h"

#include "core/Globals.h"
#include "core/Maths.h"
#include "core/SelectionChange.h"
#include "core/StringProcedures.h"
#include "core/WindowHooks.h"
#include "core/WindowProcedures.h"
#include "platform/prompts.h"

#include "ombrel.h"

#include <cmath>

namespace geometry {
namespace {

double roundTo10(double x) {
    // + 0.0: a value rounding to zero is +0, never -0.
    return Maths::RoundHalfEven(x * 1e10) / 1e10 + 0.0;
}

EngineFaceSink& engineSink() {
    static EngineFaceSink sink;
    return sink;
}

}  // namespace

void EngineFaceSink::BeginFace() { polygon_ = OMBREL_polygon_create(); }

void EngineFaceSink::AddCorner(const PolyPointRec& rec, const Point3d& normal) {
    const int32_t point = OMBREL_polygon_add_point(polygon_, rec.data());
    OMBREL_point_set_normal(point, normal.data());
}

void EngineFaceSink::EndFace(int32_t group, bool flip) {
    OMBREL_polygon_set_group(polygon_, group);
    OMBREL_engine_add_polygon(polygon_);
    if (flip) OMBREL_polygon_flip_visible_side(polygon_);
}

std::string GetNewGrpName(const std::string& kindWord) {
    return Globals::FirstFreeName(kindWord, false, [](const std::string& name) {
        return OMBREL_group_get_using_name(name.c_str()) != 0;
    });
}

double RoundedCos(double angle) { return roundTo10(std::cos(angle)); }
double RoundedSin(double angle) { return roundTo10(std::sin(angle)); }

PrimitiveBuilder::PrimitiveBuilder(FaceSink* sink) : sink_(sink ? *sink : engineSink()) {}

void PrimitiveBuilder::StartGroup(const char* kindWord) {
    GrpName = GetNewGrpName(kindWord);
    GrpHandle = OMBREL_group_create(GrpName.c_str());
    OMBREL_group_set_father_group(GrpHandle, Globals::RootGrp);
}

void PrimitiveBuilder::FinishGroup() {
    using namespace Globals;
    NameFaces();
    const auto rgb = RandomColour(BuilderRandom());
    OMBREL_group_set_color(GrpHandle, rgb.data());
    core::callHook(core::windowHooks().addGroupNode, GrpHandle, RootGrp);
    SetPrevSelEntityToCurrSelEntity();
    CurrSelEntityType = SelGroup;
    CurrSelEntityHandle = GrpHandle;
    ThingsToDoOnSelectedEntityChange();
    UpdateStatusBar();
    UpdateCameras();
}

bool PrimitiveBuilder::RefusesSides(int32_t sides) {
    if (sides <= MaxRoundSides) return false;
    platform::msgBox("Only Cylinders with a max of 100 sides are supported.", platform::MsgButtons::OK,
                     platform::MsgIcon::Information);
    return true;
}

void PrimitiveBuilder::Grid(const Point3d& start, const GridFace& f) {
    const double first = f.uAlongInner ? 0.0 : 1.0;
    const double da = (f.uAlongInner ? 1.0 : -1.0) / f.na;
    const double db = (f.uAlongInner ? 1.0 : -1.0) / f.nb;
    auto at = [&](int32_t p, int32_t q) {
        Point3d pos = start;
        pos[static_cast<std::size_t>(f.a)] = start[static_cast<std::size_t>(f.a)] + p * f.ea;
        pos[static_cast<std::size_t>(f.b)] = start[static_cast<std::size_t>(f.b)] + q * f.eb;
        return pos;
    };
    double ta = first;
    for (int32_t p = 0; p < f.na; ++p) {
        double tb = first;
        for (int32_t q = 0; q < f.nb; ++q) {
            struct GridCorner {
                int32_t dp, dq;
            };
            static constexpr GridCorner kUnflipped[4] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
            static constexpr GridCorner kFlipped[4] = {{0, 0}, {0, 1}, {1, 1}, {1, 0}};
            BeginFace();
            for (int k = 0; k < 4; ++k) {
                const GridCorner c = (f.flip ? kFlipped : kUnflipped)[k];
                const double outer = c.dp ? ta + da : ta;
                const double inner = c.dq ? tb + db : tb;
                const double u = f.uAlongInner ? inner : outer;
                const double v = f.uAlongInner ? outer : inner;
                Corner(at(p + c.dp, q + c.dq), u, v, k == 1 ? f.secondSixth : 100.0, f.normal);
            }
            EndFace();
            tb += db;
        }
        ta += da;
    }
}

void PrimitiveBuilder::NameFaces() {
    const std::string prefix = GrpName + "_Face";
    int32_t k = 0;
    for (int32_t p = OMBREL_group_get_first_polygon(GrpHandle); p != 0; p = OMBREL_group_get_next_polygon(GrpHandle, p)) {
        const std::string name = prefix + Globals::ZeroPad(k, 3);
        OMBREL_polygon_set_name(p, name.c_str());
        ++k;
    }
}

}  // namespace geometry
