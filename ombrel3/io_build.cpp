#include "io_build.h"

#include "file_replace.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace ombrel {
namespace {

bool sameNoCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

bool isFile(const fs::path& p) {
    std::error_code ec;
    return fs::is_regular_file(p, ec);
}

std::string lowerCase(const std::string& s) {
    std::string out = s;
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// The entry of dir named name, exactly or else in any case; empty when none.
fs::path entryAnyCase(const fs::path& dir, const std::string& name, bool wantDirectory, FolderListings* listings) {
    std::error_code ec;
    fs::path exact = dir / name;
    if (wantDirectory ? fs::is_directory(exact, ec) : fs::is_regular_file(exact, ec)) return exact;
    if (listings) {
        for (const std::string& other : listings->sameNoCase(dir.string(), name)) {
            fs::path p = dir / other;
            if (wantDirectory ? fs::is_directory(p, ec) : fs::is_regular_file(p, ec)) return p;
        }
        return {};
    }
    fs::directory_iterator it(dir, ec), end;
    for (; !ec && it != end; it.increment(ec)) {
        if (!sameNoCase(it->path().filename().string(), name)) continue;
        std::error_code ec2;
        if (wantDirectory ? it->is_directory(ec2) : it->is_regular_file(ec2)) return it->path();
    }
    return {};
}

// <folder>/<file> where the folder's last component may differ in case.
fs::path inFolderAnyCase(const std::string& folder, const std::string& file, FolderListings* listings) {
    if (folder.empty()) return {};
    fs::path f(folder);
    if (!f.has_filename()) f = f.parent_path();  // a trailing separator
    fs::path dir = entryAnyCase(f.parent_path().empty() ? fs::path(".") : f.parent_path(), f.filename().string(), true,
                                listings);
    if (dir.empty()) return {};
    return entryAnyCase(dir, file, false, listings);
}

bool groupNameTaken(const World& w, const std::string& name, int32_t except) {
    bool taken = false;
    w.groups.forEach([&](int32_t h) {
        if (taken || h == except) return;
        if (const Group* g = lookup<Group>(h); g && g->name == name) taken = true;
    });
    return taken;
}

std::string twoDigits(int n) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d", n);
    return buf;
}

}  // namespace

ImportBuilder::~ImportBuilder() {
    if (committed_) return;
    HandleTable& table = state().handles;
    for (auto it = created_.rbegin(); it != created_.rend(); ++it) {
        int32_t h = *it;
        switch (table.kindOf(h)) {
            case Kind::Group:
                if (Group* g = table.find<Group>(h))
                    if (Group* f = table.find<Group>(g->father)) f->children.erase(h);
                world_.groups.erase(h);
                break;
            case Kind::Polygon:
                if (Polygon* p = table.find<Polygon>(h))
                    if (Group* g = table.find<Group>(p->group)) g->polygons.erase(h);
                world_.polygons.erase(h);
                break;
            case Kind::Camera: world_.cameras.erase(h); break;
            case Kind::Light: world_.lights.erase(h); break;
            case Kind::Track: world_.tracks.erase(h); break;
            case Kind::Background: world_.backgrounds.erase(h); break;
            case Kind::Bitmap: world_.bitmaps.erase(h); break;
            case Kind::Animation: world_.animations.erase(h); break;
            default: break;
        }
        table.erase(h);
    }
    touchWorld();
}

Group& ImportBuilder::group(std::string name, int32_t father) {
    Group& g = make<Group>();
    g.name = cutName(name);
    world_.groups.append(g.handle);
    if (Group* f = lookup<Group>(father)) {
        g.father = father;
        f->children.append(g.handle);
    }
    return g;
}

Polygon& ImportBuilder::polygon(int32_t group) {
    Polygon& p = make<Polygon>();
    p.added = true;
    world_.polygons.append(p.handle);
    if (Group* g = lookup<Group>(group)) {
        p.group = group;
        g->polygons.append(p.handle);
    }
    return p;
}

Point& ImportBuilder::point(Polygon& polygon, Vec3 pos) {
    Point& pt = make<Point>();
    pt.polygon = polygon.handle;
    pt.pos = pos;
    polygon.points.push_back(pt.handle);
    return pt;
}

const std::vector<std::string>& FolderListings::sameNoCase(const std::string& dir, const std::string& name) {
    auto [folder, fresh] = folders_.try_emplace(dir);
    if (fresh) {
        std::error_code ec;
        fs::directory_iterator it(dir.empty() ? fs::path(".") : fs::path(dir), ec), end;
        for (; !ec && it != end; it.increment(ec)) {
            std::string entry = it->path().filename().string();
            folder->second[lowerCase(entry)].push_back(std::move(entry));
        }
    }
    static const std::vector<std::string> none;
    const auto it = folder->second.find(lowerCase(name));
    return it == folder->second.end() ? none : it->second;
}

std::string findBitmapFile(const std::string& absolutePath, const std::string& fileName, const FilePlaces& places,
                           FolderListings* listings) {
    const bool plainName = !fileName.empty() && fileName.find('/') == std::string::npos && fileName != "." &&
                           fileName != "..";
    // A world read through a link keeps its bitmaps beside the file the link names.
    const auto worldDir = [&places] {
        fs::path dir;
        try {
            dir = fs::path(linkTarget(places.worldFile)).parent_path();
        } catch (const std::exception&) {
            dir = fs::path(places.worldFile).parent_path();
        }
        return dir.empty() ? fs::path(".") : dir;
    };
    const auto absoluteOf = [](const fs::path& found) {
        std::error_code ec;
        fs::path abs = fs::absolute(found, ec);
        return (ec ? found : abs.lexically_normal()).string();
    };
    // What a save keeps in a world's bitmaps/ (its light maps, portable copies) is
    // the world's own there: a copied world folder reads its own files, not those
    // of the folder it was copied from.
    if (plainName && lowerCase(fs::path(absolutePath).parent_path().filename().string()) == "bitmaps") {
        const fs::path dir = entryAnyCase(worldDir(), "bitmaps", true, listings);
        if (!dir.empty())
            if (fs::path own = entryAnyCase(dir, fileName, false, listings); !own.empty()) return absoluteOf(own);
    }
    if (!absolutePath.empty() && isFile(absolutePath)) return absolutePath;
    if (!plainName) return {};
    const fs::path folder = worldDir();
    fs::path found = inFolderAnyCase(places.bitmapFolder, fileName, listings);
    if (found.empty()) {
        fs::path dir = entryAnyCase(folder, "bitmaps", true, listings);
        if (!dir.empty()) found = entryAnyCase(dir, fileName, false, listings);
    }
    if (found.empty() && !places.searchFolder.empty())
        found = entryAnyCase(places.searchFolder, fileName, false, listings);
    if (found.empty()) found = entryAnyCase(folder, fileName, false, listings);
    if (found.empty()) return {};
    return absoluteOf(found);
}

std::shared_ptr<Image> placeholderImage() {
    auto img = std::make_shared<Image>();
    img->width = 1;
    img->height = 1;
    img->rgba = {128, 128, 128, 255};
    img->index = {0};
    img->palette[0] = Rgb8{128, 128, 128};
    return img;
}

std::string pathWithoutExtension(const std::string& path) {
    std::size_t slash = path.find_last_of('/');
    std::size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash) || dot == slash + 1) return path;
    return path.substr(0, dot);
}

std::string fileNameOf(const std::string& path) {
    std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

int32_t rootAddedGroups(ImportBuilder& builder, const std::string& base) {
    World& w = builder.world();
    std::vector<int32_t> tops;
    int32_t root = 0;
    for (int32_t h : builder.created()) {
        Group* g = lookup<Group>(h);
        if (!g || g->father != 0) continue;
        if (!root && g->name == "the_world") root = h;
        tops.push_back(h);
    }
    if (!root) {
        Group& r = builder.group(base, 0);
        root = r.handle;
        for (int32_t h : tops) {
            Group& g = need<Group>(h);
            g.father = root;
            r.children.append(h);
        }
    }
    // Each candidate is compared as it will be kept.
    std::string name = cutName(base);
    for (int n = 1; groupNameTaken(w, name, root) && n < 1000000; ++n) name = fitName(base, twoDigits(n));
    need<Group>(root).name = name;
    return root;
}

}  // namespace ombrel
