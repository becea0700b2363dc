// The camera, track and background tree of the workspace's third page: three
// folders, emptied when a world closes and rebuilt from the engine when one is
// loaded, created or merged. Building it registers a marker for every listed
// camera that has none yet and marks every listed track and background for saving.
#include "Form1.h"

#include "core/EntityProcedures.h"
#include "core/Globals.h"
#include "entities/CameraGrp.h"
#include "ombrel.h"

void Form1::trwCamTrackBK_Reset() {
    trwCamTrackBK->Clear();
    for (const char* folder : {"CAMERA", "BACKGROUND", "TRACK"}) trwCamTrackBK->Add("", folder, folder, "Folder");
}

void Form1::trwCamTrackBK_Populate() {
    using namespace Globals;
    trwCamTrackBK->Clear();
    // Cameras waiting in a deletion record have save flag 0: no node, no marker.
    trwCamTrackBK->Add("", "CAMERA", "CAMERA", "Folder");
    for (int32_t c = OMBREL_camera_get_first_camera(); c != 0; c = OMBREL_camera_get_next_camera(c)) {
        if (OMBREL_camera_get_save_flag(c) != 1) continue;
        // A camera with a marker keeps it (a merge rebuilds the tree), and its node
        // says whether it is hidden.
        const int32_t marker = SceneCameras ? SceneCameras->GetCamGrp(c) : 0;
        if (marker == 0 && SceneCameras) SceneCameras->Add(c);
        const bool hidden = marker != 0 && OMBREL_group_is_disable(marker) == 1;
        trwCamTrackBK->Add("CAMERA", KeyedTree::NodeKey("Camera", c), GetEntityName(c),
                           hidden ? "Cam Invisible" : "Cam");
    }
    // The engine lists only tracks that are saved, so one whose deletion can still
    // be undone is neither listed nor saved again.
    trwCamTrackBK->Add("", "TRACK", "TRACK", "Folder");
    for (int32_t t = OMBREL_track_get_first_track(); t != 0; t = OMBREL_track_get_next(t)) {
        OMBREL_track_set_save_flag(t, 1);
        trwCamTrackBK->Add("TRACK", KeyedTree::NodeKey("Track", t), GetEntityName(t), "Track");
    }
    trwCamTrackBK->Add("", "BACKGROUND", "BACKGROUND", "Folder");
    for (int32_t b = OMBREL_background_get_first_background(); b != 0; b = OMBREL_background_get_next(b)) {
        OMBREL_background_set_save_flag(b, 1);
        trwCamTrackBK->Add("BACKGROUND", KeyedTree::NodeKey("Background", b), GetEntityName(b), "Background");
    }
}
