// Pictures for painting on surfaces: loading, stretching onto a surface, saving.
#include "api_support.h"
#include "file_replace.h"
#include "image_io.h"

#include "ombrel_utilities.h"

#include <algorithm>
#include <unordered_map>

using namespace ombrel;

namespace {

// Pictures loaded by path; a path whose file is unchanged gives the same picture.
std::unordered_map<std::string, int32_t>& loadedPictures() {
    static std::unordered_map<std::string, int32_t> byPath;
    return byPath;
}

// The image of a picture or a world bitmap.
const Image& imageOf(int32_t handle) {
    std::shared_ptr<Image> image;
    if (const Picture* p = lookup<Picture>(handle))
        image = p->image;
    else if (const Bitmap* b = lookup<Bitmap>(handle))
        image = b->image;
    else
        failStale(handle, Kind::Picture);
    if (!image || image->width <= 0 || image->height <= 0 ||
        image->rgba.size() < static_cast<std::size_t>(image->width) * image->height * 4)
        throw ApiError("the picture holds no image");
    return *image;
}

}  // namespace

OMBREL_API int32_t OMBREL_utilities_load_bitmap_from_file(const char* path) {
    return guarded(__func__, 0, [&] {
        if (!path || !*path) throw ApiError("no file given");
        std::shared_ptr<Image> image = loadImageFile(path);
        auto& byPath = loadedPictures();
        auto it = byPath.find(path);
        if (it != byPath.end()) {
            if (Picture* old = lookup<Picture>(it->second)) {
                if (old->image == image) return old->handle;
                state().handles.erase(old->handle);  // the file changed: replace its picture
            }
        }
        Picture& pic = createObject<Picture>();
        pic.image = std::move(image);
        pic.path = path;
        byPath[path] = pic.handle;
        return pic.handle;
    });
}

OMBREL_API int32_t OMBREL_utilities_copy_bitmap_on_dc(int32_t dc, int32_t picture, int32_t x, int32_t y, int32_t width,
                                                      int32_t height) {
    return guarded(__func__, -1, [&] {
        Surface& s = need<Surface>(dc);
        const Image& im = imageOf(picture);
        if (width <= 0 || height <= 0) return 0;
        // Nearest texel, never filtered: every drawn pixel is a true colour of the picture.
        int x0 = std::max(x, 0), x1 = static_cast<int>(std::min<int64_t>(int64_t{x} + width, s.width));
        int y0 = std::max(y, 0), y1 = static_cast<int>(std::min<int64_t>(int64_t{y} + height, s.height));
        for (int j = y0; j < y1; ++j) {
            int sy = static_cast<int>(std::min<int64_t>((int64_t{j - y} * im.height) / height, im.height - 1));
            uint8_t* row = s.px + static_cast<std::ptrdiff_t>(j) * s.stride;
            const uint8_t* src = im.rgba.data() + static_cast<std::size_t>(sy) * im.width * 4;
            for (int i = x0; i < x1; ++i) {
                int sx = static_cast<int>(std::min<int64_t>((int64_t{i - x} * im.width) / width, im.width - 1));
                row[i * 4] = src[sx * 4];
                row[i * 4 + 1] = src[sx * 4 + 1];
                row[i * 4 + 2] = src[sx * 4 + 2];
                row[i * 4 + 3] = 255;
            }
        }
        return 0;
    });
}

OMBREL_API int32_t OMBREL_utilities_save_bitmap24(int32_t bitmap_or_picture, const char* path) {
    return guarded(__func__, -1, [&] {
        const Image& im = imageOf(bitmap_or_picture);
        if (!path || !*path) throw ApiError("no file given");
        removeLeftovers({writeImageFile(im, path, FileSync::Durable)});
        return 0;
    });
}
