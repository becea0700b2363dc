// Backgrounds: defaults, stored values, names and the list.
#include "engine_fixture.h"

#include <cmath>
#include <string>

class BackgroundTest : public EngineTest {};

TEST_F(BackgroundTest, NewBackgroundHasTheDocumentedDefaults) {
    const int32_t b = OMBREL_background_create("sky", 0);
    ASSERT_NE(b, 0);
    EXPECT_EQ(OMBREL_ext_handle_kind(b), OMBREL_KIND_BACKGROUND);
    EXPECT_STREQ(OMBREL_background_get_name(b), "sky");
    EXPECT_EQ(OMBREL_background_get_bitmap(b), 0);
    EXPECT_EQ(OMBREL_background_get_bottom(b), -5500);
    EXPECT_EQ(OMBREL_background_get_bottom_intensity(b), 0);
    EXPECT_EQ(OMBREL_background_get_distance(b), 30000);
    EXPECT_EQ(OMBREL_background_get_intensity_step(b), 0.3);
    EXPECT_EQ(OMBREL_ext_background_get_save_flag(b), 1);
}

TEST_F(BackgroundTest, ValuesAreStoredExactlyExceptANonPositiveDistance) {
    const int32_t b = OMBREL_background_create("sky", 0);
    ASSERT_EQ(OMBREL_background_set_bottom(b, 123.25), 0);
    ASSERT_EQ(OMBREL_background_set_bottom_intensity(b, 0.7), 0);
    ASSERT_EQ(OMBREL_background_set_intensity_step(b, -0.05), 0);
    EXPECT_EQ(OMBREL_background_get_bottom(b), 123.25);
    EXPECT_EQ(OMBREL_background_get_bottom_intensity(b), 0.7);
    EXPECT_EQ(OMBREL_background_get_intensity_step(b), -0.05);

    const struct {
        double given, stored;
    } distances[] = {{2500.5, 2500.5}, {1e-9, 1e-9}, {0, 1}, {-40, 1}};
    for (const auto& d : distances) {
        ASSERT_EQ(OMBREL_background_set_distance(b, d.given), 0);
        EXPECT_EQ(OMBREL_background_get_distance(b), d.stored) << d.given;
    }
    ASSERT_EQ(OMBREL_background_set_save_flag(b, 0), 0);
    EXPECT_EQ(OMBREL_ext_background_get_save_flag(b), 0);
}

TEST_F(BackgroundTest, NameIsAnEngineOwnedStringAndEmptyForStaleHandles) {
    const int32_t b = OMBREL_background_create("first", 0);
    ASSERT_EQ(OMBREL_background_set_name(b, "renamed"), 0);
    EXPECT_STREQ(OMBREL_background_get_name(b), "renamed");
    ASSERT_EQ(OMBREL_background_set_name(b, ""), 0);
    EXPECT_STREQ(OMBREL_background_get_name(b), "");
    ASSERT_EQ(OMBREL_background_set_name(b, std::string(400, 'n').c_str()), 0);
    EXPECT_EQ(std::string(OMBREL_background_get_name(b)), std::string(254, 'n'));

    OMBREL_background_delete(b);
    const char* stale = OMBREL_background_get_name(b);
    ASSERT_NE(stale, nullptr);
    EXPECT_STREQ(stale, "");
}

TEST_F(BackgroundTest, ListKeepsCreationOrderWhateverTheSaveFlag) {
    const int32_t a = OMBREL_background_create("a", 0);
    const int32_t b = OMBREL_background_create("b", 0);
    const int32_t c = OMBREL_background_create("a", 0);
    OMBREL_background_set_save_flag(b, 0);
    EXPECT_EQ(OMBREL_background_get_first_background(), a);
    EXPECT_EQ(OMBREL_background_get_next(a), b);
    EXPECT_EQ(OMBREL_background_get_next(b), c);
    EXPECT_EQ(OMBREL_background_get_next(c), 0);
    EXPECT_EQ(OMBREL_background_get_handle("a"), a);
    EXPECT_EQ(OMBREL_background_get_handle("A"), 0);
    OMBREL_background_delete(a);
    EXPECT_EQ(OMBREL_background_get_handle("a"), c);
    EXPECT_EQ(OMBREL_background_get_first_background(), b);
}

TEST_F(BackgroundTest, UseAcceptsLiveBackgroundsAndNone) {
    const int32_t a = OMBREL_background_create("a", 0);
    EXPECT_EQ(OMBREL_background_use(a), 0);
    EXPECT_EQ(OMBREL_background_use(0), 0);
    EXPECT_EQ(OMBREL_background_use(a), 0);
    // Deleting the one in use is allowed; its handle can no longer be used.
    EXPECT_EQ(OMBREL_background_delete(a), 0);
    EXPECT_EQ(OMBREL_background_use(a), -1);
    const int32_t notABackground = OMBREL_animation_create("x");
    EXPECT_EQ(OMBREL_background_use(notABackground), -1);
}

TEST_F(BackgroundTest, AHandleThatIsNoLiveBitmapMeansNone) {
    const int32_t gone = OMBREL_animation_create("gone");
    OMBREL_animation_delete(gone);
    const int32_t wrongKind = OMBREL_track_create("t", 0, nullptr, 0);
    for (int32_t bitmap : {gone, wrongKind}) {
        const int32_t b = OMBREL_background_create("b", bitmap);
        ASSERT_NE(b, 0);
        EXPECT_EQ(OMBREL_background_get_bitmap(b), 0);
        EXPECT_EQ(OMBREL_background_set_bitmap(b, bitmap), 0);
        EXPECT_EQ(OMBREL_background_get_bitmap(b), 0);
    }
}
