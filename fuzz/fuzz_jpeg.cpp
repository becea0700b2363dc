// Any byte string through the image decoder; seeds are JPEG files.
#include "image_fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    fuzzcheck::decodeImageInput(data, size);
    return 0;
}
