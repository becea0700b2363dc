#include "lightmap.h"

#include "api_support.h"
#include "destroy.h"
#include "geom.h"
#include "image_io.h"
#include "lighting.h"
#include "model.h"
#include "thread_start.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string_view>
#include <thread>
#include <unordered_map>
#include <vector>

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace ombrel {
namespace {

constexpr int kLargestSide = 4096;
// Finished values waiting to be claimed beyond this pause the workers.
constexpr std::size_t kPendingBound = std::size_t(128) << 20;
constexpr int32_t kDirectional = 1, kLinear = 2, kSquare = 4, kAmbient = 8, kDiffuse = 16;

// ---- the run folder: made on first use under TMPDIR, removed with the world's maps
// when the world closes, and when the program ends

std::string temporaryBase() {
    const char* tmp = std::getenv("TMPDIR");
    return tmp && *tmp ? tmp : "/tmp";
}

// The process number in a run folder's name, ombrel-<pid>-XXXXXX (the six
// characters mkdtemp chose); 0 for any other name.
pid_t runFolderProcess(const std::string& name) {
    constexpr std::string_view kPrefix = "ombrel-";
    if (name.compare(0, kPrefix.size(), kPrefix) != 0) return 0;
    std::size_t at = kPrefix.size();
    long pid = 0;
    while (at < name.size() && std::isdigit(static_cast<unsigned char>(name[at])) && pid < 1L << 40)
        pid = pid * 10 + (name[at++] - '0');
    if (at == kPrefix.size() || name.size() != at + 7 || name[at] != '-' || pid <= 0 || pid > 0x7fffffffL) return 0;
    for (std::size_t i = at + 1; i < name.size(); ++i)
        if (!std::isalnum(static_cast<unsigned char>(name[i]))) return 0;
    return static_cast<pid_t>(pid);
}

// A run that was killed, or crashed, left its folder behind: at start-up the
// folders of our pattern and owner whose process no longer exists go. A process
// that exists, or that we may not signal, keeps its folder.
void removeStaleRunFolders() {
    std::error_code ec;
    for (fs::directory_iterator it(temporaryBase(), ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        const pid_t pid = runFolderProcess(name);
        if (pid == 0 || pid == getpid()) continue;
        struct stat st {};
        if (lstat(it->path().c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != geteuid()) continue;
        if (kill(pid, 0) == 0 || errno != ESRCH) continue;
        std::error_code removeEc;
        fs::remove_all(it->path(), removeEc);
    }
}

__attribute__((constructor)) void removeStaleRunFoldersAtStart() {
    try {
        removeStaleRunFolders();
    } catch (...) {
        // Cleaning up after others never stops the engine from starting.
    }
}

class RunFolder {
public:
    ~RunFolder() { release(); }

    const std::string& path() {
        if (!tried_) make();
        return path_;
    }
    // Whether file lies directly in the folder this run made.
    bool holds(const std::string& file) {
        if (!made_ || file.empty()) return false;
        return fs::path(file).parent_path().lexically_normal() == fs::path(path_).lexically_normal();
    }
    // Removes the folder with everything in it; the next map makes another.
    void release() {
        if (made_) {
            std::error_code ec;
            fs::remove_all(path_, ec);
        }
        made_ = tried_ = false;
        path_.clear();
    }

private:
    void make() {
        tried_ = true;
        const std::string base = temporaryBase();
        std::string pattern = base + "/ombrel-" + std::to_string(getpid()) + "-XXXXXX";
        std::vector<char> buffer(pattern.begin(), pattern.end());
        buffer.push_back('\0');
        if (mkdtemp(buffer.data())) {
            path_ = buffer.data();
            made_ = true;
            return;
        }
        // No folder: maps keep this name and live in memory only.
        path_ = base + "/ombrel-" + std::to_string(getpid());
        logLine(1, "light maps: cannot make a folder under " + base + ": " + std::strerror(errno));
    }

    std::string path_;
    bool tried_ = false, made_ = false;
};

RunFolder& runFolder() {
    static RunFolder folder;
    return folder;
}

std::atomic<uint32_t> g_serial{0};

// ---- what the lighting reads, copied so that workers never touch the world

struct LightCopy {
    Vec3 pos, toLight;  // toLight: a directional light's unit direction towards it
    Vec3 colour;        // 0..1
    double ambient = 0, diffuse = 0, reach = 0;
    int32_t type = 0;
    bool rayTracing = false;
};

// One polygon's map rectangle and what lights it.
struct Job {
    int32_t polygon = 0;
    bool degenerate = false;
    Vec3 origin, u, v, n;  // corner and unit basis of the rectangle, plane normal
    double extentU = 0, extentV = 0;
    int width = 0, height = 0;
    std::vector<int> lights;  // indices into Context::lights, binding order, enabled only

    std::size_t bytes() const { return std::size_t(width) * std::size_t(height) * 3; }
};

struct Context {
    std::vector<LightCopy> lights;
    std::shared_ptr<const TriangleBvh> occluders;
    bool rayTracing = false;
    double lift = 0;
};

int sideFor(double extent, const LightMapParams& params) {
    const int hi = std::clamp(params.maxSize, 1, kLargestSide);
    if (!(params.rate > 0)) return hi;
    const double want = std::ceil(extent / params.rate);
    const double lo = std::max(1, params.minSize);
    const double side = std::min(std::max(want, lo), static_cast<double>(params.maxSize));
    return static_cast<int>(std::clamp(side, 1.0, static_cast<double>(kLargestSide)));
}

// The rectangle over the polygon's plane: U along its first edge of non-zero
// length, V = N x U, the polygon's bounds in them.
void frameJob(const Polygon& p, const LightMapParams& params, Job& job) {
    job.polygon = p.handle;
    std::vector<Vec3> pts = polygonPositions(p);
    double d = 0;
    if (pts.size() < 3 || !polygonPlane(p, job.n, d)) {
        job.degenerate = true;
        return;
    }
    Vec3 u;
    for (std::size_t i = 0; i < pts.size() && length(u) == 0; ++i) {
        const Vec3 edge = pts[(i + 1) % pts.size()] - pts[i];
        u = normalized(edge - job.n * dot(edge, job.n));
    }
    if (length(u) == 0) {
        job.degenerate = true;
        return;
    }
    job.u = u;
    job.v = cross(job.n, u);
    double loU = 1e300, hiU = -1e300, loV = 1e300, hiV = -1e300;
    for (const Vec3& q : pts) {
        const double a = dot(q - pts[0], job.u), b = dot(q - pts[0], job.v);
        loU = std::min(loU, a), hiU = std::max(hiU, a);
        loV = std::min(loV, b), hiV = std::max(hiV, b);
    }
    job.extentU = hiU - loU;
    job.extentV = hiV - loV;
    if (!(job.extentU > 0) || !(job.extentV > 0) || !std::isfinite(job.extentU + job.extentV)) {
        job.degenerate = true;
        return;
    }
    // The corner in the plane through the first point.
    job.origin = pts[0] + job.u * loU + job.v * loV;
    job.width = sideFor(job.extentU, params);
    job.height = sideFor(job.extentV, params);
}

Vec3 texelCentre(const Job& job, int x, int y) {
    return job.origin + job.u * ((x + 0.5) / job.width * job.extentU) + job.v * ((y + 0.5) / job.height * job.extentV);
}

uint8_t toByte(double v) { return static_cast<uint8_t>(std::lround(std::clamp(v, 0.0, 1.0) * 255)); }

// The one per-texel function of every path: the ambient and diffuse terms of the
// job's lights at the texel centre, a blocked light losing its diffuse term.
void lightTexel(const Context& ctx, const Job& job, int x, int y, uint8_t out[3]) {
    const Vec3 p = texelCentre(job, x, y);
    Vec3 sum;
    for (int index : job.lights) {
        const LightCopy& l = ctx.lights[static_cast<std::size_t>(index)];
        Vec3 toLight;
        double attenuation = 1;
        if (l.type & kDirectional) {
            toLight = l.toLight;
        } else {
            const Vec3 d = l.pos - p;
            toLight = normalized(d);
            if (l.reach > 0) {
                const double r = length(d) / l.reach;
                if (l.type & kSquare) attenuation = std::max(0.0, 1 - r * r);
                else if (l.type & kLinear) attenuation = std::max(0.0, 1 - r);
            }
        }
        if (attenuation <= 0) continue;
        double term = 0;
        if (l.type & kAmbient) term += l.ambient;
        const double facing = dot(job.n, toLight);
        if ((l.type & kDiffuse) && facing > 0 && l.diffuse != 0) {
            bool blocked = false;
            if (ctx.rayTracing && l.rayTracing && ctx.occluders) {
                const Vec3 from = p + job.n * ctx.lift;
                if (l.type & kDirectional)
                    blocked = ctx.occluders->occluded(from, toLight, 1e30);
                else
                    blocked = ctx.occluders->occluded(from, l.pos - from, 1.0);
            }
            if (!blocked) term += l.diffuse * facing;
        }
        sum += l.colour * (term * attenuation);
    }
    out[0] = toByte(sum.x);
    out[1] = toByte(sum.y);
    out[2] = toByte(sum.z);
}

void computeRows(const Context& ctx, const Job& job, int rowBegin, int rowEnd, uint8_t* values) {
    for (int y = rowBegin; y < rowEnd; ++y)
        for (int x = 0; x < job.width; ++x) lightTexel(ctx, job, x, y, values + (std::size_t(y) * job.width + x) * 3);
}

unsigned threadCount() {
    if (const char* env = std::getenv("OMBREL_THREADS")) {
        char* end = nullptr;
        const long n = std::strtol(env, &end, 10);
        if (end != env && n >= 1) return static_cast<unsigned>(std::min(n, 256L));
    }
    return std::max(1u, std::thread::hardware_concurrency());
}

std::vector<LightCopy> copyLights(std::unordered_map<int32_t, int>& indexOf) {
    std::vector<LightCopy> out;
    needWorld().lights.forEach([&](int32_t h) {
        const Light* l = lookup<Light>(h);
        if (!l || l->disabled) return;
        LightCopy c;
        c.pos = l->pos;
        c.toLight = normalized(-l->dir);
        c.colour = {l->rgb.r / 255.0, l->rgb.g / 255.0, l->rgb.b / 255.0};
        c.ambient = l->ambient;
        c.diffuse = l->diffuse;
        c.reach = l->reach;
        c.type = l->type;
        c.rayTracing = l->rayTracing;
        indexOf[h] = static_cast<int>(out.size());
        out.push_back(c);
    });
    return out;
}

void bindJobLights(const Polygon& p, const std::unordered_map<int32_t, int>& indexOf, Job& job) {
    for (int32_t h : p.lights)
        if (auto it = indexOf.find(h); it != indexOf.end()) job.lights.push_back(it->second);
}

// ---- occluders: the drawable polygons of a tree, cached until the lighting moves

uint64_t& lightingVersion() {
    static uint64_t version = 1;
    return version;
}

struct OccluderCache {
    int32_t tree = -1;
    uint64_t version = 0;
    const World* world = nullptr;
    std::shared_ptr<const TriangleBvh> bvh;
} g_occluders;

std::shared_ptr<const TriangleBvh> occludersOf(int32_t tree) {
    const World* w = state().world.get();
    if (g_occluders.bvh && g_occluders.tree == tree && g_occluders.version == lightingVersion() &&
        g_occluders.world == w)
        return g_occluders.bvh;
    std::vector<TriangleBvh::Triangle> tris;
    for (int32_t h : walkPolygons(tree)) {
        const Polygon* p = lookup<Polygon>(h);
        if (!p || !polygonDrawable(*p)) continue;
        const std::vector<Vec3> pts = polygonPositions(*p);
        for (const auto& t : triangulate(pts, newellNormal(pts)))
            tris.push_back({pts[static_cast<std::size_t>(t[0])], pts[static_cast<std::size_t>(t[1])],
                            pts[static_cast<std::size_t>(t[2])]});
    }
    g_occluders = {tree, lightingVersion(), w, std::make_shared<const TriangleBvh>(std::move(tris))};
    return g_occluders.bvh;
}

// The lift off a receiver's plane: 1e-4 of the world's size.
double liftFor() {
    const Box3 box = groupWorldBox(0);
    const double size = box.empty() ? 0 : length(box.max - box.min);
    return 1e-4 * (size > 0 ? size : 1);
}

int32_t outermostAncestor(int32_t group) {
    int32_t top = group;
    for (const Group* g = lookup<Group>(group); g && lookup<Group>(g->father); g = lookup<Group>(g->father))
        top = g->father;
    return top;
}

// ---- installing, on the calling thread

std::shared_ptr<Image> newImage(int width, int height) {
    auto image = std::make_shared<Image>();
    image->width = width;
    image->height = height;
    image->rgba.assign(std::size_t(width) * std::size_t(height) * 4, 255);
    return image;
}

Bitmap& newMap(std::shared_ptr<Image> image, int32_t owner) {
    World& w = needWorld();
    Bitmap& b = createObject<Bitmap>();
    b.name = newLightMapName();
    b.image = std::move(image);
    b.isLightMap = true;
    b.ownerPolygon = owner;
    b.fileDue = true;
    w.bitmaps.append(b.handle);
    return b;
}

// The polygon's (u, v) at a point of its plane: from the triangle holding it, or
// the nearest one's plane extended beyond it.
class UvField {
public:
    UvField(const Polygon& p, const Job& job) {
        for (int32_t h : p.points)
            if (const Point* q = lookup<Point>(h)) {
                plane_.push_back({dot(q->pos - job.origin, job.u), dot(q->pos - job.origin, job.v)});
                uv_.push_back(q->uv);
                pos_.push_back(q->pos);
            }
        tris_ = triangulate(pos_, newellNormal(pos_));
    }

    Vec2 at(double s, double t) const {
        double best = -1e300;
        Vec2 result = uv_.empty() ? Vec2{} : uv_[0];
        for (const auto& tri : tris_) {
            const Vec2 &a = plane_[std::size_t(tri[0])], &b = plane_[std::size_t(tri[1])], &c = plane_[std::size_t(tri[2])];
            const double det = (b.x - a.x) * (c.y - a.y) - (c.x - a.x) * (b.y - a.y);
            if (det == 0) continue;
            const double l1 = ((s - a.x) * (c.y - a.y) - (c.x - a.x) * (t - a.y)) / det;
            const double l2 = ((b.x - a.x) * (t - a.y) - (s - a.x) * (b.y - a.y)) / det;
            const double l0 = 1 - l1 - l2;
            const double inside = std::min({l0, l1, l2});  // >= 0 inside; the nearest has the largest
            if (inside <= best) continue;
            best = inside;
            const Vec2 &ua = uv_[std::size_t(tri[0])], &ub = uv_[std::size_t(tri[1])], &uc = uv_[std::size_t(tri[2])];
            result = {l0 * ua.x + l1 * ub.x + l2 * uc.x, l0 * ua.y + l1 * ub.y + l2 * uc.y};
            if (inside >= 0) break;
        }
        return result;
    }

private:
    std::vector<Vec2> plane_, uv_;
    std::vector<Vec3> pos_;
    std::vector<std::array<int, 3>> tris_;
};

// The old fill's colour at a texel, the bitmap repeated as the renderer repeats it.
Rgb8 fillAt(const Polygon& p, const Image* image, const UvField& field, const Job& job, int x, int y) {
    if (!image || image->width <= 0 || image->height <= 0) return p.colour;
    const Vec2 uv = field.at((x + 0.5) / job.width * job.extentU, (y + 0.5) / job.height * job.extentV);
    const double fu = uv.x - std::floor(uv.x), fv = uv.y - std::floor(uv.y);
    const int ix = std::clamp(static_cast<int>(fu * image->width), 0, image->width - 1);
    const int iy = std::clamp(static_cast<int>(fv * image->height), 0, image->height - 1);
    const uint8_t* px = image->rgba.data() + (std::size_t(iy) * image->width + ix) * 4;
    return {px[0], px[1], px[2]};
}

FillBeforeMap fillOf(const Polygon& p) {
    FillBeforeMap before{p.fill, p.bitmap, p.animation, {}};
    before.uv.reserve(p.points.size());
    for (int32_t h : p.points) {
        const Point* q = lookup<Point>(h);
        before.uv.push_back(q ? q->uv : Vec2{});
    }
    return before;
}

// Takes off what earlier computations installed on the polygon, so that light is
// never counted twice: its own number-2 map, and a number-1 map in its fill, whose
// fill and texture coordinates from before come back. That map stays loaded (an
// undo record may name it), but nothing draws or saves it any more. Returns
// whether the polygon changed.
bool takeOffMaps(Polygon& p) {
    const bool owned = p.ownsSecond;
    releaseOwnedLightMap(p);
    const Bitmap* map = p.fill == FillKind::Bitmap ? lookup<Bitmap>(p.bitmap) : nullptr;
    // Points added or removed since the map was made: their coordinates have no
    // counterpart, and the map stays.
    if (!map || !map->isLightMap || !map->replacedFill || map->replacedFill->uv.size() != p.points.size())
        return owned;
    const FillBeforeMap& before = *map->replacedFill;
    p.fill = before.fill;
    p.bitmap = lookup<Bitmap>(before.bitmap) ? before.bitmap : 0;
    p.animation = lookup<Animation>(before.animation) ? before.animation : 0;
    if ((p.fill == FillKind::Bitmap && !p.bitmap) || (p.fill == FillKind::Animation && !p.animation))
        p.fill = FillKind::Colour;
    for (std::size_t i = 0; i < p.points.size(); ++i)
        if (Point* q = lookup<Point>(p.points[i])) q->uv = before.uv[i];
    return true;
}

int32_t install(Polygon& p, const Job& job, const std::vector<uint8_t>& values, int32_t number) {
    if (job.lights.empty()) {
        // No enabled light: no map, and live lighting again instead of an old map.
        if (takeOffMaps(p)) touchGroupLook(p.group);
        return 0;
    }
    takeOffMaps(p);
    const std::size_t texels = std::size_t(job.width) * job.height;
    auto image = newImage(job.width, job.height);
    if (number == 1 && p.fill != FillKind::Animation) {
        auto before = std::make_shared<const FillBeforeMap>(fillOf(p));
        const Bitmap* fill = p.fill == FillKind::Bitmap ? lookup<Bitmap>(p.bitmap) : nullptr;
        const Image* fillImage = fill ? fill->image.get() : nullptr;
        const UvField field(p, job);
        for (int y = 0; y < job.height; ++y)
            for (int x = 0; x < job.width; ++x) {
                const std::size_t t = std::size_t(y) * job.width + x;
                const Rgb8 c = fillAt(p, fillImage, field, job, x, y);
                const uint8_t* l = values.data() + t * 3;
                uint8_t* px = image->rgba.data() + t * 4;
                px[0] = static_cast<uint8_t>((c.r * l[0] + 127) / 255);
                px[1] = static_cast<uint8_t>((c.g * l[1] + 127) / 255);
                px[2] = static_cast<uint8_t>((c.b * l[2] + 127) / 255);
            }
        Bitmap& map = newMap(std::move(image), 0);
        map.replacedFill = std::move(before);
        for (int32_t h : p.points)
            if (Point* q = lookup<Point>(h))
                q->uv = {dot(q->pos - job.origin, job.u) / job.extentU, dot(q->pos - job.origin, job.v) / job.extentV};
        p.fill = FillKind::Bitmap;
        p.bitmap = map.handle;
        p.animation = 0;
        touchGroupLook(p.group);
        return map.handle;
    }
    for (std::size_t t = 0; t < texels; ++t) std::memcpy(image->rgba.data() + t * 4, values.data() + t * 3, 3);
    Bitmap& map = newMap(std::move(image), p.handle);
    p.secondBitmap = map.handle;
    p.ownsSecond = true;
    p.mapOrigin = job.origin;
    p.mapU = job.u / job.extentU;
    p.mapV = job.v / job.extentV;
    touchGroupLook(p.group);
    return map.handle;
}

// ---- the batch

class Batch {
public:
    Batch(int32_t group, const LightMapParams& params) : params_(params), version_(lightingVersion()) {
        std::unordered_map<int32_t, int> indexOf;
        ctx_.lights = copyLights(indexOf);
        ctx_.rayTracing = params.rayTracing == 1;
        ctx_.lift = liftFor();
        if (ctx_.rayTracing) ctx_.occluders = occludersOf(group);
        const std::vector<int32_t> walk = walkPolygons(group);
        jobs_.reserve(walk.size());
        for (int32_t h : walk) {
            const Polygon* p = lookup<Polygon>(h);
            if (!p) continue;
            Job job;
            frameJob(*p, params, job);
            if (!job.degenerate) bindJobLights(*p, indexOf, job);
            index_.emplace(h, jobs_.size());
            jobs_.push_back(std::move(job));
        }
        values_.resize(jobs_.size());
        done_.assign(jobs_.size(), 0);
        const unsigned n = threadCount();
        for (unsigned i = 0; i < n; ++i)
            if (!startWorker(workers_, [this] { work(); })) break;
    }

    ~Batch() {
        {
            std::lock_guard<std::mutex> lock(m_);
            stop_ = true;
        }
        room_.notify_all();
        ready_.notify_all();
        for (std::thread& t : workers_) t.join();
    }

    Batch(const Batch&) = delete;
    Batch& operator=(const Batch&) = delete;

    // Whether the call can claim its values here: the next polygon, the same
    // parameters, nothing the batch read changed.
    bool serves(int32_t polygon, const LightMapParams& params) const {
        return next_ < jobs_.size() && jobs_[next_].polygon == polygon && params == params_ &&
               version_ == lightingVersion() && world_ == state().world.get();
    }

    bool ready(int32_t polygon, int32_t waitMs) {
        auto it = index_.find(polygon);
        // Without a worker the claim computes the values itself.
        if (it == index_.end() || it->second < next_ || workers_.empty()) return true;
        const std::size_t i = it->second;
        std::unique_lock<std::mutex> lock(m_);
        return ready_.wait_for(lock, std::chrono::milliseconds(std::max(0, waitMs)), [&] { return done_[i] != 0; });
    }

    int32_t claim(Polygon& p) {
        const std::size_t i = next_++;
        const Job& job = jobs_[i];
        std::vector<uint8_t> values;
        bool mine = false;
        {
            std::unique_lock<std::mutex> lock(m_);
            // One no worker has taken (none may have started) is computed here.
            if (taken_ == i) {
                ++taken_;
                mine = true;
            } else {
                ready_.wait(lock, [&] { return done_[i] != 0; });
                values = std::move(values_[i]);
                pending_ -= values.size();
            }
        }
        if (mine) values = compute(job);
        else room_.notify_all();
        if (job.degenerate) throw ApiError("the polygon has no area for a light map");
        return install(p, job, values, params_.number);
    }

private:
    void work() {
        for (;;) {
            std::size_t i = 0;
            {
                std::unique_lock<std::mutex> lock(m_);
                room_.wait(lock, [&] { return stop_ || pending_ <= kPendingBound; });
                if (stop_ || taken_ >= jobs_.size()) return;
                i = taken_++;
            }
            std::vector<uint8_t> values = compute(jobs_[i]);
            if (stop_.load(std::memory_order_relaxed)) return;
            {
                std::lock_guard<std::mutex> lock(m_);
                pending_ += values.size();
                values_[i] = std::move(values);
                done_[i] = 1;
            }
            ready_.notify_all();
        }
    }

    // Empty for a polygon without light or area; cut short once the batch stops.
    std::vector<uint8_t> compute(const Job& job) const {
        std::vector<uint8_t> values;
        if (job.degenerate || job.lights.empty()) return values;
        values.resize(job.bytes());
        for (int y = 0; y < job.height && !stop_.load(std::memory_order_relaxed); ++y)
            computeRows(ctx_, job, y, y + 1, values.data());
        return values;
    }

    const LightMapParams params_;
    const uint64_t version_;
    const World* world_ = state().world.get();
    Context ctx_;
    std::vector<Job> jobs_;
    std::unordered_map<int32_t, std::size_t> index_;
    std::size_t next_ = 0;  // the next polygon to claim (host thread only)

    std::mutex m_;
    std::condition_variable ready_, room_;
    std::vector<std::vector<uint8_t>> values_;
    std::vector<uint8_t> done_;
    std::size_t taken_ = 0, pending_ = 0;
    std::atomic<bool> stop_{false};
    std::vector<std::thread> workers_;
};

std::unique_ptr<Batch> g_batch;

// Without a batch: the polygon's rows spread over the workers.
std::vector<uint8_t> computeAlone(const Context& ctx, const Job& job) {
    std::vector<uint8_t> values(job.bytes());
    const unsigned n = std::min<unsigned>(threadCount(), static_cast<unsigned>(job.height));
    if (n <= 1) {
        computeRows(ctx, job, 0, job.height, values.data());
        return values;
    }
    std::atomic<int> nextRow{0};
    auto rows = [&] {
        for (int y = nextRow++; y < job.height; y = nextRow++) computeRows(ctx, job, y, y + 1, values.data());
    };
    std::vector<std::thread> helpers;
    // Those that cannot start leave their rows to the rest, this thread at least.
    for (unsigned i = 1; i < n; ++i)
        if (!startWorker(helpers, rows)) break;
    rows();
    for (std::thread& t : helpers) t.join();
    return values;
}

}  // namespace

void touchLighting() { ++lightingVersion(); }

int32_t createLightMap(int32_t polygon, const LightMapParams& params) {
    Polygon& p = need<Polygon>(polygon);
    if (g_batch && g_batch->serves(polygon, params)) return g_batch->claim(p);
    g_batch.reset();
    rebindAutoUpdateLights();
    Job job;
    frameJob(p, params, job);
    if (job.degenerate) throw ApiError("the polygon has no area for a light map");
    std::unordered_map<int32_t, int> indexOf;
    Context ctx;
    ctx.lights = copyLights(indexOf);
    bindJobLights(p, indexOf, job);
    if (job.lights.empty()) return install(p, job, {}, params.number);
    ctx.rayTracing = params.rayTracing == 1;
    ctx.lift = liftFor();
    if (ctx.rayTracing) ctx.occluders = occludersOf(outermostAncestor(p.group));
    return install(p, job, computeAlone(ctx, job), params.number);
}

void beginLightMapBatch(int32_t group, const LightMapParams& params) {
    g_batch.reset();
    need<Group>(group);
    rebindAutoUpdateLights();
    g_batch = std::make_unique<Batch>(group, params);
}

bool lightMapReady(int32_t polygon, int32_t waitMs) { return !g_batch || g_batch->ready(polygon, waitMs); }

void endLightMapBatch() {
    g_batch.reset();
    g_occluders = {};
}

void forgetLightMaps() {
    endLightMapBatch();
    // Its maps go with the world, and their files with the folder: nothing is left
    // behind whatever becomes of the program afterwards.
    runFolder().release();
}

std::string newLightMapName() { return runFolder().path() + "/LIGHTMAP_" + std::to_string(++g_serial); }

RunFileWrite writeDueRunFile(Bitmap& map, std::string* why) {
    if (!map.fileDue || !map.image) return RunFileWrite::Nothing;
    const std::string file = map.name + ".bmp";
    try {
        writeImageFile(*map.image, file);
    } catch (const std::exception& e) {
        logLine(1, "light map " + map.name + " kept in memory only: " + e.what());
        if (why) *why = e.what();
        return RunFileWrite::Failed;
    }
    map.fileDue = false;
    map.runFile = file;
    // A save may have given it a file next to the world already: that one stays its source.
    if (map.resolvedPath.empty()) map.resolvedPath = file;
    return RunFileWrite::Written;
}

void deleteRunFile(const Bitmap& map) {
    if (!map.isLightMap || !runFolder().holds(map.runFile)) return;
    std::error_code ec;
    fs::remove(map.runFile, ec);
}

}  // namespace ombrel
