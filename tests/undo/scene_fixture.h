// The undo fixture with the main window's trees faked through the window hooks,
// and helpers that make cameras, lights and selections as the editor does.
#pragma once

#include "fake_trees.h"
#include "undo_fixture.h"

#include "core/SelectionChange.h"

#include <initializer_list>
#include <vector>

class SceneFixture : public UndoFixture {
protected:
    void SetUp() override {
        UndoFixture::SetUp();
        trees = FakeTrees();
        trees.install();
        trees.populate();
    }

    // A saved camera with its marker and node, as a world brings it.
    int32_t makeCamera(const char* name) {
        const int32_t c = OMBREL_camera_create(name);
        OMBREL_camera_set_save_flag(c, 1);
        Globals::SceneCameras->Add(c);
        trees.add("CAMERA", FakeTrees::key("Camera", c), "Cam");
        return c;
    }

    int32_t makeLight(const char* name) {
        const double origin[3] = {0, 0, 0};
        const int32_t l = OMBREL_light_create(name, origin);
        OMBREL_light_set_save_flag(l, 1);
        Globals::SceneLights->Add(l);
        trees.add("LIGHT", FakeTrees::key("Light", l), "Light");
        return l;
    }

    // A group with polygons and its node (with its sub-tree) under its father's.
    int32_t makeGroupWithNode(const char* name, int32_t father = 0) {
        const int32_t g = makeGroup(name, {0, 0, 0}, father);
        trees.addGroup(g, OMBREL_group_get_father_group(g));
        return g;
    }
    // A group without polygons of its own.
    int32_t makeEmptyGroupWithNode(const char* name, int32_t father = 0) {
        const int32_t g = OMBREL_group_create(name);
        OMBREL_group_set_father_group(g, father ? father : Globals::RootGrp);
        trees.addGroup(g, OMBREL_group_get_father_group(g));
        return g;
    }

    static void select(int32_t kind, int32_t handle) {
        Globals::SetPrevSelEntityToCurrSelEntity();
        Globals::CurrSelEntityType = kind;
        Globals::CurrSelEntityHandle = handle;
        if (kind != SelMultiple) Globals::CurrMultiSel->Reset();
        if (kind == SelGroup) Globals::CurrMultiSel->AddGrpHandles(handle);
    }
    static void selectMultiple(std::initializer_list<int32_t> groups, std::initializer_list<int32_t> cameras = {},
                               std::initializer_list<int32_t> lights = {}) {
        Globals::SetPrevSelEntityToCurrSelEntity();
        Globals::CurrMultiSel->Reset();
        for (int32_t g : groups) Globals::CurrMultiSel->AddGrpHandles(g);
        for (int32_t c : cameras) Globals::CurrMultiSel->AddCamHandles(c);
        for (int32_t l : lights) Globals::CurrMultiSel->AddLightHandles(l);
        Globals::CurrSelEntityType = SelMultiple;
        Globals::CurrSelEntityHandle = 0;
    }

    // The records that can still be undone; the history is left as it was.
    static int undoableRecords() {
        int n = 0;
        while (Globals::UndoRedoStack->Pop()) ++n;
        for (int i = 0; i < n; ++i) Globals::UndoRedoStack->GetRedoObj();
        return n;
    }

    static std::vector<int32_t> multiGroups() {
        std::vector<int32_t> out;
        for (int32_t i = 1; i <= Globals::CurrMultiSel->NumOfGrps(); ++i) out.push_back(Globals::CurrMultiSel->GetGrp(i));
        return out;
    }

    FakeTrees trees;
};
