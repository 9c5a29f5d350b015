#include "File.h"

#include "AppName.h"
#include "Error.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <utility>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::size_t kHugePage = std::size_t(2) << 20;
// As many links as the system itself follows before it gives up.
constexpr int kMaxLinkHops = 40;

FileStepHook g_stepHook = nullptr;
std::atomic<std::int64_t> g_space{-1};

void Step(const char* step)
{
    if (g_stepHook)
        g_stepHook(step);
}

// Fails with `error` as the last error, closing fd when it is open.
int Refuse(int fd, DWORD error)
{
    if (fd >= 0)
        ::close(fd);
    SetLastError(error);
    return -1;
}

// Opens without blocking on a FIFO or device, then accepts only a regular file.
int OpenRegularForReading(const char* pszPath)
{
    const int fd = ::open(pszPath, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return Refuse(fd, DWORD(errno));
    struct stat st;
    if (::fstat(fd, &st) != 0)
        return Refuse(fd, DWORD(errno));
    if (!S_ISREG(st.st_mode))
        return Refuse(fd, ERROR_NOT_REGULAR_FILE);
    // Another opener holding the lock makes the file unavailable; a file system without
    // locks just goes unlocked.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK)
        return Refuse(fd, EBUSY);
    if (::fcntl(fd, F_SETFL, 0) != 0)
        return Refuse(fd, DWORD(errno));
    return fd;
}

// How many of n bytes the disk takes, under the tests' limit.
std::size_t Room(std::size_t n)
{
    std::int64_t left = g_space.load();
    for (;;) {
        if (left < 0)
            return n;
        const std::size_t room = std::min(n, std::size_t(left));
        if (g_space.compare_exchange_weak(left, left - std::int64_t(room)))
            return room;
    }
}

std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// Follows symbolic links from `path` to the name they end at, which need not exist yet.
bool FollowLinks(std::string& path)
{
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        struct stat st;
        if (::lstat(path.c_str(), &st) != 0) {
            SetLastError(DWORD(errno));
            return errno == ENOENT;
        }
        if (!S_ISLNK(st.st_mode))
            return true;
        std::error_code ec;
        const std::string target = std::filesystem::read_symlink(path, ec).string();
        if (ec) {
            SetLastError(DWORD(ec.value()));
            return false;
        }
        path = target.starts_with('/') ? target : FolderOf(path) + target;
    }
    SetLastError(ELOOP);
    return false;
}

constexpr const char* kTemporarySuffix = ".tmp";

// Temporary files are named after the application, in lower case with "-" for anything but
// letters and digits, so that its own are known again: ".paint-2-" for "Paint 2".
std::string TemporaryPrefix()
{
    std::string prefix = ".";
    for (const unsigned char c : AfxGetAppName())
        prefix += std::isalnum(c) ? char(std::tolower(c)) : '-';
    return prefix + "-";
}

// A short name of our own pattern, so that a target name near the length limit still leaves
// room.
std::string TemporaryName(const std::string& folder)
{
    static unsigned s_nCounter = 0;
    return folder + TemporaryPrefix() + std::to_string(::getpid()) + "-" +
           std::to_string(s_nCounter++) + kTemporarySuffix;
}

// Removes temporary files of ours that a process killed while saving left in the folder more
// than a day ago; younger ones may belong to a save going on now.
void RemoveStaleTemporaries(const std::string& folder)
{
    const std::time_t dayAgo = std::time(nullptr) - 24 * 60 * 60;
    const std::string prefix = TemporaryPrefix();
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder.empty() ? "." : folder, ec), end;
         !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        struct stat st;
        if (name.starts_with(prefix) && name.ends_with(kTemporarySuffix) &&
            ::lstat(it->path().c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
            st.st_uid == ::getuid() && st.st_mtime < dayAgo)
            ::unlink(it->path().c_str());
    }
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
    if (IsOpen() || !pszPath) {
        SetLastError(EINVAL);
        return false;
    }
    if (mode == Mode::ReadExisting)
        m_fd = OpenRegularForReading(pszPath);
    else if (mode == Mode::CreateNew)
        m_fd = ::open(pszPath, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    else if (mode == Mode::Rewrite) {
        // Not blocking on a FIFO's open, and refusing anything but a regular file after it,
        // before emptying it.
        m_fd = ::open(pszPath, O_WRONLY | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0666);
        struct stat st;
        if (IsOpen() && (::fstat(m_fd, &st) != 0 || !S_ISREG(st.st_mode))) {
            Close();
            SetLastError(ERROR_NOT_REGULAR_FILE);
            return false;
        }
        if (IsOpen() && (::ftruncate(m_fd, 0) != 0 || ::fcntl(m_fd, F_SETFL, 0) != 0)) {
            SetLastError(DWORD(errno));
            Close();
            return false;
        }
    } else
        m_fd = ::open(pszPath, O_WRONLY | O_TMPFILE | O_CLOEXEC, 0666);
    if (!IsOpen() && mode != Mode::ReadExisting)
        SetLastError(DWORD(errno));
    return IsOpen();
}

CFileHandle CFileHandle::Duplicate() const
{
    CFileHandle other;
    if (IsOpen())
        other.m_fd = ::fcntl(m_fd, F_DUPFD_CLOEXEC, 0);
    return other;
}

std::size_t CFileHandle::Read(void* p, std::size_t n)
{
    std::size_t done = 0;
    while (IsOpen() && done < n) {
        const ssize_t got = ::read(m_fd, static_cast<char*>(p) + done, n - done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            SetLastError(DWORD(errno));
        if (got <= 0)
            break;
        done += std::size_t(got);
    }
    return done;
}

bool CFileHandle::Write(const void* p, std::size_t n)
{
    return WriteAll(p, n, [this](const char* from, std::size_t room, std::size_t) {
        return ::write(m_fd, from, room);
    });
}

bool CFileHandle::WriteAt(std::uint64_t offset, const void* p, std::size_t n)
{
    return WriteAll(p, n, [this, offset](const char* from, std::size_t room, std::size_t done) {
        return ::pwrite(m_fd, from, room, off_t(offset + done));
    });
}

bool CFileHandle::WriteAll(
    const void* p, std::size_t n,
    const std::function<std::ptrdiff_t(const char*, std::size_t, std::size_t)>& put)
{
    std::size_t done = 0;
    while (IsOpen() && done < n) {
        const std::size_t room = Room(n - done);
        const std::ptrdiff_t wrote =
            room ? put(static_cast<const char*>(p) + done, room, done) : -1;
        if (wrote < 0 && room && errno == EINTR)
            continue;
        if (wrote <= 0) {
            SetLastError(!room ? DWORD(ENOSPC) : wrote < 0 ? DWORD(errno) : DWORD(EIO));
            return false;
        }
        done += std::size_t(wrote);
    }
    return IsOpen() && done == n;
}

bool CFileHandle::Truncate(std::uint64_t length)
{
    if (!IsOpen() || ::ftruncate(m_fd, off_t(length)) != 0) {
        SetLastError(IsOpen() ? DWORD(errno) : DWORD(EBADF));
        return false;
    }
    return true;
}

bool CFileHandle::Seek(std::uint64_t offset)
{
    return IsOpen() && offset <= std::uint64_t(INT64_MAX) &&
           ::lseek(m_fd, off_t(offset), SEEK_SET) == off_t(offset);
}

bool CFileHandle::Position(std::uint64_t& offset) const
{
    const off_t at = IsOpen() ? ::lseek(m_fd, 0, SEEK_CUR) : off_t(-1);
    if (at < 0)
        return false;
    offset = std::uint64_t(at);
    return true;
}

bool CFileHandle::Length(std::uint64_t& length) const
{
    struct stat st;
    if (!IsOpen() || ::fstat(m_fd, &st) != 0)
        return false;
    length = std::uint64_t(st.st_size);
    return true;
}

bool CFileHandle::Sync()
{
    if (!IsOpen() || ::fsync(m_fd) != 0) {
        SetLastError(IsOpen() ? DWORD(errno) : DWORD(EBADF));
        return false;
    }
    Step("sync");
    return true;
}

bool CFileHandle::SyncData()
{
    if (!IsOpen() || ::fdatasync(m_fd) != 0) {
        SetLastError(IsOpen() ? DWORD(errno) : DWORD(EBADF));
        return false;
    }
    Step("sync data");
    return true;
}

bool CFileHandle::LinkAs(const char* pszPath)
{
    const std::string self = "/proc/self/fd/" + std::to_string(m_fd);
    if (!IsOpen() || ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, pszPath, AT_SYMLINK_FOLLOW) != 0) {
        SetLastError(IsOpen() ? DWORD(errno) : DWORD(EBADF));
        return false;
    }
    return true;
}

bool CFileHandle::SetOwnerAndMode(unsigned uid, unsigned gid, unsigned mode)
{
    if (!IsOpen() || ::fchmod(m_fd, mode_t(mode)) != 0)
        return false;
    // Only the superuser can give the file away; others keep their own.
    [[maybe_unused]] const int owned = ::fchown(m_fd, uid_t(uid), gid_t(gid));
    return true;
}

bool CFileHandle::Close()
{
    if (!IsOpen())
        return true;
    const int fd = std::exchange(m_fd, -1);
    if (::close(fd) == 0)
        return true;
    SetLastError(DWORD(errno));
    return false;
}

bool RenameDurably(const std::string& from, const std::string& to)
{
    if (std::rename(from.c_str(), to.c_str()) != 0) {
        SetLastError(DWORD(errno));
        return false;
    }
    Step("rename");
    const std::string folder = FolderOf(to);
    const int fd =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        if (::fsync(fd) == 0)
            Step("sync folder");
        ::close(fd);
    }
    return true;
}

ByteSink AppendTo(std::vector<std::uint8_t>& bytes)
{
    return [&bytes](const void* p, std::size_t n) {
        const auto* b = static_cast<const std::uint8_t*>(p);
        bytes.insert(bytes.end(), b, b + n);
        return true;
    };
}

bool ReplaceFile(const char* pszPath, const std::function<bool(const ByteSink&)>& produce)
{
    CFileReplacement file;
    return file.Open(pszPath) &&
           produce([&file](const void* p, std::size_t n) { return file.Write(p, n); }) &&
           file.Commit();
}

bool ReplaceFile(const char* pszPath, const void* p, std::size_t n)
{
    return ReplaceFile(pszPath, [p, n](const ByteSink& write) { return write(p, n); });
}

std::string FileExtension(const std::string& path)
{
    std::string ext = std::filesystem::path(path).extension().string();
    if (!ext.empty())
        ext.erase(0, 1);
    for (char& c : ext)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return ext;
}

std::string WithExtension(const std::string& path, const std::string& ext)
{
    return std::filesystem::path(path).replace_extension("." + ext).string();
}

FileStepHook SetFileStepHook(FileStepHook hook) { return std::exchange(g_stepHook, hook); }

void SetFileSpaceLimit(std::int64_t bytes) { g_space.store(bytes); }

CFileReplacement::~CFileReplacement() { Discard(); }

bool CFileReplacement::Open(const char* pszPath)
{
    if (m_file.IsOpen() || !pszPath || !*pszPath) {
        SetLastError(EINVAL);
        return false;
    }
    m_strTarget = pszPath;
    if (!FollowLinks(m_strTarget))
        return false;
    struct stat st;
    const bool exists = ::stat(m_strTarget.c_str(), &st) == 0;
    if (exists && !S_ISREG(st.st_mode)) {
        SetLastError(ERROR_NOT_REGULAR_FILE);
        return false;
    }
    // The permission bits count as well: the superuser passes access() for any file.
    if (exists && (::access(m_strTarget.c_str(), W_OK) != 0 || (st.st_mode & 0222) == 0)) {
        SetLastError(EACCES);
        return false;
    }
    m_strFolder = FolderOf(m_strTarget);
    RemoveStaleTemporaries(m_strFolder);
    if (!OpenTemporary())
        return false;
    if (exists)
        m_file.SetOwnerAndMode(st.st_uid, st.st_gid, st.st_mode & 07777);
    return true;
}

bool CFileReplacement::OpenTemporary()
{
    if (m_file.Open(m_strFolder.empty() ? "." : m_strFolder.c_str(),
                    CFileHandle::Mode::CreateUnnamed))
        return true;
    return TakeTemporaryName(
        [this](const char* name) { return m_file.Open(name, CFileHandle::Mode::CreateNew); });
}

bool CFileReplacement::TakeTemporaryName(const std::function<bool(const char*)>& create)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string name = TemporaryName(m_strFolder);
        if (create(name.c_str())) {
            m_strTemp = name;
            return true;
        }
        if (GetLastError() != EEXIST)
            break;
    }
    return false;
}

bool CFileReplacement::Write(const void* p, std::size_t n) { return m_file.Write(p, n); }

bool CFileReplacement::Commit()
{
    if (!m_file.IsOpen() || !m_file.Sync()) {
        Discard();
        return false;
    }
    // An unnamed file gets its temporary name only now, for the rename.
    if ((m_strTemp.empty() &&
         !TakeTemporaryName([this](const char* name) { return m_file.LinkAs(name); })) ||
        !m_file.Close()) {
        Discard();
        return false;
    }
    if (!RenameDurably(m_strTemp, m_strTarget)) {
        Discard();
        return false;
    }
    m_strTemp.clear();
    return true;
}

void CFileReplacement::Discard()
{
    // Cleaning up must not hide why the replacement failed.
    const DWORD error = GetLastError();
    m_file.Close();
    if (!m_strTemp.empty())
        ::unlink(m_strTemp.c_str());
    m_strTemp.clear();
    SetLastError(error);
}
