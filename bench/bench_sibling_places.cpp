// Reading and restoring the places of every second sibling, as the Undo of a
// deletion does: the places read (in a list with holes) while the others are
// still there, every second entity taken out and appended again, then put back
// at its place. Polygons of
// one group and groups under one father; one at a time (get_index, set_index per
// entity) against all at once (get_indices, set_indices).
// Args: siblings, kind (0 polygons, 1 groups), way (0 one at a time, 1 at once).
#include "ombrel.h"
#include "ombrel_places.h"

#include <benchmark/benchmark.h>

#include <array>
#include <string>
#include <vector>

namespace {

struct Siblings {
    std::vector<int32_t> all, taken;
    int32_t owner = 0;
    bool groups = false;

    Siblings(int n, bool ofGroups) : groups(ofGroups) {
        OMBREL_engine_load_world(nullptr, "", "", OMBREL_LOAD_EDITOR);
        OMBREL_engine_hide_log_window();
        const int32_t root = OMBREL_group_create("the_world");
        owner = OMBREL_group_create("owner");
        OMBREL_group_set_father_group(owner, root);
        // One in five made is taken out for good at once: the holes that earlier
        // deletions leave in the list.
        std::vector<int32_t> spares;
        for (int i = 0; static_cast<int>(all.size()) < n; ++i) {
            int32_t h = 0;
            if (groups) {
                h = OMBREL_group_create(("g" + std::to_string(i)).c_str());
            } else {
                h = OMBREL_polygon_create();
                for (const auto& c : {std::array{0.0, 0.0}, {0.0, 1.0}, {1.0, 0.0}}) {
                    const double rec[6] = {i + c[0], c[1], 0, 0, 0, 100};
                    OMBREL_polygon_add_point(h, rec);
                }
                OMBREL_engine_add_polygon(h);
            }
            put(h, owner);
            if (i % 5 == 4) {
                spares.push_back(h);
                continue;
            }
            if (all.size() % 2 == 0) taken.push_back(h);
            all.push_back(h);
        }
        for (int32_t h : spares) put(h, 0);
    }
    ~Siblings() { OMBREL_engine_close(); }

    void put(int32_t h, int32_t in) const {
        groups ? OMBREL_group_set_father_group(h, in) : OMBREL_polygon_set_group(h, in);
    }
    int32_t place(int32_t h) const { return groups ? OMBREL_ext_group_get_index(h) : OMBREL_ext_polygon_get_index(h); }
    void putAt(int32_t h, int32_t at) const {
        groups ? OMBREL_ext_group_set_index(h, at) : OMBREL_ext_polygon_set_index(h, at);
    }
};

void BM_RestoreEverySecondPlace(benchmark::State& state) {
    const bool groups = state.range(1) == 1, atOnce = state.range(2) == 1;
    Siblings s(static_cast<int>(state.range(0)), groups);
    std::vector<int32_t> places(s.taken.size());
    bool inOrder = true;
    for (auto _ : state) {
        if (atOnce) {
            OMBREL_ext_get_indices(s.taken.data(), static_cast<int32_t>(s.taken.size()), places.data());
        } else {
            for (std::size_t i = 0; i < s.taken.size(); ++i) places[i] = s.place(s.taken[i]);
        }
        for (int32_t h : s.taken) s.put(h, 0);
        for (int32_t h : s.taken) s.put(h, s.owner);
        if (atOnce) {
            OMBREL_ext_set_indices(s.taken.data(), places.data(), static_cast<int32_t>(s.taken.size()));
        } else {
            for (std::size_t i = 0; i < s.taken.size(); ++i) s.putAt(s.taken[i], places[i]);
        }
    }
    for (std::size_t i = 0; i < s.all.size(); ++i) inOrder = inOrder && s.place(s.all[i]) == static_cast<int32_t>(i);
    state.counters["siblings"] = static_cast<double>(s.all.size());
    state.counters["in_order"] = inOrder ? 1 : 0;
}
BENCHMARK(BM_RestoreEverySecondPlace)
    ->ArgNames({"siblings", "groups", "at_once"})
    ->ArgsProduct({{20000, 80000, 160000}, {0, 1}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
