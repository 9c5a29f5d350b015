#include "FileFilters.h"

#include "DrawingFile.h"

#include "res/resource.h"

#include "framework/core/File.h"

#include <algorithm>
#include <cstring>

namespace {

using Use = res::PictureFormat::Use;

// "*.a;*.b"
std::string Patterns(const std::vector<std::string>& extensions)
{
    std::string patterns;
    for (const std::string& ext : extensions)
        patterns += (patterns.empty() ? "*." : ";*.") + ext;
    return patterns;
}

std::vector<std::string> Extensions(const res::PictureFormat& format)
{
    return {format.extensions.begin(), format.extensions.end()};
}

// "name (*.a;*.b)|*.a;*.b|"
std::string Item(const std::string& name, const std::vector<std::string>& extensions)
{
    const std::string patterns = Patterns(extensions);
    return name + " (" + patterns + ")|" + patterns + "|";
}

std::string DrawingItem() { return Item(res::LoadString(IDS_DRAWING_FILES), {skr::kExtension}); }

} // namespace

std::vector<const res::PictureFormat*> FormatsFor(unsigned uses)
{
    std::vector<const res::PictureFormat*> formats;
    for (const res::PictureFormat& format : res::PictureFormats())
        if ((format.uses & uses) == uses)
            formats.push_back(&format);
    return formats;
}

const res::PictureFormat* FormatNamedBy(const std::string& path, unsigned uses)
{
    const std::string ext = FileExtension(path);
    for (const res::PictureFormat* format : FormatsFor(uses))
        if (std::ranges::any_of(format->extensions, [&ext](const char* e) { return ext == e; }))
            return format;
    return nullptr;
}

const res::PictureFormat* FormatOfCodec(const char* pszCodec)
{
    for (const res::PictureFormat& format : res::PictureFormats())
        if (format.codec && std::strcmp(format.codec, pszCodec) == 0)
            return &format;
    return nullptr;
}

std::string OpenFilter()
{
    // The program's own files first: the drawing, then what it reads without Qt.
    std::vector<const res::PictureFormat*> formats = FormatsFor(Use::Opened);
    std::stable_partition(formats.begin(), formats.end(), [](const res::PictureFormat* format) {
        return !(format->uses & Use::Decoded);
    });
    std::vector<std::string> all = {skr::kExtension};
    std::string items = DrawingItem();
    for (const res::PictureFormat* format : formats) {
        const std::vector<std::string> extensions = Extensions(*format);
        all.insert(all.end(), extensions.begin(), extensions.end());
        items += Item(format->name, extensions);
    }
    return std::string(res::LoadString(IDS_ALL_PICTURES)) + "|" + Patterns(all) + "|" + items +
           res::LoadString(IDS_ALL_FILES) + "|*||";
}

std::string SaveAsFilter(bool bDrawingOnly)
{
    const res::PictureFormat* bmp = FormatOfCodec("bmp");
    const std::string picture =
        bDrawingOnly || !bmp ? std::string() : Item(bmp->name, Extensions(*bmp));
    return picture + DrawingItem() + "|";
}

std::string ExportFilter()
{
    std::string filter;
    for (const res::PictureFormat* format : FormatsFor(Use::Exported))
        filter += Item(format->name, Extensions(*format));
    return filter + "|";
}

std::string ExportedFormatNames()
{
    std::string names;
    for (const res::PictureFormat* format : FormatsFor(Use::Exported)) {
        std::string name = format->codec;
        std::ranges::transform(name, name.begin(), [](char c) { return char(std::toupper(c)); });
        names += (names.empty() ? "" : ", ") + name;
    }
    return names;
}

std::string PictureExtension() { return FormatOfCodec("bmp")->extensions.front(); }

SkorelFile TypeOfName(const std::string& name, SkorelFile chosen)
{
    const std::string ext = FileExtension(name);
    if (ext == skr::kExtension)
        return SkorelFile::Drawing;
    if (ext == PictureExtension())
        return SkorelFile::Picture;
    return chosen;
}

std::string NamedAs(const std::string& name, SkorelFile type)
{
    return WithExtension(name, type == SkorelFile::Drawing ? skr::kExtension : PictureExtension());
}
