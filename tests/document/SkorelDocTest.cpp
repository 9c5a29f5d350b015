// The document: the archive form, opening archives and pictures (and damaged files), Save As
// of the picture, New, and ownership of records and picture.
#include "document/SkorelDoc.h"
#include "res/resource.h"

#include "tests/support/ModalAnswers.h"
#include "tests/support/Pictures.h"

#include "framework/core/Commands.h"
#include "framework/core/Resource.h"
#include "framework/gdi/Gdi.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <climits>
#include <cstdint>
#include <vector>

namespace {

using Bytes = std::vector<BYTE>;

void Put32(Bytes& b, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b.push_back(BYTE(v >> (8 * i)));
}

// The 32 bytes of one line record whose fields all derive from `n`.
Bytes RecordBytes(int n)
{
    Bytes b;
    for (std::uint32_t v : {std::uint32_t(n), std::uint32_t(n + 1), std::uint32_t(n + 2),
                            std::uint32_t(n + 3), 1u, 0xFFu, 0xFFFFFFu, 3u})
        Put32(b, v);
    return b;
}

Bytes Archive(std::int32_t count, int records)
{
    Bytes b;
    Put32(b, std::uint32_t(count));
    for (int i = 0; i < records; ++i) {
        const Bytes r = RecordBytes(10 * (i + 1));
        b.insert(b.end(), r.begin(), r.end());
    }
    return b;
}

// A 24-bit BMP file of w × h pixels with a 40-byte info header, every pixel mid-grey.
Bytes Bmp24(int w, int h)
{
    const std::uint32_t row = std::uint32_t((3 * w + 3) / 4 * 4);
    const std::uint32_t pixels = row * std::uint32_t(h);
    Bytes b = {'B', 'M'};
    for (std::uint32_t v : {54 + pixels, 0u, 54u, 40u, std::uint32_t(w), std::uint32_t(h)})
        Put32(b, v);
    b.push_back(1);
    b.push_back(0); // planes
    b.push_back(24);
    b.push_back(0); // bits
    for (std::uint32_t v : {0u, pixels, 2835u, 2835u, 0u, 0u})
        Put32(b, v);
    b.resize(b.size() + pixels, 0x80);
    return b;
}

std::vector<int> RecordIds(const CSkorelDoc& doc)
{
    std::vector<int> ids;
    for (POSITION pos = doc.m_shapeList.GetHeadPosition(); pos;)
        ids.push_back(doc.m_shapeList.GetNext(pos)->m_ptStart.x);
    return ids;
}

void AddRecord(CSkorelDoc& doc, int id)
{
    auto d = std::make_unique<CData>();
    d->m_ptStart = CPoint(id, id + 1);
    d->m_ptEnd = CPoint(id + 2, id + 3);
    d->m_nKind = SHAPE_LINE;
    d->m_crLine = 0xFF;
    d->m_crFill = 0xFFFFFF;
    d->m_nThickness = 3;
    std::vector<std::unique_ptr<CData>> one;
    one.push_back(std::move(d));
    doc.AddShapes(std::move(one), false);
}

class SkorelDocTest : public ::testing::Test {
protected:
    std::string Write(const char* name, const Bytes& bytes) const
    {
        const QString path = m_dir.filePath(QString::fromUtf8(name));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
        SaveSeed(name, bytes);
        return path.toStdString();
    }
    std::string PathOf(const char* name) const
    {
        return m_dir.filePath(QString::fromUtf8(name)).toStdString();
    }
    // Files the tests open are good starting points for the document fuzzer.
    static void SaveSeed(const char* name, const Bytes& bytes)
    {
        const QByteArray root = qgetenv("SKOREL_FUZZ_SEEDS");
        if (root.isEmpty() || bytes.size() > 65536)
            return;
        const QString dir = QString::fromUtf8(root) + "/fuzz_doc";
        QDir().mkpath(dir);
        QFile f(dir + "/" + QString::fromUtf8(name));
        if (f.open(QIODevice::WriteOnly))
            f.write(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
    }
    // Opens a file whose open is expected to fail with one message, which it returns.
    QString OpenFailing(const std::string& path)
    {
        ModalAnswers answers({ModalAnswers::Click(QMessageBox::Ok)});
        EXPECT_FALSE(m_doc.OnOpenDoc(path.c_str()));
        return answers.Texts().value(0);
    }

    QTemporaryDir m_dir;
    CSkorelDoc m_doc;
};

// ---- construction -----------------------------------------------------------------------

TEST_F(SkorelDocTest, StartsEmptyWithTheFrameAwayFromTheCanvas)
{
    EXPECT_STREQ(CSkorelDoc::classCSkorelDoc.m_lpszClassName, "CSkorelDoc");
    EXPECT_EQ(CSkorelDoc::classCSkorelDoc.m_pBaseClass, RUNTIME_CLASS(CDocument));
    std::unique_ptr<CObject> created(RUNTIME_CLASS(CSkorelDoc)->CreateObject());
    EXPECT_TRUE(created->IsKindOf(RUNTIME_CLASS(CSkorelDoc)));

    EXPECT_TRUE(m_doc.m_shapeList.IsEmpty());
    EXPECT_EQ(m_doc.m_pImage, nullptr);
    EXPECT_EQ(m_doc.m_tracker.m_nStyle, 20u);
    EXPECT_FALSE(m_doc.IsModified());

    CDC dc;
    CBitmap bmp;
    dc.CreateCompatibleDC(nullptr);
    bmp.CreateCompatibleBitmap(&dc, 1280, 1024);
    dc.SelectObject(&bmp);
    dc.FillSolidRect(0, 0, 1280, 1024, RGB(255, 255, 255));
    m_doc.m_tracker.Draw(&dc);
    for (int y = 0; y < 1024; y += 1)
        for (int x = 0; x < 1280; x += 1)
            ASSERT_EQ(dc.GetPixel(x, y), RGB(255, 255, 255)) << x << "," << y;
}

// ---- the archive form -------------------------------------------------------------------

TEST_F(SkorelDocTest, EmptyListStoresFourZeroBytes)
{
    Bytes out;
    CArchive ar(out, CArchive::store);
    m_doc.Serialize(ar);
    EXPECT_EQ(out, (Bytes{0, 0, 0, 0}));
}

TEST_F(SkorelDocTest, StoresTheCountThenTheRecordsHeadToTail)
{
    for (int id : {10, 20, 30})
        AddRecord(m_doc, id);
    Bytes out;
    CArchive ar(out, CArchive::store);
    m_doc.Serialize(ar);
    EXPECT_EQ(out, Archive(3, 3));
}

struct LoadCase {
    const char* name;
    std::int32_t count;
    int records;    // whole records in the data
    int extraBytes; // a cut-off record behind them
    bool throws;
    std::vector<int> ids; // records after loading, behind the one already there (id 1)
};

class SkorelDocLoad : public SkorelDocTest, public ::testing::WithParamInterface<LoadCase> {};

TEST_P(SkorelDocLoad, AppendsEveryRecordOrNone)
{
    const LoadCase& c = GetParam();
    AddRecord(m_doc, 1);
    Bytes data = Archive(c.count, c.records);
    data.resize(data.size() + std::size_t(c.extraBytes), 0x11);
    CArchive ar(data, CArchive::load);
    if (c.throws)
        EXPECT_THROW(m_doc.Serialize(ar), CArchiveException);
    else
        EXPECT_NO_THROW(m_doc.Serialize(ar));
    EXPECT_EQ(RecordIds(m_doc), c.ids);
}

INSTANTIATE_TEST_SUITE_P(
    Counts, SkorelDocLoad,
    ::testing::Values(LoadCase{"ZeroReadsNothing", 0, 0, 0, false, {1}},
                      LoadCase{"NegativeReadsNothing", -1, 2, 0, false, {1}},
                      LoadCase{"MostNegativeReadsNothing", INT_MIN, 1, 0, false, {1}},
                      LoadCase{"ThreeInFileOrder", 3, 3, 0, false, {1, 10, 20, 30}},
                      LoadCase{"DataBeyondTheCountIsLeft", 1, 2, 0, false, {1, 10}},
                      LoadCase{"CountLargerThanTheData", 4, 2, 0, true, {1}},
                      LoadCase{"CutOffRecordAddsNothing", 3, 2, 31, true, {1}},
                      LoadCase{"HugeCountReservesNothing", INT_MAX, 1, 0, true, {1}}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- opening archives -------------------------------------------------------------------

// A drawing written with the signature: "SKRL", version 1, then the archive form.
Bytes Signed(const Bytes& archive, std::uint32_t version = 1)
{
    Bytes b = {'S', 'K', 'R', 'L'};
    Put32(b, version);
    b.insert(b.end(), archive.begin(), archive.end());
    return b;
}

struct OpenCase {
    const char* name;
    bool drawnBefore; // a shape (id 1) was there before the open
    Bytes file;
    std::vector<int> ids;
    bool modified;
};

class SkorelDocOpen : public SkorelDocTest, public ::testing::WithParamInterface<OpenCase> {};

// An open appends a drawing's records and replaces the picture with the file's (a drawing
// without one leaves an empty picture); afterwards the document is unmodified only when it
// holds exactly what the file does.
TEST_P(SkorelDocOpen, IsUnmodifiedOnlyWhenTheDocumentIsTheFile)
{
    const OpenCase& c = GetParam();
    ASSERT_TRUE(m_doc.OnOpenDoc(Write("before.bmp", Bmp24(3, 3)).c_str()));
    if (c.drawnBefore)
        AddRecord(m_doc, 1);
    ModalAnswers none({});
    ASSERT_TRUE(m_doc.OnOpenDoc(Write(c.name, c.file).c_str()));
    EXPECT_EQ(RecordIds(m_doc), c.ids);
    ASSERT_NE(m_doc.m_pImage, nullptr);
    EXPECT_NE(m_doc.m_pImage->GetSize(), CSize(3, 3));
    EXPECT_EQ(m_doc.IsModified(), c.modified);
    QTest::qWait(30);
    EXPECT_EQ(none.Unexpected(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Files, SkorelDocOpen,
    ::testing::Values(OpenCase{"Drawing", false, Archive(2, 2), {10, 20}, false},
                      OpenCase{"SignedDrawing", false, Signed(Archive(1, 1)), {10}, false},
                      OpenCase{"DrawingOverShapes", true, Archive(2, 2), {1, 10, 20}, true},
                      OpenCase{"Picture", false, Bmp24(2, 2), {}, false}),
    [](const auto& info) { return std::string(info.param.name); });

// A BMP file whose first bytes also make an exact drawing of 19,778 records opens as the
// picture it is, unless it is named as a drawing.
TEST_F(SkorelDocTest, PictureThatAlsoReadsAsADrawingOpensByItsName)
{
    Bytes file = Bmp24(200, 200);
    file[2] = file[3] = 0; // the size field (128 KB) has a low half of 0: the count's
    file[4] = 2;
    file.resize(4 + 32 * 19778, 0);
    ModalAnswers none({});
    ASSERT_TRUE(m_doc.OnOpenDoc(Write("both.bmp", file).c_str()));
    EXPECT_TRUE(m_doc.m_shapeList.IsEmpty());
    EXPECT_EQ(m_doc.m_pImage->GetSize(), CSize(200, 200));
    ASSERT_TRUE(m_doc.OnOpenDoc(Write("both.skr", file).c_str()));
    EXPECT_EQ(m_doc.m_shapeList.GetCount(), 19778);
    EXPECT_EQ(none.Unexpected(), 0);
}

struct FailedOpenCase {
    const char* name;
    Bytes bytes;
};

class SkorelDocFailedOpen : public SkorelDocTest,
                            public ::testing::WithParamInterface<FailedOpenCase> {};

// Whatever the file holds, a failed open adds no record and keeps the picture and the title.
TEST_P(SkorelDocFailedOpen, ChangesNothing)
{
    AddRecord(m_doc, 1);
    ASSERT_TRUE(m_doc.OnOpenDoc(Write("bmp.bmp", Bmp24(2, 2)).c_str()));
    m_doc.SetPathName(PathOf("bmp.bmp").c_str());
    const CBaseImage* picture = m_doc.m_pImage.get();
    const QString message = OpenFailing(Write(GetParam().name, GetParam().bytes));
    EXPECT_TRUE(message.contains(QString::fromUtf8(res::LoadString(AFX_IDP_FAILED_TO_READ_DOC))));
    EXPECT_EQ(RecordIds(m_doc), (std::vector<int>{1}));
    EXPECT_EQ(m_doc.m_pImage.get(), picture);
    EXPECT_EQ(m_doc.GetTitle(), "bmp.bmp");
}

Bytes Cat(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Bytes Png()
{
    Bytes b = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
    b.resize(208, 0x54);
    return b;
}

INSTANTIATE_TEST_SUITE_P(
    Files, SkorelDocFailedOpen,
    ::testing::Values(FailedOpenCase{"ShortArchive", Archive(3, 1)},
                      FailedOpenCase{"Text",
                                     Bytes{'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l'}},
                      FailedOpenCase{"ThreeBytes", Bytes{1, 0, 0}},
                      FailedOpenCase{"NegativeCount", Archive(-1, 2)},
                      FailedOpenCase{"MostNegativeCount", Archive(INT_MIN, 0)},
                      FailedOpenCase{"DrawingThenNotAPicture", Cat(Archive(1, 1), Png())},
                      FailedOpenCase{"SignedWithALaterVersion", Signed(Archive(0, 0), 2)},
                      FailedOpenCase{"SignedAndShort", Signed(Archive(2, 1))},
                      // Only "BM" marks a picture: "B" then anything else is an archive.
                      FailedOpenCase{"BWithoutM", Bytes{'B', 'N', 0, 0, 1, 2, 3, 4}}),
    [](const auto& info) { return std::string(info.param.name); });

// Special files are refused at once, without blocking or reading without end.
TEST_F(SkorelDocTest, OnlyRegularFilesOpen)
{
    ASSERT_EQ(::mkfifo(PathOf("fifo").c_str(), 0600), 0);
    for (const std::string& path : {PathOf("fifo"), std::string("/dev/zero"),
                                    std::string("/dev/urandom"), m_dir.path().toStdString()}) {
        const QString message = OpenFailing(path);
        EXPECT_TRUE(
            message.contains(QString::fromUtf8(res::LoadString(AFX_IDP_FAILED_TO_OPEN_DOC))))
            << path;
        EXPECT_TRUE(m_doc.m_shapeList.IsEmpty());
        EXPECT_EQ(m_doc.m_pImage, nullptr);
    }
}

TEST_F(SkorelDocTest, MissingFileIsReportedAndChangesNothing)
{
    const QString message = OpenFailing(PathOf("missing.skr"));
    EXPECT_TRUE(message.contains(QString::fromUtf8(res::LoadString(AFX_IDP_FAILED_TO_OPEN_DOC))));
    EXPECT_EQ(m_doc.m_pImage, nullptr);
}

// ---- opening pictures -------------------------------------------------------------------

struct BmpCase {
    const char* name;
    int w, h;
    bool countNegative; // what the first four bytes say read as a record count
};

class SkorelDocOpenBmp : public SkorelDocTest, public ::testing::WithParamInterface<BmpCase> {};

TEST_P(SkorelDocOpenBmp, OpensAsAPictureOnly)
{
    const BmpCase& c = GetParam();
    const Bytes file = Bmp24(c.w, c.h);
    ASSERT_EQ(std::int32_t(file[0] | file[1] << 8 | file[2] << 16 | file[3] << 24) < 0,
              c.countNegative);
    AddRecord(m_doc, 1);
    ModalAnswers none({});
    const std::string name = std::string(c.name) + ".bmp";
    ASSERT_TRUE(m_doc.OnOpenDoc(Write(name.c_str(), file).c_str()));
    ASSERT_NE(m_doc.m_pImage, nullptr);
    EXPECT_NE(m_doc.m_pImage->m_pBits, nullptr);
    EXPECT_EQ(m_doc.m_pImage->GetSize(), CSize(c.w, c.h));
    EXPECT_EQ(RecordIds(m_doc), (std::vector<int>{1}));
    EXPECT_TRUE(m_doc.IsModified()); // the shape is no more kept than before
    QTest::qWait(30);
    EXPECT_EQ(none.Unexpected(), 0);
}

// 24-bit files: 54 header bytes and rows padded to 4 bytes.
INSTANTIATE_TEST_SUITE_P(Sizes, SkorelDocOpenBmp,
                         ::testing::Values(BmpCase{"Tiny", 2, 2, false},
                                           BmpCase{"JustBelowHalf", 100, 109, false},
                                           BmpCase{"AboveHalf", 128, 100, true},
                                           BmpCase{"AboveAWrap", 300, 100, false}),
                         [](const auto& info) { return std::string(info.param.name); });

struct DamagedCase {
    const char* name;
    Bytes bytes;
};

Bytes Damaged(Bytes b, std::size_t at, BYTE value)
{
    b[at] = value;
    return b;
}

Bytes Cut(Bytes b, std::size_t size)
{
    b.resize(size);
    return b;
}

class SkorelDocDamagedPicture : public SkorelDocTest,
                                public ::testing::WithParamInterface<DamagedCase> {};

TEST_P(SkorelDocDamagedPicture, FailsAndLeavesTheDocumentAsItWas)
{
    AddRecord(m_doc, 1);
    ASSERT_TRUE(m_doc.OnOpenDoc(Write("good.bmp", Bmp24(4, 4)).c_str()));
    m_doc.SetPathName(PathOf("good.bmp").c_str());
    const CBaseImage* picture = m_doc.m_pImage.get();
    const std::string name = std::string(GetParam().name) + ".bmp";
    const QString message = OpenFailing(Write(name.c_str(), GetParam().bytes));
    EXPECT_TRUE(message.contains(QString::fromUtf8(res::FindString(IDS_BAD_PICTURE))));
    EXPECT_EQ(RecordIds(m_doc), (std::vector<int>{1}));
    EXPECT_EQ(m_doc.m_pImage.get(), picture);
    EXPECT_EQ(picture->GetSize(), CSize(4, 4));
    EXPECT_EQ(m_doc.GetPathName(), PathOf("good.bmp"));
    EXPECT_EQ(m_doc.GetTitle(), "good.bmp");
}

INSTANTIATE_TEST_SUITE_P(
    Files, SkorelDocDamagedPicture,
    ::testing::Values(DamagedCase{"MagicOnly", {'B', 'M'}},
                      DamagedCase{"FileHeaderOnly", Cut(Bmp24(4, 4), 14)},
                      DamagedCase{"CutInThePixels", Cut(Bmp24(4, 4), 70)},
                      DamagedCase{"UnsupportedDepth", Damaged(Bmp24(4, 4), 28, 7)},
                      DamagedCase{"UnknownHeaderSize", Damaged(Bmp24(4, 4), 14, 41)},
                      DamagedCase{"ZeroWidth", Damaged(Bmp24(4, 4), 18, 0)},
                      DamagedCase{"Garbage", {'B', 'M', 0xFF, 0xFF, 0xFF, 0x7F, 1, 2, 3}},
                      DamagedCase{"PngHeaderOnly", Png()},
                      DamagedCase{"JpegWithoutImage", {0xFF, 0xD8, 0xFF, 0xE0, 0, 0x10, 'J', 'F'}}),
    [](const auto& info) { return std::string(info.param.name); });

// A PNG opens as a BMP does: the picture under the shapes, the document the file when no
// shape lies over it; a drawing keeps it as a BMP file after the records.
TEST_F(SkorelDocTest, PngOpensAsThePictureAndADrawingKeepsItAsBmp)
{
    const QImage stripes = testing_support::Stripes(7, 5);
    ASSERT_TRUE(
        m_doc.OnOpenDoc(Write("stripes.png", testing_support::Encoded(stripes, "png")).c_str()));
    ASSERT_NE(m_doc.m_pImage, nullptr);
    EXPECT_TRUE(testing_support::DibShows(m_doc.m_pImage->m_pBits, 7, 5, stripes));
    EXPECT_FALSE(m_doc.IsModified());
    AddRecord(m_doc, 1);
    ASSERT_TRUE(m_doc.OnSaveDoc(PathOf("kept.skr").c_str()));
    CSkorelDoc reopened;
    ASSERT_TRUE(reopened.OnOpenDoc(PathOf("kept.skr").c_str()));
    EXPECT_EQ(RecordIds(reopened), (std::vector<int>{1}));
    ASSERT_NE(reopened.m_pImage, nullptr);
    EXPECT_TRUE(testing_support::DibShows(reopened.m_pImage->m_pBits, 7, 5, stripes));
}

// ---- Save As ----------------------------------------------------------------------------

TEST_F(SkorelDocTest, SaveAsWritesThePictureAndTakesTheName)
{
    ASSERT_TRUE(m_doc.OnOpenDoc(Write("in.bmp", Bmp24(3, 2)).c_str()));
    const std::string out = PathOf("사본.bmp");
    ModalAnswers answers({ModalAnswers::TypeFileName(QString::fromStdString(out))});
    ASSERT_TRUE(m_doc.DoSave(nullptr));
    EXPECT_EQ(m_doc.GetPathName(), out);
    EXPECT_EQ(m_doc.GetTitle(), "사본.bmp");
    CBaseImage back;
    ASSERT_TRUE(back.LoadBMP(out.c_str()));
    EXPECT_EQ(back.GetSize(), CSize(3, 2));
}

struct SaveFailCase {
    const char* name;
    const char* opened; // what was opened before: "bmp", "archive" or nothing
    const char* target; // file name typed, in the temporary directory
};

class SkorelDocSaveFails : public SkorelDocTest,
                           public ::testing::WithParamInterface<SaveFailCase> {};

TEST_P(SkorelDocSaveFails, IsReportedAndKeepsPathAndTitle)
{
    const SaveFailCase& c = GetParam();
    if (std::string(c.opened) == "bmp") {
        ASSERT_TRUE(m_doc.OnOpenDoc(Write("in.bmp", Bmp24(3, 2)).c_str()));
    } else if (std::string(c.opened) == "archive") {
        ASSERT_TRUE(m_doc.OnOpenDoc(Write("in.skr", Archive(0, 0)).c_str()));
    }
    m_doc.SetPathName(PathOf("kept.skr").c_str());
    const std::string target = PathOf(c.target);
    ModalAnswers answers({ModalAnswers::TypeFileName(QString::fromStdString(target)),
                          ModalAnswers::Click(QMessageBox::Ok)});
    EXPECT_FALSE(m_doc.DoSave(nullptr));
    ASSERT_EQ(answers.Texts().size(), 1);
    EXPECT_TRUE(answers.Texts()[0].contains(
        QString::fromUtf8(res::LoadString(AFX_IDP_FAILED_TO_SAVE_DOC))));
    EXPECT_EQ(m_doc.GetPathName(), PathOf("kept.skr"));
    EXPECT_EQ(m_doc.GetTitle(), "kept.skr");
    EXPECT_FALSE(QFile::exists(QString::fromStdString(target)));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SkorelDocSaveFails,
    ::testing::Values(SaveFailCase{"WithoutAPicture", "", "out.bmp"},
                      SaveFailCase{"PictureWithoutPixels", "archive", "out.bmp"},
                      SaveFailCase{"IntoAMissingFolder", "bmp", "no-such-folder/out.bmp"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SkorelDocTest, SaveWithoutAPathWritesNothing)
{
    ASSERT_TRUE(m_doc.OnOpenDoc(Write("in.bmp", Bmp24(3, 2)).c_str()));
    EXPECT_FALSE(m_doc.OnSaveDoc(nullptr));
    EXPECT_FALSE(m_doc.OnSaveDoc(""));
}

// ---- drawings ---------------------------------------------------------------------------

struct DrawingCase {
    const char* name;
    int shapes;
    bool picture;
};

class SkorelDocDrawing : public SkorelDocTest, public ::testing::WithParamInterface<DrawingCase> {};

// A drawing saved as .skr reopens with its records and its picture, and is then unmodified.
// 19,778 shapes make a count whose first two bytes are "BM".
TEST_P(SkorelDocDrawing, SavedDrawingReopensWhole)
{
    const DrawingCase& c = GetParam();
    if (c.picture) {
        ASSERT_TRUE(m_doc.OnOpenDoc(Write("in.bmp", Bmp24(5, 3)).c_str()));
    }
    for (int i = 0; i < c.shapes; ++i)
        AddRecord(m_doc, i);
    const std::string path = PathOf("drawing.SKR");
    ASSERT_TRUE(m_doc.OnSaveDoc(path.c_str()));
    EXPECT_FALSE(m_doc.IsModified());
    std::vector<BYTE> archive;
    {
        CArchive ar(archive, CArchive::store);
        m_doc.Serialize(ar);
    }
    const Bytes expected = Signed(archive);
    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_EQ(
        bytes.left(qsizetype(expected.size())),
        QByteArray(reinterpret_cast<const char*>(expected.data()), qsizetype(expected.size())));
    EXPECT_EQ(bytes.mid(qsizetype(expected.size()), 2) == "BM", c.picture);

    CSkorelDoc again;
    ModalAnswers none({});
    ASSERT_TRUE(again.OnOpenDoc(path.c_str()));
    EXPECT_EQ(RecordIds(again), RecordIds(m_doc));
    ASSERT_NE(again.m_pImage, nullptr);
    EXPECT_EQ(again.m_pImage->GetSize(), c.picture ? CSize(5, 3) : CSize());
    EXPECT_FALSE(again.IsModified());
    EXPECT_EQ(none.Unexpected(), 0);
}

INSTANTIATE_TEST_SUITE_P(Drawings, SkorelDocDrawing,
                         ::testing::Values(DrawingCase{"Empty", 0, false},
                                           DrawingCase{"PictureOnly", 0, true},
                                           DrawingCase{"ShapesOnly", 3, false},
                                           DrawingCase{"ShapesAndPicture", 3, true},
                                           DrawingCase{"CountStartingWithBM", 19778, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SkorelDocTest, DamagedPictureAfterTheRecordsKeepsTheRecordsAndThePicture)
{
    ASSERT_TRUE(m_doc.OnOpenDoc(Write("in.bmp", Bmp24(4, 4)).c_str()));
    const CBaseImage* picture = m_doc.m_pImage.get();
    Bytes file = Archive(2, 2);
    const Bytes damaged = Damaged(Bmp24(2, 2), 28, 7);
    file.insert(file.end(), damaged.begin(), damaged.end());
    ModalAnswers answers({ModalAnswers::Click(QMessageBox::Ok)});
    EXPECT_TRUE(m_doc.OnOpenDoc(Write("damaged.skr", file).c_str()));
    EXPECT_EQ(RecordIds(m_doc), (std::vector<int>{10, 20}));
    EXPECT_EQ(m_doc.m_pImage.get(), picture);
    EXPECT_TRUE(m_doc.IsModified()); // the picture under the records is not the file's
    ASSERT_EQ(answers.Texts().size(), 1);
    EXPECT_TRUE(answers.Texts()[0].contains(QString::fromUtf8(res::FindString(IDS_BAD_PICTURE))));
}

// Changes mark the document modified until it is kept as a drawing; undoing back to that
// point unmarks it. A picture kept with Save As does not keep the shapes.
TEST_F(SkorelDocTest, ModifiedFollowsTheChangesSinceTheDrawingWasKept)
{
    EXPECT_FALSE(m_doc.IsModified());
    AddRecord(m_doc, 1);
    EXPECT_TRUE(m_doc.IsModified());
    ASSERT_TRUE(m_doc.OnOpenDoc(Write("in.bmp", Bmp24(2, 2)).c_str()));
    ASSERT_TRUE(m_doc.OnSaveDoc(PathOf("out.bmp").c_str()));
    EXPECT_TRUE(m_doc.IsModified());
    ASSERT_TRUE(m_doc.OnSaveDoc(PathOf("kept.skr").c_str()));
    EXPECT_FALSE(m_doc.IsModified());
    m_doc.RemoveAllShapes();
    EXPECT_TRUE(m_doc.IsModified());
    m_doc.m_undo.Undo();
    EXPECT_FALSE(m_doc.IsModified());
}

// ---- New and ownership ------------------------------------------------------------------

TEST_F(SkorelDocTest, NewKeepsTheShapesAndThePicture)
{
    ASSERT_TRUE(m_doc.OnOpenDoc(Write("in.bmp", Bmp24(3, 2)).c_str()));
    AddRecord(m_doc, 1);
    m_doc.m_tracker.m_rect = CRect(1, 2, 3, 4);
    const CBaseImage* picture = m_doc.m_pImage.get();
    EXPECT_TRUE(m_doc.OnNewDoc());
    m_doc.SetDefaultTitle();
    EXPECT_EQ(RecordIds(m_doc), (std::vector<int>{1}));
    EXPECT_EQ(m_doc.m_pImage.get(), picture);
    EXPECT_EQ(m_doc.m_tracker.m_rect, CRect(1, 2, 3, 4));
    EXPECT_EQ(m_doc.GetTitle(), "제목 없음");
    EXPECT_TRUE(m_doc.IsModified()); // the shape is no more kept than before
}

// Under LeakSanitizer: records dropped by the eraser's remove-all, a picture replaced by the
// next one and everything left at destruction are released.
TEST_F(SkorelDocTest, ReleasesWhatItDrops)
{
    auto doc = std::make_unique<CSkorelDoc>();
    for (int i = 0; i < 25; ++i)
        AddRecord(*doc, i);
    doc->m_shapeList.RemoveAll();
    EXPECT_TRUE(doc->m_shapeList.IsEmpty());
    ASSERT_TRUE(doc->OnOpenDoc(Write("a.bmp", Bmp24(2, 2)).c_str()));
    ASSERT_TRUE(doc->OnOpenDoc(Write("b.bmp", Bmp24(5, 3)).c_str()));
    EXPECT_EQ(doc->m_pImage->GetSize(), CSize(5, 3));
    AddRecord(*doc, 1);
    doc.reset();
}

} // namespace
