// World files: our versioned text format (.wld, .vandel, .ombrel) and .x import.
#pragma once

#include "vec.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace ombrel {

// Reads a world file into the engine, which holds a fresh, empty World. Throws
// ApiError naming the file and the line or offset; the caller then empties the
// engine, so a failed load never leaves half a world.
void readWorldFile(const std::string& path, const std::string& searchFolder, const std::string& bitmapFolder,
                   int32_t mode);

// Merges a file into the open world and returns the root group of what was added
// (father 0, its location at `location`). Throws ApiError; the world is unchanged then.
int32_t addWorldFile(const std::string& path, const std::string& searchFolder, const std::string& bitmapFolder,
                     Vec3 location);

// Writes the subtree of group (and, by flags, the world objects) to path through a
// temporary file in the same folder. Throws ApiError; the old file is untouched then.
void saveWorldFile(const std::string& path, int32_t group, int32_t flags);

// As readWorldFile with the file's content already in memory; path names it in
// errors and anchors relative bitmap look-ups.
void readWorldData(std::string_view data, const std::string& path, const std::string& searchFolder,
                   const std::string& bitmapFolder, int32_t mode);

}  // namespace ombrel
