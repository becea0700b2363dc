// Places among siblings read and set for many entities at once: an Undo that
// puts back thousands of deleted polygons or groups walks each list of siblings
// once, where one call per entity would walk it (or rotate its tail) each time.
#include "api_support.h"
#include "records.h"

#include "ombrel_places.h"

#include <algorithm>
#include <map>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace ombrel {
namespace {

// The group whose list holds the entity (its father's children, or its group's
// polygons), or null for an entity without one, stale or of another kind.
struct SiblingList {
    Group* owner = nullptr;
    bool polygons = false;
};

SiblingList siblingsOf(int32_t h) {
    switch (state().handles.kindOf(h)) {
    case Kind::Group:
        if (const Group* g = lookup<Group>(h)) return {lookup<Group>(g->father), false};
        break;
    case Kind::Polygon:
        if (const Polygon* p = lookup<Polygon>(h)) return {lookup<Group>(p->group), true};
        break;
    default: break;
    }
    return {};
}

// The caller's entries (their positions in its arrays) by the list they stand in.
using ByList = std::map<std::pair<int32_t, bool>, std::vector<int32_t>>;

ByList byList(const int32_t* handles, int32_t count) {
    ByList lists;
    for (int32_t i = 0; i < count; ++i)
        if (const SiblingList s = siblingsOf(handles[i]); s.owner) lists[{s.owner->handle, s.polygons}].push_back(i);
    return lists;
}

template <class List>
std::unordered_map<int32_t, int32_t> placesIn(const List& list, const std::unordered_set<int32_t>& wanted) {
    std::unordered_map<int32_t, int32_t> places;
    int32_t at = 0;
    list.forEach([&](int32_t h) {
        if (wanted.count(h)) places.emplace(h, at);
        ++at;
    });
    return places;
}

// The list's items with each moved entity at its place and the others in their
// order, the moves taken in the order of their places.
std::vector<int32_t> orderWithPlaces(const std::vector<int32_t>& items,
                                     std::vector<std::pair<int32_t, std::size_t>>& moves) {
    std::ranges::stable_sort(moves, {}, &std::pair<int32_t, std::size_t>::second);
    std::unordered_set<int32_t> moving;
    std::erase_if(moves, [&](const auto& m) { return !moving.insert(m.first).second; });
    std::vector<int32_t> out;
    out.reserve(items.size());
    auto m = moves.begin();
    for (int32_t h : items) {
        if (moving.count(h)) continue;
        for (; m != moves.end() && m->second <= out.size(); ++m) out.push_back(m->first);
        out.push_back(h);
    }
    for (; m != moves.end(); ++m) out.push_back(m->first);
    return out;
}

// Rebuilt in the new order: appending keeps every position exact and no hole.
template <class List>
int32_t placeAll(List& list, std::vector<std::pair<int32_t, std::size_t>> moves) {
    std::erase_if(moves, [&](const auto& m) { return !list.contains(m.first); });
    if (moves.empty()) return 0;
    const std::vector<int32_t> order = orderWithPlaces(list.toVector(), moves);
    list.clear();
    for (int32_t h : order) list.append(h);
    return static_cast<int32_t>(moves.size());
}

}  // namespace
}  // namespace ombrel

using namespace ombrel;

OMBREL_API int32_t OMBREL_ext_get_indices(const int32_t* handles, int32_t count, int32_t* indices) {
    return guarded(__func__, -1, [&] {
        if (count < 0 || (count > 0 && (!handles || !indices))) throw ApiError("no list given");
        std::fill(indices, indices + count, -1);
        for (const auto& [list, entries] : byList(handles, count)) {
            const Group& owner = need<Group>(list.first);
            std::unordered_set<int32_t> wanted;
            for (int32_t i : entries) wanted.insert(handles[i]);
            const auto places = list.second ? placesIn(owner.polygons, wanted) : placesIn(owner.children, wanted);
            for (int32_t i : entries)
                if (auto it = places.find(handles[i]); it != places.end()) indices[i] = it->second;
        }
        return 0;
    });
}

OMBREL_API int32_t OMBREL_ext_set_indices(const int32_t* handles, const int32_t* indices, int32_t count) {
    return guarded(__func__, -1, [&] {
        if (count < 0 || (count > 0 && (!handles || !indices))) throw ApiError("no list given");
        int32_t placed = 0;
        for (const auto& [list, entries] : byList(handles, count)) {
            Group& owner = need<Group>(list.first);
            std::vector<std::pair<int32_t, std::size_t>> moves;
            for (int32_t i : entries)
                if (indices[i] >= 0) moves.emplace_back(handles[i], static_cast<std::size_t>(indices[i]));
            if (moves.empty()) continue;
            if (list.second) {
                placed += placeAll(owner.polygons, std::move(moves));
                touchGroup(owner.handle);
            } else {
                placed += placeAll(owner.children, std::move(moves));
                touchWorld();
            }
        }
        return placed;
    });
}
