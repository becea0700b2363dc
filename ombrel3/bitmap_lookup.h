// Finding the file behind a bitmap reference: a path with its extension or an
// engine name (the absolute path without extension), absolute or relative.
#pragma once

#include "records.h"
#include "world.h"

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>

namespace ombrel {

// The first file bitmap (light maps belong to their polygons) whose file or name
// (per field) is key, with transparent index index unless any index will do; 0
// when none. A bitmap held out of the world is not found, so nothing shares it.
int32_t findFileBitmap(const World& w, std::string Bitmap::*field, const std::string& key, int32_t index,
                       bool anyIndex = false);

// findFileBitmap by file for a reader that adds many bitmaps: the world's are
// indexed once, then each one the reader adds (through add, in world order).
class FileBitmapIndex {
public:
    explicit FileBitmapIndex(const World& w) : world_(w) {}
    int32_t find(const std::string& resolvedPath, int32_t transparentIndex);
    void add(const Bitmap& b);

private:
    static std::string key(const std::string& path, int32_t index);

    const World& world_;
    bool built_ = false;
    std::unordered_map<std::string, int32_t> first_;
};

// The absolute path of the regular file that reference names, or nothing.
// A relative reference is tried against bitmapFolder (when not empty), then the
// working folder. A reference without a picture extension is tried with ".bmp",
// ".jpg" and ".jpeg" in any case, then as it is.
std::optional<std::string> resolveBitmapFile(const std::string& reference, const std::string& bitmapFolder);

// The engine name of a bitmap read from an absolute path: the path without its
// picture extension (other extensions are part of the name).
std::string bitmapNameOf(const std::string& absolutePath);

// The engine name a reference would have if its file existed (absolute against
// bitmapFolder when given, else the working folder), for finding bitmaps whose
// file has gone.
std::string bitmapNameOfReference(const std::string& reference, const std::string& bitmapFolder);

}  // namespace ombrel
