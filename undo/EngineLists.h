// The engine's lists of handles as commands compare them: what a list holds now,
// and what came into it since an earlier look.
#pragma once

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <unordered_set>
#include <vector>

namespace undo {

// The handles of a list, from first() along next() to its end.
template <class First, class Next>
std::vector<int32_t> ListedHandles(First first, Next next) {
    std::vector<int32_t> handles;
    for (int32_t h = first(); h != 0; h = next(h)) handles.push_back(h);
    return handles;
}

// Those of now that before did not hold, in now's order.
inline std::vector<int32_t> Newcomers(const std::vector<int32_t>& now, const std::vector<int32_t>& before) {
    const std::unordered_set<int32_t> known(before.begin(), before.end());
    std::vector<int32_t> added;
    std::copy_if(now.begin(), now.end(), std::back_inserter(added), [&](int32_t h) { return !known.count(h); });
    return added;
}

}  // namespace undo
