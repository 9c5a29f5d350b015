#include "DrawingJournal.h"
#include "SkorelDoc.h"

#include "framework/core/Archive.h"
#include "framework/core/ByteOrder.h"

#include <algorithm>

namespace {

// A journal that has grown this far is written again as a snapshot, whatever the snapshot's
// size.
constexpr std::uint64_t kMostEntryBytes = 16u << 20;

// The kinds of entry after the snapshot.
enum class Entry : std::uint32_t {
    Splice = 1, // index, records taken out, records put in, then those records
    Change = 2, // the record's space and number, then the record
    Group = 3,  // a count of entries, 0, then each entry's length and bytes
};

} // namespace

CDrawingJournal::CDrawingJournal(std::string path) : m_strPath(std::move(path)) {}

CDrawingJournal::~CDrawingJournal() = default;

bool CDrawingJournal::NeedsSnapshot(const CBaseImage* pPicture, const std::string& name) const
{
    const std::uint64_t entries = m_journal.AppendedBytes();
    return !m_bActive || m_bLost || pPicture != m_pPicture || name != m_strName ||
           entries > m_nSnapshotBytes || entries > kMostEntryBytes;
}

void CDrawingJournal::Start(const std::string& name, CTypedOwningList<CData>& records,
                            const CBaseImage* pPicture)
{
    // The name's length and bytes, then the drawing file as Save writes it.
    std::vector<CData*> ordered;
    ordered.reserve(std::size_t(records.GetCount()));
    m_snapshot.clear();
    m_snapshot.reserve(std::size_t(records.GetCount()));
    for (POSITION pos = records.GetHeadPosition(); pos;) {
        CData* pData = records.GetNext(pos);
        m_snapshot.emplace_back(reinterpret_cast<std::uintptr_t>(pData),
                                std::uint32_t(ordered.size()));
        ordered.push_back(pData);
    }
    JournalBytes snapshot;
    snapshot.reserve(16 + name.size() + CData::kArchiveBytes * ordered.size());
    {
        CArchive ar(snapshot, CArchive::store);
        ar << std::uint32_t(name.size());
    }
    snapshot.insert(snapshot.end(), name.begin(), name.end());
    CSkorelDoc::StoreDrawing(snapshot, ordered);
    if (pPicture && pPicture->m_pBits)
        pPicture->WriteTo(snapshot);
    m_bSnapshotSorted = false;
    m_inserted.clear();
    m_nInserted = 0;
    m_nSnapshotBytes = snapshot.size();
    m_pPicture = pPicture;
    m_strName = name;
    m_bLost = false;
    m_bActive = true;
    m_journal.Restart(m_strPath, std::move(snapshot));
}

void CDrawingJournal::Spliced(int index, int removed, const std::vector<CData*>& inserted)
{
    if (!m_bActive)
        return;
    JournalBytes entry;
    entry.reserve(16 + CData::kArchiveBytes * inserted.size());
    CArchive ar(entry, CArchive::store);
    ar << std::uint32_t(Entry::Splice) << std::uint32_t(index) << std::uint32_t(removed)
       << std::uint32_t(inserted.size());
    for (CData* pData : inserted) {
        pData->Serialize(ar);
        m_inserted[pData] = m_nInserted++;
    }
    Append(std::move(entry));
}

void CDrawingJournal::Changed(CData& record)
{
    if (!m_bActive)
        return;
    Space space = Space::Inserted;
    std::uint32_t number = 0;
    if (const auto it = m_inserted.find(&record); it != m_inserted.end()) {
        number = it->second;
    } else {
        // Sorted at the first change of a record it holds, not at every snapshot.
        if (!m_bSnapshotSorted) {
            std::sort(m_snapshot.begin(), m_snapshot.end());
            m_bSnapshotSorted = true;
        }
        const auto address = reinterpret_cast<std::uintptr_t>(&record);
        const auto at = std::lower_bound(m_snapshot.begin(), m_snapshot.end(),
                                         std::make_pair(address, std::uint32_t(0)));
        if (at == m_snapshot.end() || at->first != address) {
            m_bLost = true; // the next check starts anew
            return;
        }
        space = Space::Snapshot;
        number = at->second;
    }
    JournalBytes entry;
    CArchive ar(entry, CArchive::store);
    ar << std::uint32_t(Entry::Change) << std::uint32_t(space) << number;
    record.Serialize(ar);
    Append(std::move(entry));
}

void CDrawingJournal::Append(JournalBytes entry)
{
    if (m_nGroupDepth == 0) {
        m_journal.Append(std::move(entry));
        return;
    }
    CArchive ar(m_group, CArchive::store);
    ar << std::uint32_t(entry.size());
    m_group.insert(m_group.end(), entry.begin(), entry.end());
    ++m_nGrouped;
}

void CDrawingJournal::BeginGroup() { ++m_nGroupDepth; }

void CDrawingJournal::EndGroup()
{
    if (m_nGroupDepth == 0 || --m_nGroupDepth > 0 || m_nGrouped == 0)
        return;
    JournalBytes entry;
    entry.reserve(12 + m_group.size());
    {
        CArchive ar(entry, CArchive::store);
        ar << std::uint32_t(Entry::Group) << m_nGrouped << std::uint32_t(0);
    }
    entry.insert(entry.end(), m_group.begin(), m_group.end());
    m_group.clear();
    m_nGrouped = 0;
    if (m_bActive)
        m_journal.Append(std::move(entry));
}

void CDrawingJournal::Stop()
{
    if (!m_bActive)
        return;
    m_bActive = false;
    m_pPicture = nullptr;
    m_snapshot.clear();
    m_snapshot.shrink_to_fit();
    m_inserted.clear();
    m_journal.Remove();
}

bool CDrawingJournal::Flush() { return m_journal.Flush(); }

namespace {

// The records of a replay in their order, and every record it made, by how entries name them.
struct Replayed {
    std::vector<CData*> order;
    std::vector<CData*> snapshot;
    std::vector<CData*> inserted;
    std::vector<std::unique_ptr<CData>> owned;

    CData* Make(CArchive& ar)
    {
        owned.push_back(std::make_unique<CData>());
        owned.back()->Serialize(ar);
        return owned.back().get();
    }
    // Applies one entry; false, with nothing changed, when it is malformed.
    bool Apply(JournalBytes& bytes)
    {
        CArchive ar(bytes, CArchive::load);
        std::uint32_t kind = 0, a = 0, b = 0;
        if (ar.BytesLeft() < 12)
            return false;
        ar >> kind >> a >> b;
        if (kind == std::uint32_t(Entry::Splice)) {
            std::uint32_t count = 0;
            if (ar.BytesLeft() < 4)
                return false;
            ar >> count;
            if (a > order.size() || b > order.size() - a ||
                ar.BytesLeft() != std::uint64_t(count) * CData::kArchiveBytes)
                return false;
            std::vector<CData*> put;
            for (std::uint32_t i = 0; i < count; ++i)
                put.push_back(Make(ar));
            order.erase(order.begin() + a, order.begin() + a + b);
            order.insert(order.begin() + a, put.begin(), put.end());
            inserted.insert(inserted.end(), put.begin(), put.end());
            return true;
        }
        if (kind == std::uint32_t(Entry::Group))
            return ApplyGroup(bytes, a);
        if (kind == std::uint32_t(Entry::Change) && ar.BytesLeft() == CData::kArchiveBytes) {
            const std::vector<CData*>& space = a == 0 ? snapshot : inserted;
            if (a > 1 || b >= space.size())
                return false;
            space[b]->Serialize(ar);
            return true;
        }
        return false;
    }
    // Whether the entry would apply to a replay of `orders` records that made `made` records
    // since the snapshot, and how many there are after it.
    bool Fits(const JournalBytes& bytes, std::size_t& orders, std::size_t& made) const
    {
        if (bytes.size() < 12)
            return false;
        const std::uint32_t kind = LoadLE32(bytes.data()), a = LoadLE32(bytes.data() + 4),
                            b = LoadLE32(bytes.data() + 8);
        if (kind == std::uint32_t(Entry::Splice)) {
            if (bytes.size() < 16 || a > orders || b > orders - a)
                return false;
            const std::uint32_t count = LoadLE32(bytes.data() + 12);
            if (bytes.size() - 16 != std::uint64_t(count) * CData::kArchiveBytes)
                return false;
            orders = orders - b + count;
            made += count;
            return true;
        }
        return kind == std::uint32_t(Entry::Change) && bytes.size() == 12 + CData::kArchiveBytes &&
               a <= 1 && b < (a == 0 ? snapshot.size() : made);
    }
    // Applies the group's `count` entries after its head, all of them or, when one is
    // malformed, none.
    bool ApplyGroup(const JournalBytes& bytes, std::uint32_t count)
    {
        std::vector<JournalBytes> entries;
        std::size_t at = 12, orders = order.size(), made = inserted.size();
        for (std::uint32_t i = 0; i < count; ++i) {
            if (bytes.size() - at < 4)
                return false;
            const std::uint32_t size = LoadLE32(bytes.data() + at);
            if (bytes.size() - at - 4 < size)
                return false;
            entries.emplace_back(bytes.begin() + std::ptrdiff_t(at + 4),
                                 bytes.begin() + std::ptrdiff_t(at + 4 + size));
            at += 4 + std::size_t(size);
            if (!Fits(entries.back(), orders, made))
                return false;
        }
        if (at != bytes.size())
            return false;
        for (JournalBytes& entry : entries)
            Apply(entry);
        return true;
    }
};

} // namespace

bool CDrawingJournal::Replay(const std::string& path, Drawing& drawing)
{
    std::vector<JournalBytes> entries = CJournal::Read(path);
    if (entries.empty())
        return false;
    JournalBytes& snapshot = entries.front();
    CArchive ar(snapshot, CArchive::load);
    std::uint32_t nameBytes = 0;
    if (ar.BytesLeft() < 4)
        return false;
    ar >> nameBytes;
    const std::uint64_t drawingAt = 4 + std::uint64_t(nameBytes);
    if (snapshot.size() < drawingAt)
        return false;
    JournalBytes file(snapshot.begin() + std::ptrdiff_t(drawingAt), snapshot.end());
    CArchive recordsAr(file, CArchive::load);
    Replayed replayed;
    if (!CSkorelDoc::ReadDrawing(recordsAr, replayed.owned))
        return false;
    for (const auto& pData : replayed.owned)
        replayed.snapshot.push_back(pData.get());
    replayed.order = replayed.snapshot;
    // The picture, if any, follows the records in the file itself.
    std::unique_ptr<CBaseImage> picture;
    if (recordsAr.BytesLeft() > 0) {
        picture = std::make_unique<CBaseImage>();
        const std::uint64_t at =
            CJournal::kSnapshotOffset + snapshot.size() - recordsAr.BytesLeft();
        if (!picture->LoadBMP(path.c_str(), at) || !picture->m_pBits)
            return false;
    }
    for (std::size_t i = 1; i < entries.size(); ++i)
        if (!replayed.Apply(entries[i]))
            break;
    drawing.name.assign(snapshot.begin() + 4, snapshot.begin() + std::ptrdiff_t(drawingAt));
    drawing.records.clear();
    for (CData* pData : replayed.order)
        drawing.records.push_back(std::make_unique<CData>(*pData));
    drawing.picture = std::move(picture);
    return true;
}
