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
    CObListNode* node = NewNode();
    node->data = pNewElement;
    node->pPrev = m_pTail;
    if (m_pTail)
        m_pTail->pNext = node;
    else
        m_pHead = node;
    m_pTail = node;
    ++m_nCount;
    return node;
}

void CObList::RemoveAll()
{
    m_pHead = m_pTail = m_pFree = nullptr;
    m_nCount = 0;
    m_blocks.clear();
}
