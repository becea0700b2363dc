// Pictures for painting: loading by path, nearest-texel stretching, saving.
#include "bmp_writer.h"
#include "engine_fixture.h"

#include <filesystem>

namespace {

class UtilitiesTest : public EngineTest {
protected:
    TempFolder dir;
    std::string write2x2(const std::string& name, TestRgb a, TestRgb b, TestRgb c, TestRgb d) {
        auto path = dir.path() / name;
        writeBmp24(path, 2, 2, {a, b, c, d});
        return path.string();
    }
};

const TestRgb kRed{255, 0, 0}, kGreen{0, 255, 0}, kBlue{0, 0, 255}, kWhite{255, 255, 255};

TEST_F(UtilitiesTest, SamePathGivesTheSamePictureUntilTheFileChanges) {
    std::string path = write2x2("a.bmp", kRed, kGreen, kBlue, kWhite);
    int32_t first = OMBREL_utilities_load_bitmap_from_file(path.c_str());
    ASSERT_NE(first, 0) << OMBREL_ext_get_last_error();
    EXPECT_EQ(OMBREL_ext_handle_kind(first), OMBREL_KIND_PICTURE);
    EXPECT_EQ(OMBREL_utilities_load_bitmap_from_file(path.c_str()), first);
    EXPECT_EQ(OMBREL_bitmap_get_first_bitmap(), 0);  // not a world bitmap

    writeBmp24(path, 3, 1, {kWhite, kWhite, kWhite});
    std::filesystem::last_write_time(path, std::filesystem::last_write_time(path) + std::chrono::seconds(5));
    int32_t again = OMBREL_utilities_load_bitmap_from_file(path.c_str());
    ASSERT_NE(again, 0);
    EXPECT_NE(again, first);

    EXPECT_EQ(OMBREL_utilities_load_bitmap_from_file((dir.path() / "missing.bmp").c_str()), 0);
    EXPECT_EQ(OMBREL_utilities_load_bitmap_from_file(nullptr), 0);
}

TEST_F(UtilitiesTest, CopyStretchesByNearestTexelAndClips) {
    std::string path = write2x2("b.bmp", kRed, kGreen, kBlue, kWhite);
    int32_t pic = OMBREL_utilities_load_bitmap_from_file(path.c_str());
    int32_t dc = OMBREL_ext_surface_create(8, 8);
    uint8_t* px = nullptr;
    int32_t stride = 0;
    OMBREL_ext_surface_get_pixels(dc, &px, nullptr, nullptr, &stride);
    auto at = [&](int x, int y) {
        const uint8_t* p = px + y * stride + x * 4;
        return TestRgb{p[0], p[1], p[2]};
    };
    auto same = [](TestRgb a, TestRgb b) { return a.r == b.r && a.g == b.g && a.b == b.b; };

    // 2 x 2 texels onto 6 x 6 pixels from (4, 4): only the 4 x 4 inside the surface drawn.
    ASSERT_EQ(OMBREL_utilities_copy_bitmap_on_dc(dc, pic, 4, 4, 6, 6), 0);
    EXPECT_TRUE(same(at(3, 3), {0, 0, 0}));
    EXPECT_TRUE(same(at(4, 4), kRed));
    EXPECT_TRUE(same(at(6, 6), kRed));
    EXPECT_TRUE(same(at(7, 4), kGreen));  // column 3 of 6 takes texel 1
    EXPECT_TRUE(same(at(4, 7), kBlue));
    EXPECT_TRUE(same(at(7, 7), kWhite));

    // Every pixel is one of the true texel colours, never a blend.
    ASSERT_EQ(OMBREL_utilities_copy_bitmap_on_dc(dc, pic, -3, -1, 11, 7), 0);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            TestRgb c = at(x, y);
            EXPECT_TRUE(same(c, kRed) || same(c, kGreen) || same(c, kBlue) || same(c, kWhite) ||
                        (y >= 6 && same(c, {0, 0, 0})))
                << x << "," << y;
        }
    EXPECT_EQ(OMBREL_utilities_copy_bitmap_on_dc(dc, dc, 0, 0, 4, 4), -1);
    EXPECT_EQ(OMBREL_utilities_copy_bitmap_on_dc(pic, pic, 0, 0, 4, 4), -1);
    OMBREL_ext_surface_destroy(dc);
}

TEST_F(UtilitiesTest, SavesPicturesAndBitmapsAs24BitFiles) {
    std::string path = write2x2("c.bmp", kRed, kGreen, kBlue, kWhite);
    int32_t pic = OMBREL_utilities_load_bitmap_from_file(path.c_str());
    int32_t bitmap = OMBREL_bitmap_load(path.c_str(), -1);
    for (const char* name : {"out.bmp", "out.JPG"}) {
        SCOPED_TRACE(name);
        auto out = dir.path() / name;
        ASSERT_EQ(OMBREL_utilities_save_bitmap24(pic, out.c_str()), 0) << OMBREL_ext_get_last_error();
        int32_t back = OMBREL_utilities_load_bitmap_from_file(out.c_str());
        ASSERT_NE(back, 0) << OMBREL_ext_get_last_error();
    }
    auto fromBitmap = dir.path() / "bitmap.bmp";
    EXPECT_EQ(OMBREL_utilities_save_bitmap24(bitmap, fromBitmap.c_str()), 0);
    EXPECT_TRUE(std::filesystem::exists(fromBitmap));
    auto bad = dir.path() / "c.bmp" / "inside.bmp";  // parent is a file
    EXPECT_EQ(OMBREL_utilities_save_bitmap24(pic, bad.c_str()), -1);
    EXPECT_EQ(OMBREL_utilities_save_bitmap24(0, fromBitmap.c_str()), -1);
}

}  // namespace
