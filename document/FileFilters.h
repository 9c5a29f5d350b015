// The file dialogs' filters and the names of file types, built from the table of picture
// formats and the drawing file, so that every list says the same.
#pragma once

#include "framework/core/Resource.h"

#include <string>
#include <vector>

// The two kinds of file the document writes.
enum class SkorelFile {
    Picture, // the opened picture as a BMP file
    Drawing, // the records in the archive form, then the picture, if any, as a BMP file
};

// The type a name says: .skr a drawing, .bmp a picture; else the type chosen.
SkorelFile TypeOfName(const std::string& name, SkorelFile chosen);
// The name with the type's extension in place of the one it has, if any.
std::string NamedAs(const std::string& name, SkorelFile type);
// The extension, without its dot, that names a picture file the document writes: a BMP file's.
std::string PictureExtension();

// Open's and Insert's filter: pictures and drawings together, then the drawing, the formats
// the program reads itself, the formats read through Qt, then every file.
std::string OpenFilter();
// Save As's filter: the picture as a BMP file, then the drawing; or the drawing alone.
std::string SaveAsFilter(bool bDrawingOnly);
// Export's filter: the exported formats in the table's order.
std::string ExportFilter();
// The exported formats' short names ("PNG, JPEG"), in the table's order.
std::string ExportedFormatNames();

// The formats that have every one of the uses, in the table's order.
std::vector<const res::PictureFormat*> FormatsFor(unsigned uses);
// The format with every one of the uses that the path's extension names (any case), or null.
const res::PictureFormat* FormatNamedBy(const std::string& path, unsigned uses);
// The format of Qt's codec name, or null.
const res::PictureFormat* FormatOfCodec(const char* pszCodec);
