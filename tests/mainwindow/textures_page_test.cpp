// The textures page of the main window: the tree as a world fills it, clicks
// that preview, the right button's menu for the node pointed at, the preview
// timer, and the commands keeping the tree and the preview in step.
#include "EditorFixture.h"

#include "saved_world.h"
#include "texture_files.h"

#include "core/Globals.h"
#include "ombrel.h"
#include "textures/PicturePreview.h"
#include "textures/TexturePicture.h"
#include "textures/formTrnsClrPcr.h"
#include "undo/ActionUndoRedo_Stack.h"
#include "views/ViewRedraw.h"
#include "views/PicWindow.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

using platform::MsgResult;
using platform::doubles::PromptKind;

class TexturesPageTest : public EditorFixture {
protected:
    void SetUp() override {
        StartEditor();
        OpenEmptyWorld();
        form().tabWorkspace->setCurrentIndex(3);
    }

    KeyedTree& tree() { return *form().trwTextures; }

    int32_t loadBitmap(const std::string& name, int width = 4, int height = 2) {
        const int32_t b = files.load(name, width, height);
        EXPECT_NE(b, 0);
        return b;
    }
    static int32_t animation(const char* name, const std::vector<std::vector<int32_t>>& directions) {
        return makeAnimation(name, directions);
    }

    void click(const std::string& key) {
        tree().SetSelectedItem(tree().Item(key));
        form().trwTextures_NodeClick();
    }

    // The right button released over the node's row.
    void rightRelease(const std::string& key) {
        tree().show();
        QTreeWidgetItem* node = tree().Item(key);
        tree().EnsureVisible(node);
        const QRect row = tree().visualItemRect(node);
        ASSERT_TRUE(row.isValid()) << key;
        const QPointF at = row.center();
        QMouseEvent e(QEvent::MouseButtonRelease, at, tree().viewport()->mapToGlobal(at), Qt::RightButton,
                      Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(tree().viewport(), &e);
    }

    std::string selectedKey() {
        return tree().SelectedItem() ? KeyedTree::Key(tree().SelectedItem()) : "";
    }
    bool applyEnabled() {
        return form().cmdTextureApplyToSel[0]->isEnabled() && form().cmdTextureApplyToSel[1]->isEnabled();
    }
    bool previewShown() { return form().TexturePreview().HasPicture(); }

    TextureFiles files;
};

std::string mapKey(int32_t b) { return "Map" + std::to_string(b); }
std::string animKey(int32_t a) { return "Animation" + std::to_string(a); }

TEST_F(TexturesPageTest, TheTreeListsBitmapsByFileAndAnimationsByNameUnderTheirFolders) {
    const int32_t wall = loadBitmap("wall");
    const int32_t frame = loadBitmap("step");
    const int32_t walk = animation("walk", {{frame}});
    form().trwTextures_Populate();

    EXPECT_EQ(tree().Keys(), (std::vector<std::string>{"MAP", mapKey(wall), "ANIMATION", animKey(walk)}));
    EXPECT_EQ(tree().Item(mapKey(wall))->text(0), "wall");
    EXPECT_EQ(tree().Item(animKey(walk))->text(0), "walk");
    for (const char* folder : {"MAP", "ANIMATION"}) {
        EXPECT_EQ(KeyedTree::Image(tree().Item(folder)), "Folder");
        EXPECT_FALSE(tree().Item(folder)->isExpanded());
    }
    EXPECT_EQ(KeyedTree::Image(tree().Item(mapKey(wall))), "Texture");
    // Opening and closing a folder changes its picture; a label edit changes nothing.
    tree().Item("MAP")->setExpanded(true);
    EXPECT_EQ(KeyedTree::Image(tree().Item("MAP")), "FolderOpen");
    tree().Item("MAP")->setExpanded(false);
    EXPECT_EQ(KeyedTree::Image(tree().Item("MAP")), "Folder");
    tree().EndLabelEdit(tree().Item(mapKey(wall)), "renamed");
    EXPECT_EQ(tree().Item(mapKey(wall))->text(0), "wall");
}

TEST_F(TexturesPageTest, AClickPreviewsAnEntryAndAFolderClearsThePreview) {
    const int32_t wall = loadBitmap("wall", 6, 3);
    const int32_t walk = animation("walk", {{loadBitmap("step", 5, 5)}});
    form().trwTextures_Populate();
    EXPECT_FALSE(applyEnabled());

    click(mapKey(wall));
    EXPECT_TRUE(previewShown());
    EXPECT_EQ(form().lblTextureDim->text(), "6 x 3");
    EXPECT_TRUE(applyEnabled());

    click("MAP");
    EXPECT_FALSE(previewShown());
    EXPECT_EQ(form().lblTextureDim->text(), "");
    EXPECT_FALSE(form().cmdTextureApplyToSel[0]->isEnabled());
    EXPECT_FALSE(form().cmdTextureApplyToSel[1]->isEnabled());

    click(animKey(walk));
    EXPECT_TRUE(previewShown());
    EXPECT_EQ(form().lblTextureDim->text(), "5 x 5");
    EXPECT_TRUE(applyEnabled());
    EXPECT_TRUE(form().tmrAnimPreview->isActive());
    EXPECT_EQ(form().AnimPreview.PreviewAnim, walk);
}

TEST_F(TexturesPageTest, TheRightButtonOffersTheMenuOfTheNodePointedAt) {
    const int32_t wall = loadBitmap("wall");
    const int32_t walk = animation("walk", {{loadBitmap("step")}});
    form().trwTextures_Populate();
    struct Case {
        std::string selected, pointed;
        std::vector<std::string> items;
    } cases[] = {
        {mapKey(wall), "MAP", {"mnuTextureNew"}},
        {animKey(walk), "ANIMATION", {"mnuTextureNew"}},
        {"MAP", mapKey(wall), {"mnuTextureUpdate", "mnuTextureDelete"}},
        {mapKey(wall), animKey(walk), {"mnuTextureEdit", "mnuTextureDelete"}},
    };
    const std::size_t shownBefore = platform_.prompts.shown().size();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pointed);
        click(c.selected);
        platform_.prompts.answerMenu("");
        rightRelease(c.pointed);
        ASSERT_FALSE(platform_.prompts.shown().empty());
        EXPECT_EQ(platform_.prompts.shown().back().kind, PromptKind::Menu);
        EXPECT_EQ(platform_.prompts.shown().back().items, c.items);
        EXPECT_EQ(selectedKey(), c.pointed);
    }
    // Over empty space the selected node's menu comes up; with none selected, none.
    tree().SetSelectedItem(nullptr);
    form().trwTextures_MouseUp(2, 0, 2, tree().viewport()->height() - 2);
    EXPECT_EQ(platform_.prompts.shown().size(), shownBefore + 4);
}

TEST_F(TexturesPageTest, ThePreviewTimerPlaysFramesAtTheirTimesAndStopsWhenItShouldNot) {
    std::vector<int32_t> b;
    for (int i = 0; i < 4; ++i) b.push_back(loadBitmap("f" + std::to_string(i), 2 + i, 2));
    const int32_t walk = animation("walk", {{b[0], b[1]}, {b[2], b[3]}});
    for (int32_t i = 0; i < 4; ++i) OMBREL_animation_set_frame_time(walk, i, 2 + i);
    form().trwTextures_Populate();
    click(animKey(walk));
    EXPECT_EQ(form().tmrAnimPreview->interval(), 20);
    struct Step {
        const char* size;
        int interval;
    } steps[] = {{"3 x 2", 30}, {"4 x 2", 40}, {"5 x 2", 50}, {"2 x 2", 20}};
    for (const Step& s : steps) {
        form().tmrAnimPreview_Timer();
        EXPECT_EQ(form().lblTextureDim->text(), s.size);
        EXPECT_EQ(form().tmrAnimPreview->interval(), s.interval);
        EXPECT_TRUE(form().tmrAnimPreview->isActive());
    }
    // Another page, no selected node, or frames gone: the next tick stops it.
    form().tabWorkspace->setCurrentIndex(0);
    form().tmrAnimPreview_Timer();
    EXPECT_FALSE(form().tmrAnimPreview->isActive());
    form().tabWorkspace->setCurrentIndex(3);
    click(animKey(walk));
    tree().SetSelectedItem(nullptr);
    form().tmrAnimPreview_Timer();
    EXPECT_FALSE(form().tmrAnimPreview->isActive());
    click(animKey(walk));
    for (int i = 0; i < 2; ++i) OMBREL_animation_remove_bitmap(walk, 1, 0);
    for (int i = 0; i < 2; ++i) OMBREL_animation_remove_bitmap(walk, 2, 0);
    form().tmrAnimPreview_Timer();
    EXPECT_FALSE(form().tmrAnimPreview->isActive());
}

TEST_F(TexturesPageTest, NewLoadsAChosenFileIntoASelectedNode) {
    form().trwTextures_Populate();
    const std::string path = files.write("sky blue", 7, 2);
    click("MAP");
    platform_.prompts.answerOpenFile(path);
    form().mnuTextureNew_Click();
    const int32_t sky = OMBREL_bitmap_get_handle(path.c_str(), -1);
    ASSERT_NE(sky, 0);
    EXPECT_EQ(selectedKey(), mapKey(sky));
    EXPECT_EQ(tree().Item(mapKey(sky))->text(0), "sky blue");
    EXPECT_EQ(form().lblTextureDim->text(), "7 x 2");
    // The same file again adds nothing; a file that does not load is said.
    click("MAP");
    const auto junk = files.folder() / "junk.jpg";
    std::ofstream(junk, std::ios::binary) << "not a jpeg";
    platform_.prompts.answerOpenFile(path).answerOpenFile(junk.string()).answer(MsgResult::OK);
    form().mnuTextureNew_Click();
    form().mnuTextureNew_Click();
    EXPECT_EQ(tree().Item("MAP")->childCount(), 1);
    EXPECT_EQ(platform_.prompts.shown().back().text, "Unsupported bitmap.");
}

TEST_F(TexturesPageTest, ApplyToGroupIsUndone) {
    const int32_t group = MakeGroup("box", Globals::RootGrp);
    const int32_t pol = MakePolygon(group, {{0, 0}, {0, 1}, {1, 1}, {1, 0}});
    OMBREL_polygon_set_color_fill(pol, 9, 8, 7);
    const int32_t wall = loadBitmap("wall");
    form().trwGroupView_Populate();
    form().trwTextures_Populate();
    Globals::CurrSelEntityType = SelGroup;
    Globals::CurrSelEntityHandle = group;
    click(mapKey(wall));
    form().cmdTextureApplyToSel[0]->click();
    EXPECT_EQ(LastErrDescription, "");
    EXPECT_EQ(OMBREL_polygon_get_bitmap_handle(pol), wall);
    form().mnuUndo_Click();
    int32_t r = 0, g = 0, b = 0;
    OMBREL_polygon_get_color(pol, &r, &g, &b);
    EXPECT_EQ(OMBREL_polygon_get_bitmap_handle(pol), 0);
    EXPECT_EQ((std::array<int32_t, 3>{r, g, b}), (std::array<int32_t, 3>{9, 8, 7}));
}

TEST_F(TexturesPageTest, ThePolygonPanelsColourButtonOpensThePickerOnThePolygonsBitmap) {
    const int32_t group = MakeGroup("box", Globals::RootGrp);
    const int32_t pol = MakePolygon(group, {{0, 0}, {0, 1}, {1, 1}, {1, 0}});
    const int32_t wall = loadBitmap("wall");
    OMBREL_polygon_set_bitmap_fill(pol, wall);
    Globals::CurrSelEntityType = SelGroup;
    Globals::CurrSelEntityHandle = group;
    Globals::NumSelPols = 1;
    Globals::SelPols[1] = pol;
    int32_t shownBitmap = 0;
    platform_.prompts.answerWindow<textures::formTrnsClrPcr>([&](textures::formTrnsClrPcr& w) {
        EXPECT_EQ(w.CurrMode, 0);
        shownBitmap = w.PickerBitmap;
        w.cmdCancel_Click();
    });
    form().cmdPoltextureTransparentClr_Click();
    EXPECT_EQ(shownBitmap, wall);
}

TEST_F(TexturesPageTest, UndoOfATransparentColourLeavesItsBitmapCopyOutOfTheSavedWorld) {
    const int32_t group = MakeGroup("box", Globals::RootGrp);
    const int32_t pol = MakePolygon(group, {{0, 0}, {0, 1}, {1, 1}, {1, 0}});
    // Two palette colours: white on the left, blue on the right.
    const auto keyed = files.folder() / "keyed.bmp";
    writeBmp8(keyed, 2, 1, {{255, 255, 255}, {0, 0, 255}}, {0, 1});
    OMBREL_polygon_set_bitmap_fill(pol, OMBREL_bitmap_load(keyed.c_str(), -1));
    form().trwGroupView_Populate();
    form().trwTextures_Populate();
    form().trwGroupView_NodeClick(form().trwGroupView->Item(KeyedTree::NodeKey("Group", group)));
    form().tabWorkspace->setCurrentIndex(1);
    form().cmbObj->setCurrentText("Edit Geometry");
    form().cmbObjEditGeom->setCurrentText("Polygon");
    Globals::SelPols[1] = pol;
    Globals::NumSelPols = 1;
    platform_.prompts.answerWindow<textures::formTrnsClrPcr>([](textures::formTrnsClrPcr& p) {
        p.Picture1_MouseDown(1, p.Picture1->width() * 3 / 4, p.Picture1->height() / 2);
        p.cmdOK_Click();
    });
    form().cmdPoltextureTransparentClr_Click();
    ASSERT_EQ(OMBREL_polygon_get_transparent_index(pol), 1);

    const std::vector<std::string> listed = {"keyed.bmp -1"}, withCopy = {"keyed.bmp -1", "keyed.bmp 1"};
    for (int round = 1; round <= 3; ++round) {
        SCOPED_TRACE(round);
        form().mnuUndo_Click();
        EXPECT_EQ(OMBREL_polygon_get_transparent_index(pol), -1);
        EXPECT_EQ(SavedBitmapFiles(form(), platform_, tempPath("undone" + std::to_string(round) + ".wld")), listed);
        form().mnuRedo_Click();
        EXPECT_EQ(OMBREL_polygon_get_transparent_index(pol), 1);
        EXPECT_EQ(SavedBitmapFiles(form(), platform_, tempPath("redone" + std::to_string(round) + ".wld")), withCopy);
    }
    EXPECT_EQ(LastErrDescription, "");
}

TEST_F(TexturesPageTest, DeleteTakesTheNodeTheBackgroundsAndThePreviewAway) {
    const int32_t wall = loadBitmap("wall");
    const int32_t walk = animation("walk", {{loadBitmap("step")}});
    const int32_t sky = OMBREL_background_create("sky", wall);
    form().trwCamTrackBK_Populate();
    form().trwTextures_Populate();
    ASSERT_TRUE(form().trwCamTrackBK->Exists("Background" + std::to_string(sky)));

    click(mapKey(wall));
    platform_.prompts.answer(MsgResult::No);
    form().mnuTextureDelete_Click();
    EXPECT_TRUE(tree().Exists(mapKey(wall)));

    platform_.prompts.answer(MsgResult::Yes);
    form().mnuTextureDelete_Click();
    EXPECT_FALSE(tree().Exists(mapKey(wall)));
    EXPECT_FALSE(form().trwCamTrackBK->Exists("Background" + std::to_string(sky)));
    EXPECT_FALSE(previewShown());
    EXPECT_EQ(KeyedTree::Image(tree().Item("MAP")), "Folder");

    click(animKey(walk));
    form().mnuTextureDelete_Click();  // no question
    EXPECT_FALSE(tree().Exists(animKey(walk)));
    EXPECT_FALSE(form().tmrAnimPreview->isActive());
    EXPECT_EQ(OMBREL_ext_handle_kind(walk), 0);
}

TEST_F(TexturesPageTest, DeletingAFrameBitmapTakesItsTimeOutOfEveryAnimationUsingIt) {
    const int32_t a = loadBitmap("a"), b = loadBitmap("b"), c = loadBitmap("c");
    form().trwTextures_Populate();  // listed as loaded, before they became frames
    // walk: a b c under FRONT and b under SIDE; run: b c under FRONT.
    const int32_t walk = animation("walk", {{a, b, c}, {}, {b}});
    for (int32_t i = 0; i < 4; ++i) OMBREL_animation_set_frame_time(walk, i, 11 * (i + 1));
    const int32_t run = animation("run", {{b, c}});
    OMBREL_animation_set_frame_time(run, 0, 55);
    OMBREL_animation_set_frame_time(run, 1, 66);
    click(mapKey(b));
    platform_.prompts.answer(MsgResult::Yes);
    form().mnuTextureDelete_Click();

    // a and c are the file's bitmaps 1 and 2; every frame left keeps its time.
    EXPECT_EQ(SavedRecords(form(), platform_, tempPath("deleted.wld"), "animation"),
              (std::vector<std::string>{R"(animation 1 "walk" save 1 dirs 2 0 0 0 0 frames 1 2 times 2 11 33)",
                                        R"(animation 2 "run" save 1 dirs 1 0 0 0 0 frames 2 times 1 66)"}));
}

TEST_F(TexturesPageTest, UpdateFromTheJpegRekeysTheNodeInPlace) {
    const int32_t first = loadBitmap("first");
    const int32_t crate = loadBitmap("crate", 3, 3);
    const int32_t last = loadBitmap("last");
    form().trwTextures_Populate();
    ASSERT_EQ(OMBREL_utilities_save_bitmap24(crate, (files.folder() / "crate.jpg").c_str()), 0);
    std::filesystem::remove(files.folder() / "crate.bmp");
    click(mapKey(crate));

    form().mnuTextureUpdate_Click();

    const int32_t moved = OMBREL_bitmap_get_handle((files.folder() / "crate.jpg").c_str(), -1);
    ASSERT_NE(moved, 0);
    EXPECT_NE(moved, crate);
    EXPECT_EQ(tree().Keys(), (std::vector<std::string>{"MAP", mapKey(first), mapKey(moved), mapKey(last), "ANIMATION"}));
    EXPECT_EQ(selectedKey(), mapKey(moved));
    EXPECT_EQ(form().lblTextureDim->text(), "3 x 3");
    EXPECT_TRUE(platform_.prompts.shown().size() == 1u) << "only the world's template chooser was shown";
}

TEST_F(TexturesPageTest, ABitmapWithALongPathSurvivesUpdate) {
    // A path of 300 bytes and more: folders nested below the test's own.
    const auto deep = files.deepFolder(300);
    const auto path = deep / "long.bmp";
    writeBmp24(path, 2, 2, std::vector<TestRgb>(4, TestRgb{1, 2, 3}));
    const int32_t b = OMBREL_bitmap_load(path.c_str(), -1);
    ASSERT_NE(b, 0);
    form().trwTextures_Populate();
    EXPECT_EQ(tree().Item(mapKey(b))->text(0), "long");
    click(mapKey(b));
    writeBmp24(path, 3, 2, std::vector<TestRgb>(6, TestRgb{1, 2, 3}));
    form().mnuTextureUpdate_Click();
    EXPECT_TRUE(tree().Exists(mapKey(b)));
    EXPECT_EQ(OMBREL_bitmap_get_width(b), 3);
    EXPECT_EQ(form().lblTextureDim->text(), "3 x 2");
}

// Update redraws the views with the file's new picture; a file that no longer
// reads leaves the world's picture and shows an empty preview without a size,
// as a click on its node then does too.
TEST_F(TexturesPageTest, UpdateRedrawsTheViewsAndAPreviewOfAFileThatNoLongerReadsShowsNoSize) {
    const int32_t pol =
        MakePolygon(MakeGroup("wall", Globals::RootGrp), {{-200, -200}, {-200, 200}, {200, 200}, {200, -200}});
    const int32_t wall = loadBitmap("wall", 4, 4);  // blue
    OMBREL_polygon_set_bitmap_fill(pol, wall);
    form().trwTextures_Populate();
    ::UpdateCameras();
    auto middle = [&] {
        const auto px = PixelOf(0, 0, 0);
        return form().picWindow[0]->buffer().pixelColor(px[0], px[1]);
    };
    ASSERT_GT(middle().blue(), middle().red() + 100);
    click(mapKey(wall));
    ASSERT_EQ(form().lblTextureDim->text(), "4 x 4");

    files.write("wall", 4, 4, {200, 0, 0});
    form().mnuTextureUpdate_Click();
    EXPECT_GT(middle().red(), middle().blue() + 100);
    EXPECT_EQ(form().lblTextureDim->text(), "4 x 4");

    std::ofstream(files.folder() / "wall.bmp", std::ios::binary | std::ios::trunc) << "no longer a picture";
    platform_.prompts.answer(MsgResult::OK);
    form().mnuTextureUpdate_Click();
    EXPECT_EQ(platform_.prompts.shown().back().text, "Unsupported bitmap.");
    EXPECT_GT(middle().red(), middle().blue() + 100);
    EXPECT_FALSE(previewShown());
    EXPECT_EQ(form().lblTextureDim->text(), "");
    click("MAP");
    click(mapKey(wall));
    EXPECT_FALSE(previewShown());
    EXPECT_EQ(form().lblTextureDim->text(), "");
}

}  // namespace
