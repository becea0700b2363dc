// A model dragged out of the gallery and dropped on a view: merged at the point
// under the cursor (the origin over empty space), lifted so that it rests there,
// selected, and recorded as one creation.
#include "EditorFixture.h"

#include "core/Camera.h"
#include "core/Globals.h"
#include "ombrel.h"
#include "views/PicWindow.h"

#include <QMimeData>
#include <QUrl>

#include <array>
#include <cmath>
#include <filesystem>

namespace {

constexpr int kTop = 0;

class GalleryDropTest : public EditorFixture {
protected:
    // The small world's group "box" (100 x 100 x 100, bottom at height 0) as a
    // gallery model; written before the editor starts, as it replaces the engine's world.
    std::string SaveModel(const std::string& name) { return SaveSmallWorldFile(name); }

    // The Top view's pixel that shows a world point, and the world width of one pixel there.
    std::array<int32_t, 2> TopPixel(const std::array<double, 3>& point, double* unitsPerPixel = nullptr) {
        OMBREL_camera_set_current(Globals::ViewCams[kTop]->lngSceneCamera, form().picWindow[kTop]->hWnd());
        int32_t pixel[2] = {0, 0}, beside[2] = {0, 0};
        EXPECT_EQ(OMBREL_engine_3D_point_to_2D(point.data(), pixel), 0);
        const double away[3] = {point[0] + 100, point[1], point[2]};
        EXPECT_EQ(OMBREL_engine_3D_point_to_2D(away, beside), 0);
        const double pixels = std::hypot(beside[0] - pixel[0], beside[1] - pixel[1]);
        EXPECT_GT(pixels, 2.0);
        if (unitsPerPixel) *unitsPerPixel = 100 / pixels;
        return {pixel[0], pixel[1]};
    }

    // What the gallery's drag hands the view: GalleryDragFile and the file in the data.
    void DropOnTop(const std::string& model, float x, float y) {
        form().GalleryDragFile = model;
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(QString::fromStdString(model))});
        int effect = 2;
        form().picWindow_OLEDragDrop(kTop, &data, effect, 1, 0, x, y);
    }

    static std::array<double, 3> Location(int32_t group) {
        std::array<double, 3> at{};
        OMBREL_group_get_location(group, &at[0], &at[1], &at[2]);
        return at;
    }

    static double Bottom(int32_t group) {
        double box[6] = {};
        OMBREL_group_get_bounding_box(group, box);
        return box[2];
    }
};

TEST_F(GalleryDropTest, TheModelRestsOnThePointUnderTheCursorOrOnTheOrigin) {
    // Capitals in the extension: the test of a world file ignores case.
    const std::string model = SaveModel("Crate.VANDEL");
    Form1& f = StartEditor();
    struct Case {
        const char* name;
        bool overPolygon;
        std::array<double, 3> restsOn;
    };
    // The box's top square lies at height 100; far to the side of it the view is empty.
    const Case cases[] = {
        {"on the top square", true, {20, -30, 100}},
        {"over empty space", false, {0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        f.UnloadWorld();
        const int32_t box = OpenSmallWorld();
        Globals::CurrSelEntityType = SelGroup;
        Globals::CurrSelEntityHandle = box;
        Globals::NumSelPols = 2;
        f.RefreshModelPreview = false;
        double unitsPerPixel = 0;
        const auto pixel = c.overPolygon ? TopPixel(c.restsOn, &unitsPerPixel) : std::array<int32_t, 2>{2, 2};

        DropOnTop(model, static_cast<float>(pixel[0]), static_cast<float>(pixel[1]));

        const int32_t added = f.AddedWorldRootGrp;
        ASSERT_NE(added, 0);
        ASSERT_NE(added, box);
        EXPECT_EQ(OMBREL_group_get_father_group(added), Globals::RootGrp);
        // Lifted by half its 100 height: centred 50 above the point, its bottom on it.
        const auto at = Location(added);
        EXPECT_NEAR(at[0], c.restsOn[0], unitsPerPixel + 1e-6);
        EXPECT_NEAR(at[1], c.restsOn[1], unitsPerPixel + 1e-6);
        EXPECT_NEAR(at[2], c.restsOn[2] + 50, 1e-6);
        EXPECT_NEAR(Bottom(added), c.restsOn[2], 1e-6);
        // The open world is left where it was.
        EXPECT_NEAR(Location(box)[2], 50, 1e-6);

        EXPECT_EQ(Globals::CurrSelEntityType, SelGroup);
        EXPECT_EQ(Globals::CurrSelEntityHandle, added);
        EXPECT_EQ(Globals::PrevSelEntityHandle, box);
        // The selection change ran: the polygon selection of the old group is gone.
        EXPECT_EQ(Globals::NumSelPols, 0);
        EXPECT_EQ(f.GalleryDragFile, "");
        EXPECT_TRUE(f.RefreshModelPreview);
    }
}

TEST_F(GalleryDropTest, TheDropIsOneCreationThatUndoRemovesAndRedoBringsBack) {
    const std::string model = SaveModel("crate.vandel");
    Form1& f = StartEditor();
    const int32_t box = OpenSmallWorld();
    Globals::CurrSelEntityType = SelGroup;
    Globals::CurrSelEntityHandle = box;
    EXPECT_FALSE(f.mnuUndo->isVisible());
    const auto pixel = TopPixel({20, -30, 100});

    DropOnTop(model, static_cast<float>(pixel[0]), static_cast<float>(pixel[1]));
    const int32_t added = f.AddedWorldRootGrp;
    ASSERT_NE(added, 0);
    const auto placed = Location(added);
    EXPECT_TRUE(f.mnuUndo->isVisible());

    f.mnuUndo->trigger();
    EXPECT_EQ(OMBREL_group_get_father_group(added), 0);
    EXPECT_EQ(OMBREL_group_get_number_of_polygons(Globals::RootGrp), 2);
    EXPECT_EQ(Globals::CurrSelEntityType, SelGroup);
    EXPECT_EQ(Globals::CurrSelEntityHandle, box);
    // One record only: nothing is left to undo.
    EXPECT_FALSE(f.mnuUndo->isVisible());
    EXPECT_TRUE(f.mnuRedo->isVisible());

    f.mnuRedo->trigger();
    EXPECT_EQ(OMBREL_group_get_father_group(added), Globals::RootGrp);
    EXPECT_EQ(OMBREL_group_get_number_of_polygons(Globals::RootGrp), 4);
    EXPECT_EQ(Globals::CurrSelEntityHandle, added);
    const auto back = Location(added);
    for (int i = 0; i < 3; ++i) EXPECT_DOUBLE_EQ(back[i], placed[i]) << "axis " << i;
}

TEST_F(GalleryDropTest, AGalleryFileThatIsNoWorldIsIgnored) {
    // Real worlds under other names: only the extension keeps them out.
    const std::string saved = SaveModel("crate.wld");
    Form1& f = StartEditor();
    const int32_t box = OpenSmallWorld();
    Globals::CurrSelEntityType = SelGroup;
    Globals::CurrSelEntityHandle = box;
    for (const char* name : {"crate.x", "crate.jpg", "crate"}) {
        SCOPED_TRACE(name);
        const std::string model = tempPath(name);
        std::filesystem::copy_file(saved, model);
        DropOnTop(model, 2, 2);
        EXPECT_EQ(f.AddedWorldRootGrp, 0);
        EXPECT_EQ(OMBREL_group_get_number_of_polygons(Globals::RootGrp), 2);
        EXPECT_EQ(Globals::CurrSelEntityHandle, box);
        EXPECT_FALSE(f.mnuUndo->isVisible());
        EXPECT_TRUE(f.WorldLoaded);
    }
}

}  // namespace
