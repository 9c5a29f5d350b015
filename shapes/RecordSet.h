// A set of records known by their addresses, kept in one block of slots: building a set of a
// hundred thousand records, asking it about a million and dropping it cost passes over an
// array, not an allocation for each record.
#pragma once

#include "Data.h"

#include <cstddef>
#include <initializer_list>
#include <vector>

class CRecordSet {
public:
    CRecordSet() = default;
    CRecordSet(std::initializer_list<CData*> records)
    {
        for (CData* pData : records)
            Insert(pData);
    }

    bool empty() const { return m_nCount == 0; }
    std::size_t size() const { return m_nCount; }
    bool Contains(const CData* pData) const;
    // Makes room for this many records without growing again.
    void Reserve(std::size_t nCount);
    // False when the record is in the set already.
    bool Insert(CData* pData);
    // Inserts each record, appending to `added` those not in the set before. The slots of
    // records a few places ahead are asked for before they are needed: a large set's slots
    // lie far apart.
    void InsertAll(const std::vector<CData*>& records, std::vector<CData*>& added);
    // False when the record was not in the set.
    bool Erase(const CData* pData);
    void Clear();
    // Empties the set with room for this many records, keeping its block of slots when that
    // is the size they need.
    void Reset(std::size_t nCount);

private:
    // The slot a search for the record starts at.
    std::size_t Home(const CData* pData) const;
    // The slot holding the record, or the empty one where it would go.
    std::size_t Find(const CData* pData) const;

    std::vector<CData*> m_slots; // a power of two of them, at most half full; null is empty
    std::size_t m_nCount = 0;
};
