// Applying bitmaps and animations with undo, reloading bitmaps from their files,
// deleting bitmaps and animations with the history that names them.
#include "texture_commands_fixture.h"

#include "textures/PicturePreview.h"
#include "textures/TextureCommands.h"

#include "undo/ActionUndoRedo.h"

#include <QImage>

#include <filesystem>
#include <fstream>

namespace {

using platform::MsgButtons;
using platform::MsgIcon;
using platform::MsgResult;
using platform::doubles::PromptKind;
using textures::TextureKind;
using textures::TextureNode;

class TextureCommandsTest : public TextureCommandsFixture {
protected:
    // A group of two squares, both plain colour.
    int32_t colouredGroup(const char* name) {
        const int32_t g = makeGroup(name, {0, 0, 0});
        for (int32_t p : polygonsOf(g)) OMBREL_polygon_set_color_fill(p, 10, 20, 30);
        return g;
    }

    std::vector<std::string> messagesShown() const {
        std::vector<std::string> texts;
        for (const auto& p : platform_.prompts.shown())
            if (p.kind == PromptKind::Message) texts.push_back(p.text);
        return texts;
    }

    // The colour drawn at the centre of a bitmap's picture.
    static QRgb centreOf(int32_t bitmap) {
        QImage image(8, 8, QImage::Format_RGBA8888);
        image.fill(Qt::black);
        EXPECT_TRUE(textures::DrawPicture(image, bitmap, 0, 0, 8, 8));
        return image.pixel(4, 4);
    }
};

TEST_F(TextureCommandsTest, ApplyBySelectionIndexAndNode) {
    const int32_t bitmap = loadBitmap("wall");
    const int32_t anim = animation("walk", {{loadBitmap("w1")}});
    const int32_t camera = OMBREL_camera_create("cam");
    enum Target { None, All, First };
    struct Case {
        const char* name;
        int32_t kind;
        bool onePolygon;
        int index;
        TextureNode node;
        const char* message;
        Target target;
    } cases[] = {
        {"bitmap to the group", SelGroup, false, 0, {TextureKind::Bitmap, bitmap}, nullptr, All},
        {"animation to the group", SelGroup, false, 0, {TextureKind::Animation, anim}, nullptr, All},
        {"bitmap to the selected polygon", SelGroup, true, 1, {TextureKind::Bitmap, bitmap}, nullptr, First},
        {"animation to the selected polygon", SelGroup, true, 1, {TextureKind::Animation, anim}, nullptr, First},
        {"a camera selected", SelCamera, false, 0, {TextureKind::Bitmap, bitmap}, "No group selected", None},
        {"a light selected", SelLight, true, 1, {TextureKind::Bitmap, bitmap}, "No group selected", None},
        {"no polygon selected", SelGroup, false, 1, {TextureKind::Animation, anim}, "No polygon/s selected", None},
        {"a folder chosen", SelGroup, true, 0, {TextureKind::Folder, 0}, nullptr, None},
        {"no node chosen", SelGroup, true, 1, {}, nullptr, None},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Globals::UndoRedoStack->Reset();
        const int32_t g = colouredGroup("g");
        const std::vector<int32_t> pols = polygonsOf(g);
        Globals::CurrSelEntityType = c.kind;
        Globals::CurrSelEntityHandle = c.kind == SelGroup ? g : camera;
        selectPolygons(c.onePolygon ? std::vector<int32_t>{pols[0]} : std::vector<int32_t>{});
        if (c.message) platform_.prompts.answer(MsgResult::OK);
        const std::size_t shownBefore = platform_.prompts.shown().size();

        EXPECT_EQ(textures::ApplyTextureToSel(c.index, c.node), c.target != None);

        EXPECT_EQ(recordsHeld(), c.target != None ? 1 : 0);
        if (c.message) {
            ASSERT_EQ(platform_.prompts.shown().size(), shownBefore + 1);
            EXPECT_EQ(platform_.prompts.shown().back().text, c.message);
            EXPECT_EQ(platform_.prompts.shown().back().icon, MsgIcon::Information);
        } else {
            EXPECT_EQ(platform_.prompts.shown().size(), shownBefore);
        }
        const Fill colour{0, 0, 10, 20, 30};
        Fill applied = colour;
        if (c.node.kind == TextureKind::Bitmap) applied.bitmap = bitmap;
        if (c.node.kind == TextureKind::Animation) applied.animation = anim;
        for (std::size_t i = 0; i < pols.size(); ++i) {
            const bool reached = c.target == All || (c.target == First && i == 0);
            const Fill got = fillOf(pols[i]);
            EXPECT_EQ(got.animation, reached ? applied.animation : 0) << i;
            EXPECT_EQ(got.bitmap, reached ? applied.bitmap : 0) << i;
        }
        if (c.target == None) continue;
        // Undo gives each polygon its colour back.
        Globals::UndoRedoStack->Pop()->UndoAction();
        for (int32_t p : pols) EXPECT_EQ(fillOf(p), colour);
    }
}

TEST_F(TextureCommandsTest, TheRecordIsPushedAfterTheRedraw) {
    const int32_t bitmap = loadBitmap("wall");
    selectGroup(colouredGroup("g"));
    int heldAtRedraw = -1;
    core::windowHooks().updateCameras = [&] { heldAtRedraw = recordsHeld(); };
    ASSERT_TRUE(textures::ApplyTextureToSel(0, {TextureKind::Bitmap, bitmap}));
    EXPECT_EQ(heldAtRedraw, 0);
    EXPECT_EQ(recordsHeld(), 1);
}

TEST_F(TextureCommandsTest, ApplyToAMultipleSelectionFillsEveryGroupAndUndoRestoresEachFill) {
    const int32_t old = loadBitmap("old");
    const int32_t walk = animation("walk", {{loadBitmap("w1")}});
    const int32_t fresh = loadBitmap("fresh");
    const int32_t a = colouredGroup("a"), b = colouredGroup("b");
    // A group inside a is selected too: its polygons are recorded once.
    const int32_t inner = colouredGroup("inner");
    OMBREL_group_set_father_group(inner, a);
    const std::vector<int32_t> pa = polygonsOf(a), pb = polygonsOf(b);
    OMBREL_polygon_set_animation(pa[0], walk);
    OMBREL_polygon_set_bitmap_fill(pa[1], old);
    std::vector<Fill> before;
    const std::vector<int32_t> all = polygonsOf(Globals::RootGrp);
    for (int32_t p : all) before.push_back(fillOf(p));
    for (int32_t g : {a, b, inner}) Globals::CurrMultiSel->AddGrpHandles(g);
    Globals::CurrSelEntityType = SelMultiple;
    Globals::CurrSelEntityHandle = 0;

    ASSERT_TRUE(textures::ApplyTextureToSel(0, {TextureKind::Bitmap, fresh}));

    for (int32_t p : all) EXPECT_EQ(fillOf(p).bitmap, fresh);
    ASSERT_EQ(recordsHeld(), 1);
    ActionUndoRedo* record = Globals::UndoRedoStack->Pop();
    EXPECT_EQ(record->ApplyTexture->PolygonCount(), static_cast<int32_t>(all.size()));
    record->UndoAction();
    for (std::size_t i = 0; i < all.size(); ++i) EXPECT_EQ(fillOf(all[i]), before[i]) << i;
    EXPECT_EQ(fillOf(pa[0]).animation, walk);
    EXPECT_EQ(fillOf(pa[1]).bitmap, old);
    EXPECT_EQ(fillOf(pb[0]), (Fill{0, 0, 10, 20, 30}));
}

TEST_F(TextureCommandsTest, AMultipleSelectionWithoutGroupsIsNoGroup) {
    const int32_t bitmap = loadBitmap("wall");
    Globals::CurrMultiSel->AddCamHandles(OMBREL_camera_create("cam"));
    Globals::CurrSelEntityType = SelMultiple;
    platform_.prompts.answer(MsgResult::OK);
    EXPECT_FALSE(textures::ApplyTextureToSel(0, {TextureKind::Bitmap, bitmap}));
    EXPECT_EQ(messagesShown(), std::vector<std::string>{"No group selected"});
}

// ---- update from the file

TEST_F(TextureCommandsTest, UpdateKeepsTheHandleOfTheSameFileAndRefusesWhatDoesNotLoad) {
    struct Case {
        const char* name;
        std::function<void(const std::filesystem::path& bmp)> change;
        textures::UpdateResult::Outcome outcome;
        const char* message;
        int width;  // of the picture afterwards
        QRgb centre;
    } cases[] = {
        {"unchanged", [](const std::filesystem::path&) {}, textures::UpdateResult::Refreshed, nullptr, 4,
         qRgba(0, 0, 200, 255)},
        {"rewritten",
         [](const std::filesystem::path& bmp) {
             writeBmp24(bmp, 8, 8, std::vector<TestRgb>(64, TestRgb{0, 180, 0}));
         },
         textures::UpdateResult::Refreshed, nullptr, 8, qRgba(0, 180, 0, 255)},
        {"garbage",
         [](const std::filesystem::path& bmp) {
             std::ofstream(bmp, std::ios::binary | std::ios::trunc) << "BM this is no picture at all";
         },
         textures::UpdateResult::Unsupported, "Unsupported bitmap.", 4, qRgba(0, 0, 200, 255)},
        {"deleted", [](const std::filesystem::path& bmp) { std::filesystem::remove(bmp); },
         textures::UpdateResult::Missing, "The file has been moved or deleted. Updating failed!", 4,
         qRgba(0, 0, 200, 255)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string name = std::string("pic_") + c.name;
        const int32_t bitmap = loadBitmap(name);
        const int32_t g = colouredGroup("g");
        OMBREL_group_set_bitmap(g, bitmap);
        c.change(folder() / (name + ".bmp"));
        if (c.message) platform_.prompts.answer(MsgResult::OK);

        const textures::UpdateResult result = textures::UpdateBitmapFromFile(bitmap);

        EXPECT_EQ(result.outcome, c.outcome);
        EXPECT_EQ(result.bitmap, bitmap);
        EXPECT_EQ(OMBREL_ext_handle_kind(bitmap), OMBREL_KIND_BITMAP);
        for (int32_t p : polygonsOf(g)) EXPECT_EQ(fillOf(p).bitmap, bitmap);
        EXPECT_EQ(OMBREL_bitmap_get_width(bitmap), c.width);
        EXPECT_EQ(centreOf(bitmap), c.centre);
        if (c.message) {
            EXPECT_EQ(messagesShown().back(), c.message);
        }
    }
}

TEST_F(TextureCommandsTest, UpdateFromTheJpegMovesEveryUserAndTheHistoryToTheNewBitmap) {
    const int32_t bitmap = loadBitmap("crate", {200, 0, 0}, 0);
    const int32_t other = loadBitmap("other");
    const int32_t g = colouredGroup("g");
    const std::vector<int32_t> pols = polygonsOf(g);
    OMBREL_polygon_set_bitmap_fill(pols[0], bitmap);
    OMBREL_polygon_set_bitmap_fill(pols[1], bitmap);
    const int32_t background = OMBREL_background_create("sky", bitmap);
    const int32_t walk = animation("walk", {{other, bitmap}});
    OMBREL_animation_set_frame_time(walk, 1, 33);
    // The history holds an apply whose previous fills name the bitmap.
    selectGroup(g);
    ASSERT_TRUE(textures::ApplyTextureToSel(0, {TextureKind::Bitmap, other}));
    ASSERT_EQ(OMBREL_utilities_save_bitmap24(bitmap, (folder() / "crate.jpg").c_str()), 0);
    std::filesystem::remove(folder() / "crate.bmp");

    const textures::UpdateResult result = textures::UpdateBitmapFromFile(bitmap);

    ASSERT_EQ(result.outcome, textures::UpdateResult::Moved);
    const int32_t moved = result.bitmap;
    EXPECT_NE(moved, bitmap);
    EXPECT_EQ(OMBREL_ext_handle_kind(bitmap), 0) << "the old bitmap is unloaded";
    EXPECT_EQ(OMBREL_bitmap_get_transparent_index(moved), 0);
    EXPECT_EQ(OMBREL_background_get_bitmap(background), moved);
    EXPECT_EQ(OMBREL_animation_get_bitmap(walk, 1, 1), moved);
    EXPECT_EQ(OMBREL_animation_get_frame_time(walk, 1), 33);
    EXPECT_TRUE(platform_.prompts.shown().empty()) << "Update asks nothing";
    EXPECT_FALSE(Globals::UndoRedoStack->AnyRecordNames(bitmap));
    Globals::UndoRedoStack->Pop()->UndoAction();
    for (int32_t p : pols) EXPECT_EQ(fillOf(p).bitmap, moved);
}

TEST_F(TextureCommandsTest, UsersAreCollectedOnceInOneWalk) {
    const int32_t bitmap = loadBitmap("wall");
    const int32_t a = colouredGroup("a");
    const int32_t inner = colouredGroup("inner");
    OMBREL_group_set_father_group(inner, a);
    OMBREL_group_set_bitmap(a, bitmap);
    const textures::BitmapUsers users = textures::CollectBitmapUsers(bitmap);
    EXPECT_EQ(users.polygons.size(), polygonsOf(a).size());
    EXPECT_EQ(users.polygons.size(), 4u);
}

// ---- deleting

TEST_F(TextureCommandsTest, DeletingABitmapAsksAndClearsAHistoryThatNamesIt) {
    struct Case {
        const char* name;
        bool named;
        std::vector<MsgResult> answers;
        bool deleted;
    } cases[] = {
        {"named, yes twice", true, {MsgResult::Yes, MsgResult::Yes}, true},
        {"named, cancel to the history", true, {MsgResult::Yes, MsgResult::Cancel}, false},
        {"named, no to the first", true, {MsgResult::No}, false},
        {"not named", false, {MsgResult::Yes}, true},
        {"not named, cancel", false, {MsgResult::Cancel}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Globals::UndoRedoStack->Reset();
        const int32_t bitmap = loadBitmap(std::string("del_") + std::to_string(&c - cases));
        const int32_t other = loadBitmap("other");
        const int32_t g = colouredGroup("g");
        selectGroup(g);
        ASSERT_TRUE(textures::ApplyTextureToSel(0, {TextureKind::Bitmap, c.named ? bitmap : other}));
        if (!c.named) OMBREL_group_set_bitmap(g, bitmap);
        const int32_t background = OMBREL_background_create("sky", bitmap);
        const int32_t keep = OMBREL_background_create("ground", other);
        for (MsgResult a : c.answers) platform_.prompts.answer(a);
        std::vector<int32_t> removed;
        const std::size_t shownBefore = platform_.prompts.shown().size();

        EXPECT_EQ(textures::DeleteBitmap(bitmap, [&](int32_t b) { removed.push_back(b); }), c.deleted);

        ASSERT_EQ(platform_.prompts.shown().size(), shownBefore + c.answers.size());
        EXPECT_EQ(platform_.prompts.shown()[shownBefore].text, textures::DeleteBitmapQuestion);
        EXPECT_EQ(platform_.prompts.shown()[shownBefore].buttons, MsgButtons::YesNoCancel);
        if (c.answers.size() == 2) {
            EXPECT_EQ(platform_.prompts.shown()[shownBefore + 1].text,
                      "This action cannot be undone. All previous undo's will be cleared!. Do you wish to continue?");
            EXPECT_EQ(platform_.prompts.shown()[shownBefore + 1].icon, MsgIcon::Information);
        }
        EXPECT_EQ(OMBREL_ext_handle_kind(bitmap), c.deleted ? 0 : OMBREL_KIND_BITMAP);
        EXPECT_EQ(OMBREL_ext_handle_kind(background), c.deleted ? 0 : OMBREL_KIND_BACKGROUND);
        EXPECT_EQ(OMBREL_ext_handle_kind(keep), OMBREL_KIND_BACKGROUND);
        EXPECT_EQ(removed, c.deleted ? std::vector<int32_t>{background} : std::vector<int32_t>{});
        // Only a history that names the bitmap is cleared, and only on Yes.
        EXPECT_EQ(recordsHeld(), c.named && c.deleted ? 0 : 1);
        if (c.deleted) {
            for (int32_t p : polygonsOf(g)) EXPECT_NE(fillOf(p).bitmap, bitmap);
        }
    }
}

TEST_F(TextureCommandsTest, DeletingAnAnimationTurnsItsPolygonsLightBlue) {
    const int32_t walk = animation("walk", {{loadBitmap("w1")}});
    const int32_t g = colouredGroup("g");
    const std::vector<int32_t> pols = polygonsOf(g);
    OMBREL_polygon_set_animation(pols[0], walk);

    EXPECT_TRUE(textures::DeleteAnimation(walk));

    EXPECT_TRUE(platform_.prompts.shown().empty()) << "no question without a history naming it";
    EXPECT_EQ(OMBREL_ext_handle_kind(walk), 0);
    EXPECT_EQ(fillOf(pols[0]), (Fill{0, 0, 100, 100, 255}));
    EXPECT_EQ(fillOf(pols[1]), (Fill{0, 0, 10, 20, 30}));
}

TEST_F(TextureCommandsTest, DeletingAnAnimationTheHistoryNamesAsksFirst) {
    const int32_t walk = animation("walk", {{loadBitmap("w1")}});
    selectGroup(colouredGroup("g"));
    ASSERT_TRUE(textures::ApplyTextureToSel(0, {TextureKind::Animation, walk}));
    platform_.prompts.answer(MsgResult::Cancel).answer(MsgResult::Yes);

    EXPECT_FALSE(textures::DeleteAnimation(walk));
    EXPECT_EQ(OMBREL_ext_handle_kind(walk), OMBREL_KIND_ANIMATION);
    EXPECT_EQ(recordsHeld(), 1);

    EXPECT_TRUE(textures::DeleteAnimation(walk));
    EXPECT_EQ(OMBREL_ext_handle_kind(walk), 0);
    EXPECT_EQ(recordsHeld(), 0);
    EXPECT_FALSE(window.undoVisible);
}

// ---- new bitmaps

TEST_F(TextureCommandsTest, ANewBitmapIsLoadedOnceAndAFileThatDoesNotLoadIsSaid) {
    const std::string good = writeBitmap("new pic é");
    const auto garbage = folder() / "broken.bmp";
    std::ofstream(garbage, std::ios::binary) << "BM\x10\x00\x00\x00";
    // A header that claims 100,000 x 100,000 pixels and holds none.
    const auto huge = folder() / "huge.bmp";
    bmp_detail::save(huge, bmp_detail::headers(100000, 100000, 24, 0));
    platform_.prompts.answerOpenFile(good).answerOpenFile(good).answerOpenFile("").answerOpenFile(garbage.string());
    platform_.prompts.answer(MsgResult::OK).answerOpenFile(huge.string()).answer(MsgResult::OK);

    const int32_t loaded = textures::LoadNewBitmap();
    EXPECT_NE(loaded, 0);
    EXPECT_EQ(textures::LoadNewBitmap(), 0) << "loaded already";
    EXPECT_EQ(textures::LoadNewBitmap(), 0) << "cancelled";
    EXPECT_EQ(textures::LoadNewBitmap(), 0) << "not a picture";
    EXPECT_EQ(textures::LoadNewBitmap(), 0) << "too large";
    EXPECT_EQ(messagesShown(), (std::vector<std::string>{"Unsupported bitmap.", "Unsupported bitmap."}));
    EXPECT_EQ(platform_.prompts.shown().front().filter,
              "Bitmaps (*.bmp);;JPEG Images (*.jpg);;Images (*.bmp *.jpg)");
}

}  // namespace
