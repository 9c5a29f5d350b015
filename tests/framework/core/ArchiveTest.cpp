// The archive: little-endian 32-bit integers in both directions, on buffers and files.
#include "framework/core/Archive.h"
#include "framework/core/File.h"

#include <QTemporaryDir>
#include <QTemporaryFile>

#include <gtest/gtest.h>

namespace {

TEST(Archive, StoresLittleEndianSignedAndUnsigned)
{
    std::vector<BYTE> buf;
    CArchive ar(buf, CArchive::store);
    ar << std::int32_t(-1) << std::uint32_t(0x01020304) << std::int32_t(INT32_MIN);
    EXPECT_EQ(buf, (std::vector<BYTE>{0xFF, 0xFF, 0xFF, 0xFF, 4, 3, 2, 1, 0, 0, 0, 0x80}));
    EXPECT_TRUE(ar.IsStoring());
}

TEST(Archive, LoadsWhatWasStoredAndRaisesPastTheEnd)
{
    std::vector<BYTE> buf = {0x78, 0x56, 0x34, 0x12, 0xFE, 0xFF, 0xFF, 0xFF, 0xAA};
    CArchive ar(buf, CArchive::load);
    std::uint32_t u = 0;
    std::int32_t i = 0;
    ar >> u >> i;
    EXPECT_EQ(u, 0x12345678u);
    EXPECT_EQ(i, -2);
    EXPECT_THROW(ar >> i, CArchiveException);
}

TEST(Archive, FileRoundTripAcrossItsInternalChunksCountsWhatIsLeft)
{
    QTemporaryDir dir;
    const std::string path = dir.filePath("a.bin").toStdString();
    constexpr int kCount = 40000; // more than one 64 KiB chunk
    {
        CFileHandle file;
        ASSERT_TRUE(file.Open(path.c_str(), CFileHandle::Mode::CreateNew));
        CArchive ar(file, CArchive::store);
        for (int n = 0; n < kCount; ++n)
            ar << std::int32_t(n * 7 - 3);
        ar.Flush();
    }
    CFileHandle file;
    ASSERT_TRUE(file.Open(path.c_str(), CFileHandle::Mode::ReadExisting));
    CArchive ar(file, CArchive::load);
    EXPECT_EQ(ar.BytesLeft(), 4u * kCount);
    for (int n = 0; n < kCount; ++n) {
        std::int32_t v = 0;
        ar >> v;
        ASSERT_EQ(v, n * 7 - 3);
        if (n == 20000) {
            EXPECT_EQ(ar.BytesLeft(), 4u * (kCount - n - 1));
        }
    }
    EXPECT_EQ(ar.BytesLeft(), 0u);
    std::int32_t v;
    EXPECT_THROW(ar >> v, CArchiveException);
}

TEST(Archive, ShortTailOfAFileIsAReadFailure)
{
    QTemporaryFile tmp;
    ASSERT_TRUE(tmp.open());
    tmp.write("\x01\x00\x00\x00\x02\x00", 6);
    tmp.flush();
    CFileHandle file;
    ASSERT_TRUE(file.Open(tmp.fileName().toStdString().c_str(), CFileHandle::Mode::ReadExisting));
    CArchive ar(file, CArchive::load);
    std::int32_t v = 0;
    ar >> v;
    EXPECT_EQ(v, 1);
    EXPECT_EQ(ar.BytesLeft(), 2u);
    EXPECT_THROW(ar >> v, CArchiveException);
}

} // namespace
