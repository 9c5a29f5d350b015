#include "DrawingFile.h"

#include "framework/gdi/Dib.h"
#include "shapes/Shape.h"

#include "framework/core/ByteOrder.h"

#include <algorithm>

namespace skr {

namespace {

// The bytes of a drawing's signature and version.
constexpr std::uint64_t kSignatureBytes = 8;

// Whether the archive form at `at` runs exactly to the end of the file or to a BMP file.
bool FindDrawing(CFileHandle& file, std::uint64_t length, std::uint64_t at, FileKind& kind)
{
    BYTE head[4] = {};
    if (!file.Seek(at) || file.Read(head, sizeof head) != sizeof head)
        return false;
    const auto count = std::int32_t(LoadLE32(head));
    if (count < 0)
        return false;
    const std::uint64_t end = at + 4 + CData::kArchiveBytes * std::uint64_t(count);
    BYTE magic[2] = {};
    if (length == end) {
        kind.drawing = true;
    } else if (length > end + 2 && file.Seek(end) && file.Read(magic, 2) == 2 &&
               LoadLE16(magic) == kBmpFileType) {
        kind.drawing = true;
        kind.pictureOffset = end;
    }
    kind.recordsOffset = at;
    return kind.drawing;
}

} // namespace

void StoreRecords(CArchive& ar, const std::vector<CData*>& records)
{
    ar << std::int32_t(records.size());
    for (CData* pData : records)
        pData->Serialize(ar);
}

bool ReadRecords(CArchive& ar, std::vector<std::unique_ptr<CData>>& records)
{
    if (ar.BytesLeft() < 4)
        return false;
    std::int32_t count = 0;
    ar >> count;
    if (count > 0 && std::uint64_t(count) > ar.BytesLeft() / CData::kArchiveBytes)
        return false;
    records.reserve(records.size() + std::size_t(std::max(count, 0)));
    for (std::int32_t i = 0; i < count; ++i) {
        records.push_back(std::make_unique<CData>());
        records.back()->Serialize(ar);
    }
    return true;
}

void StoreDrawing(std::vector<BYTE>& bytes, const std::vector<CData*>& records)
{
    bytes.insert(bytes.end(), std::begin(kSignature), std::end(kSignature));
    CArchive ar(bytes, CArchive::store);
    const bool hollow =
        std::ranges::any_of(records, [](const CData* pData) { return IsHollow(*pData); });
    ar << std::uint32_t(hollow ? 2 : 1);
    StoreRecords(ar, records);
}

bool ReadDrawing(CArchive& ar, std::vector<std::unique_ptr<CData>>& records)
{
    std::uint32_t signature = 0, version = 0;
    if (ar.BytesLeft() < kSignatureBytes)
        return false;
    ar >> signature >> version;
    if (signature != LoadLE32(kSignature) || version < 1 || version > kVersion ||
        !ReadRecords(ar, records))
        return false;
    if (version < 2)
        FillAsVersion1(records);
    return true;
}

void FillAsVersion1(std::vector<std::unique_ptr<CData>>& records)
{
    for (const std::unique_ptr<CData>& pData : records)
        if (pData->m_crFill == kNoFill)
            pData->m_crFill = RGB(255, 255, 255);
}

bool WriteDrawing(const char* pszPath, const std::vector<CData*>& records,
                  const CBaseImage* pPicture)
{
    std::vector<BYTE> head;
    StoreDrawing(head, records);
    const bool picture = pPicture && pPicture->m_pBits;
    return ReplaceFile(pszPath, [&](const ByteSink& write) {
        return write(head.data(), head.size()) && (!picture || pPicture->WriteTo(write));
    });
}

FileKind Examine(CFileHandle& file, const std::string& name)
{
    FileKind kind;
    std::uint64_t length = 0;
    BYTE head[kSignatureBytes] = {};
    if (!file.Length(length) || !file.Seek(0) || file.Read(head, sizeof head) < 2)
        return kind;
    if (length >= kSignatureBytes &&
        std::equal(std::begin(kSignature), std::end(kSignature), head)) {
        // A later version's drawing is not ours to read.
        kind.version = LoadLE32(head + 4);
        if (kind.version >= 1 && kind.version <= kVersion)
            FindDrawing(file, length, kSignatureBytes, kind);
        return kind;
    }
    FindDrawing(file, length, 0, kind);
    kind.picture =
        LoadLE16(head) == kBmpFileType && !(kind.drawing && FileExtension(name) == kExtension);
    return kind;
}

} // namespace skr
