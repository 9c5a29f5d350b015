// The recovery copy of a drawing with unsaved changes: a snapshot of the drawing in its
// file's own form, then one entry for each change to the records, written as the changes
// happen, so that a crash, a kill or a lost display takes nothing that was drawn.
//
// An entry names a record without walking the list: by its place in the snapshot, or by the
// order in which it came into the list after the snapshot.
#pragma once

#include "image/BaseImage.h"
#include "shapes/Data.h"

#include "framework/core/Journal.h"
#include "framework/core/ObList.h"

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

class CDrawingJournal {
public:
    // The journal file of this process; nothing is written before Start.
    explicit CDrawingJournal(std::string path);
    // The file stays: a journal is removed only by Stop.
    ~CDrawingJournal();
    CDrawingJournal(const CDrawingJournal&) = delete;
    CDrawingJournal& operator=(const CDrawingJournal&) = delete;

    const std::string& Path() const { return m_strPath; }
    bool IsActive() const { return m_bActive; }
    // Whether the journal must start anew for the document to be kept: it is not running, or
    // the picture or the name is no longer the snapshot's, or the entries have outgrown it.
    bool NeedsSnapshot(const CBaseImage* pPicture, const std::string& name) const;

    // Starts anew with a snapshot of the document as it is now.
    void Start(const std::string& name, CTypedOwningList<CData>& records,
               const CBaseImage* pPicture);
    // At `index`, `removed` records were taken out and `inserted` put in their place.
    void Spliced(int index, int removed, const std::vector<CData*>& inserted);
    // The record, in the list, is now as it is.
    void Changed(CData& record);
    // The splices and changes between the two make one entry, which a replay applies whole or
    // not at all: one step of the user's is never half in the copy. They nest.
    void BeginGroup();
    void EndGroup();
    // Removes the file: the document is kept elsewhere.
    void Stop();
    // Waits until everything is written and durable; false when a write failed.
    bool Flush();

    // What a journal file holds: the drawing's name (empty for an untitled one), its records
    // and its picture, if any.
    struct Drawing {
        std::string name;
        std::vector<std::unique_ptr<CData>> records;
        std::unique_ptr<CBaseImage> picture;
    };
    // Replays the journal at `path` up to its first damaged entry; false when it holds no
    // readable snapshot.
    static bool Replay(const std::string& path, Drawing& drawing);

private:
    // How an entry names a record: its place in the snapshot, or its number among the
    // records put in since.
    enum class Space : std::uint32_t { Snapshot = 0, Inserted = 1 };

    std::string m_strPath;
    CJournal m_journal;
    bool m_bActive = false;
    bool m_bLost = false; // a change named a record the journal does not know
    const CBaseImage* m_pPicture = nullptr;
    std::string m_strName;
    std::uint64_t m_nSnapshotBytes = 0;
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
