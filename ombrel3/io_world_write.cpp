// Writing world files in our text format. The world file and the bitmap files it
// needs are replaced together (FileBatch), so a failed save leaves the previous
// files as they were and adds none.
#include "file_replace.h"
#include "io_build.h"
#include "io_text.h"
#include "io_world.h"
#include "image_io.h"
#include "lightmap.h"
#include "thread_start.h"

#include "ombrel_types.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <charconv>
#include <condition_variable>
#include <exception>
#include <filesystem>
#include <fstream>
#include <functional>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

namespace ombrel {
namespace {

// Handles of one kind in the order they are written, with their file ids 1, 2...
class Numbering {
public:
    bool add(int32_t h) {
        if (h == 0 || ids_.count(h)) return false;
        order_.push_back(h);
        ids_.emplace(h, static_cast<int64_t>(order_.size()));
        return true;
    }
    int64_t id(int32_t h) const {
        auto it = ids_.find(h);
        return it == ids_.end() ? 0 : it->second;
    }
    bool has(int32_t h) const { return ids_.count(h) != 0; }
    const std::vector<int32_t>& order() const { return order_; }

private:
    std::vector<int32_t> order_;
    std::unordered_map<int32_t, int64_t> ids_;
};

class WorldWriter {
public:
    WorldWriter(const std::string& path, fs::path folder, int32_t group, int32_t flags)
        : path_(path), flags_(flags), w_(needWorld()), folder_(std::move(folder)) {
        if (folder_.empty()) folder_ = ".";
        collect(group);
    }

    // Hands the file's text to emit piece by piece, in order, until emit fails;
    // false then. The polygons, most of any world, are formatted in parallel
    // chunks while the ones before them are being written.
    bool write(const std::function<bool(const std::string&)>& emit) {
        std::string out;
        out.reserve(4096);
        out += "OMBREL-WORLD 1\n";
        if (flags_ & OMBREL_SAVE_WORLD_OBJECTS) {
            out += "atmosphere ";
            rgb(out, w_.fog);
            sp(out);
            appendNumber(out, w_.fogIntensity);
            out += '\n';
        }
        for (int32_t h : bitmaps_.order()) bitmap(out, h);
        for (int32_t h : animations_.order()) animation(out, h);
        for (int32_t h : groups_.order()) group(out, h);
        if (!emit(out) || !emitPolygons(emit)) return false;
        std::string tail;
        for (int32_t h : cameras_.order()) camera(tail, h);
        for (int32_t h : lights_.order()) light(tail, h);
        for (int32_t h : tracks_.order()) track(tail, h);
        for (int32_t h : backgrounds_.order()) background(tail, h);
        if ((flags_ & OMBREL_SAVE_WORLD_OBJECTS) && backgrounds_.has(w_.background)) {
            tail += "use-background ";
            appendInt(tail, backgrounds_.id(w_.background));
            tail += '\n';
        }
        tail += "end\n";
        return emit(tail);
    }

    // Copies (0x40) and light maps (0x200) into <folder>/bitmaps, added to the
    // batch before the world file itself.
    void writeBitmapFiles(FileBatch& batch) {
        const fs::path dir = folder_ / "bitmaps";
        bool dirMade = false;
        std::vector<std::pair<std::string, FileProducer>> newMaps;
        for (int32_t h : bitmaps_.order()) {
            Bitmap& bm = need<Bitmap>(h);
            bool lightMap = bm.isLightMap && (flags_ & OMBREL_SAVE_LIGHTMAPS);
            // Referenced where it is: its run file must exist by now.
            if (bm.isLightMap && !lightMap) writeDueRunFile(bm);
            if (!lightMap && !(flags_ & OMBREL_SAVE_PORTABLE)) continue;
            std::error_code ec;
            if (!dirMade) {
                fs::create_directories(dir, ec);
                if (ec) throw ApiError("cannot write " + path_ + ": cannot make " + dir.string() + ": " + ec.message());
                dirMade = true;
            }
            if (lightMap) {
                if (std::string file = placeLightMap(h, dir, newMaps); !file.empty()) written_[h] = file;
                continue;
            }
            fs::path target = dir / storedFileName(bm);
            std::string source = sourceFile(bm);
            if (source.empty()) continue;  // a placeholder: nothing to copy
            if (fs::equivalent(source, target, ec)) continue;
            batch.add(target.string(), copyOf(source, target.string()));
            written_[h] = fs::absolute(target, ec).lexically_normal().string();
        }
        // Thousands of small files: encoded and written by threads together. A
        // name another save took meanwhile (or has in another case) gives way to
        // the next free one.
        std::error_code ec;
        const fs::path folder = fs::absolute(dir, ec).lexically_normal();
        batch.addAll(newMaps, true, [this, folder](const std::string& taken) {
            takenNames(folder).insert(lowerCase(fs::path(taken).filename().string()));
            return nextFreeLightMap(folder).string();
        });
    }

    // Puts the new light maps in place before the world file that names them is
    // written, so that it names the files as placed.
    void placeNewLightMaps(FileBatch& batch) {
        const std::vector<std::string> placed = batch.placeFresh();
        for (std::size_t i = 0; i < placed.size() && i < newLightMaps_.size(); ++i) {
            newLightMaps_[i].second = placed[i];
            written_[newLightMaps_[i].first] = placed[i];
        }
    }

    // The bitmap files this save wrote or kept, by absolute path.
    std::vector<std::string> bitmapFiles() const {
        std::vector<std::string> files;
        for (const auto& entry : written_) files.push_back(entry.second);
        return files;
    }

    // Once the files are in place, new light maps remember theirs.
    void keepNewLightMapFiles() {
        for (const auto& [h, file] : newLightMaps_)
            if (Bitmap* bm = lookup<Bitmap>(h)) bm->resolvedPath = file;
    }

private:
    // Polygon ids are their places in the order, so chunks need nothing from each
    // other; the workers only read the world.
    bool emitPolygons(const std::function<bool(const std::string&)>& emit) const {
        const std::vector<int32_t>& order = polygons_.order();
        constexpr std::size_t kPerChunk = 4096;
        const std::size_t chunks = (order.size() + kPerChunk - 1) / kPerChunk;
        const std::size_t workers = std::min<std::size_t>(chunks, std::max(1u, std::thread::hardware_concurrency()));
        std::vector<std::string> texts(chunks);
        std::vector<std::exception_ptr> failures(chunks);
        std::vector<char> done(chunks, 0);
        std::mutex mutex;
        std::condition_variable ready;
        std::atomic<std::size_t> next{0};
        std::atomic<bool> stop{false};
        auto make = [&](std::size_t c) {
            try {
                std::string& out = texts[c];
                const std::size_t from = c * kPerChunk, to = std::min(order.size(), from + kPerChunk);
                out.reserve((to - from) * 200);
                for (std::size_t i = from; i < to; ++i) polygon(out, order[i], static_cast<int64_t>(i) + 1);
            } catch (...) {
                failures[c] = std::current_exception();
            }
        };
        auto work = [&] {
            for (std::size_t c; !stop && (c = next++) < chunks;) {
                make(c);
                {
                    std::lock_guard<std::mutex> lock(mutex);
                    done[c] = 1;
                }
                ready.notify_all();
            }
        };
        std::vector<std::thread> threads;
        struct Join {
            std::vector<std::thread>& threads;
            std::atomic<bool>& stop;
            ~Join() {
                stop = true;
                for (std::thread& t : threads) t.join();
            }
        } join{threads, stop};
        // A worker that cannot be started leaves its chunks to the others; with
        // none, this thread makes each chunk as its turn comes.
        for (std::size_t t = 0; t < workers; ++t)
            if (!startWorker(threads, work)) break;
        const bool alone = threads.empty();
        for (std::size_t c = 0; c < chunks; ++c) {
            if (alone) {
                make(c);
            } else {
                std::unique_lock<std::mutex> lock(mutex);
                ready.wait(lock, [&] { return done[c] != 0; });
            }
            if (failures[c]) std::rethrow_exception(failures[c]);
            if (!emit(texts[c])) return false;
            std::string().swap(texts[c]);
        }
        return true;
    }

    static void sp(std::string& out) { out += ' '; }
    static void num(std::string& out, double v) {
        out += ' ';
        appendNumber(out, v);
    }
    static void vec(std::string& out, Vec3 v) {
        num(out, v.x);
        num(out, v.y);
        num(out, v.z);
    }
    static void rgb(std::string& out, Rgb8 c) {
        appendInt(out, c.r);
        sp(out);
        appendInt(out, c.g);
        sp(out);
        appendInt(out, c.b);
    }
    static void flag(std::string& out, const char* key, bool v) {
        out += ' ';
        out += key;
        out += v ? " 1" : " 0";
    }
    static void ref(std::string& out, const char* key, int64_t id) {
        out += ' ';
        out += key;
        out += ' ';
        appendInt(out, id);
    }

    static FileProducer copyOf(const std::string& source, const std::string& target) {
        return [source, target](const FileSink& sink) {
            std::ifstream in(source, std::ios::binary);
            if (!in) throw ApiError("cannot copy bitmap " + source + " to " + target + ": cannot read it");
            std::vector<char> block(std::size_t(1) << 16);
            while (in.read(block.data(), std::streamsize(block.size())) || in.gcount() > 0)
                if (!sink(block.data(), std::size_t(in.gcount()))) return false;
            if (in.bad()) throw ApiError("cannot copy bitmap " + source + " to " + target + ": cannot read it");
            return true;
        };
    }

    // The file a bitmap was read from; "" for a placeholder whose file is missing.
    static std::string sourceFile(const Bitmap& bm) {
        std::error_code ec;
        if (!bm.resolvedPath.empty() && fs::is_regular_file(bm.resolvedPath, ec)) return bm.resolvedPath;
        for (const char* ext : {".bmp", ".jpg", ".jpeg", ".BMP", ".JPG", ".JPEG"})
            if (fs::is_regular_file(bm.name + ext, ec)) return bm.name + ext;
        return {};
    }
    static std::string referencePath(const Bitmap& bm) {
        std::string p = !bm.resolvedPath.empty() ? bm.resolvedPath : sourceFile(bm);
        if (p.empty()) p = bm.name + ".bmp";
        std::error_code ec;
        fs::path abs = fs::absolute(p, ec);
        return ec ? p : abs.lexically_normal().string();
    }
    std::string storedFileName(const Bitmap& bm) const {
        if (bm.isLightMap && (flags_ & OMBREL_SAVE_LIGHTMAPS)) {
            auto placed = written_.find(bm.handle);
            return placed != written_.end() ? fileNameOf(placed->second) : fileNameOf(bm.name) + ".bmp";
        }
        return fileNameOf(referencePath(bm));
    }

    // The light map's file in dir: its own one there when it still exists (loaded
    // from it, or written by an earlier save), else a new one under the first
    // LIGHTMAP_<n>.bmp no file there has, which the map remembers once the save
    // is done. No file in dir is ever overwritten. "" for a stand-in without a picture.
    std::string placeLightMap(int32_t h, const fs::path& dir, std::vector<std::pair<std::string, FileProducer>>& newMaps) {
        Bitmap& bm = need<Bitmap>(h);
        std::error_code ec;
        const fs::path folder = fs::absolute(dir, ec).lexically_normal();
        if (!bm.resolvedPath.empty()) {
            const fs::path own = fs::absolute(bm.resolvedPath, ec).lexically_normal();
            if (own.parent_path() == folder && fs::is_regular_file(own, ec)) return own.string();
        }
        if (!bm.image || bm.recordedWidth > 0) return {};
        const fs::path target = nextFreeLightMap(folder);
        // The picture is only read while the save runs.
        std::shared_ptr<const Image> image = bm.image;
        newMaps.emplace_back(target.string(), [image, file = target.string()](const FileSink& sink) {
            const std::vector<uint8_t> bytes = encodeImageFile(*image, file);
            return sink(bytes.data(), bytes.size());
        });
        newLightMaps_.emplace_back(h, target.string());
        return target.string();
    }

    // The first LIGHTMAP_<n>.bmp of the folder that no file there has, in any
    // case (a volume may not tell the cases apart), nor a map of this save.
    fs::path nextFreeLightMap(const fs::path& folder) {
        for (;; ++nextLightMapFile_) {
            const std::string name = "LIGHTMAP_" + std::to_string(nextLightMapFile_) + ".bmp";
            if (takenNames(folder).count(lowerCase(name))) continue;
            ++nextLightMapFile_;  // not on disk before the batch is placed
            return folder / name;
        }
    }

    static std::string lowerCase(std::string name) {
        for (char& c : name) c = char(std::tolower(static_cast<unsigned char>(c)));
        return name;
    }

    // The names in the maps' folder as the save began, in lower case: one listing
    // instead of a look-up per new map (a name taken since is found when placed).
    std::unordered_set<std::string>& takenNames(const fs::path& folder) {
        if (!taken_) {
            taken_.emplace();
            std::error_code ec;
            for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
                taken_->insert(lowerCase(it->path().filename().string()));
            if (ec) throw ApiError("cannot write " + path_ + ": cannot read " + folder.string() + ": " + ec.message());
        }
        return *taken_;
    }

    void collect(int32_t top) {
        bool fills = flags_ & OMBREL_SAVE_FILLS;
        bool worldObjects = flags_ & OMBREL_SAVE_WORLD_OBJECTS;
        std::vector<int32_t> neededBitmaps, neededAnimations;
        auto needAnimation = [&](int32_t a) {
            if (const Animation* an = lookup<Animation>(a)) {
                neededAnimations.push_back(a);
                for (const auto& dir : an->frames) neededBitmaps.insert(neededBitmaps.end(), dir.begin(), dir.end());
            }
        };
        if (flags_ & OMBREL_SAVE_GEOMETRY) {
            std::vector<int32_t> stack{top};
            while (!stack.empty()) {
                int32_t h = stack.back();
                stack.pop_back();
                const Group* g = lookup<Group>(h);
                if (!g || !groups_.add(h)) continue;
                g->polygons.forEach([&](int32_t ph) {
                    const Polygon* p = lookup<Polygon>(ph);
                    if (!p || !p->added) return;
                    polygons_.add(ph);
                    if (!fills) return;
                    if (p->fill == FillKind::Bitmap) neededBitmaps.push_back(p->bitmap);
                    if (p->fill == FillKind::Animation) needAnimation(p->animation);
                    neededBitmaps.push_back(p->secondBitmap);
                });
                std::vector<int32_t> kids = g->children.toVector();
                for (auto it = kids.rbegin(); it != kids.rend(); ++it) stack.push_back(*it);
            }
        }
        if (worldObjects) {
            w_.cameras.forEach([&](int32_t h) {
                if (const Camera* c = lookup<Camera>(h); c && c->save) cameras_.add(h);
            });
            w_.lights.forEach([&](int32_t h) {
                if (const Light* l = lookup<Light>(h); l && l->save) lights_.add(h);
            });
            w_.tracks.forEach([&](int32_t h) {
                if (const Track* t = lookup<Track>(h); t && t->save) tracks_.add(h);
            });
            w_.backgrounds.forEach([&](int32_t h) {
                if (const Background* b = lookup<Background>(h); b && b->save) {
                    backgrounds_.add(h);
                    neededBitmaps.push_back(b->bitmap);
                }
            });
            w_.animations.forEach([&](int32_t h) {
                if (const Animation* a = lookup<Animation>(h); a && a->save) needAnimation(h);
            });
            w_.bitmaps.forEach([&](int32_t h) {
                if (const Bitmap* b = lookup<Bitmap>(h); b && !b->isLightMap && b->save) neededBitmaps.push_back(h);
            });
        }
        // World list order first, so that a reloaded world writes the same file.
        std::unordered_set<int32_t> wantBitmaps(neededBitmaps.begin(), neededBitmaps.end());
        std::unordered_set<int32_t> wantAnimations(neededAnimations.begin(), neededAnimations.end());
        w_.bitmaps.forEach([&](int32_t h) {
            if (wantBitmaps.count(h)) bitmaps_.add(h);
        });
        for (int32_t h : neededBitmaps)
            if (lookup<Bitmap>(h)) bitmaps_.add(h);
        w_.animations.forEach([&](int32_t h) {
            if (wantAnimations.count(h)) animations_.add(h);
        });
        for (int32_t h : neededAnimations) animations_.add(h);
    }

    void bitmap(std::string& out, int32_t h) {
        const Bitmap& bm = need<Bitmap>(h);
        out += "bitmap ";
        appendInt(out, bitmaps_.id(h));
        sp(out);
        bool portable = flags_ & OMBREL_SAVE_PORTABLE;
        std::string file = storedFileName(bm);
        auto copied = written_.find(h);
        if (portable) {
            appendQuoted(out, pathWithoutExtension(file));
            sp(out);
            appendQuoted(out, "");
        } else {
            const std::string source = copied != written_.end() ? copied->second : referencePath(bm);
            // A map saved beside the world is named by that file, as a reopen names
            // it, not by the run folder it was made in, which goes with the run.
            appendQuoted(out, bm.isLightMap && copied != written_.end() ? pathWithoutExtension(source) : bm.name);
            sp(out);
            appendQuoted(out, source);
        }
        sp(out);
        appendQuoted(out, file);
        sp(out);
        appendInt(out, bm.transparentIndex);
        if (bm.isLightMap) {
            out += " lightmap ";
            appendInt(out, std::max(bm.width(), 1));
            sp(out);
            appendInt(out, std::max(bm.height(), 1));
        }
        out += '\n';
    }

    void animation(std::string& out, int32_t h) {
        const Animation& a = need<Animation>(h);
        out += "animation ";
        appendInt(out, animations_.id(h));
        sp(out);
        appendQuoted(out, a.name);
        flag(out, "save", a.save);
        out += " dirs";
        std::vector<int64_t> frames[5];
        for (int d = 0; d < 5; ++d) {
            for (int32_t bm : a.frames[d])
                if (int64_t id = bitmaps_.id(bm)) frames[d].push_back(id);
            sp(out);
            appendInt(out, static_cast<int64_t>(frames[d].size()));
        }
        out += " frames";
        for (const auto& dir : frames)
            for (int64_t id : dir) {
                sp(out);
                appendInt(out, id);
            }
        out += " times ";
        appendInt(out, static_cast<int64_t>(a.frameTimes.size()));
        for (int32_t t : a.frameTimes) {
            sp(out);
            appendInt(out, t);
        }
        out += '\n';
    }

    void chase(std::string& out, const Chase& c, int64_t trackId) {
        out += "chase ";
        appendInt(out, c.type);
        num(out, c.distance);
        num(out, c.softness);
        num(out, c.speed);
        num(out, c.friction);
        num(out, c.elasticity);
        num(out, c.maxSpeed);
        out += " offset";
        vec(out, c.offset);
        out += " trackoffset";
        vec(out, c.trackOffset);
        out += " force";
        vec(out, c.force);
        sp(out);
        appendQuoted(out, c.nameToChase);
        sp(out);
        appendQuoted(out, c.trackName);
        ref(out, "track", trackId);
        flag(out, "falling", c.falling);
        num(out, c.fallHeight);
        sp(out);
        appendInt(out, c.fallValue);
        out += '\n';
    }

    void group(std::string& out, int32_t h) {
        const Group& g = need<Group>(h);
        out += "group ";
        appendInt(out, groups_.id(h));
        sp(out);
        appendQuoted(out, g.name);
        ref(out, "father", groups_.id(g.father));
        flag(out, "static", g.isStatic);
        flag(out, "disabled", g.disabled);
        out += " pivot";
        vec(out, g.pivot);
        out += " origin";
        vec(out, g.origin);
        out += " axes";
        for (const Vec3& c : g.axes.c) vec(out, c);
        out += '\n';
        chase(out, g.chase, 0);
    }

    void polygon(std::string& out, int32_t h, int64_t id) const {
        const Polygon& p = need<Polygon>(h);
        bool fills = flags_ & OMBREL_SAVE_FILLS;
        out += "polygon ";
        appendInt(out, id);
        sp(out);
        appendQuoted(out, p.name);
        ref(out, "group", groups_.id(p.group));
        flag(out, "enabled", p.enabled);
        int64_t bitmapId = fills && p.fill == FillKind::Bitmap ? bitmaps_.id(p.bitmap) : 0;
        int64_t animationId = fills && p.fill == FillKind::Animation ? animations_.id(p.animation) : 0;
        if (bitmapId) ref(out, "fill bitmap", bitmapId);
        else if (animationId) ref(out, "fill animation", animationId);
        else out += " fill colour";
        out += " rgb ";
        rgb(out, fills ? p.colour : Rgb8{192, 192, 192});
        int64_t second = fills ? bitmaps_.id(p.secondBitmap) : 0;
        ref(out, "second", second);
        ref(out, "blend", p.blend);
        out += " dim";
        num(out, p.diminution);
        flag(out, "rotated", p.rotated);
        std::vector<int64_t> lights;
        for (int32_t l : p.lights)
            if (int64_t id = lights_.id(l)) lights.push_back(id);
        ref(out, "lights", static_cast<int64_t>(lights.size()));
        for (int64_t id : lights) {
            sp(out);
            appendInt(out, id);
        }
        if (second) {
            out += " map";
            vec(out, p.mapOrigin);
            vec(out, p.mapU);
            vec(out, p.mapV);
        }
        out += '\n';
        for (int32_t ph : p.points)
            if (const Point* pt = lookup<Point>(ph)) pointLine(out, *pt);
    }

    // Most of a file: formatted on the stack and appended once per line.
    static void pointLine(std::string& out, const Point& pt) {
        char line[512];  // ten numbers of at most 24 characters, and the words
        char* at = line;
        auto number = [&](double v) {
            *at++ = ' ';
            at = std::to_chars(at, at + 32, v).ptr;
        };
        auto byte = [&](uint8_t v) {
            *at++ = ' ';
            at = std::to_chars(at, at + 4, static_cast<int>(v)).ptr;
        };
        *at++ = 'p';
        for (double v : {pt.pos.x, pt.pos.y, pt.pos.z, pt.uv.x, pt.uv.y, pt.brightness}) number(v);
        if (pt.hasNormal) {
            *at++ = ' ';
            *at++ = 'n';
            for (double v : {pt.normal.x, pt.normal.y, pt.normal.z}) number(v);
        }
        if (!(pt.rgb == Rgb8{255, 255, 255})) {
            *at++ = ' ';
            *at++ = 'c';
            for (uint8_t v : {pt.rgb.r, pt.rgb.g, pt.rgb.b}) byte(v);
        }
        *at++ = '\n';
        out.append(line, static_cast<std::size_t>(at - line));
    }

    void camera(std::string& out, int32_t h) {
        const Camera& c = need<Camera>(h);
        out += "camera ";
        appendInt(out, cameras_.id(h));
        sp(out);
        appendQuoted(out, c.name);
        flag(out, "save", c.save);
        out += " eye";
        vec(out, c.eye);
        out += " a1";
        vec(out, c.a1);
        out += " a2";
        vec(out, c.a2);
        out += " a3";
        vec(out, c.a3);
        out += " zoom";
        num(out, c.zoom);
        out += " near";
        num(out, c.nearDist);
        out += '\n';
        chase(out, c.chase, tracks_.id(c.chase.track));
    }

    void light(std::string& out, int32_t h) {
        const Light& l = need<Light>(h);
        out += "light ";
        appendInt(out, lights_.id(h));
        sp(out);
        appendQuoted(out, l.name);
        flag(out, "save", l.save);
        out += " pos";
        vec(out, l.pos);
        out += " dir";
        vec(out, l.dir);
        out += " rgb ";
        rgb(out, l.rgb);
        num(out, l.ambient);
        num(out, l.diffuse);
        num(out, l.specular);
        num(out, l.shine);
        num(out, l.reach);
        sp(out);
        appendInt(out, l.type);
        out += l.disabled ? " 1" : " 0";
        out += l.rayTracing ? " 1" : " 0";
        sp(out);
        appendInt(out, l.autoUpdate);
        ref(out, "target", groups_.id(l.target));
        out += '\n';
    }

    void track(std::string& out, int32_t h) {
        const Track& t = need<Track>(h);
        out += "track ";
        appendInt(out, tracks_.id(h));
        sp(out);
        appendQuoted(out, t.name);
        flag(out, "save", t.save);
        flag(out, "cyclic", t.cyclic);
        ref(out, "n", static_cast<int64_t>(t.pts.size()));
        out += '\n';
        for (const Vec3& p : t.pts) {
            appendNumber(out, p.x);
            num(out, p.y);
            num(out, p.z);
            out += '\n';
        }
    }

    void background(std::string& out, int32_t h) {
        const Background& b = need<Background>(h);
        out += "background ";
        appendInt(out, backgrounds_.id(h));
        sp(out);
        appendQuoted(out, b.name);
        flag(out, "save", b.save);
        ref(out, "bitmap", bitmaps_.id(b.bitmap));
        out += " bottom";
        num(out, b.bottom);
        out += " bottomint";
        num(out, b.bottomIntensity);
        out += " distance";
        num(out, b.distance);
        out += " step";
        num(out, b.step);
        out += '\n';
    }

    std::string path_;
    int32_t flags_;
    World& w_;
    fs::path folder_;
    Numbering bitmaps_, animations_, groups_, polygons_, cameras_, lights_, tracks_, backgrounds_;
    std::unordered_map<int32_t, std::string> written_;  // bitmap -> the file written for it
    uint64_t nextLightMapFile_ = 1;  // no smaller free LIGHTMAP_<n>.bmp is left in this save
    std::vector<std::pair<int32_t, std::string>> newLightMaps_;  // bitmap -> its new file
    std::optional<std::unordered_set<std::string>> taken_;
};

}  // namespace

void saveWorldFile(const std::string& path, int32_t group, int32_t flags) {
    // Through a link, the bitmaps folder goes beside the file the link names.
    const std::string target = linkTarget(path);
    std::error_code ec;
    if (fs::is_directory(target, ec)) throw ApiError("cannot write " + path + ": it is a folder");
    WorldWriter writer(path, fs::path(target).parent_path(), group, flags);
    // The new light maps go in place first, under the names they could have, then
    // the world that names them; the copies and the world with one sync, the world
    // last. A failure on the way removes the new maps again.
    FileBatch batch;
    batch.namedBy(target);
    writer.writeBitmapFiles(batch);
    writer.placeNewLightMaps(batch);
    batch.add(path, [&](const FileSink& sink) {
        return writer.write([&](const std::string& text) { return sink(text.data(), text.size()); });
    });
    batch.place();
    writer.keepNewLightMapFiles();
    std::vector<std::string> written = writer.bitmapFiles();
    written.push_back(target);
    // A killed save's leftovers go whether or not this one writes maps.
    removeLeftovers(written, {(fs::path(target).parent_path() / "bitmaps").string()});
}

}  // namespace ombrel
