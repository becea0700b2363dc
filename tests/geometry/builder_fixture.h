// The undo fixture's world and shared objects, plus what the builders' tests
// need: a sink that records every face handed to the engine, and the points of
// a polygon as the engine keeps them.
#pragma once

#include "undo_fixture.h"

#include "geometry/PrimitiveBuilder.h"

#include <string>
#include <vector>

struct EnginePoint {
    Point3d pos;
    double u, v, sixth;
};

// Forwards to the engine's face step and keeps what each corner was given.
class RecordingSink : public geometry::FaceSink {
public:
    struct Corner {
        geometry::PolyPointRec rec;
        Point3d normal;
    };
    void BeginFace() override {
        engine_.BeginFace();
        faces.emplace_back();
    }
    void AddCorner(const geometry::PolyPointRec& rec, const Point3d& normal) override {
        engine_.AddCorner(rec, normal);
        faces.back().push_back({rec, normal});
    }
    void EndFace(int32_t group, bool flip) override { engine_.EndFace(group, flip); }

    std::vector<std::vector<Corner>> faces;

private:
    geometry::EngineFaceSink engine_;
};

class BuilderFixture : public UndoFixture {
protected:
    // An empty world again, nothing selected, no history.
    void freshWorld() {
        Globals::UndoRedoStack->Reset();
        OMBREL_engine_close();
        ASSERT_EQ(OMBREL_engine_load_world(nullptr, "", "", OMBREL_LOAD_EDITOR), 0);
        Globals::RootGrp = OMBREL_group_create("the_world");
        Globals::CurrMultiSel->Reset();
        Globals::PrevMultiSel->Reset();
        resetSelection();
    }

    static std::vector<EnginePoint> enginePoints(int32_t polygon) {
        std::vector<EnginePoint> out;
        for (int32_t p : pointsOf(polygon)) {
            EnginePoint e{};
            OMBREL_point_get_xyz(p, e.pos.data());
            double uv[2] = {0, 0};
            OMBREL_point_get_bitmap_xy(p, uv);
            e.u = uv[0];
            e.v = uv[1];
            e.sixth = OMBREL_point_get_brightness(p);
            out.push_back(e);
        }
        return out;
    }

    static std::string nameOf(int32_t handle) {
        char buffer[256] = {};
        OMBREL_entity_get_name(handle, buffer, 255);
        return buffer;
    }
};
