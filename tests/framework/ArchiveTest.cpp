// The archive: little-endian 32-bit integers in both directions, on buffers and files.
#include "framework/Archive.h"

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

TEST(Archive, FileRoundTripAcrossItsInternalChunks)
{
    QTemporaryFile tmp;
    ASSERT_TRUE(tmp.open());
    const std::string path = tmp.fileName().toStdString();
    constexpr int kCount = 40000; // more than one 64 KiB chunk
    {
        std::FILE* f = std::fopen(path.c_str(), "wb");
        ASSERT_NE(f, nullptr);
        CArchive ar(f, CArchive::store);
        for (int n = 0; n < kCount; ++n)
            ar << std::int32_t(n * 7 - 3);
        ar.Flush();
        std::fclose(f);
    }
    std::FILE* f = std::fopen(path.c_str(), "rb");
    ASSERT_NE(f, nullptr);
    CArchive ar(f, CArchive::load);
    for (int n = 0; n < kCount; ++n) {
        std::int32_t v = 0;
        ar >> v;
        ASSERT_EQ(v, n * 7 - 3);
    }
    std::int32_t v;
    EXPECT_THROW(ar >> v, CArchiveException);
    std::fclose(f);
}

TEST(Archive, ShortTailOfAFileIsAReadFailure)
{
    QTemporaryFile tmp;
    ASSERT_TRUE(tmp.open());
    tmp.write("\x01\x00\x00\x00\x02\x00", 6);
    tmp.flush();
    std::FILE* f = std::fopen(tmp.fileName().toStdString().c_str(), "rb");
    ASSERT_NE(f, nullptr);
    CArchive ar(f, CArchive::load);
    std::int32_t v = 0;
    ar >> v;
    EXPECT_EQ(v, 1);
    EXPECT_THROW(ar >> v, CArchiveException);
    std::fclose(f);
}

} // namespace
