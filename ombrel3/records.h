// The records behind the handles. Lists of other objects are held as handles, so a
// destroyed neighbour can never be reached through a dangling pointer.
#pragma once

#include "object.h"
#include "ordered_set.h"
#include "small_handles.h"
#include "vec.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace ombrel {

// Chase and physics settings: data only, stored and saved exactly, never simulated.
struct Chase {
    int32_t type = 0;
    double distance = 0, softness = 0, speed = 0, friction = 0, elasticity = 0, maxSpeed = 0;
    Vec3 offset, trackOffset, force;
    std::string nameToChase;
    std::string trackName;  // groups
    int32_t track = 0;      // cameras
    bool falling = false;
    double fallHeight = 0;
    int32_t fallValue = 0;
};

// Totals of the group's own polygons, valid while version equals Group::version.
struct OwnTotals {
    uint64_t version = ~uint64_t{0};
    int32_t polygons = 0;
    int64_t points = 0;
    Vec3 pointSum;
    Box3 box;       // every own point
    Box3 areaBox;   // points of the polygons with an area (what can be drawn and picked)
    Box3 drawBox;   // of those, the added and enabled ones
};

// Totals of the group's subtree, kept so that location and box queries cost
// nothing between edits; an edit clears `valid` on the group and its fathers.
struct SubtreeTotals {
    bool valid = false;
    bool axesBoxValid = false;
    int32_t polygonCount = 0;
    int64_t pointCount = 0;
    Vec3 pointSum;
    Box3 worldBox;  // every point of the walk
    Box3 drawBox;   // points of drawable polygons (empty while the group is disabled)
    Box3 axesBox;   // the points along the group's own axes
};

struct Group : Object {
    static constexpr Kind kKind = Kind::Group;
    Group() : Object(kKind) {}

    std::string name;
    int32_t father = 0;
    OrderedSet children;  // in attach order
    IndexedList<GroupPolygonSlot> polygons;  // own polygons, in order
    bool disabled = false;
    bool isStatic = true;
    Vec3 pivot, origin;
    Mat3 axes;  // the group's own x, y, z axes
    Chase chase;
    // World::geomVersion when the own polygons last changed other than by a rigid
    // motion (points moved alone, polygons added or removed, flags).
    uint64_t version = 0;
    uint64_t lookVersion = 0;  // the same for fills, colours and texture coordinates
    // The rigid motions since `version` last moved: caches built before keep their
    // own coordinates and follow the group through it.
    Affine motion;
    mutable OwnTotals own;
    mutable SubtreeTotals totals;
    // What the latest drawable-groups question found (group_geometry.h), under
    // the stamp of that question.
    mutable uint64_t enabledStamp = 0, insideStamp = 0;
    mutable bool enabledChain = false, inRenderGroup = false;
};

enum class FillKind : uint8_t { Colour, Bitmap, Animation };

// Fields ordered so that the record packs tightly: a world holds many of them.
struct Polygon : Object {
    static constexpr Kind kKind = Kind::Polygon;
    Polygon() : Object(kKind) {}

    int32_t group = 0;
    uint32_t groupSlot = 0, worldSlot = 0;  // positions in the group's and the world's lists
    int32_t bitmap = 0, animation = 0, secondBitmap = 0;
    Rgb8 colour{192, 192, 192};
    FillKind fill = FillKind::Colour;
    uint8_t blend = 0;
    bool added = false;  // part of the world list (engine_add_polygon)
    bool enabled = true;
    bool ownsSecond = false;  // the light map was made by the engine for this polygon
    bool rotated = false;
    double diminution = 0;
    SmallHandles<4> points;  // in order
    SmallHandles<2> lights;
    std::string name;
    // Light-map frame: texel coordinates from positions (set by the light-map baker).
    Vec3 mapOrigin, mapU, mapV;
};

struct Point : Object {
    static constexpr Kind kKind = Kind::Point;
    Point() : Object(kKind) {}

    int32_t polygon = 0;
    Rgb8 rgb{255, 255, 255};
    bool hasNormal = false;
    Vec3 pos;
    Vec2 uv;
    double brightness = 100;
    Vec3 normal;
};

struct Camera : Object {
    static constexpr Kind kKind = Kind::Camera;
    Camera() : Object(kKind) {}

    std::string name;
    Vec3 eye;
    Vec3 a1{1, 0, 0}, a2{0, 1, 0}, a3{0, 0, 1};  // looks along -a1; a2 right, a3 up
    double zoom = 60;
    double nearDist = 1;
    bool save = true;
    bool showsBackground = true;  // a render through it draws the world's background
    Chase chase;
};

struct Light : Object {
    static constexpr Kind kKind = Kind::Light;
    Light() : Object(kKind) {}

    std::string name;
    Vec3 pos, dir{0, 0, -1};
    Rgb8 rgb{255, 255, 255};
    double ambient = 0, diffuse = 0, specular = 0, shine = 0, reach = 0;
    int32_t type = 58;
    bool disabled = false;
    bool rayTracing = false;
    int32_t autoUpdate = 0;
    int32_t target = 0;  // group whose walk it lights; 0 = the whole world
    bool save = true;
};

struct Track : Object {
    static constexpr Kind kKind = Kind::Track;
    Track() : Object(kKind) {}

    std::string name;
    bool cyclic = false;
    std::vector<Vec3> pts;
    bool save = true;
};

struct Background : Object {
    static constexpr Kind kKind = Kind::Background;
    Background() : Object(kKind) {}

    std::string name;
    int32_t bitmap = 0;
    double bottom = 0, bottomIntensity = 0, distance = 0, step = 0;
    bool save = true;
};

// A decoded picture shared by every bitmap or picture of the same file.
struct Image {
    int width = 0, height = 0;
    std::vector<uint8_t> rgba;   // width * height * 4, rows top to bottom
    std::vector<uint8_t> index;  // width * height palette indices
    std::array<Rgb8, 256> palette{};
};

// The fill a number-1 light map replaced in its polygon, with the points' texture
// coordinates in their order: a later computation puts them back before it lights.
struct FillBeforeMap {
    FillKind fill = FillKind::Colour;
    int32_t bitmap = 0, animation = 0;
    std::vector<Vec2> uv;
};

struct Bitmap : Object {
    static constexpr Kind kKind = Kind::Bitmap;
    Bitmap() : Object(kKind) {}

    std::string name;          // absolute path without extension
    std::string resolvedPath;  // the file it was read from
    std::shared_ptr<Image> image;
    int32_t transparentIndex = -1;
    bool isLightMap = false;
    // A light map made in this run is written to the run folder only when its file
    // is needed (a save, a caller asking for it); until then it lives in memory.
    bool fileDue = false;
    int32_t ownerPolygon = 0;
    std::shared_ptr<const FillBeforeMap> replacedFill;  // a number-1 map's, else null
    std::string runFile;  // a light map's file in the engine's run folder, deleted with it
    // A light map whose file is missing keeps the size its world record gave while
    // its stand-in picture holds one texel, so memory follows the file, not the claim.
    int recordedWidth = 0, recordedHeight = 0;  // 0: the picture's own size
    bool save = true;  // false: held out of the world (not listed, found or shared)

    int width() const { return recordedWidth > 0 ? recordedWidth : image ? image->width : 0; }
    int height() const { return recordedHeight > 0 ? recordedHeight : image ? image->height : 0; }
};

struct Animation : Object {
    static constexpr Kind kKind = Kind::Animation;
    Animation() : Object(kKind) {}

    std::string name;
    std::array<std::vector<int32_t>, 5> frames;  // bitmaps per viewing direction 1..5
    std::vector<int32_t> frameTimes;             // hundredths of a second
    bool save = true;
};

struct Picture : Object {
    static constexpr Kind kKind = Kind::Picture;
    Picture() : Object(kKind) {}

    std::shared_ptr<Image> image;
    std::string path;
    int64_t mtime = 0;
    int64_t size = 0;
};

struct Surface : Object {
    static constexpr Kind kKind = Kind::Surface;
    Surface() : Object(kKind) {}

    uint8_t* px = nullptr;  // RGBA rows, stride bytes apart
    int width = 0, height = 0, stride = 0;
    std::vector<uint8_t> owned;  // the buffer of an engine-made surface
};

}  // namespace ombrel
