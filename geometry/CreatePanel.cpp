#include "CreatePanel.h"

#include "CreationRecord.h"

#include "core/Globals.h"
#include "core/Maths.h"
#include "core/WindowProcedures.h"
#include "platform/NumericField.h"
#include "platform/prompts.h"

namespace geometry {
namespace {

constexpr PanelField hidden(double value, const char* caption = "") { return {false, caption, value}; }
constexpr PanelField shown(const char* caption, double value) { return {true, caption, value}; }

constexpr KindSetup kSetups[] = {
    {"PLANE", {hidden(0), shown("Width", 100), shown("Height", 100)},
     {hidden(0), shown("Width Segs", 1), shown("Height Segs", 1)}, {1, 1, 1}},
    {"BOX", {shown("Depth", 100), shown("Width", 100), shown("Height", 100)},
     {shown("Depth Segs", 1), shown("Width Segs", 1), shown("Height Segs", 1)}, {1, 1, 1}},
    {"SPHERE", {hidden(0), hidden(0), shown("Radius", 100)}, {shown("Segments", 9), hidden(0), hidden(0)}, {1, 1, 1}},
    {"CYLINDER", {hidden(0), shown("Radius", 100), shown("Height", 300)},
     {hidden(0, "Cap Segs"), shown("Sides", 10), shown("Height Segs", 1)}, {1, 3, 1}},
    {"CONE", {hidden(0), shown("Radius", 100), shown("Height", 200)},
     {hidden(0, "Cap Segs"), shown("Sides", 10), shown("Height Segs", 1)}, {1, 3, 1}},
    {"TORUS", {hidden(0), shown("Radius1", 200), shown("Radius2", 60)},
     {shown("Segments", 10), shown("Sides", 8), hidden(0)}, {3, 3, 1}},
};

// Which fields a kind's builder takes, by index.
struct UsedFields {
    std::array<bool, 3> dims, counts;
};

UsedFields usedFields(const std::string& kind) {
    if (kind == "BOX") return {{true, true, true}, {true, true, true}};
    if (kind == "PLANE") return {{false, true, true}, {false, true, true}};
    if (kind == "SPHERE") return {{false, false, true}, {true, false, false}};
    if (kind == "CYLINDER" || kind == "CONE") return {{false, true, true}, {true, true, true}};
    if (kind == "TORUS") return {{false, true, true}, {true, true, false}};
    return {};
}

int32_t whole(double count) { return static_cast<int32_t>(Maths::RoundHalfEven(count)); }

std::string invalid(const std::string& what) { return "Invalid Parameter - " + what; }

}  // namespace

const KindSetup* FindKindSetup(const std::string& kind) {
    for (const KindSetup& s : kSetups)
        if (kind == s.kind) return &s;
    return nullptr;
}

std::optional<double> AcceptCountText(const QString& text, int32_t minimum) {
    double value = 0;
    if (!platform::ReadValue(text, platform::kWholeNumbers, value)) return std::nullopt;
    value = Maths::RoundHalfEven(value);
    return value < minimum ? minimum : value;
}

double StepValue(double value, int position, double minimum) {
    value += position;
    return value < minimum ? minimum : value;
}

int64_t PolygonCount(const std::string& kind, const PanelValues& values) {
    const auto c = [&](int i) { return static_cast<int64_t>(values.counts[static_cast<std::size_t>(i)]); };
    if (kind == "BOX") return 2 * (c(0) * c(1) + c(1) * c(2) + c(0) * c(2));
    if (kind == "PLANE") return c(1) * c(2);
    if (kind == "SPHERE") return 2 * (c(0) + 1) * (c(0) + 1);
    if (kind == "CYLINDER") return c(1) * c(2) + 2;
    if (kind == "CONE") return c(1) * c(2) + 1;
    if (kind == "TORUS") return c(0) * c(1);
    return 0;
}

std::string Refusal(const std::string& kind, const PanelValues& values) {
    const KindSetup* setup = FindKindSetup(kind);
    if (!setup) return "";
    const UsedFields used = usedFields(kind);
    // A dimension of 0 makes coinciding faces or divides by zero.
    for (std::size_t i = 0; i < 3; ++i)
        if (used.dims[i] && values.dims[i] == 0) return invalid(setup->dims[i].caption);
    for (std::size_t i = 0; i < 3; ++i)
        if (used.counts[i] && !(values.counts[i] <= kMaxCount)) return invalid(setup->counts[i].caption);
    if (PolygonCount(kind, values) > kMaxPrimitivePolygons) return invalid("Too many polygons.");
    return "";
}

bool CreatePrimitive(PrimitiveBuilders& builders, const std::string& kind, const PanelValues& values) {
    using namespace Globals;
    if (!FindKindSetup(kind)) return false;
    if (const std::string refusal = Refusal(kind, values); !refusal.empty()) {
        platform::msgBox(refusal, platform::MsgButtons::OK, platform::MsgIcon::Information);
        return false;
    }
    const auto& d = values.dims;
    const auto c = [&](std::size_t i) { return whole(values.counts[i]); };
    WaitState wait;
    bool built = false;
    if (kind == "BOX") built = builders.Box.Create(d[0], d[1], d[2], c(0), c(1), c(2));
    if (kind == "PLANE") built = builders.Plane.Create(d[1], d[2], c(1), c(2));
    if (kind == "SPHERE") built = builders.Sphere.Create(d[2], c(0));
    if (kind == "CYLINDER") built = builders.Cylinder.Create(d[1], d[2], c(0), c(1), c(2));
    if (kind == "CONE") built = builders.Cone.Create(d[1], d[2], c(0), c(1), c(2));
    if (kind == "TORUS") built = builders.Torus.Create(d[1], d[2], c(0), c(1));
    wait.end();
    if (!built) return false;
    // The builder made the new group the selection and the old one the previous.
    RecordCreation();
    return true;
}

}  // namespace geometry
