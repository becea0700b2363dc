// The builders' world plus what the polygon tools need: "Pol" nodes kept by
// the tree hooks, a group being edited in polygon mode with a polygon selection
// and its welded points, and readers of polygons and records.
#pragma once

#include "builder_fixture.h"

#include "core/SelectionCentres.h"
#include "core/WeldedPoints.h"
#include "core/WeldedPointsProcedures.h"
#include "geometry/mdlCutPols.h"
#include "geometry/mdlExtrude.h"
#include "undo/ActionUndoRedo_Stack.h"
#include "undo/UndoRedoCommands.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <set>
#include <vector>

using Vec = std::array<double, 3>;

class PolygonToolsFixture : public BuilderFixture {
protected:
    void SetUp() override {
        BuilderFixture::SetUp();
        Globals::LastErrDescription.clear();
        auto& h = core::windowHooks();
        h.addPolNode = [this](int32_t pol, int32_t group) {
            EXPECT_EQ(polNodes.count(pol), 0u) << "a second node for polygon " << pol;
            polNodes[pol] = group;
        };
        h.removePolNode = [this](int32_t pol) { polNodes.erase(pol); };
        h.hasPolNode = [this](int32_t pol) { return polNodes.count(pol) != 0; };
        window.page = 1;
        window.objMode = "Edit Geometry";
        window.editGeom = "Polygon";
    }

    // An empty world, nothing selected, no history, no node, no tool state.
    void restart() {
        freshWorld();
        polNodes.clear();
        mdlExtrude::ForgetWorld();
        mdlCutPols::ForgetWorld();
    }

    // A flat polygon through the corners (x, y, z each), added to the group.
    static int32_t polygon(int32_t group, const std::vector<Vec>& corners, std::vector<Point2d> uv = {}) {
        const int32_t p = OMBREL_polygon_create();
        for (std::size_t i = 0; i < corners.size(); ++i) {
            const Point2d t = i < uv.size() ? uv[i] : Point2d{0, 0};
            const double rec[6] = {corners[i][0], corners[i][1], corners[i][2], t[0], t[1], 100};
            OMBREL_polygon_add_point(p, rec);
        }
        OMBREL_polygon_set_group(p, group);
        OMBREL_engine_add_polygon(p);
        return p;
    }

    // A square in the z plane from (x, y) of side s, turning so that its
    // visible side faces +z.
    static int32_t quad(int32_t group, double x, double y, double s = 10, double z = 0) {
        return polygon(group, {{x, y, z}, {x, y + s, z}, {x + s, y + s, z}, {x + s, y, z}});
    }

    int32_t newGroup(const char* name) {
        const int32_t g = OMBREL_group_create(name);
        OMBREL_group_set_father_group(g, Globals::RootGrp);
        return g;
    }

    // The group edited in polygon mode with exactly these polygons selected.
    static void edit(int32_t group, const std::vector<int32_t>& selected) {
        using namespace Globals;
        CurrSelEntityType = SelGroup;
        CurrSelEntityHandle = group;
        BuildWeldedPoints(group);
        select(selected);
    }
    static void select(const std::vector<int32_t>& selected) {
        using namespace Globals;
        NumSelPols = 0;
        for (int32_t p : selected) SelPols[++NumSelPols] = p;
        UpdateSelPolsRelatedPtsArray();
        ComputeSelPolsAvgCenter();
    }
    static std::vector<int32_t> selection() {
        std::vector<int32_t> out;
        for (int32_t i = 1; i <= Globals::NumSelPols; ++i) out.push_back(Globals::SelPols[i]);
        return out;
    }

    static Vec position(int32_t pt) {
        Vec p = {0, 0, 0};
        OMBREL_point_get_xyz(pt, p.data());
        return p;
    }
    static std::vector<Vec> positionsOf(int32_t pol) {
        std::vector<Vec> out;
        for (int32_t pt : pointsOf(pol)) out.push_back(position(pt));
        return out;
    }
    // Every point of the group, by handle.
    static std::map<int32_t, Vec> groupPoints(int32_t group) {
        std::map<int32_t, Vec> out;
        for (int32_t pol : polygonsOf(group))
            for (int32_t pt : pointsOf(pol)) out[pt] = position(pt);
        return out;
    }
    static double farthest(const std::map<int32_t, Vec>& a, const std::map<int32_t, Vec>& b) {
        EXPECT_EQ(a.size(), b.size());
        double worst = 0;
        for (const auto& [pt, p] : a) {
            auto q = b.find(pt);
            if (q == b.end()) return INFINITY;
            for (std::size_t k = 0; k < 3; ++k) worst = std::max(worst, std::fabs(p[k] - q->second[k]));
        }
        return worst;
    }
    static Vec normalOf(int32_t pt) {
        Vec n = {0, 0, 0};
        OMBREL_ext_point_get_normal(pt, n.data());
        return n;
    }

    // The welded entries as sets of point handles.
    static std::set<std::set<int32_t>> weldedSets() {
        std::set<std::set<int32_t>> out;
        for (int32_t i = 1; i <= Globals::NumWeldedPts; ++i) {
            std::set<int32_t> entry;
            for (int32_t k = 1; k <= Globals::WeldedPts[i]->NumOfPts(); ++k) entry.insert(Globals::WeldedPts[i]->Point(k));
            out.insert(entry);
        }
        return out;
    }
    static bool weldedHoldsAPointOf(int32_t pol) {
        const std::vector<int32_t> pts = pointsOf(pol);
        for (const auto& entry : weldedSets())
            for (int32_t pt : pts)
                if (entry.count(pt)) return true;
        return false;
    }

    static ActionUndoRedo* newest() { return Globals::UndoRedoStack->Retrive(); }
    static void undo() { undo::UndoCommand(nullptr); }
    static void redo() { undo::RedoCommand(nullptr); }

    std::map<int32_t, int32_t> polNodes;  // polygon -> group
};
