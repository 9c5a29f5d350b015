// Reading pictures of the formats other than BMP: decoded by the framework's picture reader
// into the rows of a 24-bit image. A BMP file among them goes to the image's own reader.
#include "BaseImage.h"

#include "framework/core/ByteOrder.h"

namespace {

using Result = CPictureReader::Result;

bool StartsAsBmp(const BYTE* head, std::size_t n)
{
    return n >= 2 && LoadLE16(head) == kBmpFileType;
}

} // namespace

CPictureReader::Result CBaseImage::LoadPicture(const char* pszPath, CProgress* pProgress)
{
    CFileHandle file;
    if (!pszPath || !file.Open(pszPath, CFileHandle::Mode::ReadExisting))
        return Result::NotPicture;
    return LoadPicture(file, pszPath, pProgress);
}

CPictureReader::Result CBaseImage::LoadPicture(CFileHandle& file, std::string name,
                                               CProgress* pProgress)
{
    BYTE head[2] = {};
    if (!file.Seek(0))
        return Result::NotPicture;
    if (StartsAsBmp(head, file.Read(head, sizeof head)))
        return LoadBMP(file, std::move(name)) ? Result::Read : Result::Refused;
    CPictureReader reader(file);
    return ReadPicture(reader, std::move(name), pProgress);
}

CPictureReader::Result CBaseImage::LoadPicture(std::vector<BYTE> bytes, CProgress* pProgress)
{
    if (StartsAsBmp(bytes.data(), bytes.size()))
        return LoadBMP(bytes) ? Result::Read : Result::Refused;
    CPictureReader reader(std::move(bytes));
    return ReadPicture(reader, std::string(), pProgress);
}

CPictureReader::Result CBaseImage::ReadPicture(CPictureReader& reader, std::string name,
                                               CProgress* pProgress)
{
    CDibPixels pixels;
    const Result result = reader.Read(pixels, pProgress);
    if (result != Result::Read)
        return result;
    // Everything is made in an image of its own and taken over only when it all worked.
    CBaseImage loaded;
    if (!loaded.CreateHeader(pixels.width, pixels.height, 0))
        return Result::Refused;
    loaded.m_bitsBlock = std::move(pixels.bits);
    loaded.SyncViews();
    loaded.m_bmfHeader = loaded.FileHeader();
    loaded.m_strFileName = std::move(name);
    Swap(loaded);
    return Result::Read;
}
