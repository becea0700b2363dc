// The textures tree's entries and the animation preview's frame order.
#include "texture_commands_fixture.h"

#include "textures/AnimPreview.h"
#include "textures/TextureNodes.h"

#include <filesystem>
#include <limits>

namespace {

using textures::TextureEntry;

class TexturesTreeTest : public TextureCommandsFixture {};

std::vector<std::string> texts(const std::vector<TextureEntry>& entries, const std::string& folder) {
    std::vector<std::string> out;
    for (const TextureEntry& e : entries)
        if (e.folder == folder) out.push_back(e.text);
    return out;
}

TEST(TextureNodes, LightMapsAreTheNamesHoldingLightmapAfterTheFirstCharacter) {
    struct Case {
        const char* name;
        bool listed;
    } cases[] = {{"LIGHTMAP_7", true},          {"x/LIGHTMAP_7", false}, {"/w/LIGHTMAP_12", false},
                 {"/w/lightmap_7", true},       {"/w/wall", true},       {"/w/LIGHTMAP7", true},
                 {"LIGHTMAP_1/LIGHTMAP_2", true}};
    for (const Case& c : cases) EXPECT_EQ(textures::IsListedBitmapName(c.name), c.listed) << c.name;
}

TEST(TextureNodes, AnEntrysKindComesFromItsFolderAndItsHandleFromItsKey) {
    struct Case {
        const char* parent;
        const char* key;
        textures::TextureKind kind;
        int32_t handle;
    } cases[] = {{"", "MAP", textures::TextureKind::Folder, 0},
                 {"MAP", "Map12", textures::TextureKind::Bitmap, 12},
                 {"ANIMATION", "Animation7", textures::TextureKind::Animation, 7},
                 {"ANIMATION", "Map7", textures::TextureKind::Animation, 0},
                 {"MAP", "Map", textures::TextureKind::Bitmap, 0},
                 {"MAP", "Map12x", textures::TextureKind::Bitmap, 0},
                 {"GROUP", "Group3", textures::TextureKind::None, 0}};
    for (const Case& c : cases) {
        const textures::TextureNode node = textures::NodeOf(c.parent, c.key);
        EXPECT_EQ(node.kind, c.kind) << c.key;
        EXPECT_EQ(node.handle, c.handle) << c.key;
    }
}

TEST_F(TexturesTreeTest, BitmapsByFileNameWithoutLightMapsOrFramesThenAnimations) {
    const int32_t wall = loadBitmap("wall");
    const int32_t lightMap = loadBitmap("LIGHTMAP_7");
    const int32_t lower = loadBitmap("lightmap_7");
    const int32_t frameA = loadBitmap("walk1"), frameB = loadBitmap("walk2");
    const int32_t gone = loadBitmap("gone");
    std::filesystem::remove(folder() / "gone.bmp");
    // frameA serves twice in one animation and once in another.
    const int32_t walk = animation("walk", {{frameA, frameB}, {frameA}});
    const int32_t blink = animation("blink", {{}, {}, {frameA}});

    const std::vector<TextureEntry> entries = textures::TexturesTreeEntries();
    std::vector<std::string> keys;
    for (const TextureEntry& e : entries) keys.push_back(e.key);
    EXPECT_EQ(keys, (std::vector<std::string>{"Map" + std::to_string(wall), "Map" + std::to_string(lower),
                                              "Map" + std::to_string(gone), "Animation" + std::to_string(walk),
                                              "Animation" + std::to_string(blink)}));
    EXPECT_EQ(texts(entries, "MAP"), (std::vector<std::string>{"wall", "lightmap_7", "gone.bmp"}));
    EXPECT_EQ(texts(entries, "ANIMATION"), (std::vector<std::string>{"walk", "blink"}));
    (void)lightMap;
}

TEST_F(TexturesTreeTest, AnEmptyWorldListsNothing) { EXPECT_TRUE(textures::TexturesTreeEntries().empty()); }

TEST(AnimPreviewInterval, TenMillisecondsAHundredthNeverBelowTen) {
    EXPECT_EQ(textures::PreviewInterval(7), 70);
    EXPECT_EQ(textures::PreviewInterval(1), 10);
    EXPECT_EQ(textures::PreviewInterval(0), 10);
    EXPECT_EQ(textures::PreviewInterval(-3), 10);
    EXPECT_EQ(textures::PreviewInterval(std::numeric_limits<int32_t>::max()), std::numeric_limits<int>::max());
}

TEST_F(TexturesTreeTest, ThePreviewPlaysEachDirectionsFramesInTurnWithEachFramesOwnTime) {
    // Frames are given by number; times are entry + 3 of the one list, so a frame's
    // time tells which entry was read (frames of the lower directions + position).
    struct Step {
        int32_t direction, frame, bitmap, interval;
    };
    struct Case {
        const char* name;
        std::vector<std::vector<int>> directions;
        std::vector<Step> steps;
    } cases[] = {
        {"three even directions",
         {{0, 1}, {2, 3}, {4, 5}},
         {{1, 1, 1, 40}, {2, 0, 2, 50}, {2, 1, 3, 60}, {3, 0, 4, 70}, {3, 1, 5, 80}, {1, 0, 0, 30}}},
        {"uneven and empty directions",
         {{0}, {}, {1, 2}, {}, {3}},
         {{3, 0, 1, 40}, {3, 1, 2, 50}, {5, 0, 3, 60}, {1, 0, 0, 30}, {3, 0, 1, 40}}},
    };
    std::vector<int32_t> b;
    for (int i = 0; i < 6; ++i) b.push_back(loadBitmap("f" + std::to_string(i)));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::vector<int32_t>> directions;
        int32_t frames = 0;
        for (const auto& d : c.directions) {
            directions.emplace_back();
            for (int f : d) directions.back().push_back(b[static_cast<std::size_t>(f)]);
            frames += static_cast<int32_t>(d.size());
        }
        const int32_t a = animation(c.name, directions);
        for (int32_t i = 0; i < frames; ++i) OMBREL_animation_set_frame_time(a, i, 3 + i);

        textures::AnimPreview preview;
        const auto first = preview.Start(a);
        ASSERT_TRUE(first);
        EXPECT_EQ(first->bitmap, b[0]);
        EXPECT_EQ(first->intervalMs, 30);
        for (const Step& s : c.steps) {
            const auto next = preview.Tick();
            ASSERT_TRUE(next);
            EXPECT_EQ(preview.PreviewDirection, s.direction);
            EXPECT_EQ(preview.PreviewFrame, s.frame);
            EXPECT_EQ(next->bitmap, b[static_cast<std::size_t>(s.bitmap)]);
            EXPECT_EQ(next->intervalMs, s.interval);
        }
    }
}

TEST_F(TexturesTreeTest, ThePreviewStopsWhenTheAnimationLosesItsFrames) {
    const int32_t f0 = loadBitmap("f0"), f1 = loadBitmap("f1");
    const int32_t a = animation("two", {{f0, f1}});
    textures::AnimPreview preview;
    ASSERT_TRUE(preview.Start(a));
    OMBREL_animation_remove_bitmap(a, 1, 0);
    OMBREL_animation_remove_bitmap(a, 1, 0);
    EXPECT_FALSE(preview.Tick());
    // A deleted animation stops it too.
    ASSERT_TRUE(preview.Start(animation("again", {{f0}})));
    OMBREL_animation_delete(preview.PreviewAnim);
    EXPECT_FALSE(preview.Tick());
}

TEST_F(TexturesTreeTest, AnAnimationWithoutAFirstFrontFrameIsNotPreviewed) {
    const int32_t f0 = loadBitmap("f0");
    const int32_t sideOnly = animation("side", {{}, {}, {f0}});
    textures::AnimPreview preview;
    preview.PreviewAnim = 99;
    EXPECT_FALSE(preview.Start(sideOnly));
    EXPECT_EQ(preview.PreviewAnim, 99);
}

}  // namespace
