#include "EntityProcedures.h"

#include "Camera.h"
#include "Globals.h"
#include "StringProcedures.h"
#include "SyncViewWithCamera.h"
#include "TrackProcedures.h"
#include "ViewHooks.h"

#include "ombrel.h"

#include <algorithm>
#include <filesystem>
#include <cctype>
#include <optional>
#include <vector>

namespace Globals {
namespace {

std::string readName(int32_t handle, int32_t bufferLen) {
    std::vector<char> buffer(static_cast<std::size_t>(bufferLen), '\0');
    OMBREL_entity_get_name(handle, buffer.data(), bufferLen);
    buffer.back() = '\0';
    return StripAtNull(std::string_view(buffer.data(), buffer.size()));
}

std::string lowerCase(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// The views record the world camera they look through by handle, so two cameras
// of one name, or a renamed one, never mix up their views.
template <typename Action>
void forViewsShowingSelectedCamera(bool matching, Action action) {
    const int32_t camera = CurrSelEntityType == SelCamera ? CurrSelEntityHandle : 0;
    for (int view = 0; view <= 3; ++view) {
        const auto& viewCam = ViewCams[static_cast<std::size_t>(view)];
        const bool looksThrough = camera != 0 && viewCam && viewCam->ViewedSceneCamera == camera;
        if (looksThrough == matching) action(view);
    }
}

}  // namespace

std::string GetEntityName(int32_t handle) {
    const int32_t len = OMBREL_ext_handle_kind(handle) == OMBREL_KIND_BITMAP ? OMBREL_PATH_MAX : OMBREL_NAME_MAX;
    return readName(handle, len);
}

void GetEntityLocation(int32_t handle, int32_t kind, Point3d& result) {
    switch (kind) {
    case SelGroup: OMBREL_group_get_location(handle, &result[0], &result[1], &result[2]); break;
    case SelCamera: OMBREL_camera_get_location1(handle, result.data()); break;
    case SelTrack: GetTrackCenter(handle, result); break;
    case SelLight: OMBREL_light_get_location(handle, result.data()); break;
    case SelMultiple: result = SelObjsAvgCenter; break;
    default: break;
    }
}

void MoveLight(int32_t light, const Point3d& offset) {
    Point3d loc = {0, 0, 0};
    OMBREL_light_get_location(light, loc.data());
    for (int i = 0; i < 3; ++i) loc[i] += offset[i];
    OMBREL_light_set_location(light, loc.data());
}

std::optional<std::filesystem::path> BitmapFolderListings::find(const std::filesystem::path& folder,
                                                                const std::string& stem, const std::string& ext) {
    namespace fs = std::filesystem;
    auto [entry, fresh] = folders_.try_emplace(folder.string());
    Listing& listing = entry->second;
    if (fresh) {
        std::error_code ec;
        for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
            std::error_code fileEc;
            if (!it->is_regular_file(fileEc)) continue;
            std::string name = it->path().filename().string();
            listing[lowerCase(name)].push_back(std::move(name));
        }
    }
    const auto found = listing.find(lowerCase(stem + ext));
    if (found == listing.end()) return std::nullopt;
    for (const std::string& name : found->second)
        if (name.compare(0, stem.size(), stem) == 0) return folder / name;
    return folder / found->second.front();
}

std::string FindBitmapFilePath(int32_t bitmap, BitmapFolderListings& listings) {
    std::filesystem::path path(readName(bitmap, OMBREL_PATH_MAX));
    // Bitmap names are absolute; never look relative to the current folder.
    if (!path.is_absolute()) return {};
    if (OMBREL_ext_bitmap_ensure_file(bitmap) == 1) listings.forget(path.parent_path());
    for (const char* ext : {".bmp", ".jpg"})
        if (auto found = listings.find(path.parent_path(), path.filename().string(), ext)) return found->string();
    return {};
}

std::string FindBitmapFilePath(int32_t bitmap) {
    BitmapFolderListings listings;
    return FindBitmapFilePath(bitmap, listings);
}

std::string GetBitmapFileName(int32_t bitmap, BitmapFolderListings& listings) {
    std::string found = FindBitmapFilePath(bitmap, listings);
    if (!found.empty()) return std::filesystem::path(found).stem().string();
    return std::filesystem::path(readName(bitmap, OMBREL_PATH_MAX)).filename().string() + ".bmp";
}

std::string GetBitmapFileName(int32_t bitmap) {
    BitmapFolderListings listings;
    return GetBitmapFileName(bitmap, listings);
}

void SyncViewIfSelIsViewedCam() {
    forViewsShowingSelectedCamera(true, [](int view) {
        int32_t camera = CurrSelEntityHandle;
        SyncViewWithCamera(camera, view);
    });
}

void UpdateCamIfSelIsViewedCam() {
    forViewsShowingSelectedCamera(false, [](int view) {
        if (core::viewHooks().updateCamerasSingle) core::viewHooks().updateCamerasSingle(view);
    });
}

}  // namespace Globals
