// Writing one model into the gallery: the group's world file (portable, its
// bitmaps copied into the folder's "bitmaps") and its preview picture.
#pragma once

#include <cstdint>
#include <string>

namespace ModelGallery {

enum class StoreResult { Stored, PreviewFailed, ModelFailed };

// Writes picture (an engine picture or bitmap) as the model's .jpg and the group,
// centred on the origin, as the model file at path. The engine replaces each file
// whole (links kept, modes kept); when the model cannot be written the preview is
// put back as it was, so a failure leaves no half-written model behind and an
// older model of that name untouched. The group's location is restored on every
// path.
StoreResult StoreModel(int32_t group, int32_t picture, const std::string& path);

}  // namespace ModelGallery
