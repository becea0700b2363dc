// The model gallery: the folder tree on disk, storing, adding, deleting and
// removing, the pop-up menu on the right-clicked node and the drag start.
#include "EditorFixture.h"

#include "core/EntityProcedures.h"
#include "core/Globals.h"
#include "mainwindow/ModelGallery.h"
#include "ombrel.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QTabWidget>
#include <QUrl>

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;
using platform::MsgResult;
using platform::doubles::PromptKind;

namespace {

void touch(const fs::path& path, const std::string& text = "x") {
    fs::create_directories(path.parent_path());
    std::ofstream(path) << text;
}

std::string readAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A 4 x 4 picture of one colour, as a texture of the small world.
std::string writeTexture(const std::string& path) {
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(QColor(200, 40, 40));
    EXPECT_TRUE(image.save(QString::fromStdString(path), "BMP"));
    return path;
}

class ModelGalleryTest : public EditorFixture {
protected:
    std::string root() const { return programFolder() + "Models"; }

    Form1& startWithGallery() {
        Form1& f = StartEditor();
        f.tabWorkspace->setEnabled(true);
        f.tabWorkspace->setCurrentIndex(4);
        return f;
    }

    void select(const std::string& key) { form().trwModel->SetSelectedItem(form().trwModel->Item(key)); }

    std::string lastMessage() const {
        const auto& shown = platform_.prompts.shown();
        return shown.empty() ? "" : shown.back().text;
    }

    // A right-button release on the node's row, as the tree's viewport gets it.
    // The menu that pops up is dismissed.
    void rightClick(const std::string& key) {
        platform_.prompts.answerMenu("");
        rightRelease(key);
    }

    void rightRelease(const std::string& key) {
        ReleaseOverTree(*form().trwModel, form().trwModel->Item(key), Qt::RightButton);
    }

    // The selected group "box" of the small world, textured, away from the origin.
    int32_t selectTexturedBox() {
        const int32_t box = OpenSmallWorld();
        const int32_t texture = OMBREL_bitmap_load(writeTexture(tempPath("brick.bmp")).c_str(), -1);
        EXPECT_NE(texture, 0);
        EXPECT_EQ(OMBREL_group_set_bitmap(box, texture), 0);
        const double place[3] = {300, -200, 50};
        OMBREL_group_set_location(box, place);
        Globals::CurrSelEntityType = SelGroup;
        Globals::CurrSelEntityHandle = box;
        return box;
    }
};

TEST_F(ModelGalleryTest, StartingWithoutAGalleryCreatesItEmpty) {
    Form1& f = StartEditor();
    EXPECT_TRUE(fs::is_directory(root()));
    EXPECT_TRUE(fs::is_empty(root()));
    ASSERT_EQ(f.trwModel->Keys(), std::vector<std::string>{root()});
    EXPECT_EQ(f.trwModel->Item(root())->text(0), "MODELS");
    EXPECT_EQ(KeyedTree::Image(f.trwModel->Item(root())), "Folder");
}

TEST_F(ModelGalleryTest, ListsFoldersAtAnyDepthThenModelsAndHidesBitmapsAndOtherFiles) {
    const std::string r = programFolder() + "Models";
    touch(r + "/house.wld");
    touch(r + "/car.VANDEL");
    touch(r + "/car.jpg");
    touch(r + "/notes.txt");
    touch(r + "/.hidden.wld");
    touch(r + "/Bitmaps/inside.wld");
    touch(r + "/a/BITMAPS/deep/inside.wld");
    touch(r + "/a/b/c/tree.vandel");
    touch(r + "/a/lamp.wld");
    fs::create_directories(r + "/Z");
    // A link back to the gallery is neither shown nor walked into.
    fs::create_directory_symlink(r, r + "/a/loop");

    Form1& f = StartEditor();
    const std::vector<std::string> expected = {r,
                                               r + "/a",
                                               r + "/a/b",
                                               r + "/a/b/c",
                                               r + "/a/b/c/tree.vandel",
                                               r + "/a/lamp.wld",
                                               r + "/Z",
                                               r + "/car.VANDEL",
                                               r + "/house.wld"};
    EXPECT_EQ(f.trwModel->Keys(), expected);
    EXPECT_EQ(f.trwModel->Item(r + "/a/b/c/tree.vandel")->text(0), "tree");
    EXPECT_EQ(f.trwModel->Item(r + "/car.VANDEL")->text(0), "car");
    EXPECT_EQ(f.trwModel->Item(r + "/a/b/c")->parent(), f.trwModel->Item(r + "/a/b"));
    EXPECT_EQ(KeyedTree::Image(f.trwModel->Item(r + "/house.wld")), "Gallery");
    EXPECT_EQ(KeyedTree::Image(f.trwModel->Item(r + "/Z")), "Folder");

    QTreeWidgetItem* a = f.trwModel->Item(r + "/a");
    a->setExpanded(true);
    EXPECT_EQ(KeyedTree::Image(a), "FolderOpen");
    a->setExpanded(false);
    EXPECT_EQ(KeyedTree::Image(a), "Folder");
}

TEST_F(ModelGalleryTest, ClickingANodeShowsItsPreviewTheStockPictureOrNothing) {
    const std::string r = programFolder() + "Models";
    touch(r + "/plain.wld");
    touch(r + "/shown.wld");
    QImage picture(20, 10, QImage::Format_RGB32);
    picture.fill(Qt::green);
    ASSERT_TRUE(picture.save(QString::fromStdString(r + "/shown.jpg"), "JPG"));
    fs::create_directories(r + "/sub");
    Form1& f = StartEditor();

    f.trwModel_NodeClick(f.trwModel->Item(r + "/shown.wld"));
    const QImage shown = f.picModelPreview->pixmap().toImage();
    ASSERT_FALSE(shown.isNull());
    EXPECT_GT(QColor(shown.pixel(shown.width() / 2, shown.height() / 2)).green(), 200);

    f.trwModel_NodeClick(f.trwModel->Item(r + "/plain.wld"));
    EXPECT_EQ(f.picModelPreview->pixmap().toImage(), f.picNoPreview->pixmap().toImage());

    f.trwModel_NodeClick(f.trwModel->Item(r + "/sub"));
    EXPECT_TRUE(f.picModelPreview->pixmap().isNull());
}

TEST_F(ModelGalleryTest, ARefreshReloadsTheSelectedModelsPreviewOnlyOnTheGalleryPage) {
    const std::string r = programFolder() + "Models";
    touch(r + "/m.wld");
    Form1& f = startWithGallery();
    select(r + "/m.wld");
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    ASSERT_TRUE(picture.save(QString::fromStdString(r + "/m.jpg"), "JPG"));

    f.tabWorkspace->setCurrentIndex(0);
    f.RefreshModelPreview = true;
    f.picModelPreview_Paint();
    EXPECT_FALSE(f.RefreshModelPreview);
    EXPECT_TRUE(f.picModelPreview->pixmap().isNull());

    f.tabWorkspace->setCurrentIndex(4);
    f.picModelPreview_Paint();
    EXPECT_TRUE(f.picModelPreview->pixmap().isNull()) << "nothing asked for a reload";
    f.RefreshModelPreview = true;
    f.picModelPreview_Paint();
    const QImage shown = f.picModelPreview->pixmap().toImage();
    ASSERT_FALSE(shown.isNull());
    EXPECT_GT(QColor(shown.pixel(4, 4)).blue(), 200);
}

TEST_F(ModelGalleryTest, StoresTheSelectedGroupAsAPortableModelWithItsPreview) {
    Form1& f = startWithGallery();
    const int32_t box = selectTexturedBox();
    double before[3];
    OMBREL_group_get_location(box, &before[0], &before[1], &before[2]);
    select(root());
    const std::size_t promptsBefore = platform_.prompts.shown().size();

    f.mnuModelGalleryAdd_Click();

    const std::string model = root() + "/box.vandel";
    EXPECT_EQ(platform_.prompts.shown().size(), promptsBefore) << lastMessage();
    EXPECT_TRUE(fs::is_regular_file(model));
    EXPECT_TRUE(fs::is_regular_file(root() + "/bitmaps/brick.bmp"));
    const QImage preview(QString::fromStdString(root() + "/box.jpg"));
    ASSERT_FALSE(preview.isNull());
    EXPECT_EQ(preview.size(), QSize(128, 128));
    // The group was rendered into it: not one flat colour.
    const QRgb corner = preview.pixel(0, 0);
    bool drawn = false;
    for (int y = 0; y < preview.height() && !drawn; ++y)
        for (int x = 0; x < preview.width() && !drawn; ++x)
            drawn = qGray(preview.pixel(x, y)) > qGray(corner) + 40 || qGray(preview.pixel(x, y)) + 40 < qGray(corner);
    EXPECT_TRUE(drawn);
    for (const auto& entry : fs::directory_iterator(root()))
        EXPECT_NE(entry.path().filename().string().front(), '.') << "left over: " << entry.path();
    // The world's group stays where it was; the tree shows and selects the model.
    double after[3];
    OMBREL_group_get_location(box, &after[0], &after[1], &after[2]);
    for (int i = 0; i < 3; ++i) EXPECT_DOUBLE_EQ(after[i], before[i]);
    ASSERT_NE(f.trwModel->SelectedItem(), nullptr);
    EXPECT_EQ(KeyedTree::Key(f.trwModel->SelectedItem()), model);
    EXPECT_FALSE(f.picModelPreview->pixmap().isNull());

    // The model loads back centred on the origin, textured from its own folder.
    ASSERT_EQ(OMBREL_engine_load_world(model.c_str(), "", (root() + "/bitmaps").c_str(), 4), 0);
    int32_t loaded = 0;
    for (int32_t g = OMBREL_group_get_first_group(); g != 0; g = OMBREL_group_get_next(g))
        if (Globals::GetEntityName(g) == "box") loaded = g;
    ASSERT_NE(loaded, 0);
    double centre[3] = {1, 1, 1};
    OMBREL_group_get_location(loaded, &centre[0], &centre[1], &centre[2]);
    for (double c : centre) EXPECT_NEAR(c, 0.0, 1e-9);
    const int32_t polygon = OMBREL_group_get_first_polygon(loaded);
    ASSERT_NE(polygon, 0);
    const int32_t texture = OMBREL_polygon_get_bitmap_handle(polygon);
    ASSERT_NE(texture, 0);
    EXPECT_NE(Globals::GetEntityName(texture).find(root() + "/bitmaps/"), std::string::npos)
        << Globals::GetEntityName(texture);
}

TEST_F(ModelGalleryTest, AnExistingModelIsReplacedOnlyWhenTheUserAgrees) {
    struct Case {
        MsgResult answer;
        bool replaced;
    };
    Form1& f = startWithGallery();
    selectTexturedBox();
    for (const Case c : {Case{MsgResult::Cancel, false}, Case{MsgResult::OK, true}}) {
        touch(root() + "/box.vandel", "old model");
        touch(root() + "/box.jpg", "old picture");
        ModelGallery::trwModel_Populate(*f.trwModel);
        select(root());
        platform_.prompts.answer(c.answer);
        f.mnuModelGalleryAdd_Click();
        EXPECT_EQ(lastMessage(), "Warning: Model with same name already exists. Should it be replaced?");
        EXPECT_EQ(readAll(root() + "/box.vandel") != "old model", c.replaced);
        EXPECT_EQ(readAll(root() + "/box.jpg") != "old picture", c.replaced);
    }
}

TEST_F(ModelGalleryTest, StoringRefusesWhatIsNotASingleGroupOrAnUnusableName) {
    Form1& f = startWithGallery();
    const int32_t box = selectTexturedBox();
    select(root());
    struct Case {
        int32_t kind;
        const char* name;
        const char* message;
    };
    const Case cases[] = {
        {SelMultiple, "box", "Please select a single group first."},
        {SelNone, "box", "Please select a single group first."},
        {SelGroup, "../escape", "Sorry, the group's name cannot be used as a model file name!"},
        {SelGroup, "a/b", "Sorry, the group's name cannot be used as a model file name!"},
        {SelGroup, ".hidden", "Sorry, the group's name cannot be used as a model file name!"},
        {SelGroup, "line\nbreak", "Sorry, the group's name cannot be used as a model file name!"},
    };
    for (const Case& c : cases) {
        Globals::CurrSelEntityType = c.kind;
        OMBREL_group_set_name(box, c.name);
        platform_.prompts.answer(MsgResult::OK);
        f.mnuModelGalleryAdd_Click();
        EXPECT_EQ(lastMessage(), c.message) << c.name;
    }
    EXPECT_TRUE(fs::is_empty(root()));
    EXPECT_FALSE(fs::exists(programFolder() + "escape.vandel"));
}

TEST_F(ModelGalleryTest, AFailedStoreSaysSoAndLeavesNoModelBehind) {
    // The folder of the tree turns into a regular file (the preview cannot be
    // written), or a folder stands where the model file goes (the model cannot);
    // an older preview is then put back as it was.
    struct Case {
        const char* what;
        const char* message;
        std::vector<std::string> left;
    };
    const Case cases[] = {
        {"folder is a file", "Failled saving to gallery. Note: Only 16 and 32 bit color supported!", {"cars"}},
        {"model is a folder", "Failled saving to gallery.", {"cars", "cars/box.vandel"}},
        {"model is a folder beside an older preview", "Failled saving to gallery.",
         {"cars", "cars/box.jpg", "cars/box.vandel"}},
    };
    Form1& f = startWithGallery();
    selectTexturedBox();
    for (const Case& c : cases) {
        const std::string what = c.what;
        fs::remove_all(root());
        fs::create_directories(root() + "/cars");
        ModelGallery::trwModel_Populate(*f.trwModel);
        select(root() + "/cars");
        if (what == "folder is a file") {
            fs::remove(root() + "/cars");
            touch(root() + "/cars", "a file");
        } else {
            fs::create_directories(root() + "/cars/box.vandel");
        }
        if (what == "model is a folder beside an older preview") touch(root() + "/cars/box.jpg", "old picture");
        platform_.prompts.answer(MsgResult::OK);
        f.mnuModelGalleryAdd_Click();
        EXPECT_EQ(lastMessage(), c.message) << what;
        std::vector<std::string> left;
        for (const auto& entry : fs::recursive_directory_iterator(root()))
            left.push_back(fs::relative(entry.path(), root()).string());
        std::sort(left.begin(), left.end());
        EXPECT_EQ(left, c.left) << what;
        if (fs::is_regular_file(root() + "/cars/box.jpg")) {
            EXPECT_EQ(readAll(root() + "/cars/box.jpg"), "old picture") << what;
        }
    }
}

TEST_F(ModelGalleryTest, ReplacingAModelWhoseFilesAreLinksWritesTheFilesTheyName) {
    Form1& f = startWithGallery();
    selectTexturedBox();
    const std::string shelf = tempPath("shelf");
    touch(shelf + "/box.vandel", "old model");
    touch(shelf + "/box.jpg", "old picture");
    fs::create_symlink(shelf + "/box.vandel", root() + "/box.vandel");
    fs::create_symlink(shelf + "/box.jpg", root() + "/box.jpg");
    ModelGallery::trwModel_Populate(*f.trwModel);
    select(root());
    platform_.prompts.answer(MsgResult::OK);
    f.mnuModelGalleryAdd_Click();

    EXPECT_EQ(lastMessage(), "Warning: Model with same name already exists. Should it be replaced?");
    EXPECT_TRUE(fs::is_symlink(root() + "/box.vandel"));
    EXPECT_TRUE(fs::is_symlink(root() + "/box.jpg"));
    EXPECT_EQ(readAll(shelf + "/box.vandel").rfind("OMBREL-WORLD 1\n", 0), 0u);
    EXPECT_EQ(readAll(shelf + "/box.jpg").substr(0, 2), "\xFF\xD8");
    EXPECT_TRUE(f.trwModel->Exists(root() + "/box.vandel"));
}

TEST_F(ModelGalleryTest, AddFolderChecksTheTypedName) {
    Form1& f = startWithGallery();
    fs::create_directories(root() + "/Cars");
    ModelGallery::trwModel_Populate(*f.trwModel);
    const std::string refused = "Sorry, cannot have a folder with this name!";
    struct Case {
        std::string typed;
        std::string message;  // "" = none
        bool created;
    };
    const std::vector<Case> cases = {
        {"", "", false},
        {"BitMaps", refused, false},
        {".", refused, false},
        {"..", refused, false},
        {"../outside", refused, false},
        {"a/b", refused, false},
        {"a\\b", refused, false},
        {"tab\there", refused, false},
        {std::string(300, 'n'), refused, false},
        {"Cars", "Folder already exists!", false},
        {"Trucks", "", true},
    };
    for (const Case& c : cases) {
        select(root());
        const std::size_t shownBefore = platform_.prompts.shown().size();
        platform_.prompts.answerInput(c.typed);
        if (!c.message.empty()) platform_.prompts.answer(MsgResult::OK);
        f.mnuModelGalleryAddFolder_Click();
        const auto& shown = platform_.prompts.shown();
        ASSERT_EQ(shown.at(shownBefore).text, "Folder Name?");
        EXPECT_EQ(shown.size() > shownBefore + 1 ? shown.back().text : "", c.message) << c.typed;
        if (c.created) {
            EXPECT_TRUE(fs::is_directory(root() + "/" + c.typed));
            ASSERT_NE(f.trwModel->SelectedItem(), nullptr);
            EXPECT_EQ(KeyedTree::Key(f.trwModel->SelectedItem()), root() + "/" + c.typed);
        }
    }
    std::vector<std::string> inGallery;
    for (const auto& entry : fs::directory_iterator(root())) inGallery.push_back(entry.path().filename());
    std::sort(inGallery.begin(), inGallery.end());
    EXPECT_EQ(inGallery, (std::vector<std::string>{"Cars", "Trucks"}));
    EXPECT_FALSE(fs::exists(programFolder() + "outside"));
}

TEST_F(ModelGalleryTest, DeleteFolderRemovesEveryDepthButNeverFollowsALinkNorTakesTheRoot) {
    const std::string outside = tempPath("outside");
    touch(outside + "/precious.wld");
    const std::string r = programFolder() + "Models";
    touch(r + "/old/one/deep/a.wld");
    touch(r + "/old/two/deep/b.vandel");
    touch(r + "/old/two/b.jpg");
    touch(r + "/old/bitmaps/t.bmp");
    fs::create_directory_symlink(outside, r + "/old/link");
    touch(r + "/keep/k.wld");
    Form1& f = startWithGallery();

    // The root: refused without a question.
    select(r);
    platform_.prompts.answer(MsgResult::OK);
    f.mnuModelGalleryDeleteFolder_Click();
    EXPECT_EQ(lastMessage(), "Sorry, the gallery folder itself cannot be deleted!");
    EXPECT_TRUE(fs::exists(r + "/keep/k.wld"));

    struct Case {
        MsgResult answer;
        bool deleted;
    };
    for (const Case c : {Case{MsgResult::Cancel, false}, Case{MsgResult::OK, true}}) {
        select(r + "/old");
        platform_.prompts.answer(c.answer);
        f.mnuModelGalleryDeleteFolder_Click();
        EXPECT_EQ(lastMessage(),
                  "Warning: This will delete all models residing within this folder. Do you really wish to continue?");
        EXPECT_EQ(fs::exists(r + "/old"), !c.deleted);
        EXPECT_EQ(f.trwModel->Exists(r + "/old"), !c.deleted);
    }
    EXPECT_TRUE(fs::exists(outside + "/precious.wld"));
    EXPECT_TRUE(fs::exists(r + "/keep/k.wld"));
}

TEST_F(ModelGalleryTest, RemoveModelDeletesItAndItsPreviewAfterAsking) {
    const std::string r = programFolder() + "Models";
    touch(r + "/cars/jeep.wld");
    touch(r + "/cars/jeep.jpg");
    touch(r + "/cars/van.wld");
    Form1& f = startWithGallery();
    struct Case {
        MsgResult answer;
        bool removed;
    };
    for (const Case c : {Case{MsgResult::Cancel, false}, Case{MsgResult::OK, true}}) {
        select(r + "/cars/jeep.wld");
        f.trwModel_NodeClick(f.trwModel->SelectedItem());
        platform_.prompts.answer(c.answer);
        f.mnuModelGalleryRemove_Click();
        EXPECT_EQ(lastMessage(), "Warning: This model will be permanently deleted!");
        EXPECT_EQ(fs::exists(r + "/cars/jeep.wld"), !c.removed);
        EXPECT_EQ(fs::exists(r + "/cars/jeep.jpg"), !c.removed);
        EXPECT_EQ(f.trwModel->Exists(r + "/cars/jeep.wld"), !c.removed);
        EXPECT_EQ(f.picModelPreview->pixmap().isNull(), c.removed);
    }
    EXPECT_TRUE(fs::exists(r + "/cars/van.wld"));
}

TEST_F(ModelGalleryTest, TheMenuActsOnTheRightClickedNode) {
    const std::string r = programFolder() + "Models";
    touch(r + "/cars/jeep.wld");
    touch(r + "/trees/oak.wld");
    Form1& f = startWithGallery();
    f.trwModel->expandAll();
    struct Case {
        std::string key;
        bool add, addFolder, deleteFolder, remove;
    };
    const Case cases[] = {
        {r, false, true, false, false},
        {r + "/cars", true, true, true, false},
        {r + "/cars/jeep.wld", false, false, false, true},
    };
    for (const Case& c : cases) {
        select(r + "/trees");
        rightClick(c.key);
        ASSERT_NE(f.trwModel->SelectedItem(), nullptr);
        EXPECT_EQ(KeyedTree::Key(f.trwModel->SelectedItem()), c.key);
        EXPECT_EQ(f.mnuModelGalleryAdd->isVisible(), c.add) << c.key;
        EXPECT_EQ(f.mnuModelGalleryAddFolder->isVisible(), c.addFolder) << c.key;
        EXPECT_EQ(f.mnuModelGalleryDeleteFolder->isVisible(), c.deleteFolder) << c.key;
        EXPECT_EQ(f.mnuModelGalleryRemove->isVisible(), c.remove) << c.key;
        ASSERT_FALSE(platform_.prompts.shown().empty());
        EXPECT_EQ(platform_.prompts.shown().back().text, "mnuModelGallery");
        EXPECT_EQ(platform_.prompts.shown().back().items.size(),
                  static_cast<std::size_t>(c.add + c.addFolder + c.deleteFolder + c.remove))
            << c.key;
    }
    // The command chosen then takes the clicked folder, not the one selected before.
    select(r + "/trees");
    platform_.prompts.answerMenu("mnuModelGalleryDeleteFolder").answer(MsgResult::OK);
    rightRelease(r + "/cars");
    EXPECT_FALSE(fs::exists(r + "/cars"));
    EXPECT_TRUE(fs::exists(r + "/trees/oak.wld"));
}

TEST_F(ModelGalleryTest, ADragStartAndADragOverThePreviewOfferOnlyAModel) {
    const std::string r = programFolder() + "Models";
    touch(r + "/cars/jeep.wld");
    Form1& f = startWithGallery();
    auto effectOverPreview = [&f] {
        int effect = -1;
        f.picModelPreview_OLEDragOver(nullptr, effect);
        return effect;
    };
    // The same answer as the preview widget gives a drag entering it.
    auto previewTakesDrag = [&f] {
        QMimeData data;
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(f.picModelPreview, &enter);
        return enter.isAccepted() && enter.dropAction() == Qt::MoveAction;
    };

    QMimeData none;
    f.trwModel->setCurrentItem(nullptr);
    EXPECT_FALSE(f.picModelPreview_OLEStartDrag(none).has_value());
    EXPECT_EQ(effectOverPreview(), 0);

    select(r + "/cars");
    QMimeData folder;
    EXPECT_EQ(f.picModelPreview_OLEStartDrag(folder), Qt::DropActions(Qt::IgnoreAction));
    EXPECT_FALSE(folder.hasUrls());
    EXPECT_EQ(f.GalleryDragFile, "");
    EXPECT_EQ(effectOverPreview(), 0);
    EXPECT_FALSE(previewTakesDrag());

    select(r + "/cars/jeep.wld");
    EXPECT_EQ(effectOverPreview(), 2);
    EXPECT_TRUE(previewTakesDrag());
    QMimeData model;
    EXPECT_EQ(f.picModelPreview_OLEStartDrag(model), Qt::DropActions(Qt::MoveAction));
    ASSERT_EQ(model.urls().size(), 1);
    EXPECT_EQ(model.urls().front().toLocalFile().toStdString(), r + "/cars/jeep.wld");
    EXPECT_EQ(f.GalleryDragFile, r + "/cars/jeep.wld");
}

}  // namespace
