// The create panel's rules: what each kind shows with its defaults and count
// minimums, how the fields accept typed text and spinner steps, what Create
// refuses, and Create itself (build, then record for undo). The panel's controls
// and handlers are the main window's; they read and write through these.
#pragma once

#include "CreateBox.h"
#include "RoundPrimitives.h"

#include <QString>

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace geometry {

// The kinds in the panel's list order.
inline constexpr std::array<const char*, 6> kPrimitiveKinds = {"PLANE", "BOX", "SPHERE", "CONE", "CYLINDER", "TORUS"};

struct PanelField {
    bool visible;
    const char* caption;  // a hidden field's caption is "" except the round shapes' "Cap Segs"
    double value;
};

struct KindSetup {
    const char* kind;
    std::array<PanelField, 3> dims;
    std::array<PanelField, 3> counts;
    std::array<int32_t, 3> minimums;
};

// The setup of one of the six words (exact comparison); null for any other text.
const KindSetup* FindKindSetup(const std::string& kind);

// The minimum a spinner keeps a dimension at.
inline constexpr double kDimensionMinimum = 1;
// What Create refuses: a count above this, a primitive of more polygons than this.
inline constexpr double kMaxCount = 1000;
inline constexpr int64_t kMaxPrimitivePolygons = 250000;

// A count as typed: the nearest whole number (halves to even), raised to the
// minimum; nothing when the text is not a number.
std::optional<double> AcceptCountText(const QString& text, int32_t minimum);
// A spinner position (+1 or -1) folded into a value, raised to the minimum.
double StepValue(double value, int position, double minimum);

// Field values as the panel holds them, by field index.
struct PanelValues {
    std::array<double, 3> dims{};
    std::array<double, 3> counts{};
};

// The polygons a kind would make with these values.
int64_t PolygonCount(const std::string& kind, const PanelValues& values);
// The message that refuses these values ("Invalid Parameter - ..."), or "" when
// the kind can be built with them.
std::string Refusal(const std::string& kind, const PanelValues& values);

// One builder per kind, made when the main window loads.
struct PrimitiveBuilders {
    CreatePlane Plane;
    CreateBox Box;
    CreateSphere Sphere;
    CreateCone Cone;
    CreateCylinder Cylinder;
    CreateTorus Torus;
};

// Create: refused values get their message and nothing else; otherwise the
// builder of the kind builds under the wait state, and the new group, now the
// selection, is recorded for undo. True when a primitive was made and recorded.
bool CreatePrimitive(PrimitiveBuilders& builders, const std::string& kind, const PanelValues& values);

}  // namespace geometry
