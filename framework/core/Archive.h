// Little-endian 32-bit integers on a file or a byte buffer, in one direction.
#pragma once

#include "Types.h"

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

class CFileHandle;

// Raised by a loading archive that runs out of data, or a storing one that cannot write.
class CArchiveException : public std::runtime_error {
public:
    enum Cause { endOfFile, writeFailed };
    CArchiveException(Cause cause, const std::string& what)
        : std::runtime_error(what), m_cause(cause)
    {}
    Cause m_cause;
};

class CArchive {
public:
    enum Mode { store = 0, load = 1 };

    // On a byte buffer: loading reads it, storing appends to it.
    CArchive(std::vector<BYTE>& buffer, Mode mode);
    // On a file opened by the caller, from where it stands; the archive does not close it.
    CArchive(CFileHandle& file, Mode mode);
    ~CArchive();
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    bool IsStoring() const { return m_mode == store; }
    bool IsLoading() const { return m_mode == load; }

    CArchive& operator<<(std::int32_t v);
    CArchive& operator<<(std::uint32_t v);
    CArchive& operator>>(std::int32_t& v);
    CArchive& operator>>(std::uint32_t& v);

    // Pushes buffered output to the file; raises on a write failure.
    void Flush();
    // Loading: the bytes not yet read, so that a reader can refuse a count that the data
    // cannot hold before it reads or allocates anything.
    std::uint64_t BytesLeft() const;

private:
    void Write32(std::uint32_t v);
    std::uint32_t Read32();
    void FillBuffer();

    Mode m_mode;
    std::vector<BYTE>* m_pBuffer = nullptr;
    CFileHandle* m_pFile = nullptr;
    std::vector<BYTE> m_fileBuffer;
    std::size_t m_nPos = 0;
    std::uint64_t m_nFileLeft = 0; // bytes of the file not yet in m_fileBuffer
};
