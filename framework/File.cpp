#include "File.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::size_t kHugePage = std::size_t(2) << 20;

// Opens without blocking on a FIFO or device, then accepts only a regular file.
int OpenRegularForReading(const char* pszPath)
{
    const int fd = ::open(pszPath, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return -1;
    struct stat st;
    const bool regular = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    // Another opener holding the lock makes the file unavailable; a file system without
    // locks just goes unlocked.
    const bool locked = regular && (::flock(fd, LOCK_EX | LOCK_NB) == 0 || errno != EWOULDBLOCK);
    if (!locked || ::fcntl(fd, F_SETFL, 0) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace

void FileBlockDeleter::operator()(std::uint8_t* p) const { std::free(p); }

FileBlock AllocFileBlock(std::size_t n)
{
    if (n < kHugePage)
        return FileBlock(static_cast<std::uint8_t*>(std::malloc(n ? n : 1)));
    if (n > SIZE_MAX - kHugePage)
        return nullptr;
    const std::size_t rounded = (n + kHugePage - 1) / kHugePage * kHugePage;
    auto* p = static_cast<std::uint8_t*>(std::aligned_alloc(kHugePage, rounded));
    if (p)
        ::madvise(p, rounded, MADV_HUGEPAGE);
    return FileBlock(p);
}

CFileHandle::~CFileHandle() { Close(); }

CFileHandle::CFileHandle(CFileHandle&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}

CFileHandle& CFileHandle::operator=(CFileHandle&& other) noexcept
{
    if (this != &other) {
        Close();
        m_fd = std::exchange(other.m_fd, -1);
    }
    return *this;
}

bool CFileHandle::Open(const char* pszPath, Mode mode)
{
    if (IsOpen() || !pszPath)
        return false;
    if (mode == Mode::ReadExisting)
        m_fd = OpenRegularForReading(pszPath);
    else
        m_fd = ::open(pszPath, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    return IsOpen();
}

std::size_t CFileHandle::Read(void* p, std::size_t n)
{
    std::size_t done = 0;
    while (IsOpen() && done < n) {
        const ssize_t got = ::read(m_fd, static_cast<char*>(p) + done, n - done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        done += std::size_t(got);
    }
    return done;
}

bool CFileHandle::Write(const void* p, std::size_t n)
{
    std::size_t done = 0;
    while (IsOpen() && done < n) {
        const ssize_t put = ::write(m_fd, static_cast<const char*>(p) + done, n - done);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return false;
        done += std::size_t(put);
    }
    return done == n;
}

bool CFileHandle::Seek(std::uint64_t offset)
{
    return IsOpen() && offset <= std::uint64_t(INT64_MAX) &&
           ::lseek(m_fd, off_t(offset), SEEK_SET) == off_t(offset);
}

bool CFileHandle::Length(std::uint64_t& length) const
{
    struct stat st;
    if (!IsOpen() || ::fstat(m_fd, &st) != 0)
        return false;
    length = std::uint64_t(st.st_size);
    return true;
}

bool CFileHandle::Sync() { return IsOpen() && ::fsync(m_fd) == 0; }

bool CFileHandle::Close()
{
    if (!IsOpen())
        return true;
    const int fd = std::exchange(m_fd, -1);
    return ::close(fd) == 0;
}

CFileReplacement::~CFileReplacement() { Discard(); }

bool CFileReplacement::Open(const char* pszPath)
{
    if (m_file.IsOpen() || !pszPath || !*pszPath)
        return false;
    m_strTarget = pszPath;
    // A short name of its own, so that a target name near the length limit still leaves room.
    const std::size_t slash = m_strTarget.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : m_strTarget.substr(0, slash + 1);
    static unsigned s_nCounter = 0;
    for (int attempt = 0; attempt < 100 && !m_file.IsOpen(); ++attempt) {
        m_strTemp = folder + ".skorel-" + std::to_string(::getpid()) + "-" +
                    std::to_string(s_nCounter++) + ".tmp";
        if (!m_file.Open(m_strTemp.c_str(), CFileHandle::Mode::CreateNew) && errno != EEXIST)
            break;
    }
    if (!m_file.IsOpen()) {
        m_strTemp.clear();
        return false;
    }
    struct stat st;
    if (::stat(pszPath, &st) == 0 && S_ISREG(st.st_mode))
        ::chmod(m_strTemp.c_str(), st.st_mode & 07777);
    return true;
}

bool CFileReplacement::Write(const void* p, std::size_t n) { return m_file.Write(p, n); }

bool CFileReplacement::Commit()
{
    if (!m_file.IsOpen() || !m_file.Sync() || !m_file.Close() ||
        std::rename(m_strTemp.c_str(), m_strTarget.c_str()) != 0) {
        Discard();
        return false;
    }
    m_strTemp.clear();
    return true;
}

void CFileReplacement::Discard()
{
    m_file.Close();
    if (!m_strTemp.empty())
        ::unlink(m_strTemp.c_str());
    m_strTemp.clear();
}
