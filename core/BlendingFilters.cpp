#include "BlendingFilters.h"

namespace core {

int32_t BlendingFilterCode(std::string_view text) {
    for (const BlendingFilter& f : BlendingFilters)
        if (text == f.text) return f.code;
    return 0;
}

std::optional<int> BlendingFilterIndex(int32_t code) {
    for (std::size_t i = 0; i < BlendingFilters.size(); ++i)
        if (BlendingFilters[i].code == code) return static_cast<int>(i);
    return std::nullopt;
}

}  // namespace core
