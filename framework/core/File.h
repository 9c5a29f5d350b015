// Binary files: a handle that closes itself, opened in the ways the program asks for, and the
// replacement of a file through a temporary one, so that a failed write loses nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

struct FileBlockDeleter {
    void operator()(std::uint8_t* p) const;
};
using FileBlock = std::unique_ptr<std::uint8_t[], FileBlockDeleter>;

// Uninitialised room for n bytes read from a file, or null. A large block is aligned to and
// advised for huge pages: filling it then costs a few page faults instead of one per 4 KB,
// which is most of the time of opening a large picture (bench_image's 4096² cases). Small
// blocks, and systems without huge pages, get plain malloc'd memory.
FileBlock AllocFileBlock(std::size_t n);

class CFileHandle {
public:
    enum class Mode {
        // An existing regular file, for reading, locked against every other opener that
        // locks (share mode 0) while it is open.
        ReadExisting,
        // A file that must not exist yet, for writing.
        CreateNew,
        // A file without a name in the folder given, for writing; it is gone when closed
        // unless LinkAs has given it a name. Fails where the file system has no such files.
        CreateUnnamed,
        // A regular file, made anew or emptied, for writing from its start.
        Rewrite,
    };

    CFileHandle() = default;
    ~CFileHandle();
    CFileHandle(CFileHandle&& other) noexcept;
    CFileHandle& operator=(CFileHandle&& other) noexcept;
    CFileHandle(const CFileHandle&) = delete;
    CFileHandle& operator=(const CFileHandle&) = delete;

    // On failure the last error (GetLastError) says why; a path that is not a regular file
    // gives ERROR_NOT_REGULAR_FILE and never blocks, whatever it names.
    bool Open(const char* pszPath, Mode mode);
    bool IsOpen() const { return m_fd >= 0; }
    // Another handle on the same open file, which stays open when this one closes; closed
    // when this one is.
    CFileHandle Duplicate() const;
    // Reads up to n bytes; fewer only at the end of the file or on an error.
    std::size_t Read(void* p, std::size_t n);
    // Writes all n bytes or fails.
    bool Write(const void* p, std::size_t n);
    // Writes all n bytes at `offset`, leaving the position where it was, or fails.
    bool WriteAt(std::uint64_t offset, const void* p, std::size_t n);
    // Cuts the file to `length` bytes.
    bool Truncate(std::uint64_t length);
    bool Seek(std::uint64_t offset);
    // Where the next read or write happens.
    bool Position(std::uint64_t& offset) const;
    // The file's length in bytes.
    bool Length(std::uint64_t& length) const;
    // Makes the written bytes durable; SyncData the bytes and the length alone, without the
    // file's times.
    bool Sync();
    bool SyncData();
    // Gives the open file a name that must not exist yet.
    bool LinkAs(const char* pszPath);
    // Sets the permission bits and, where allowed, the owner.
    bool SetOwnerAndMode(unsigned uid, unsigned gid, unsigned mode);
    // Closes the file; false when the system reports a failure on closing.
    bool Close();

private:
    // Writes all n bytes through `put` (the bytes, how many it may write, how many are done),
    // a write call of the system's, again after an interruption or a short write.
    bool WriteAll(const void* p, std::size_t n,
                  const std::function<std::ptrdiff_t(const char*, std::size_t, std::size_t)>& put);

    int m_fd = -1;
};

// Writes the new contents of a file beside it and renames them over it only on Commit, when
// every byte is written and on disk. The new contents are written to a file without a name
// where the file system allows, named only for the rename at Commit, so that a process killed
// while saving leaves nothing behind; elsewhere to a temporary file of its own name pattern,
// of which those older than a day are removed at the next replacement in the folder. An
// uncommitted replacement removes its temporary file and leaves the target as it was. A
// symbolic link is followed, so the file it ends at is replaced and the link stays a link.
// Every failure sets the last error.
class CFileReplacement {
public:
    CFileReplacement() = default;
    ~CFileReplacement();
    CFileReplacement(const CFileReplacement&) = delete;
    CFileReplacement& operator=(const CFileReplacement&) = delete;

    // Creates the temporary file in the target's folder; it takes the permissions and owner an
    // existing target has. Refuses a target that exists but is not a regular file (a FIFO or
    // device would be replaced by a plain file) or is not writable.
    bool Open(const char* pszPath);
    bool Write(const void* p, std::size_t n);
    bool Commit();

private:
    // Opens the file the new contents go to, unnamed if possible.
    bool OpenTemporary();
    // Gives the temporary file a name of our pattern that is free: create makes the file under
    // the name, failing with EEXIST when it is taken.
    bool TakeTemporaryName(const std::function<bool(const char*)>& create);
    void Discard();

    CFileHandle m_file;
    std::string m_strTarget; // where the links from the path given to Open end
    std::string m_strFolder;
    std::string m_strTemp; // the temporary file's name, once it has one
};

// Takes bytes in order; false when they could not be kept, which ends the writing.
using ByteSink = std::function<bool(const void* p, std::size_t n)>;
// A sink that appends what it takes to the bytes.
ByteSink AppendTo(std::vector<std::uint8_t>& bytes);
// Replaces the file at the path, as CFileReplacement does, with what `produce` gives the sink
// it is handed, in as many pieces as it likes. False, with the file as it was and the last
// error set, when `produce` or the replacement fails.
bool ReplaceFile(const char* pszPath, const std::function<bool(const ByteSink&)>& produce);
// Replaces the file at the path with the n bytes at p.
bool ReplaceFile(const char* pszPath, const void* p, std::size_t n);

// The extension of a path's last name, after its last dot, in small letters ("a/B.PNG": "png");
// empty when the name has none. A name whose only dot comes first has none.
std::string FileExtension(const std::string& path);
// The path with the extension `ext` ("txt") in place of the one it has, or after the name when
// it has none.
std::string WithExtension(const std::string& path, const std::string& ext);

// Renames a file and makes the new name durable with its folder's entries.
bool RenameDurably(const std::string& from, const std::string& to);

// For tests: called with each step that makes written bytes durable: "sync" (a file's data
// and times are on disk), "sync data" (its data alone), "rename", "sync folder" (a rename is
// on disk). Returns the hook it replaced.
using FileStepHook = void (*)(const char* step);
FileStepHook SetFileStepHook(FileStepHook hook);
// For tests: how many more bytes the writes to every file may put on the disk before they
// fail as on a full disk (ENOSPC), the last one written in part; negative for no limit.
void SetFileSpaceLimit(std::int64_t bytes);
