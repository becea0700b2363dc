// What the world and .x readers share: records made in the open world and undone
// together when a read fails, bitmap look-up, and placing an added world.
#pragma once

#include "api_support.h"
#include "records.h"
#include "world.h"

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace ombrel {

// Where a reader looks for the files a world refers to.
struct FilePlaces {
    std::string worldFile;     // the file being read
    std::string searchFolder;  // "" = none
    std::string bitmapFolder;  // "" = none
};

class ImportBuilder {
public:
    explicit ImportBuilder(World& world) : world_(world) {}
    ~ImportBuilder();
    ImportBuilder(const ImportBuilder&) = delete;
    ImportBuilder& operator=(const ImportBuilder&) = delete;

    World& world() { return world_; }

    // Every record made here is destroyed again unless commit() was called.
    template <class T>
    T& make() {
        T& obj = createObject<T>();
        created_.push_back(obj.handle);
        return obj;
    }
    Group& group(std::string name, int32_t father);
    // A polygon added to the world, last in group's own list.
    Polygon& polygon(int32_t group);
    Point& point(Polygon& polygon, Vec3 pos);

    void commit() { committed_ = true; }
    void reserve(std::size_t records) { created_.reserve(created_.size() + records); }
    const std::vector<int32_t>& created() const { return created_; }

private:
    World& world_;
    std::vector<int32_t> created_;
    bool committed_ = false;
};

// The folders a reader looks through for names in any case, each listed once: a
// world of many bitmaps would otherwise list a large folder for every file it
// does not find under its exact name.
class FolderListings {
public:
    // The entries of dir whose names equal name in any case, in listing order.
    const std::vector<std::string>& sameNoCase(const std::string& dir, const std::string& name);

private:
    std::unordered_map<std::string, std::unordered_map<std::string, std::vector<std::string>>> folders_;
};

// The bitmap file of a world reference, looked up in this order: for a file kept
// in a folder named bitmaps, <folder of the world file>/bitmaps/<file> in any case;
// the absolute path; <bitmap folder>/<file> (last folder component in any case);
// <folder of the world file>/bitmaps/<file> in any case; <search folder>/<file>;
// beside the world file. "" when none exists. A reader passes its listings for the look-ups in any
// case; without them each such look-up lists its folder afresh.
std::string findBitmapFile(const std::string& absolutePath, const std::string& fileName, const FilePlaces& places,
                           FolderListings* listings = nullptr);

// A one-texel grey picture standing in for a bitmap whose file is missing or
// unreadable; whatever size the file claims, it costs nothing.
std::shared_ptr<Image> placeholderImage();

// The path without its extension: a bitmap's name.
std::string pathWithoutExtension(const std::string& path);
// The last component of a path.
std::string fileNameOf(const std::string& path);

// Roots what a merge added: the file's "the_world" (father 0) renamed to base, or
// a new group named base adopting every added father-0 group. The name is made
// unique among the world's groups with 01, 02... Returns the root.
int32_t rootAddedGroups(ImportBuilder& builder, const std::string& base);

}  // namespace ombrel
