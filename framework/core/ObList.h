// Doubly linked lists of object pointers, their nodes allocated in blocks.
#pragma once

#include "Object.h"
#include "Types.h"

#include <memory>
#include <type_traits>
#include <vector>

// A place in a list: valid until its element is removed, whatever else is added meanwhile.
// Null past the tail.
struct CObListNode;
using POSITION = CObListNode*;

// A list of object pointers that does not own what they point to.
class CObList : public CObject {
public:
    // Nodes are allocated nBlockSize at a time.
    explicit CObList(int nBlockSize = 10);
    ~CObList() override;
    CObList(const CObList&) = delete;
    CObList& operator=(const CObList&) = delete;

    int GetCount() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }

    POSITION GetHeadPosition() const { return m_pHead; }
    POSITION GetTailPosition() const { return m_pTail; }
    // The element at pos; pos moves to the next one (null after the tail).
    CObject*& GetNext(POSITION& pos);
    CObject* GetNext(POSITION& pos) const;
    // The element at pos; pos moves to the previous one (null before the head).
    CObject* GetPrev(POSITION& pos) const;
    CObject*& GetAt(POSITION pos);
    CObject* GetAt(POSITION pos) const;

    POSITION AddTail(CObject* pNewElement);
    // Inserts before pos; a null pos adds at the tail.
    POSITION InsertBeforeOrAtTail(POSITION pos, CObject* pNewElement);
    // Takes the node at pos out of the list and hands back its element.
    CObject* RemoveAt(POSITION pos);
    // The position of the element with this index from the head, or null past the tail.
    POSITION FindIndex(int nIndex) const;
    // The first position holding the element, or null.
    POSITION Find(const CObject* pElement) const;
    // Empties the list and frees its nodes; the elements are left alone.
    void RemoveAll();

private:
    CObListNode* NewNode();

    CObListNode* m_pHead = nullptr;
    CObListNode* m_pTail = nullptr;
    CObListNode* m_pFree = nullptr;
    int m_nCount = 0;
    int m_nBlockSize;
    std::vector<std::unique_ptr<CObListNode[]>> m_blocks;
};

// A list that owns its elements: it takes each one at AddTail and destroys them at RemoveAll
// and at its own destruction. Elements are reached as T* for reading and changing in place.
template <class T> class CTypedOwningList {
    static_assert(std::is_base_of_v<CObject, T>, "elements are objects");

public:
    explicit CTypedOwningList(int nBlockSize = 10) : m_list(nBlockSize) {}
    ~CTypedOwningList() { RemoveAll(); }
    CTypedOwningList(const CTypedOwningList&) = delete;
    CTypedOwningList& operator=(const CTypedOwningList&) = delete;

    int GetCount() const { return m_list.GetCount(); }
    BOOL IsEmpty() const { return m_list.IsEmpty(); }
    POSITION GetHeadPosition() const { return m_list.GetHeadPosition(); }
    POSITION GetTailPosition() const { return m_list.GetTailPosition(); }

    T* GetNext(POSITION& pos) { return static_cast<T*>(m_list.GetNext(pos)); }
    const T* GetNext(POSITION& pos) const { return static_cast<const T*>(m_list.GetNext(pos)); }
    T* GetPrev(POSITION& pos) const { return static_cast<T*>(m_list.GetPrev(pos)); }
    T* GetAt(POSITION pos) { return static_cast<T*>(m_list.GetAt(pos)); }
    const T* GetAt(POSITION pos) const { return static_cast<const T*>(m_list.GetAt(pos)); }

    // Takes the element; null elements are not kept (the position returned is null).
    POSITION AddTail(std::unique_ptr<T> pNewElement)
    {
        return InsertBeforeOrAtTail(nullptr, std::move(pNewElement));
    }
    // Takes the element and puts it before pos (at the tail for a null pos).
    POSITION InsertBeforeOrAtTail(POSITION pos, std::unique_ptr<T> pNewElement)
    {
        if (!pNewElement)
            return nullptr;
        const POSITION at = m_list.InsertBeforeOrAtTail(pos, pNewElement.get());
        pNewElement.release(); // the list holds it now
        return at;
    }
    // Hands the element at pos back to the caller; pos is no longer valid.
    std::unique_ptr<T> RemoveAt(POSITION pos)
    {
        return std::unique_ptr<T>(static_cast<T*>(m_list.RemoveAt(pos)));
    }
    POSITION FindIndex(int nIndex) const { return m_list.FindIndex(nIndex); }
    POSITION Find(const T* pElement) const { return m_list.Find(pElement); }

    // Destroys every element and empties the list.
    void RemoveAll()
    {
        for (POSITION pos = m_list.GetHeadPosition(); pos;) {
            std::unique_ptr<T> owned(GetNext(pos)); // destroyed at the end of this step
        }
        m_list.RemoveAll();
    }

private:
    CObList m_list;
};
