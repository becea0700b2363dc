// The group tree: fathers and children, world list, included-group walks, names, deletion.
#include "engine_fixture.h"
#include "walk_helpers.h"

#include <vector>

namespace {

class GroupTree : public EngineTest {
protected:
    // root -> a -> (a1, a2), root -> b
    void SetUp() override {
        EngineTest::SetUp();
        root = OMBREL_group_create("the_world");
        a = OMBREL_group_create("a");
        b = OMBREL_group_create("b");
        a1 = OMBREL_group_create("a1");
        a2 = OMBREL_group_create("a2");
        OMBREL_group_set_father_group(a, root);
        OMBREL_group_set_father_group(a2, a);  // attach order, not creation order
        OMBREL_group_set_father_group(a1, a);
        OMBREL_group_set_father_group(b, root);
    }
    int32_t root = 0, a = 0, b = 0, a1 = 0, a2 = 0;
};

TEST_F(GroupTree, IncludedGroupsArePreOrderInAttachOrder) {
    EXPECT_EQ(includedGroups(root), (std::vector<int32_t>{a, a2, a1, b}));
    EXPECT_EQ(includedGroups(a1), std::vector<int32_t>{});
    EXPECT_EQ(OMBREL_group_get_father_group(a1), a);
    EXPECT_EQ(OMBREL_group_get_father_group(root), 0);
}

TEST_F(GroupTree, WorldListIsCreationOrderWithFatherlessGroups) {
    int32_t marker = OMBREL_group_create("CameraGrp");
    std::vector<int32_t> all;
    for (int32_t g = OMBREL_group_get_first_group(); g; g = OMBREL_group_get_next(g)) all.push_back(g);
    EXPECT_EQ(all, (std::vector<int32_t>{root, a, b, a1, a2, marker}));
}

TEST_F(GroupTree, SetFatherRefusesCyclesAndMovesToLastChild) {
    struct Case { int32_t group, father; int32_t result; } cases[] = {
        {root, a1, -1},  // below itself
        {a, a, -1},      // itself
        {a, a2, -1},
        {a, b, 0},       // a legal move
    };
    for (const Case& c : cases) EXPECT_EQ(OMBREL_group_set_father_group(c.group, c.father), c.result);
    EXPECT_EQ(OMBREL_group_get_father_group(root), 0);
    EXPECT_EQ(includedGroups(root), (std::vector<int32_t>{b, a, a2, a1}));
    EXPECT_EQ(OMBREL_group_set_father_group(a, 0), 0);
    EXPECT_EQ(includedGroups(root), std::vector<int32_t>{b});
}

TEST_F(GroupTree, SetFatherNeverMovesGeometry) {
    makeSquareFacingUp(a1, 5, 6, 7, 2);
    double before[6], after[6];
    OMBREL_group_get_bounding_box(a1, before);
    OMBREL_group_set_father_group(a1, b);
    OMBREL_group_get_bounding_box(a1, after);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(before[i], after[i]);
}

TEST_F(GroupTree, IncludedWalkKeepsItsSnapshotWhileChildrenAreReparented) {
    // Moving every child out of a during the walk, as an ungroup does.
    std::vector<int32_t> seen;
    for (int32_t c = OMBREL_group_get_first_included_group(a); c; c = OMBREL_group_get_next_included_group(a, c)) {
        seen.push_back(c);
        OMBREL_group_set_father_group(c, root);
    }
    EXPECT_EQ(seen, (std::vector<int32_t>{a2, a1}));

    // Destroyed entries are skipped.
    OMBREL_group_set_father_group(a1, a);
    OMBREL_group_set_father_group(a2, a);
    int32_t first = OMBREL_group_get_first_included_group(a);
    OMBREL_group_delete_members(a2);
    EXPECT_EQ(first, a1);
    EXPECT_EQ(OMBREL_group_get_next_included_group(a, a1), 0);
}

TEST_F(GroupTree, NameLookupPrefersAGroupWithAFather) {
    int32_t fakeDeleted = OMBREL_group_create("twin");  // older, fatherless
    int32_t live = OMBREL_group_create("twin");
    EXPECT_EQ(OMBREL_group_get_using_name("twin"), fakeDeleted);
    OMBREL_group_set_father_group(live, root);
    EXPECT_EQ(OMBREL_group_get_using_name("twin"), live);
    EXPECT_EQ(OMBREL_group_get_using_name("Twin"), 0);
    EXPECT_EQ(OMBREL_group_get_using_name("the_world"), root);
}

TEST_F(GroupTree, DeleteMembersDestroysTheSubtreeAndRetargetsNothingElse) {
    int32_t p = makeSquareFacingUp(a1, 0, 0, 0, 1);
    int32_t pt = OMBREL_polygon_get_first_point(p);
    int32_t keep = makeSquareFacingUp(b, 0, 0, 0, 1);
    ASSERT_EQ(OMBREL_group_delete_members(a), 0);
    for (int32_t h : {a, a1, a2, p, pt}) EXPECT_EQ(OMBREL_ext_handle_kind(h), OMBREL_KIND_NONE) << h;
    EXPECT_EQ(includedGroups(root), std::vector<int32_t>{b});
    EXPECT_EQ(OMBREL_group_get_first_polygon(0), keep);
    EXPECT_EQ(OMBREL_polygon_get_next(keep), 0);
    EXPECT_EQ(OMBREL_group_get_number_of_polygons(root), 1);
    EXPECT_EQ(OMBREL_group_delete_members(a), -1);
}

TEST_F(GroupTree, DisableIsInheritedButEachGroupKeepsItsFlag) {
    ASSERT_EQ(OMBREL_group_disable(a, 1), 0);
    EXPECT_EQ(OMBREL_group_is_disable(a1), 1);
    EXPECT_EQ(OMBREL_group_is_disable(b), 0);
    OMBREL_group_disable(a1, 1);
    OMBREL_group_disable(a, 0);
    EXPECT_EQ(OMBREL_group_is_disable(a2), 0);
    EXPECT_EQ(OMBREL_group_is_disable(a1), 1);
}

TEST_F(GroupTree, OwnDisabledFlagIsTheGroupsOwnNotTheInheritedState) {
    ASSERT_EQ(OMBREL_group_disable(a, 1), 0);
    struct Case {
        int32_t group;
        int32_t own, effective;
    } cases[] = {
        {a, 1, 1},
        {a1, 0, 1},  // hidden only through its father
        {b, 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(OMBREL_ext_group_get_own_disabled(c.group), c.own) << c.group;
        EXPECT_EQ(OMBREL_group_is_disable(c.group), c.effective) << c.group;
    }
    OMBREL_group_delete_members(a2);
    OMBREL_ext_clear_last_error();
    for (int32_t stale : {a2, 0, makeSquareFacingUp(b, 0, 0, 0, 1)}) {
        EXPECT_EQ(OMBREL_ext_group_get_own_disabled(stale), 0) << stale;
        EXPECT_STRNE(OMBREL_ext_get_last_error(), "");
    }
}

TEST_F(GroupTree, IncludedWalksOfEveryGroupStayInOrderAfterGroupsAreDestroyed) {
    // A walk per group, as a tree rebuild by levels does, with destroyed groups in
    // between: each walk still lists its own subtree, in order.
    std::vector<int32_t> chain{root};
    for (int i = 0; i < 200; ++i) {
        const int32_t g = OMBREL_group_create("link");
        OMBREL_group_set_father_group(g, chain.back());
        chain.push_back(g);
        if (i % 3 == 0) OMBREL_group_delete_members(OMBREL_group_create("gone"));
    }
    for (std::size_t i = 0; i < chain.size(); i += 20) {
        const std::vector<int32_t> walk = includedGroups(chain[i]);
        if (i == 0) continue;  // the root also holds a and b
        EXPECT_EQ(walk, std::vector<int32_t>(chain.begin() + static_cast<std::ptrdiff_t>(i) + 1, chain.end())) << i;
    }
    // A step from a group that is not where the last one stopped still finds it.
    EXPECT_EQ(OMBREL_group_get_next_included_group(chain[0], chain[5]), chain[6]);
    EXPECT_EQ(OMBREL_group_get_next_included_group(chain[0], chain[2]), chain[3]);
}

TEST_F(GroupTree, StaticDynamicAndGroupTest) {
    EXPECT_EQ(OMBREL_group_is_static(a), 1);
    OMBREL_group_set_dynamic(a);
    EXPECT_EQ(OMBREL_group_is_static(a), 0);
    OMBREL_group_set_static(a);
    EXPECT_EQ(OMBREL_group_is_static(a), 1);
    int32_t p = OMBREL_polygon_create();
    EXPECT_EQ(OMBREL_group_is_group(a, 0), 1);
    EXPECT_EQ(OMBREL_group_is_group(p, 0), 0);
    EXPECT_EQ(OMBREL_group_is_group(0, 0), 0);
}

}  // namespace
