// The shape record's archive form.
#include "shapes/Data.h"
#include "tests/shapes/Records.h"

#include <gtest/gtest.h>

namespace {

std::vector<BYTE> Store(CData& d)
{
    std::vector<BYTE> buf;
    CArchive ar(buf, CArchive::store);
    d.Serialize(ar);
    return buf;
}

TEST(ShapeRecord, StoresTheExample32Bytes)
{
    CData d = Record(1, {10, 20}, {5, 7}, RGB(255, 0, 0), RGB(255, 255, 255), 3);
    const std::vector<BYTE> expected = {0x0A, 0, 0,    0,    0x14, 0, 0, 0, 5, 0,    0,
                                        0,    7, 0,    0,    0,    1, 0, 0, 0, 0xFF, 0,
                                        0,    0, 0xFF, 0xFF, 0xFF, 0, 3, 0, 0, 0};
    EXPECT_EQ(Store(d), expected);
}

TEST(ShapeRecord, UnusedRectangleIsNotArchived)
{
    CData a = Record(2, {1, 2}, {3, 4}, 0, 0, 1);
    CData b = a;
    a.m_rect = CRect(0, 0, 0, 0);
    b.m_rect = CRect(-9, 99, 12345, -1);
    EXPECT_EQ(Store(a), Store(b));
}

struct RoundTrip {
    const char* name;
    CData record;
};

class ShapeRecordRoundTrip : public ::testing::TestWithParam<RoundTrip> {};

TEST_P(ShapeRecordRoundTrip, LoadsBitForBitWhatWasStored)
{
    CData original = GetParam().record;
    std::vector<BYTE> buf = Store(original);
    ASSERT_EQ(buf.size(), 32u);
    CData loaded;
    CArchive ar(buf, CArchive::load);
    loaded.Serialize(ar);
    EXPECT_EQ(loaded.m_ptStart, original.m_ptStart);
    EXPECT_EQ(loaded.m_ptEnd, original.m_ptEnd);
    EXPECT_EQ(loaded.m_nKind, original.m_nKind);
    EXPECT_EQ(loaded.m_crLine, original.m_crLine);
    EXPECT_EQ(loaded.m_crFill, original.m_crFill);
    EXPECT_EQ(loaded.m_nThickness, original.m_nThickness);
    EXPECT_EQ(Store(loaded), buf);
}

INSTANTIATE_TEST_SUITE_P(
    Records, ShapeRecordRoundTrip,
    ::testing::Values(
        RoundTrip{"NegativeCoordinates", Record(2, {-1, -2}, {INT32_MIN, -300}, 1, 2, 7)},
        RoundTrip{"UnknownKindStaysSeven", Record(7, {0, 0}, {9, 9}, 0, 0, 1)},
        RoundTrip{"ColourWithTopByte", Record(3, {5, 5}, {6, 6}, 0xFF123456, 0x80000000, 1)},
        RoundTrip{"ZeroAndNegativeThickness", Record(1, {1, 1}, {2, 2}, 0, 0, -4)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ShapeRecord, NegativeCoordinateIsTwosComplement)
{
    CData d = Record(1, {-1, 0}, {0, 0}, 0, 0, 1);
    const std::vector<BYTE> buf = Store(d);
    EXPECT_EQ(std::vector<BYTE>(buf.begin(), buf.begin() + 4),
              (std::vector<BYTE>{0xFF, 0xFF, 0xFF, 0xFF}));
}

TEST(ShapeRecord, ShortArchiveRaisesAndKeepsWhatWasRead)
{
    std::vector<BYTE> buf = {4, 0, 0, 0, 8, 0, 0, 0, 1, 0};
    CData d = Record(0, {0, 0}, {77, 77}, 0, 0, 0);
    CArchive ar(buf, CArchive::load);
    EXPECT_THROW(d.Serialize(ar), CArchiveException);
    EXPECT_EQ(d.m_ptStart, CPoint(4, 8));
}

} // namespace
