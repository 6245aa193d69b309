#include "AfxCore.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace
{
template <class T> void ExpectInvalidArg(T&& action)
{
    bool bThrown = false;
    try
    {
        action();
    }
    catch (CInvalidArgException* e)
    {
        bThrown = true;
        e->Delete();
    }
    EXPECT_TRUE(bThrown);
}

std::vector<CString> Contents(const CStringList& list)
{
    std::vector<CString> values;
    for (POSITION pos = list.GetHeadPosition(); pos != nullptr;)
        values.push_back(list.GetNext(pos));
    return values;
}

TEST(MfcArrayTest, AddsInsertsAndRemoves)
{
    CDWordArray array;
    EXPECT_TRUE(array.IsEmpty());
    EXPECT_EQ(array.Add(10), 0);
    EXPECT_EQ(array.Add(30), 1);
    array.InsertAt(1, 20);
    array.InsertAt(0, 5, 2);
    ASSERT_EQ(array.GetSize(), 5);
    EXPECT_EQ(array[0], 5u);
    EXPECT_EQ(array[1], 5u);
    EXPECT_EQ(array[3], 20u);
    array.RemoveAt(0, 2);
    EXPECT_EQ(array.GetUpperBound(), 2);
    EXPECT_EQ(array.GetAt(2), 30u);
    array[2] = 31;
    EXPECT_EQ(array.GetData()[2], 31u);
    array.SetAtGrow(5, 60);
    EXPECT_EQ(array.GetSize(), 6);
    EXPECT_EQ(array[4], 0u);
    array.RemoveAll();
    EXPECT_EQ(array.GetCount(), 0);
    EXPECT_EQ(array.GetData(), nullptr);
}

TEST(MfcArrayTest, OutOfRangeIndexThrowsInvalidArgument)
{
    CPtrArray array;
    array.Add(nullptr);
    ExpectInvalidArg([&] { array.GetAt(1); });
    ExpectInvalidArg([&] { array.GetAt(-1); });
    ExpectInvalidArg([&] { array.SetAt(3, nullptr); });
    ExpectInvalidArg([&] { array.RemoveAt(0, 2); });
    ExpectInvalidArg([&] { array.SetSize(-1); });
}

TEST(MfcArrayTest, StringArrayCopiesAndAppends)
{
    CStringArray first;
    first.Add("a");
    first.Add(CString("b"));
    CStringArray second;
    second.Copy(first);
    EXPECT_EQ(second.Append(first), 2);
    second.InsertAt(1, &first);
    ASSERT_EQ(second.GetSize(), 6);
    const char* kExpected[] = {"a", "a", "b", "b", "a", "b"};
    for (int i = 0; i < 6; ++i)
        EXPECT_STREQ(second[i], kExpected[i]);
    CUIntArray ids;
    ids.SetSize(3);
    EXPECT_EQ(ids[2], 0u);
}

TEST(MfcListTest, WalksBothWaysAndEditsAtPositions)
{
    CStringList list;
    list.AddTail("b");
    list.AddHead("a");
    POSITION posC = list.AddTail("c");
    list.InsertBefore(posC, "b2");
    list.InsertAfter(posC, "d");
    EXPECT_EQ(Contents(list), (std::vector<CString>{"a", "b", "b2", "c", "d"}));

    std::vector<CString> reversed;
    for (POSITION pos = list.GetTailPosition(); pos != nullptr;)
        reversed.push_back(list.GetPrev(pos));
    EXPECT_EQ(reversed, (std::vector<CString>{"d", "c", "b2", "b", "a"}));

    list.SetAt(posC, "C");
    list.RemoveAt(list.Find("b2"));
    EXPECT_EQ(list.RemoveHead(), "a");
    EXPECT_EQ(list.RemoveTail(), "d");
    EXPECT_EQ(Contents(list), (std::vector<CString>{"b", "C"}));
    EXPECT_EQ(list.GetCount(), 2);
    EXPECT_EQ(list.GetAt(list.FindIndex(1)), "C");
    EXPECT_EQ(list.FindIndex(2), nullptr);
}

TEST(MfcListTest, FindStartsAfterTheGivenPosition)
{
    CPtrList list(10);
    int a = 0, b = 0;
    POSITION first = list.AddTail(&a);
    list.AddTail(&b);
    POSITION second = list.AddTail(&a);
    EXPECT_EQ(list.Find(&a), first);
    EXPECT_EQ(list.Find(&a, first), second);
    EXPECT_EQ(list.Find(&a, second), nullptr);
}

TEST(MfcListTest, EmptyListAccessThrowsAndListsSplice)
{
    CObList objects;
    ExpectInvalidArg([&] { objects.GetHead(); });
    ExpectInvalidArg([&] { objects.RemoveTail(); });

    CStringList first, second;
    first.AddTail("1");
    second.AddTail("2");
    second.AddTail("3");
    first.AddTail(&second);
    first.AddHead(&second);
    EXPECT_EQ(Contents(first), (std::vector<CString>{"2", "3", "1", "2", "3"}));
    first.RemoveAll();
    EXPECT_TRUE(first.IsEmpty());
    EXPECT_EQ(first.GetHeadPosition(), nullptr);
}

TEST(MfcMapTest, StoresLooksUpAndRemoves)
{
    CMapWordToPtr map;
    map.InitHashTable(10);
    int values[40] = {};
    for (WORD key = 0; key < 40; ++key)
        map.SetAt(key, &values[key]);
    EXPECT_EQ(map.GetCount(), 40);
    void* pValue = nullptr;
    ASSERT_TRUE(map.Lookup(17, pValue));
    EXPECT_EQ(pValue, &values[17]);
    EXPECT_FALSE(map.Lookup(40, pValue));
    map[17] = &values[0];
    ASSERT_TRUE(map.Lookup(17, pValue));
    EXPECT_EQ(pValue, &values[0]);
    EXPECT_TRUE(map.RemoveKey(17));
    EXPECT_FALSE(map.RemoveKey(17));
    EXPECT_EQ(map.GetCount(), 39);
    EXPECT_EQ(map.GetHashTableSize(), 10u);
}

TEST(MfcMapTest, IteratesOverEveryEntryOnce)
{
    CMapPtrToPtr map(10);
    EXPECT_EQ(map.GetStartPosition(), nullptr);
    std::vector<int> keys(25);
    for (int& key : keys)
        map[&key] = &key;
    map.InitHashTable(7);
    std::set<void*> seen;
    for (POSITION pos = map.GetStartPosition(); pos != nullptr;)
    {
        void* pKey = nullptr;
        void* pValue = nullptr;
        map.GetNextAssoc(pos, pKey, pValue);
        EXPECT_EQ(pKey, pValue);
        EXPECT_TRUE(seen.insert(pKey).second);
    }
    EXPECT_EQ(seen.size(), keys.size());
    map.RemoveAll();
    EXPECT_TRUE(map.IsEmpty());
}
} // namespace
