// The file dialogs' filters built from the table of picture formats, against the strings the
// dialogs have always shown, and the formats that names say.
#include "document/FileFilters.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

using Use = res::PictureFormat::Use;

struct FilterCase {
    const char* name;
    std::function<std::string()> build;
    const char* expected;
};

class FileFilter : public ::testing::TestWithParam<FilterCase> {};

TEST_P(FileFilter, ListsTheFormatsAsTheDialogsAlwaysHave)
{
    EXPECT_EQ(GetParam().build(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Dialogs, FileFilter,
    ::testing::Values(
        FilterCase{
            "Open", OpenFilter,
            "그림과 Skorel 그림|*.skr;*.bmp;*.png;*.jpg;*.jpeg;*.gif;*.tif;*.tiff;*.webp;*.ico|"
            "Skorel 그림 (*.skr)|*.skr|BMP 그림 (*.bmp)|*.bmp|PNG 그림 (*.png)|*.png|"
            "JPEG 그림 (*.jpg;*.jpeg)|*.jpg;*.jpeg|GIF 그림 (*.gif)|*.gif|"
            "TIFF 그림 (*.tif;*.tiff)|*.tif;*.tiff|WebP 그림 (*.webp)|*.webp|"
            "아이콘 (*.ico)|*.ico|모든 파일|*||"},
        FilterCase{"Export", ExportFilter,
                   "PNG 그림 (*.png)|*.png|JPEG 그림 (*.jpg;*.jpeg)|*.jpg;*.jpeg|"
                   "BMP 그림 (*.bmp)|*.bmp|SVG 그림 (*.svg)|*.svg||"},
        FilterCase{"SaveAs", [] { return SaveAsFilter(false); },
                   "BMP 그림 (*.bmp)|*.bmp|Skorel 그림 (*.skr)|*.skr||"},
        FilterCase{"SaveAsDrawing", [] { return SaveAsFilter(true); },
                   "Skorel 그림 (*.skr)|*.skr||"}),
    [](const auto& info) { return std::string(info.param.name); });

struct NameCase {
    const char* name;
    const char* path;
    unsigned uses;
    const char* codec; // of the format named; null for none
};

class FormatName : public ::testing::TestWithParam<NameCase> {};

TEST_P(FormatName, IsTheFormatWithTheUsesThatTheExtensionSays)
{
    const NameCase& c = GetParam();
    const res::PictureFormat* format = FormatNamedBy(c.path, c.uses);
    EXPECT_STREQ(format ? format->codec : nullptr, c.codec);
}

INSTANTIATE_TEST_SUITE_P(
    Names, FormatName,
    ::testing::Values(NameCase{"SecondExtension", "/a/b.JPEG", Use::Exported, "jpeg"},
                      NameCase{"OpenedOnly", "b.gif", Use::Opened, "gif"},
                      NameCase{"NotExported", "b.gif", Use::Exported, nullptr},
                      NameCase{"FolderDotOnly", "/a.png/b", Use::Opened, nullptr},
                      NameCase{"DrawingIsNoPicture", "b.skr", Use::Opened, nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
