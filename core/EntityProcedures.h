// Reading names and locations of engine entities, moving lights, finding a
// bitmap's file, and keeping views that look through the selected camera current.
#pragma once

#include "CoreTypes.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace Globals {

// The engine name of any entity; bitmaps (absolute paths) are read in full.
std::string GetEntityName(int32_t handle);
// Location by kind; background, none and unknown kinds leave result unchanged.
void GetEntityLocation(int32_t handle, int32_t kind, Point3d& result);
// Moves the light only, not its marker.
void MoveLight(int32_t light, const Point3d& offset);
// Folders listed once for a run of bitmap file look-ups: a tree of thousands of
// bitmaps in one folder reads that folder once, not once per bitmap.
class BitmapFolderListings {
public:
    // The regular file in folder named stem + ext, the extension in any case; an
    // exact spelling of the stem wins over one that differs only in case.
    std::optional<std::filesystem::path> find(const std::filesystem::path& folder, const std::string& stem,
                                              const std::string& ext);
    // The folder gained a file since it was listed: list it again when next asked.
    void forget(const std::filesystem::path& folder) { folders_.erase(folder.string()); }

private:
    // Lower-case file name -> the names spelt so, in the folder's order.
    using Listing = std::unordered_map<std::string, std::vector<std::string>>;
    std::unordered_map<std::string, Listing> folders_;
};

// The bitmap's file (name + ".bmp", then ".jpg", extension in any case) without
// folder and extension as the file system spells it; when neither exists, the
// name's last component + ".bmp". Never fails. The engine is asked first, as it
// writes a light map's file only when someone needs it.
std::string GetBitmapFileName(int32_t bitmap);
std::string GetBitmapFileName(int32_t bitmap, BitmapFolderListings& listings);
// The full path of that file, or "" when neither exists.
std::string FindBitmapFilePath(int32_t bitmap);
std::string FindBitmapFilePath(int32_t bitmap, BitmapFolderListings& listings);
// Views that look through the selected camera (their ViewedSceneCamera) follow it
// and are redrawn.
void SyncViewIfSelIsViewedCam();
// The other views are redrawn (the camera's marker moved in them).
void UpdateCamIfSelIsViewedCam();

}  // namespace Globals
