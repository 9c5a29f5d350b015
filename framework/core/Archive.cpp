#include "Archive.h"

#include "ByteOrder.h"
#include "File.h"

#include <algorithm>

namespace {
constexpr std::size_t kFileChunk = 64 * 1024;
}

CArchive::CArchive(std::vector<BYTE>& buffer, Mode mode) : m_mode(mode), m_pBuffer(&buffer) {}

CArchive::CArchive(CFileHandle& file, Mode mode) : m_mode(mode), m_pFile(&file)
{
    std::uint64_t length = 0, at = 0;
    if (IsLoading() && file.Length(length) && file.Position(at))
        m_nFileLeft = length - std::min(length, at);
}

CArchive::~CArchive()
{
    // A store that was never flushed explicitly still reaches the file; errors here can't be
    // raised from a destructor, so callers that care call Flush themselves.
    if (m_pFile && IsStoring() && !m_fileBuffer.empty())
        m_pFile->Write(m_fileBuffer.data(), m_fileBuffer.size());
}

CArchive& CArchive::operator<<(std::int32_t v)
{
    Write32(static_cast<std::uint32_t>(v));
    return *this;
}

CArchive& CArchive::operator<<(std::uint32_t v)
{
    Write32(v);
    return *this;
}

CArchive& CArchive::operator>>(std::int32_t& v)
{
    v = static_cast<std::int32_t>(Read32());
    return *this;
}

CArchive& CArchive::operator>>(std::uint32_t& v)
{
    v = Read32();
    return *this;
}

void CArchive::Write32(std::uint32_t v)
{
    BYTE bytes[4];
    StoreLE32(bytes, v);
    std::vector<BYTE>& out = m_pBuffer ? *m_pBuffer : m_fileBuffer;
    out.insert(out.end(), bytes, bytes + 4);
    if (m_pFile && m_fileBuffer.size() >= kFileChunk)
        Flush();
}

void CArchive::Flush()
{
    if (!m_pFile || m_fileBuffer.empty())
        return;
    const bool ok = m_pFile->Write(m_fileBuffer.data(), m_fileBuffer.size());
    m_fileBuffer.clear();
    if (!ok)
        throw CArchiveException(CArchiveException::writeFailed, "archive write failed");
}

void CArchive::FillBuffer()
{
    // Keep the unread tail and append the next chunk of the file behind it.
    m_fileBuffer.erase(m_fileBuffer.begin(), m_fileBuffer.begin() + std::ptrdiff_t(m_nPos));
    m_nPos = 0;
    const std::size_t old = m_fileBuffer.size();
    m_fileBuffer.resize(old + kFileChunk);
    const std::size_t n = m_pFile->Read(m_fileBuffer.data() + old, kFileChunk);
    m_fileBuffer.resize(old + n);
    m_nFileLeft -= std::min<std::uint64_t>(m_nFileLeft, n);
}

std::uint64_t CArchive::BytesLeft() const
{
    const std::vector<BYTE>& buffer = m_pBuffer ? *m_pBuffer : m_fileBuffer;
    return buffer.size() - m_nPos + (m_pFile ? m_nFileLeft : 0);
}

std::uint32_t CArchive::Read32()
{
    const std::vector<BYTE>* src = m_pBuffer;
    if (m_pFile) {
        if (m_fileBuffer.size() - m_nPos < 4)
            FillBuffer();
        src = &m_fileBuffer;
    }
    if (src->size() - m_nPos < 4)
        throw CArchiveException(CArchiveException::endOfFile, "unexpected end of archive");
    const BYTE* p = src->data() + m_nPos;
    m_nPos += 4;
    return LoadLE32(p);
}
