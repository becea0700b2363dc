// New lights, cameras and backgrounds from the Create menu and the trees: their
// default names, what each is made with, the selection and panels that follow,
// and Undo of each creation.
#include "scene_world.h"

#include "../ombrel3/bmp_writer.h"
#include "core/EntityProcedures.h"
#include "scene/EntityNames.h"

#include <QAction>
#include <QGroupBox>
#include <QTabWidget>

#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

using platform::MsgIcon;

class SceneNewEntitiesTest : public SceneWorldTest {};

TEST_F(SceneNewEntitiesTest, DefaultNamesFillTheFirstGap) {
    start();
    struct Case {
        const char* name;
        std::vector<std::string> taken;
        std::function<int32_t(const std::string&)> make;
        std::function<std::string()> next;
        std::string expected;
    };
    auto makeLight = [](const std::string& n) { return light(n); };
    auto makeCamera = [](const std::string& n) { return camera(n); };
    auto makeTrack = [](const std::string& n) {
        const double points[6] = {0, 0, 0, 5, 0, 0};
        return OMBREL_track_create(n.c_str(), 0, points, 2);
    };
    auto makeBackground = [](const std::string& n) { return OMBREL_background_create(n.c_str(), 0); };
    std::vector<std::string> hundred;
    for (int i = 1; i <= 99; ++i) hundred.push_back((i < 10 ? "Light0" : "Light") + std::to_string(i));
    const Case cases[] = {
        {"no light yet", {}, makeLight, scene::GetNewLightName, "Light01"},
        {"a gap", {"Light01", "Light03"}, makeLight, scene::GetNewLightName, "Light02"},
        {"ninety-nine taken", hundred, makeLight, scene::GetNewLightName, "Light100"},
        {"cameras", {"Camera01", "Camera03"}, makeCamera, scene::GetNewCamName, "Camera02"},
        {"tracks", {"Track01", "Track02"}, makeTrack, scene::GetNewTrkName, "Track03"},
        {"backgrounds", {}, makeBackground, scene::GetNewBkgName, "Background01"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<int32_t> made;
        for (const std::string& n : c.taken) made.push_back(c.make(n));
        EXPECT_EQ(c.next(), c.expected);
        for (int32_t h : made) {
            OMBREL_light_delete(h);
            OMBREL_camera_delete(h);
            OMBREL_track_delete(h);
            OMBREL_background_delete(h);
        }
        OMBREL_ext_clear_last_error();
    }
    EXPECT_EQ(form().GetNewTrkName(), "Track01");
}

TEST_F(SceneNewEntitiesTest, NewLightsAreSelectedShownAndUndoable) {
    Form1& f = start();
    const int32_t box = group("box");
    rebuildTrees();
    struct Case {
        const char* name;
        std::function<void()> command;
        bool directional;
        int page;  // -1: the page is left as it was
    };
    const Case cases[] = {
        {"light tree New", [&] { f.mnuLightMenuNew_Click(); }, false, -1},
        {"Create > Light > Omnidirectional", [&] { f.mnuOmnidirectional->trigger(); }, false, 5},
        {"Create > Light > Directional", [&] { f.mnuDirectional->trigger(); }, true, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        f.tabWorkspace->setCurrentIndex(0);
        select(SelGroup, box);
        c.command();
        ASSERT_EQ(Globals::CurrSelEntityType, SelLight);
        const int32_t made = Globals::CurrSelEntityHandle;
        EXPECT_EQ(Globals::GetEntityName(made), "Light01");
        EXPECT_EQ(OMBREL_ext_light_get_save_flag(made), 1);
        if (c.directional) {
            EXPECT_EQ(OMBREL_light_get_type_of_light(made), 59);
        } else {
            EXPECT_NE(OMBREL_light_get_type_of_light(made), 59);
        }
        EXPECT_NE(lightMarker(made), 0);
        QTreeWidgetItem* node = f.trwLight->Item(lightKey(made));
        EXPECT_EQ(node->text(0).toStdString(), "Light01");
        EXPECT_EQ(f.trwLight->SelectedItem(), node);
        // The selection-changed path ran: the light's node is highlighted and its panel is up.
        EXPECT_TRUE(KeyedTree::Bold(node));
        EXPECT_FALSE(f.frmLight->isHidden());
        if (c.page >= 0) {
            EXPECT_EQ(f.tabWorkspace->currentIndex(), c.page);
        }
        EXPECT_EQ(newestType(), ActCreate);

        f.mnuUndo_Click();
        EXPECT_FALSE(f.trwLight->Exists(lightKey(made)));
        EXPECT_EQ(Globals::CurrSelEntityType, SelGroup);
        EXPECT_EQ(Globals::CurrSelEntityHandle, box);
        f.mnuRedo_Click();
        EXPECT_TRUE(f.trwLight->Exists(lightKey(made)));
        EXPECT_EQ(Globals::CurrSelEntityHandle, made);
        f.mnuUndo_Click();
        // The undone creation goes for good with the next edit.
        select(SelGroup, box);
        f.mnuGroupMenuHide_Click();
        EXPECT_FALSE(alive(made));
        f.mnuUndo_Click();
    }
}

TEST_F(SceneNewEntitiesTest, ANewCameraIsSelectedWithItsMarkerAndUndoable) {
    Form1& f = start();
    const int32_t box = group("box");
    rebuildTrees();
    select(SelGroup, box);
    f.mnuCamera->trigger();
    ASSERT_EQ(Globals::CurrSelEntityType, SelCamera);
    const int32_t made = Globals::CurrSelEntityHandle;
    EXPECT_EQ(Globals::GetEntityName(made), "Camera01");
    EXPECT_EQ(OMBREL_camera_get_save_flag(made), 1);
    EXPECT_NE(cameraMarker(made), 0);
    EXPECT_EQ(image(*f.trwCamTrackBK, cameraKey(made)), "Cam");
    EXPECT_EQ(f.trwCamTrackBK->SelectedItem(), f.trwCamTrackBK->Item(cameraKey(made)));
    EXPECT_EQ(f.tabWorkspace->currentIndex(), 2);
    EXPECT_FALSE(f.frmCam->isHidden());

    // From the tree's New on the camera folder: the next free name.
    f.trwCamTrackBK->SetSelectedItem(f.trwCamTrackBK->Item("CAMERA"));
    f.mnuCamTrkBkMenuNew_Click();
    EXPECT_EQ(Globals::GetEntityName(Globals::CurrSelEntityHandle), "Camera02");

    f.mnuUndo_Click();
    f.mnuUndo_Click();
    EXPECT_FALSE(f.trwCamTrackBK->Exists(cameraKey(made)));
    EXPECT_EQ(OMBREL_camera_get_save_flag(made), 0);
    EXPECT_TRUE(disabled(cameraMarker(made)));
    EXPECT_EQ(Globals::CurrSelEntityHandle, box);
}

TEST_F(SceneNewEntitiesTest, ABackgroundComesFromABitmapFileOrNotAtAll) {
    Form1& f = start();
    rebuildTrees();
    // The track folder's New opens the track dialog instead.
    platform_.prompts.answerWindow([](QDialog& dialog) { dialog.reject(); });
    f.trwCamTrackBK->SetSelectedItem(f.trwCamTrackBK->Item("TRACK"));
    f.mnuCamTrkBkMenuNew_Click();
    EXPECT_EQ(platform_.prompts.shown().back().text, "formCreateTrack");

    auto newBackground = [&] {
        f.trwCamTrackBK->SetSelectedItem(f.trwCamTrackBK->Item("BACKGROUND"));
        f.mnuCamTrkBkMenuNew_Click();
    };
    // Cancelled: nothing.
    platform_.prompts.answerOpenFile("");
    newBackground();
    EXPECT_EQ(OMBREL_background_get_first_background(), 0);

    // Not an image: said so, nothing made.
    const std::string broken = tempPath("broken.bmp");
    std::ofstream(broken) << "not a picture";
    platform_.prompts.answerOpenFile(broken).answer(platform::MsgResult::OK);
    newBackground();
    EXPECT_EQ(platform_.prompts.shown().back().text, "Unsupported bitmap.");
    EXPECT_EQ(platform_.prompts.shown().back().icon, MsgIcon::Information);
    EXPECT_EQ(OMBREL_background_get_first_background(), 0);

    // A picture under a name that is not ASCII.
    const std::string picture = tempPath("ciel étoilé.bmp");
    writeBmp24(picture, 2, 2, {{10, 20, 30}, {40, 50, 60}, {70, 80, 90}, {1, 2, 3}});
    platform_.prompts.answerOpenFile(picture);
    newBackground();
    const int32_t sky = OMBREL_background_get_first_background();
    ASSERT_NE(sky, 0);
    EXPECT_EQ(Globals::GetEntityName(sky), "Background01");
    EXPECT_NE(OMBREL_background_get_bitmap(sky), 0);
    EXPECT_EQ(OMBREL_background_get_bottom(sky), -5500.0);
    EXPECT_EQ(OMBREL_background_get_bottom_intensity(sky), 0.0);
    EXPECT_EQ(OMBREL_background_get_distance(sky), 30000.0);
    EXPECT_EQ(OMBREL_background_get_intensity_step(sky), 0.3);
    EXPECT_EQ(OMBREL_ext_background_get_save_flag(sky), 1);
    EXPECT_EQ(image(*f.trwCamTrackBK, KeyedTree::NodeKey("Background", sky)), "Background");
    EXPECT_FALSE(Globals::UndoRedoStack->HoldsAnyRecord());
}

}  // namespace
