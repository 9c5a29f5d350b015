// The file dialogs' filters and the names of file types, built from the table of picture
// formats and the drawing file, so that every list says the same.
#pragma once

#include "framework/core/Resource.h"

#include <string>
#include <vector>

// Open's and Insert's filter: pictures and drawings together, then the drawing, the formats
// the program reads itself, the formats read through Qt, then every file.
std::string OpenFilter();
// Save As's filter: the picture as a BMP file, then the drawing; or the drawing alone.
std::string SaveAsFilter(bool bDrawingOnly);
// Export's filter: the exported formats in the table's order.
std::string ExportFilter();

// The formats that have every one of the uses, in the table's order.
std::vector<const res::PictureFormat*> FormatsFor(unsigned uses);
// The format with every one of the uses that the path's extension names (any case), or null.
const res::PictureFormat* FormatNamedBy(const std::string& path, unsigned uses);
// The format of Qt's codec name, or null.
const res::PictureFormat* FormatOfCodec(const char* pszCodec);
