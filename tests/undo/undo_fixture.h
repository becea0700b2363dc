// The real engine through the loader, an empty world with a root group, the
// editor's shared objects, and main-window hooks that record what the undo
// history asks of the window.
#pragma once

#include "undo/ActionUndoRedo_Stack.h"
#include "undo/DragInProgress.h"

#include "core/BoundingBox.h"
#include "core/Globals.h"
#include "core/MultipleSelection.h"
#include "core/WindowHooks.h"
#include "engine/ombrel_loader.h"
#include "entities/CameraGrp.h"
#include "entities/LightGrp.h"
#include "ombrel.h"
#include "platform/doubles/platform_doubles.h"
#include "walk_helpers.h"

#include <gtest/gtest.h>

#include <array>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

// What the window was asked to do, in order.
struct WindowRecorder {
    std::vector<std::string> calls;
    bool undoVisible = false;
    bool redoVisible = false;
    bool waiting = false;
    int page = 0;
    int objModeCount = 3;
    std::string objMode = "New Object";
    std::string editGeom = "Point";
    bool lightPanel = false;
    bool textureEditorLoaded = false;

    int count(const std::string& call) const {
        int n = 0;
        for (const std::string& c : calls) n += c == call;
        return n;
    }
};

class UndoFixture : public ::testing::Test {
protected:
    void SetUp() override {
        if (!ombrel_loader::isLoaded()) {
            auto r = ombrel_loader::load(TALVORA_PROGRAM_DIR "/libombrel3.so");
            ASSERT_EQ(r.status, ombrel_loader::Status::Loaded) << r.reason;
        }
        ASSERT_EQ(OMBREL_engine_load_world(nullptr, "", "", OMBREL_LOAD_EDITOR), 0);
        Globals::RootGrp = OMBREL_group_create("the_world");
        Globals::SelGrpBndBox = std::make_shared<BoundingBox>();
        Globals::CurrMultiSel = std::make_shared<MultipleSelection>();
        Globals::PrevMultiSel = std::make_shared<MultipleSelection>();
        Globals::SceneCameras = std::make_shared<CameraGrp>();
        Globals::SceneLights = std::make_shared<LightGrp>();
        Globals::UndoRedoStack = std::make_shared<ActionUndoRedo_Stack>();
        Globals::UndoRedoStack->setMenuHooks({[this](bool v) { window.undoVisible = v; },
                                              [this](bool v) { window.redoVisible = v; }});
        resetSelection();
        // A test that presses a handle without releasing it leaves no drag behind.
        undo::TransformDragFlag() = false;
        installHooks();
    }

    void TearDown() override {
        // Records finish their deferred work while the engine is still there.
        Globals::UndoRedoStack->Reset();
        Globals::UndoRedoStack.reset();
        Globals::SceneCameras.reset();
        Globals::SceneLights.reset();
        Globals::SelGrpBndBox.reset();
        Globals::CurrMultiSel.reset();
        Globals::PrevMultiSel.reset();
        resetSelection();
        undo::TransformDragFlag() = false;
        core::windowHooks() = {};
        OMBREL_engine_close();
    }

    static void resetSelection() {
        Globals::CurrSelEntityType = Globals::PrevSelEntityType = SelNone;
        Globals::CurrSelEntityHandle = Globals::PrevSelEntityHandle = 0;
        Globals::NumSelPts = Globals::NumSelPols = Globals::NumSelPtsPols = 0;
        Globals::NumSelPolsRelatedPts = Globals::NumWeldedPts = Globals::NumSelTrkPts = 0;
        Globals::WeldedPts.clear();
        Globals::SelTrkPts = {0};
        Globals::SelObjsAvgCenter = Globals::TrkCenter = {0, 0, 0};
    }

    void installHooks() {
        auto& h = core::windowHooks();
        h.updateCameras = [this] { window.calls.push_back("UpdateCameras"); };
        h.updateStatusBar = [this] { window.calls.push_back("UpdateStatusBar"); };
        h.setMousePtrToHourGlass = [this](bool restore) {
            window.waiting = !restore;
            window.calls.push_back(restore ? "EndWait" : "StartWait");
        };
        h.selectionChangedUi = [this] { window.calls.push_back("SelectionChangedUi"); };
        h.workspacePage = [this] { return window.page; };
        h.objModeCount = [this] { return window.objModeCount; };
        h.objModeText = [this] { return window.objMode; };
        h.setObjModeText = [this](const std::string& t) { window.objMode = t; };
        h.editGeomText = [this] { return window.editGeom; };
        h.showLightPanel = [this](bool v) { window.lightPanel = v; };
        h.textureMappingLoaded = [this] { return window.textureEditorLoaded; };
        h.updateEditGeomTab = [this] { window.calls.push_back("UpdateEditGeomTab"); };
    }

    // A group under the root with two squares of different sizes away from its
    // centre, so every turn and scale shows in its points.
    int32_t makeGroup(const char* name, std::array<double, 3> at, int32_t father = 0) {
        int32_t g = OMBREL_group_create(name);
        OMBREL_group_set_father_group(g, father ? father : Globals::RootGrp);
        square(g, {at[0] + 1, at[1] + 2, at[2]}, 2);
        square(g, {at[0] - 3, at[1], at[2] + 1}, 1);
        return g;
    }

    static int32_t square(int32_t group, std::array<double, 3> c, double size) {
        const double h = size / 2;
        int32_t p = OMBREL_polygon_create();
        for (auto [dx, dy] : {std::pair{-h, -h}, {-h, h}, {h, h}, {h, -h}}) {
            double rec[6] = {c[0] + dx, c[1] + dy, c[2], 0, 0, 100};
            OMBREL_polygon_add_point(p, rec);
        }
        OMBREL_polygon_set_group(p, group);
        OMBREL_engine_add_polygon(p);
        return p;
    }

    static std::vector<int32_t> polygonsOf(int32_t group) { return groupWalk(group); }

    static std::vector<int32_t> pointsOf(int32_t polygon) {
        std::vector<int32_t> pts;
        for (int32_t p = OMBREL_polygon_get_first_point(polygon); p; p = OMBREL_point_get_next_point(p))
            pts.push_back(p);
        return pts;
    }

    static bool alive(int32_t handle) { return OMBREL_ext_handle_kind(handle) != 0; }

    static std::unique_ptr<ActionUndoRedo> record(int32_t code) {
        auto r = std::make_unique<ActionUndoRedo>();
        r->ActionType = code;
        r->SetActionObjects();
        return r;
    }

    platform::doubles::PlatformDoubles platform_;
    WindowRecorder window;
};
