#include "bitmap_lookup.h"

#include "api_support.h"

#include <array>
#include <cctype>
#include <filesystem>
#include <string_view>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace ombrel {
namespace {

constexpr std::array<std::string_view, 3> kExtensions = {".bmp", ".jpg", ".jpeg"};

bool equalNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

bool isPictureExtension(std::string_view ext) {
    for (std::string_view e : kExtensions)
        if (equalNoCase(ext, e)) return true;
    return false;
}

bool isFile(const fs::path& p) {
    std::error_code ec;
    return fs::is_regular_file(p, ec);
}

std::string upper(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

// base + one of the picture extensions: the usual spellings first, then any
// mixed case found in the folder.
std::optional<fs::path> withPictureExtension(const fs::path& base) {
    for (std::string_view e : kExtensions) {
        fs::path lower = base;
        lower += std::string(e);
        if (isFile(lower)) return lower;
        fs::path up = base;
        up += upper(e);
        if (isFile(up)) return up;
    }
    const std::string stem = base.filename().string();
    std::error_code ec;
    fs::directory_iterator it(base.parent_path().empty() ? fs::path(".") : base.parent_path(), ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.size() <= stem.size() || name.compare(0, stem.size(), stem) != 0) continue;
        if (isPictureExtension(std::string_view(name).substr(stem.size())) && isFile(it->path()))
            return base.parent_path() / name;
    }
    return std::nullopt;
}

std::optional<fs::path> findAt(const fs::path& candidate) {
    if (isPictureExtension(candidate.extension().string())) {
        if (isFile(candidate)) return candidate;
        return std::nullopt;
    }
    if (auto found = withPictureExtension(candidate)) return found;
    if (isFile(candidate)) return candidate;
    return std::nullopt;
}

std::string absoluteText(const fs::path& p) {
    std::error_code ec;
    fs::path abs = fs::absolute(p, ec);
    return (ec ? p : abs).lexically_normal().string();
}

}  // namespace

std::optional<std::string> resolveBitmapFile(const std::string& reference, const std::string& bitmapFolder) {
    if (reference.empty()) return std::nullopt;
    const fs::path ref(reference);
    std::vector<fs::path> candidates;
    if (ref.is_absolute()) {
        candidates.push_back(ref);
    } else {
        if (!bitmapFolder.empty()) candidates.push_back(fs::path(bitmapFolder) / ref);
        candidates.push_back(ref);
    }
    for (const fs::path& c : candidates)
        if (auto found = findAt(c)) return absoluteText(*found);
    return std::nullopt;
}

std::string bitmapNameOf(const std::string& absolutePath) {
    fs::path p(absolutePath);
    if (isPictureExtension(p.extension().string())) p.replace_extension();
    return p.string();
}

std::string bitmapNameOfReference(const std::string& reference, const std::string& bitmapFolder) {
    fs::path ref(reference);
    if (!ref.is_absolute() && !bitmapFolder.empty()) ref = fs::path(bitmapFolder) / ref;
    return bitmapNameOf(absoluteText(ref));
}

int32_t findFileBitmap(const World& w, std::string Bitmap::*field, const std::string& key, int32_t index,
                       bool anyIndex) {
    int32_t found = 0;
    w.bitmaps.forEach([&](int32_t h) {
        const Bitmap* b = lookup<Bitmap>(h);
        if (found || !b || b->isLightMap || !b->save || b->*field != key) return;
        if (anyIndex || b->transparentIndex == index) found = h;
    });
    return found;
}

std::string FileBitmapIndex::key(const std::string& path, int32_t index) {
    return std::to_string(index) + '|' + path;
}

int32_t FileBitmapIndex::find(const std::string& resolvedPath, int32_t transparentIndex) {
    if (!built_) {
        built_ = true;
        world_.bitmaps.forEach([&](int32_t h) {
            if (const Bitmap* b = lookup<Bitmap>(h)) add(*b);
        });
    }
    const auto it = first_.find(key(resolvedPath, transparentIndex));
    return it == first_.end() ? 0 : it->second;
}

void FileBitmapIndex::add(const Bitmap& b) {
    // Before the first look-up the world walk will see it.
    if (!built_ || b.isLightMap || !b.save) return;
    first_.emplace(key(b.resolvedPath, b.transparentIndex), b.handle);
}

}  // namespace ombrel
