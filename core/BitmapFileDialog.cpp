#include "BitmapFileDialog.h"

#include "platform/prompts.h"

namespace Globals {

std::vector<std::string> GetOpenedBitmapFile(bool multiSelect) {
    platform::FileRequest request;
    request.title = "Open";
    request.filter = BitmapFileFilter;
    if (multiSelect) return platform::prompts().openFileNames(request);
    std::string path = platform::prompts().openFileName(request);
    if (path.empty()) return {};
    return {std::move(path)};
}

}  // namespace Globals
