// Little-endian 32-bit integers on a file or a byte buffer, in one direction.
#pragma once

#include "Types.h"

#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

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
    // On a file opened by the caller; the archive does not close it.
    CArchive(std::FILE* file, Mode mode);
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

private:
    void Write32(std::uint32_t v);
    std::uint32_t Read32();
    void FillBuffer();

    Mode m_mode;
    std::vector<BYTE>* m_pBuffer = nullptr;
    std::FILE* m_pFile = nullptr;
    std::vector<BYTE> m_fileBuffer;
    std::size_t m_nPos = 0;
};
