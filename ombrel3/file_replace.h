// Replacing a whole file so that it stays the file it was. The new contents go
// to a temporary file made new beside the target, which is synced and renamed
// over it: a reader, a crash or a kill sees either the old file or the new one.
// A path that is a symbolic link is written to the file it names, the link stays;
// the replaced file keeps its permission bits, and its owner and group where the
// process may set them. Hard links to the old file keep the old contents: an
// in-place rewrite would follow them, but a crash could then leave half a file.
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <sys/types.h>
#include <utility>
#include <vector>

namespace ombrel {

// Takes the next piece of the new contents; false when it could not be written.
using FileSink = std::function<bool(const void* data, std::size_t size)>;
// Hands every piece to the sink; false to give up.
using FileProducer = std::function<bool(const FileSink&)>;

// Durable: synced before the rename, its folder after. Scratch: the engine's own
// run files, which no crash needs to keep, spared the cost of a sync (several
// milliseconds a file on a disk).
enum class FileSync { Durable, Scratch };

// The file that path finally names, following symbolic links; the last link may
// dangle (the file is then made where it points).
std::string linkTarget(const std::string& path);

// Writes the file at path anew. Returns the file written (the link's target).
// Throws ApiError "cannot write <path>: <why>", leaving the old file untouched and
// no temporary file behind.
std::string replaceFile(const std::string& path, const FileProducer& produce, FileSync sync = FileSync::Durable);
std::string replaceFile(const std::string& path, const void* data, std::size_t size,
                        FileSync sync = FileSync::Durable);

// Many files replaced together, durably, with one sync for all: each is written
// under its temporary name by add, then place syncs them at once and renames
// each over its target in the order added. What is not placed is removed.
// While it runs, the batch holds a locked file in each folder it writes to, which
// claims its temporaries there for it (see removeLeftovers).
class FileBatch {
public:
    FileBatch() = default;
    ~FileBatch();
    FileBatch(const FileBatch&) = delete;
    FileBatch& operator=(const FileBatch&) = delete;

    // Throws as replaceFile does.
    void add(const std::string& path, const FileProducer& produce);
    // The files written at once by threads of this call, added in the order given;
    // the producers may run together. Fresh: the paths name no file (nor link)
    // now, and place puts none over a file made there since. Throws as add does.
    void addAll(const std::vector<std::pair<std::string, FileProducer>>& files, bool fresh = false);
    // Returns the files written.
    std::vector<std::string> place();

    // A file written under its temporary name, not yet in place.
    struct Staged {
        std::string shown;  // the path as given, for messages
        std::string target, temporary;
        dev_t device = 0;
        int lock = -1;  // holds a temporary no batch claims; -1 otherwise
        bool fresh = false;
    };

private:
    struct Anchor {
        std::string suffix, path;
        int fd = -1;
    };
    std::string suffixFor(const std::filesystem::path& folder);
    void releaseAnchors();

    std::vector<Staged> staged_;
    std::size_t placed_ = 0;
    std::mutex anchorsMutex_;
    std::map<std::string, Anchor> anchors_;  // by folder
    std::vector<std::string> stagingFolders_;
};

// Removes what killed earlier replacements of these files left in their folders.
// A temporary a live replacement holds, in this process or another, stays.
void removeLeftovers(const std::vector<std::string>& written);

}  // namespace ombrel
