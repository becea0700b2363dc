// Small meshes in shared pages: built one after another they lie side by side,
// no two live meshes ever share a vertex, an index or a slot, and however often
// meshes are built again the pages stay within a small multiple of what lives
// in them.
#include "mesh_pages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <set>
#include <vector>

namespace {

using ombrel::MeshPages;
using ombrel::PagePlace;

constexpr uint32_t kPageVertices = 1000, kPageIndices = 1500;

// Every live place within its page, apart from every other, and with a slot of
// its own; the holders the pages know are exactly the ones expected.
void expectSound(const MeshPages& pages, const std::map<int32_t, std::pair<uint32_t, uint32_t>>& live) {
    std::vector<PagePlace> places;
    std::set<uint32_t> slots;
    for (const auto& [holder, size] : live) {
        const PagePlace* at = pages.find(holder);
        ASSERT_NE(at, nullptr) << "holder " << holder;
        EXPECT_EQ(at->vertices, size.first);
        EXPECT_EQ(at->indices, size.second);
        EXPECT_LE(at->firstVertex + at->vertices, kPageVertices);
        EXPECT_LE(at->firstIndex + at->indices, kPageIndices);
        EXPECT_LT(at->page, static_cast<int32_t>(pages.pageCount()));
        EXPECT_LT(at->slot, pages.slotCount());
        EXPECT_TRUE(slots.insert(at->slot).second) << "slot " << at->slot << " given twice";
        places.push_back(*at);
    }
    for (std::size_t i = 0; i < places.size(); ++i)
        for (std::size_t j = i + 1; j < places.size(); ++j) {
            const PagePlace &a = places[i], &b = places[j];
            if (a.page != b.page) continue;
            EXPECT_TRUE(a.firstVertex + a.vertices <= b.firstVertex || b.firstVertex + b.vertices <= a.firstVertex)
                << "vertices shared in page " << a.page;
            EXPECT_TRUE(a.firstIndex + a.indices <= b.firstIndex || b.firstIndex + b.indices <= a.firstIndex)
                << "indices shared in page " << a.page;
        }
}

TEST(MeshPagesTest, MeshesBuiltOneAfterAnotherLieSideBySideUntilAPageIsFull) {
    MeshPages pages(kPageVertices, kPageIndices);
    std::vector<int32_t> evicted;
    std::vector<PagePlace> at;
    for (int32_t h = 1; h <= 12; ++h) at.push_back(pages.place(h, 100, 150, evicted));
    EXPECT_TRUE(evicted.empty());
    for (std::size_t i = 1; i < 10; ++i) {
        EXPECT_EQ(at[i].page, 0);
        EXPECT_EQ(at[i].firstVertex, at[i - 1].firstVertex + 100);
        EXPECT_EQ(at[i].firstIndex, at[i - 1].firstIndex + 150);
    }
    EXPECT_EQ(at[10].page, 1);
    EXPECT_EQ(at[10].firstVertex, 0u);
    EXPECT_EQ(pages.pageCount(), 2u);
}

TEST(MeshPagesTest, OnlyMeshesSmallEnoughToShareAPageGoInOne) {
    const MeshPages pages(kPageVertices, kPageIndices);
    const struct {
        uint32_t vertices, indices;
        bool fits;
    } cases[] = {{1, 3, true},   {125, 187, true}, {126, 3, false}, {3, 188, false},
                 {0, 3, false},  {3, 0, false},    {kPageVertices, kPageIndices, false}};
    for (const auto& c : cases) EXPECT_EQ(pages.fits(c.vertices, c.indices), c.fits) << c.vertices << " " << c.indices;
}

TEST(MeshPagesTest, ASlotAndRoomGivenUpAreTakenAgain) {
    MeshPages pages(kPageVertices, kPageIndices);
    std::vector<int32_t> evicted;
    for (int32_t h = 1; h <= 10; ++h) pages.place(h, 100, 150, evicted);
    const uint32_t slotOfFive = pages.find(5)->slot;
    pages.release(5);
    EXPECT_EQ(pages.find(5), nullptr);
    EXPECT_EQ(pages.place(11, 100, 150, evicted).slot, slotOfFive);
    EXPECT_EQ(pages.slotCount(), 10u);
    // A full page nobody holds any more is filled again from its start.
    MeshPages full(kPageVertices, kPageIndices);
    for (int32_t h = 1; h <= 10; ++h) full.place(h, 100, 150, evicted);
    for (int32_t h = 1; h <= 10; ++h) full.release(h);
    const PagePlace again = full.place(12, 100, 150, evicted);
    EXPECT_EQ(full.pageCount(), 1u);
    EXPECT_EQ(again.page, 0);
    EXPECT_EQ(again.firstVertex, 0u);
    EXPECT_TRUE(evicted.empty());
}

// Meshes placed, built again with other sizes and let go in a random order: the
// places stay sound, the holders sent out are exactly those that lost their
// place, and every page but one holds more than 3/8 of a page of live vertices
// or indices (a new page is opened only when each is 7/8 used and under half
// given up).
TEST(MeshPagesTest, BuildingMeshesAgainAndAgainKeepsThePagesBounded) {
    for (const unsigned seed : {1u, 2u, 3u}) {
        SCOPED_TRACE(seed);
        MeshPages pages(kPageVertices, kPageIndices);
        std::mt19937 random(seed);
        std::map<int32_t, std::pair<uint32_t, uint32_t>> live;
        std::size_t evictions = 0;
        for (int step = 0; step < 4000; ++step) {
            const int32_t holder = static_cast<int32_t>(random() % 60) + 1;
            if (random() % 5 == 0) {
                pages.release(holder);
                live.erase(holder);
            } else {
                const uint32_t v = random() % 125 + 1, i = random() % 187 + 1;
                std::vector<int32_t> evicted;
                pages.place(holder, v, i, evicted);
                for (int32_t gone : evicted) {
                    EXPECT_NE(gone, holder);
                    EXPECT_EQ(pages.find(gone), nullptr);
                    EXPECT_EQ(live.erase(gone), 1u) << "holder " << gone << " sent out twice";
                }
                evictions += evicted.size();
                live[holder] = {v, i};
            }
            uint64_t liveVertices = 0, liveIndices = 0;
            for (const auto& [h, size] : live) liveVertices += size.first, liveIndices += size.second;
            const double bound = 8.0 / 3.0 * (static_cast<double>(liveVertices) / kPageVertices +
                                              static_cast<double>(liveIndices) / kPageIndices);
            ASSERT_LE(static_cast<double>(pages.pageCount()), bound + 1) << "at step " << step;
            expectSound(pages, live);
            if (HasFailure()) return;
        }
        EXPECT_GT(evictions, 0u) << "the sequence never reused a page still held";
    }
}

}  // namespace
