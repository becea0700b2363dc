#include "ModelGalleryStore.h"

#include "ModelGallery.h"

#include "ombrel.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

namespace fs = std::filesystem;

namespace ModelGallery {
namespace {

// Engine flags of a gallery model: geometry, fills, portable bitmaps.
constexpr int32_t kModelSaveFlags = 0x243;

// Puts the group back where it was, whatever happens while it sits at the origin.
class LocationRestorer {
public:
    explicit LocationRestorer(int32_t group) : group_(group) {
        OMBREL_group_get_location(group_, &saved_[0], &saved_[1], &saved_[2]);
    }
    ~LocationRestorer() { OMBREL_group_set_location(group_, saved_); }
    LocationRestorer(const LocationRestorer&) = delete;
    LocationRestorer& operator=(const LocationRestorer&) = delete;

private:
    int32_t group_;
    double saved_[3] = {0, 0, 0};
};

// The file at path, when it is one that can be read.
std::optional<std::string> contentsOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return std::nullopt;
    return bytes;
}

// Puts back the preview a failed store replaced, or removes the one it made.
void restorePreview(const fs::path& preview, const std::optional<std::string>& before) {
    if (before) {
        OMBREL_ext_replace_file(preview.c_str(), reinterpret_cast<const uint8_t*>(before->data()),
                                static_cast<int64_t>(before->size()));
        return;
    }
    std::error_code ec;
    const fs::path made = fs::canonical(preview, ec);  // through a link: the file it names
    fs::remove(ec ? preview : made, ec);
}

}  // namespace

StoreResult StoreModel(int32_t group, int32_t picture, const std::string& path) {
    const fs::path model(path);
    const fs::path preview(PreviewPath(path));
    std::error_code ec;
    // Beside the file the model's path names, where the engine copies them.
    const fs::path modelFile = fs::weakly_canonical(model, ec);
    const fs::path bitmaps = (ec ? model : modelFile).parent_path() / "bitmaps";
    const bool hadBitmaps = fs::exists(fs::symlink_status(bitmaps, ec));
    const std::optional<std::string> previewBefore = contentsOf(preview);

    // The engine replaces each file whole; the preview goes first, as a model
    // file in place means the model is whole.
    if (OMBREL_utilities_save_bitmap24(picture, preview.c_str()) == -1) return StoreResult::PreviewFailed;
    int32_t saved = -1;
    {
        LocationRestorer restorer(group);
        const double origin[3] = {0, 0, 0};
        OMBREL_group_set_location(group, origin);
        saved = OMBREL_engine_save(model.c_str(), group, kModelSaveFlags);
    }
    if (saved == 0) return StoreResult::Stored;
    restorePreview(preview, previewBefore);
    if (!hadBitmaps) fs::remove_all(bitmaps, ec);
    return StoreResult::ModelFailed;
}

}  // namespace ModelGallery
