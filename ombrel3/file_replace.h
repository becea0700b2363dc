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
// each over its target in the order added. What is not placed is removed, and so
// are the fresh files a batch placed when it fails before the end.
// While it runs, the batch holds a locked file in each folder it writes to (its
// anchor), which lists what the batch makes there before it makes it: a sweep
// (removeLeftovers) removes only what a dead batch's anchor lists.
class FileBatch {
public:
    FileBatch() = default;
    ~FileBatch();
    FileBatch(const FileBatch&) = delete;
    FileBatch& operator=(const FileBatch&) = delete;

    // The file that, once placed, names the fresh files of this batch; a sweep
    // keeps the fresh files a killed batch placed while that file names them.
    // Before the first add.
    void namedBy(const std::string& path) { namedBy_ = path; }

    // Throws as replaceFile does.
    void add(const std::string& path, const FileProducer& produce);
    // Another name for a fresh file whose name was found taken; "" when there is none.
    using Renamer = std::function<std::string(const std::string& taken)>;
    // The files written at once by threads of this call, added in the order given;
    // the producers may run together. Fresh: the paths name no file (nor link)
    // now, and place puts none over a file made there since: a fresh file whose
    // name is taken then goes under the name rename gives, or fails without one.
    // Throws as add does.
    void addAll(const std::vector<std::pair<std::string, FileProducer>>& files, bool fresh = false,
                Renamer rename = {});
    // Syncs and places the fresh files now, before the files that are to name
    // them are added. Returns where each went, in the order added.
    std::vector<std::string> placeFresh();
    // Returns the files written.
    std::vector<std::string> place();

    // A file written under its temporary name, not yet in place.
    struct Staged {
        std::string shown;  // the path as given, for messages
        std::string target, temporary;
        dev_t device = 0;
        ino_t inode = 0;
        int lock = -1;  // holds a temporary no batch claims; -1 otherwise
        bool fresh = false;
        bool placed = false;
    };

private:
    friend std::string replaceFile(const std::string&, const FileProducer&, FileSync);
    struct Anchor {
        std::string suffix, path;
        int fd = -1;
    };
    std::string suffixFor(const std::filesystem::path& folder);
    // Adds a record to the anchor of folder before what it names is made; the
    // error number when it could not be written, 0 otherwise (or without an anchor).
    int note(const std::filesystem::path& folder, const std::string& record);
    void putFreshInPlace(Staged& s);
    void releaseAnchors();

    std::vector<Staged> staged_;
    bool done_ = false;
    std::string namedBy_;
    Renamer rename_;
    std::mutex anchorsMutex_;
    std::map<std::string, Anchor> anchors_;  // by folder
    std::vector<std::string> stagingFolders_;
};

// Removes what killed earlier replacements left in the folders of these files and
// in the other folders given: only what a dead batch's anchor lists there.
// What a live replacement holds, in this process or another, stays.
void removeLeftovers(const std::vector<std::string>& written, const std::vector<std::string>& folders = {});

}  // namespace ombrel
