// Bytes read as a .x file (header supplied when missing) into an empty world.
#include "api_support.h"
#include "io_world.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace ombrel;
    state().logToStderr = false;
    state().world = std::make_unique<World>();
    std::string bytes(reinterpret_cast<const char*>(data), size);
    if (bytes.compare(0, 4, "xof ") != 0) bytes.insert(0, "xof 0303txt 0032");
    try {
        readWorldData(bytes, "/nonexistent/fuzz.x", "", "", OMBREL_LOAD_EDITOR);
    } catch (const ApiError&) {
    }
    closeWorld();
    return 0;
}
