// Undo gives every group and polygon a command took out of its father, or moved to
// another, its old place among its siblings: the world saved after Undo is the
// one saved before the command, the one saved after Redo the one saved after it,
// byte for byte, and the group tree shows the engine's order at every step.
#include "scene_world.h"

#include "core/GroupPolygonProcedures.h"
#include "scene/AttachGroups.h"

#include <QComboBox>
#include <QTabWidget>

#include <fstream>
#include <functional>
#include <sstream>

namespace {

// root: A, B, C. B holds no polygon of its own: B1 (squares q0, q1, q2), B2 (no
// polygon of its own: B2a, B2b), B3.
struct World {
    int32_t A = 0, B = 0, C = 0, B1 = 0, B2 = 0, B3 = 0, B2a = 0, B2b = 0;
    std::vector<int32_t> q;
};

class SiblingPlacesTest : public SceneWorldTest {
protected:
    World build() {
        World w;
        w.A = group("A");
        w.B = MakeGroup("B", Globals::RootGrp);
        w.C = group("C");
        w.B1 = MakeGroup("B1", w.B);
        for (double x : {0.0, 20.0, 40.0})
            w.q.push_back(MakePolygon(w.B1, {{x, 0}, {x, 10}, {x + 10, 10}, {x + 10, 0}}));
        for (std::size_t i = 0; i < w.q.size(); ++i)
            OMBREL_polygon_set_name(w.q[i], ("q" + std::to_string(i)).c_str());
        w.B2 = MakeGroup("B2", w.B);
        w.B2a = group("B2a", w.B2);
        w.B2b = group("B2b", w.B2);
        w.B3 = group("B3", w.B);
        rebuildTrees();
        // As an extrusion leaves them: the polygons have nodes of their own.
        for (int32_t q : w.q) form().AddPolNode(q, w.B1);
        return w;
    }

    std::string save() {
        const std::string path = tempPath("places" + std::to_string(++saves_) + ".wld");
        platform_.prompts.answerSaveFile(path);
        EXPECT_TRUE(form().mnuSaveAs_Click());
        std::ifstream in(path, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    // The group tree's nodes depth first; its group nodes alone, and the
    // engine's groups in the same walk: the tree must show the engine's order.
    std::vector<std::string> treeNodes() { return form().trwGroupView->Keys(); }
    std::vector<std::string> treeGroups() {
        std::vector<std::string> keys;
        for (const std::string& key : treeNodes())
            if (KeyedTree::HandleOf(key, "Group") != 0) keys.push_back(key);
        return keys;
    }
    static std::vector<std::string> engineGroups() {
        std::vector<std::string> keys;
        const int32_t root = Globals::RootGrp;
        for (int32_t g = OMBREL_group_get_first_included_group(root); g;
             g = OMBREL_group_get_next_included_group(root, g))
            keys.push_back(groupKey(g));
        return keys;
    }

    // B1's squares of those positions selected in "Polygon" mode.
    void editPolygons(const World& w, const std::vector<int>& squares) {
        std::vector<int32_t> polygons;
        for (int i : squares) polygons.push_back(w.q[static_cast<std::size_t>(i)]);
        editPolygons(w.B1, polygons);
    }
    void editPolygons(int32_t group, const std::vector<int32_t>& polygons) {
        select(SelGroup, group);
        Form1& f = form();
        f.tabWorkspace->setCurrentIndex(1);
        f.cmbObj->setCurrentText("Edit Geometry");
        f.cmbObjEditGeom->setCurrentText("Polygon");
        Globals::SelPols.checkCount(static_cast<int32_t>(polygons.size()));
        Globals::NumSelPols = static_cast<int32_t>(polygons.size());
        for (std::size_t i = 0; i < polygons.size(); ++i) Globals::SelPols[static_cast<int32_t>(i) + 1] = polygons[i];
    }

    // Undo, Redo, Undo again: each save and tree as before or after the command.
    void expectUndoAndRedoGiveBack(const std::string& before, const std::vector<std::string>& treeBefore,
                                   const std::string& after, const std::vector<std::string>& treeAfter) {
        Form1& f = form();
        f.mnuUndo_Click();
        EXPECT_EQ(save(), before) << "Undo";
        EXPECT_EQ(treeNodes(), treeBefore) << "Undo";
        f.mnuRedo_Click();
        EXPECT_EQ(save(), after) << "Redo";
        EXPECT_EQ(treeNodes(), treeAfter) << "Redo";
        f.mnuUndo_Click();
        EXPECT_EQ(save(), before) << "Undo again";
        EXPECT_EQ(treeNodes(), treeBefore) << "Undo again";
        EXPECT_EQ(Globals::LastErrDescription, "");
    }

    int saves_ = 0;
};

TEST_F(SiblingPlacesTest, UndoPutsEveryEntityBackAtItsPlaceAndRedoWhereTheCommandPutIt) {
    using Command = std::function<void(Form1&, const World&)>;
    auto deleteGroup = [](int32_t World::*g) -> Command {
        return [g](Form1& f, const World& w) {
            select(SelGroup, w.*g);
            f.DeleteSelEntity();
        };
    };
    auto deleteGroups = [](std::vector<int32_t World::*> gs) -> Command {
        return [gs](Form1& f, const World& w) {
            Globals::CurrMultiSel->Reset();
            for (auto g : gs) Globals::CurrMultiSel->AddGrpHandles(w.*g);
            Globals::CurrSelEntityType = SelMultiple;
            f.DeleteSelEntity();
        };
    };
    auto ungroup = [](int32_t World::*g) -> Command {
        return [g](Form1& f, const World& w) {
            select(SelGroup, w.*g);
            f.mnuUngroup_Click();
        };
    };
    auto detach = [](int32_t World::*g) -> Command {
        return [g](Form1& f, const World& w) {
            select(SelGroup, w.*g);
            f.mnuDetach_Click();
        };
    };
    auto groupTogether = [this](std::vector<int32_t World::*> gs) -> Command {
        return [this, gs](Form1& f, const World& w) {
            Globals::CurrMultiSel->Reset();
            for (auto g : gs) Globals::CurrMultiSel->AddGrpHandles(w.*g);
            Globals::CurrSelEntityType = SelMultiple;
            platform_.prompts.answerInput("together");
            f.mnuGroup_Click();
        };
    };
    auto attach = [](int32_t World::*g, int32_t World::*receiver) -> Command {
        return [g, receiver](Form1&, const World& w) {
            select(SelGroup, w.*receiver);
            scene::AttachGroupsUnder({w.*g}, w.*receiver);
        };
    };
    auto triangulate = [](int32_t World::*g) -> Command {
        return [g](Form1& f, const World& w) {
            select(SelGroup, w.*g);
            f.cmdTriangulate_Click();
        };
    };
    auto deletePolygons = [this](std::vector<int> qs) -> Command {
        return [this, qs](Form1& f, const World& w) {
            editPolygons(w, qs);
            f.cmdDeletePol_Click();
        };
    };
    auto detachPolygons = [this](std::vector<int> qs) -> Command {
        return [this, qs](Form1& f, const World& w) {
            editPolygons(w, qs);
            platform_.prompts.answerInput("apart");
            f.cmdDetachPols_Click();
        };
    };
    struct Case {
        const char* command;
        const char* place;
        Command run;
    };
    const Case cases[] = {
        {"Delete", "first", deleteGroup(&World::A)},
        {"Delete", "middle", deleteGroup(&World::B)},
        {"Delete", "last", deleteGroup(&World::C)},
        {"Delete", "nested", deleteGroup(&World::B2)},
        {"multiple Delete", "first and last", deleteGroups({&World::C, &World::A})},
        {"multiple Delete", "nested, with its father's sibling", deleteGroups({&World::B3, &World::B1, &World::A})},
        {"multiple Delete", "a father with its child", deleteGroups({&World::B2a, &World::B})},
        {"Ungroup", "middle", ungroup(&World::B)},
        {"Ungroup", "nested", ungroup(&World::B2)},
        {"Remove From Group", "first", detach(&World::B1)},
        {"Remove From Group", "middle", detach(&World::B2)},
        {"Remove From Group", "last", detach(&World::B3)},
        {"Remove From Group", "nested", detach(&World::B2a)},
        {"Group Together", "first and last", groupTogether({&World::A, &World::C})},
        {"Group Together", "nested and first", groupTogether({&World::B2a, &World::A})},
        {"Group Together", "nested", groupTogether({&World::B1, &World::B3})},
        {"attach", "first", attach(&World::A, &World::C)},
        {"attach", "nested", attach(&World::B1, &World::B3)},
        {"Triangulate", "first", triangulate(&World::A)},
        {"Triangulate", "nested", triangulate(&World::B1)},
        {"polygon Delete", "first", deletePolygons({0})},
        {"polygon Delete", "middle", deletePolygons({1})},
        {"polygon Delete", "last", deletePolygons({2})},
        {"polygon Delete", "last and first", deletePolygons({2, 0})},
        {"polygon Detach", "middle", detachPolygons({1})},
        {"polygon Detach", "first and last", detachPolygons({0, 2})},
    };
    Form1& f = StartEditor();
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.command) + ", " + c.place);
        if (f.WorldLoaded) platform_.prompts.answer(platform::MsgResult::No);  // keep none of it
        OpenEmptyWorld();
        const World w = build();
        const std::string before = save();
        const std::vector<std::string> treeBefore = treeNodes();
        ASSERT_EQ(treeGroups(), engineGroups());
        const int records = undoable();

        c.run(f, w);
        ASSERT_EQ(undoable(), records + 1) << "the command was recorded";
        const std::string after = save();
        const std::vector<std::string> treeAfter = treeNodes();
        EXPECT_EQ(treeGroups(), engineGroups());
        ASSERT_NE(after, before);

        expectUndoAndRedoGiveBack(before, treeBefore, after, treeAfter);
    }
}

// Many sibling groups and polygons, the father's polygon nodes before or after
// its group nodes in the tree: Undo of deleting a scattered few puts each node
// back among the others where it stood (the place is found by halving over the
// siblings, which must step over the nodes of the other kind).
TEST_F(SiblingPlacesTest, ManySiblingsComeBackAmongNodesOfTheOtherKindWhereTheyStood) {
    constexpr int kChildren = 24, kPolygons = 12;
    const std::vector<int> scattered = {0, 5, 6, 9};  // and the last
    Form1& f = StartEditor();
    for (const bool polygonsFirst : {false, true}) {
        for (const bool groupsDeleted : {true, false}) {
            SCOPED_TRACE(std::string(polygonsFirst ? "polygon nodes first" : "group nodes first") +
                         (groupsDeleted ? ", groups deleted" : ", polygons deleted"));
            if (f.WorldLoaded) platform_.prompts.answer(platform::MsgResult::No);
            OpenEmptyWorld();
            group("before");
            const int32_t father = group("father");
            group("after");
            std::vector<int32_t> polygons, children;
            for (int i = 0; i < kPolygons; ++i) {
                const double x = 20.0 + 6 * i;
                polygons.push_back(MakePolygon(father, {{x, 0}, {x, 4}, {x + 4, 4}, {x + 4, 0}}));
            }
            auto makeChildren = [&] {
                for (int i = 0; i < kChildren; ++i) children.push_back(group("child" + std::to_string(i), father));
            };
            if (polygonsFirst) {
                rebuildTrees();
                for (int32_t q : polygons) f.AddPolNode(q, father);
                makeChildren();
                for (int32_t c : children) f.AddGroupNode(c, father);
            } else {
                makeChildren();
                rebuildTrees();
                for (int32_t q : polygons) f.AddPolNode(q, father);
            }
            const QTreeWidgetItem* fatherNode = f.trwGroupView->Item(groupKey(father));
            ASSERT_EQ(fatherNode->childCount(), kPolygons + kChildren);
            ASSERT_EQ(KeyedTree::HandleOf(KeyedTree::Key(fatherNode->child(0)), "Pol") != 0, polygonsFirst)
                << "the layout asked for";
            ASSERT_EQ(treeGroups(), engineGroups());

            const std::string before = save();
            const std::vector<std::string> treeBefore = treeNodes();
            const int records = undoable();
            if (groupsDeleted) {
                Globals::CurrMultiSel->Reset();
                for (int i : scattered) Globals::CurrMultiSel->AddGrpHandles(children[static_cast<std::size_t>(i)]);
                Globals::CurrMultiSel->AddGrpHandles(children.back());
                Globals::CurrSelEntityType = SelMultiple;
                f.DeleteSelEntity();
            } else {
                std::vector<int32_t> chosen;
                for (int i : scattered) chosen.push_back(polygons[static_cast<std::size_t>(i)]);
                chosen.push_back(polygons.back());
                editPolygons(father, chosen);
                f.cmdDeletePol_Click();
            }
            ASSERT_EQ(undoable(), records + 1) << "the deletion was recorded";
            const std::string after = save();
            const std::vector<std::string> treeAfter = treeNodes();
            ASSERT_EQ(treeAfter.size(), treeBefore.size() - scattered.size() - 1);

            expectUndoAndRedoGiveBack(before, treeBefore, after, treeAfter);
        }
    }
}

TEST_F(SiblingPlacesTest, TheSampleWorldSavesAsItWasAfterDeletingTheRoomAndUndoing) {
    Form1& f = StartEditor();
    f.LoadWorld(std::string(TALVORA_PROGRAM_DIR) + "/Sample/Sample.wld");
    ASSERT_TRUE(f.WorldLoaded);
    const std::string before = save();
    const std::vector<std::string> treeBefore = treeNodes();
    select(SelGroup, OMBREL_group_get_using_name("room"));
    f.DeleteSelEntity();
    ASSERT_EQ(newestType(), ActDelete);
    f.mnuUndo_Click();
    EXPECT_EQ(save(), before);
    EXPECT_EQ(treeNodes(), treeBefore);
}

}  // namespace
