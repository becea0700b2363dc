// Not built yet: replaced by the world file reader and writer.
#include "io_world.h"

#include "api_support.h"

namespace ombrel {

void readWorldFile(const std::string& path, const std::string&, const std::string&, int32_t) {
    throw ApiError("cannot read " + path + ": world files are not built yet");
}
int32_t addWorldFile(const std::string& path, const std::string&, const std::string&, Vec3) {
    throw ApiError("cannot read " + path + ": world files are not built yet");
}
void saveWorldFile(const std::string& path, int32_t, int32_t) {
    throw ApiError("cannot write " + path + ": world files are not built yet");
}

}  // namespace ombrel
