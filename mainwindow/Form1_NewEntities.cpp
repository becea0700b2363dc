// New lights and cameras (selected and undoable) and new backgrounds (neither),
// from the Create menu and the light and camera trees' New items.
#include "Form1.h"

#include "core/BitmapFileDialog.h"
#include "core/Globals.h"
#include "core/SelectionChange.h"
#include "entities/CameraGrp.h"
#include "entities/LightGrp.h"
#include "ombrel.h"
#include "platform/prompts.h"
#include "scene/EntityNames.h"
#include "undo/ActionUndoRedo.h"
#include "undo/ActionUndoRedo_Stack.h"
#include "views/ViewRedraw.h"

namespace {

constexpr int32_t kDirectionalLightType = 59;  // directional, linear decay, ambient, diffuse, specular

// The creation of the current selection goes on the history; the panels then
// show the new entity, so an edit there never reaches the one selected before.
void recordCreation() {
    using namespace Globals;
    auto record = std::make_unique<ActionUndoRedo>();
    record->ActionType = ActCreate;
    record->SetActionObjects();
    record->Create->SetCreatedEntity(CurrSelEntityType, CurrSelEntityHandle);
    UndoRedoStack->Push(std::move(record));
    ThingsToDoOnSelectedEntityChange();
}

}  // namespace

void Form1::CreateNewLight(int32_t Kind) {
    using namespace Globals;
    const std::string name = scene::GetNewLightName();
    const double origin[3] = {0, 0, 0};
    const int32_t light = OMBREL_light_create(name.c_str(), origin);
    OMBREL_light_set_save_flag(light, 1);
    if (Kind == 1) {
        OMBREL_light_set_type_of_light(light, kDirectionalLightType);
        SceneLights->Add(light, 1);
    } else {
        SceneLights->Add(light, 0);
    }
    OMBREL_light_set_entity_to_light(light, RootGrp);
    QTreeWidgetItem* node = trwLight->Add("LIGHT", KeyedTree::NodeKey("Light", light), name, "Light");
    Point3d direction = {0, 0, 0};
    OMBREL_light_get_direction(light, direction.data());
    SceneLights->SetDirection(light, direction);
    SetPrevSelEntityToCurrSelEntity();
    CurrSelEntityType = SelLight;
    CurrSelEntityHandle = light;
    trwLight->SetSelectedItem(node);
    UpdateCameras();
    recordCreation();
}

void Form1::CreateNewCamera() {
    using namespace Globals;
    const std::string name = scene::GetNewCamName();
    const int32_t camera = OMBREL_camera_create(name.c_str());
    OMBREL_camera_set_save_flag(camera, 1);
    QTreeWidgetItem* node = trwCamTrackBK->Add("CAMERA", KeyedTree::NodeKey("Camera", camera), name, "Cam");
    SceneCameras->Add(camera);
    SetPrevSelEntityToCurrSelEntity();
    CurrSelEntityType = SelCamera;
    CurrSelEntityHandle = camera;
    trwCamTrackBK->SetSelectedItem(node);
    UpdateCameras();
    recordCreation();
}

void Form1::CreateNewBackground() {
    const std::string name = scene::GetNewBkgName();
    const std::vector<std::string> chosen = Globals::GetOpenedBitmapFile(false);
    if (chosen.empty()) return;
    const int32_t bitmap = OMBREL_bitmap_load(chosen.front().c_str(), -1);
    if (bitmap == 0) {
        platform::msgBox("Unsupported bitmap.", platform::MsgButtons::OK, platform::MsgIcon::Information);
        return;
    }
    const int32_t background = OMBREL_background_create(name.c_str(), bitmap);
    OMBREL_background_set_save_flag(background, 1);
    OMBREL_background_set_bottom(background, -5500.0);
    OMBREL_background_set_bottom_intensity(background, 0.0);
    OMBREL_background_set_distance(background, 30000.0);
    OMBREL_background_set_intensity_step(background, 0.3);
    OMBREL_background_use(background);
    trwCamTrackBK->Add("BACKGROUND", KeyedTree::NodeKey("Background", background), name, "Background");
    UpdateCameras();
}

std::string Form1::GetNewTrkName() const { return scene::GetNewTrkName(); }
