// Reads what the last call into a stand-in engine library left behind.
#pragma once

#include <dlfcn.h>

#include <string>

// The name of the entry point called last in the stand-in engine at path, which
// must already be open.
inline std::string fakeEngineLastCall(const std::string& path) {
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (!handle) return "(library not open)";
    auto* last = static_cast<const char**>(dlsym(handle, "fake_engine_last_call"));
    std::string name = last && *last ? *last : "(none)";
    dlclose(handle);
    return name;
}
