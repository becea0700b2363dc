#include "file_replace.h"

#include "api_support.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <exception>
#include <filesystem>
#include <fcntl.h>
#include <map>
#include <optional>
#include <random>
#include <set>
#include <sys/file.h>
#include <sys/stat.h>
#include <system_error>
#include <thread>
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

bool sameFile(int fd, const fs::path& path) {
    struct stat open {}, named {};
    return ::fstat(fd, &open) == 0 && ::lstat(path.c_str(), &named) == 0 && open.st_dev == named.st_dev &&
           open.st_ino == named.st_ino;
}

// Locks the file for as long as fd (or a duplicate) stays open: a sweep of
// leftovers takes only files whose lock it gets. False when a sweep took the name
// between its making and the lock. Where the file system has no locks, the file
// goes unheld, as it did before locks were used.
bool hold(int fd, const fs::path& made) {
    while (::flock(fd, LOCK_EX) != 0) {
        if (errno == EINTR) continue;
        break;
    }
    return sameFile(fd, made);
}

// Whether no save holds the file: its lock can be taken now.
bool unheld(int fd, int how) {
    for (;;) {
        if (::flock(fd, how | LOCK_NB) == 0) return true;
        if (errno != EINTR) return errno != EWOULDBLOCK;
    }
}

// A new file under a name nobody had: never a file or link someone put there.
// The name ends in suffix when one is given and free, else in random characters;
// held tells whether the file had to be locked then (a random name is).
int createTemporary(const fs::path& folder, const std::string& prefix, const std::string& suffix, fs::path& made,
                    bool& held) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        held = suffix.empty() || attempt > 0;
        made = folder / (prefix + (held ? randomChars() : suffix));
        const int fd = ::open(made.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            return -1;
        }
        if (!held || hold(fd, made)) return fd;
        ::close(fd);
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
    std::map<dev_t, std::vector<const FileBatch::Staged*>> byDevice;
    for (const FileBatch::Staged& s : staged) byDevice[s.device].push_back(&s);
    auto sync = [](const FileBatch::Staged& s, bool whole) {
        const int fd = ::open(s.temporary.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0) fail(s.shown, errno);
        const bool done = whole ? ::syncfs(fd) == 0 : ::fsync(fd) == 0;
        const int error = errno;
        ::close(fd);
        if (!whole && !done) fail(s.shown, error);
        return done;
    };
    for (const auto& entry : byDevice) {
        if (sync(*entry.second.front(), true)) continue;
        for (const FileBatch::Staged* s : entry.second) sync(*s, false);
    }
}

// Writes the new contents under a temporary name beside the target and closes it.
// Its name ends in the suffix of a batch that holds the folder, when one is given;
// a temporary of a name of its own stays locked until it is placed or removed.
// A fresh file is one the caller found no file at: it is put in place only
// where there still is none.
FileBatch::Staged stage(const std::string& path, const FileProducer& produce, bool sync,
                        const std::function<std::pair<std::string, fs::path>(const fs::path&)>& claimFor,
                        bool fresh = false) {
    const fs::path target = fresh ? fs::path(path) : fs::path(linkTarget(path));
    struct stat old {};
    bool replacing = false;
    if (!fresh && ::stat(target.c_str(), &old) == 0) {
        if (S_ISDIR(old.st_mode)) fail(path, "it is a folder");
        if (!S_ISREG(old.st_mode)) fail(path, "it is not a regular file");
        replacing = true;
    }
    fs::path made;
    bool held = false;
    const fs::path folder = folderOf(target);
    // The batch's suffix for the folder, and where its temporary goes: the folder,
    // or a staging folder of the batch in it.
    const auto [suffix, where] = claimFor ? claimFor(folder) : std::pair<std::string, fs::path>{};
    const int fd = createTemporary(where.empty() ? folder : where, temporaryPrefix(target), suffix, made, held);
    if (fd < 0) fail(path, errno);
    bool kept = false;
    int lock = -1;
    struct Cleanup {
        int fd;
        int& lock;
        const fs::path& made;
        const bool& kept;
        ~Cleanup() {
            if (!kept) ::unlink(made.c_str());
            if (fd >= 0) ::close(fd);
            if (!kept && lock >= 0) ::close(lock);
        }
    } cleanup{fd, lock, made, kept};
    // Closing fd below reports late write errors; the duplicate keeps the lock.
    if (held && (lock = ::fcntl(fd, F_DUPFD_CLOEXEC, 0)) < 0) fail(path, errno);
    struct stat made_ {};
    if (::fstat(fd, &made_) != 0) fail(path, errno);

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
    return {path, target.string(), made.string(), made_.st_dev, lock, fresh};
}

void release(FileBatch::Staged& s) {
    if (s.lock >= 0) ::close(s.lock);
    s.lock = -1;
}

void putInPlace(FileBatch::Staged& s) {
    bool placed = false;
    if (s.fresh) {
        placed = ::renameat2(AT_FDCWD, s.temporary.c_str(), AT_FDCWD, s.target.c_str(), RENAME_NOREPLACE) == 0;
        if (!placed && (errno == EINVAL || errno == ENOSYS)) placed = ::rename(s.temporary.c_str(), s.target.c_str()) == 0;
    } else {
        placed = ::rename(s.temporary.c_str(), s.target.c_str()) == 0;
    }
    const int error = errno;
    if (!placed) ::unlink(s.temporary.c_str());
    release(s);
    if (!placed) fail(s.shown, error);
}

// The name of the file that holds a batch's claim on a folder: every temporary
// whose name ends in the same characters is the batch's. No temporary can have
// it: those have a name before the mark.
std::string anchorName(const std::string& suffix) { return kMark + suffix; }

bool isAnchor(const std::string& name) {
    const std::size_t mark = std::char_traits<char>::length(kMark);
    return name.size() == mark + kRandomChars && name.compare(0, mark, kMark) == 0 &&
           std::all_of(name.begin() + std::ptrdiff_t(mark), name.end(), [](char c) { return std::isalnum(uint8_t(c)); });
}

// The batch suffix of a staging folder's name, .partial-<suffix>.<thread>; "" for
// any other name.
std::string suffixOfStaging(const std::string& name) {
    const std::size_t dot = name.find('.', 1);
    if (dot == std::string::npos || !isAnchor(name.substr(0, dot)) || dot + 1 == name.size() ||
        !std::all_of(name.begin() + std::ptrdiff_t(dot) + 1, name.end(), [](char c) { return std::isdigit(uint8_t(c)); }))
        return {};
    return name.substr(std::char_traits<char>::length(kMark), kRandomChars);
}

// A staging folder a killed batch left: its files go, then the folder. The
// anchor stays locked for as long as its batch lives.
void removeStagingUnlessHeld(const fs::path& staging, const fs::path& anchor) {
    struct stat st {};
    if (::lstat(staging.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return;
    const int a = ::open(anchor.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (a >= 0) {
        const bool dead = unheld(a, LOCK_SH);
        ::close(a);
        if (!dead) return;
    }
    std::error_code ec;
    for (fs::directory_iterator it(staging, ec), end; !ec && it != end; it.increment(ec))
        if (it->is_regular_file(ec) && !it->is_symlink(ec)) ::unlink(it->path().c_str());
    ::rmdir(staging.c_str());
}

// Removes the file unless a live save holds it: locked itself, or, for a
// temporary of a batch, the batch's anchor locked.
void removeUnlessHeld(const fs::path& file, const fs::path& anchor) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return;
    struct stat st {};
    // Only files: a link or folder of that name is nobody's leftover.
    bool dead = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && unheld(fd, LOCK_EX);
    if (dead && !anchor.empty()) {
        const int a = ::open(anchor.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (a >= 0) {
            dead = unheld(a, LOCK_SH);
            ::close(a);
        }
    }
    // Under the lock the name must still be the file checked, not one made since.
    if (dead && sameFile(fd, file)) ::unlink(file.c_str());
    ::close(fd);
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
    FileBatch::Staged staged = stage(path, produce, sync == FileSync::Durable, {});
    putInPlace(staged);
    if (sync == FileSync::Durable) syncFolder(folderOf(staged.target));
    return staged.target;
}

std::string replaceFile(const std::string& path, const void* data, std::size_t size, FileSync sync) {
    return replaceFile(path, [&](const FileSink& sink) { return sink(data, size); }, sync);
}

FileBatch::~FileBatch() {
    for (std::size_t i = placed_; i < staged_.size(); ++i) {
        ::unlink(staged_[i].temporary.c_str());
        release(staged_[i]);
    }
    releaseAnchors();
}

void FileBatch::releaseAnchors() {
    for (const std::string& staging : stagingFolders_) ::rmdir(staging.c_str());
    stagingFolders_.clear();
    for (auto& [folder, anchor] : anchors_) {
        ::unlink(anchor.path.c_str());
        ::close(anchor.fd);
    }
    anchors_.clear();
}

std::string FileBatch::suffixFor(const fs::path& folder) {
    std::lock_guard<std::mutex> lock(anchorsMutex_);
    auto it = anchors_.find(folder.string());
    if (it != anchors_.end()) return it->second.suffix;
    // Made and locked before any temporary of the batch, so that a sweep finds
    // none of them unclaimed.
    for (int attempt = 0; attempt < 100; ++attempt) {
        Anchor a;
        a.suffix = randomChars();
        a.path = (folder / anchorName(a.suffix)).string();
        a.fd = ::open(a.path.c_str(), O_RDONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (a.fd < 0) {
            if (errno == EEXIST) continue;
            return {};  // the temporaries then hold themselves
        }
        if (hold(a.fd, a.path)) return anchors_.emplace(folder.string(), a).first->second.suffix;
        ::close(a.fd);
    }
    return {};
}

void FileBatch::add(const std::string& path, const FileProducer& produce) {
    staged_.push_back(stage(path, produce, false, [this](const fs::path& folder) {
        return std::pair<std::string, fs::path>{suffixFor(folder), {}};
    }));
}

void FileBatch::addAll(const std::vector<std::pair<std::string, FileProducer>>& files, bool fresh) {
    std::vector<std::optional<Staged>> made(files.size());
    std::vector<std::exception_ptr> failures(files.size());
    std::atomic<std::size_t> next{0};
    std::atomic<bool> stop{false};
    std::atomic<int> nextThread{0};
    auto work = [&] {
        // A file system makes the files of one folder one at a time: each thread
        // makes its own in a staging folder of its own, renamed out when placed.
        const int thread = nextThread++;
        std::map<fs::path, std::pair<std::string, fs::path>> claims;
        auto claimFor = [&](const fs::path& folder) {
            auto it = claims.find(folder);
            if (it != claims.end()) return it->second;
            std::pair<std::string, fs::path> claim{suffixFor(folder), {}};
            if (!claim.first.empty()) {
                const fs::path staging = folder / (anchorName(claim.first) + "." + std::to_string(thread));
                if (::mkdir(staging.c_str(), 0700) == 0) {
                    std::lock_guard<std::mutex> lock(anchorsMutex_);
                    stagingFolders_.push_back(staging.string());
                    claim.second = staging;
                }
            }
            return claims.emplace(folder, claim).first->second;
        };
        for (std::size_t i; !stop && (i = next++) < files.size();) {
            try {
                made[i] = stage(files[i].first, files[i].second, false, claimFor, fresh);
            } catch (...) {
                failures[i] = std::current_exception();
                stop = true;
            }
        }
    };
    // Most of the time of a small file goes to the system: threads overlap it.
    constexpr std::size_t kPerThread = 64;
    const std::size_t threads =
        std::min<std::size_t>(std::max(1u, std::thread::hardware_concurrency()), (files.size() + kPerThread - 1) / kPerThread);
    std::vector<std::thread> workers;
    for (std::size_t t = 1; t < threads; ++t) workers.emplace_back(work);
    work();
    for (std::thread& t : workers) t.join();
    // What was made is kept in order, so that a failure removes it with the rest.
    for (std::optional<Staged>& s : made)
        if (s) staged_.push_back(std::move(*s));
    for (const std::exception_ptr& e : failures)
        if (e) std::rethrow_exception(e);
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
    releaseAnchors();
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
            if (isAnchor(name)) {
                removeUnlessHeld(it->path(), {});
                continue;
            }
            if (const std::string suffix = suffixOfStaging(name); !suffix.empty()) {
                removeStagingUnlessHeld(it->path(), folder / anchorName(suffix));
                continue;
            }
            if (!prefixes.count(prefixOfTemporary(name))) continue;
            removeUnlessHeld(it->path(), folder / anchorName(name.substr(name.size() - kRandomChars)));
        }
    }
}

}  // namespace ombrel
