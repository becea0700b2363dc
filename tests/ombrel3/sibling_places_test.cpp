// A group's place among its father's children and a polygon's among its group's
// polygons: read, set, refused, and kept by the world file.
#include "walk_helpers.h"
#include "world_file_helpers.h"

#include "ombrel_places.h"

#include <string>
#include <vector>

namespace {

std::vector<std::string> names(const std::vector<int32_t>& handles) {
    std::vector<std::string> out;
    for (int32_t h : handles) out.push_back(entityName(h));
    return out;
}

class SiblingPlaces : public EngineTest {
protected:
    // root -> (a, b, c, d), a -> (a1, a2)
    void SetUp() override {
        EngineTest::SetUp();
        groups.clear();
        root = OMBREL_group_create("the_world");
        for (const char* n : {"a", "b", "c", "d", "a1", "a2"}) {
            const int32_t g = OMBREL_group_create(n);
            groups.push_back(g);
            OMBREL_group_set_father_group(g, std::string(n).size() == 1 ? root : groups[0]);
        }
    }
    int32_t g(const char* n) const {
        for (int32_t h : groups)
            if (entityName(h) == n) return h;
        return 0;
    }
    std::vector<std::string> childrenOf(int32_t father) const {
        std::vector<int32_t> out;
        for (int32_t c : includedGroups(father))
            if (OMBREL_group_get_father_group(c) == father) out.push_back(c);
        return names(out);
    }
    int32_t root = 0;
    std::vector<int32_t> groups;
};

TEST_F(SiblingPlaces, GroupGoesToThePlaceAndTheOthersKeepTheirOrder) {
    using V = std::vector<std::string>;
    struct Case {
        const char* group;
        int32_t index;
        V rootChildren;
        V aChildren;
    } cases[] = {
        {"d", 0, {"d", "a", "b", "c"}, {"a1", "a2"}},  // last to first
        {"a", 3, {"b", "c", "d", "a"}, {"a1", "a2"}},  // first to last
        {"b", 2, {"a", "c", "b", "d"}, {"a1", "a2"}},  // middle forwards
        {"c", 1, {"a", "c", "b", "d"}, {"a1", "a2"}},  // middle backwards
        {"b", 1, {"a", "b", "c", "d"}, {"a1", "a2"}},  // where it is
        {"a2", 0, {"a", "b", "c", "d"}, {"a2", "a1"}},  // nested
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.group) + " to " + std::to_string(c.index));
        TearDown();
        SetUp();
        ASSERT_EQ(OMBREL_ext_group_set_index(g(c.group), c.index), 0) << OMBREL_ext_get_last_error();
        EXPECT_EQ(childrenOf(root), c.rootChildren);
        EXPECT_EQ(childrenOf(g("a")), c.aChildren);
        EXPECT_EQ(OMBREL_ext_group_get_index(g(c.group)), c.index);
    }
}

TEST_F(SiblingPlaces, PlacesCountOnlyTheChildrenStillThere) {
    // Children that left leave holes in the engine's list; a place counts the rest.
    const int32_t e = OMBREL_group_create("e");
    OMBREL_group_set_father_group(e, root);
    OMBREL_group_set_father_group(g("b"), 0);
    OMBREL_group_set_father_group(g("c"), 0);
    EXPECT_EQ(OMBREL_ext_group_get_index(g("d")), 1);
    EXPECT_EQ(OMBREL_ext_group_get_index(e), 2);
    ASSERT_EQ(OMBREL_ext_group_set_index(e, 0), 0);
    EXPECT_EQ(childrenOf(root), (std::vector<std::string>{"e", "a", "d"}));
    // A child that comes back is appended, then put where it was.
    OMBREL_group_set_father_group(g("b"), root);
    ASSERT_EQ(OMBREL_ext_group_set_index(g("b"), 1), 0);
    EXPECT_EQ(childrenOf(root), (std::vector<std::string>{"e", "b", "a", "d"}));
    EXPECT_EQ(OMBREL_ext_group_get_index(g("d")), 3);
}

TEST_F(SiblingPlaces, RefusesStaleHandlesFatherlessEntitiesAndPlacesOutOfRange) {
    const int32_t loose = OMBREL_group_create("loose");
    const int32_t gone = OMBREL_group_create("gone");
    OMBREL_group_delete_members(gone);
    const int32_t p = makeSquareFacingUp(g("a"), 0, 0, 0, 1);
    const int32_t outside = OMBREL_polygon_create();
    struct Case {
        const char* what;
        int32_t (*set)(int32_t, int32_t);
        int32_t (*get)(int32_t);
        int32_t handle, index;
        int32_t placeAfter;  // what get answers once set was refused
    } cases[] = {
        {"group below 0", OMBREL_ext_group_set_index, OMBREL_ext_group_get_index, g("b"), -1, 1},
        {"group at the count", OMBREL_ext_group_set_index, OMBREL_ext_group_get_index, g("b"), 4, 1},
        {"nested group at the count", OMBREL_ext_group_set_index, OMBREL_ext_group_get_index, g("a1"), 2, 0},
        {"stale group", OMBREL_ext_group_set_index, OMBREL_ext_group_get_index, gone, 0, -1},
        {"polygon as a group", OMBREL_ext_group_set_index, OMBREL_ext_group_get_index, p, 0, -1},
        {"polygon at the count", OMBREL_ext_polygon_set_index, OMBREL_ext_polygon_get_index, p, 1, 0},
        {"group as a polygon", OMBREL_ext_polygon_set_index, OMBREL_ext_polygon_get_index, g("b"), 0, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        OMBREL_ext_clear_last_error();
        EXPECT_EQ(c.set(c.handle, c.index), -1);
        EXPECT_STRNE(OMBREL_ext_get_last_error(), "");
        EXPECT_EQ(c.get(c.handle), c.placeAfter);
    }
    // Fatherless: the root, a group never attached, a polygon in no group.
    for (int32_t h : {root, loose}) {
        EXPECT_EQ(OMBREL_ext_group_get_index(h), -1);
        EXPECT_EQ(OMBREL_ext_group_set_index(h, 0), -1);
    }
    EXPECT_EQ(OMBREL_ext_polygon_get_index(outside), -1);
    EXPECT_EQ(OMBREL_ext_polygon_set_index(outside, 0), -1);
    EXPECT_EQ(childrenOf(root), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(OMBREL_ext_group_get_index(g("b")), 1);
    EXPECT_EQ(OMBREL_ext_polygon_get_index(p), 0);
}

TEST_F(SiblingPlaces, PolygonGoesToThePlaceInItsGroup) {
    const int32_t b = g("b");
    std::vector<int32_t> pols;
    for (int i = 0; i < 4; ++i) pols.push_back(makeSquareFacingUp(b, i * 2.0, 0, 0, 1));
    struct Case {
        int from, index;
        std::vector<int> order;  // positions in pols
    } cases[] = {
        {3, 0, {3, 0, 1, 2}},
        {0, 3, {1, 2, 3, 0}},
        {1, 2, {0, 2, 1, 3}},
        {2, 2, {0, 1, 2, 3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.from) + " to " + std::to_string(c.index));
        // Back to the first order: out of the group and in again, in turn.
        for (int32_t p : pols) {
            OMBREL_polygon_set_group(p, 0);
            OMBREL_polygon_set_group(p, b);
        }
        ASSERT_EQ(OMBREL_ext_polygon_set_index(pols[static_cast<std::size_t>(c.from)], c.index), 0);
        std::vector<int32_t> expected;
        for (int i : c.order) expected.push_back(pols[static_cast<std::size_t>(i)]);
        EXPECT_EQ(groupWalk(b), expected);
        for (std::size_t i = 0; i < expected.size(); ++i)
            EXPECT_EQ(OMBREL_ext_polygon_get_index(expected[i]), static_cast<int32_t>(i));
    }
}

TEST_F(SiblingPlaces, TheWorldFileKeepsThePlaces) {
    FileFolder folder;
    const int32_t c = g("c");
    const int32_t first = makeSquareFacingUp(c, 0, 0, 0, 1);
    const int32_t second = makeSquareFacingUp(c, 5, 0, 0, 1);
    OMBREL_polygon_set_name(first, "first");
    OMBREL_polygon_set_name(second, "second");
    ASSERT_EQ(OMBREL_ext_group_set_index(c, 0), 0);
    ASSERT_EQ(OMBREL_ext_group_set_index(g("a1"), 1), 0);
    ASSERT_EQ(OMBREL_ext_polygon_set_index(second, 0), 0);
    const std::string path = folder.file("places.wld");
    ASSERT_EQ(OMBREL_engine_save(path.c_str(), root, OMBREL_SAVE_WORLD), 0) << OMBREL_ext_get_last_error();

    OMBREL_engine_close();
    ASSERT_EQ(OMBREL_engine_load_world(path.c_str(), "", "", OMBREL_LOAD_EDITOR), 0) << OMBREL_ext_get_last_error();
    const int32_t loadedRoot = OMBREL_group_get_using_name("the_world");
    EXPECT_EQ(names(includedGroups(loadedRoot)), (std::vector<std::string>{"c", "a", "a2", "a1", "b", "d"}));
    const int32_t loadedC = OMBREL_group_get_using_name("c");
    EXPECT_EQ(names(groupWalk(loadedC)), (std::vector<std::string>{"second", "first"}));
}

TEST_F(SiblingPlaces, ManyPlacesAreReadAtOnceCountingOnlyTheSiblingsStillThere) {
    const int32_t e = OMBREL_group_create("e");
    OMBREL_group_set_father_group(e, root);
    std::vector<int32_t> pols;
    for (int i = 0; i < 3; ++i) pols.push_back(makeSquareFacingUp(g("b"), i * 2.0, 0, 0, 1));
    OMBREL_group_set_father_group(g("b"), 0);  // holes in the root's list, and its polygons keep their group
    OMBREL_group_set_father_group(g("c"), 0);
    OMBREL_polygon_set_group(pols[0], 0);
    const int32_t loose = OMBREL_group_create("loose");
    const int32_t gone = OMBREL_group_create("gone");
    OMBREL_group_delete_members(gone);
    const std::vector<int32_t> handles = {e, g("d"), g("a2"), g("a"), pols[2], pols[1], pols[0], loose, gone, root};
    std::vector<int32_t> places(handles.size(), 99);
    ASSERT_EQ(OMBREL_ext_get_indices(handles.data(), static_cast<int32_t>(handles.size()), places.data()), 0);
    EXPECT_EQ(places, (std::vector<int32_t>{2, 1, 1, 0, 1, 0, -1, -1, -1, -1}));
    EXPECT_EQ(OMBREL_ext_get_indices(nullptr, 0, nullptr), 0);
}

TEST_F(SiblingPlaces, ManyEntitiesGoToTheirPlacesAtOnce) {
    using V = std::vector<std::string>;
    struct Case {
        const char* what;
        V out;  // taken out of the root and appended again, in this order
        V moved;
        std::vector<int32_t> places;
        int32_t placed;
        V rootChildren;
    } cases[] = {
        {"back where they were", {"c", "a"}, {"c", "a"}, {2, 0}, 2, {"a", "b", "c", "d"}},
        {"beyond the siblings: last", {}, {"a"}, {9}, 1, {"b", "c", "d", "a"}},
        {"no place: left alone", {}, {"a", "d"}, {-1, 0}, 1, {"d", "a", "b", "c"}},
        {"one place twice: in the list's order", {}, {"d", "c"}, {0, 0}, 2, {"d", "c", "a", "b"}},
        {"two moves of one group: the lower place", {}, {"d", "d"}, {3, 0}, 1, {"d", "a", "b", "c"}},
        {"nested and fatherless: passed over", {}, {"a2", "the_world", "c"}, {0, 0, 0}, 2, {"c", "a", "b", "d"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TearDown();
        SetUp();
        for (const std::string& n : c.out) OMBREL_group_set_father_group(g(n.c_str()), 0);
        for (const std::string& n : c.out) OMBREL_group_set_father_group(g(n.c_str()), root);
        std::vector<int32_t> handles;
        for (const std::string& n : c.moved) handles.push_back(n == "the_world" ? root : g(n.c_str()));
        EXPECT_EQ(OMBREL_ext_set_indices(handles.data(), c.places.data(), static_cast<int32_t>(handles.size())),
                  c.placed);
        EXPECT_EQ(childrenOf(root), c.rootChildren);
        EXPECT_EQ(childrenOf(g("a")), (V{c.moved[0] == "a2" ? "a2" : "a1", c.moved[0] == "a2" ? "a1" : "a2"}));
    }
    // Polygons taken out of their group come back at their places, among the others.
    const int32_t b = g("b");
    std::vector<int32_t> pols;
    for (int i = 0; i < 5; ++i) pols.push_back(makeSquareFacingUp(b, i * 2.0, 0, 0, 1));
    for (int i : {3, 0, 4}) OMBREL_polygon_set_group(pols[static_cast<std::size_t>(i)], 0);
    for (int i : {3, 0, 4}) OMBREL_polygon_set_group(pols[static_cast<std::size_t>(i)], b);
    const std::vector<int32_t> back = {pols[4], pols[3], pols[0]}, places = {4, 3, 0};
    ASSERT_EQ(OMBREL_ext_set_indices(back.data(), places.data(), 3), 3);
    EXPECT_EQ(groupWalk(b), pols);
    for (std::size_t i = 0; i < pols.size(); ++i) EXPECT_EQ(OMBREL_ext_polygon_get_index(pols[i]), static_cast<int32_t>(i));
}

}  // namespace
