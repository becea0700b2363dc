// Bytes read as a world file into an empty world: any failure must be an ApiError.
#include "api_support.h"
#include "io_world.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace ombrel;
    state().logToStderr = false;
    state().world = std::make_unique<World>();
    try {
        readWorldData(std::string_view(reinterpret_cast<const char*>(data), size), "/nonexistent/fuzz.wld", "", "",
                      OMBREL_LOAD_EDITOR);
    } catch (const ApiError&) {
    }
    closeWorld();
    return 0;
}
