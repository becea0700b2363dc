// Tracks: creation from a point buffer, point editing and the saved-only list.
#include "engine_fixture.h"

#include <vector>

namespace {

std::vector<P3> pointsOf(int32_t track) {
    std::vector<P3> out(static_cast<std::size_t>(OMBREL_track_get_number_of_points(track)));
    for (std::size_t i = 0; i < out.size(); ++i) OMBREL_track_get_point(track, static_cast<int32_t>(i), out[i].data());
    return out;
}

}  // namespace

class TrackTest : public EngineTest {};

TEST_F(TrackTest, CreateTakesPointsInOrder) {
    const double pts[9] = {1, 2, 3, 4, 5, 6, -7, 8.5, 1e-9};
    const int32_t t = OMBREL_track_create("path", 1, pts, 3);
    ASSERT_NE(t, 0);
    EXPECT_EQ(OMBREL_ext_handle_kind(t), OMBREL_KIND_TRACK);
    EXPECT_EQ(pointsOf(t), (std::vector<P3>{{1, 2, 3}, {4, 5, 6}, {-7, 8.5, 1e-9}}));
    EXPECT_EQ(OMBREL_track_is_cyclic(t), 1);
    EXPECT_EQ(OMBREL_ext_track_get_save_flag(t), 1);

    const int32_t open = OMBREL_track_create("open", 0, pts, 1);
    EXPECT_EQ(OMBREL_track_is_cyclic(open), 0);
    EXPECT_EQ(OMBREL_track_get_number_of_points(OMBREL_track_create("empty", 0, pts, 0)), 0);
    EXPECT_EQ(OMBREL_track_get_number_of_points(OMBREL_track_create("negative", 0, pts, -4)), 0);
    EXPECT_EQ(OMBREL_track_get_number_of_points(OMBREL_track_create("none", 0, nullptr, 0)), 0);
    EXPECT_EQ(OMBREL_track_create("missing buffer", 0, nullptr, 2), 0);
}

TEST_F(TrackTest, PointEditingKeepsIndicesInRange) {
    const double pts[6] = {0, 0, 0, 10, 0, 0};
    const int32_t t = OMBREL_track_create("t", 0, pts, 2);
    const double p[3] = {5, 6, 7};
    ASSERT_EQ(OMBREL_track_set_point(t, 1, p), 0);
    EXPECT_EQ(pointsOf(t), (std::vector<P3>{{0, 0, 0}, {5, 6, 7}}));

    double out[3] = {9, 9, 9};
    for (int32_t bad : {-1, 2, 1000}) {
        EXPECT_EQ(OMBREL_track_get_point(t, bad, out), -1) << bad;
        EXPECT_EQ(OMBREL_track_set_point(t, bad, p), -1) << bad;
    }
    EXPECT_EQ(out[0], 9);  // untouched on failure
    EXPECT_EQ(OMBREL_track_get_number_of_points(t), 2);
}

TEST_F(TrackTest, ResizingKeepsTheHeadAndRepeatsTheLastPoint) {
    struct Case {
        std::vector<double> start;
        int32_t count;
        std::vector<P3> expected;
    };
    const Case cases[] = {
        {{1, 1, 1, 2, 2, 2}, 4, {{1, 1, 1}, {2, 2, 2}, {2, 2, 2}, {2, 2, 2}}},
        {{1, 1, 1, 2, 2, 2, 3, 3, 3}, 1, {{1, 1, 1}}},
        {{1, 1, 1}, 0, {}},
        {{}, 2, {{0, 0, 0}, {0, 0, 0}}},
    };
    for (const Case& c : cases) {
        const int32_t t = OMBREL_track_create("t", 0, c.start.data(), static_cast<int32_t>(c.start.size() / 3));
        ASSERT_EQ(OMBREL_track_set_number_of_points(t, c.count), 0) << c.count;
        EXPECT_EQ(pointsOf(t), c.expected) << "from " << c.start.size() / 3 << " to " << c.count;
    }
    const int32_t t = OMBREL_track_create("t", 0, nullptr, 0);
    EXPECT_EQ(OMBREL_track_set_number_of_points(t, -1), -1);
    EXPECT_EQ(OMBREL_track_set_number_of_points(t, 0x7fffffff), -1);  // refused, not attempted
    EXPECT_EQ(OMBREL_track_get_number_of_points(t), 0);
}

TEST_F(TrackTest, PointsBufferReplacesEveryPoint) {
    const double start[9] = {1, 1, 1, 2, 2, 2, 3, 3, 3};
    const int32_t t = OMBREL_track_create("t", 1, start, 3);
    const double next[6] = {9, 8, 7, 6, 5, 4};
    ASSERT_EQ(OMBREL_track_set_points_buffer(t, next, 2), 0);
    EXPECT_EQ(pointsOf(t), (std::vector<P3>{{9, 8, 7}, {6, 5, 4}}));
    EXPECT_EQ(OMBREL_track_is_cyclic(t), 1);

    EXPECT_EQ(OMBREL_track_set_points_buffer(t, nullptr, 2), -1);
    EXPECT_EQ(OMBREL_track_set_points_buffer(t, next, -1), -1);
    EXPECT_EQ(OMBREL_track_get_number_of_points(t), 2);  // a refused buffer changes nothing
    ASSERT_EQ(OMBREL_track_set_points_buffer(t, nullptr, 0), 0);
    EXPECT_EQ(OMBREL_track_get_number_of_points(t), 0);
}

TEST_F(TrackTest, ListHoldsOnlySavedTracksAndNamesFindAny) {
    const int32_t a = OMBREL_track_create("a", 0, nullptr, 0);
    const int32_t b = OMBREL_track_create("b", 0, nullptr, 0);
    const int32_t c = OMBREL_track_create("a", 0, nullptr, 0);
    EXPECT_EQ(OMBREL_track_get_first_track(), a);
    EXPECT_EQ(OMBREL_track_get_next(a), b);
    EXPECT_EQ(OMBREL_track_get_next(b), c);
    EXPECT_EQ(OMBREL_track_get_next(c), 0);

    ASSERT_EQ(OMBREL_track_set_save_flag(b, 0), 0);
    EXPECT_EQ(OMBREL_ext_track_get_save_flag(b), 0);
    EXPECT_EQ(OMBREL_track_get_next(a), c);
    EXPECT_EQ(OMBREL_track_get_using_name("b"), b);
    EXPECT_EQ(OMBREL_track_get_using_name("a"), a);
    EXPECT_EQ(OMBREL_track_get_using_name("NO_TRACK"), 0);

    ASSERT_EQ(OMBREL_track_set_name(a, "NO_TRACK"), 0);
    EXPECT_EQ(OMBREL_track_get_using_name("NO_TRACK"), a);
    EXPECT_EQ(OMBREL_track_get_using_name("a"), c);

    ASSERT_EQ(OMBREL_track_delete(a), 0);
    EXPECT_EQ(OMBREL_track_get_first_track(), c);
    EXPECT_EQ(OMBREL_track_get_using_name("NO_TRACK"), 0);
}
