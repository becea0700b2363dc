// The main window's group, camera and light trees as the deletion, hiding and
// ungrouping procedures reach them through the window hooks: nodes by key, each
// with its parent key and image, children in the order they were added. As in
// the real trees a missing node raises, a group node is made with its sub-tree
// and takes its image from the group's own disabled flag.
#pragma once

#include "core/CoreError.h"
#include "core/Globals.h"
#include "core/GroupHierarchy.h"
#include "core/WindowHooks.h"
#include "ombrel.h"

#include <algorithm>
#include <string>
#include <vector>

struct FakeTrees {
    struct Node {
        std::string key, parent, image;
    };
    std::vector<Node> nodes;  // in the order added
    std::string selectedGroup;
    int objModeResets = 0;

    static std::string key(const char* kind, int32_t handle) { return kind + std::to_string(handle); }
    static std::string groupKey(int32_t g) { return key("Group", g); }

    const Node* find(const std::string& k) const {
        auto it = std::find_if(nodes.begin(), nodes.end(), [&](const Node& n) { return n.key == k; });
        return it == nodes.end() ? nullptr : &*it;
    }
    bool has(const std::string& k) const { return find(k) != nullptr; }
    const Node& at(const std::string& k) const {
        if (const Node* n = find(k)) return *n;
        core::raiseError("Element not found");
    }
    std::string image(const std::string& k) const { return at(k).image; }
    std::string parent(const std::string& k) const { return at(k).parent; }
    std::vector<std::string> children(const std::string& parentKey) const {
        std::vector<std::string> out;
        for (const Node& n : nodes)
            if (n.parent == parentKey) out.push_back(n.key);
        return out;
    }

    void add(const std::string& parentKey, const std::string& k, const std::string& image) {
        if (!parentKey.empty() && !has(parentKey)) core::raiseError("Element not found");
        if (has(k)) core::raiseError("Key is not unique in collection");
        nodes.push_back({k, parentKey, image});
    }
    void remove(const std::string& k) {
        for (const std::string& c : children(k)) remove(c);
        std::erase_if(nodes, [&](const Node& n) { return n.key == k; });
    }
    void setImage(const std::string& k, const std::string& image) {
        at(k);
        for (Node& n : nodes)
            if (n.key == k) n.image = image;
    }

    static bool ownDisabled(int32_t g) { return OMBREL_ext_group_get_own_disabled(g) != 0; }
    void addGroup(int32_t g, int32_t father) {
        add(father == Globals::RootGrp ? std::string() : groupKey(father), groupKey(g),
            ownDisabled(g) ? "Group Invisible" : "Group");
        for (int32_t c : Globals::ChildGroups(g)) addGroup(c, g);
    }
    // Every group of the world, as the tree is built when a world opens.
    void populate() {
        nodes.clear();
        add("", "CAMERA", "Folder");
        add("", "LIGHT", "Folder");
        for (int32_t g : Globals::ChildGroups(Globals::RootGrp)) addGroup(g, Globals::RootGrp);
    }

    static std::string shownImage(int32_t kind) { return kind == SelGroup ? "Group" : kind == SelCamera ? "Cam" : "Light"; }
    static std::string nodeKey(int32_t kind, int32_t handle) {
        return key(kind == SelGroup ? "Group" : kind == SelCamera ? "Camera" : "Light", handle);
    }
    bool hidden(int32_t kind, int32_t handle) const {
        return image(nodeKey(kind, handle)) == shownImage(kind) + " Invisible";
    }

    void install() {
        auto& h = core::windowHooks();
        h.removeGroupNode = [this](int32_t g) {
            if (has(groupKey(g))) remove(groupKey(g));
            selectedGroup.clear();
        };
        h.addGroupNode = [this](int32_t g, int32_t father) { addGroup(g, father); };
        h.removeCameraNode = [this](int32_t c) { remove(key("Camera", c)); };
        h.addCameraNode = [this](int32_t c) { add("CAMERA", key("Camera", c), "Cam"); };
        h.removeLightNode = [this](int32_t l) { remove(key("Light", l)); };
        h.addLightNode = [this](int32_t l) { add("LIGHT", key("Light", l), "Light"); };
        h.setHiddenImage = [this](int32_t kind, int32_t handle, bool hide) {
            setImage(nodeKey(kind, handle), shownImage(kind) + (hide ? " Invisible" : ""));
        };
        h.isGrpHidden = [this](int32_t g) { return hidden(SelGroup, g); };
        h.isCamHidden = [this](int32_t c) { return hidden(SelCamera, c); };
        h.isLightHidden = [this](int32_t l) { return hidden(SelLight, l); };
        h.selectGroupNode = [this](int32_t g) { selectedGroup = g ? groupKey(g) : std::string(); };
        h.resetObjModeCombo = [this] { ++objModeResets; };
    }
};
