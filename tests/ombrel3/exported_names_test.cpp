// Every entry point the interface headers list is exported by the library, so the
// editor's loader can bind all of them.
#include "ombrel.h"
#include "ombrel_edges.h"
#include "ombrel_places.h"
#include "ombrel_views.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <string>
#include <vector>

TEST(ExportedNames, EveryListedEntryPointIsExported) {
    std::vector<std::string> names;
#define OMBREL_NAME_(ret, name, params) names.emplace_back(#name);
    OMBREL_EDITOR_FUNCTIONS(OMBREL_NAME_)
    std::size_t editorCalls = names.size();
    OMBREL_EXT_FUNCTIONS(OMBREL_NAME_)
    OMBREL_PLACES_FUNCTIONS(OMBREL_NAME_)
    OMBREL_EDGES_FUNCTIONS(OMBREL_NAME_)
    OMBREL_VIEWS_FUNCTIONS(OMBREL_NAME_)
#undef OMBREL_NAME_
    EXPECT_EQ(editorCalls, 280u) << "the editor's calls and the interface lists drifted apart";

    std::string path = std::string(TALVORA_PROGRAM_DIR) + "/libombrel3.so";
    void* lib = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(lib, nullptr) << dlerror();
    for (const std::string& n : names) EXPECT_NE(dlsym(lib, n.c_str()), nullptr) << n << " is not exported";
    dlclose(lib);
}
