#include "Journal.h"

#include "ByteOrder.h"
#include "File.h"

#include <QMetaObject>
#include <QObject>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <deque>
#include <mutex>
#include <thread>

namespace {

constexpr std::size_t kHeadBytes = 8;
constexpr std::size_t kFrameBytes = 8;
constexpr auto kSyncInterval = std::chrono::seconds(1);
// How long the writer lets entries gather before it writes them: an edit does not pay for a
// thread's wake-up and a write of its own.
constexpr auto kGatherTime = std::chrono::milliseconds(50);
// The most bytes written or checked at once: a long entry stops soon after a removal, and a
// reader's buffer stays small.
constexpr std::size_t kPieceBytes = std::size_t(1) << 20;

using Clock = std::chrono::steady_clock;
using CrcTables = std::array<std::array<std::uint32_t, 256>, 8>;

// The CRC tables for eight bytes at a time: the checksum of a large picture costs a fraction
// of writing it.
const CrcTables& Tables()
{
    static const CrcTables tables = [] {
        CrcTables t{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int k = 0; k < 8; ++k)
                c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[0][i] = c;
        }
        for (std::size_t k = 1; k < 8; ++k)
            for (std::size_t i = 0; i < 256; ++i)
                t[k][i] = (t[k - 1][i] >> 8) ^ t[0][t[k - 1][i] & 0xFF];
        return t;
    }();
    return tables;
}

// The CRC-32 of IEEE 802.3, as zlib's crc32 gives it: that of the bytes before, whose CRC is
// `crc` (0 for none), followed by n more.
std::uint32_t Crc32(std::uint32_t crc, const std::uint8_t* p, std::size_t n)
{
    const CrcTables& t = Tables();
    crc = ~crc;
    for (; n >= 8; p += 8, n -= 8) {
        const std::uint32_t a = crc ^ LoadLE32(p), b = LoadLE32(p + 4);
        crc = t[7][a & 0xFF] ^ t[6][(a >> 8) & 0xFF] ^ t[5][(a >> 16) & 0xFF] ^ t[4][a >> 24] ^
              t[3][b & 0xFF] ^ t[2][(b >> 8) & 0xFF] ^ t[1][(b >> 16) & 0xFF] ^ t[0][b >> 24];
    }
    for (; n > 0; --n)
        crc = t[0][(crc ^ *p++) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

} // namespace

struct CJournal::Impl {
    explicit Impl(const CJournalFormat& f) : format(f) {}

    const CJournalFormat format;
    struct Job {
        enum class Kind { Restart, Append, Remove } kind;
        std::string path;
        JournalBytes bytes;
        JournalStream tail;
        std::uint64_t generation = 0;
    };

    std::mutex mutex;
    std::condition_variable wake;    // jobs came, syncing is due, a flush is wanted, or stop
    std::condition_variable settled; // a thread finished something a waiter looks for
    std::deque<Job> jobs;
    bool busy = false;    // the writer works on jobs it took
    bool syncing = false; // the syncer works on a copy of the writer's file
    bool hurry = false;   // write and sync now, for a flush or a removal
    bool stopping = false;
    bool writerDone = false;
    bool started = false;           // Append has a Restart before it
    std::uint64_t generation = 0;   // counts the Restarts and Removes
    bool failed = false;            // a job of this generation failed
    bool reported = false;          // the failure last reported to the handler
    std::uint64_t written = 0;      // the batches written so far
    std::uint64_t synced = 0;       // those the last sync made durable
    Clock::time_point firstWaiting; // when the oldest job still in `jobs` came
    Clock::time_point lastSync = Clock::now();
    CFileHandle shared; // the writer's file, for the syncer to copy
    std::function<void(bool)> handler;
    QObject context; // the handler runs in its thread, the journal's maker's
    std::atomic<bool> cancel{false};
    std::thread writer, syncer;

    // The writer's own.
    CFileHandle file;
    std::string path;
    std::uint64_t end = 0; // the length of the whole entries in the file
    bool broken = false;   // a write failed: nothing is written until a Restart
    bool reopened = false; // the file changed during this batch

    // Adds a job, under the lock; only the first of a batch wakes the writer.
    void Queue(Job job)
    {
        if (jobs.empty()) {
            firstWaiting = Clock::now();
            wake.notify_all();
        }
        jobs.push_back(std::move(job));
    }
    void RunWriter();
    void RunSyncer();
    // Does one job; false on a failure.
    bool Do(Job& job);
    bool WriteEntry(const JournalBytes& bytes, const JournalStream& tail);
    // Under the lock: tells the handler when the failure state has changed.
    void Report();
};

bool CJournal::Impl::WriteEntry(const JournalBytes& bytes, const JournalStream& tail)
{
    const std::uint64_t size = bytes.size() + tail.size;
    std::uint32_t crc = Crc32(0, bytes.data(), bytes.size());
    bool ok = size <= UINT32_MAX;
    if (ok && !tail.write) {
        JournalBytes framed(kFrameBytes + bytes.size());
        StoreLE32(framed.data(), std::uint32_t(size));
        StoreLE32(framed.data() + 4, crc);
        std::copy(bytes.begin(), bytes.end(), framed.begin() + kFrameBytes);
        ok = file.Write(framed.data(), framed.size());
    } else if (ok) {
        // The checksum is known once the tail is written; until it is in place, the entry
        // fails it.
        std::uint8_t frame[kFrameBytes] = {};
        StoreLE32(frame, std::uint32_t(size));
        std::uint64_t given = 0;
        const ByteSink sink = [&](const void* p, std::size_t n) {
            for (auto* b = static_cast<const std::uint8_t*>(p); n > 0;) {
                const std::size_t piece = std::min(n, kPieceBytes);
                if (cancel || piece > tail.size - given || !file.Write(b, piece))
                    return false;
                crc = Crc32(crc, b, piece);
                given += piece;
                b += piece;
                n -= piece;
            }
            return true;
        };
        std::uint8_t sum[4];
        ok = file.Write(frame, sizeof frame) && file.Write(bytes.data(), bytes.size()) &&
             tail.write(sink) && given == tail.size;
        StoreLE32(sum, crc);
        ok = ok && file.WriteAt(end + 4, sum, sizeof sum);
    }
    if (ok) {
        end += kFrameBytes + size;
        return true;
    }
    file.Truncate(end);
    file.Seek(end);
    broken = true;
    return false;
}

bool CJournal::Impl::Do(Job& job)
{
    switch (job.kind) {
    case Job::Kind::Restart:
        if (job.path != path || !file.IsOpen()) {
            file.Close();
            path = job.path;
            reopened = true;
            std::uint8_t head[kHeadBytes];
            std::memcpy(head, format.signature, 4);
            StoreLE32(head + 4, format.version);
            if (!file.Open(path.c_str(), CFileHandle::Mode::Rewrite) ||
                !file.Write(head, sizeof head)) {
                file.Close();
                return false;
            }
            end = kHeadBytes;
        }
        broken = false;
        return WriteEntry(job.bytes, job.tail);
    case Job::Kind::Append:
        return !broken && file.IsOpen() && WriteEntry(job.bytes, job.tail);
    case Job::Kind::Remove:
        file.Close();
        if (!path.empty())
            std::remove(path.c_str());
        path.clear();
        broken = false;
        reopened = true;
        return true;
    }
    return false;
}

void CJournal::Impl::Report()
{
    if (failed == reported || !handler)
        return;
    reported = failed;
    QMetaObject::invokeMethod(
        &context, [h = handler, failing = failed] { h(failing); }, Qt::QueuedConnection);
}

void CJournal::Impl::RunWriter()
{
    std::unique_lock lock(mutex);
    while (!stopping || !jobs.empty()) {
        if (jobs.empty()) {
            wake.wait(lock);
            continue;
        }
        const Clock::time_point due = firstWaiting + kGatherTime;
        if (!hurry && !stopping && Clock::now() < due) {
            wake.wait_until(lock, due);
            continue;
        }
        std::deque<Job> batch;
        batch.swap(jobs);
        busy = true;
        lock.unlock();
        std::vector<std::pair<std::uint64_t, bool>> done; // each job's generation, and success
        for (Job& job : batch)
            done.emplace_back(job.generation, Do(job));
        lock.lock();
        busy = false;
        bool current = false;
        for (const auto& [jobGeneration, ok] : done)
            if (jobGeneration == generation) {
                current = true;
                failed = failed || !ok;
            }
        if (reopened)
            shared = file.Duplicate();
        reopened = false;
        ++written;
        if (current)
            Report();
        wake.notify_all();
        settled.notify_all();
    }
    writerDone = true;
    wake.notify_all();
}

void CJournal::Impl::RunSyncer()
{
    std::unique_lock lock(mutex);
    for (;;) {
        if (synced == written) {
            if (writerDone)
                return;
            wake.wait(lock);
            continue;
        }
        const Clock::time_point due = lastSync + kSyncInterval;
        if (!hurry && !stopping && Clock::now() < due) {
            wake.wait_until(lock, due);
            continue;
        }
        // What the writer has written so far, through a handle of the syncer's own: the
        // writer goes on meanwhile.
        const std::uint64_t target = written, syncGeneration = generation;
        CFileHandle copy = shared.Duplicate();
        syncing = true;
        lock.unlock();
        const bool ok = !copy.IsOpen() || copy.SyncData();
        copy.Close();
        lock.lock();
        syncing = false;
        lastSync = Clock::now();
        synced = std::max(synced, target);
        if (!ok && syncGeneration == generation) {
            failed = true;
            Report();
        }
        settled.notify_all();
    }
}

CJournal::CJournal(const CJournalFormat& format) : m(std::make_unique<Impl>(format))
{
    m->writer = std::thread([impl = m.get()] { impl->RunWriter(); });
    m->syncer = std::thread([impl = m.get()] { impl->RunSyncer(); });
}

CJournal::~CJournal()
{
    {
        const std::lock_guard lock(m->mutex);
        m->stopping = true;
    }
    m->wake.notify_all();
    m->writer.join();
    m->syncer.join();
}

void CJournal::Restart(std::string path, JournalBytes entry, JournalStream tail)
{
    const std::lock_guard lock(m->mutex);
    ++m->generation;
    m->failed = false;
    m->started = true;
    m->Queue({Impl::Job::Kind::Restart, std::move(path), std::move(entry), std::move(tail),
              m->generation});
}

void CJournal::Append(JournalBytes entry, JournalStream tail)
{
    const std::lock_guard lock(m->mutex);
    if (m->started)
        m->Queue({Impl::Job::Kind::Append, {}, std::move(entry), std::move(tail), m->generation});
}

void CJournal::Remove()
{
    std::unique_lock lock(m->mutex);
    m->jobs.clear(); // what was not written goes with the file
    ++m->generation;
    m->failed = false;
    m->started = false;
    m->Queue({Impl::Job::Kind::Remove, {}, {}, {}, m->generation});
    m->cancel = true;
    m->hurry = true;
    m->wake.notify_all();
    m->settled.wait(lock, [this] { return m->jobs.empty() && !m->busy; });
    m->cancel = false;
    m->hurry = false;
    m->synced = m->written; // nothing left to make durable
    m->Report();
}

bool CJournal::Flush()
{
    std::unique_lock lock(m->mutex);
    m->hurry = true;
    m->wake.notify_all();
    m->settled.wait(lock, [this] {
        return m->jobs.empty() && !m->busy && !m->syncing && m->synced == m->written;
    });
    m->hurry = false;
    return !m->failed;
}

bool CJournal::Failed() const
{
    const std::lock_guard lock(m->mutex);
    return m->failed;
}

void CJournal::OnFailure(std::function<void(bool)> handler)
{
    const std::lock_guard lock(m->mutex);
    m->handler = std::move(handler);
}

struct CJournalReader::Impl {
    explicit Impl(const CJournalFormat& f) : format(f) {}

    const CJournalFormat format;
    CFileHandle file;
    std::uint64_t length = 0; // of the file, or where reading stopped
    std::uint64_t next = 0;   // where the next entry's frame starts
    std::uint64_t offset = 0; // the current entry's bytes
    std::uint64_t size = 0;
    JournalBytes buffer; // bytes of the file from bufferAt on
    std::uint64_t bufferAt = 0;

    // The n bytes of the file at `at` (n at most kPieceBytes), from the buffer, which is
    // filled anew when it does not hold them; null past the end of the file.
    const std::uint8_t* View(std::uint64_t at, std::size_t n)
    {
        if (at > length || n > length - at)
            return nullptr;
        if (at < bufferAt || at - bufferAt + n > buffer.size()) {
            buffer.resize(std::size_t(std::min<std::uint64_t>(kPieceBytes, length - at)));
            if (!file.Seek(at) || file.Read(buffer.data(), buffer.size()) != buffer.size()) {
                buffer.clear();
                return nullptr;
            }
            bufferAt = at;
        }
        return buffer.data() + (at - bufferAt);
    }
};

CJournalReader::CJournalReader(const CJournalFormat& format) : m(std::make_unique<Impl>(format)) {}

CJournalReader::~CJournalReader() = default;

bool CJournalReader::Open(const std::string& path)
{
    Close();
    if (!m->file.Open(path.c_str(), CFileHandle::Mode::ReadExisting) || !m->file.Length(m->length))
        return false;
    const std::uint8_t* head = m->View(0, kHeadBytes);
    if (!head || std::memcmp(head, m->format.signature, 4) != 0 ||
        LoadLE32(head + 4) != m->format.version) {
        Close();
        return false;
    }
    m->next = kHeadBytes;
    return true;
}

bool CJournalReader::Next()
{
    const std::uint8_t* frame = m->View(m->next, kFrameBytes);
    const std::uint64_t at = m->next + kFrameBytes;
    const std::uint64_t size = frame ? LoadLE32(frame) : 0;
    const std::uint32_t crc = frame ? LoadLE32(frame + 4) : 0;
    bool whole = frame && size <= m->length - at;
    std::uint32_t sum = 0;
    for (std::uint64_t done = 0; whole && done < size;) {
        const auto piece = std::size_t(std::min<std::uint64_t>(size - done, kPieceBytes));
        const std::uint8_t* p = m->View(at + done, piece);
        whole = p != nullptr;
        if (whole)
            sum = Crc32(sum, p, piece);
        done += piece;
    }
    if (!whole || sum != crc) {
        m->length = m->next; // nothing after a damaged entry counts
        return false;
    }
    m->offset = at;
    m->size = size;
    m->next = at + size;
    return true;
}

std::uint64_t CJournalReader::Offset() const { return m->offset; }

std::uint64_t CJournalReader::Size() const { return m->size; }

bool CJournalReader::Read(std::uint64_t offset, std::size_t n, JournalBytes& bytes)
{
    if (offset > m->next || n > m->next - offset)
        return false;
    bytes.resize(n);
    for (std::size_t done = 0; done < n;) {
        const std::size_t piece = std::min(n - done, kPieceBytes);
        const std::uint8_t* p = m->View(offset + done, piece);
        if (!p)
            return false;
        std::memcpy(bytes.data() + done, p, piece);
        done += piece;
    }
    return true;
}

void CJournalReader::Close()
{
    m->file.Close();
    m->buffer.clear();
    m->length = m->next = m->offset = m->size = m->bufferAt = 0;
}
