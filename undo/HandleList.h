// Copies of the editor's lists used from index 1 with a separate count.
#pragma once

#include "core/CoreError.h"

#include <cstdint>
#include <string>
#include <vector>

// entries 1..count of src; element 0 is unused.
template <class List>
std::vector<int32_t> CopyHandleList(const List& src, int32_t count) {
    if (count < 0) core::raiseError("A list cannot hold " + std::to_string(count) + " entries");
    std::vector<int32_t> copy(static_cast<std::size_t>(count) + 1, 0);
    for (int32_t i = 1; i <= count; ++i) copy[static_cast<std::size_t>(i)] = src[i];
    return copy;
}

// dst(1..count) = list(1..count), for the global FixedLists.
template <class Dst>
void WriteHandleList(Dst& dst, const std::vector<int32_t>& list, int32_t count) {
    for (int32_t i = 1; i <= count; ++i) dst[i] = list[static_cast<std::size_t>(i)];
}
