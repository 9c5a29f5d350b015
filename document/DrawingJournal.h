// The recovery copy of a drawing with unsaved changes: a snapshot of the drawing, then one
// entry for each change to the records or to the picture, written as the changes happen, so
// that a crash, a kill or a lost display takes nothing that was drawn. When the entries have
// outgrown the snapshot, or the name changes, a new snapshot follows them in the same file.
//
// An entry names a record without walking the list: by its place in the last snapshot, or by
// the order in which it came into the list after that snapshot. A picture goes into the file
// once, the first time it shows, and is named by its number from then on: undoing and redoing
// a pasted picture writes a few bytes, not the picture again.
#pragma once

#include "image/BaseImage.h"
#include "shapes/Data.h"

#include "framework/core/Journal.h"
#include "framework/core/ObList.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

class CDrawingJournal {
public:
    // A recovery copy starts with "SKRJ" and version 2.
    static constexpr CJournalFormat kFormat = {{'S', 'K', 'R', 'J'}, 2};

    // The journal file of this process; nothing is written before Keep.
    explicit CDrawingJournal(std::string path);
    // The file stays: a journal is removed only by Stop.
    ~CDrawingJournal();
    CDrawingJournal(const CDrawingJournal&) = delete;
    CDrawingJournal& operator=(const CDrawingJournal&) = delete;

    const std::string& Path() const { return m_strPath; }
    bool IsActive() const { return m_bActive; }

    // Keeps the document as it is now after a change: a new snapshot when the journal is not
    // running, the name is no longer the snapshot's, the entries have outgrown it, or a write
    // failed (so that the copy is whole again once the disk has room); else an entry for a
    // picture that is not the one shown. The picture's pixels must not change while it lives:
    // the journal's thread writes them.
    void Keep(const std::string& name, CTypedOwningList<CData>& records,
              const std::shared_ptr<const CBaseImage>& picture);
    // At `index`, `removed` records were taken out and `inserted` put in their place.
    void Spliced(int index, int removed, const std::vector<CData*>& inserted);
    // The record, in the list, is now as it is.
    void Changed(CData& record);
    // The splices and changes between the two make one entry, which a replay applies whole or
    // not at all: one step of the user's is never half in the copy. They nest.
    void BeginGroup();
    void EndGroup();
    // Removes the file at once: the document is kept elsewhere.
    void Stop();
    // Waits until everything is written and durable; false when a write failed.
    bool Flush();
    // Called from the event loop when keeping the copy starts to fail (true) or works again
    // (false).
    void OnFailure(std::function<void(bool)> handler);

    // What a journal file holds: the drawing's name (empty for an untitled one), its records
    // and its picture, if any.
    struct Drawing {
        std::string name;
        std::vector<std::unique_ptr<CData>> records;
        std::unique_ptr<CBaseImage> picture;
    };
    // Replays the journal at `path` from its last readable snapshot up to its first damaged
    // entry, holding no more than one copy of the picture; false when it holds no readable
    // snapshot or more than a drawing can.
    static bool Replay(const std::string& path, Drawing& drawing);

private:
    // How an entry names a record: its place in the snapshot, or its number among the
    // records put in since.
    enum class Space : std::uint32_t { Snapshot = 0, Inserted = 1 };

    bool NeedsSnapshot(const std::string& name) const;
    // Starts anew with a snapshot of the document as it is now.
    void Start(const std::string& name, CTypedOwningList<CData>& records,
               std::shared_ptr<const CBaseImage> picture);
    // The number of a picture in the file (0: none), and the bytes to write when it is not
    // there yet, under the number it gets.
    std::uint32_t Number(const std::shared_ptr<const CBaseImage>& picture, JournalStream& tail);

    std::string m_strPath;
    CJournal m_journal{kFormat};
    bool m_bActive = false;
    bool m_bLost = false; // a change named a record the journal does not know
    std::string m_strName;
    std::uint64_t m_nSnapshotBytes = 0;
    std::uint64_t m_nEntryBytes = 0; // of the entries since the snapshot, pictures left out
    // The pictures in the file, each at its number less one, and the one shown (0: none).
    // Expired ones are never shown again: the document has let them go.
    std::vector<std::weak_ptr<const CBaseImage>> m_pictures;
    std::uint32_t m_nShown = 0;
    // The snapshot's records with their places, sorted by address once it is asked for.
    std::vector<std::pair<std::uintptr_t, std::uint32_t>> m_snapshot;
    bool m_bSnapshotSorted = false;
    // The records put in since, by address, with their numbers; a record put in again gets a
    // new number.
    std::unordered_map<const CData*, std::uint32_t> m_inserted;
    std::uint32_t m_nInserted = 0;
    int m_nGroupDepth = 0;
    std::uint32_t m_nGrouped = 0; // entries in m_group
    JournalBytes m_group;         // each grouped entry's length, then its bytes

    // Appends the entry, or keeps it for its group.
    void Append(JournalBytes entry);
};
