// The editor with a new world the test fills with groups, cameras and lights,
// the trees rebuilt from it as a loaded world has them, and the history's depth.
#pragma once

#include "EditorFixture.h"

#include "core/Globals.h"
#include "core/MultipleSelection.h"
#include "core/SelectionChange.h"
#include "entities/CameraGrp.h"
#include "entities/LightGrp.h"
#include "ombrel.h"
#include "undo/ActionUndoRedo_Stack.h"

#include <initializer_list>
#include <string>
#include <vector>

class SceneWorldTest : public EditorFixture {
protected:
    Form1& start() {
        Form1& f = StartEditor();
        OpenEmptyWorld();
        return f;
    }

    // A group with one square of its own.
    static int32_t group(const std::string& name, int32_t father = 0) {
        const int32_t g = MakeGroup(name, father ? father : Globals::RootGrp);
        MakePolygon(g, {{-5, -5}, {-5, 5}, {5, 5}, {5, -5}});
        return g;
    }
    static int32_t camera(const std::string& name) {
        const int32_t c = OMBREL_camera_create(name.c_str());
        OMBREL_camera_set_save_flag(c, 1);
        return c;
    }
    static int32_t light(const std::string& name) {
        const double origin[3] = {0, 0, 0};
        const int32_t l = OMBREL_light_create(name.c_str(), origin);
        OMBREL_light_set_save_flag(l, 1);
        return l;
    }
    // The trees and markers of what the engine holds now.
    void rebuildTrees() {
        Globals::SceneCameras->RemoveAll();
        form().trwCamTrackBK_Populate();
        form().trwGroupView_Populate();
        form().trwLight_Populate();
    }

    // A selection made the way the views and trees make it.
    static void select(int32_t kind, int32_t handle) {
        Globals::SetPrevSelEntityToCurrSelEntity();
        Globals::CurrSelEntityType = kind;
        Globals::CurrSelEntityHandle = handle;
        Globals::ThingsToDoOnSelectedEntityChange();
    }
    static void selectMultiple(std::initializer_list<int32_t> groups, std::initializer_list<int32_t> cameras = {},
                               std::initializer_list<int32_t> lights = {}, std::initializer_list<int32_t> tracks = {}) {
        Globals::SetPrevSelEntityToCurrSelEntity();
        Globals::CurrMultiSel->Reset();
        for (int32_t g : groups) Globals::CurrMultiSel->AddGrpHandles(g);
        for (int32_t c : cameras) Globals::CurrMultiSel->AddCamHandles(c);
        for (int32_t l : lights) Globals::CurrMultiSel->AddLightHandles(l);
        for (int32_t t : tracks) Globals::CurrMultiSel->AddTrackHandles(t);
        Globals::CurrSelEntityType = SelMultiple;
        Globals::ThingsToDoOnSelectedEntityChange();
    }

    static std::string groupKey(int32_t g) { return KeyedTree::NodeKey("Group", g); }
    static std::string cameraKey(int32_t c) { return KeyedTree::NodeKey("Camera", c); }
    static std::string lightKey(int32_t l) { return KeyedTree::NodeKey("Light", l); }
    static std::string image(const KeyedTree& tree, const std::string& key) { return KeyedTree::Image(tree.Item(key)); }
    static std::string parentKey(const KeyedTree& tree, const std::string& key) {
        QTreeWidgetItem* up = tree.Item(key)->parent();
        return up ? KeyedTree::Key(up) : "";
    }
    static std::vector<std::string> childKeys(const KeyedTree& tree, const std::string& key) {
        std::vector<std::string> keys;
        QTreeWidgetItem* node = tree.Item(key);
        for (int i = 0; i < node->childCount(); ++i) keys.push_back(KeyedTree::Key(node->child(i)));
        return keys;
    }

    // The records Undo can still take back; the history is left as it was.
    static int undoable() {
        int n = 0;
        while (Globals::UndoRedoStack->Pop()) ++n;
        for (int i = 0; i < n; ++i) Globals::UndoRedoStack->GetRedoObj();
        return n;
    }
    static int32_t newestType() {
        ActionUndoRedo* r = Globals::UndoRedoStack->Retrive();
        return r ? r->ActionType : 0;
    }
    static bool alive(int32_t handle) { return OMBREL_ext_handle_kind(handle) != 0; }
    static bool disabled(int32_t group) { return OMBREL_group_is_disable(group) != 0; }
    static int32_t cameraMarker(int32_t c) { return Globals::SceneCameras->GetCamGrp(c); }
    static int32_t lightMarker(int32_t l) { return Globals::SceneLights->GetLightGrp(l); }
};
