// The pop-up menus of the group, light and camera trees: the items each node
// offers, and the group menu's own commands (Remove From Group, Ungroup, Remove
// Light, Remove Light Maps, Properties).
#include "scene_world.h"

#include "../ombrel3/bmp_writer.h"

#include "views/PicWindow.h"
#include "views/ViewRedraw.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QMenu>
#include <QMouseEvent>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Names = std::vector<std::string>;

Names visibleItems(const QMenu& menu) {
    Names out;
    for (const QAction* a : menu.actions())
        if (a->isVisible()) out.push_back(a->objectName().toStdString());
    return out;
}

class SceneTreeMenusTest : public SceneWorldTest {
protected:
    // The right button released over a group's node: the menu pops up with the
    // script's choice ("" dismisses it); returns the items it offered.
    Names rightClick(int32_t g, const std::string& choice = "") {
        KeyedTree& tree = *form().trwGroupView;
        tree.show();
        tree.EnsureVisible(tree.Item(groupKey(g)));
        const QPointF at = tree.visualItemRect(tree.Item(groupKey(g))).center();
        platform_.prompts.answerMenu(choice);
        QMouseEvent e(QEvent::MouseButtonRelease, at, tree.viewport()->mapToGlobal(at), Qt::RightButton,
                      Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(tree.viewport(), &e);
        return platform_.prompts.shown().back().items;
    }
};

TEST_F(SceneTreeMenusTest, TheGroupMenuOffersWhatAppliesToTheGroup) {
    Form1& f = start();
    const int32_t top = group("top");
    const int32_t middle = group("middle", top);
    group("below", middle);
    const int32_t lone = group("lone");
    rebuildTrees();
    EXPECT_EQ(rightClick(middle),
              (Names{"mnuGroupMenuRemoveFrmGrp", "mnuGroupMenuUngroup", "mnuGroupMenuRemoveLight",
                     "mnuGroupMenuRemoveLightMaps", "mnuGroupMenuDelete", "mnuGroupMenuHide", "mnuGroupMenuProperties"}));
    select(SelGroup, lone);
    f.mnuGroupMenuHide_Click();
    EXPECT_EQ(rightClick(lone), (Names{"mnuGroupMenuRemoveLight", "mnuGroupMenuRemoveLightMaps", "mnuGroupMenuDelete",
                                       "mnuGroupMenuUnhide", "mnuGroupMenuProperties"}));

    // Chosen from the menu: the group under the pointer is deleted, and Undo
    // brings it back.
    rightClick(lone, "mnuGroupMenuDelete");
    EXPECT_EQ(OMBREL_group_get_father_group(lone), 0);
    EXPECT_FALSE(f.trwGroupView->Exists(groupKey(lone)));
    f.mnuUndo_Click();
    EXPECT_EQ(OMBREL_group_get_father_group(lone), Globals::RootGrp);
}

TEST_F(SceneTreeMenusTest, TheLightAndCameraMenusOfferWhatAppliesToTheNode) {
    Form1& f = start();
    const int32_t shownLight = light("shown"), hiddenLight = light("hidden");
    const int32_t shownCam = camera("shown"), hiddenCam = camera("hidden");
    const double points[6] = {0, 0, 0, 5, 0, 0};
    const int32_t track = OMBREL_track_create("trk", 0, points, 2);
    const int32_t sky = OMBREL_background_create("sky", 0);
    rebuildTrees();
    f.trwLight->SetImage(f.trwLight->Item(lightKey(hiddenLight)), "Light Invisible");
    f.trwCamTrackBK->SetImage(f.trwCamTrackBK->Item(cameraKey(hiddenCam)), "Cam Invisible");
    struct Case {
        KeyedTree* tree;
        std::string key;
        Names items;
    };
    const Case cases[] = {
        {f.trwLight, "LIGHT", {"mnuLightMenuNew", "mnuLightMenuHideAll", "mnuLightMenuShowAll"}},
        {f.trwLight, lightKey(shownLight), {"mnuLightMenuDelete", "mnuLightMenuHide"}},
        {f.trwLight, lightKey(hiddenLight), {"mnuLightMenuDelete", "mnuLightMenuUnhide"}},
        {f.trwCamTrackBK, "CAMERA", {"mnuCamTrkBkMenuNew", "mnuCamTrkBkMenuHideAll", "mnuCamTrkBkMenuShowAll"}},
        {f.trwCamTrackBK, "TRACK", {"mnuCamTrkBkMenuNew"}},
        {f.trwCamTrackBK, "BACKGROUND", {"mnuCamTrkBkMenuNew"}},
        {f.trwCamTrackBK, cameraKey(shownCam),
         {"mnuCamTrkBkMenuDelete", "mnuCamTrkBkMenuSaveCurrent", "mnuCamTrkBkMenuHide"}},
        {f.trwCamTrackBK, cameraKey(hiddenCam),
         {"mnuCamTrkBkMenuDelete", "mnuCamTrkBkMenuSaveCurrent", "mnuCamTrkBkMenuUnhide"}},
        {f.trwCamTrackBK, KeyedTree::NodeKey("Track", track), {"mnuCamTrkBkMenuDelete"}},
        {f.trwCamTrackBK, KeyedTree::NodeKey("Background", sky), {"mnuCamTrkBkMenuDelete"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        c.tree->SetSelectedItem(c.tree->Item(c.key));
        if (c.tree == f.trwLight) {
            f.SetLightMenuItems();
            EXPECT_EQ(visibleItems(*f.mnuLightMenu), c.items);
        } else {
            f.SetCamTrkBkMenuItems();
            EXPECT_EQ(visibleItems(*f.mnuCamTrkBkMenu), c.items);
        }
    }
    // The captions, in the menus' order.
    Names captions;
    for (const QAction* a : f.mnuCamTrkBkMenu->actions()) captions.push_back(a->text().toStdString());
    EXPECT_EQ(captions, (Names{"&New", "&Delete", "&Save Current", "&Hide", "&Unhide", "Hide &All", "Sh&ow All"}));
}

TEST_F(SceneTreeMenusTest, RemoveFromGroupMovesTheGroupToTheTopLevelUndoablyAndNeverRecordsANoOp) {
    Form1& f = start();
    const int32_t top = group("top");
    const int32_t middle = group("middle", top);
    const int32_t low = group("low", middle);
    const int32_t below = group("below", low);
    rebuildTrees();
    select(SelGroup, low);
    f.mnuGroupMenuHide_Click();
    select(SelGroup, low);
    f.mnuGroupMenuRemoveFrmGrp_Click();
    EXPECT_EQ(OMBREL_group_get_father_group(low), Globals::RootGrp);
    EXPECT_EQ(parentKey(*f.trwGroupView, groupKey(low)), "");
    EXPECT_EQ(parentKey(*f.trwGroupView, groupKey(below)), groupKey(low));
    // A hidden group stays shown hidden, and stays disabled.
    EXPECT_EQ(image(*f.trwGroupView, groupKey(low)), "Group Invisible");
    EXPECT_EQ(KeyedTree::Key(f.trwGroupView->SelectedItem()), groupKey(low));
    EXPECT_EQ(newestType(), ActChangeFatherGrp);

    f.mnuUndo_Click();
    EXPECT_EQ(OMBREL_group_get_father_group(low), middle);
    EXPECT_EQ(parentKey(*f.trwGroupView, groupKey(low)), groupKey(middle));
    EXPECT_EQ(parentKey(*f.trwGroupView, groupKey(middle)), groupKey(top));
    EXPECT_EQ(image(*f.trwGroupView, groupKey(low)), "Group Invisible");
    EXPECT_EQ(Globals::CurrSelEntityHandle, middle);
    f.mnuRedo_Click();
    EXPECT_EQ(parentKey(*f.trwGroupView, groupKey(low)), "");
    EXPECT_EQ(Globals::CurrSelEntityHandle, low);

    // Already at the top level: nothing moves and the history stays as it was.
    const ActionUndoRedo* newest = Globals::UndoRedoStack->Retrive();
    const std::vector<std::string> order = f.trwGroupView->Keys();
    f.mnuGroupMenuRemoveFrmGrp_Click();
    EXPECT_EQ(Globals::UndoRedoStack->Retrive(), newest);
    EXPECT_EQ(f.trwGroupView->Keys(), order);
}

TEST_F(SceneTreeMenusTest, UngroupFromTheMenuIsOneRecordAndItsUndoAndRedoRecordNothing) {
    Form1& f = start();
    const int32_t holder = MakeGroup("holder", Globals::RootGrp);
    const int32_t a = group("a", holder), b = group("b", holder);
    rebuildTrees();
    select(SelGroup, holder);
    const int before = undoable();
    f.mnuGroupMenuUngroup_Click();
    EXPECT_EQ(undoable(), before + 1);
    EXPECT_EQ(newestType(), ActUnGroup);
    EXPECT_FALSE(f.trwGroupView->Exists(groupKey(holder)));
    EXPECT_EQ(Globals::CurrSelEntityType, SelMultiple);
    EXPECT_EQ(f.cmbObj->count(), 1);
    f.mnuUndo_Click();
    EXPECT_EQ(undoable(), before);
    EXPECT_EQ(childKeys(*f.trwGroupView, groupKey(holder)), (std::vector<std::string>{groupKey(a), groupKey(b)}));
    f.mnuRedo_Click();
    EXPECT_EQ(undoable(), before + 1);
    EXPECT_EQ(parentKey(*f.trwGroupView, groupKey(a)), "");
}

TEST_F(SceneTreeMenusTest, RemoveLightAndRemoveLightMapsTakeTheirsOffTheGroupOnly) {
    Form1& f = start();
    const int32_t lit = group("lit"), other = group("other");
    const int32_t lamp = light("lamp");
    const std::string picture = tempPath("map.bmp");
    writeBmp24(picture, 2, 2, {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {9, 9, 9}});
    const int32_t map = OMBREL_bitmap_load(picture.c_str(), -1);
    ASSERT_NE(map, 0);
    for (int32_t g : {lit, other}) {
        OMBREL_light_set_entity_to_light(lamp, g);
        OMBREL_polygon_set_second_bitmap(OMBREL_group_get_first_polygon(g), map);
    }
    rebuildTrees();
    select(SelGroup, lit);
    f.mnuGroupMenuRemoveLight_Click();
    f.mnuGroupMenuRemoveLightMaps_Click();
    EXPECT_FALSE(Globals::UndoRedoStack->HoldsAnyRecord());

    // The saved world tells each polygon's light maps and lights.
    const std::string saved = tempPath("saved.wld");
    ASSERT_EQ(OMBREL_engine_save(saved.c_str(), Globals::RootGrp, 0x1203), 0);
    std::ifstream in(saved);
    std::stringstream text;
    text << in.rdbuf();
    std::vector<std::string> polygons;
    for (std::string line; std::getline(text, line);)
        if (line.rfind("polygon ", 0) == 0) polygons.push_back(line);
    ASSERT_EQ(polygons.size(), 2u);
    EXPECT_NE(polygons[0].find(" second 0 "), std::string::npos) << polygons[0];
    EXPECT_NE(polygons[0].find(" lights 0"), std::string::npos) << polygons[0];
    EXPECT_EQ(polygons[1].find(" second 0 "), std::string::npos) << polygons[1];
    EXPECT_NE(polygons[1].find(" lights 1"), std::string::npos) << polygons[1];
}

// The views show the group without its light maps as soon as they are removed.
TEST_F(SceneTreeMenusTest, RemoveLightMapsRedrawsTheViews) {
    Form1& f = start();
    const int32_t floor = MakeGroup("floor", Globals::RootGrp);
    const int32_t pol = MakePolygon(floor, {{-200, -200}, {-200, 200}, {200, 200}, {200, -200}});
    OMBREL_polygon_set_color_fill(pol, 255, 255, 255);
    const std::string picture = tempPath("dark.bmp");
    writeBmp24(picture, 2, 2, std::vector<TestRgb>(4, TestRgb{9, 9, 9}));
    OMBREL_polygon_set_second_bitmap(pol, OMBREL_bitmap_load(picture.c_str(), -1));
    rebuildTrees();
    UpdateCameras();
    // Away from the middle, where the selected group's marks are drawn.
    auto brightness = [&] {
        const auto px = PixelOf(0, 120, 80);
        const QColor c = f.picWindow[0]->buffer().pixelColor(px[0], px[1]);
        return c.red() + c.green() + c.blue();
    };
    ASSERT_LT(brightness(), 3 * 60);
    rightClick(floor, "mnuGroupMenuRemoveLightMaps");
    EXPECT_GT(brightness(), 3 * 200);
}

TEST_F(SceneTreeMenusTest, GroupCommandsNeedAGroupButPropertiesOpensWhateverIsSelected) {
    Form1& f = start();
    const int32_t child = group("child", group("father"));
    const int32_t cam = camera("cam");
    rebuildTrees();
    int properties = 0;
    f.ShowGrpProperties = [&] { ++properties; };
    select(SelCamera, cam);
    for (QAction* item : f.mnuGroupMenu->actions()) item->trigger();
    EXPECT_NE(OMBREL_group_get_father_group(child), Globals::RootGrp);
    EXPECT_EQ(OMBREL_camera_get_save_flag(cam), 1);
    EXPECT_FALSE(Globals::UndoRedoStack->HoldsAnyRecord());
    EXPECT_EQ(properties, 1);
}

}  // namespace
