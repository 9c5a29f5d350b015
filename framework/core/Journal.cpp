#include "Journal.h"

#include "ByteOrder.h"
#include "File.h"

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <deque>
#include <mutex>
#include <thread>

namespace {

constexpr std::uint8_t kMagic[4] = {'S', 'K', 'R', 'J'};
constexpr std::uint32_t kVersion = 1;
constexpr std::size_t kHeadBytes = 8;
constexpr std::size_t kFrameBytes = 8;
static_assert(CJournal::kSnapshotOffset == kHeadBytes + kFrameBytes);
constexpr auto kSyncInterval = std::chrono::seconds(1);
// How long the writer lets entries gather before it writes them: an edit does not pay for a
// thread's wake-up and a write of its own.
constexpr auto kGatherTime = std::chrono::milliseconds(50);

using Clock = std::chrono::steady_clock;

// The CRC-32 of IEEE 802.3, as zlib's crc32 gives it.
std::uint32_t Crc32(const std::uint8_t* p, std::size_t n)
{
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int k = 0; k < 8; ++k)
                c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < n; ++i)
        crc = table[(crc ^ p[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

// An entry with its frame, ready for one write.
JournalBytes Framed(const JournalBytes& entry)
{
    JournalBytes framed(kFrameBytes + entry.size());
    StoreLE32(framed.data(), std::uint32_t(entry.size()));
    StoreLE32(framed.data() + 4, Crc32(entry.data(), entry.size()));
    if (!entry.empty())
        std::memcpy(framed.data() + kFrameBytes, entry.data(), entry.size());
    return framed;
}

} // namespace

struct CJournal::Impl {
    struct Job {
        enum class Kind { Restart, Append, Remove } kind;
        std::string path;
        JournalBytes bytes; // framed, for Append
    };

    std::mutex mutex;
    std::condition_variable wake;    // jobs came, a flush is wanted, or the journal stops
    std::condition_variable settled; // the writer has nothing left to do
    std::deque<Job> jobs;
    bool busy = false;  // the writer works on jobs it took
    bool dirty = false; // written but not yet made durable
    bool hurry = false; // make durable now, not at the next second
    bool stopping = false;
    bool failed = false;            // since the last Restart
    bool started = false;           // Append has a Restart before it
    Clock::time_point firstWaiting; // when the oldest job still in `jobs` came
    std::uint64_t appended = 0;
    std::thread writer;

    // The writer's own.
    CFileHandle file;
    std::string path;
    Clock::time_point lastSync;

    // Adds a job, under the lock; only the first of a batch wakes the writer.
    void Queue(Job job)
    {
        if (jobs.empty()) {
            firstWaiting = Clock::now();
            wake.notify_all();
        }
        jobs.push_back(std::move(job));
    }
    void Run();
    // Does one job; false on a failure.
    bool Do(Job& job);
};

bool CJournal::Impl::Do(Job& job)
{
    switch (job.kind) {
    case Job::Kind::Restart: {
        file.Close();
        path = job.path;
        std::uint8_t head[kHeadBytes];
        std::memcpy(head, kMagic, 4);
        StoreLE32(head + 4, kVersion);
        const JournalBytes snapshot = Framed(job.bytes);
        CFileReplacement replacement;
        const bool ok = replacement.Open(path.c_str()) && replacement.Write(head, sizeof head) &&
                        replacement.Write(snapshot.data(), snapshot.size()) &&
                        replacement.Commit() &&
                        file.Open(path.c_str(), CFileHandle::Mode::AppendExisting);
        lastSync = Clock::now();
        return ok;
    }
    case Job::Kind::Append:
        return file.IsOpen() && file.Write(job.bytes.data(), job.bytes.size());
    case Job::Kind::Remove:
        file.Close();
        if (!path.empty())
            std::remove(path.c_str());
        path.clear();
        return true;
    }
    return false;
}

void CJournal::Impl::Run()
{
    std::unique_lock lock(mutex);
    for (;;) {
        if (!jobs.empty()) {
            const Clock::time_point due = firstWaiting + kGatherTime;
            if (!hurry && !stopping && Clock::now() < due) {
                wake.wait_until(lock, due);
                continue;
            }
            std::deque<Job> batch;
            batch.swap(jobs);
            busy = true;
            lock.unlock();
            // A Restart starts the count of failures anew.
            bool restarted = false, bad = false, appended = false;
            for (Job& job : batch) {
                const bool ok = Do(job);
                if (job.kind == Job::Kind::Restart) {
                    restarted = true;
                    bad = !ok;
                } else {
                    bad = bad || !ok;
                }
                appended = appended || job.kind == Job::Kind::Append;
            }
            lock.lock();
            busy = false;
            failed = (restarted ? false : failed) || bad;
            dirty = dirty || appended;
            continue;
        }
        if (dirty) {
            const Clock::time_point due = lastSync + kSyncInterval;
            if (!hurry && !stopping && Clock::now() < due) {
                wake.wait_until(lock, due);
                continue;
            }
            lock.unlock();
            const bool ok = !file.IsOpen() || file.SyncData();
            lastSync = Clock::now();
            lock.lock();
            dirty = false;
            failed = failed || !ok;
            continue;
        }
        settled.notify_all();
        if (stopping)
            return;
        wake.wait(lock);
    }
}

CJournal::CJournal() : m(std::make_unique<Impl>())
{
    m->writer = std::thread([impl = m.get()] { impl->Run(); });
}

CJournal::~CJournal()
{
    {
        const std::lock_guard lock(m->mutex);
        m->stopping = true;
    }
    m->wake.notify_all();
    m->writer.join();
}

void CJournal::Restart(std::string path, JournalBytes snapshot)
{
    {
        const std::lock_guard lock(m->mutex);
        m->Queue({Impl::Job::Kind::Restart, std::move(path), std::move(snapshot)});
        m->started = true;
        m->appended = 0;
    }
}

void CJournal::Append(JournalBytes entry)
{
    {
        const std::lock_guard lock(m->mutex);
        if (!m->started)
            return;
        JournalBytes framed = Framed(entry);
        m->appended += framed.size();
        m->Queue({Impl::Job::Kind::Append, {}, std::move(framed)});
    }
}

void CJournal::Remove()
{
    {
        const std::lock_guard lock(m->mutex);
        m->Queue({Impl::Job::Kind::Remove, {}, {}});
        m->started = false;
        m->appended = 0;
    }
}

std::uint64_t CJournal::AppendedBytes() const
{
    const std::lock_guard lock(m->mutex);
    return m->appended;
}

bool CJournal::Flush()
{
    std::unique_lock lock(m->mutex);
    m->hurry = true;
    m->wake.notify_all();
    m->settled.wait(lock, [this] { return m->jobs.empty() && !m->busy && !m->dirty; });
    m->hurry = false;
    return !m->failed;
}

std::vector<JournalBytes> CJournal::Read(const std::string& path)
{
    std::vector<JournalBytes> entries;
    CFileHandle file;
    std::uint64_t length = 0;
    if (!file.Open(path.c_str(), CFileHandle::Mode::ReadExisting) || !file.Length(length) ||
        length < kHeadBytes)
        return entries;
    JournalBytes bytes(length);
    if (file.Read(bytes.data(), bytes.size()) != bytes.size() ||
        std::memcmp(bytes.data(), kMagic, 4) != 0 || LoadLE32(bytes.data() + 4) != kVersion)
        return entries;
    for (std::size_t at = kHeadBytes; bytes.size() - at >= kFrameBytes;) {
        const std::size_t size = LoadLE32(bytes.data() + at);
        const std::uint32_t crc = LoadLE32(bytes.data() + at + 4);
        at += kFrameBytes;
        if (size > bytes.size() - at || Crc32(bytes.data() + at, size) != crc)
            break;
        entries.emplace_back(bytes.begin() + std::ptrdiff_t(at),
                             bytes.begin() + std::ptrdiff_t(at + size));
        at += size;
    }
    return entries;
}
