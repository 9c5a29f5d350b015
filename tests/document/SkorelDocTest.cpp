// The document: its start, the archive form, saving pictures and drawings (and failing to),
// whether it is modified, New, and ownership of records and picture.
#include "tests/document/DocFixture.h"

#include "tests/support/Surface.h"

#include <algorithm>
#include <climits>

namespace {

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

    MemorySurface canvas(1280, 1024, RGB(255, 255, 255));
    m_doc.m_tracker.Draw(&canvas.dc);
    EXPECT_TRUE(
        std::ranges::all_of(canvas.Pixels(), [](COLORREF c) { return c == RGB(255, 255, 255); }));
}

TEST_F(SkorelDocTest, StoresTheCountThenTheRecordsHeadToTail)
{
    EXPECT_EQ(Stored(m_doc), (Bytes{0, 0, 0, 0}));
    for (int id : {10, 20, 30})
        AddRecord(m_doc, id);
    EXPECT_EQ(Stored(m_doc), Archive(3, 3));
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

TEST_F(SkorelDocTest, SaveAsWritesThePictureAndTakesTheName)
{
    ASSERT_TRUE(Open("in.bmp", Bmp24(3, 2)));
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
    const char* opened; // the file opened before, if any
    Bytes file;
    const char* target; // file name typed, in the temporary directory
};

class SkorelDocSaveFails : public SkorelDocTest,
                           public ::testing::WithParamInterface<SaveFailCase> {};

TEST_P(SkorelDocSaveFails, IsReportedAndKeepsPathAndTitle)
{
    const SaveFailCase& c = GetParam();
    if (c.opened) {
        ASSERT_TRUE(Open(c.opened, c.file));
    }
    m_doc.SetPathName(PathOf("kept.skr").c_str());
    const std::string target = PathOf(c.target);
    ModalAnswers answers({ModalAnswers::TypeFileName(QString::fromStdString(target)),
                          ModalAnswers::Click(QMessageBox::Ok)});
    EXPECT_FALSE(m_doc.DoSave(nullptr));
    ASSERT_EQ(answers.Texts().size(), 1);
    EXPECT_TRUE(ModalAnswers::Says(answers.Texts()[0], AFX_IDP_FAILED_TO_SAVE_DOC));
    EXPECT_EQ(m_doc.GetPathName(), PathOf("kept.skr"));
    EXPECT_EQ(m_doc.GetTitle(), "kept.skr");
    EXPECT_FALSE(QFile::exists(QString::fromStdString(target)));
}

INSTANTIATE_TEST_SUITE_P(Cases, SkorelDocSaveFails,
                         ::testing::Values(SaveFailCase{"WithoutAPicture", nullptr, {}, "out.bmp"},
                                           SaveFailCase{"PictureWithoutPixels", "in.skr",
                                                        Archive(0, 0), "out.bmp"},
                                           SaveFailCase{"IntoAMissingFolder", "in.bmp", Bmp24(3, 2),
                                                        "no-such-folder/out.bmp"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SkorelDocTest, SaveWithoutAPathWritesNothing)
{
    ASSERT_TRUE(Open("in.bmp", Bmp24(3, 2)));
    EXPECT_FALSE(m_doc.OnSaveDoc(nullptr));
    EXPECT_FALSE(m_doc.OnSaveDoc(""));
}

struct DrawingCase {
    const char* name;
    int shapes;
    bool picture;
};

class SkorelDocDrawing : public SkorelDocTest, public ::testing::WithParamInterface<DrawingCase> {};

// A drawing saved as .skr holds the signature, the archive form and the picture as a BMP file,
// and reopens with its records and its picture, unmodified. 19,778 shapes make a count whose
// first two bytes are "BM".
TEST_P(SkorelDocDrawing, SavedDrawingReopensWhole)
{
    const DrawingCase& c = GetParam();
    if (c.picture) {
        ASSERT_TRUE(Open("in.bmp", Bmp24(5, 3)));
    }
    for (int i = 0; i < c.shapes; ++i)
        AddRecord(m_doc, i);
    const std::string path = PathOf("drawing.SKR");
    ASSERT_TRUE(m_doc.OnSaveDoc(path.c_str()));
    EXPECT_FALSE(m_doc.IsModified());
    const Bytes expected = Signed(Stored(m_doc));
    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_EQ(
        bytes.left(qsizetype(expected.size())),
        QByteArray(reinterpret_cast<const char*>(expected.data()), qsizetype(expected.size())));
    EXPECT_EQ(bytes.mid(qsizetype(expected.size()), 2) == "BM", c.picture);

    CSkorelDoc again;
    ASSERT_TRUE(OpensQuietly(again, path));
    EXPECT_EQ(RecordIds(again), RecordIds(m_doc));
    ASSERT_EQ(again.m_pImage != nullptr, c.picture);
    EXPECT_TRUE(!c.picture || again.m_pImage->GetSize() == CSize(5, 3));
    EXPECT_FALSE(again.IsModified());
}

INSTANTIATE_TEST_SUITE_P(Drawings, SkorelDocDrawing,
                         ::testing::Values(DrawingCase{"Empty", 0, false},
                                           DrawingCase{"PictureOnly", 0, true},
                                           DrawingCase{"ShapesOnly", 3, false},
                                           DrawingCase{"ShapesAndPicture", 3, true},
                                           DrawingCase{"CountStartingWithBM", 19778, true}),
                         [](const auto& info) { return std::string(info.param.name); });

// Changes mark the document modified until it is kept as a drawing; undoing back to that
// point unmarks it. A picture kept with Save As does not keep the shapes.
TEST_F(SkorelDocTest, ModifiedFollowsTheChangesSinceTheDrawingWasKept)
{
    EXPECT_FALSE(m_doc.IsModified());
    ASSERT_TRUE(Open("in.bmp", Bmp24(2, 2)));
    EXPECT_FALSE(m_doc.IsModified());
    AddRecord(m_doc, 1);
    EXPECT_TRUE(m_doc.IsModified());
    ASSERT_TRUE(m_doc.OnSaveDoc(PathOf("out.bmp").c_str()));
    EXPECT_TRUE(m_doc.IsModified());
    ASSERT_TRUE(m_doc.OnSaveDoc(PathOf("kept.skr").c_str()));
    EXPECT_FALSE(m_doc.IsModified());
    m_doc.RemoveAllShapes();
    EXPECT_TRUE(m_doc.IsModified());
    m_doc.m_undo.Undo();
    EXPECT_FALSE(m_doc.IsModified());
}

TEST_F(SkorelDocTest, NewStartsAFreshDrawing)
{
    ASSERT_TRUE(Open("in.bmp", Bmp24(2000, 3)));
    m_doc.SetPathName(PathOf("in.bmp").c_str());
    AddRecord(m_doc, 1);
    m_doc.m_tracker.m_rect = CRect(1, 2, 3, 4);
    EXPECT_TRUE(m_doc.OnNewDoc());
    m_doc.SetDefaultTitle();
    EXPECT_TRUE(m_doc.m_shapeList.IsEmpty());
    EXPECT_EQ(m_doc.m_pImage, nullptr);
    EXPECT_EQ(m_doc.GetCanvasSize(), CSize(1280, 1024));
    EXPECT_TRUE(m_doc.m_tracker.m_rect.IsRectEmpty());
    EXPECT_FALSE(m_doc.m_undo.CanUndo());
    EXPECT_EQ(m_doc.GetPathName(), "");
    EXPECT_EQ(m_doc.GetTitle(), "제목 없음");
    EXPECT_FALSE(m_doc.IsModified());
}

// The records with the ids, as the list holds them.
CRecordSet WithIds(CSkorelDoc& doc, std::vector<int> ids)
{
    CRecordSet chosen;
    for (POSITION pos = doc.m_shapeList.GetHeadPosition(); pos;)
        if (CData* pData = doc.m_shapeList.GetNext(pos);
            std::ranges::find(ids, pData->m_ptStart.x) != ids.end())
            chosen.Insert(pData);
    return chosen;
}

struct OrderCase {
    const char* name;
    std::vector<int> chosen;
    ShapeOrder order;
    std::vector<int> after;      // empty: nothing changes, and there is no step
    std::vector<int> apart = {}; // records moved away from the others, which all overlap
};

class SkorelDocOrder : public SkorelDocTest, public ::testing::WithParamInterface<OrderCase> {};

// Reordering moves the chosen records as one step, keeping their own order; where it would
// change nothing it is no step at all. Undo gives the order back.
TEST_P(SkorelDocOrder, MovesTheChosenRecordsAsOneStep)
{
    const OrderCase& c = GetParam();
    for (int id = 1; id <= 6; ++id)
        AddRecord(m_doc, id);
    for (POSITION pos = m_doc.m_shapeList.GetHeadPosition(); pos;)
        if (CData* d = m_doc.m_shapeList.GetNext(pos); std::ranges::count(c.apart, d->m_ptStart.x))
            d->m_ptStart.y += 500, d->m_ptEnd.y += 500;
    const int steps = m_doc.m_undo.GetCount();
    const auto chosen = WithIds(m_doc, c.chosen);
    EXPECT_EQ(m_doc.CanReorder(chosen, c.order), !c.after.empty());
    m_doc.ReorderShapes(chosen, c.order);
    const std::vector<int> before = {1, 2, 3, 4, 5, 6};
    EXPECT_EQ(RecordIds(m_doc), c.after.empty() ? before : c.after);
    EXPECT_EQ(m_doc.m_undo.GetCount(), steps + (c.after.empty() ? 0 : 1));
    m_doc.m_undo.Undo();
    const std::vector<int> undone = c.after.empty() ? std::vector<int>{1, 2, 3, 4, 5} : before;
    EXPECT_EQ(RecordIds(m_doc), undone);
}

INSTANTIATE_TEST_SUITE_P(
    Orders, SkorelDocOrder,
    ::testing::Values(
        OrderCase{"ToFront", {2, 4}, ShapeOrder::ToFront, {1, 3, 5, 6, 2, 4}},
        OrderCase{"Forward", {2, 4}, ShapeOrder::Forward, {1, 3, 2, 5, 4, 6}},
        OrderCase{"Backward", {2, 4}, ShapeOrder::Backward, {2, 1, 4, 3, 5, 6}},
        OrderCase{"ToBack", {2, 4}, ShapeOrder::ToBack, {2, 4, 1, 3, 5, 6}},
        OrderCase{"ForwardPastAnother", {5}, ShapeOrder::Forward, {1, 2, 3, 4, 6, 5}},
        OrderCase{
            "ForwardPastTheOneItMeets", {2}, ShapeOrder::Forward, {1, 3, 4, 5, 6, 2}, {3, 4, 5}},
        OrderCase{"BackwardOnePlaceWhenNoneMeets",
                  {5},
                  ShapeOrder::Backward,
                  {1, 2, 3, 5, 4, 6},
                  {1, 2, 3, 4}},
        OrderCase{
            "BackwardStopsAtTheChosen", {2, 5}, ShapeOrder::Backward, {2, 1, 3, 5, 4, 6}, {3, 4}},
        OrderCase{"TopmostToFront", {5, 6}, ShapeOrder::ToFront, {}},
        OrderCase{"TopmostForward", {6}, ShapeOrder::Forward, {}},
        OrderCase{"LowestBackward", {1, 2}, ShapeOrder::Backward, {}},
        OrderCase{"NothingChosen", {}, ShapeOrder::ToBack, {}}),
    [](const auto& info) { return std::string(info.param.name); });

// Records taken out wherever they are come back in their places; a move joins the one before
// it only when nothing came between them.
TEST_F(SkorelDocTest, ScatteredRemovalsAndJoinedMovesAreOneStepEach)
{
    for (int id = 1; id <= 6; ++id)
        AddRecord(m_doc, id);
    m_doc.RemoveShapes(WithIds(m_doc, {2, 5, 6}));
    EXPECT_EQ(RecordIds(m_doc), (std::vector<int>{1, 3, 4}));
    m_doc.m_undo.Undo();
    EXPECT_EQ(RecordIds(m_doc), (std::vector<int>{1, 2, 3, 4, 5, 6}));
    const std::vector<CData*> two = {m_doc.m_shapeList.GetAt(m_doc.m_shapeList.FindIndex(2)),
                                     m_doc.m_shapeList.GetAt(m_doc.m_shapeList.FindIndex(3))};
    m_doc.MoveShapes(two, 100, 0, false);
    m_doc.MoveShapes(two, 10, 5, true);
    EXPECT_EQ(RecordIds(m_doc), (std::vector<int>{1, 2, 113, 114, 5, 6}));
    m_doc.m_undo.Undo();
    EXPECT_EQ(RecordIds(m_doc), (std::vector<int>{1, 2, 3, 4, 5, 6}));
    // After an undo the next move is a step of its own.
    m_doc.MoveShapes(two, 1, 0, true);
    m_doc.m_undo.Undo();
    EXPECT_EQ(RecordIds(m_doc), (std::vector<int>{1, 2, 3, 4, 5, 6}));
}

// A drawing with a hollow box is written as version 2, any other as version 1; version 1's
// fill 0xFFFFFFFF was white and opens white.
TEST_F(SkorelDocTest, HollowBoxesNeedTheSecondVersion)
{
    AddRecord(m_doc, 1);
    const auto version = [this](const char* name) {
        EXPECT_TRUE(m_doc.OnSaveDoc(PathOf(name).c_str()));
        QFile file(QString::fromStdString(PathOf(name)));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return file.readAll().mid(4, 4);
    };
    EXPECT_EQ(version("one.skr"), QByteArray("\1\0\0\0", 4));
    std::vector<std::unique_ptr<CData>> hollow;
    hollow.push_back(
        std::make_unique<CData>(Record(SHAPE_RECT, {5, 5}, {50, 40}, RGB(1, 2, 3), kNoFill)));
    m_doc.AddShapes(std::move(hollow), false);
    EXPECT_EQ(version("two.skr"), QByteArray("\2\0\0\0", 4));
    CSkorelDoc reopened;
    ASSERT_TRUE(OpensQuietly(reopened, PathOf("two.skr")));
    const auto head = [](CSkorelDoc& doc, int index) {
        return doc.m_shapeList.GetAt(doc.m_shapeList.FindIndex(index));
    };
    EXPECT_EQ(head(reopened, 1)->m_crFill, kNoFill);
    Bytes old = Signed(Archive(1, 1));
    std::fill(old.end() - 8, old.end() - 4, 0xFF); // the record's fill
    ASSERT_TRUE(Open("old.skr", old));
    EXPECT_EQ(head(m_doc, 0)->m_crFill, RGB(255, 255, 255));
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
    ASSERT_TRUE(OpensQuietly(*doc, Write("a.bmp", Bmp24(2, 2))));
    ASSERT_TRUE(OpensQuietly(*doc, Write("b.bmp", Bmp24(5, 3))));
    EXPECT_EQ(doc->m_pImage->GetSize(), CSize(5, 3));
    AddRecord(*doc, 1);
    doc.reset();
}

} // namespace
