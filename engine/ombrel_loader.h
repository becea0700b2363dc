// Opens the engine library at run time and binds every entry point by name.
#pragma once

#include <string>
#include <vector>

namespace ombrel_loader {

enum class Status {
    Loaded,
    LibraryMissing,      // no file at the path
    NotALibrary,         // the file could not be opened as a shared library
    EntryPointsMissing,  // an older or foreign engine: some names are not there
};

struct Result {
    Status status = Status::LibraryMissing;
    std::string path;
    std::string reason;                // the system's own words for a failed open
    std::vector<std::string> missing;  // entry points the library lacks
};

// The engine file's name in the program's folder.
const char* libraryFileName();

// Opens the library at path and binds every entry point. Any earlier library is
// closed first. On anything but Loaded every entry point is left unbound.
Result load(const std::string& path);

// Unbinds every entry point and closes the library.
void unload();

bool isLoaded();

}  // namespace ombrel_loader
