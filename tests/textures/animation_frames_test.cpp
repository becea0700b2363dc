// The animation editor's frames without its window: where inserted and dragged
// frames go, and what "&Ok" writes to the engine and a reopening reads back.
#include "texture_commands_fixture.h"

#include "textures/AnimationFrames.h"

#include <filesystem>
#include <limits>

namespace {

using textures::AnimationFrames;
using textures::FrameRecord;

std::vector<std::string> textsOf(const AnimationFrames& frames, int32_t direction) {
    std::vector<std::string> out;
    for (const textures::Frame& f : frames.Direction(direction)) out.push_back(f.Text);
    return out;
}

FrameRecord frameRecord(const std::string& file, int32_t time = 10, int32_t colour = -1) { return {file, time, colour}; }

TEST(AnimationFramesModel, InsertionOrder) {
    // Files chosen together go one by one, the selection unchanged: after a frame
    // they end up reversed, under a direction in the dialog's order.
    AnimationFrames frames;
    const int32_t f = frames.Append(1, "F", frameRecord("f"));
    for (const char* name : {"a", "b", "c"}) frames.InsertAfter(f, name, frameRecord(name));
    for (const char* name : {"x", "y"}) frames.Append(3, name, frameRecord(name));
    EXPECT_EQ(textsOf(frames, 1), (std::vector<std::string>{"F", "c", "b", "a"}));
    EXPECT_EQ(textsOf(frames, 3), (std::vector<std::string>{"x", "y"}));
    EXPECT_EQ(frames.InsertAfter(999, "lost", frameRecord("lost")), 0);
    EXPECT_EQ(frames.Append(6, "lost", frameRecord("lost")), 0);
    EXPECT_EQ(frames.Count(), 6);
}

TEST(AnimationFramesModel, AFrameDroppedOnAnotherGoesRightAfterItKeepingItsRecord) {
    AnimationFrames frames;
    const int32_t a = frames.Append(1, "a", frameRecord("a", 5, 0x0000FF));
    const int32_t b = frames.Append(1, "b", frameRecord("b"));
    const int32_t s = frames.Append(3, "s", frameRecord("s"));
    const int32_t t = frames.Append(3, "t", frameRecord("t"));
    struct Case {
        int32_t source, target;
        bool moved;
        std::vector<std::string> front, side;
    } cases[] = {
        {a, s, true, {"b"}, {"s", "a", "t"}},
        {a, a, false, {"b"}, {"s", "a", "t"}},
        {t, b, true, {"b", "t"}, {"s", "a"}},
        {0, b, false, {"b", "t"}, {"s", "a"}},
        {b, 0, false, {"b", "t"}, {"s", "a"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(frames.MoveAfter(c.source, c.target), c.moved);
        EXPECT_EQ(textsOf(frames, 1), c.front);
        EXPECT_EQ(textsOf(frames, 3), c.side);
    }
    ASSERT_TRUE(frames.Find(a));
    EXPECT_EQ(frames.Find(a)->Record.Time, 5);
    EXPECT_EQ(frames.Find(a)->Record.Colour, 0x0000FF);
    EXPECT_EQ(frames.Place(a), std::make_pair(3, 1));
    EXPECT_TRUE(frames.Remove(a));
    EXPECT_FALSE(frames.Find(a));
}

TEST(AnimationFramesModel, FrameTimesAreWholeAndWithinTheirLimits) {
    struct Case {
        double typed;
        int32_t time;
    } cases[] = {{0, 1}, {-4, 1}, {1, 1}, {5.5, 6}, {6.5, 6}, {250, 250}, {1e12, 2147483647},
                 {std::numeric_limits<double>::quiet_NaN(), 1}};
    for (const Case& c : cases) EXPECT_EQ(textures::FrameTimeOf(c.typed), c.time) << c.typed;
}

class AnimationWritingTest : public TextureCommandsFixture {};

TEST_F(AnimationWritingTest, DefaultNamesTakeTheFirstFreeCounter) {
    EXPECT_EQ(textures::GetDefaultAnimName(), "Animation01");
    OMBREL_animation_create("Animation01");
    OMBREL_animation_create("Animation02");
    EXPECT_EQ(textures::GetDefaultAnimName(), "Animation03");
}

TEST_F(AnimationWritingTest, TimesWrittenDirectionByDirectionAreReadBackOnTheSameFrames) {
    const std::string a = writeBitmap("a"), b = writeBitmap("b"), c = writeBitmap("c"), d = writeBitmap("d");
    AnimationFrames frames;
    frames.Append(1, "a", frameRecord(a, 5));
    frames.Append(1, "b", frameRecord(b, 6));
    frames.Append(3, "c", frameRecord(c, 7));
    frames.Append(3, "d", frameRecord(d, 8));

    const int32_t anim = textures::WriteAnimation(0, 0, "walk", frames);

    ASSERT_NE(anim, 0);
    EXPECT_EQ(OMBREL_animation_get_handle("walk"), anim);
    EXPECT_EQ(OMBREL_ext_animation_get_save_flag(anim), 1);
    for (int32_t i = 0; i < 4; ++i) EXPECT_EQ(OMBREL_animation_get_frame_time(anim, i), 5 + i);
    const AnimationFrames read = textures::ReadAnimation(anim);
    EXPECT_EQ(textsOf(read, 1), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(textsOf(read, 3), (std::vector<std::string>{"c", "d"}));
    std::vector<int32_t> times;
    for (int32_t dir : {1, 3})
        for (const textures::Frame& f : read.Direction(dir)) times.push_back(f.Record.Time);
    EXPECT_EQ(times, (std::vector<int32_t>{5, 6, 7, 8}));
    EXPECT_EQ(read.Direction(1)[0].Record.Colour, textures::ButtonFaceColour);
}

TEST_F(AnimationWritingTest, OnePictureUsedTwiceKeepsBothFramesThroughEditAndOk) {
    const int32_t pic = loadBitmap("pic"), other = loadBitmap("other");
    const int32_t anim = animation("twice", {{pic, other, pic}, {pic}});
    const AnimationFrames read = textures::ReadAnimation(anim);
    ASSERT_EQ(read.Count(), 4);

    ASSERT_EQ(textures::WriteAnimation(1, anim, "twice", read), anim);

    EXPECT_EQ(OMBREL_animation_get_number_of_bitmaps(anim), 4);
    EXPECT_EQ(OMBREL_animation_get_bitmap(anim, 1, 2), pic);
    EXPECT_EQ(OMBREL_animation_get_bitmap(anim, 2, 0), pic);
}

TEST_F(AnimationWritingTest, ATransparentColourBecomesTheFramesIndexAndNoColourNone) {
    const auto path = folder() / "keyed.bmp";
    writeBmp8(path, 2, 1, {{255, 255, 255}, {0, 0, 255}}, {0, 1});
    AnimationFrames frames;
    frames.Append(1, "white", frameRecord(path.string(), 10, -1));
    frames.Append(1, "face", frameRecord(path.string(), 10, textures::ButtonFaceColour));
    frames.Append(1, "blue", frameRecord(path.string(), 10, 0xFF0000));
    const int32_t anim = textures::WriteAnimation(0, 0, "keyed", frames);
    ASSERT_NE(anim, 0);
    // No colour never makes white (or any colour) transparent.
    EXPECT_EQ(OMBREL_animation_get_frame_transparent_index(anim, 1, 0), -1);
    EXPECT_EQ(OMBREL_animation_get_frame_transparent_index(anim, 1, 1), -1);
    EXPECT_EQ(OMBREL_animation_get_frame_transparent_index(anim, 1, 2), 1);
    EXPECT_EQ(textures::ReadAnimation(anim).Direction(1)[2].Record.Colour, 0xFF0000);
}

TEST_F(AnimationWritingTest, AFrameWhoseFileHasGoneLeavesTheAnimationUntouched) {
    const int32_t kept = loadBitmap("kept");
    const int32_t anim = animation("walk", {{kept}});
    const std::string lost = writeBitmap("lost");
    AnimationFrames frames = textures::ReadAnimation(anim);
    const int32_t id = frames.Append(1, "lost", frameRecord(lost));
    std::filesystem::remove(lost);
    int32_t failed = 0;

    EXPECT_EQ(textures::WriteAnimation(1, anim, "renamed", frames, &failed), 0);

    EXPECT_EQ(failed, id);
    EXPECT_EQ(OMBREL_animation_get_number_of_bitmaps(anim), 1);
    EXPECT_EQ(OMBREL_animation_get_handle("walk"), anim);
    // A frame read from the engine whose file went since still has its bitmap.
    std::filesystem::remove(folder() / "kept.bmp");
    ASSERT_TRUE(frames.Remove(id));
    EXPECT_EQ(textures::WriteAnimation(1, anim, "renamed", frames), anim);
    EXPECT_EQ(OMBREL_animation_get_bitmap(anim, 1, 0), kept);
}

}  // namespace
