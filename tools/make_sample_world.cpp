// Makes the sample world shipped in resources/Sample: a room with a few textured
// boxes, a camera, a light and a track, its textures generated here.
// Usage: make_sample_world [folder]   (default resources/Sample)
#include "generated_bitmap.h"
#include "ombrel.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

using V3 = std::array<double, 3>;


Texel floorTiles(int x, int y) {
    bool dark = ((x / 16) + (y / 16)) % 2 == 0;
    double grain = 10 * std::sin(x * 0.9 + y * 0.4);
    double base = dark ? 95 : 185;
    return {clampByte(base + grain), clampByte(base * 0.92 + grain), clampByte(base * 0.8 + grain)};
}

Texel wallBricks(int x, int y) {
    int course = y / 8;
    int offset = course % 2 ? 8 : 0;
    bool mortar = y % 8 == 0 || (x + offset) % 16 == 0;
    if (mortar) return {200, 195, 185};
    double v = 12 * std::sin(x * 1.7 + course * 3.1);
    return {clampByte(165 + v), clampByte(72 + v / 2), clampByte(50 + v / 3)};
}

Texel cratePlanks(int x, int y) {
    bool edge = x < 3 || y < 3 || x > 60 || y > 60 || std::abs(x - y) < 2;
    if (edge) return {110, 70, 30};
    double grain = 18 * std::sin(y * 0.8 + std::sin(x * 0.15) * 3);
    return {clampByte(200 + grain), clampByte(150 + grain), clampByte(80 + grain / 2)};
}

V3 sub(V3 a, V3 b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
V3 cross(V3 a, V3 b) { return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]}; }
double dot(V3 a, V3 b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

// A textured quad a b c d whose visible side faces `facing` (the side from which
// the points run clockwise, normal along (P2 - P1) x (P1 - P0)).
void quad(int32_t group, int32_t bitmap, std::array<V3, 4> c, V3 facing, double repeat) {
    if (dot(cross(sub(c[2], c[1]), sub(c[1], c[0])), facing) < 0) std::swap(c[1], c[3]);
    const double uv[4][2] = {{0, repeat}, {0, 0}, {repeat, 0}, {repeat, repeat}};
    int32_t p = OMBREL_polygon_create();
    for (int i = 0; i < 4; ++i) {
        double rec[6] = {c[i][0], c[i][1], c[i][2], uv[i][0], uv[i][1], 100};
        OMBREL_polygon_add_point(p, rec);
    }
    OMBREL_polygon_set_bitmap_fill(p, bitmap);
    OMBREL_polygon_set_group(p, group);
    OMBREL_engine_add_polygon(p);
}

// An axis-aligned box from lo to hi, every face visible from outside (inside when
// inward: the room, whose floor is made apart).
void box(int32_t group, int32_t bitmap, V3 lo, V3 hi, bool inward, double repeat) {
    double s = inward ? -1 : 1;
    auto P = [&](int i, int j, int k) { return V3{i ? hi[0] : lo[0], j ? hi[1] : lo[1], k ? hi[2] : lo[2]}; };
    if (!inward) quad(group, bitmap, {P(0, 0, 0), P(0, 1, 0), P(1, 1, 0), P(1, 0, 0)}, {0, 0, -s}, repeat);
    quad(group, bitmap, {P(0, 0, 1), P(0, 1, 1), P(1, 1, 1), P(1, 0, 1)}, {0, 0, s}, repeat);
    quad(group, bitmap, {P(0, 0, 0), P(0, 0, 1), P(1, 0, 1), P(1, 0, 0)}, {0, -s, 0}, repeat);
    quad(group, bitmap, {P(0, 1, 0), P(0, 1, 1), P(1, 1, 1), P(1, 1, 0)}, {0, s, 0}, repeat);
    quad(group, bitmap, {P(0, 0, 0), P(0, 0, 1), P(0, 1, 1), P(0, 1, 0)}, {-s, 0, 0}, repeat);
    quad(group, bitmap, {P(1, 0, 0), P(1, 0, 1), P(1, 1, 1), P(1, 1, 0)}, {s, 0, 0}, repeat);
}

int32_t child(const char* name, int32_t father) {
    int32_t g = OMBREL_group_create(name);
    OMBREL_group_set_father_group(g, father);
    return g;
}

}  // namespace

int main(int argc, char** argv) {
    std::filesystem::path out = argc > 1 ? argv[1] : "resources/Sample";
    std::filesystem::create_directories(out / "bitmaps");
    out = std::filesystem::absolute(out);
    writeBmp((out / "bitmaps" / "floor_tiles.bmp").string(), 64, floorTiles);
    writeBmp((out / "bitmaps" / "wall_bricks.bmp").string(), 64, wallBricks);
    writeBmp((out / "bitmaps" / "crate_planks.bmp").string(), 64, cratePlanks);

    OMBREL_engine_hide_log_window();
    if (OMBREL_engine_load_world(nullptr, nullptr, nullptr, OMBREL_LOAD_EDITOR) != 0) return 1;
    int32_t floorTex = OMBREL_bitmap_load((out / "bitmaps" / "floor_tiles.bmp").c_str(), -1);
    int32_t wallTex = OMBREL_bitmap_load((out / "bitmaps" / "wall_bricks.bmp").c_str(), -1);
    int32_t crateTex = OMBREL_bitmap_load((out / "bitmaps" / "crate_planks.bmp").c_str(), -1);
    if (!floorTex || !wallTex || !crateTex) {
        std::fprintf(stderr, "cannot load the generated textures: %s\n", OMBREL_ext_get_last_error());
        return 1;
    }

    int32_t root = OMBREL_group_create("the_world");
    int32_t room = child("room", root);
    int32_t floor = child("floor", room);
    int32_t walls = child("walls", room);
    // The floor faces up, the walls and ceiling face into the room.
    quad(floor, floorTex, {{{-500, -400, 0}, {-500, 400, 0}, {500, 400, 0}, {500, -400, 0}}}, {0, 0, 1}, 8);
    box(walls, wallTex, {-500, -400, 0}, {500, 400, 300}, true, 4);

    int32_t boxes = child("boxes", root);
    box(child("big crate", boxes), crateTex, {-250, -150, 0}, {-130, -30, 120}, false, 1);
    box(child("small crate", boxes), crateTex, {-230, 10, 0}, {-170, 70, 60}, false, 1);
    box(child("stacked crate", boxes), crateTex, {-230, -130, 120}, {-150, -50, 200}, false, 1);
    box(child("long crate", boxes), crateTex, {150, 100, 0}, {350, 180, 80}, false, 1);

    int32_t camera = OMBREL_camera_create("Camera1");
    OMBREL_camera_set_location(camera, -450, -350, 220);
    OMBREL_camera_set_direction(camera, 450, 350, -170);
    OMBREL_camera_set_save_flag(camera, 1);

    double lampAt[3] = {0, 0, 280};
    int32_t lamp = OMBREL_light_create("Ceiling lamp", lampAt);
    OMBREL_light_set_entity_to_light(lamp, root);
    OMBREL_light_activate(lamp, 0);

    const double patrol[12] = {-300, -250, 150, 300, -250, 150, 300, 250, 150, -300, 250, 150};
    OMBREL_track_create("Patrol", 1, patrol, 4);

    std::string world = (out / "Sample.wld").string();
    // Portable: the bitmaps are named by file, so the folder can move.
    if (OMBREL_engine_save(world.c_str(), root, OMBREL_SAVE_WORLD | OMBREL_SAVE_PORTABLE) != 0) {
        std::fprintf(stderr, "cannot save %s: %s\n", world.c_str(), OMBREL_ext_get_last_error());
        return 1;
    }
    OMBREL_engine_close();
    std::printf("wrote %s\n", world.c_str());
    return 0;
}
