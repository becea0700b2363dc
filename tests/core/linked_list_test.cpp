#include "core/LinkedList.h"

#include "platform/error_trap.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<int32_t> contents(LinkedList& list) {
    std::vector<int32_t> out;
    list.SetCurrToFirst();
    for (int32_t i = 0; i < list.Count() && list.HasCurr(); ++i) {
        out.push_back(list.CurrItemData());
        list.SetCurrToNext();
    }
    return out;
}

LinkedList listOf(std::initializer_list<int32_t> values) {
    LinkedList list;
    for (int32_t v : values) list.Append(v);
    return list;
}

TEST(LinkedList, FindAndDeleteRemovesOnlyTheFirstOccurrence) {
    struct Case {
        std::initializer_list<int32_t> start;
        int32_t remove;
        std::vector<int32_t> want;
    };
    const Case cases[] = {
        {{1, 2, 3, 2}, 2, {1, 3, 2}},
        {{5, 6, 7}, 5, {6, 7}},  // the head: its next node becomes the head
        {{5, 6, 7}, 7, {5, 6}},
        {{5, 6, 7}, 9, {5, 6, 7}},
        {{}, 1, {}},
    };
    for (const Case& c : cases) {
        LinkedList list = listOf(c.start);
        list.FindAndDelete(c.remove);
        EXPECT_EQ(contents(list), c.want) << "removing " << c.remove;
        EXPECT_EQ(list.Count(), static_cast<int32_t>(c.want.size()));
    }
}

TEST(LinkedList, DeleteCurrMakesTheNextNodeCurrent) {
    LinkedList list = listOf({1, 2, 3});
    list.SetCurrToFirst();
    list.SetCurrToNext();
    list.DeleteCurr();
    EXPECT_EQ(list.CurrItemData(), 3);
    list.DeleteCurr();
    EXPECT_FALSE(list.HasCurr());
    list.DeleteCurr();  // nothing current: nothing happens
    EXPECT_EQ(contents(list), (std::vector<int32_t>{1}));
}

TEST(LinkedList, AppendAfterAWalkToTheEndKeepsEveryNode) {
    LinkedList list = listOf({1, 2});
    list.SetCurrToFirst();
    list.SetCurrToNext();
    list.SetCurrToNext();  // past the end
    list.Append(3);
    EXPECT_EQ(contents(list), (std::vector<int32_t>{1, 2, 3}));
    list.SetCurrToFirst();
    list.Append(9);  // mid-list: what followed stays behind the new node
    EXPECT_EQ(contents(list), (std::vector<int32_t>{1, 9, 2, 3}));
}

TEST(LinkedList, NoCurrentItemIsAnError) {
    LinkedList list;
    EXPECT_THROW(list.CurrItemData(), platform::EditorError);
}

}  // namespace
