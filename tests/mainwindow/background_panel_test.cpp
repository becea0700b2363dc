// The background panel: filled from the tree, each field applied on Enter only
// and put back on leaving, the pending-edit mark, the bitmap button, renaming in
// place, and the picture each field changes.
#include "cam_track_world.h"

#include "core/Globals.h"
#include "ombrel.h"

#include <QGroupBox>
#include <QPushButton>

#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

class BackgroundPanelTest : public CamTrackWorldTest {
protected:
    Form1& startWithBackground() {
        Form1& f = startOnCameraPage();
        sky_ = background("sky", {0, 0, 200});
        OMBREL_background_set_distance(sky_, 5000);
        OMBREL_background_set_bottom(sky_, -250.5);
        OMBREL_background_set_bottom_intensity(sky_, 0.25);
        OMBREL_background_set_intensity_step(sky_, 0.125);
        rebuildTrees();
        clickNode(backgroundKey(sky_));
        return f;
    }
    int32_t sky_ = 0;
};

TEST_F(BackgroundPanelTest, SelectingABackgroundShowsAndFillsItsPanelUnmarked) {
    Form1& f = startWithBackground();
    EXPECT_FALSE(f.frmBackground->isHidden());
    const std::vector<std::pair<QLineEdit*, std::string>> fields = {{f.txtBkgName, "sky"},
                                                                     {f.txtBkgDist, "5000"},
                                                                     {f.txtBkgBottom, "-250.5"},
                                                                     {f.txtBkgBottomInt, "0.25"},
                                                                     {f.txtBkgIntStp, "0.125"}};
    for (const auto& [field, text] : fields) {
        EXPECT_EQ(field->text().toStdString(), text) << field->objectName().toStdString();
        EXPECT_FALSE(field->font().bold()) << field->objectName().toStdString();
    }
    const std::string map = Globals::GetEntityName(OMBREL_background_get_bitmap(sky_));
    EXPECT_FALSE(map.empty());
    EXPECT_EQ(f.txtBkgMap->text().toStdString(), map);
    EXPECT_EQ(f.txtBkgMap->toolTip().toStdString(), map);
    EXPECT_EQ(f.cmbBkgMap->text(), "Bitmap");
}

TEST_F(BackgroundPanelTest, EnterAppliesLeavingPutsTheEnginesValueBackAndTheMarkShowsWhatIsPending) {
    Form1& f = startWithBackground();
    struct Case {
        const char* what;
        QLineEdit* field;
        const char* typed;
        bool confirm;  // Enter, else leaving the field
        std::function<double()> engine;
        double after;
        const char* shown;
    };
    const auto distance = [this] { return OMBREL_background_get_distance(sky_); };
    const auto bottom = [this] { return OMBREL_background_get_bottom(sky_); };
    const auto intensity = [this] { return OMBREL_background_get_bottom_intensity(sky_); };
    const auto step = [this] { return OMBREL_background_get_intensity_step(sky_); };
    const Case cases[] = {
        {"distance", f.txtBkgDist, "12.5", true, distance, 12.5, "12.5"},
        {"distance not confirmed", f.txtBkgDist, "99", false, distance, 12.5, "12.5"},
        {"no distance", f.txtBkgDist, "0", true, distance, 1, "1"},
        {"negative distance", f.txtBkgDist, "-40", true, distance, 1, "1"},
        {"letters", f.txtBkgBottom, "low", true, bottom, -250.5, "-250.5"},
        {"endless", f.txtBkgBottom, "1e999", true, bottom, -250.5, "-250.5"},
        {"bottom", f.txtBkgBottom, "-80", true, bottom, -80, "-80"},
        {"intensity", f.txtBkgBottomInt, "0.75", true, intensity, 0.75, "0.75"},
        {"not a number", f.txtBkgBottomInt, "nan", true, intensity, 0.75, "0.75"},
        {"step", f.txtBkgIntStp, "0.5", true, step, 0.5, "0.5"},
        {"step dropped", f.txtBkgIntStp, "inf", false, step, 0.5, "0.5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.field->setText(c.typed);
        // A change is pending until the engine's value shows again.
        EXPECT_TRUE(c.field->font().bold());
        if (c.confirm)
            enter(c.field, c.typed);
        else
            typeAndLeave(c.field, c.typed);
        EXPECT_EQ(c.engine(), c.after);
        EXPECT_EQ(c.field->text().toStdString(), c.shown);
        EXPECT_FALSE(c.field->font().bold());
    }
    // Panel edits are not recorded.
    EXPECT_EQ(newestType(), ActSelect);
}

TEST_F(BackgroundPanelTest, TheNameFieldRenamesInPlaceRefusesBlanksAndFollowsRenamesElsewhere) {
    Form1& f = startWithBackground();
    const int32_t other = background("other", {0, 200, 0});
    rebuildTrees();
    clickNode(backgroundKey(sky_));
    enter(f.txtBkgName, "  Dusk ");
    EXPECT_EQ(Globals::GetEntityName(sky_), "Dusk");
    EXPECT_EQ(node(backgroundKey(sky_))->text(0).toStdString(), "Dusk");
    EXPECT_EQ(f.txtBkgName->text().toStdString(), "Dusk");
    // The node keeps its place and stays the tree's selected node.
    EXPECT_EQ(childKeys(*f.trwCamTrackBK, "BACKGROUND"),
              (std::vector<std::string>{backgroundKey(sky_), backgroundKey(other)}));
    EXPECT_EQ(f.trwCamTrackBK->SelectedItem(), node(backgroundKey(sky_)));
    // Blanks only: the field gets the engine's name back.
    enter(f.txtBkgName, "   ");
    EXPECT_EQ(Globals::GetEntityName(sky_), "Dusk");
    EXPECT_EQ(f.txtBkgName->text().toStdString(), "Dusk");
    // Another background's name is taken as it is.
    enter(f.txtBkgName, "other");
    EXPECT_EQ(Globals::GetEntityName(sky_), "other");
    // A rename by the node's label, its Undo and Redo show in the field, a
    // pending edit there dropped.
    f.txtBkgName->setText("typed");
    f.trwCamTrackBK->EndLabelEdit(node(backgroundKey(sky_)), "Night");
    EXPECT_EQ(f.txtBkgName->text().toStdString(), "Night");
    EXPECT_FALSE(f.BkgEditMarked(Form1::BkgName));
    f.mnuUndo_Click();
    EXPECT_EQ(f.txtBkgName->text().toStdString(), "other");
    f.mnuRedo_Click();
    EXPECT_EQ(f.txtBkgName->text().toStdString(), "Night");
    // Renaming another background leaves the field alone.
    f.trwCamTrackBK->EndLabelEdit(node(backgroundKey(other)), "Noon");
    EXPECT_EQ(f.txtBkgName->text().toStdString(), "Night");
    // The menu's Delete then deletes this background.
    rightClickNode(backgroundKey(sky_), "mnuCamTrkBkMenuDelete");
    EXPECT_FALSE(alive(sky_));
    EXPECT_TRUE(alive(other));
}

TEST_F(BackgroundPanelTest, TheBitmapButtonLoadsAPictureAndRefusesAFileThatIsNone) {
    Form1& f = startWithBackground();
    const int32_t before = OMBREL_background_get_bitmap(sky_);
    const std::string before_text = f.txtBkgMap->text().toStdString();
    // Cancelled: nothing changes, nothing is said.
    platform_.prompts.answerOpenFile("");
    f.cmbBkgMap->click();
    // A file that is no picture: refused with the message, nothing changes.
    const std::string broken = tempPath("broken.bmp");
    std::ofstream(broken) << "not a picture";
    platform_.prompts.answerOpenFile(broken).answer(platform::MsgResult::OK);
    f.cmbBkgMap->click();
    EXPECT_EQ(platform_.prompts.shown().back().text, "Unsupported bitmap.");
    EXPECT_EQ(platform_.prompts.shown().back().icon, platform::MsgIcon::Information);
    EXPECT_EQ(OMBREL_background_get_bitmap(sky_), before);
    EXPECT_EQ(f.txtBkgMap->text().toStdString(), before_text);
    // A picture: the background shows it, the field names its file.
    const std::string red = tempPath("red.bmp");
    writeBmp24(red, 2, 2, {{200, 0, 0}, {200, 0, 0}, {200, 0, 0}, {200, 0, 0}});
    platform_.prompts.answerOpenFile(red);
    f.cmbBkgMap->click();
    EXPECT_NE(OMBREL_background_get_bitmap(sky_), before);
    EXPECT_EQ(f.txtBkgMap->text().toStdString(), red);
    EXPECT_EQ(f.txtBkgMap->toolTip().toStdString(), red);
    const QColor seen = pixel(2, 20, 20);
    EXPECT_GT(seen.red(), 30);
    EXPECT_EQ(seen.blue(), 0);
    // The dialog asks for both kinds of picture in one entry.
    const auto& shown = platform_.prompts.shown();
    EXPECT_EQ(shown[shown.size() - 1].kind, platform::doubles::PromptKind::OpenFile);
}

// A background is a panorama around the eye: the perspective view and a view
// through a world camera show it; the axis views, a degree wide, show none.
TEST_F(BackgroundPanelTest, TheBackgroundShowsInThePerspectiveAndCameraViewsOnly) {
    Form1& f = startWithBackground();
    const int32_t cam = cameraAt("Cam01", {0, 0, 0}, {1, 0, 0});
    OMBREL_camera_set_zoom(cam, 60);
    rebuildTrees();
    // Share of the view's pixels that are not the clear colour.
    auto shown = [&](int view) {
        const QImage& picture = f.picWindow[static_cast<std::size_t>(view)]->buffer();
        UpdateCamerasSingle(view);
        int lit = 0;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x) lit += (picture.pixel(x, y) & 0xFFFFFF) != 0;
        return static_cast<double>(lit) / (picture.width() * picture.height());
    };
    struct Case {
        std::function<void()> make;
        int view;
        const char* caption;
        bool background;
    };
    const Case cases[] = {
        {[] {}, 0, "Top", false},
        {[] {}, 1, "Front", false},
        {[] {}, 3, "Right", false},
        {[] {}, 2, "Perspective", true},
        {[&] {
             f.PicBoxFocused = 0;
             clickNode(cameraKey(cam));
         },
         0, "Camera", true},
        {[&] { f.SetViewType(2, ViewFront); }, 2, "Front", false},
        {[&] { f.SetViewType(3, ViewPerspective); }, 3, "Perspective", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.view);
        c.make();
        ASSERT_EQ(label(c.view), c.caption);
        if (c.background)
            EXPECT_GT(shown(c.view), 0.9) << c.caption;
        else
            EXPECT_LT(shown(c.view), 0.1) << c.caption;
    }
}

TEST_F(BackgroundPanelTest, EachFieldChangesThePictureBehindTheWorld) {
    Form1& f = startWithBackground();
    // A camera of the world looking level along +x, and a square in front of it.
    const int32_t cam = cameraAt("Cam01", {0, 0, 0}, {1, 0, 0});
    OMBREL_camera_set_zoom(cam, 60);
    const int32_t wall = MakeGroup("wall", Globals::RootGrp);
    const int32_t pol = MakePolygon(wall, {{-100, -100}, {-100, 100}, {100, 100}, {100, -100}}, 0);
    ASSERT_NE(pol, 0);
    OMBREL_group_rotate(wall, -90, 0, 1);  // stands up, facing the camera
    const double at[3] = {300, 0, 0};
    OMBREL_group_set_location(wall, at);
    rebuildTrees();
    f.PicBoxFocused = 1;
    clickNode(cameraKey(cam));
    clickNode(backgroundKey(sky_));
    const QImage& picture = f.picWindow[1]->buffer();
    const int cx = picture.width() / 2, cy = picture.height() / 2;
    auto blue = [&](int x, int y) { return pixel(1, x, y).blue(); };
    // Where no polygon is, the background shows; where the square is, not.
    const int sky = blue(5, cy);
    EXPECT_GT(sky, 0);
    EXPECT_NE(blue(cx, cy), sky);
    struct Case {
        const char* what;
        QLineEdit* field;
        const char* typed;
    };
    const Case cases[] = {
        {"bottom intensity", f.txtBkgBottomInt, "0.05"}, {"intensity step", f.txtBkgIntStp, "0.5"},
        {"bottom", f.txtBkgBottom, "2000"},              {"bottom back", f.txtBkgBottom, "-600"},
        {"distance", f.txtBkgDist, "100"},
    };
    int last = sky;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        enter(c.field, c.typed);
        const int now = blue(5, picture.height() / 3);
        EXPECT_NE(now, last);
        last = now;
    }
}

}  // namespace
