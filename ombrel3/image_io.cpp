// Not built yet: replaced by the BMP and JPEG readers.
#include "image_io.h"

#include "api_support.h"

namespace ombrel {

std::shared_ptr<Image> decodeImage(const uint8_t*, std::size_t, const std::string& source) {
    throw ApiError("cannot read image " + source + ": image reading is not built yet");
}
std::shared_ptr<Image> loadImageFile(const std::string& path) {
    throw ApiError("cannot read image " + path + ": image reading is not built yet");
}
void writeImageFile(const Image&, const std::string& path) {
    throw ApiError("cannot write image " + path + ": image writing is not built yet");
}
void buildPalette(Image&) {}
void clearImageCache() {}

}  // namespace ombrel
