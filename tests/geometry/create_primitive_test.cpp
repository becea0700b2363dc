#include "builder_fixture.h"

#include "geometry/CreatePanel.h"

#include "core/Globals.h"
#include "undo/UndoRedoCommands.h"

namespace {

class CreatePrimitiveTest : public BuilderFixture {
protected:
    geometry::PrimitiveBuilders builders;

    static geometry::PanelValues values(std::array<double, 3> dims, std::array<double, 3> counts) {
        return {dims, counts};
    }

    // An edit on the history that changes nothing in the world.
    void pushSelection() { Globals::UndoRedoStack->Push(record(ActSelect)); }
};

TEST_F(CreatePrimitiveTest, RefusedValuesShowTheirMessageAndChangeNothing) {
    struct Case {
        const char* kind;
        geometry::PanelValues values;
        const char* message;  // "" when it is built
    };
    const Case cases[] = {
        {"BOX", values({0, 100, 100}, {1, 1, 1}), "Invalid Parameter - Depth"},
        {"BOX", values({100, 100, 0}, {1, 1, 1}), "Invalid Parameter - Height"},
        {"PLANE", values({0, 100, 0}, {1, 1, 1}), "Invalid Parameter - Height"},
        {"SPHERE", values({0, 0, 0}, {9, 1, 1}), "Invalid Parameter - Radius"},
        {"CYLINDER", values({0, 0, 300}, {1, 10, 1}), "Invalid Parameter - Radius"},
        {"CONE", values({0, 0, 200}, {1, 10, 1}), "Invalid Parameter - Radius"},
        {"CONE", values({0, 100, 0}, {1, 10, 1}), "Invalid Parameter - Height"},
        {"TORUS", values({0, 200, 0}, {10, 8, 1}), "Invalid Parameter - Radius2"},
        {"BOX", values({100, 100, 100}, {1001, 1, 1}), "Invalid Parameter - Depth Segs"},
        {"TORUS", values({0, 200, 60}, {10, 1001, 1}), "Invalid Parameter - Sides"},
        {"PLANE", values({0, 100, 100}, {1, 1000, 251}), "Invalid Parameter - Too many polygons."},
        {"BOX", values({100, 100, 100}, {205, 205, 205}), "Invalid Parameter - Too many polygons."},
        {"SPHERE", values({0, 0, 100}, {353, 1, 1}), "Invalid Parameter - Too many polygons."},
        {"BOX", values({-50, 100, 100}, {1, 1, 1}), ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.kind) + " " + c.message);
        freshWorld();
        const std::size_t shown = platform_.prompts.shown().size();
        if (*c.message) platform_.prompts.answer(platform::MsgResult::OK);
        const bool made = geometry::CreatePrimitive(builders, c.kind, c.values);
        EXPECT_FALSE(window.waiting);
        if (!*c.message) {
            EXPECT_TRUE(made);
            EXPECT_EQ(platform_.prompts.shown().size(), shown);
            EXPECT_EQ(Globals::CurrSelEntityType, SelGroup);
            EXPECT_NE(Globals::UndoRedoStack->Retrive(), nullptr);
            continue;
        }
        EXPECT_FALSE(made);
        ASSERT_EQ(platform_.prompts.shown().size(), shown + 1);
        EXPECT_EQ(platform_.prompts.shown().back().text, c.message);
        EXPECT_EQ(platform_.prompts.shown().back().icon, platform::MsgIcon::Information);
        EXPECT_EQ(OMBREL_group_get_first_included_group(Globals::RootGrp), 0);
        EXPECT_EQ(OMBREL_group_get_number_of_polygons(0), 0);
        EXPECT_EQ(Globals::UndoRedoStack->Retrive(), nullptr);
        EXPECT_EQ(Globals::CurrSelEntityType, SelNone);
    }
}

TEST_F(CreatePrimitiveTest, TheLimitsThemselvesAreAccepted) {
    EXPECT_EQ(geometry::Refusal("SPHERE", values({0, 0, 100}, {352, 1, 1})), "");  // 249,218 faces
    EXPECT_EQ(geometry::Refusal("PLANE", values({0, 100, 100}, {1, 1000, 250})), "");  // 250,000
    EXPECT_EQ(geometry::Refusal("CYLINDER", values({0, 100, 300}, {1, 1000, 1})), "");  // the builder's own limit
    EXPECT_EQ(geometry::Refusal("CONE", values({0, -100, -200}, {1, 10, 1})), "");
}

TEST_F(CreatePrimitiveTest, TheRefusedCylinderRecordsNothing) {
    platform_.prompts.answer(platform::MsgResult::OK);
    EXPECT_FALSE(geometry::CreatePrimitive(builders, "CYLINDER", values({0, 100, 300}, {1, 101, 1})));
    EXPECT_EQ(platform_.prompts.shown().back().text, "Only Cylinders with a max of 100 sides are supported.");
    EXPECT_EQ(Globals::UndoRedoStack->Retrive(), nullptr);
    EXPECT_EQ(window.count("StartWait"), 1);
    EXPECT_FALSE(window.waiting);
}

TEST_F(CreatePrimitiveTest, UndoTakesTheNewGroupAwayAndRedoBringsItBack) {
    std::vector<int32_t> removed, added;
    core::windowHooks().removeGroupNode = [&](int32_t g) { removed.push_back(g); };
    core::windowHooks().addGroupNode = [&](int32_t g, int32_t) { added.push_back(g); };
    const int32_t old = makeGroup("old", {0, 0, 0});
    Globals::CurrSelEntityType = SelGroup;
    Globals::CurrSelEntityHandle = old;

    ASSERT_TRUE(geometry::CreatePrimitive(builders, "BOX", values({100, 100, 100}, {1, 1, 1})));
    const int32_t box = Globals::CurrSelEntityHandle;
    EXPECT_EQ(nameOf(box), "Box01");
    EXPECT_EQ(window.count("StartWait"), 1);
    EXPECT_FALSE(window.waiting);

    undo::UndoCommand();
    EXPECT_EQ(OMBREL_group_get_father_group(box), 0);
    EXPECT_EQ(OMBREL_group_is_disable(box), 1);
    EXPECT_EQ(removed, std::vector<int32_t>{box});
    EXPECT_EQ(Globals::CurrSelEntityType, SelGroup);
    EXPECT_EQ(Globals::CurrSelEntityHandle, old);

    undo::RedoCommand();
    EXPECT_EQ(OMBREL_group_get_father_group(box), Globals::RootGrp);
    EXPECT_EQ(OMBREL_group_is_disable(box), 0);
    EXPECT_EQ(added, (std::vector<int32_t>{box, box}));  // made, then brought back
    EXPECT_EQ(Globals::CurrSelEntityHandle, box);

    // Three more edits push the creation out of the history: the box stays.
    for (int i = 0; i < 3; ++i) pushSelection();
    EXPECT_TRUE(alive(box));
    EXPECT_EQ(OMBREL_group_get_number_of_polygons(box), 6);
}

TEST_F(CreatePrimitiveTest, AnUndoneCreationIsDestroyedByTheNextEdit) {
    ASSERT_TRUE(geometry::CreatePrimitive(builders, "TORUS", values({0, 200, 60}, {3, 3, 1})));
    const int32_t torus = Globals::CurrSelEntityHandle;
    const std::vector<int32_t> faces = polygonsOf(torus);
    undo::UndoCommand();
    EXPECT_EQ(Globals::CurrSelEntityType, SelNone);
    EXPECT_TRUE(alive(torus));
    pushSelection();  // the redo part goes, and with it the torus
    EXPECT_FALSE(alive(torus));
    for (int32_t f : faces) EXPECT_FALSE(alive(f));
}

}  // namespace
