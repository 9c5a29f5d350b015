// Where pictures are read from: an open file, whatever bytes its name holds, and a path that
// names something else than a regular file.
#include "BmpFiles.h"

#include "image/BaseImage.h"

#include "tests/support/Pictures.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace bmptest;
using namespace testing_support;

namespace {

using Result = CPictureReader::Result;

struct SourceCase {
    const char* name;
    std::vector<BYTE> file;
};

class PictureSource : public ::testing::TestWithParam<SourceCase> {};

// A name that is not UTF-8 (0xC0 0xAF, an overlong '/'), as a file system may hold.
TEST_P(PictureSource, ReadsAFileWhoseNameIsNotUtf8ThroughItsHandleOrPath)
{
    QTemporaryDir dir;
    const std::string path =
        WriteFile(dir, "\xC0\xAF." + std::string(GetParam().name), GetParam().file);
    CBaseImage byHandle, byPath;
    {
        CFileHandle file; // locked against other openers while it is open
        ASSERT_TRUE(file.Open(path.c_str(), CFileHandle::Mode::ReadExisting));
        ASSERT_EQ(byHandle.LoadPicture(file, path), Result::Read);
    }
    EXPECT_EQ(byHandle.m_strFileName, path);
    EXPECT_TRUE(DibShows(byHandle.m_pBits, 7, 5, Stripes(7, 5)));
    ASSERT_EQ(byPath.LoadPicture(path.c_str()), Result::Read);
    EXPECT_TRUE(DibShows(byPath.m_pBits, 7, 5, Stripes(7, 5)));
}

INSTANTIATE_TEST_SUITE_P(Formats, PictureSource,
                         ::testing::Values(SourceCase{"png", Encoded(Stripes(7, 5), "png")},
                                           SourceCase{"bmp", Encoded(Stripes(7, 5), "bmp")}),
                         [](const auto& info) { return std::string(info.param.name); });

// A FIFO in place of the file would block an open for reading until a writer came.
TEST(PictureSource, APathThatNamesAFifoIsNoPictureAndDoesNotBlock)
{
    QTemporaryDir dir;
    const std::string path = dir.path().toStdString() + "/pipe.png";
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    CBaseImage image;
    EXPECT_EQ(image.LoadPicture(path.c_str()), Result::NotPicture);
    EXPECT_FALSE(image.LoadBMP(path.c_str()));
}

} // namespace
