// Makes the models shipped in resources/Models: a few simple textured pieces,
// each stored the way the gallery's "Add to Gallery" stores a group (the model
// file centred on the origin, its bitmaps copied into the folder's "bitmaps", a
// 128 x 128 preview rendered by the engine). The textures are generated here.
// Usage: make_gallery_models [folder]   (default resources/Models)
// The engine library is opened from this program's folder, as the editor does.
#include "generated_bitmap.h"
#include "mainwindow/ModelGalleryStore.h"
#include "ombrel.h"
#include "ombrel_loader.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

using V3 = std::array<double, 3>;

constexpr int kTextureSide = 64;
constexpr int kPreviewSide = 128;


Texel crateBoards(int x, int y) {
    bool frame = x < 5 || y < 5 || x > 58 || y > 58 || std::abs(x - y) < 3;
    if (frame) return {120, 78, 36};
    if (y % 16 == 0) return {90, 58, 28};  // gaps between the boards
    double grain = 16 * std::sin(y * 0.9 + std::sin(x * 0.2) * 2.5);
    return {clampByte(196 + grain), clampByte(146 + grain), clampByte(78 + grain / 2)};
}

Texel darkWood(int x, int y) {
    double ring = std::sin(x * 0.35 + 4 * std::sin(y * 0.08));
    double grain = 14 * ring + 6 * std::sin(y * 1.3);
    return {clampByte(128 + grain), clampByte(76 + grain * 0.7), clampByte(40 + grain * 0.4)};
}

Texel stoneBlocks(int x, int y) {
    int course = y / 16;
    int offset = course % 2 ? 16 : 0;
    bool joint = y % 16 == 0 || (x + offset) % 32 == 0;
    if (joint) return {120, 116, 108};
    double speck = 10 * std::sin(x * 2.3 + y * 1.7) * std::sin(x * 0.7 - y * 1.1);
    double tone = 190 + (course % 3) * 8;
    return {clampByte(tone + speck), clampByte(tone - 4 + speck), clampByte(tone - 14 + speck)};
}

Texel paintedMetal(int x, int y) {
    double streak = 8 * std::sin(y * 0.5) + 4 * std::sin(x * 2.1);
    return {clampByte(78 + streak), clampByte(92 + streak), clampByte(88 + streak)};
}

Texel lampGlass(int x, int y) {
    double dx = x - 31.5, dy = y - 31.5;
    double glow = 1 - std::min(1.0, std::sqrt(dx * dx + dy * dy) / 46);
    bool bar = x < 3 || x > 60;
    if (bar) return {40, 48, 46};
    return {255, clampByte(200 + 50 * glow), clampByte(90 + 120 * glow)};
}

V3 sub(V3 a, V3 b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
V3 add(V3 a, V3 b) { return {a[0] + b[0], a[1] + b[1], a[2] + b[2]}; }
V3 scale(V3 a, double k) { return {a[0] * k, a[1] * k, a[2] * k}; }
V3 cross(V3 a, V3 b) { return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]}; }
double dot(V3 a, V3 b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

// Faces keep a fixed shade by the way they face, so the pieces read as solid
// without a light: tops brightest, the sides towards the preview camera next.
double shadeFor(V3 facing) {
    double len = std::sqrt(dot(facing, facing));
    V3 n = scale(facing, 1 / len);
    return std::clamp(72 + 28 * n[2] - 10 * n[0] - 4 * n[1], 40.0, 100.0);
}

// Newell's normal: it points to the side from which the points run anticlockwise.
V3 newell(const std::vector<V3>& c) {
    V3 n{0, 0, 0};
    for (std::size_t i = 0; i < c.size(); ++i) {
        const V3& a = c[i];
        const V3& b = c[(i + 1) % c.size()];
        n = add(n, {(a[1] - b[1]) * (a[2] + b[2]), (a[2] - b[2]) * (a[0] + b[0]), (a[0] - b[0]) * (a[1] + b[1])});
    }
    return n;
}

// A textured polygon whose visible side (the side from which its points run
// clockwise) faces `facing`. uv gives each point's texture coordinates.
void face(int32_t group, int32_t bitmap, std::vector<V3> c, std::vector<std::array<double, 2>> uv, V3 facing) {
    if (dot(newell(c), facing) > 0) {
        std::reverse(c.begin(), c.end());
        std::reverse(uv.begin(), uv.end());
    }
    const double brightness = shadeFor(facing);
    int32_t p = OMBREL_polygon_create();
    for (std::size_t i = 0; i < c.size(); ++i) {
        double rec[6] = {c[i][0], c[i][1], c[i][2], uv[i][0], uv[i][1], brightness};
        OMBREL_polygon_add_point(p, rec);
    }
    OMBREL_polygon_set_bitmap_fill(p, bitmap);
    OMBREL_polygon_set_group(p, group);
    OMBREL_engine_add_polygon(p);
}

// Texture coordinates of a point on a face: its two coordinates across the face
// measured from origin, one repeat of the texture every `tile` units, the
// picture upright on the sides.
std::array<double, 2> planarUv(V3 p, V3 normal, double tile, V3 origin) {
    V3 a = std::fabs(normal[2]) > 0.9 ? V3{1, 0, 0} : V3{0, 0, -1};
    V3 u = cross(a, normal);
    V3 v = cross(normal, u);
    u = scale(u, 1 / std::sqrt(dot(u, u)));
    v = scale(v, 1 / std::sqrt(dot(v, v)));
    // + 0.0 writes a negative zero as 0.
    return {dot(sub(p, origin), u) / tile + 0.0, dot(sub(p, origin), v) / tile + 0.0};
}

// A prism: the profile (a plain polygon in any order) swept along `height`, both
// caps and every side visible from outside.
void prism(int32_t group, int32_t bitmap, const std::vector<V3>& profile, V3 height, double tile,
           V3 uvOrigin = {0, 0, 0}) {
    const std::size_t n = profile.size();
    // Which way round the profile runs, seen from the top cap.
    const double turn = dot(newell(profile), height) > 0 ? 1 : -1;
    std::vector<V3> top;
    for (const V3& p : profile) top.push_back(add(p, height));
    auto capUv = [&](const std::vector<V3>& cap, V3 normal) {
        std::vector<std::array<double, 2>> uv;
        for (const V3& p : cap) uv.push_back(planarUv(p, normal, tile, uvOrigin));
        return uv;
    };
    face(group, bitmap, profile, capUv(profile, scale(height, -1)), scale(height, -1));
    face(group, bitmap, top, capUv(top, height), height);
    for (std::size_t i = 0; i < n; ++i) {
        const V3& a = profile[i];
        const V3& b = profile[(i + 1) % n];
        V3 outward = scale(cross(sub(b, a), height), turn);
        std::vector<V3> side{a, b, add(b, height), add(a, height)};
        face(group, bitmap, side, capUv(side, outward), outward);
    }
}

// A box whose texture starts at its lower corner: one tile the box's size shows
// the whole picture on every face.
void box(int32_t group, int32_t bitmap, V3 lo, V3 hi, double tile) {
    prism(group, bitmap, {{lo[0], lo[1], lo[2]}, {hi[0], lo[1], lo[2]}, {hi[0], hi[1], lo[2]}, {lo[0], hi[1], lo[2]}},
          {0, 0, hi[2] - lo[2]}, tile, lo);
}

// A regular polygon of `sides` sides about the vertical axis through centre.
std::vector<V3> ring(V3 centre, double radius, int sides) {
    std::vector<V3> points;
    for (int i = 0; i < sides; ++i) {
        double a = 2 * std::numbers::pi * (i + 0.5) / sides;
        points.push_back({centre[0] + radius * std::cos(a), centre[1] + radius * std::sin(a), centre[2]});
    }
    return points;
}

void column(int32_t group, int32_t bitmap, V3 foot, double radius, double height, int sides, double tile) {
    prism(group, bitmap, ring(foot, radius, sides), {0, 0, height}, tile);
}

struct Textures {
    int32_t boards, wood, stone, metal, glass;
};

void buildCrate(int32_t g, const Textures& t) { box(g, t.boards, {0, 0, 0}, {80, 80, 80}, 80); }

void buildTable(int32_t g, const Textures& t) {
    box(g, t.wood, {-70, -45, 66}, {70, 45, 74}, 60);
    for (double x : {-62.0, 54.0})
        for (double y : {-37.0, 29.0}) box(g, t.wood, {x, y, 0}, {x + 8, y + 8, 66}, 30);
}

void buildPillar(int32_t g, const Textures& t) {
    box(g, t.stone, {-32, -32, 0}, {32, 32, 16}, 64);
    column(g, t.stone, {0, 0, 16}, 22, 188, 8, 64);
    box(g, t.stone, {-30, -30, 204}, {30, 30, 220}, 64);
}

// Five steps swept across the stair's width; the side profile is one concave polygon.
void buildStair(int32_t g, const Textures& t) {
    constexpr int kSteps = 5;
    constexpr double kRise = 20, kRun = 28, kWidth = 90;
    std::vector<V3> profile{{0, 0, 0}};
    for (int i = 0; i < kSteps; ++i) {
        profile.push_back({0, i * kRun, (i + 1) * kRise});
        profile.push_back({0, (i + 1) * kRun, (i + 1) * kRise});
    }
    profile.push_back({0, kSteps * kRun, 0});
    prism(g, t.stone, profile, {kWidth, 0, 0}, 64);
}

void buildLampPost(int32_t g, const Textures& t) {
    box(g, t.metal, {-14, -14, 0}, {14, 14, 12}, 32);
    column(g, t.metal, {0, 0, 12}, 5, 200, 8, 32);
    box(g, t.metal, {-14, -14, 212}, {14, 14, 216}, 32);
    box(g, t.glass, {-11, -11, 216}, {11, 11, 238}, 22);
    // A roof slab over the lantern, and its knob.
    prism(g, t.metal, ring({0, 0, 238}, 20, 4), {0, 0, 4}, 32);
    column(g, t.metal, {0, 0, 242}, 4, 8, 6, 32);
}

struct Model {
    const char* folder;
    const char* name;
    void (*build)(int32_t group, const Textures& t);
};

constexpr Model kModels[] = {
    {"Furniture", "Crate", buildCrate},        {"Furniture", "Table", buildTable},
    {"Architecture", "Pillar", buildPillar},   {"Architecture", "Stair", buildStair},
    {"Architecture", "Lamp Post", buildLampPost},
};

// A camera looking at the group from the front left and above, as a perspective
// view framed on it, with the whole group inside the picture.
int32_t previewCamera(int32_t group) {
    double box[6];
    OMBREL_group_get_bounding_box(group, box);
    V3 centre{(box[0] + box[3]) / 2, (box[1] + box[4]) / 2, (box[2] + box[5]) / 2};
    V3 half{(box[3] - box[0]) / 2, (box[4] - box[1]) / 2, (box[5] - box[2]) / 2};
    double radius = std::sqrt(dot(half, half));
    int32_t camera = OMBREL_camera_create("Gallery preview");
    double fov = OMBREL_camera_get_zoom(camera);
    double distance = radius / std::sin(fov / 2 * std::numbers::pi / 180) * 1.05;
    V3 from{-0.62, -0.55, 0.56};
    from = scale(from, 1 / std::sqrt(dot(from, from)));
    V3 eye = add(centre, scale(from, distance));
    OMBREL_camera_set_location(camera, eye[0], eye[1], eye[2]);
    OMBREL_camera_set_direction(camera, -from[0], -from[1], -from[2]);
    return camera;
}

fs::path programFolder() { return fs::read_symlink("/proc/self/exe").parent_path(); }

}  // namespace

int main(int argc, char** argv) {
    fs::path out = fs::absolute(argc > 1 ? argv[1] : "resources/Models");
    const auto engine = ombrel_loader::load((programFolder() / ombrel_loader::libraryFileName()).string());
    if (engine.status != ombrel_loader::Status::Loaded) {
        std::fprintf(stderr, "cannot open the engine %s: %s\n", engine.path.c_str(), engine.reason.c_str());
        return 1;
    }
    // The textures are made aside; saving a model copies the ones it uses into
    // its folder's "bitmaps".
    const fs::path scratch = fs::temp_directory_path() / "talvora-gallery-textures";
    fs::create_directories(scratch);
    struct Generated {
        const char* file;
        Texel (*shade)(int, int);
    };
    const Generated generated[] = {{"crate_boards.bmp", crateBoards},
                                   {"dark_wood.bmp", darkWood},
                                   {"stone_blocks.bmp", stoneBlocks},
                                   {"painted_metal.bmp", paintedMetal},
                                   {"lamp_glass.bmp", lampGlass}};
    for (const Generated& g : generated) writeBmp((scratch / g.file).string(), kTextureSide, g.shade);

    OMBREL_engine_hide_log_window();
    OMBREL_engine_set_coordinates_auto_correct_mode(0);
    if (OMBREL_engine_load_world(nullptr, nullptr, nullptr, OMBREL_LOAD_EDITOR) != 0) return 1;
    int32_t bitmaps[5];
    for (int i = 0; i < 5; ++i) {
        bitmaps[i] = OMBREL_bitmap_load((scratch / generated[i].file).c_str(), -1);
        if (!bitmaps[i]) {
            std::fprintf(stderr, "cannot load %s: %s\n", generated[i].file, OMBREL_ext_get_last_error());
            return 1;
        }
    }
    const Textures textures{bitmaps[0], bitmaps[1], bitmaps[2], bitmaps[3], bitmaps[4]};

    const int32_t root = OMBREL_group_create("the_world");
    const int32_t surface = OMBREL_ext_surface_create(kPreviewSide, kPreviewSide);
    int failures = 0;
    for (const Model& m : kModels) {
        int32_t group = OMBREL_group_create(m.name);
        OMBREL_group_set_father_group(group, root);
        m.build(group, textures);
        // Turned about its own centre, which the stored model puts on the origin.
        double location[3];
        OMBREL_group_get_location(group, &location[0], &location[1], &location[2]);
        OMBREL_group_set_rotate_reference_point(group, location);

        const int32_t camera = previewCamera(group);
        OMBREL_engine_set_group_to_render(group);
        const int32_t picture = OMBREL_engine_render_on_bitmap(surface, camera);
        OMBREL_engine_set_group_to_render(0);
        OMBREL_camera_delete(camera);

        fs::create_directories(out / m.folder);
        const fs::path path = out / m.folder / (std::string(m.name) + ".vandel");
        if (ModelGallery::StoreModel(group, picture, path.string()) != ModelGallery::StoreResult::Stored) {
            std::fprintf(stderr, "cannot store %s: %s\n", path.c_str(), OMBREL_ext_get_last_error());
            ++failures;
            continue;
        }
        std::printf("wrote %s\n", path.c_str());
    }
    OMBREL_ext_surface_destroy(surface);
    OMBREL_engine_close();
    fs::remove_all(scratch);
    ombrel_loader::unload();
    return failures == 0 ? 0 : 1;
}
