#include "RecordSet.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <utility>

std::size_t CRecordSet::Home(const CData* pData) const
{
    // Fibonacci hashing of the address without its alignment bits.
    const auto key = std::uint64_t(reinterpret_cast<std::uintptr_t>(pData) >> 4);
    return std::size_t(key * 0x9E3779B97F4A7C15u >> 32) & (m_slots.size() - 1);
}

std::size_t CRecordSet::Find(const CData* pData) const
{
    std::size_t at = Home(pData);
    while (m_slots[at] && m_slots[at] != pData)
        at = (at + 1) & (m_slots.size() - 1);
    return at;
}

bool CRecordSet::Contains(const CData* pData) const
{
    return m_nCount > 0 && pData && m_slots[Find(pData)] == pData;
}

namespace {

// The slots a set of this many records keeps.
std::size_t SlotsFor(std::size_t nCount)
{
    return std::bit_ceil(std::max<std::size_t>(2 * nCount, 8));
}

} // namespace

void CRecordSet::Reserve(std::size_t nCount)
{
    const std::size_t slots = SlotsFor(nCount);
    if (slots <= m_slots.size())
        return;
    std::vector<CData*> old = std::exchange(m_slots, std::vector<CData*>(slots, nullptr));
    for (CData* pData : old)
        if (pData)
            m_slots[Find(pData)] = pData;
}

bool CRecordSet::Insert(CData* pData)
{
    Reserve(m_nCount + 1);
    const std::size_t at = Find(pData);
    if (m_slots[at])
        return false;
    m_slots[at] = pData;
    ++m_nCount;
    return true;
}

void CRecordSet::InsertAll(const std::vector<CData*>& records, std::vector<CData*>& added)
{
    constexpr std::size_t kAhead = 8;
    Reserve(m_nCount + records.size());
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (i + kAhead < records.size())
            __builtin_prefetch(&m_slots[Home(records[i + kAhead])]);
        const std::size_t at = Find(records[i]);
        if (!m_slots[at]) {
            m_slots[at] = records[i];
            ++m_nCount;
            added.push_back(records[i]);
        }
    }
}

bool CRecordSet::Erase(const CData* pData)
{
    if (!Contains(pData))
        return false;
    // Empties the slot and moves back each record after it in the run that would no longer
    // be found past the gap.
    const std::size_t mask = m_slots.size() - 1;
    std::size_t gap = Find(pData);
    for (std::size_t at = (gap + 1) & mask; m_slots[at]; at = (at + 1) & mask) {
        const std::size_t home = Home(m_slots[at]);
        // The record stays when its home lies cyclically in (gap, at].
        if (((at - home) & mask) < ((at - gap) & mask))
            continue;
        m_slots[gap] = m_slots[at];
        gap = at;
    }
    m_slots[gap] = nullptr;
    --m_nCount;
    return true;
}

void CRecordSet::Clear()
{
    m_slots.clear();
    m_nCount = 0;
}

void CRecordSet::Reset(std::size_t nCount)
{
    if (m_slots.size() == SlotsFor(nCount))
        std::fill(m_slots.begin(), m_slots.end(), nullptr);
    else
        m_slots.assign(SlotsFor(nCount), nullptr);
    m_nCount = 0;
}
