// World files: load, merge, save.
#include "api_support.h"
#include "io_world.h"

#include "ombrel_engine.h"

using namespace ombrel;

namespace {
std::string text(const char* s) { return s ? std::string(s) : std::string(); }
}  // namespace

OMBREL_API int32_t OMBREL_engine_load_world(const char* file, const char* search_folder, const char* bitmap_folder,
                                            int32_t mode) {
    return guarded(__func__, -1, [&] {
        closeWorld();
        state().world = std::make_unique<World>();
        state().world->searchFolder = text(search_folder);
        state().world->bitmapFolder = text(bitmap_folder);
        if (text(file).empty()) return 0;
        try {
            readWorldFile(text(file), text(search_folder), text(bitmap_folder), mode);
        } catch (...) {
            closeWorld();
            throw;
        }
        return 0;
    });
}

OMBREL_API int32_t OMBREL_engine_add_world(const char* file, const char* search_folder, const char* bitmap_folder,
                                           const double location[3]) {
    return guarded(__func__, 0, [&] {
        needWorld();
        if (text(file).empty()) throw ApiError("no file given");
        Vec3 at = location ? needFloats(location) : Vec3{};
        return addWorldFile(text(file), text(search_folder), text(bitmap_folder), at);
    });
}

OMBREL_API int32_t OMBREL_engine_save(const char* path, int32_t group, int32_t flags) {
    return guarded(__func__, -1, [&] {
        needWorld();
        need<Group>(group);
        if (text(path).empty()) throw ApiError("no file given");
        saveWorldFile(text(path), group, flags);
        return 0;
    });
}
