// The camera, track and background tree: its folders when a world closes and
// when one is built, which entities it lists and what building it registers.
#include "EditorFixture.h"

#include "core/Globals.h"
#include "entities/CameraGrp.h"
#include "ombrel.h"

#include <string>
#include <vector>

namespace {

using CamTrackTreeTest = EditorFixture;

TEST_F(CamTrackTreeTest, ABuildListsSavedCamerasAndTracksAndEveryBackgroundInTheirFolders) {
    Form1& f = StartEditor();
    OpenEmptyWorld();
    const double points[6] = {0, 0, 0, 10, 0, 0};
    const int32_t camera = OMBREL_camera_create("Camera01");
    const int32_t deletedCamera = OMBREL_camera_create("Camera02");
    OMBREL_camera_set_save_flag(deletedCamera, 0);
    const int32_t track = OMBREL_track_create("Track01", 0, points, 2);
    const int32_t deletedTrack = OMBREL_track_create("Track02", 0, points, 2);
    OMBREL_track_set_save_flag(deletedTrack, 0);
    const int32_t excluded = OMBREL_background_create("Background01", 0);
    OMBREL_background_set_save_flag(excluded, 0);
    const int32_t sameName = OMBREL_background_create("Background01", 0);
    ASSERT_TRUE(camera && deletedCamera && track && deletedTrack && excluded && sameName);

    f.trwCamTrackBK_Populate();
    KeyedTree& tree = *f.trwCamTrackBK;
    EXPECT_EQ(tree.Keys(), (std::vector<std::string>{"CAMERA", KeyedTree::NodeKey("Camera", camera), "TRACK",
                                                     KeyedTree::NodeKey("Track", track), "BACKGROUND",
                                                     KeyedTree::NodeKey("Background", excluded),
                                                     KeyedTree::NodeKey("Background", sameName)}));
    struct Node {
        std::string key, text, image;
    };
    const Node nodes[] = {{"CAMERA", "CAMERA", "Folder"},
                          {KeyedTree::NodeKey("Camera", camera), "Camera01", "Cam"},
                          {KeyedTree::NodeKey("Track", track), "Track01", "Track"},
                          {KeyedTree::NodeKey("Background", sameName), "Background01", "Background"}};
    for (const Node& n : nodes) {
        EXPECT_EQ(tree.Item(n.key)->text(0).toStdString(), n.text) << n.key;
        EXPECT_EQ(KeyedTree::Image(tree.Item(n.key)), n.image) << n.key;
    }
    // Listed cameras get their markers; a pending deletion stays out and unsaved.
    EXPECT_NE(Globals::SceneCameras->GetCamGrp(camera), 0);
    EXPECT_EQ(Globals::SceneCameras->GetCamGrp(deletedCamera), 0);
    EXPECT_EQ(OMBREL_ext_track_get_save_flag(deletedTrack), 0);
    EXPECT_EQ(OMBREL_ext_background_get_save_flag(excluded), 1);
    EXPECT_FALSE(f.IsCamHidden(camera));
    tree.SetImage(tree.Item(KeyedTree::NodeKey("Camera", camera)), "Cam Invisible");
    EXPECT_TRUE(f.IsCamHidden(camera));

    f.UnloadWorld();
    EXPECT_EQ(tree.Keys(), (std::vector<std::string>{"CAMERA", "BACKGROUND", "TRACK"}));
}

}  // namespace
