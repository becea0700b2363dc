#include "ombrel_loader.h"

#include "ombrel.h"
#include "ombrel_edges.h"
#include "ombrel_places.h"
#include "ombrel_views.h"

#include <dlfcn.h>
#include <filesystem>

// One pointer per entry point, named as the function, so editor code reads as a
// plain call.
extern "C" {
#define OMBREL_DEFINE_POINTER_(ret, name, params) ret(*name) params = nullptr;
OMBREL_ALL_FUNCTIONS(OMBREL_DEFINE_POINTER_)
OMBREL_PLACES_FUNCTIONS(OMBREL_DEFINE_POINTER_)
OMBREL_EDGES_FUNCTIONS(OMBREL_DEFINE_POINTER_)
OMBREL_VIEWS_FUNCTIONS(OMBREL_DEFINE_POINTER_)
#undef OMBREL_DEFINE_POINTER_
}

namespace ombrel_loader {
namespace {

void* g_library = nullptr;

void clearPointers() {
#define OMBREL_CLEAR_(ret, name, params) name = nullptr;
    OMBREL_ALL_FUNCTIONS(OMBREL_CLEAR_)
    OMBREL_PLACES_FUNCTIONS(OMBREL_CLEAR_)
    OMBREL_EDGES_FUNCTIONS(OMBREL_CLEAR_)
    OMBREL_VIEWS_FUNCTIONS(OMBREL_CLEAR_)
#undef OMBREL_CLEAR_
}

}  // namespace

const char* libraryFileName() { return "libombrel3.so"; }

Result load(const std::string& path) {
    unload();
    Result r;
    r.path = path;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        r.status = Status::LibraryMissing;
        r.reason = "the file does not exist";
        return r;
    }
    dlerror();
    void* lib = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!lib) {
        const char* why = dlerror();
        r.status = Status::NotALibrary;
        r.reason = why ? why : "not a shared library";
        return r;
    }
#define OMBREL_BIND_(ret, fn, params)                                      \
    if (void* sym = dlsym(lib, #fn))                                        \
        fn = reinterpret_cast<ret(*) params>(sym);                          \
    else                                                                    \
        r.missing.emplace_back(#fn);
    OMBREL_ALL_FUNCTIONS(OMBREL_BIND_)
    OMBREL_PLACES_FUNCTIONS(OMBREL_BIND_)
    OMBREL_EDGES_FUNCTIONS(OMBREL_BIND_)
    OMBREL_VIEWS_FUNCTIONS(OMBREL_BIND_)
#undef OMBREL_BIND_
    if (!r.missing.empty()) {
        clearPointers();
        dlclose(lib);
        r.status = Status::EntryPointsMissing;
        return r;
    }
    g_library = lib;
    r.status = Status::Loaded;
    return r;
}

void unload() {
    clearPointers();
    if (g_library) dlclose(g_library);
    g_library = nullptr;
}

bool isLoaded() { return g_library != nullptr; }

}  // namespace ombrel_loader
