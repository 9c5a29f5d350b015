#include "DrawingJournal.h"
#include "DrawingFile.h"

#include "framework/core/Archive.h"
#include "framework/core/ByteOrder.h"

#include <algorithm>
#include <new>

namespace {

// Entries written after a snapshot are followed by a new one once they outgrow it, but not
// before they reach the first of these sizes, nor later than the second.
constexpr std::uint64_t kLeastEntryBytes = 64u << 10;
constexpr std::uint64_t kMostEntryBytes = 16u << 20;
// The longest name a drawing has: a path the system can open.
constexpr std::uint32_t kMostNameBytes = 4096;
// The most bytes of entries after a snapshot that a replay takes in: far more than a journal
// ever writes before its next snapshot.
constexpr std::uint64_t kMostReplayBytes = 256u << 20;
// The bytes of an entry's frame, which count towards the entries' bytes.
constexpr std::uint64_t kFrameBytes = 8;

// The kinds of entry.
enum class Entry : std::uint32_t {
    Splice = 1,   // index, records taken out, records put in, then those records
    Change = 2,   // the record's space and number, then the record
    Group = 3,    // a count of entries, 0, then each entry's length and bytes
    Snapshot = 4, // the name's length and bytes, the number of the picture shown (0: none),
                  // the drawing file as Save writes it without its picture, then the picture
                  // as a BMP file when it goes into the file here
    Picture = 5,  // the number of the picture shown from now on (0: none), then the picture
                  // as a BMP file when it goes into the file here
};

// Bytes of a journal file.
struct Place {
    std::uint64_t offset = 0;
    std::uint64_t size = 0;
};

// What a replay finds in a journal file: its last snapshot, the entries after it (without
// pictures), and where each picture is, by number, in increasing order.
struct Scanned {
    bool found = false;
    Place name, drawing;
    std::uint32_t shown = 0;
    std::vector<std::pair<std::uint32_t, Place>> pictures;
    std::vector<JournalBytes> after;
    std::uint64_t afterBytes = 0;

    // Takes a picture's place; false when its number does not follow those before.
    bool Define(std::uint32_t number, Place place)
    {
        if (number == 0 || (!pictures.empty() && number <= pictures.back().first))
            return false;
        pictures.emplace_back(number, place);
        return true;
    }
    const Place* Picture(std::uint32_t number) const
    {
        for (const auto& [n, place] : pictures)
            if (n == number)
                return &place;
        return nullptr;
    }
    // Takes note of the reader's entry; false when it is malformed, and the journal is read
    // no further.
    bool Note(CJournalReader& reader);
};

bool Scanned::Note(CJournalReader& reader)
{
    const std::uint64_t at = reader.Offset(), size = reader.Size();
    JournalBytes head;
    if (size < 8 || !reader.Read(at, 8, head))
        return false;
    const std::uint32_t kind = LoadLE32(head.data()), a = LoadLE32(head.data() + 4);
    if (kind == std::uint32_t(Entry::Snapshot)) {
        // The name, then the picture's number, the drawing's signature, version and count.
        if (a > kMostNameBytes || size < 24 + std::uint64_t(a) ||
            !reader.Read(at + 8 + a, 16, head))
            return false;
        const std::uint64_t end =
            24 + std::uint64_t(a) + CData::kArchiveBytes * LoadLE32(head.data() + 12);
        const std::uint32_t number = LoadLE32(head.data());
        if (end > size || (end < size && !Define(number, {at + end, size - end})))
            return false;
        found = true;
        name = {at + 8, a};
        drawing = {at + 12 + a, end - 12 - a};
        shown = number;
        after.clear();
        afterBytes = 0;
        return true;
    }
    const bool picture = kind == std::uint32_t(Entry::Picture);
    if (picture && size > 8 && !Define(a, {at + 8, size - 8}))
        return false;
    const std::uint64_t keep = picture ? 8 : size;
    afterBytes += keep;
    if (!found || afterBytes > kMostReplayBytes)
        return false;
    after.emplace_back();
    return reader.Read(at, std::size_t(keep), after.back());
}

// The records of a replay in their order, and every record it made, by how entries name them.
struct Replayed {
    std::vector<CData*> order;
    std::vector<CData*> snapshot;
    std::vector<CData*> inserted;
    std::vector<std::unique_ptr<CData>> owned;
    std::uint32_t shown = 0;

    CData* Make(CArchive& ar)
    {
        owned.push_back(std::make_unique<CData>());
        owned.back()->Serialize(ar);
        return owned.back().get();
    }
    bool Splice(CArchive& ar, std::uint32_t index, std::uint32_t removed)
    {
        std::uint32_t count = 0;
        if (ar.BytesLeft() < 4)
            return false;
        ar >> count;
        if (index > order.size() || removed > order.size() - index ||
            ar.BytesLeft() != std::uint64_t(count) * CData::kArchiveBytes)
            return false;
        std::vector<CData*> put;
        for (std::uint32_t i = 0; i < count; ++i)
            put.push_back(Make(ar));
        order.erase(order.begin() + index, order.begin() + index + removed);
        order.insert(order.begin() + index, put.begin(), put.end());
        inserted.insert(inserted.end(), put.begin(), put.end());
        return true;
    }
    // Applies one entry; false, with nothing changed, when it is malformed.
    bool Apply(JournalBytes& bytes, const Scanned& scanned)
    {
        CArchive ar(bytes, CArchive::load);
        std::uint32_t kind = 0, a = 0, b = 0;
        ar >> kind >> a;
        if (kind == std::uint32_t(Entry::Picture)) {
            if (a != 0 && !scanned.Picture(a))
                return false;
            shown = a;
            return true;
        }
        if (ar.BytesLeft() < 4)
            return false;
        ar >> b;
        if (kind == std::uint32_t(Entry::Splice))
            return Splice(ar, a, b);
        if (kind == std::uint32_t(Entry::Group))
            return ApplyGroup(bytes, a, scanned);
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
    bool ApplyGroup(const JournalBytes& bytes, std::uint32_t count, const Scanned& scanned)
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
            Apply(entry, scanned);
        return true;
    }
};

} // namespace

CDrawingJournal::CDrawingJournal(std::string path) : m_strPath(std::move(path)) {}

CDrawingJournal::~CDrawingJournal() = default;

bool CDrawingJournal::NeedsSnapshot(const std::string& name) const
{
    return !m_bActive || m_bLost || name != m_strName || m_journal.Failed() ||
           m_nEntryBytes > std::max(m_nSnapshotBytes, kLeastEntryBytes) ||
           m_nEntryBytes > kMostEntryBytes;
}

void CDrawingJournal::Keep(const std::string& name, CTypedOwningList<CData>& records,
                           const std::shared_ptr<const CBaseImage>& picture)
{
    // A picture without pixels shows as none.
    std::shared_ptr<const CBaseImage> shown = picture && picture->m_pBits ? picture : nullptr;
    if (NeedsSnapshot(name)) {
        Start(name, records, std::move(shown));
        return;
    }
    JournalStream tail;
    const std::uint32_t number = Number(shown, tail);
    if (number == m_nShown)
        return;
    JournalBytes entry;
    CArchive ar(entry, CArchive::store);
    ar << std::uint32_t(Entry::Picture) << number;
    m_nShown = number;
    m_journal.Append(std::move(entry), std::move(tail));
}

std::uint32_t CDrawingJournal::Number(const std::shared_ptr<const CBaseImage>& picture,
                                      JournalStream& tail)
{
    if (!picture)
        return 0;
    for (std::size_t i = 0; i < m_pictures.size(); ++i)
        if (m_pictures[i].lock() == picture)
            return std::uint32_t(i + 1);
    m_pictures.push_back(picture);
    tail.size = 0;
    picture->WriteTo([&tail](const void*, std::size_t n) {
        tail.size += n;
        return true;
    });
    tail.write = [picture](const ByteSink& sink) { return picture->WriteTo(sink) != FALSE; };
    return std::uint32_t(m_pictures.size());
}

void CDrawingJournal::Start(const std::string& name, CTypedOwningList<CData>& records,
                            std::shared_ptr<const CBaseImage> picture)
{
    if (!m_bActive)
        m_pictures.clear(); // a new file
    else if (m_journal.Failed())
        for (std::weak_ptr<const CBaseImage>& written : m_pictures)
            written.reset(); // perhaps cut off with what a failed write took: written anew
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
    JournalStream tail;
    m_nShown = Number(picture, tail);
    JournalBytes snapshot;
    snapshot.reserve(32 + name.size() + CData::kArchiveBytes * ordered.size());
    {
        CArchive ar(snapshot, CArchive::store);
        ar << std::uint32_t(Entry::Snapshot) << std::uint32_t(name.size());
    }
    snapshot.insert(snapshot.end(), name.begin(), name.end());
    {
        CArchive ar(snapshot, CArchive::store);
        ar << m_nShown;
    }
    skr::StoreDrawing(snapshot, ordered);
    m_bSnapshotSorted = false;
    m_inserted.clear();
    m_nInserted = 0;
    m_group.clear(); // what a group gathered so far is in the snapshot
    m_nGrouped = 0;
    m_nSnapshotBytes = snapshot.size();
    m_nEntryBytes = 0;
    m_strName = name;
    m_bLost = false;
    m_bActive = true;
    m_journal.Restart(m_strPath, std::move(snapshot), std::move(tail));
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
        m_nEntryBytes += entry.size() + kFrameBytes;
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
        Append(std::move(entry));
}

void CDrawingJournal::Stop()
{
    if (!m_bActive)
        return;
    m_bActive = false;
    m_pictures.clear();
    m_nShown = 0;
    m_snapshot.clear();
    m_snapshot.shrink_to_fit();
    m_inserted.clear();
    m_journal.Remove();
}

bool CDrawingJournal::Flush() { return m_journal.Flush(); }

void CDrawingJournal::OnFailure(std::function<void(bool)> handler)
{
    m_journal.OnFailure(std::move(handler));
}

bool CDrawingJournal::Replay(const std::string& path, Drawing& drawing)
try {
    CJournalReader reader(kFormat);
    Scanned scanned;
    if (!reader.Open(path))
        return false;
    while (reader.Next() && scanned.Note(reader))
        continue;
    JournalBytes name, file;
    if (!scanned.found || !reader.Read(scanned.name.offset, scanned.name.size, name) ||
        !reader.Read(scanned.drawing.offset, scanned.drawing.size, file))
        return false;
    reader.Close(); // the picture is read from the file anew
    CArchive ar(file, CArchive::load);
    Replayed replayed;
    if (!skr::ReadDrawing(ar, replayed.owned) ||
        (scanned.shown != 0 && !scanned.Picture(scanned.shown)))
        return false;
    for (const auto& pData : replayed.owned)
        replayed.snapshot.push_back(pData.get());
    replayed.order = replayed.snapshot;
    replayed.shown = scanned.shown;
    for (JournalBytes& entry : scanned.after)
        if (!replayed.Apply(entry, scanned))
            break;
    std::unique_ptr<CBaseImage> picture;
    if (replayed.shown != 0) {
        picture = std::make_unique<CBaseImage>();
        if (!picture->LoadBMP(path.c_str(), scanned.Picture(replayed.shown)->offset) ||
            !picture->m_pBits)
            return false;
    }
    drawing.name.assign(name.begin(), name.end());
    drawing.records.clear();
    for (CData* pData : replayed.order)
        drawing.records.push_back(std::make_unique<CData>(*pData));
    drawing.picture = std::move(picture);
    return true;
} catch (const std::bad_alloc&) {
    return false; // a file that claims more than memory holds is no drawing of ours
}
