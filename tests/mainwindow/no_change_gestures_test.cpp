// Gestures that leave the world as it was push no record: the history holds
// three records, and one that changes nothing would push a real edit out.
#include "EditorFixture.h"
#include "saved_world.h"

#include "texture_files.h"

#include "core/Globals.h"
#include "ombrel.h"
#include "undo/ActionUndoRedo_Stack.h"

#include <QComboBox>
#include <QPushButton>
#include <QTabWidget>

#include <functional>
#include <string>

namespace {

class NoChangeGesturesTest : public EditorFixture {
protected:
    void selectGroup(int32_t g) {
        form().trwGroupView_NodeClick(form().trwGroupView->Item(KeyedTree::NodeKey("Group", g)));
        ASSERT_EQ(Globals::CurrSelEntityHandle, g);
    }
    void applyTexture(int32_t bitmap, int index) {
        form().tabWorkspace->setCurrentIndex(3);
        form().trwTextures_Populate();
        KeyedTree& tree = *form().trwTextures;
        tree.SetSelectedItem(tree.Item("Map" + std::to_string(bitmap)));
        form().trwTextures_NodeClick();
        form().cmdTextureApplyToSel[static_cast<std::size_t>(index)]->click();
    }
    void editGeometry() {
        form().tabWorkspace->setCurrentIndex(1);
        form().cmbObj->setCurrentText("Edit Geometry");
    }

    TextureFiles files;
};

}  // namespace

TEST_F(NoChangeGesturesTest, AGestureThatChangesNothingLeavesTheHistoryAsItWas) {
    Form1& f = StartEditor();
    struct Row {
        const char* gesture;
        bool triangles;        // the group is made of triangles only
        bool hasTexture;       // every polygon shows the bitmap already
        std::function<void(int32_t group, int32_t bitmap)> run;
        bool records;
    };
    auto toGroup = [this](int32_t, int32_t bitmap) { applyTexture(bitmap, 0); };
    auto toPolygons = [this](int32_t group, int32_t bitmap) {
        Globals::NumSelPols = 0;
        for (int32_t p = OMBREL_group_get_first_polygon(group); p; p = OMBREL_group_get_next_polygon(group, p))
            Globals::SelPols[++Globals::NumSelPols] = p;
        applyTexture(bitmap, 1);
    };
    auto triangulate = [this](int32_t, int32_t) {
        editGeometry();
        form().cmdTriangulate->click();
    };
    auto reduceAt = [this](const char* level) {
        return [this, level](int32_t, int32_t) {
            editGeometry();
            platform_.prompts.answerInput(level);
            form().cmdReducePols->click();
        };
    };
    const Row rows[] = {
        {"texture to the group that has it", false, true, toGroup, false},
        {"texture to polygons that have it", false, true, toPolygons, false},
        {"texture to the group without it", false, false, toGroup, true},
        {"texture to polygons without it", false, false, toPolygons, true},
        {"triangulate triangles", true, false, triangulate, false},
        {"triangulate squares", false, false, triangulate, true},
        {"reduce at 0", false, false, reduceAt("0"), false},
        {"reduce at -5", false, false, reduceAt("-5"), false},
        {"reduce at 1, finer than the squares' corners", false, false, reduceAt("1"), false},
        {"reduce at 50", false, false, reduceAt("50"), true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.gesture);
        if (f.WorldLoaded) platform_.prompts.answer(platform::MsgResult::No);
        OpenEmptyWorld();
        const int32_t bitmap = files.load("wall");
        ASSERT_NE(bitmap, 0);
        const int32_t group = MakeGroup("tiles", Globals::RootGrp);
        for (int i = 0; i < 3; ++i) {
            const double x = i * 10.0;
            const int32_t p = row.triangles ? MakePolygon(group, {{x, 0}, {x, 10}, {x + 10, 0}})
                                            : MakePolygon(group, {{x, 0}, {x, 10}, {x + 10, 10}, {x + 10, 0}});
            if (row.hasTexture) OMBREL_polygon_set_bitmap_fill(p, bitmap);
        }
        f.trwGroupView_Populate();
        selectGroup(group);
        // Selecting is recorded: the gesture must leave that record on top.
        const int32_t somewhere = MakeGroup("somewhere", Globals::RootGrp);
        f.trwGroupView_Populate();
        selectGroup(somewhere);
        selectGroup(group);
        ActionUndoRedo* before = Globals::UndoRedoStack->Retrive();
        ASSERT_NE(before, nullptr);
        const std::string saved = SavedWorldText(f, platform_, tempPath(std::string(row.gesture) + " before.wld"));

        row.run(group, bitmap);
        EXPECT_EQ(LastErrDescription, "");
        EXPECT_EQ(Globals::UndoRedoStack->Retrive() != before, row.records);
        if (!row.records) {
            EXPECT_EQ(Globals::CurrSelEntityHandle, group) << "the group is not replaced";
            EXPECT_EQ(OMBREL_group_get_father_group(group), Globals::RootGrp);
            EXPECT_EQ(SavedWorldText(f, platform_, tempPath(std::string(row.gesture) + " after.wld")), saved);
        }
    }
}
