#include "ModelGalleryStore.h"

#include "ModelGallery.h"

#include "ombrel.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace ModelGallery {
namespace {

// Engine flags of a gallery model: geometry, fills, portable bitmaps.
constexpr int32_t kModelSaveFlags = 0x243;

// Hidden, so a leftover is never listed as a model.
constexpr const char* kTemporaryStem = ".~gallery";

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

void removeQuietly(const fs::path& path) {
    std::error_code ec;
    fs::remove(path, ec);
}

}  // namespace

StoreResult StoreModel(int32_t group, int32_t picture, const std::string& path) {
    const fs::path model(path);
    const fs::path folder = model.parent_path();
    const fs::path preview(PreviewPath(path));
    const fs::path temporaryPreview = folder / (std::string(kTemporaryStem) + ".jpg");
    const fs::path temporaryModel = folder / (std::string(kTemporaryStem) + model.extension().string());
    const fs::path bitmaps = folder / "bitmaps";
    std::error_code ec;
    const bool hadBitmaps = fs::exists(fs::symlink_status(bitmaps, ec));

    if (OMBREL_utilities_save_bitmap24(picture, temporaryPreview.c_str()) == -1) {
        removeQuietly(temporaryPreview);
        return StoreResult::PreviewFailed;
    }
    int32_t saved = -1;
    {
        LocationRestorer restorer(group);
        const double origin[3] = {0, 0, 0};
        OMBREL_group_set_location(group, origin);
        saved = OMBREL_engine_save(temporaryModel.c_str(), group, kModelSaveFlags);
    }
    // The preview goes in first: a model file in place means the model is whole.
    bool placed = saved == 0;
    if (placed) {
        fs::rename(temporaryPreview, preview, ec);
        placed = !ec;
    }
    if (placed) {
        fs::rename(temporaryModel, model, ec);
        placed = !ec;
        if (!placed) removeQuietly(preview);
    }
    if (placed) return StoreResult::Stored;
    removeQuietly(temporaryPreview);
    removeQuietly(temporaryModel);
    if (!hadBitmaps) fs::remove_all(bitmaps, ec);
    return StoreResult::ModelFailed;
}

}  // namespace ModelGallery
