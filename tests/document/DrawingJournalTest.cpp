// The recovery copy: every kind of change replays to the document the changes made, a torn
// last entry loses that change alone, and the copy lives exactly while there are changes that
// no file holds.
#include "document/SkorelDoc.h"

#include "tests/shapes/Records.h"

#include "framework/core/Archive.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace {

// Appends one step of records whose every field derives from its id.
void Draw(CSkorelDoc& doc, std::initializer_list<int> ids)
{
    std::vector<std::unique_ptr<CData>> records;
    for (int id : ids)
        records.push_back(std::make_unique<CData>(
            Record(SHAPE_LINE + id % 3, CPoint(id, 2 * id), CPoint(id + 40, 2 * id + 30),
                   COLORREF(0x10203 * id), COLORREF(0xFFFFFF - id), 1 + id % 7)));
    doc.AddShapes(std::move(records), true);
}

CData* At(CSkorelDoc& doc, int index)
{
    return doc.m_shapeList.GetAt(doc.m_shapeList.FindIndex(index));
}

// The records in their archive form: the document's own, or a replayed journal's.
std::vector<BYTE> ArchivedList(CSkorelDoc& doc)
{
    std::vector<BYTE> bytes;
    CArchive ar(bytes, CArchive::store);
    doc.Serialize(ar);
    return bytes;
}

std::vector<BYTE> ArchivedReplay(const std::string& path)
{
    CDrawingJournal::Drawing drawing;
    EXPECT_TRUE(CDrawingJournal::Replay(path, drawing));
    CSkorelDoc doc;
    for (auto& pData : drawing.records)
        doc.m_shapeList.AddTail(std::move(pData));
    return ArchivedList(doc);
}

using Step = std::function<void(CSkorelDoc&)>;

struct ReplayCase {
    const char* name;
    std::vector<Step> steps;
};

const Step kDraw = [](CSkorelDoc& doc) { Draw(doc, {doc.m_shapeList.GetCount() + 10}); };
const Step kPaste = [](CSkorelDoc& doc) { Draw(doc, {50, 51, 52}); };
const Step kMove = [](CSkorelDoc& doc) {
    CData* pData = At(doc, 1);
    const CPoint a = pData->m_ptStart, b = pData->m_ptEnd;
    doc.ChangeShape(pData, CPoint(a.x + 7, a.y - 3), CPoint(b.x + 7, b.y - 3));
};
const Step kResizeLast = [](CSkorelDoc& doc) {
    CData* pData = At(doc, doc.m_shapeList.GetCount() - 1);
    doc.ChangeShape(pData, pData->m_ptStart, CPoint(pData->m_ptEnd.x + 100, pData->m_ptEnd.y + 5));
};
const Step kRestyle = [](CSkorelDoc& doc) {
    doc.RestyleShapes({At(doc, doc.m_shapeList.GetCount() / 2), At(doc, 4)}, [](CData& d) {
        d.m_crFill = d.m_crFill == kNoFill ? d.m_crLine : kNoFill;
        d.m_nThickness = 8 - d.m_nThickness;
    });
};
const Step kDelete = [](CSkorelDoc& doc) { doc.RemoveShapes({At(doc, 0)}); };
const Step kDeleteScattered = [](CSkorelDoc& doc) {
    doc.RemoveShapes({At(doc, 2), At(doc, 5), At(doc, doc.m_shapeList.GetCount() - 1)});
};
// Three records moved, then nudged twice more as the same step.
const Step kMoveMany = [](CSkorelDoc& doc) {
    const std::vector<CData*> three = {At(doc, 1), At(doc, 7), At(doc, 30)};
    doc.MoveShapes(three, 5, -2, false);
    doc.MoveShapes(three, 1, 0, true);
    doc.MoveShapes(three, 0, 1, true);
};
const auto Reorder = [](ShapeOrder order) {
    return Step([order](CSkorelDoc& doc) { doc.ReorderShapes({At(doc, 3), At(doc, 9)}, order); });
};
const Step kErase = [](CSkorelDoc& doc) { doc.RemoveAllShapes(); };
const Step kUndo = [](CSkorelDoc& doc) { doc.m_undo.Undo(); };
const Step kRedo = [](CSkorelDoc& doc) { doc.m_undo.Redo(); };
const Step kOpenAppended = [](CSkorelDoc& doc) {
    CSkorelDoc other;
    Draw(other, {70, 71});
    std::vector<BYTE> bytes = ArchivedList(other);
    CArchive ar(bytes, CArchive::load);
    doc.Serialize(ar);
};

using DrawingJournalReplay = ::testing::TestWithParam<ReplayCase>;

TEST_P(DrawingJournalReplay, GivesBackTheDocumentTheStepsMade)
{
    QTemporaryDir dir;
    const std::string path = dir.filePath("journal").toStdString(), cutPath = path + ".cut";
    CSkorelDoc doc;
    for (int id = 1; id <= 100; ++id)
        Draw(doc, {id});
    doc.KeepRecoveryAt(path);
    std::vector<BYTE> beforeLast;
    for (const Step& step : GetParam().steps) {
        beforeLast = ArchivedList(doc);
        step(doc);
    }
    ASSERT_TRUE(doc.Recovery()->Flush());
    ASSERT_EQ(ArchivedReplay(path), ArchivedList(doc));

    // Cut anywhere in its last entry or that entry's frame of length and checksum, the
    // journal gives back the document before that step.
    const std::vector<JournalBytes> entries = CJournal::Read(path);
    if (entries.size() == 1)
        return; // the last step outgrew the snapshot and is in a new one
    const auto size = std::filesystem::file_size(path);
    for (auto cut = size - entries.back().size() - 8; cut < size; ++cut) {
        std::filesystem::copy_file(path, cutPath,
                                   std::filesystem::copy_options::overwrite_existing);
        std::filesystem::resize_file(cutPath, cut);
        ASSERT_EQ(ArchivedReplay(cutPath), beforeLast) << "cut at " << cut;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Steps, DrawingJournalReplay,
    ::testing::Values(ReplayCase{"Draw", {kDraw, kDraw}}, ReplayCase{"Paste", {kPaste, kDraw}},
                      ReplayCase{"MoveASnapshotRecord", {kMove, kMove}},
                      ReplayCase{"ResizeADrawnRecord", {kDraw, kResizeLast, kResizeLast}},
                      ReplayCase{"Restyle", {kRestyle, kDraw, kRestyle, kUndo}},
                      ReplayCase{"Delete", {kDelete, kDraw, kDelete}},
                      ReplayCase{"Erase", {kDraw, kErase}},
                      ReplayCase{"UndoAndRedoOfAMove", {kDraw, kMove, kUndo, kRedo, kUndo}},
                      ReplayCase{"RedoOfAnErase", {kDraw, kErase, kUndo, kRedo, kUndo}},
                      ReplayCase{"ResizeAfterUndoneDelete",
                                 {kDelete, kUndo, kDraw, kResizeLast, kMove}},
                      ReplayCase{"OpenAppended", {kOpenAppended, kResizeLast, kDelete}},
                      ReplayCase{"DeleteScattered", {kDeleteScattered, kUndo, kRedo}},
                      ReplayCase{"MoveManyAsOneStep", {kMoveMany, kUndo, kRedo, kMove}},
                      ReplayCase{"ToFrontAndBack",
                                 {Reorder(ShapeOrder::ToFront), Reorder(ShapeOrder::ToBack)}},
                      ReplayCase{"ForwardAndBackward",
                                 {Reorder(ShapeOrder::Forward), Reorder(ShapeOrder::Backward),
                                  kUndo, kMove}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DrawingJournal, LivesExactlyWhileTheDocumentHasChangesNoFileHolds)
{
    QTemporaryDir dir;
    const std::string path = dir.filePath("journal").toStdString();
    auto doc = std::make_unique<CSkorelDoc>();
    doc->KeepRecoveryAt(path);
    // Whether the copy is there once everything given is written.
    const auto kept = [&] { return doc->Recovery()->Flush() && std::filesystem::exists(path); };
    EXPECT_FALSE(kept());
    Draw(*doc, {1, 2});
    EXPECT_TRUE(kept());
    doc->m_undo.Undo(); // back to what no change made
    EXPECT_FALSE(kept());
    doc->m_undo.Redo();

    // A picture inserted under the shapes goes into the copy with them.
    CBaseImage picture;
    ASSERT_TRUE(picture.Create(30, 20, 0, RGB(10, 200, 30)));
    const std::string bmp = dir.filePath("picture.bmp").toStdString();
    ASSERT_TRUE(picture.SaveBMP(bmp.c_str()) && doc->InsertFile(bmp.c_str()) && kept());
    CDrawingJournal::Drawing drawing;
    ASSERT_TRUE(CDrawingJournal::Replay(path, drawing) && drawing.picture);
    EXPECT_EQ(drawing.records.size(), 2u);
    EXPECT_EQ(drawing.picture->GetSize(), CSize(30, 20));
    EXPECT_EQ(std::memcmp(drawing.picture->m_pBits, picture.m_pBits, 20 * 92), 0);

    ASSERT_TRUE(doc->OnSaveDoc(dir.filePath("kept.skr").toStdString().c_str()));
    EXPECT_FALSE(kept());
    Draw(*doc, {3});
    EXPECT_TRUE(kept());
    // A document goes away only once the user has decided about its changes.
    doc.reset();
    EXPECT_FALSE(std::filesystem::exists(path));
}

} // namespace
