#include "file_replace.h"

#include "api_support.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <filesystem>
#include <fcntl.h>
#include <map>
#include <random>
#include <set>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace fs = std::filesystem;

namespace ombrel {
namespace {

constexpr int kMaxLinks = 40;
constexpr const char* kMark = ".partial-";
constexpr std::size_t kRandomChars = 6;
// Keeps ".<name>.partial-XXXXXX" within the 255 bytes a file name may have.
constexpr std::size_t kMaxStem = 200;

[[noreturn]] void fail(const std::string& path, int error) {
    throw ApiError("cannot write " + path + ": " + std::generic_category().message(error));
}

[[noreturn]] void fail(const std::string& path, const std::string& why) {
    throw ApiError("cannot write " + path + ": " + why);
}

fs::path folderOf(const fs::path& file) {
    fs::path folder = file.parent_path();
    return folder.empty() ? fs::path(".") : folder;
}

// What every temporary name of this file starts with; hidden, so no listing shows it.
std::string temporaryPrefix(const fs::path& file) {
    return "." + file.filename().string().substr(0, kMaxStem) + kMark;
}

std::string randomChars() {
    static constexpr char kChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::mt19937_64 generator{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, sizeof kChars - 2);
    std::string s(kRandomChars, ' ');
    for (char& c : s) c = kChars[pick(generator)];
    return s;
}

// The prefix of a name of the temporary pattern, or "" for any other name.
std::string prefixOfTemporary(const std::string& name) {
    const std::size_t mark = std::char_traits<char>::length(kMark);
    if (name.size() < 1 + mark + kRandomChars || name[0] != '.') return {};
    const std::size_t tail = name.size() - kRandomChars;
    if (name.compare(tail - mark, mark, kMark) != 0) return {};
    if (!std::all_of(name.begin() + std::ptrdiff_t(tail), name.end(), [](char c) { return std::isalnum(uint8_t(c)); }))
        return {};
    return name.substr(0, tail);
}

// A new file under a name nobody had: never a file or link someone put there.
int createTemporary(const fs::path& folder, const std::string& prefix, fs::path& made) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        made = folder / (prefix + randomChars());
        const int fd = ::open(made.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    errno = EEXIST;
    return -1;
}

bool writeAll(int fd, const void* data, std::size_t size, int& error) {
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t n = ::write(fd, p, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            error = errno;
            return false;
        }
        p += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

// Owner and group first: changing them may clear the set-id bits the mode then restores.
void copyOwnership(int fd, const struct stat& old) {
    struct stat now {};
    if (::fstat(fd, &now) != 0) return;
    if (now.st_uid != old.st_uid || now.st_gid != old.st_gid) {
        if (::fchown(fd, old.st_uid, old.st_gid) != 0) (void)!::fchown(fd, static_cast<uid_t>(-1), old.st_gid);
    }
    (void)!::fchmod(fd, old.st_mode & 07777);
}

// The rename is durable only once the folder's entry is on disk too. Some file
// systems cannot sync a folder; the file itself is whole either way.
void syncFolder(const fs::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    (void)::fsync(fd);
    ::close(fd);
}

// Syncs what a batch wrote: one sync of each file system holding some of it,
// or each file on its own where that cannot be done.
void syncAll(const std::vector<FileBatch::Staged>& staged) {
    std::set<dev_t> done;
    for (const FileBatch::Staged& s : staged) {
        const int fd = ::open(s.temporary.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0) fail(s.shown, errno);
        struct stat st {};
        bool synced = ::fstat(fd, &st) == 0 && done.count(st.st_dev);
        if (!synced && ::syncfs(fd) == 0) {
            done.insert(st.st_dev);
            synced = true;
        }
        const int error = synced || ::fsync(fd) == 0 ? 0 : errno;
        ::close(fd);
        if (error) fail(s.shown, error);
    }
}

// Writes the new contents under a temporary name beside the target and closes it.
FileBatch::Staged stage(const std::string& path, const FileProducer& produce, bool sync) {
    const fs::path target = linkTarget(path);
    struct stat old {};
    bool replacing = false;
    if (::stat(target.c_str(), &old) == 0) {
        if (S_ISDIR(old.st_mode)) fail(path, "it is a folder");
        if (!S_ISREG(old.st_mode)) fail(path, "it is not a regular file");
        replacing = true;
    }
    fs::path made;
    const int fd = createTemporary(folderOf(target), temporaryPrefix(target), made);
    if (fd < 0) fail(path, errno);
    bool kept = false;
    struct Cleanup {
        int fd;
        const fs::path& made;
        const bool& kept;
        ~Cleanup() {
            if (fd >= 0) ::close(fd);
            if (!kept) ::unlink(made.c_str());
        }
    } cleanup{fd, made, kept};

    int error = 0;
    const FileSink sink = [&](const void* data, std::size_t size) {
        return error == 0 && writeAll(fd, data, size, error);
    };
    if (!produce(sink)) fail(path, error ? std::generic_category().message(error) : "writing stopped");
    if (replacing) copyOwnership(fd, old);
    if (sync && ::fsync(fd) != 0) fail(path, errno);
    cleanup.fd = -1;
    if (::close(fd) != 0) fail(path, errno);
    kept = true;
    return {path, target.string(), made.string()};
}

void putInPlace(const FileBatch::Staged& s) {
    if (::rename(s.temporary.c_str(), s.target.c_str()) == 0) return;
    const int error = errno;
    ::unlink(s.temporary.c_str());
    fail(s.shown, error);
}

}  // namespace

std::string linkTarget(const std::string& path) {
    fs::path current = path;
    for (int hops = 0;; ++hops) {
        struct stat st {};
        if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return current.string();
        if (hops == kMaxLinks) fail(path, ELOOP);
        std::error_code ec;
        const fs::path to = fs::read_symlink(current, ec);
        if (ec) fail(path, ec.value());
        current = to.is_absolute() ? to : current.parent_path() / to;
    }
}

std::string replaceFile(const std::string& path, const FileProducer& produce, FileSync sync) {
    const FileBatch::Staged staged = stage(path, produce, sync == FileSync::Durable);
    putInPlace(staged);
    if (sync == FileSync::Durable) syncFolder(folderOf(staged.target));
    return staged.target;
}

std::string replaceFile(const std::string& path, const void* data, std::size_t size, FileSync sync) {
    return replaceFile(path, [&](const FileSink& sink) { return sink(data, size); }, sync);
}

FileBatch::~FileBatch() {
    for (std::size_t i = placed_; i < staged_.size(); ++i) ::unlink(staged_[i].temporary.c_str());
}

void FileBatch::add(const std::string& path, const FileProducer& produce) {
    staged_.push_back(stage(path, produce, false));
}

std::vector<std::string> FileBatch::place() {
    syncAll(staged_);
    std::vector<std::string> written;
    std::set<fs::path> folders;
    for (; placed_ < staged_.size(); ++placed_) {
        putInPlace(staged_[placed_]);
        written.push_back(staged_[placed_].target);
        folders.insert(folderOf(staged_[placed_].target));
    }
    for (const fs::path& folder : folders) syncFolder(folder);
    return written;
}

void removeLeftovers(const std::vector<std::string>& written) {
    std::map<fs::path, std::set<std::string>> prefixesByFolder;
    for (const std::string& file : written) {
        const fs::path target = file;
        prefixesByFolder[folderOf(target)].insert(temporaryPrefix(target));
    }
    for (const auto& [folder, prefixes] : prefixesByFolder) {
        std::error_code ec;
        for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
            const std::string name = it->path().filename().string();
            if (!prefixes.count(prefixOfTemporary(name))) continue;
            struct stat st {};
            // Only files: a link or folder of that name is nobody's leftover.
            if (::lstat(it->path().c_str(), &st) == 0 && S_ISREG(st.st_mode)) ::unlink(it->path().c_str());
        }
    }
}

}  // namespace ombrel
