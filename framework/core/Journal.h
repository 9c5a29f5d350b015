// A journal of changes that a crash cannot take: a file of framed entries, the first a
// snapshot of what is kept and each later one a change to it. The file starts with "SKRJ" and
// a 32-bit version; an entry is its length and the CRC-32 of its bytes (both 32-bit,
// little-endian), then the bytes. Reading stops at the first entry that is cut short or fails
// its checksum, so a torn last write costs only the entry it tore.
//
// The writing happens on a thread of the journal's own, so that no caller waits on the disk.
// The entries of a twentieth of a second are written together (a killed process loses at most
// those), and the file is made durable at most once a second (a power cut loses at most that
// second).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

using JournalBytes = std::vector<std::uint8_t>;

class CJournal {
public:
    // Where the snapshot's bytes start in the file.
    static constexpr std::uint64_t kSnapshotOffset = 16;

    CJournal();
    // Writes and makes durable what was given; the file stays.
    ~CJournal();
    CJournal(const CJournal&) = delete;
    CJournal& operator=(const CJournal&) = delete;

    // Starts the journal anew at `path` with `snapshot` as its only entry. The file is
    // replaced whole, so a crash meanwhile leaves the old journal or the new one.
    void Restart(std::string path, JournalBytes snapshot);
    // Appends an entry after those given since the last Restart.
    void Append(JournalBytes entry);
    // Removes the file once what is in flight is written; Append does nothing until the next
    // Restart.
    void Remove();
    // The bytes of the entries appended since the last Restart, framing included.
    std::uint64_t AppendedBytes() const;
    // Waits until everything given is written and durable. False when a write or the
    // replacement failed since the last Restart, or no Restart came before the appends.
    bool Flush();

    // The entries of the journal at `path`, the snapshot first, up to the first that is cut
    // short or fails its checksum; empty when the file cannot be read or is no journal.
    static std::vector<JournalBytes> Read(const std::string& path);

private:
    struct Impl;
    std::unique_ptr<Impl> m;
};
