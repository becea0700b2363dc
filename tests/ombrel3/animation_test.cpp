// Animations: frames per viewing direction, the flat frame-time list, the list
// and names.
#include "bmp_writer.h"
#include "engine_fixture.h"

#include <string>
#include <vector>

namespace {

std::vector<int32_t> framesOf(int32_t anim, int32_t direction) {
    std::vector<int32_t> out;
    for (int32_t pos = 0;; ++pos) {
        int32_t b = OMBREL_animation_get_bitmap(anim, direction, pos);
        if (b == 0) return out;
        out.push_back(b);
    }
}

}  // namespace

class AnimationTest : public EngineTest {
protected:
    TempFolder dir;
    int32_t bitmap(const std::string& name, int32_t transparentIndex = -1) {
        const auto path = dir.path() / (name + ".bmp");
        writeBmp24(path, 1, 1, {{1, 2, 3}});
        int32_t b = OMBREL_bitmap_load(path.c_str(), transparentIndex);
        EXPECT_NE(b, 0) << OMBREL_ext_get_last_error();
        return b;
    }
};

TEST_F(AnimationTest, NewAnimationIsEmptyListedAndSaved) {
    const int32_t a = OMBREL_animation_create("walk");
    const int32_t b = OMBREL_animation_create("run");
    const int32_t c = OMBREL_animation_create("walk");
    ASSERT_NE(a, 0);
    EXPECT_EQ(OMBREL_ext_handle_kind(a), OMBREL_KIND_ANIMATION);
    EXPECT_EQ(OMBREL_animation_get_number_of_frames(a), 0);
    EXPECT_EQ(OMBREL_animation_get_number_of_bitmaps(a), 0);
    EXPECT_EQ(OMBREL_ext_animation_get_save_flag(a), 1);
    EXPECT_EQ(OMBREL_animation_get_first_animation(), a);
    EXPECT_EQ(OMBREL_animation_get_next(a), b);
    EXPECT_EQ(OMBREL_animation_get_next(b), c);
    EXPECT_EQ(OMBREL_animation_get_next(c), 0);
    EXPECT_EQ(OMBREL_animation_get_handle("walk"), a);
    EXPECT_EQ(OMBREL_animation_get_handle("Walk"), 0);

    ASSERT_EQ(OMBREL_animation_set_name(a, "stroll"), 0);
    EXPECT_EQ(OMBREL_animation_get_handle("walk"), c);
    ASSERT_EQ(OMBREL_animation_set_save_flag(b, 0), 0);
    EXPECT_EQ(OMBREL_ext_animation_get_save_flag(b), 0);
    EXPECT_EQ(OMBREL_animation_get_next(a), b);  // the list keeps every animation

    ASSERT_EQ(OMBREL_animation_delete(b), 0);
    EXPECT_EQ(OMBREL_animation_get_next(a), c);
}

TEST_F(AnimationTest, FrameTimesFormOneFlatListDefaultingToTen) {
    const int32_t a = OMBREL_animation_create("a");
    EXPECT_EQ(OMBREL_animation_get_frame_time(a, 0), 10);
    EXPECT_EQ(OMBREL_animation_get_frame_time(a, 500), 10);
    ASSERT_EQ(OMBREL_animation_set_frame_time(a, 3, 25), 0);
    const struct {
        int32_t frame, time;
    } expected[] = {{0, 10}, {1, 10}, {2, 10}, {3, 25}, {4, 10}};
    for (const auto& e : expected) EXPECT_EQ(OMBREL_animation_get_frame_time(a, e.frame), e.time) << e.frame;

    const struct {
        int32_t given, stored;
    } clamps[] = {{1, 1}, {0, 1}, {-40, 1}, {12345, 12345}};
    for (const auto& c : clamps) {
        ASSERT_EQ(OMBREL_animation_set_frame_time(a, 1, c.given), 0);
        EXPECT_EQ(OMBREL_animation_get_frame_time(a, 1), c.stored) << c.given;
    }
    EXPECT_EQ(OMBREL_animation_set_frame_time(a, -1, 5), -1);
    EXPECT_EQ(OMBREL_animation_set_frame_time(a, 0x7fffffff, 5), -1);  // refused, not grown
    EXPECT_EQ(OMBREL_animation_get_frame_time(a, -1), 0);
}

TEST_F(AnimationTest, FramesAreInsertedAndRemovedPerDirection) {
    const int32_t a = OMBREL_animation_create("a");
    const int32_t b1 = bitmap("b1"), b2 = bitmap("b2"), b3 = bitmap("b3");

    ASSERT_EQ(OMBREL_animation_add_bitmap(a, OMBREL_ANIM_FRONT, b1, 0), 0);
    ASSERT_EQ(OMBREL_animation_add_bitmap(a, OMBREL_ANIM_FRONT, b2, 0), 0);   // shifts b1 up
    ASSERT_EQ(OMBREL_animation_add_bitmap(a, OMBREL_ANIM_FRONT, b3, 99), 0);  // beyond the end appends
    ASSERT_EQ(OMBREL_animation_add_bitmap(a, OMBREL_ANIM_FRONT, b1, 1), 0);   // same bitmap twice is fine
    ASSERT_EQ(OMBREL_animation_add_bitmap(a, OMBREL_ANIM_SIDE, b3, 0), 0);
    ASSERT_EQ(OMBREL_animation_add_bitmap(a, OMBREL_ANIM_BACK, b2, 0), 0);
    ASSERT_EQ(OMBREL_animation_add_bitmap(a, OMBREL_ANIM_BACK, b1, 1), 0);

    EXPECT_EQ(framesOf(a, 1), (std::vector<int32_t>{b2, b1, b1, b3}));
    EXPECT_EQ(framesOf(a, 2), (std::vector<int32_t>{}));
    EXPECT_EQ(framesOf(a, 3), (std::vector<int32_t>{b3}));
    EXPECT_EQ(framesOf(a, 5), (std::vector<int32_t>{b2, b1}));
    EXPECT_EQ(OMBREL_animation_get_number_of_frames(a), 4);
    EXPECT_EQ(OMBREL_animation_get_number_of_bitmaps(a), 7);

    for (int32_t direction : {0, 6, -1}) {
        EXPECT_EQ(OMBREL_animation_add_bitmap(a, direction, b1, 0), -1) << direction;
        EXPECT_EQ(OMBREL_animation_get_bitmap(a, direction, 0), 0) << direction;
        EXPECT_EQ(OMBREL_animation_remove_bitmap(a, direction, 0), -1) << direction;
    }
    EXPECT_EQ(OMBREL_animation_get_bitmap(a, 1, -1), 0);
    EXPECT_EQ(OMBREL_animation_add_bitmap(a, 1, 0, 0), -1);
    EXPECT_EQ(OMBREL_animation_add_bitmap(a, 1, a, 0), -1);  // not a bitmap
    EXPECT_EQ(OMBREL_animation_add_bitmap(a, 1, b1, -1), -1);

    OMBREL_animation_set_frame_time(a, 2, 40);
    ASSERT_EQ(OMBREL_animation_remove_bitmap(a, 1, 1), 0);  // later frames shift down
    EXPECT_EQ(framesOf(a, 1), (std::vector<int32_t>{b2, b1, b3}));
    EXPECT_EQ(OMBREL_animation_get_frame_time(a, 2), 40);  // times are not touched
    EXPECT_EQ(OMBREL_animation_remove_bitmap(a, 1, 3), -1);
    EXPECT_EQ(OMBREL_animation_remove_bitmap(a, 2, 0), -1);
    EXPECT_EQ(OMBREL_animation_get_number_of_bitmaps(a), 6);
}

TEST_F(AnimationTest, FrameTransparentIndexComesFromTheFramesBitmap) {
    const int32_t a = OMBREL_animation_create("a");
    const int32_t opaque = bitmap("frame");
    const int32_t keyed = OMBREL_bitmap_load((dir.path() / "frame.bmp").c_str(), 17);
    ASSERT_NE(keyed, 0);
    OMBREL_animation_add_bitmap(a, 2, opaque, 0);
    OMBREL_animation_add_bitmap(a, 2, keyed, 1);
    EXPECT_EQ(OMBREL_animation_get_frame_transparent_index(a, 2, 0), -1);
    EXPECT_EQ(OMBREL_animation_get_frame_transparent_index(a, 2, 1), 17);
    EXPECT_EQ(OMBREL_animation_get_frame_transparent_index(a, 2, 2), -1);
    EXPECT_EQ(OMBREL_animation_get_frame_transparent_index(a, 1, 0), -1);
}

TEST_F(AnimationTest, DeletingKeepsTheFrameBitmapsLoaded) {
    const int32_t a = OMBREL_animation_create("a");
    const int32_t b = bitmap("kept");
    OMBREL_animation_add_bitmap(a, 1, b, 0);
    ASSERT_EQ(OMBREL_animation_delete(a), 0);
    EXPECT_EQ(OMBREL_ext_handle_kind(a), OMBREL_KIND_NONE);
    EXPECT_EQ(OMBREL_bitmap_get_width(b), 1);
    EXPECT_EQ(OMBREL_bitmap_get_first_bitmap(), b);
}

TEST_F(AnimationTest, DeletingRevertsItsPolygonsToColour) {
    const int32_t a = OMBREL_animation_create("a");
    const int32_t kept = OMBREL_animation_create("kept");
    const int32_t g = OMBREL_group_create("g");
    const int32_t p = makeSquareFacingUp(g, 0, 0, 0, 1);
    const int32_t q = makeSquareFacingUp(g, 2, 0, 0, 1);
    ASSERT_EQ(OMBREL_polygon_set_animation(p, a), 0);
    ASSERT_EQ(OMBREL_polygon_set_animation(q, kept), 0);
    ASSERT_EQ(OMBREL_animation_delete(a), 0);
    EXPECT_EQ(OMBREL_polygon_get_animation(p), 0);
    EXPECT_EQ(OMBREL_polygon_get_bitmap_handle(p), 0);
    EXPECT_EQ(OMBREL_polygon_get_animation(q), kept);
}
