// Reading world files: our text format, or .x by content. Records are built
// straight into the open world through an ImportBuilder, so a failure undoes them.
#include "bitmap_lookup.h"
#include "io_build.h"
#include "io_text.h"
#include "io_world.h"
#include "io_x.h"
#include "image_io.h"
#include "lighting.h"
#include "model.h"
#include "transform.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <new>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>
#include <unordered_set>

namespace ombrel {
namespace {

constexpr int64_t kMaxId = std::numeric_limits<int32_t>::max();
constexpr int kMaxGroupDepth = 1000;
constexpr std::string_view kMagic = "OMBREL-WORLD";

struct ReadOptions {
    FilePlaces places;
    int32_t mode = 0;
    bool adding = false;
};

// File-local ids of one kind mapped to the handles made for them.
class IdMap {
public:
    explicit IdMap(const char* kind) : kind_(kind) {}
    void define(TextCursor& in, int64_t id, int32_t handle) {
        if (!map_.emplace(id, handle).second) in.fail(std::string("duplicate ") + kind_ + " id " + std::to_string(id));
    }
    // The handle of id (0 stays 0); unknown ids fail.
    int32_t need(TextCursor& in, int64_t id) const {
        if (id == 0) return 0;
        auto it = map_.find(id);
        if (it == map_.end()) in.fail(std::string("unknown ") + kind_ + " id " + std::to_string(id));
        return it->second;
    }
    // For references resolved after the whole file is read: 0 when unknown.
    int32_t find(int64_t id) const {
        auto it = map_.find(id);
        return it == map_.end() ? 0 : it->second;
    }

private:
    const char* kind_;
    std::unordered_map<int64_t, int32_t> map_;
};

// Ids nothing refers to (polygons) need only be unique. Ids that only grow, as
// every saved file has them, are kept in a plain list; only the ones after an id
// out of order go into a set.
class UniqueIds {
public:
    explicit UniqueIds(const char* kind) : kind_(kind) {}
    void define(TextCursor& in, int64_t id) {
        if (later_.empty() && (growing_.empty() || id > growing_.back())) {
            growing_.push_back(id);
            return;
        }
        if (std::binary_search(growing_.begin(), growing_.end(), id) || !later_.insert(id).second)
            in.fail(std::string("duplicate ") + kind_ + " id " + std::to_string(id));
    }

private:
    const char* kind_;
    std::vector<int64_t> growing_;
    std::unordered_set<int64_t> later_;
};

class WorldReader {
public:
    WorldReader(TextCursor& in, ImportBuilder& b, const ReadOptions& opt) : in_(in), b_(b), w_(b.world()), opt_(opt) {}

    void read() {
        if (!in_.nextLine()) in_.fail("empty file");
        if (in_.word() != kMagic) in_.fail("not a world file");
        int64_t version = in_.integer(0, kMaxId);
        if (version != 1) in_.fail("format version " + std::to_string(version) + " is not readable by this program");
        bool ended = false;
        while (in_.nextLine()) {
            std::string_view kind = in_.word();
            if (kind == "end") {
                ended = true;
                break;
            }
            record(kind);
        }
        if (!ended) in_.fail("the file ends without its \"end\" record (truncated?)");
        resolveLater();
    }

private:
    Vec3 vec3() {
        Vec3 v;
        v.x = in_.number();
        v.y = in_.number();
        v.z = in_.number();
        return v;
    }
    Vec3 coord() {
        Vec3 v = vec3();
        if (state().autoCorrectMode == 1)
            for (int i = 0; i < 3; ++i)
                if (std::isfinite(v[i])) v[i] = std::round(v[i] * 1e6) / 1e6;
        return v;
    }
    Rgb8 rgb() {
        Rgb8 c;
        c.r = static_cast<uint8_t>(in_.integer(0, 255));
        c.g = static_cast<uint8_t>(in_.integer(0, 255));
        c.b = static_cast<uint8_t>(in_.integer(0, 255));
        return c;
    }
    int64_t id() { return in_.integer(1, kMaxId); }
    int64_t ref() { return in_.integer(0, kMaxId); }
    // A count read from the current line, bounded by what the line can hold.
    std::size_t lineCount() {
        int64_t n = in_.integer(0, kMaxId);
        if (static_cast<std::size_t>(n) > in_.lineBytesLeft() / 2 + 1) in_.fail("count " + std::to_string(n) + " larger than the line holds");
        return static_cast<std::size_t>(n);
    }
    void endOfRecord() {
        if (!in_.lineDone()) in_.fail("unexpected text at the end of the record");
    }

    void record(std::string_view kind) {
        if (kind != "p" && kind != "chase") {
            lastPolygon_ = nullptr;
            lastChase_ = nullptr;
        }
        if (kind == "p") point();
        else if (kind == "polygon") polygon();
        else if (kind == "group") group();
        else if (kind == "chase") chase();
        else if (kind == "bitmap") bitmap();
        else if (kind == "animation") animation();
        else if (kind == "camera") camera();
        else if (kind == "light") light();
        else if (kind == "track") track();
        else if (kind == "background") background();
        else if (kind == "atmosphere") atmosphere();
        else if (kind == "use-background") useBackground();
        else
            logLine(1, in_.source() + ": line " + std::to_string(in_.line()) + ": skipping unknown record \"" +
                           std::string(kind.substr(0, 40)) + "\"");
    }

    void atmosphere() {
        Rgb8 fog = rgb();
        double intensity = in_.number();
        endOfRecord();
        if (opt_.adding) return;  // the open world keeps its own fog
        w_.fog = fog;
        w_.fogIntensity = intensity < 0 ? 0 : intensity;
    }

    void bitmap() {
        int64_t fileId = id();
        std::string name = in_.quoted();
        std::string absolute = in_.quoted();
        std::string fileName = in_.quoted();
        int32_t transparent = static_cast<int32_t>(in_.integer(-1, 255));
        bool lightMap = false;
        int w = 1, h = 1;
        if (!in_.lineDone()) {
            in_.expect("lightmap");
            lightMap = true;
            w = static_cast<int>(in_.integer(1, 4096));
            h = static_cast<int>(in_.integer(1, 4096));
        }
        endOfRecord();
        std::string path = findBitmapFile(absolute, fileName, opt_.places, &folders_);
        if (!path.empty() && !lightMap) {
            // The same file and transparent index already loaded: share it.
            if (const int32_t same = fileBitmaps_.find(path, transparent)) {
                bitmaps_.define(in_, fileId, same);
                return;
            }
        }
        std::shared_ptr<Image> image;
        int recordedWidth = 0, recordedHeight = 0;
        std::string why;
        if (!path.empty()) {
            try {
                image = loadImageFile(path);
            } catch (const std::exception& e) {
                why = e.what();
            }
        } else {
            why = "not found";
        }
        std::string shown = !absolute.empty() ? absolute : fileName;
        if (!image) {
            if (!(opt_.mode & OMBREL_LOAD_EDITOR) && !opt_.adding) in_.fail("bitmap \"" + shown + "\": " + why);
            logLine(1, in_.source() + ": line " + std::to_string(in_.line()) + ": bitmap \"" + shown + "\" " + why +
                           "; using a placeholder");
            image = placeholderImage();
            if (lightMap) {
                recordedWidth = w;
                recordedHeight = h;
            }
        }
        Bitmap& bm = b_.make<Bitmap>();
        bm.image = std::move(image);
        bm.recordedWidth = recordedWidth;
        bm.recordedHeight = recordedHeight;
        bm.resolvedPath = !path.empty() ? path : absolute;
        if (!path.empty()) bm.name = pathWithoutExtension(path);
        else if (!name.empty()) bm.name = name;
        else bm.name = pathWithoutExtension(shown);
        bm.transparentIndex = transparent;
        bm.isLightMap = lightMap;
        w_.bitmaps.append(bm.handle);
        fileBitmaps_.add(bm);
        bitmaps_.define(in_, fileId, bm.handle);
    }

    void animation() {
        int64_t fileId = id();
        Animation& a = b_.make<Animation>();
        a.name = cut(in_.quoted());
        in_.expect("save");
        a.save = in_.flag();
        in_.expect("dirs");
        std::size_t counts[5];
        for (std::size_t& c : counts) c = lineCount();
        in_.expect("frames");
        for (int d = 0; d < 5; ++d)
            for (std::size_t i = 0; i < counts[d]; ++i) {
                int32_t bm = bitmaps_.need(in_, id());
                a.frames[d].push_back(bm);
            }
        in_.expect("times");
        std::size_t n = lineCount();
        for (std::size_t i = 0; i < n; ++i) a.frameTimes.push_back(static_cast<int32_t>(in_.integer(INT32_MIN, INT32_MAX)));
        endOfRecord();
        w_.animations.append(a.handle);
        animations_.define(in_, fileId, a.handle);
    }

    void group() {
        int64_t fileId = id();
        std::string name = in_.quoted();
        in_.expect("father");
        int32_t father = groups_.need(in_, ref());
        int depth = 0;
        if (father) {
            depth = depth_[father] + 1;
            if (depth > kMaxGroupDepth) in_.fail("groups nested deeper than " + std::to_string(kMaxGroupDepth));
        }
        Group& g = b_.group(std::move(name), father);
        depth_[g.handle] = depth;
        in_.expect("static");
        g.isStatic = in_.flag();
        in_.expect("disabled");
        g.disabled = in_.flag();
        in_.expect("pivot");
        g.pivot = coord();
        in_.expect("origin");
        g.origin = coord();
        in_.expect("axes");
        for (Vec3& c : g.axes.c) c = vec3();
        endOfRecord();
        groups_.define(in_, fileId, g.handle);
        lastChase_ = &g.chase;
        lastChaseIsCamera_ = false;
    }

    void chase() {
        if (!lastChase_) in_.fail("a chase record must follow its group or camera");
        Chase& c = *lastChase_;
        c.type = static_cast<int32_t>(in_.integer(INT32_MIN, INT32_MAX));
        c.distance = in_.number();
        c.softness = in_.number();
        c.speed = in_.number();
        c.friction = in_.number();
        c.elasticity = in_.number();
        c.maxSpeed = in_.number();
        in_.expect("offset");
        c.offset = vec3();
        in_.expect("trackoffset");
        c.trackOffset = vec3();
        in_.expect("force");
        c.force = vec3();
        c.nameToChase = cut(in_.quoted());
        c.trackName = cut(in_.quoted());
        in_.expect("track");
        int64_t track = ref();
        in_.expect("falling");
        c.falling = in_.flag();
        c.fallHeight = in_.number();
        c.fallValue = static_cast<int32_t>(in_.integer(INT32_MIN, INT32_MAX));
        endOfRecord();
        c.track = 0;
        if (lastChaseIsCamera_ && track) cameraTracks_.push_back({lastChase_, track});
        lastChase_ = nullptr;
    }

    void polygon() {
        int64_t fileId = id();
        std::string name = in_.quoted();
        in_.expect("group");
        int32_t group = groups_.need(in_, id());
        Polygon& p = b_.polygon(group);
        p.name = cut(std::move(name));
        in_.expect("enabled");
        p.enabled = in_.flag();
        in_.expect("fill");
        std::string_view fill = in_.word();
        if (fill == "colour") {
            p.fill = FillKind::Colour;
        } else if (fill == "bitmap") {
            p.fill = FillKind::Bitmap;
            p.bitmap = bitmaps_.need(in_, id());
        } else if (fill == "animation") {
            p.fill = FillKind::Animation;
            p.animation = animations_.need(in_, id());
        } else {
            in_.fail("unknown fill \"" + std::string(fill.substr(0, 40)) + "\"");
        }
        in_.expect("rgb");
        p.colour = rgb();
        in_.expect("second");
        p.secondBitmap = bitmaps_.need(in_, ref());
        if (Bitmap* bm = lookup<Bitmap>(p.secondBitmap); bm && bm->isLightMap && bm->ownerPolygon == 0) {
            bm->ownerPolygon = p.handle;
            p.ownsSecond = true;
        }
        in_.expect("blend");
        p.blend = static_cast<uint8_t>(in_.integer(0, 255));
        in_.expect("dim");
        p.diminution = in_.number();
        in_.expect("rotated");
        p.rotated = in_.flag();
        in_.expect("lights");
        std::size_t n = lineCount();
        for (std::size_t i = 0; i < n; ++i) p.lights.push_back(static_cast<int32_t>(id()));  // file ids until the end
        if (!in_.lineDone()) {
            in_.expect("map");
            p.mapOrigin = vec3();
            p.mapU = vec3();
            p.mapV = vec3();
        }
        endOfRecord();
        if (n) boundPolygons_.push_back(p.handle);
        polygons_.define(in_, fileId);
        lastPolygon_ = &p;
    }

    void point() {
        if (!lastPolygon_) in_.fail("a point record must follow its polygon");
        Point& pt = b_.point(*lastPolygon_, coord());
        pt.uv.x = in_.number();
        pt.uv.y = in_.number();
        pt.brightness = in_.number();
        while (!in_.lineDone()) {
            std::string_view extra = in_.word();
            if (extra == "n") {
                pt.normal = vec3();
                pt.hasNormal = true;
            } else if (extra == "c") {
                pt.rgb = rgb();
            } else {
                in_.fail("unknown point field \"" + std::string(extra.substr(0, 40)) + "\"");
            }
        }
    }

    void camera() {
        int64_t fileId = id();
        Camera& c = b_.make<Camera>();
        c.name = cut(in_.quoted());
        in_.expect("save");
        c.save = in_.flag();
        in_.expect("eye");
        c.eye = coord();
        in_.expect("a1");
        c.a1 = vec3();
        in_.expect("a2");
        c.a2 = vec3();
        in_.expect("a3");
        c.a3 = vec3();
        in_.expect("zoom");
        c.zoom = in_.number();
        in_.expect("near");
        c.nearDist = in_.number();
        endOfRecord();
        w_.cameras.append(c.handle);
        cameras_.define(in_, fileId, c.handle);
        lastChase_ = &c.chase;
        lastChaseIsCamera_ = true;
    }

    void light() {
        int64_t fileId = id();
        Light& l = b_.make<Light>();
        l.name = cut(in_.quoted());
        in_.expect("save");
        l.save = in_.flag();
        in_.expect("pos");
        l.pos = coord();
        in_.expect("dir");
        l.dir = vec3();
        in_.expect("rgb");
        l.rgb = rgb();
        l.ambient = in_.number();
        l.diffuse = in_.number();
        l.specular = in_.number();
        l.shine = in_.number();
        l.reach = in_.number();
        l.type = static_cast<int32_t>(in_.integer(INT32_MIN, INT32_MAX));
        l.disabled = in_.flag();
        l.rayTracing = in_.flag();
        l.autoUpdate = static_cast<int32_t>(in_.integer(INT32_MIN, INT32_MAX));
        in_.expect("target");
        l.target = groups_.need(in_, ref());
        endOfRecord();
        w_.lights.append(l.handle);
        lights_.define(in_, fileId, l.handle);
    }

    void track() {
        int64_t fileId = id();
        Track& t = b_.make<Track>();
        t.name = cut(in_.quoted());
        in_.expect("save");
        t.save = in_.flag();
        in_.expect("cyclic");
        t.cyclic = in_.flag();
        in_.expect("n");
        int64_t n = in_.integer(0, kMaxId);
        endOfRecord();
        // Each point line holds at least "0 0 0" and its line end.
        if (static_cast<std::size_t>(n) > in_.bytesLeft() / 6) in_.fail("track point count " + std::to_string(n) + " larger than the file holds");
        t.pts.reserve(static_cast<std::size_t>(n));
        for (int64_t i = 0; i < n; ++i) {
            if (!in_.nextLine()) in_.fail("the file ends inside a track");
            t.pts.push_back(coord());
            endOfRecord();
        }
        w_.tracks.append(t.handle);
        tracks_.define(in_, fileId, t.handle);
    }

    void background() {
        int64_t fileId = id();
        Background& bg = b_.make<Background>();
        bg.name = cut(in_.quoted());
        in_.expect("save");
        bg.save = in_.flag();
        in_.expect("bitmap");
        bg.bitmap = bitmaps_.need(in_, ref());
        in_.expect("bottom");
        bg.bottom = in_.number();
        in_.expect("bottomint");
        bg.bottomIntensity = in_.number();
        in_.expect("distance");
        bg.distance = in_.number();
        in_.expect("step");
        bg.step = in_.number();
        endOfRecord();
        w_.backgrounds.append(bg.handle);
        backgrounds_.define(in_, fileId, bg.handle);
    }

    void useBackground() {
        int32_t bg = backgrounds_.need(in_, ref());
        endOfRecord();
        if (!opt_.adding) w_.background = bg;
    }

    // References that may point forwards: polygon lights, camera tracks.
    void resolveLater() {
        for (int32_t ph : boundPolygons_) {
            Polygon& p = need<Polygon>(ph);
            std::vector<int32_t> handles;
            for (int32_t fileId : p.lights)
                if (int32_t l = lights_.find(fileId)) handles.push_back(l);
            p.lights.assign(handles.begin(), handles.end());
        }
        for (auto& [c, track] : cameraTracks_) c->track = tracks_.find(track);
        for (int32_t h : b_.created())
            if (lookup<Group>(h)) touchGroup(h);
        touchWorld();
    }

    static std::string cut(std::string s) {
        if (s.size() > 254) s.resize(254);
        return s;
    }

    TextCursor& in_;
    ImportBuilder& b_;
    World& w_;
    const ReadOptions& opt_;
    IdMap bitmaps_{"bitmap"}, animations_{"animation"}, groups_{"group"}, cameras_{"camera"}, lights_{"light"},
        tracks_{"track"}, backgrounds_{"background"};
    UniqueIds polygons_{"polygon"};
    FileBitmapIndex fileBitmaps_{w_};
    FolderListings folders_;
    std::unordered_map<int32_t, int> depth_;
    Polygon* lastPolygon_ = nullptr;
    Chase* lastChase_ = nullptr;
    bool lastChaseIsCamera_ = false;
    std::vector<int32_t> boundPolygons_;
    std::vector<std::pair<Chase*, int64_t>> cameraTracks_;
};

// A whole file in memory of its own, mapped for it and unmapped when done, so that
// reading a large world leaves no hole in the heap behind.
class FileText {
public:
    explicit FileText(const std::string& path) {
        int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) throw ApiError("cannot open " + path);
        struct stat st {};
        std::size_t expected = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) ? static_cast<std::size_t>(st.st_size) : 0;
        bool ok = true;
        reserve(expected + 1);  // one byte more shows the end was reached
        for (;;) {
            if (size_ == capacity_) reserve(capacity_ * 2);
            ssize_t n = ::read(fd, data_ + size_, capacity_ - size_);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) {
                ok = n == 0;
                break;
            }
            size_ += static_cast<std::size_t>(n);
        }
        ::close(fd);
        if (!ok) {
            release();
            throw ApiError("cannot read " + path);
        }
    }
    ~FileText() { release(); }
    FileText(const FileText&) = delete;
    FileText& operator=(const FileText&) = delete;

    std::string_view view() const { return {data_, size_}; }

private:
    void reserve(std::size_t n) {
        n = std::max<std::size_t>(n, 1 << 16);
        void* fresh = ::mmap(nullptr, n, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (fresh == MAP_FAILED) {
            release();
            throw std::bad_alloc();
        }
        if (data_) std::memcpy(fresh, data_, size_);
        if (data_) ::munmap(data_, capacity_);
        data_ = static_cast<char*>(fresh);
        capacity_ = n;
    }
    void release() {
        if (data_) ::munmap(data_, capacity_);
        data_ = nullptr;
        size_ = capacity_ = 0;
    }

    char* data_ = nullptr;
    std::size_t size_ = 0, capacity_ = 0;
};

// Reads data into the open world through builder.
void readInto(std::string_view data, ImportBuilder& builder, const ReadOptions& opt) {
    // Nearly every line is a record with a handle: room for them all at once.
    std::size_t lines = static_cast<std::size_t>(std::count(data.begin(), data.end(), '\n')) + 1;
    state().handles.reserve(lines);
    builder.reserve(lines);
    if (looksLikeX(data)) {
        importX(data, builder, opt.places);
        for (int32_t h : builder.created())
            if (lookup<Group>(h)) touchGroup(h);
        return;
    }
    TextCursor in(data, opt.places.worldFile);
    WorldReader(in, builder, opt).read();
}

ReadOptions options(const std::string& path, const std::string& search, const std::string& bitmaps, int32_t mode,
                    bool adding) {
    ReadOptions opt;
    opt.places = {path, search, bitmaps};
    opt.mode = mode;
    opt.adding = adding;
    return opt;
}

std::string baseNameOf(const std::string& path) {
    std::string base = pathWithoutExtension(fileNameOf(path));
    return base.empty() ? std::string("world") : base;
}

}  // namespace

void readWorldData(std::string_view data, const std::string& path, const std::string& searchFolder,
                   const std::string& bitmapFolder, int32_t mode) {
    ImportBuilder builder(needWorld());
    readInto(data, builder, options(path, searchFolder, bitmapFolder, mode, false));
    builder.commit();
    touchBindings();
}

void readWorldFile(const std::string& path, const std::string& searchFolder, const std::string& bitmapFolder,
                   int32_t mode) {
    FileText text(path);
    readWorldData(text.view(), path, searchFolder, bitmapFolder, mode);
}

int32_t addWorldFile(const std::string& path, const std::string& searchFolder, const std::string& bitmapFolder,
                     Vec3 location) {
    FileText text(path);
    ImportBuilder builder(needWorld());
    readInto(text.view(), builder, options(path, searchFolder, bitmapFolder, OMBREL_LOAD_EDITOR, true));
    int32_t root = rootAddedGroups(builder, baseNameOf(path));
    Group& g = need<Group>(root);
    moveGroup(g, location - groupLocation(g));
    builder.commit();
    touchBindings();
    return root;
}

}  // namespace ombrel
