// The picture formats the program reads and writes, most common first.
#include "res/Tables.h"

namespace res {

std::vector<PictureFormat> ProgramPictureFormats()
{
    using enum PictureFormat::Use;
    return {
        {"PNG 그림", {"png"}, {"image/png"}, "png", Opened | Decoded | Exported},
        {"JPEG 그림", {"jpg", "jpeg"}, {"image/jpeg"}, "jpeg", Opened | Decoded | Exported},
        {"BMP 그림",
         {"bmp"},
         {"image/bmp", "image/x-bmp", "image/x-ms-bmp", "image/x-MS-bmp", "CF_DIB"},
         "bmp",
         Opened | Exported},
        {"GIF 그림", {"gif"}, {"image/gif"}, "gif", Opened | Decoded},
        {"TIFF 그림", {"tif", "tiff"}, {"image/tiff"}, "tiff", Opened | Decoded},
        {"WebP 그림", {"webp"}, {"image/webp"}, "webp", Opened | Decoded},
        {"아이콘", {"ico"}, {"image/vnd.microsoft.icon", "image/x-icon"}, "ico", Opened | Decoded},
        {"SVG 그림", {"svg"}, {}, "svg", Exported},
    };
}

} // namespace res
