// Object lists: order, positions, block allocation, and who destroys the elements.
#include "framework/core/ObList.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Counts its own destructions.
class Counted : public CObject {
public:
    explicit Counted(int id, int* pDestroyed = nullptr) : m_id(id), m_pDestroyed(pDestroyed) {}
    ~Counted() override
    {
        if (m_pDestroyed)
            ++*m_pDestroyed;
    }
    int m_id;
    int* m_pDestroyed;
};

template <class List> std::vector<int> Ids(List& list)
{
    std::vector<int> ids;
    for (POSITION pos = list.GetHeadPosition(); pos;)
        ids.push_back(static_cast<const Counted*>(list.GetNext(pos))->m_id);
    return ids;
}

TEST(ObList, StartsEmpty)
{
    CObList list;
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(list.GetHeadPosition(), nullptr);
    EXPECT_EQ(list.GetTailPosition(), nullptr);
}

TEST(ObList, WalksHeadToTailInTheOrderAdded)
{
    Counted a(1), b(2), c(3);
    CObList list;
    const POSITION pa = list.AddTail(&a);
    list.AddTail(&b);
    const POSITION pc = list.AddTail(&c);
    EXPECT_EQ(list.GetCount(), 3);
    EXPECT_FALSE(list.IsEmpty());
    EXPECT_EQ(list.GetHeadPosition(), pa);
    EXPECT_EQ(list.GetTailPosition(), pc);
    EXPECT_EQ(Ids(list), (std::vector<int>{1, 2, 3}));

    POSITION pos = pc;
    EXPECT_EQ(list.GetNext(pos), &c);
    EXPECT_EQ(pos, nullptr);
}

TEST(ObList, FindIndexCountsFromTheHeadWhicheverEndItWalksFrom)
{
    for (int count : {0, 1, 6, 7}) {
        std::vector<Counted> elements;
        for (int i = 0; i < count; ++i)
            elements.emplace_back(i);
        CObList list;
        for (Counted& e : elements)
            list.AddTail(&e);
        for (int i = -1; i <= count; ++i) {
            const POSITION pos = list.FindIndex(i);
            if (i < 0 || i >= count) {
                EXPECT_EQ(pos, nullptr) << i << " of " << count;
            } else {
                EXPECT_EQ(list.GetAt(pos), &elements[std::size_t(i)]) << i << " of " << count;
            }
        }
    }
}

TEST(ObList, GetAtGivesTheElementForChangeInPlace)
{
    Counted a(1), b(2);
    CObList list;
    const POSITION pos = list.AddTail(&a);
    list.GetAt(pos) = &b;
    EXPECT_EQ(list.GetAt(pos), &b);
    EXPECT_EQ(list.GetCount(), 1);
}

TEST(ObList, PositionsStayValidWhileBlocksAreAdded)
{
    std::vector<std::unique_ptr<Counted>> items;
    std::vector<POSITION> positions;
    CObList list(3);
    for (int i = 0; i < 50; ++i) {
        items.push_back(std::make_unique<Counted>(i));
        positions.push_back(list.AddTail(items.back().get()));
    }
    for (int i = 0; i < 50; ++i)
        EXPECT_EQ(list.GetAt(positions[std::size_t(i)]), items[std::size_t(i)].get()) << i;
    EXPECT_EQ(list.GetCount(), 50);
}

TEST(ObList, RemoveAllEmptiesAndLeavesTheElementsAlone)
{
    int destroyed = 0;
    Counted a(1, &destroyed), b(2, &destroyed);
    CObList list(0);
    list.AddTail(&a);
    list.AddTail(&b);
    list.RemoveAll();
    EXPECT_EQ(destroyed, 0);
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(list.GetHeadPosition(), nullptr);
    list.AddTail(&b);
    EXPECT_EQ(Ids(list), (std::vector<int>{2}));
}

TEST(OwningList, DestroysItsElementsOnRemoveAll)
{
    int destroyed = 0;
    CTypedOwningList<Counted> list(2);
    for (int i = 0; i < 5; ++i)
        list.AddTail(std::make_unique<Counted>(i, &destroyed));
    list.RemoveAll();
    EXPECT_EQ(destroyed, 5);
    EXPECT_EQ(list.GetCount(), 0);
    list.AddTail(std::make_unique<Counted>(9, &destroyed));
    EXPECT_EQ(Ids(list), (std::vector<int>{9}));
}

TEST(OwningList, DestroysItsElementsWithItself)
{
    int destroyed = 0;
    {
        CTypedOwningList<Counted> list;
        list.AddTail(std::make_unique<Counted>(1, &destroyed));
        list.AddTail(std::make_unique<Counted>(2, &destroyed));
    }
    EXPECT_EQ(destroyed, 2);
}

TEST(OwningList, GivesTypedElementsForChangeInPlace)
{
    CTypedOwningList<Counted> list;
    const POSITION first = list.AddTail(std::make_unique<Counted>(1));
    list.AddTail(std::make_unique<Counted>(2));
    list.GetAt(first)->m_id = 10;
    EXPECT_EQ(Ids(list), (std::vector<int>{10, 2}));
    const CTypedOwningList<Counted>& view = list;
    EXPECT_EQ(view.GetAt(first)->m_id, 10);
}

TEST(OwningList, KeepsNoNullElement)
{
    CTypedOwningList<Counted> list;
    EXPECT_EQ(list.AddTail(nullptr), nullptr);
    EXPECT_TRUE(list.IsEmpty());
}

} // namespace
