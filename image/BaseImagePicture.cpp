// Reading pictures of the formats other than BMP: decoded by the framework's picture reader
// into the rows of a 24-bit image.
#include "BaseImage.h"

CPictureReader::Result CBaseImage::LoadPicture(const char* pszPath)
{
    if (!pszPath)
        return CPictureReader::Result::NotPicture;
    CPictureReader reader(pszPath);
    return ReadPicture(reader, pszPath);
}

CPictureReader::Result CBaseImage::LoadPicture(std::vector<BYTE> bytes)
{
    CPictureReader reader(std::move(bytes));
    return ReadPicture(reader, std::string());
}

CPictureReader::Result CBaseImage::ReadPicture(CPictureReader& reader, std::string name)
{
    CDibPixels pixels;
    const CPictureReader::Result result = reader.Read(pixels);
    if (result != CPictureReader::Result::Read)
        return result;
    // Everything is made in an image of its own and taken over only when it all worked.
    CBaseImage loaded;
    if (!loaded.CreateHeader(pixels.width, pixels.height, 0))
        return CPictureReader::Result::Refused;
    loaded.m_bitsBlock = std::move(pixels.bits);
    loaded.SyncViews();
    loaded.m_bmfHeader = loaded.FileHeader();
    loaded.m_strFileName = std::move(name);
    Swap(loaded);
    return CPictureReader::Result::Read;
}
