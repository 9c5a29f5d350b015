#include "ObList.h"

#include <algorithm>

struct CObListNode {
    CObListNode* pNext = nullptr;
    CObListNode* pPrev = nullptr;
    CObject* data = nullptr;
};

CObList::CObList(int nBlockSize) : m_nBlockSize(std::max(nBlockSize, 1)) {}

CObList::~CObList() = default;

CObject*& CObList::GetNext(POSITION& pos)
{
    CObListNode* node = pos;
    pos = node->pNext;
    return node->data;
}

CObject* CObList::GetNext(POSITION& pos) const
{
    const CObListNode* node = pos;
    pos = node->pNext;
    return node->data;
}

CObject* CObList::GetPrev(POSITION& pos) const
{
    const CObListNode* node = pos;
    pos = node->pPrev;
    return node->data;
}

CObject*& CObList::GetAt(POSITION pos) { return pos->data; }

CObject* CObList::GetAt(POSITION pos) const { return pos->data; }

CObListNode* CObList::NewNode()
{
    if (!m_pFree) {
        // A new block of nodes, chained into the free list; blocks never move, so positions
        // handed out earlier stay valid.
        m_blocks.push_back(std::make_unique<CObListNode[]>(std::size_t(m_nBlockSize)));
        CObListNode* block = m_blocks.back().get();
        for (int i = m_nBlockSize - 1; i >= 0; --i) {
            block[i].pNext = m_pFree;
            m_pFree = &block[i];
        }
    }
    CObListNode* node = m_pFree;
    m_pFree = node->pNext;
    *node = CObListNode{};
    return node;
}

POSITION CObList::AddTail(CObject* pNewElement)
{
    return InsertBeforeOrAtTail(nullptr, pNewElement);
}

POSITION CObList::InsertBeforeOrAtTail(POSITION pos, CObject* pNewElement)
{
    CObListNode* node = NewNode();
    node->data = pNewElement;
    node->pNext = pos;
    node->pPrev = pos ? pos->pPrev : m_pTail;
    (node->pPrev ? node->pPrev->pNext : m_pHead) = node;
    (pos ? pos->pPrev : m_pTail) = node;
    ++m_nCount;
    return node;
}

CObject* CObList::RemoveAt(POSITION pos)
{
    (pos->pPrev ? pos->pPrev->pNext : m_pHead) = pos->pNext;
    (pos->pNext ? pos->pNext->pPrev : m_pTail) = pos->pPrev;
    CObject* element = pos->data;
    // The node goes back to the free list for the next insertion.
    *pos = CObListNode{};
    pos->pNext = m_pFree;
    m_pFree = pos;
    --m_nCount;
    return element;
}

POSITION CObList::FindIndex(int nIndex) const
{
    if (nIndex < 0 || nIndex >= m_nCount)
        return nullptr;
    // From the nearer end: the changes at the tail, where drawing adds, stay cheap in a long
    // list.
    POSITION pos = m_pHead;
    if (nIndex < m_nCount / 2) {
        for (int i = 0; i < nIndex; ++i)
            pos = pos->pNext;
    } else {
        pos = m_pTail;
        for (int i = m_nCount - 1; i > nIndex; --i)
            pos = pos->pPrev;
    }
    return pos;
}

POSITION CObList::Find(const CObject* pElement) const
{
    for (POSITION pos = m_pHead; pos; pos = pos->pNext)
        if (pos->data == pElement)
            return pos;
    return nullptr;
}

void CObList::RemoveAll()
{
    m_pHead = m_pTail = m_pFree = nullptr;
    m_nCount = 0;
    m_blocks.clear();
}
