#include "BitmapFileDialog.h"

#include "platform/prompts.h"

namespace Globals {

std::string GetOpenedBitmapFile(bool) {
    platform::FileRequest request;
    request.title = "Open";
    request.filter = BitmapFileFilter;
    return platform::prompts().openFileName(request);
}

}  // namespace Globals
