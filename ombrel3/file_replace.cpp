#include "file_replace.h"

#include "api_support.h"
#include "thread_start.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <exception>
#include <filesystem>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <random>
#include <set>
#include <string_view>
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

// A new file under a name nobody had: never a file or link someone put there.
// The name ends in suffix when one is given and free, else in random characters;
// held tells whether the file had to be locked then (a random name is). Before
// each name is tried, before (when given) may note it; its error stops the making.
int createTemporary(const fs::path& folder, const std::string& prefix, const std::string& suffix, fs::path& made,
                    bool& held, const std::function<int(const fs::path&)>& before) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        held = suffix.empty() || attempt > 0;
        made = folder / (prefix + (held ? randomChars() : suffix));
        if (before) {
            if (const int error = before(made)) {
                errno = error;
                return -1;
            }
        }
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
void syncAll(const std::vector<const FileBatch::Staged*>& staged) {
    std::map<dev_t, std::vector<const FileBatch::Staged*>> byDevice;
    for (const FileBatch::Staged* s : staged) byDevice[s->device].push_back(s);
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

// Where a batch's temporary goes: its anchor's suffix for the folder ("" without
// one) and a staging folder of the batch in it (empty for the folder itself).
struct Claim {
    std::string suffix;
    fs::path where;
};
using Claimer = std::function<Claim(const fs::path& folder)>;
using Noter = std::function<int(const fs::path& folder, const std::string& record)>;

// Writes the new contents under a temporary name beside the target and closes it.
// Its name ends in the suffix of a batch that holds the folder, when one is given,
// and the batch's anchor lists it before it is made; a temporary of a name of its
// own stays locked until it is placed or removed. A fresh file is one the caller
// found no file at: it is put in place only where there still is none.
FileBatch::Staged stage(const std::string& path, const FileProducer& produce, bool sync, const Claimer& claimFor,
                        const Noter& note, bool fresh = false) {
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
    const Claim claim = claimFor ? claimFor(folder) : Claim{};
    const auto before = [&](const fs::path& name) {
        if (!note || claim.suffix.empty()) return 0;
        const fs::path relative = claim.where.empty() ? name.filename() : claim.where.filename() / name.filename();
        return note(folder, "temp " + relative.string());
    };
    const int fd = createTemporary(claim.where.empty() ? folder : claim.where, temporaryPrefix(target), claim.suffix,
                                   made, held, before);
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
    FileBatch::Staged staged;
    staged.shown = path;
    staged.target = target.string();
    staged.temporary = made.string();
    staged.device = made_.st_dev;
    staged.inode = made_.st_ino;
    staged.lock = lock;
    staged.fresh = fresh;
    return staged;
}

void release(FileBatch::Staged& s) {
    if (s.lock >= 0) ::close(s.lock);
    s.lock = -1;
}

void putInPlace(FileBatch::Staged& s) {
    const bool placed = ::rename(s.temporary.c_str(), s.target.c_str()) == 0;
    const int error = errno;
    if (!placed) ::unlink(s.temporary.c_str());
    release(s);
    if (!placed) fail(s.shown, error);
    s.placed = true;
}

// Removes the regular file name in the folder dir only while it is the file the
// device and inode numbers name: never a file made there since, nor a link.
void removeIfSame(int dir, const std::string& name, dev_t device, ino_t inode) {
    struct stat st {};
    if (::fstatat(dir, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode) && st.st_dev == device &&
        st.st_ino == inode)
        ::unlinkat(dir, name.c_str(), 0);
}

void removeRegular(int dir, const std::string& name) {
    struct stat st {};
    if (::fstatat(dir, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode)) ::unlinkat(dir, name.c_str(), 0);
}

// The name of the file that holds a batch's claim on a folder and lists what the
// batch makes there. No temporary can have it: those have a name before the mark.
std::string anchorName(const std::string& suffix) { return kMark + suffix; }

// What an anchor starts with; a file of an anchor's name without it is not ours.
constexpr std::string_view kAnchorHeader = "OMBREL-PARTIAL 1\n";

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

// Whether no live batch holds the anchor: its lock can be taken now. Any other
// answer than "would block" counts as held too (on NFS a lock can fail for reasons
// that say nothing of its holder).
bool takeIfUnheld(int fd) {
    for (;;) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) return true;
        if (errno != EINTR) return false;
    }
}

bool readWhole(int fd, std::string& text) {
    constexpr std::size_t kMaxAnchor = std::size_t(1) << 28;
    char block[1 << 16];
    for (;;) {
        const ssize_t n = ::read(fd, block, sizeof block);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) return true;
        text.append(block, std::size_t(n));
        if (text.size() > kMaxAnchor) return false;
    }
}

// What a dead batch's anchor lists: records of "kind rest", each ended by a NUL.
struct Listing {
    struct Placed {
        dev_t device = 0;
        ino_t inode = 0;
        std::string name;
    };
    std::vector<std::string> temporaries, staging, namedBy;
    std::vector<Placed> placed;
};

bool parseAnchor(const std::string& text, Listing& out) {
    if (text.compare(0, kAnchorHeader.size(), kAnchorHeader) != 0) return false;
    // A record cut short by a kill is left out: what it names was not made yet.
    for (std::size_t at = kAnchorHeader.size(), end; (end = text.find('\0', at)) != std::string::npos; at = end + 1) {
        const std::string record = text.substr(at, end - at);
        const std::size_t space = record.find(' ');
        if (space == std::string::npos) continue;
        const std::string kind = record.substr(0, space), rest = record.substr(space + 1);
        if (kind == "temp") out.temporaries.push_back(rest);
        else if (kind == "staging") out.staging.push_back(rest);
        else if (kind == "namedby") out.namedBy.push_back(rest);
        else if (kind == "placed") {
            Listing::Placed p;
            unsigned long long device = 0, inode = 0;
            const char* first = rest.data();
            const char* last = rest.data() + rest.size();
            auto r = std::from_chars(first, last, device);
            if (r.ec != std::errc() || r.ptr == last || *r.ptr != ' ') continue;
            r = std::from_chars(r.ptr + 1, last, inode);
            if (r.ec != std::errc() || r.ptr == last || *r.ptr != ' ') continue;
            p.device = dev_t(device);
            p.inode = ino_t(inode);
            p.name.assign(r.ptr + 1, last);
            out.placed.push_back(std::move(p));
        }
    }
    return true;
}

// Whether the text of a file that names files (a world) names this one.
bool names(const std::string& text, const std::string& name) {
    return text.find('"' + name + '"') != std::string::npos || text.find('/' + name + '"') != std::string::npos;
}

// Removes what the dead batch whose anchor is name in the folder dir listed, then
// the anchor. Everything is reached from the folder's descriptor without following
// a link, so a folder swapped for a link in the meantime leads nowhere else.
void sweepAnchor(int dir, const std::string& name) {
    const int a = ::openat(dir, name.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (a < 0) return;
    struct Close {
        int fd;
        ~Close() { ::close(fd); }
    } closeAnchor{a};
    struct stat open {}, named {};
    if (::fstat(a, &open) != 0 || !S_ISREG(open.st_mode) || !takeIfUnheld(a)) return;
    // Under the lock the name must still be the anchor checked: its batch unlinks
    // it before letting go.
    if (::fstatat(dir, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) != 0 || named.st_dev != open.st_dev ||
        named.st_ino != open.st_ino)
        return;
    std::string text;
    Listing listing;
    if (!readWhole(a, text) || !parseAnchor(text, listing)) return;
    const std::string suffix = name.substr(std::char_traits<char>::length(kMark));

    // Placed files first: while the temporaries are there, no file made since has
    // their numbers. A file the batch's world names is in use.
    std::vector<std::string> namers;
    for (const std::string& file : listing.namedBy) {
        std::ifstream in(file, std::ios::binary);
        namers.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    for (const Listing::Placed& p : listing.placed) {
        if (p.name.find('/') != std::string::npos || p.name.empty() || p.name[0] == '.') continue;
        if (std::none_of(namers.begin(), namers.end(), [&](const std::string& t) { return names(t, p.name); }))
            removeIfSame(dir, p.name, p.device, p.inode);
    }
    for (const std::string& temporary : listing.temporaries) {
        const std::size_t slash = temporary.find('/');
        const std::string file = slash == std::string::npos ? temporary : temporary.substr(slash + 1);
        if (prefixOfTemporary(file).empty() || file.find('/') != std::string::npos) continue;
        if (slash == std::string::npos) {
            removeRegular(dir, file);
            continue;
        }
        const std::string staging = temporary.substr(0, slash);
        if (suffixOfStaging(staging) != suffix) continue;
        const int s = ::openat(dir, staging.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (s < 0) continue;
        removeRegular(s, file);
        ::close(s);
    }
    // A staging folder holding anything else (a user's file) stays.
    for (const std::string& staging : listing.staging)
        if (suffixOfStaging(staging) == suffix) ::unlinkat(dir, staging.c_str(), AT_REMOVEDIR);
    ::unlinkat(dir, name.c_str(), 0);
}

void sweepFolder(const fs::path& folder) {
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0) return;
    std::vector<std::string> anchors;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        if (std::string name = it->path().filename().string(); isAnchor(name)) anchors.push_back(std::move(name));
    for (const std::string& name : anchors) sweepAnchor(dir, name);
    ::close(dir);
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
    // A batch of one, for its anchor: a sweep then knows the temporary as ours.
    FileBatch batch;
    batch.staged_.push_back(stage(
        path, produce, sync == FileSync::Durable, [&](const fs::path& folder) { return Claim{batch.suffixFor(folder), {}}; },
        [&](const fs::path& folder, const std::string& record) { return batch.note(folder, record); }));
    putInPlace(batch.staged_.back());
    batch.done_ = true;
    batch.releaseAnchors();
    if (sync == FileSync::Durable) syncFolder(folderOf(batch.staged_.back().target));
    return batch.staged_.back().target;
}

std::string replaceFile(const std::string& path, const void* data, std::size_t size, FileSync sync) {
    return replaceFile(path, [&](const FileSink& sink) { return sink(data, size); }, sync);
}

FileBatch::~FileBatch() {
    for (Staged& s : staged_) {
        if (!s.placed) {
            ::unlink(s.temporary.c_str());
            release(s);
        } else if (s.fresh && !done_) {
            // Named by nothing: the file that was to name it was not placed.
            removeIfSame(AT_FDCWD, s.target, s.device, s.inode);
        }
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

int FileBatch::note(const fs::path& folder, const std::string& record) {
    std::lock_guard<std::mutex> lock(anchorsMutex_);
    auto it = anchors_.find(folder.string());
    if (it == anchors_.end()) return 0;
    int error = 0;
    // One write a record: a kill leaves whole records, or a last one cut short.
    const std::string line = record + '\0';
    return writeAll(it->second.fd, line.data(), line.size(), error) ? 0 : error;
}

std::string FileBatch::suffixFor(const fs::path& folder) {
    std::lock_guard<std::mutex> lock(anchorsMutex_);
    auto it = anchors_.find(folder.string());
    if (it != anchors_.end()) return it->second.suffix;
    std::string header(kAnchorHeader);
    if (!namedBy_.empty()) header += "namedby " + namedBy_ + '\0';
    int error = 0;
    // Made whole and locked before it has a name, so that no sweep finds it
    // unmarked or unheld; and before any temporary of the batch.
    const int unnamed = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0666);
    if (unnamed >= 0) {
        if (writeAll(unnamed, header.data(), header.size(), error) && ::flock(unnamed, LOCK_EX) == 0) {
            const std::string self = "/proc/self/fd/" + std::to_string(unnamed);
            for (int attempt = 0; attempt < 100; ++attempt) {
                Anchor a{randomChars(), {}, unnamed};
                a.path = (folder / anchorName(a.suffix)).string();
                if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, a.path.c_str(), AT_SYMLINK_FOLLOW) == 0)
                    return anchors_.emplace(folder.string(), a).first->second.suffix;
                if (errno != EEXIST) break;
            }
        }
        ::close(unnamed);
    }
    // Where a file cannot be made without a name: named, locked, then marked; a
    // sweep that meets it unmarked leaves it alone.
    for (int attempt = 0; attempt < 100; ++attempt) {
        Anchor a;
        a.suffix = randomChars();
        a.path = (folder / anchorName(a.suffix)).string();
        a.fd = ::open(a.path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (a.fd < 0) {
            if (errno == EEXIST) continue;
            return {};  // the temporaries then hold themselves
        }
        if (!hold(a.fd, a.path)) {
            ::close(a.fd);
            continue;
        }
        if (!writeAll(a.fd, header.data(), header.size(), error)) {
            ::unlink(a.path.c_str());
            ::close(a.fd);
            return {};
        }
        return anchors_.emplace(folder.string(), a).first->second.suffix;
    }
    return {};
}

void FileBatch::add(const std::string& path, const FileProducer& produce) {
    staged_.push_back(stage(
        path, produce, false, [this](const fs::path& folder) { return Claim{suffixFor(folder), {}}; },
        [this](const fs::path& folder, const std::string& record) { return note(folder, record); }));
}

void FileBatch::addAll(const std::vector<std::pair<std::string, FileProducer>>& files, bool fresh, Renamer rename) {
    if (rename) rename_ = std::move(rename);
    std::vector<std::optional<Staged>> made(files.size());
    std::vector<std::exception_ptr> failures(files.size());
    std::atomic<std::size_t> next{0};
    std::atomic<bool> stop{false};
    std::atomic<int> nextThread{0};
    const Noter noter = [this](const fs::path& folder, const std::string& record) { return note(folder, record); };
    auto work = [&] {
        // A file system makes the files of one folder one at a time: each thread
        // makes its own in a staging folder of its own, renamed out when placed.
        const int thread = nextThread++;
        std::map<fs::path, Claim> claims;
        auto claimFor = [&](const fs::path& folder) {
            auto it = claims.find(folder);
            if (it != claims.end()) return it->second;
            Claim claim{suffixFor(folder), {}};
            if (!claim.suffix.empty()) {
                const std::string name = anchorName(claim.suffix) + "." + std::to_string(thread);
                if (note(folder, "staging " + name) == 0 && ::mkdir((folder / name).c_str(), 0700) == 0) {
                    std::lock_guard<std::mutex> lock(anchorsMutex_);
                    stagingFolders_.push_back((folder / name).string());
                    claim.where = folder / name;
                }
            }
            return claims.emplace(folder, claim).first->second;
        };
        for (std::size_t i; !stop && (i = next++) < files.size();) {
            try {
                made[i] = stage(files[i].first, files[i].second, false, claimFor, noter, fresh);
            } catch (...) {
                failures[i] = std::current_exception();
                stop = true;
            }
        }
    };
    // Most of the time of a small file goes to the system: threads overlap it.
    // A thread that cannot be started leaves its share to the others.
    constexpr std::size_t kPerThread = 64;
    const std::size_t threads =
        std::min<std::size_t>(std::max(1u, std::thread::hardware_concurrency()), (files.size() + kPerThread - 1) / kPerThread);
    std::vector<std::thread> workers;
    for (std::size_t t = 1; t < threads; ++t)
        if (!startWorker(workers, work)) break;
    work();
    for (std::thread& t : workers) t.join();
    // What was made is kept in order, so that a failure removes it with the rest.
    for (std::optional<Staged>& s : made)
        if (s) staged_.push_back(std::move(*s));
    for (const std::exception_ptr& e : failures)
        if (e) std::rethrow_exception(e);
}

void FileBatch::putFreshInPlace(Staged& s) {
    for (int renames = 0;; ++renames) {
        const fs::path target = s.target;
        // Listed first, so that the file goes with a killed batch's leftovers.
        if (const int error = note(folderOf(target),
                                   "placed " + std::to_string(s.device) + " " + std::to_string(s.inode) + " " +
                                       target.filename().string())) {
            ::unlink(s.temporary.c_str());
            release(s);
            fail(s.shown, error);
        }
        bool placed = ::renameat2(AT_FDCWD, s.temporary.c_str(), AT_FDCWD, s.target.c_str(), RENAME_NOREPLACE) == 0;
        int error = errno;
        if (!placed && (error == EINVAL || error == ENOSYS)) {
            // Without that rename, a link is the way to take only a free name.
            placed = ::link(s.temporary.c_str(), s.target.c_str()) == 0;
            error = errno;
            if (placed) ::unlink(s.temporary.c_str());
            else if (error != EEXIST) {
                placed = ::rename(s.temporary.c_str(), s.target.c_str()) == 0;
                error = errno;
            }
        }
        if (placed) {
            s.placed = true;
            release(s);
            return;
        }
        // Taken since the caller looked (another process, or the same name in
        // another case): the next name the caller gives.
        if (error == EEXIST && rename_ && renames < 100000) {
            if (std::string other = rename_(s.target); !other.empty()) {
                s.target = std::move(other);
                continue;
            }
        }
        ::unlink(s.temporary.c_str());
        release(s);
        fail(s.shown, error);
    }
}

std::vector<std::string> FileBatch::placeFresh() {
    std::vector<const Staged*> fresh;
    for (const Staged& s : staged_)
        if (s.fresh && !s.placed) fresh.push_back(&s);
    syncAll(fresh);
    std::vector<std::string> written;
    std::set<fs::path> folders;
    for (Staged& s : staged_) {
        if (!s.fresh || s.placed) continue;
        putFreshInPlace(s);
        written.push_back(s.target);
        folders.insert(folderOf(s.target));
    }
    // Their names are on disk before a file that names them can be.
    for (const fs::path& folder : folders) syncFolder(folder);
    return written;
}

std::vector<std::string> FileBatch::place() {
    std::vector<const Staged*> pending;
    for (const Staged& s : staged_)
        if (!s.placed) pending.push_back(&s);
    syncAll(pending);
    std::vector<std::string> written;
    std::set<fs::path> folders;
    for (Staged& s : staged_) {
        if (!s.placed) {
            if (s.fresh) putFreshInPlace(s);
            else putInPlace(s);
        }
        written.push_back(s.target);
        folders.insert(folderOf(s.target));
    }
    done_ = true;
    releaseAnchors();
    for (const fs::path& folder : folders) syncFolder(folder);
    return written;
}

void removeLeftovers(const std::vector<std::string>& written, const std::vector<std::string>& folders) {
    std::set<fs::path> swept;
    for (const std::string& file : written) swept.insert(folderOf(file));
    for (const std::string& folder : folders) swept.insert(folder);
    for (const fs::path& folder : swept) sweepFolder(folder);
}

}  // namespace ombrel
