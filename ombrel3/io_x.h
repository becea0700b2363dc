// .x mesh files (text and binary, plain or MSZIP-compressed) imported into the
// open world: frames become groups, meshes polygons.
#pragma once

#include "io_build.h"

#include <string_view>

namespace ombrel {

// True when data starts like a .x file.
bool looksLikeX(std::string_view data);

// Imports data (the whole file) through builder. Top-level frames and meshes get
// father 0. Throws ApiError naming places.worldFile and the offset or line.
void importX(std::string_view data, ImportBuilder& builder, const FilePlaces& places);

}  // namespace ombrel
