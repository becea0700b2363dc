#include "image_io.h"

#include "api_support.h"
#include "file_replace.h"
#include "image_bmp.h"
#include "image_jpeg.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <unordered_map>
#include <vector>

#include <sys/stat.h>

namespace ombrel {
namespace {

namespace fs = std::filesystem;

// Larger files are refused before they are read into memory.
constexpr std::uintmax_t kMaxFileBytes = std::uintmax_t(1) << 30;

struct CachedImage {
    std::uintmax_t size = 0;
    int64_t modified = 0;  // nanoseconds
    // Weak: an image lives as long as some bitmap or picture holds it.
    std::weak_ptr<Image> image;
};

// Entries nobody holds are dropped in one sweep once the table has doubled since
// the last, so each file loaded pays a constant share of the sweeps.
struct ImageCache {
    static constexpr std::size_t kFirstSweep = 64;
    std::mutex mutex;
    std::unordered_map<std::string, CachedImage> byPath;
    std::size_t sweepAbove = kFirstSweep;
    uint64_t visited = 0;

    void sweep() {
        visited += byPath.size();
        std::erase_if(byPath, [](const auto& entry) { return entry.second.image.expired(); });
        sweepAbove = std::max(kFirstSweep, 2 * byPath.size());
    }
};

ImageCache& cache() {
    static ImageCache instance;
    return instance;
}

struct FileStamp {
    std::uintmax_t size = 0;
    int64_t modified = 0;
};

// One system call: a world opening stamps every one of its pictures.
FileStamp stampOf(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) throw ApiError("cannot read file " + path);
    return {std::uintmax_t(st.st_size), int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

std::vector<uint8_t> readWholeFile(const std::string& path, std::uintmax_t size) {
    if (size > kMaxFileBytes) throw ApiError("cannot read file " + path + ": too large");
    std::ifstream in(path, std::ios::binary);
    if (!in) throw ApiError("cannot read file " + path);
    std::vector<uint8_t> bytes(static_cast<std::size_t>(size));
    in.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(bytes.size()));
    if (in.gcount() != std::streamsize(bytes.size())) throw ApiError("cannot read file " + path);
    return bytes;
}

// One entry per file however its path was spelt relative to the working folder.
std::string cacheKey(const std::string& path) {
    std::error_code ec;
    const fs::path absolute = fs::absolute(path, ec);
    return ec ? path : absolute.lexically_normal().string();
}

bool endsWithNoCase(const std::string& text, const std::string& tail) {
    if (text.size() < tail.size()) return false;
    return std::equal(tail.begin(), tail.end(), text.end() - std::ptrdiff_t(tail.size()),
                      [](char a, char b) { return std::tolower(uint8_t(a)) == std::tolower(uint8_t(b)); });
}

}  // namespace

void failImage(const std::string& source, const std::string& what, std::size_t offset) {
    throw ApiError("cannot read image " + source + ": " + what + " at offset " + std::to_string(offset));
}

std::shared_ptr<Image> decodeImage(const uint8_t* data, std::size_t size, const std::string& source,
                                   const ImageLimits& limits) {
    Image image;
    if (isBmp(data, size))
        image = decodeBmp(data, size, source, limits);
    else if (isJpeg(data, size))
        image = decodeJpeg(data, size, source, limits);
    else
        failImage(source, "neither a BMP nor a JPEG file", 0);
    if (image.index.empty()) buildPalette(image);
    return std::make_shared<Image>(std::move(image));
}

std::shared_ptr<Image> decodeImage(const uint8_t* data, std::size_t size, const std::string& source) {
    return decodeImage(data, size, source, ImageLimits{});
}

std::shared_ptr<Image> loadImageFile(const std::string& path) {
    const std::string key = cacheKey(path);
    const FileStamp stamp = stampOf(path);

    ImageCache& c = cache();
    {
        std::lock_guard lock(c.mutex);
        const auto it = c.byPath.find(key);
        if (it != c.byPath.end() && it->second.size == stamp.size && it->second.modified == stamp.modified) {
            if (auto image = it->second.image.lock()) return image;
        }
    }
    const std::vector<uint8_t> bytes = readWholeFile(path, stamp.size);
    auto image = decodeImage(bytes.data(), bytes.size(), path);
    std::lock_guard lock(c.mutex);
    c.byPath[key] = CachedImage{stamp.size, stamp.modified, image};
    if (c.byPath.size() > c.sweepAbove) c.sweep();
    return image;
}

std::vector<uint8_t> encodeImageFile(const Image& image, const std::string& path) {
    if (image.width <= 0 || image.height <= 0 ||
        image.rgba.size() != std::size_t(image.width) * std::size_t(image.height) * 4)
        throw ApiError("cannot write image " + path + ": the image has no pixels");
    const bool jpeg = endsWithNoCase(path, ".jpg") || endsWithNoCase(path, ".jpeg");
    const std::uintmax_t bmpBytes = (std::uintmax_t(image.width) * 3 + 3) / 4 * 4 * std::uintmax_t(image.height);
    if (!jpeg && bmpBytes > 0xFFFFFFFFu - 54) throw ApiError("cannot write image " + path + ": too large for BMP");
    return jpeg ? encodeJpeg(image, 90, path) : encodeBmp24(image);
}

std::string writeImageFile(const Image& image, const std::string& path, FileSync sync) {
    const std::vector<uint8_t> bytes = encodeImageFile(image, path);
    const std::string written = replaceFile(path, bytes.data(), bytes.size(), sync);
    // A rewrite within the file system's time resolution could keep size and time.
    ImageCache& c = cache();
    std::lock_guard lock(c.mutex);
    c.byPath.erase(cacheKey(path));
    c.byPath.erase(cacheKey(written));
    return written;
}

void clearImageCache() {
    ImageCache& c = cache();
    std::lock_guard lock(c.mutex);
    c.byPath.clear();
    c.sweepAbove = ImageCache::kFirstSweep;
}

ImageCacheCounts imageCacheCounts() {
    ImageCache& c = cache();
    std::lock_guard lock(c.mutex);
    return {c.byPath.size(), c.visited};
}

}  // namespace ombrel
