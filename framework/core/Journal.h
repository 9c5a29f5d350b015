// A journal of changes that a crash cannot take: a file of framed entries that only ever grows
// at its end. The file starts with its kind's signature and 32-bit version (the caller's, a
// CJournalFormat); an entry is its length and the
// CRC-32 of its bytes (both 32-bit, little-endian), then the bytes. Reading stops at the first
// entry that is cut short or fails its checksum, so a torn last write costs only the entry it
// tore. What the entries mean is the caller's: some of them (those given to Restart) hold
// everything kept, so that reading can start anew from the last of them.
//
// The writing happens on a thread of the journal's own, so that no caller waits on the disk.
// The entries of a twentieth of a second are written together: a killed process loses at most
// those, and whatever waits behind an entry still being written. The file is made durable at
// most once a second, on a thread of its own beside the writing (a power cut loses at most
// that second); nothing waits for it but Flush.
//
// After a failed write (a full disk), the file is cut back to its last whole entry and nothing
// is written until the next Restart: an entry written after a lost one would be replayed
// wrongly.
#pragma once

#include "File.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

using JournalBytes = std::vector<std::uint8_t>;
// Bytes handed over on the writing thread rather than copied by the caller: `size` of them,
// given to the sink by `write`, which is false when it could not give them all.
struct JournalStream {
    std::uint64_t size = 0;
    std::function<bool(const ByteSink&)> write;
};

// What starts a journal file: four bytes that name its kind, then its version, written
// little-endian. A file with another start is no journal of this kind.
struct CJournalFormat {
    std::uint8_t signature[4];
    std::uint32_t version;
};

class CJournal {
public:
    explicit CJournal(const CJournalFormat& format);
    // Writes and makes durable what was given; the file stays.
    ~CJournal();
    CJournal(const CJournal&) = delete;
    CJournal& operator=(const CJournal&) = delete;

    // Appends an entry from which the journal can be read anew, `entry` then the bytes of
    // `tail`, to the file at `path`: the journal's own, or a new one in place of whatever is
    // there when the journal has no file at `path` yet.
    void Restart(std::string path, JournalBytes entry, JournalStream tail = {});
    // Appends an entry after those given since the last Restart.
    void Append(JournalBytes entry, JournalStream tail = {});
    // Removes the journal's file at once, with whatever was not written yet; Append does
    // nothing until the next Restart.
    void Remove();
    // Waits until everything given is written and durable. False when a write failed since
    // the last Restart, or no Restart came before the appends.
    bool Flush();
    // Whether a write failed since the last Restart, as far as the writer has come.
    bool Failed() const;
    // Called on the thread that made the journal, from its event loop, when writing starts to
    // fail (true) or works again after a failure (false).
    void OnFailure(std::function<void(bool)> handler);

private:
    struct Impl;
    std::unique_ptr<Impl> m;
};

// Reads a journal entry by entry, up to the first entry that is cut short or fails its
// checksum. The header is checked before anything else is read, and each entry's length
// against what the file holds after it; an entry is checked piece by piece and never held
// whole, so that a file of any size costs no more memory than a small buffer. What the entries
// hold is read with Read.
class CJournalReader {
public:
    explicit CJournalReader(const CJournalFormat& format);
    ~CJournalReader();
    CJournalReader(const CJournalReader&) = delete;
    CJournalReader& operator=(const CJournalReader&) = delete;

    // False when the file cannot be read or does not start as a journal does.
    bool Open(const std::string& path);
    // Moves to the next entry; false at the end of the file or at the first entry cut short
    // or failing its checksum, and from then on.
    bool Next();
    // Where the current entry's bytes start in the file, and how many there are.
    std::uint64_t Offset() const;
    std::uint64_t Size() const;
    // Reads n bytes of the file from `offset`, within the entries passed so far; false
    // outside them.
    bool Read(std::uint64_t offset, std::size_t n, JournalBytes& bytes);
    // Closes the file, so that others may open it.
    void Close();

private:
    struct Impl;
    std::unique_ptr<Impl> m;
};
