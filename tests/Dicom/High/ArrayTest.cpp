#include "Array.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{

struct Counted
{
    explicit Counted(int& alive) : alive(alive) { ++alive; }
    virtual ~Counted() { --alive; }
    int& alive;
};

std::vector<int> ItemsOf(const Array<int>& list)
{
    std::vector<int> items;
    for (auto* node = list.GetHead(); node != nullptr; node = node->next)
    {
        items.push_back(node->item);
    }
    return items;
}

std::vector<int> ItemsBackwards(const Array<int>& list)
{
    std::vector<int> items;
    for (auto* node = list.GetTail(); node != nullptr; node = node->prev)
    {
        items.push_back(node->item);
    }
    return items;
}

Array<int> ListOf(std::initializer_list<int> items)
{
    Array<int> list;
    for (int item : items)
    {
        list.AddTail(item);
    }
    return list;
}

} // namespace

TEST(Array, AddTailAndAddHeadReturnTheNewCount)
{
    Array<int> list;
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(list.AddTail(2), 1);
    EXPECT_EQ(list.AddTail(3), 2);
    EXPECT_EQ(list.AddHead(1), 3);
    EXPECT_EQ(ItemsOf(list), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(ItemsBackwards(list), (std::vector<int>{3, 2, 1}));
}

TEST(Array, InsertAtPutsTheItemBeforeTheIndexOrAtTheEnd)
{
    struct Case
    {
        int index;
        std::vector<int> expected;
    };
    const Case cases[] = {
        {0, {9, 1, 2, 3, 4}}, {1, {1, 9, 2, 3, 4}},  {3, {1, 2, 3, 9, 4}},
        {4, {1, 2, 3, 4, 9}}, {10, {1, 2, 3, 4, 9}},
    };
    for (const Case& c : cases)
    {
        Array<int> list = ListOf({1, 2, 3, 4});
        list.InsertAt(9, c.index);
        EXPECT_EQ(ItemsOf(list), c.expected) << "index " << c.index;
        EXPECT_EQ(ItemsBackwards(list).size(), c.expected.size());
        EXPECT_EQ(list.GetCount(), 5);
    }
}

TEST(Array, GetAtWalksFromTheNearerEnd)
{
    const Array<int> list = ListOf({10, 11, 12, 13, 14});
    for (int index = 0; index < 5; ++index)
    {
        EXPECT_EQ(list.GetNodeAt(index)->item, 10 + index);
        EXPECT_EQ(list.GetAt(index), 10 + index);
    }
    // Index 2 of 5 is reached from the tail, index 1 from the head.
    EXPECT_EQ(list.GetNodeAt(2), list.GetTail()->prev->prev);
    EXPECT_EQ(list.GetNodeAt(1), list.GetHead()->next);
    EXPECT_EQ(list.GetNodeAt(5), nullptr);
    EXPECT_EQ(list.GetNodeAt(-1), nullptr);
}

TEST(Array, GetAtOfPointerItemsIsNullPastTheEnd)
{
    int a = 0;
    Array<int*> list;
    list.AddTail(&a);
    EXPECT_EQ(list.GetAt(0), &a);
    EXPECT_EQ(list.GetAt(1), nullptr);
}

TEST(Array, IndexOfFindsTheFirstEqualItem)
{
    const Array<int> list = ListOf({5, 6, 7, 6});
    EXPECT_EQ(list.IndexOf(6), 1);
    EXPECT_EQ(list.IndexOf(8), -1);
    EXPECT_TRUE(list.Contains(7));
    EXPECT_FALSE(list.Contains(8));
    EXPECT_EQ(Array<int>().IndexOf(5), -1);
}

TEST(Array, RemoveTakesTheFirstEqualItem)
{
    Array<int> list = ListOf({5, 6, 7, 6});
    EXPECT_EQ(list.Remove(6), 1);
    EXPECT_EQ(ItemsOf(list), (std::vector<int>{5, 7, 6}));
    EXPECT_EQ(list.Remove(8), 0);
    EXPECT_EQ(list.Remove(5), 1);
    EXPECT_EQ(list.Remove(6), 1);
    EXPECT_EQ(ItemsOf(list), (std::vector<int>{7}));
    EXPECT_EQ(ItemsBackwards(list), (std::vector<int>{7}));
}

TEST(Array, RemoveAtLeavesTheIteratorOnTheFollowingNode)
{
    Array<int> list = ListOf({1, 2, 3});
    Array<int>::Iterator it(&list);
    it.Next();
    EXPECT_EQ(list.RemoveAt(it), 1);
    EXPECT_EQ(ItemsOf(list), (std::vector<int>{1, 3}));
    EXPECT_EQ(it.GetItem(), 3);
    EXPECT_EQ(it.GetCount(), 2);

    it.Next();
    EXPECT_EQ(list.RemoveAt(it), 0); // past the end
    EXPECT_EQ(list.GetCount(), 2);
}

TEST(Array, RemoveAtThroughAnotherListsIteratorChangesNothing)
{
    Array<int> list = ListOf({1, 2});
    Array<int> other = ListOf({1, 2});
    Array<int>::Iterator it(&other);
    EXPECT_EQ(list.RemoveAt(it), 0);
    EXPECT_EQ(list.GetCount(), 2);
    EXPECT_EQ(other.GetCount(), 2);
}

TEST(Array, RemoveAllKeepsTheNodesWhenTheFlagIsCleared)
{
    Array<int> list = ListOf({1, 2, 3});
    list.SetFreeNodes(false);
    list.RemoveAll();
    EXPECT_EQ(list.GetCount(), 3);
    EXPECT_EQ(ItemsOf(list), (std::vector<int>{1, 2, 3}));
    list.SetFreeNodes(true);
    list.RemoveAll();
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(list.GetHead(), nullptr);
    EXPECT_EQ(list.GetTail(), nullptr);
}

TEST(Array, DeleteAllDeletesThePointedObjects)
{
    int alive = 0;
    Array<Counted*> list;
    list.AddTail(new Counted(alive));
    list.AddTail(new Counted(alive));
    EXPECT_EQ(alive, 2);
    list.DeleteAll();
    EXPECT_EQ(alive, 0);
    EXPECT_TRUE(list.IsEmpty());
}

TEST(Array, MoveAllToJoinsTheNodesAfterTheTarget)
{
    Array<int> source = ListOf({3, 4});
    Array<int> target = ListOf({1, 2});
    EXPECT_EQ(source.MoveAllTo(target), 1);
    EXPECT_TRUE(source.IsEmpty());
    EXPECT_EQ(ItemsOf(target), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(ItemsBackwards(target), (std::vector<int>{4, 3, 2, 1}));
    EXPECT_EQ(target.GetCount(), 4);

    Array<int> empty;
    Array<int> into;
    EXPECT_EQ(ListOf({5}).MoveAllTo(into), 1);
    EXPECT_EQ(ItemsOf(into), (std::vector<int>{5}));
    EXPECT_EQ(empty.MoveAllTo(into), 0);
    EXPECT_EQ(ItemsOf(into), (std::vector<int>{5}));
}

TEST(Array, MoveAllToRefusesListsThatFreeNodesDifferently)
{
    Array<int> source = ListOf({1});
    Array<int> target;
    target.SetFreeNodes(false);
    EXPECT_EQ(source.MoveAllTo(target), 0);
    EXPECT_EQ(source.GetCount(), 1);
    EXPECT_TRUE(target.IsEmpty());
}

TEST(Array, MoveClampsBothPositionsIntoTheList)
{
    struct Case
    {
        int from;
        int to;
        std::vector<int> expected;
    };
    const Case cases[] = {
        {0, 3, {2, 3, 4, 1}}, {3, 0, {4, 1, 2, 3}},  {1, 2, {1, 3, 2, 4}},
        {2, 1, {1, 3, 2, 4}}, {1, 99, {1, 3, 4, 2}}, {-5, 1, {2, 1, 3, 4}},
        {3, 3, {1, 2, 3, 4}}, {3, 7, {1, 2, 3, 4}},  {0, -1, {1, 2, 3, 4}},
    };
    for (const Case& c : cases)
    {
        Array<int> list = ListOf({1, 2, 3, 4});
        EXPECT_EQ(list.Move(c.from, c.to), 1) << c.from << " -> " << c.to;
        EXPECT_EQ(ItemsOf(list), c.expected) << c.from << " -> " << c.to;
        std::vector<int> backwards(c.expected.rbegin(), c.expected.rend());
        EXPECT_EQ(ItemsBackwards(list), backwards) << c.from << " -> " << c.to;
        EXPECT_EQ(list.GetCount(), 4);
    }
    Array<int> empty;
    EXPECT_EQ(empty.Move(0, 1), 0);
    Array<int> single = ListOf({9});
    EXPECT_EQ(single.Move(0, 5), 1);
    EXPECT_EQ(ItemsOf(single), (std::vector<int>{9}));
}

TEST(Array, FindMinKeepsTheFirstOfEqualItems)
{
    Array<int> list = ListOf({4, 2, 7, 2});
    auto compare = [](int a, int b) { return a - b; };
    EXPECT_EQ(list.FindMin(compare), list.GetNodeAt(1));
    EXPECT_EQ(Array<int>().FindMin(compare), nullptr);
}

TEST(Array, IteratorStepsAndStopsAtTheEnds)
{
    Array<int> list = ListOf({1, 2, 3, 4});
    Array<int>::Iterator it(&list);
    EXPECT_EQ(it.GetIndex(), 0);
    EXPECT_EQ(it.GetItem(), 1);
    EXPECT_EQ(it.Move(2)->item, 3);
    EXPECT_EQ(it.GetIndex(), 2);
    EXPECT_EQ(it.Move(-1)->item, 2);
    EXPECT_EQ(it.Move(10), nullptr);
    EXPECT_EQ(it.Next(), nullptr);
    EXPECT_EQ(it.GetItem(), 0);
    it.Reset();
    EXPECT_EQ(it.Move(0)->item, 1);
    EXPECT_EQ(it.Prev(), nullptr);

    Array<int>::Iterator none(nullptr);
    EXPECT_EQ(none.GetCurrent(), nullptr);
    EXPECT_EQ(none.GetCount(), 0);
}

TEST(Array, IteratorFindAdvancesToTheItem)
{
    Array<int> list = ListOf({1, 2, 3, 2});
    Array<int>::Iterator it(&list);
    EXPECT_TRUE(it.Find(2));
    EXPECT_EQ(it.GetIndex(), 1);
    it.Next();
    EXPECT_TRUE(it.Find(2));
    EXPECT_EQ(it.GetIndex(), 3);
    it.Next();
    EXPECT_FALSE(it.Find(2));
}

TEST(Array, CopiesShareTheItemsNotTheNodes)
{
    int a = 1;
    int b = 2;
    ArrayOfPtr<int*> list;
    list.AddTail(&a);
    list.AddTail(&b);
    ArrayOfPtr<int*> copy(list);
    EXPECT_NE(copy.GetHead(), list.GetHead());
    EXPECT_EQ(copy.GetAt(1), &b);
    list.Append(list);
    EXPECT_EQ(list.GetCount(), 4);
    EXPECT_EQ(list.GetAt(3), &b);
    copy = list;
    EXPECT_EQ(copy.GetCount(), 4);
}
