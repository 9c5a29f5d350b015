// The drawing file (.skr): the signature "SKRL" and a 32-bit version, the archive form of the
// records, then the picture, if any, as a BMP file. Files written before the signature start
// with the archive form at once. The recovery journal keeps a drawing in the same form.
#pragma once

#include "image/BaseImage.h"
#include "shapes/Data.h"

#include "framework/core/Archive.h"
#include "framework/core/File.h"
#include "framework/core/Types.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace skr {

constexpr BYTE kSignature[4] = {'S', 'K', 'R', 'L'};
// The versions: 1, and 2 for a drawing that holds a hollow box (a fill of kNoFill, which
// version 1 does not know). A drawing is written with the lowest version that holds it.
constexpr std::uint32_t kVersion = 2;
// The extension that names a drawing file.
constexpr const char* kExtension = "skr";

// The archive form: a signed 32-bit count, then that many records head to tail, each in the
// record's own form. For the drawing and the clipboard alike.
void StoreRecords(CArchive& ar, const std::vector<CData*>& records);
// Reads a count and that many records; false, with nothing read into `records`, when the data
// is short of them. Raises nothing.
bool ReadRecords(CArchive& ar, std::vector<std::unique_ptr<CData>>& records);
// Appends a drawing's signature, version and records, as a drawing file holds them.
void StoreDrawing(std::vector<BYTE>& bytes, const std::vector<CData*>& records);
// Reads them back; false when the signature, the version or the records are not a drawing's.
// Raises nothing.
bool ReadDrawing(CArchive& ar, std::vector<std::unique_ptr<CData>>& records);
// Records of a version before 2 (or of a drawing written before the signature) as that version
// drew them: kNoFill was a colour then, white.
void FillAsVersion1(std::vector<std::unique_ptr<CData>>& records);
// Replaces the file at the path with the drawing: the records, then the picture when it has
// pixels. False, with the file as it was, when the write fails.
bool WriteDrawing(const char* pszPath, const std::vector<CData*>& records,
                  const CBaseImage* pPicture);

// What a file holds, judged by more than its first bytes.
struct FileKind {
    std::uint32_t version = 0; // a drawing's; 0 before the signature
    bool drawing = false;      // the count says exactly how long the records are, and what follows
                               // them is nothing or a BMP file
    bool picture = false;      // starts as a BMP file does and is not named as a drawing
    std::uint64_t recordsOffset = 0; // where a drawing's count is
    std::uint64_t pictureOffset = 0; // a drawing's picture, when it has one
};
// Looks at the open file from its start. A drawing of a later version than kVersion is
// neither a drawing nor a picture. A BMP file can also read as a drawing written before the
// signature (of at least 19,778 records); its name decides: .skr (any case) makes it a
// drawing alone.
FileKind Examine(CFileHandle& file, const std::string& name);

} // namespace skr
