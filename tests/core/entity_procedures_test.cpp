#include "core/EntityProcedures.h"

#include "engine_world.h"

#include <filesystem>
#include <fstream>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

// A 2 x 1 true-colour BMP.
void writeBmp(const fs::path& file) {
    const unsigned char bytes[] = {
        'B', 'M', 62, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,                       // file header
        40, 0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0, 1, 0, 24, 0, 0, 0, 0, 0, 8, 0,  // info header
        0, 0, 0x13, 0x0B, 0, 0, 0x13, 0x0B, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
        0, 0, 255, 0, 255, 0, 0, 0};                                            // one row, padded
    std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(bytes), sizeof bytes);
}

class EntityProcedures : public EngineWorldTest {
protected:
    void SetUp() override {
        EngineWorldTest::SetUp();
        if (IsSkipped()) return;
        dir_ = fs::temp_directory_path() / ("talvora_bitmaps_" + std::to_string(::getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_ / "elsewhere");
    }
    void TearDown() override {
        EngineWorldTest::TearDown();
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    fs::path dir_;
};

TEST_F(EntityProcedures, BitmapFileNameFromTheFullEngineName) {
    // A folder deep enough that the name passes 255 bytes.
    fs::path deep = dir_ / std::string(120, 'd') / std::string(120, 'e');
    fs::create_directories(deep);
    writeBmp(deep / "Wall.BMP");
    int32_t bmp = OMBREL_bitmap_load((deep / "Wall.BMP").c_str(), -1);
    ASSERT_NE(bmp, 0);
    ASSERT_GT(Globals::GetEntityName(bmp).size(), 255u);
    EXPECT_EQ(Globals::GetEntityName(bmp), (deep / "Wall").string());
    EXPECT_EQ(Globals::GetBitmapFileName(bmp), "Wall");
    EXPECT_EQ(Globals::FindBitmapFilePath(bmp), (deep / "Wall.BMP").string());

    // The ".jpg" file is found when the ".bmp" one is gone.
    fs::rename(deep / "Wall.BMP", deep / "Wall.Jpg");
    EXPECT_EQ(Globals::GetBitmapFileName(bmp), "Wall");
    EXPECT_EQ(Globals::FindBitmapFilePath(bmp), (deep / "Wall.Jpg").string());

    // Neither: the name's last component with ".bmp", whatever the current folder holds.
    fs::remove(deep / "Wall.Jpg");
    writeBmp(dir_ / "elsewhere" / "Wall.bmp");
    fs::path before = fs::current_path();
    fs::current_path(dir_ / "elsewhere");
    EXPECT_EQ(Globals::GetBitmapFileName(bmp), "Wall.bmp");
    EXPECT_EQ(Globals::FindBitmapFilePath(bmp), "");
    fs::current_path(before);
}

// The engine writes a light map's file only when someone needs it: asking for the
// file through the name procedures is needing it, once listed folders included.
TEST_F(EntityProcedures, ALightMapsFileIsFoundThoughItIsWrittenOnlyWhenAskedFor) {
    const int32_t box = makeBox("crate", {0, 0, 0}, {2, 4, 6});
    const double above[3] = {0, 0, 20};
    OMBREL_light_create("lamp", above);
    std::vector<int32_t> maps;
    for (int32_t p = OMBREL_group_get_first_polygon(box); p && maps.size() < 2; p = OMBREL_group_get_next_polygon(box, p))
        maps.push_back(OMBREL_polygon_create_lightmap(p, 16, 1, 1, 0, 2));
    ASSERT_EQ(maps.size(), 2u);
    ASSERT_NE(maps[0], 0);
    ASSERT_NE(maps[1], 0);
    const fs::path name = Globals::GetEntityName(maps[1]);
    ASSERT_FALSE(fs::exists(name.string() + ".bmp")) << "no file before it is needed";
    // The first look lists the folder before the second map's file exists.
    Globals::BitmapFolderListings listings;
    EXPECT_EQ(Globals::GetBitmapFileName(maps[0], listings), fs::path(Globals::GetEntityName(maps[0])).filename());
    EXPECT_EQ(Globals::GetBitmapFileName(maps[1], listings), name.filename());
    EXPECT_EQ(Globals::FindBitmapFilePath(maps[1]), name.string() + ".bmp");
}

TEST_F(EntityProcedures, NamesOfOtherKindsAndLocationsByKind) {
    int32_t g = makeBox("crate", {0, 0, 0}, {2, 4, 6});
    int32_t cam = OMBREL_camera_create("eye");
    OMBREL_camera_set_location(cam, 1, 2, 3);
    const double lightAt[3] = {7, 8, 9};
    int32_t light = OMBREL_light_create("lamp", lightAt);
    EXPECT_EQ(Globals::GetEntityName(g), "crate");
    EXPECT_EQ(Globals::GetEntityName(cam), "eye");
    EXPECT_EQ(Globals::GetEntityName(0), "");

    struct Case {
        int32_t handle, kind;
        Point3d want;
    };
    Globals::SelObjsAvgCenter = {5, 5, 5};
    const Case cases[] = {{g, SelGroup, {1, 2, 3}},      {cam, SelCamera, {1, 2, 3}}, {light, SelLight, {7, 8, 9}},
                          {0, SelMultiple, {5, 5, 5}},   {g, SelBackground, {-1, -1, -1}},
                          {g, SelNone, {-1, -1, -1}}};
    for (const Case& c : cases) {
        Point3d r = {-1, -1, -1};
        Globals::GetEntityLocation(c.handle, c.kind, r);
        EXPECT_EQ(r, c.want) << "kind " << c.kind;
    }

    Globals::MoveLight(light, {1, -1, 0.5});
    Point3d moved;
    OMBREL_light_get_location(light, moved.data());
    EXPECT_EQ(moved, (Point3d{8, 7, 9.5}));
}

TEST_F(EntityProcedures, ViewsLookingThroughTheSelectedCameraAreFoundByHandle) {
    // Two cameras of one name: only the views that record the selected one by
    // handle follow it; the others are redrawn for its marker.
    const int32_t cam = OMBREL_camera_create("Camera1");
    const int32_t twin = OMBREL_camera_create("Camera1");
    OMBREL_camera_set_location(cam, 0, -500, 0);
    OMBREL_camera_set_direction(cam, 0, 1, 0);
    std::vector<int> redrawn;
    core::viewHooks().updateCamerasSingle = [&](int v) { redrawn.push_back(v); };
    const std::array<int32_t, 4> viewed = {0, cam, twin, cam};
    for (std::size_t v = 0; v < 4; ++v) {
        Globals::ViewCams[v] = std::make_shared<Camera>();
        Globals::ViewCams[v]->lngSceneCamera = OMBREL_camera_create("view");
        Globals::ViewCams[v]->ViewedSceneCamera = viewed[v];
    }
    Globals::CurrSelEntityType = SelCamera;
    Globals::CurrSelEntityHandle = cam;

    Globals::UpdateCamIfSelIsViewedCam();
    EXPECT_EQ(redrawn, (std::vector<int>{0, 2}));

    redrawn.clear();
    Globals::SyncViewIfSelIsViewedCam();
    EXPECT_EQ(redrawn, (std::vector<int>{1, 3}));
    Point3d eye;
    OMBREL_camera_get_location1(Globals::ViewCams[1]->lngSceneCamera, eye.data());
    EXPECT_NEAR(eye[1], -500, 1e-6);
    OMBREL_camera_get_location1(Globals::ViewCams[2]->lngSceneCamera, eye.data());
    EXPECT_NE(eye[1], -500);

    // With no camera selected no view follows, even one whose record holds the
    // handle the selection has.
    redrawn.clear();
    Globals::CurrSelEntityType = SelLight;
    Globals::SyncViewIfSelIsViewedCam();
    EXPECT_TRUE(redrawn.empty());
}

}  // namespace
