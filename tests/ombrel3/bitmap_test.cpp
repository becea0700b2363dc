// Bitmaps: finding files by path or engine name, one handle per (file, index),
// palettes, exact colour look-up, and what unloading leaves behind.
#include "bmp_writer.h"
#include "engine_fixture.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::vector<TestRgb> solid(int w, int h, TestRgb c) { return std::vector<TestRgb>(static_cast<std::size_t>(w) * h, c); }

TestRgb rgbOf(int32_t bitmap, int32_t index) {
    TestRgb c{0, 0, 0};
    EXPECT_EQ(OMBREL_bitmap_index_to_rgb(bitmap, index, &c.r, &c.g, &c.b), 0);
    return c;
}

bool same(TestRgb a, TestRgb b) { return a.r == b.r && a.g == b.g && a.b == b.b; }

// Restores the working folder a test changed.
struct WorkingFolder {
    fs::path saved = fs::current_path();
    explicit WorkingFolder(const fs::path& p) { fs::current_path(p); }
    ~WorkingFolder() { fs::current_path(saved); }
};

}  // namespace

class BitmapTest : public EngineTest {
protected:
    TempFolder dir;
    fs::path at(const std::string& name) const { return dir.path() / name; }
    void write(const std::string& name, int w = 2, int h = 2, TestRgb c = {10, 20, 30}) {
        writeBmp24(at(name), w, h, solid(w, h, c));
    }
};

TEST_F(BitmapTest, ReferencesResolveByPathOrEngineNameInAnyExtensionCase) {
    write("plain.bmp", 1, 1);
    write("UPPER.BMP", 2, 1);
    write("photo.jpg", 3, 1);   // decoded by content, so a BMP body serves here
    write("mixed.JpEg", 4, 1);
    write("dotted.name.bmp", 5, 1);
    write("noext", 6, 1);
    write("sub/inbitmaps.bmp", 7, 1);
    write("sub/both.bmp", 8, 1);
    write("both.bmp", 9, 1);
    ASSERT_EQ(OMBREL_engine_load_world(nullptr, "", at("sub").c_str(), OMBREL_LOAD_EDITOR), 0);
    WorkingFolder cwd(dir.path());

    const struct {
        std::string reference;
        int width;          // which file was read; 0 = none
        std::string name;   // engine name, relative to the folder
    } cases[] = {
        {at("plain.bmp"), 1, "plain"},
        {at("plain"), 1, "plain"},
        {at("UPPER"), 2, "UPPER"},
        {at("UPPER.BMP"), 2, "UPPER"},
        {at("photo"), 3, "photo"},
        {at("mixed"), 4, "mixed"},
        {at("dotted.name"), 5, "dotted.name"},
        {at("noext"), 6, "noext"},
        {at("sub/../plain"), 1, "plain"},
        {"inbitmaps", 7, "sub/inbitmaps"},        // the world's bitmap folder
        {"both.bmp", 8, "sub/both"},              // the bitmap folder before the working folder
        {"plain", 1, "plain"},                    // then the working folder
        {"./photo.jpg", 3, "photo"},
        {at("missing"), 0, ""},
        {at("missing.bmp"), 0, ""},
        {at("plain.jpg"), 0, ""},                 // an explicit extension is not swapped
        {at("sub"), 0, ""},                       // a folder
        {"", 0, ""},
    };
    for (const auto& c : cases) {
        OMBREL_ext_clear_last_error();
        const int32_t b = OMBREL_bitmap_load(c.reference.c_str(), -1);
        if (c.width == 0) {
            EXPECT_EQ(b, 0) << c.reference;
            EXPECT_STRNE(OMBREL_ext_get_last_error(), "") << c.reference;
            continue;
        }
        ASSERT_NE(b, 0) << c.reference << ": " << OMBREL_ext_get_last_error();
        EXPECT_EQ(OMBREL_bitmap_get_width(b), c.width) << c.reference;
        const std::string name = (dir.path() / c.name).string();
        EXPECT_EQ(entityName(b), name) << c.reference;
        // The engine name finds the same bitmap again.
        EXPECT_EQ(OMBREL_bitmap_get_handle(name.c_str(), -1), b) << c.reference;
        EXPECT_EQ(OMBREL_bitmap_load(name.c_str(), -1), b) << c.reference;
    }
    EXPECT_EQ(OMBREL_bitmap_load(nullptr, -1), 0);
}

TEST_F(BitmapTest, LongPathsKeepTheirWholeName) {
    fs::path deep = dir.path();
    for (int i = 0; i < 3; ++i) deep /= std::string(120, static_cast<char>('a' + i));
    writeBmp24(deep / "tex.bmp", 1, 1, solid(1, 1, {1, 2, 3}));
    const int32_t b = OMBREL_bitmap_load((deep / "tex.bmp").c_str(), -1);
    ASSERT_NE(b, 0) << OMBREL_ext_get_last_error();
    const std::string name = (deep / "tex").string();
    ASSERT_GT(name.size(), 254u);
    EXPECT_EQ(entityName(b), name);
    EXPECT_EQ(OMBREL_bitmap_load(name.c_str(), -1), b);
}

TEST_F(BitmapTest, OneHandlePerFileAndTransparentIndex) {
    write("tex.bmp", 3, 2);
    const std::string file = at("tex.bmp").string();
    const std::string name = at("tex").string();
    const int32_t plain = OMBREL_bitmap_load(file.c_str(), -1);
    ASSERT_NE(plain, 0) << OMBREL_ext_get_last_error();
    EXPECT_EQ(OMBREL_ext_handle_kind(plain), OMBREL_KIND_BITMAP);
    EXPECT_EQ(OMBREL_bitmap_load(file.c_str(), -1), plain);
    EXPECT_EQ(OMBREL_bitmap_load(name.c_str(), -1), plain);

    const int32_t keyed = OMBREL_bitmap_load(name.c_str(), 5);
    ASSERT_NE(keyed, 0);
    EXPECT_NE(keyed, plain);
    EXPECT_EQ(OMBREL_bitmap_load(file.c_str(), 5), keyed);
    EXPECT_EQ(OMBREL_bitmap_get_transparent_index(plain), -1);
    EXPECT_EQ(OMBREL_bitmap_get_transparent_index(keyed), 5);
    EXPECT_EQ(entityName(keyed), entityName(plain));
    // Both show the same picture.
    EXPECT_EQ(OMBREL_bitmap_get_width(keyed), 3);
    EXPECT_EQ(OMBREL_bitmap_get_height(keyed), 2);
    for (int32_t i : {0, 1, 255}) EXPECT_TRUE(same(rgbOf(keyed, i), rgbOf(plain, i))) << i;

    EXPECT_EQ(OMBREL_bitmap_get_handle(file.c_str(), -1), plain);
    EXPECT_EQ(OMBREL_bitmap_get_handle(name.c_str(), 5), keyed);
    EXPECT_EQ(OMBREL_bitmap_get_handle(name.c_str(), 6), 0);
    EXPECT_EQ(OMBREL_bitmap_get_handle(at("other").c_str(), -1), 0);

    for (int32_t bad : {-2, 256, 1000}) EXPECT_EQ(OMBREL_bitmap_load(file.c_str(), bad), 0) << bad;

    // get_handle answers with any index once the -1 one is gone.
    ASSERT_EQ(OMBREL_bitmap_unload(plain), 0);
    EXPECT_EQ(OMBREL_bitmap_get_handle(file.c_str(), -1), keyed);
    // and by engine name even when the file itself has gone.
    fs::remove(at("tex.bmp"));
    EXPECT_EQ(OMBREL_bitmap_get_handle(name.c_str(), -1), keyed);
    EXPECT_EQ(OMBREL_bitmap_load(name.c_str(), -1), 0);
}

TEST_F(BitmapTest, ListIsInLoadOrderAndUnloadedHandlesGoStale) {
    write("a.bmp");
    write("b.bmp");
    const int32_t a = OMBREL_bitmap_load(at("a.bmp").c_str(), -1);
    const int32_t b = OMBREL_bitmap_load(at("b.bmp").c_str(), -1);
    const int32_t a2 = OMBREL_bitmap_load(at("a.bmp").c_str(), 0);
    EXPECT_EQ(OMBREL_bitmap_get_first_bitmap(), a);
    EXPECT_EQ(OMBREL_bitmap_get_next(a), b);
    EXPECT_EQ(OMBREL_bitmap_get_next(b), a2);
    EXPECT_EQ(OMBREL_bitmap_get_next(a2), 0);

    ASSERT_EQ(OMBREL_bitmap_unload(b), 0);
    EXPECT_EQ(OMBREL_bitmap_get_next(a), a2);
    EXPECT_EQ(OMBREL_ext_handle_kind(b), OMBREL_KIND_NONE);
    EXPECT_EQ(OMBREL_bitmap_get_width(b), 0);
    EXPECT_EQ(OMBREL_bitmap_unload(b), -1);
    // Loading again makes a new handle.
    const int32_t again = OMBREL_bitmap_load(at("b.bmp").c_str(), -1);
    EXPECT_NE(again, 0);
    EXPECT_NE(again, b);
}

// Save flag 0: what an undone merge keeps for Redo. The world neither lists nor
// finds nor shares the bitmap, and a save writes it only where saved geometry uses it.
TEST_F(BitmapTest, ABitmapHeldOutOfTheWorldIsWrittenOnlyWhereSomethingSavedUsesIt) {
    write("a.bmp");
    write("held.bmp", 2, 2, {200, 0, 0});
    const int32_t a = OMBREL_bitmap_load(at("a.bmp").c_str(), -1);
    const int32_t held = OMBREL_bitmap_load(at("held.bmp").c_str(), -1);
    ASSERT_EQ(OMBREL_ext_bitmap_set_save_flag(held, 0), 0);
    EXPECT_EQ(OMBREL_ext_bitmap_get_save_flag(held), 0);
    EXPECT_EQ(OMBREL_bitmap_get_first_bitmap(), a);
    EXPECT_EQ(OMBREL_bitmap_get_next(a), 0);
    EXPECT_EQ(OMBREL_bitmap_get_handle(at("held.bmp").c_str(), -1), 0);
    const int32_t loadedAgain = OMBREL_bitmap_load(at("held.bmp").c_str(), -1);
    EXPECT_NE(loadedAgain, held);
    ASSERT_EQ(OMBREL_bitmap_unload(loadedAgain), 0);

    const int32_t root = OMBREL_group_create("the_world");
    const std::string saved = (dir.path() / "saved.wld").string();
    const auto writes = [&](const char* file) {
        EXPECT_EQ(OMBREL_engine_save(saved.c_str(), root, 0x1203), 0);
        std::ifstream in(saved);
        return std::string(std::istreambuf_iterator<char>(in), {}).find(file) != std::string::npos;
    };
    EXPECT_TRUE(writes("a.bmp"));
    EXPECT_FALSE(writes("held.bmp"));
    OMBREL_polygon_set_bitmap_fill(makeSquareFacingUp(root, 0, 0, 0, 1), held);
    EXPECT_TRUE(writes("held.bmp"));

    ASSERT_EQ(OMBREL_ext_bitmap_set_save_flag(held, 1), 0);
    EXPECT_EQ(OMBREL_bitmap_get_next(a), held);
    EXPECT_EQ(OMBREL_bitmap_get_handle(at("held.bmp").c_str(), -1), held);
}

TEST_F(BitmapTest, UnreadableFilesGiveNoHandle) {
    fs::create_directories(dir.path());
    {
        std::ofstream(at("garbage.bmp"), std::ios::binary) << "BM this is not a picture";
        std::ofstream(at("empty.bmp"), std::ios::binary);
    }
    for (const char* name : {"garbage.bmp", "empty.bmp"}) {
        OMBREL_ext_clear_last_error();
        EXPECT_EQ(OMBREL_bitmap_load(at(name).c_str(), -1), 0) << name;
        EXPECT_STRNE(OMBREL_ext_get_last_error(), "") << name;
    }
    EXPECT_EQ(OMBREL_bitmap_get_first_bitmap(), 0);
}

TEST_F(BitmapTest, AFileChangedOnDiskIsReadAgainAfterUnload) {
    write("tex.bmp", 2, 2);
    const int32_t b = OMBREL_bitmap_load(at("tex.bmp").c_str(), -1);
    ASSERT_EQ(OMBREL_bitmap_get_width(b), 2);
    OMBREL_bitmap_unload(b);
    write("tex.bmp", 5, 3);
    const int32_t updated = OMBREL_bitmap_load(at("tex.bmp").c_str(), -1);
    EXPECT_EQ(OMBREL_bitmap_get_width(updated), 5);
    EXPECT_EQ(OMBREL_bitmap_get_height(updated), 3);
}

TEST_F(BitmapTest, PalettisedFileKeepsItsPaletteAndLooksUpExactColours) {
    // Red twice in the palette: the lowest index answers.
    const std::vector<TestRgb> palette = {{0, 255, 0}, {255, 0, 0}, {0, 0, 255}, {255, 0, 0}, {9, 9, 9}};
    writeBmp8(at("pal.bmp"), 2, 2, palette, {0, 1, 2, 3});
    const int32_t b = OMBREL_bitmap_load(at("pal.bmp").c_str(), -1);
    ASSERT_NE(b, 0) << OMBREL_ext_get_last_error();
    for (int32_t i = 0; i < 5; ++i) EXPECT_TRUE(same(rgbOf(b, i), palette[i])) << i;

    const struct {
        TestRgb colour;
        int32_t index;
    } cases[] = {
        {{0, 255, 0}, 0}, {{255, 0, 0}, 1}, {{0, 0, 255}, 2}, {{9, 9, 9}, 4},
        {{0, 0, 0}, 5},      // the padding entries are black
        {{254, 0, 0}, -1},   // near red, but never the nearest
        {{1, 2, 3}, -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(OMBREL_bitmap_rgb_color_to_index(b, c.colour.r, c.colour.g, c.colour.b), c.index)
            << int(c.colour.r) << "," << int(c.colour.g) << "," << int(c.colour.b);

    uint8_t r = 7, g = 7, bl = 7;
    for (int32_t bad : {-1, 256}) {
        EXPECT_EQ(OMBREL_bitmap_index_to_rgb(b, bad, &r, &g, &bl), -1) << bad;
        EXPECT_EQ(r, 7);
    }
}

TEST_F(BitmapTest, TrueColourTexelsAlwaysFindAnIndexAndOtherColoursNone) {
    // More colours than a palette holds, so some texels are only near their entry.
    const int w = 32, h = 32;
    std::vector<TestRgb> px;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) px.push_back({static_cast<uint8_t>(x * 8), static_cast<uint8_t>(y * 8), 77});
    writeBmp24(at("many.bmp"), w, h, px);
    const int32_t b = OMBREL_bitmap_load(at("many.bmp").c_str(), -1);
    ASSERT_NE(b, 0) << OMBREL_ext_get_last_error();

    std::vector<TestRgb> palette;
    for (int32_t i = 0; i < 256; ++i) palette.push_back(rgbOf(b, i));
    for (int32_t i = 0; i < 256; ++i) {
        const int32_t found = OMBREL_bitmap_rgb_color_to_index(b, palette[i].r, palette[i].g, palette[i].b);
        ASSERT_GE(found, 0);
        EXPECT_LE(found, i);
        EXPECT_TRUE(same(palette[found], palette[i])) << i;
    }
    for (const TestRgb& c : px) {
        const int32_t found = OMBREL_bitmap_rgb_color_to_index(b, c.r, c.g, c.b);
        EXPECT_GE(found, 0) << int(c.r) << "," << int(c.g);
        EXPECT_LE(found, 255);
    }
    // A colour neither in the palette nor in the picture has no index.
    auto known = [&](TestRgb c) {
        for (const TestRgb& p : palette)
            if (same(p, c)) return true;
        for (const TestRgb& p : px)
            if (same(p, c)) return true;
        return false;
    };
    int checked = 0;
    for (uint8_t v = 1; v < 250 && checked < 5; v += 7) {
        const TestRgb c{v, static_cast<uint8_t>(v + 1), 200};
        if (known(c)) continue;
        EXPECT_EQ(OMBREL_bitmap_rgb_color_to_index(b, c.r, c.g, c.b), -1) << int(v);
        ++checked;
    }
    EXPECT_EQ(checked, 5);
}

TEST_F(BitmapTest, UnloadClearsBackgroundsAndAnimationFrames) {
    write("a.bmp");
    write("b.bmp");
    const int32_t a = OMBREL_bitmap_load(at("a.bmp").c_str(), -1);
    const int32_t b = OMBREL_bitmap_load(at("b.bmp").c_str(), -1);
    const int32_t sky = OMBREL_background_create("sky", a);
    const int32_t other = OMBREL_background_create("other", b);
    EXPECT_EQ(OMBREL_background_get_bitmap(sky), a);

    // Frames a b a | - | b | a | b with times 11 to 77 in that order, and one
    // time beyond the last frame.
    const int32_t anim = OMBREL_animation_create("anim");
    OMBREL_animation_add_bitmap(anim, 1, a, 0);
    OMBREL_animation_add_bitmap(anim, 1, b, 1);
    OMBREL_animation_add_bitmap(anim, 1, a, 2);
    OMBREL_animation_add_bitmap(anim, 3, b, 0);
    OMBREL_animation_add_bitmap(anim, 4, a, 0);
    OMBREL_animation_add_bitmap(anim, 5, b, 0);
    for (int32_t i = 0; i < 7; ++i) OMBREL_animation_set_frame_time(anim, i, 11 * (i + 1));

    ASSERT_EQ(OMBREL_bitmap_unload(a), 0);
    EXPECT_EQ(OMBREL_background_get_bitmap(sky), 0);
    EXPECT_EQ(OMBREL_background_get_bitmap(other), b);
    EXPECT_EQ(OMBREL_animation_get_number_of_bitmaps(anim), 3);
    EXPECT_EQ(OMBREL_animation_get_bitmap(anim, 1, 0), b);
    EXPECT_EQ(OMBREL_animation_get_bitmap(anim, 1, 1), 0);
    EXPECT_EQ(OMBREL_animation_get_bitmap(anim, 4, 0), 0);
    // Each remaining frame keeps its own time; the deleted frames' times are gone.
    std::vector<int32_t> times;
    for (int32_t i = 0; i < 5; ++i) times.push_back(OMBREL_animation_get_frame_time(anim, i));
    EXPECT_EQ(times, (std::vector<int32_t>{22, 44, 66, 77, 10}));
}

TEST_F(BitmapTest, UnloadRevertsPolygonsToTheirColourFill) {
    write("a.bmp");
    write("b.bmp");
    const int32_t a = OMBREL_bitmap_load(at("a.bmp").c_str(), -1);
    const int32_t b = OMBREL_bitmap_load(at("b.bmp").c_str(), -1);
    const int32_t g = OMBREL_group_create("g");
    const int32_t withA = makeSquareFacingUp(g, 0, 0, 0, 1);
    const int32_t withB = makeSquareFacingUp(g, 2, 0, 0, 1);
    OMBREL_polygon_set_color_fill(withA, 10, 20, 30);
    ASSERT_EQ(OMBREL_polygon_set_bitmap_fill(withA, a), 0);
    ASSERT_EQ(OMBREL_polygon_set_bitmap_fill(withB, b), 0);
    ASSERT_EQ(OMBREL_polygon_set_second_bitmap(withB, a), 0);
    ASSERT_EQ(OMBREL_group_is_bitmap_used(g, a), 1);

    ASSERT_EQ(OMBREL_bitmap_unload(a), 0);
    EXPECT_EQ(OMBREL_polygon_get_bitmap_handle(withA), 0);
    EXPECT_EQ(OMBREL_group_is_bitmap_used(g, a), 0);
    int32_t r = 0, gr = 0, bl = 0;
    OMBREL_polygon_get_color(withA, &r, &gr, &bl);
    EXPECT_EQ(r, 10);
    EXPECT_EQ(gr, 20);
    EXPECT_EQ(bl, 30);
    EXPECT_EQ(OMBREL_polygon_get_bitmap_handle(withB), b);
}
