#include "ModelGallery.h"

#include "KeyedTree.h"

#include "core/StringProcedures.h"
#include "platform/files.h"
#include "platform/program.h"

#include <QString>

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace fs = std::filesystem;

namespace ModelGallery {
namespace {

// Longest file name the file systems we run on accept, in bytes.
constexpr std::size_t kMaxNameBytes = 255;

std::string lowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

bool isHidden(const std::string& name) { return name.empty() || name.front() == '.'; }

// The listing's order: alphabetical, letter case ignored.
void sortNames(std::vector<std::string>& names) {
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return QString::compare(QString::fromStdString(a), QString::fromStdString(b), Qt::CaseInsensitive) < 0;
    });
}

// Entries of a folder whose own status (links not followed) passes keep.
template <class Keep>
std::vector<std::string> entryNames(const std::string& path, Keep keep) {
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(path, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (isHidden(name)) continue;
        std::error_code statusError;
        if (keep(it->path(), it->symlink_status(statusError)) && !statusError) names.push_back(name);
    }
    sortNames(names);
    return names;
}

bool isModelFile(const std::string& name) {
    const std::string extension = lowerCase(Globals::GetFileExtension(name));
    return extension == "wld" || extension == "vandel";
}

std::string withoutExtension(const std::string& name) {
    const auto dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

}  // namespace

std::string GalleryRoot() { return platform::withTrailingSlash(platform::programFolder()) + "Models"; }

void trwModel_Populate(KeyedTree& tree) {
    tree.Clear();
    const std::string root = GalleryRoot();
    // A missing gallery is created empty; every step goes on when one fails.
    if (!platform::folderExists(root)) platform::CreateDirectoryA(root);
    try {
        tree.Add("", root, kRootText, kFolderImage);
        trwModel_AddFolders(tree, root);
    } catch (const std::exception&) {
        // What was listed so far stays in the tree.
    }
}

void trwModel_AddFolders(KeyedTree& tree, const std::string& path) {
    for (const std::string& folder : ListSubFolders(path)) {
        const std::string name = fs::path(folder).filename().string();
        if (IsReservedFolderName(name)) continue;
        tree.Add(path, folder, name, kFolderImage);
        trwModel_AddFolders(tree, folder);
    }
    trwModel_AddModels(tree, path);
}

void trwModel_AddModels(KeyedTree& tree, const std::string& path) {
    for (const std::string& name : ListFileNames(path)) {
        if (!isModelFile(name)) continue;
        try {
            tree.Add(path, path + "/" + name, withoutExtension(name), kModelImage);
        } catch (const std::exception&) {
            // That one model is left out.
        }
    }
}

bool IsModelNode(const QTreeWidgetItem* node) { return node && KeyedTree::Image(node) == kModelImage; }

bool IsRootNode(const QTreeWidgetItem* node) { return node && KeyedTree::Key(node) == GalleryRoot(); }

std::string PreviewPath(const std::string& modelPath) {
    const fs::path path(modelPath);
    return (path.parent_path() / path.stem()).string() + ".jpg";
}

bool IsUsableName(const std::string& name) {
    if (name.empty() || name.size() > kMaxNameBytes || isHidden(name)) return false;
    return std::none_of(name.begin(), name.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return c == '/' || c == '\\' || u < 0x20 || u == 0x7f;
    });
}

bool IsReservedFolderName(const std::string& name) { return lowerCase(name) == "bitmaps"; }

bool IsInsideGallery(const std::string& path) {
    std::error_code ec;
    const fs::path root = fs::weakly_canonical(GalleryRoot(), ec);
    if (ec) return false;
    const fs::path target = fs::weakly_canonical(path, ec);
    if (ec) return false;
    const std::string rootText = root.string() + "/";
    const std::string targetText = target.string();
    return targetText.size() > rootText.size() && targetText.compare(0, rootText.size(), rootText) == 0;
}

std::vector<std::string> ListSubFolders(const std::string& path) {
    std::vector<std::string> folders;
    for (const std::string& name :
         entryNames(path, [](const fs::path&, const fs::file_status& status) { return fs::is_directory(status); }))
        folders.push_back(path + "/" + name);
    return folders;
}

std::vector<std::string> ListFileNames(const std::string& path) {
    return entryNames(path, [](const fs::path& entry, const fs::file_status& status) {
        std::error_code ec;
        return fs::is_regular_file(status) || (fs::is_symlink(status) && fs::is_regular_file(entry, ec));
    });
}

void DeleteFolderTree(const std::string& path) {
    for (const std::string& folder : ListSubFolders(path)) DeleteFolderTree(folder);
    DeleteFolderFiles(path);
    platform::RemoveDirectoryA(path);
}

void DeleteFolderFiles(const std::string& path) {
    // Every entry that is not a real folder: files and links of any kind alike.
    for (const std::string& name : entryNames(path, [](const fs::path&, const fs::file_status& status) {
             return !fs::is_directory(status);
         }))
        platform::DeleteFileA(path + "/" + name);
}

}  // namespace ModelGallery
