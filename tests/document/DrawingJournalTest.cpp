// The recovery copy: every kind of change replays to the document the changes made, a torn
// last entry loses that change alone, the copy lives exactly while there are changes that no
// file holds, a picture goes into it once, and a full disk costs nothing once there is room.
#include "document/SkorelDoc.h"

#include "tests/shapes/Records.h"

#include "framework/core/Archive.h"
#include "framework/core/ByteOrder.h"
#include "framework/core/File.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
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

// The replayed name and records, in the form of the document's.
std::pair<std::string, std::vector<BYTE>> Replayed(const std::string& path)
{
    CDrawingJournal::Drawing drawing;
    EXPECT_TRUE(CDrawingJournal::Replay(path, drawing));
    CSkorelDoc doc;
    for (auto& pData : drawing.records)
        doc.m_shapeList.AddTail(std::move(pData));
    return {drawing.name, ArchivedList(doc)};
}

std::pair<std::string, std::vector<BYTE>> Kept(CSkorelDoc& doc)
{
    return {doc.GetPathName(), ArchivedList(doc)};
}

// Where each entry of a journal file is, and the first 32-bit field of each (its kind),
// walked frame by frame without the journal's reader.
std::vector<std::pair<std::uint64_t, std::uint32_t>> Frames(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    const std::vector<BYTE> file{std::istreambuf_iterator<char>(in), {}};
    std::vector<std::pair<std::uint64_t, std::uint32_t>> frames;
    for (std::size_t at = 8; at + 8 <= file.size();) {
        const std::uint32_t size = LoadLE32(file.data() + at);
        if (size > file.size() - at - 8)
            break;
        frames.emplace_back(at, size >= 4 ? LoadLE32(file.data() + at + 8) : 0);
        at += 8 + size;
    }
    return frames;
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
    CData* pData = At(doc, doc.m_shapeList.GetCount() / 2);
    doc.RestyleShape(pData, pData->m_crFill, pData->m_crLine, 8 - pData->m_nThickness);
};
const Step kDelete = [](CSkorelDoc& doc) { doc.RemoveShape(At(doc, 0)); };
const Step kErase = [](CSkorelDoc& doc) { doc.RemoveAllShapes(); };
const Step kUndo = [](CSkorelDoc& doc) { doc.m_undo.Undo(); };
const Step kRedo = [](CSkorelDoc& doc) { doc.m_undo.Redo(); };
const Step kRename = [](CSkorelDoc& doc) { doc.SetPathName("/elsewhere/renamed.skr"); };
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
    ASSERT_EQ(Replayed(path), Kept(doc));

    // Cut anywhere in its last entry or that entry's frame of length and checksum (every
    // byte of the frame and the entry's head, then a byte in every 61), the journal gives back
    // the document's records before that step.
    const auto frames = Frames(path);
    ASSERT_GE(frames.size(), 2u);
    const auto size = std::filesystem::file_size(path);
    for (auto cut = frames.back().first; cut < size;
         cut += cut < frames.back().first + 24 ? 1 : 61) {
        std::filesystem::copy_file(path, cutPath,
                                   std::filesystem::copy_options::overwrite_existing);
        std::filesystem::resize_file(cutPath, cut);
        ASSERT_EQ(Replayed(cutPath).second, beforeLast) << "cut at " << cut;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Steps, DrawingJournalReplay,
    ::testing::Values(
        ReplayCase{"Draw", {kDraw, kDraw}}, ReplayCase{"Paste", {kPaste, kDraw}},
        ReplayCase{"MoveASnapshotRecord", {kMove, kMove}},
        ReplayCase{"ResizeADrawnRecord", {kDraw, kResizeLast, kResizeLast}},
        ReplayCase{"Restyle", {kRestyle, kDraw, kRestyle, kUndo}},
        ReplayCase{"Delete", {kDelete, kDraw, kDelete}}, ReplayCase{"Erase", {kDraw, kErase}},
        ReplayCase{"UndoAndRedoOfAMove", {kDraw, kMove, kUndo, kRedo, kUndo}},
        ReplayCase{"RedoOfAnErase", {kDraw, kErase, kUndo, kRedo, kUndo}},
        ReplayCase{"ResizeAfterUndoneDelete", {kDelete, kUndo, kDraw, kResizeLast, kMove}},
        ReplayCase{"OpenAppended", {kOpenAppended, kResizeLast, kDelete}},
        ReplayCase{"RenameKeepsWhatWasDrawnBefore", {kDraw, kMove, kRename, kResizeLast, kMove}}),
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

    // A picture opened under the shapes goes into the copy with them.
    CBaseImage picture;
    ASSERT_TRUE(picture.Create(30, 20, 0, RGB(10, 200, 30)));
    const std::string bmp = dir.filePath("picture.bmp").toStdString();
    ASSERT_TRUE(picture.SaveBMP(bmp.c_str()) && doc->OnOpenDoc(bmp.c_str()) && kept());
    CDrawingJournal::Drawing drawing;
    ASSERT_TRUE(CDrawingJournal::Replay(path, drawing) && drawing.picture);
    EXPECT_EQ(drawing.records.size(), 2u);
    EXPECT_EQ(drawing.picture->GetSize(), CSize(30, 20));
    EXPECT_EQ(std::memcmp(drawing.picture->m_pBits, picture.m_pBits, 20 * 92), 0);

    // Saved, the copy is gone at once, not after the next write: a kill right after the save
    // finds nothing to offer.
    Draw(*doc, {3});
    ASSERT_TRUE(doc->OnSaveDoc(dir.filePath("kept.skr").toStdString().c_str()));
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_FALSE(kept());
    Draw(*doc, {4});
    EXPECT_TRUE(kept());
    // A document goes away only once the user has decided about its changes.
    doc.reset();
    EXPECT_FALSE(std::filesystem::exists(path));
}

// A picture goes into the copy once: undoing and redoing its paste names it, and the replay
// shows it, or none, as the document does.
TEST(DrawingJournal, WritesAPictureOnce)
{
    QTemporaryDir dir;
    const std::string path = dir.filePath("journal").toStdString();
    CSkorelDoc doc;
    doc.KeepRecoveryAt(path);
    Draw(doc, {1});
    auto pasted = std::make_unique<CBaseImage>();
    ASSERT_TRUE(pasted->Create(300, 200, 0, RGB(1, 2, 3)));
    const std::uint64_t pictureBytes = 300 * 3 * 200;
    doc.ReplacePicture(std::move(pasted));
    for (int i = 0; i < 5; ++i) {
        ASSERT_TRUE(doc.Recovery()->Flush());
        CDrawingJournal::Drawing drawing;
        ASSERT_TRUE(CDrawingJournal::Replay(path, drawing));
        ASSERT_EQ(drawing.picture != nullptr, i % 2 == 0) << i;
        if (drawing.picture) {
            ASSERT_EQ(drawing.picture->GetSize(), CSize(300, 200));
            // Rows of 300 pixels, blue, green, red: 900 bytes with no padding.
            std::uint64_t wrong = 0;
            for (std::uint64_t at = 0; at < pictureBytes; ++at)
                wrong += drawing.picture->m_pBits[at] != BYTE(3 - at % 3);
            EXPECT_EQ(wrong, 0u);
        }
        (i % 2 == 0) ? doc.m_undo.Undo() : doc.m_undo.Redo();
    }
    ASSERT_TRUE(doc.Recovery()->Flush());
    EXPECT_LT(std::filesystem::file_size(path), pictureBytes + 4096);
}

// Entries that outgrow the snapshot are followed by a new one, in the same file; what was
// drawn before it is named by its place in it from then on.
TEST(DrawingJournal, StartsANewSnapshotOnceTheEntriesOutgrowIt)
{
    QTemporaryDir dir;
    const std::string path = dir.filePath("journal").toStdString();
    CSkorelDoc doc;
    for (int id = 1; id <= 100; ++id)
        Draw(doc, {id});
    doc.KeepRecoveryAt(path);
    for (int i = 0; i < 1500; ++i) {
        kMove(doc);
        if (i == 1000)
            Draw(doc, {500});
    }
    kResizeLast(doc);
    ASSERT_TRUE(doc.Recovery()->Flush());
    const auto frames = Frames(path);
    const auto isSnapshot = [](const auto& frame) { return frame.second == 3; };
    const auto last = std::find_if(frames.rbegin(), frames.rend(), isSnapshot);
    EXPECT_EQ(std::count_if(frames.begin(), frames.end(), isSnapshot), 2);
    EXPECT_LT(last - frames.rbegin(), frames.rend() - last); // after it fewer than before
    EXPECT_EQ(Replayed(path), Kept(doc));
}

// After the disk was full, the copy is whole again with the next change once there is room.
TEST(DrawingJournal, AFullDiskCostsNothingOnceThereIsRoom)
{
    QTemporaryDir dir;
    const std::string path = dir.filePath("journal").toStdString();
    CSkorelDoc doc;
    doc.KeepRecoveryAt(path);
    Draw(doc, {1});
    ASSERT_TRUE(doc.Recovery()->Flush());
    SetFileSpaceLimit(2000);
    for (int id = 2; id <= 71; ++id) {
        Draw(doc, {id});
        doc.Recovery()->Flush(); // time passes between two shapes
    }
    EXPECT_FALSE(doc.Recovery()->Flush());
    SetFileSpaceLimit(-1);
    for (int id = 72; id <= 74; ++id)
        Draw(doc, {id});
    ASSERT_TRUE(doc.Recovery()->Flush());
    EXPECT_EQ(Replayed(path), Kept(doc));
}

// A snapshot whose name is longer than any path, or a file of zeros, is no drawing, and is
// refused before it costs its size; a snapshot followed by zeros is read up to them.
TEST(DrawingJournal, RefusesWhatNoDrawingHolds)
{
    QTemporaryDir dir;
    const std::string path = dir.filePath("journal").toStdString();
    std::vector<BYTE> snapshot;
    {
        CArchive ar(snapshot, CArchive::store);
        ar << std::uint32_t(3) << std::uint32_t(16 << 20);
    }
    snapshot.resize(snapshot.size() + (16 << 20), 'n');
    {
        CArchive ar(snapshot, CArchive::store);
        ar << std::uint32_t(0);
    }
    snapshot.insert(snapshot.end(), {'S', 'K', 'R', 'L', 1, 0, 0, 0, 0, 0, 0, 0});
    {
        CJournal journal;
        journal.Restart(path, snapshot);
        ASSERT_TRUE(journal.Flush());
    }
    CDrawingJournal::Drawing drawing;
    EXPECT_FALSE(CDrawingJournal::Replay(path, drawing));

    std::ofstream(path, std::ios::trunc).close();
    std::filesystem::resize_file(path, std::uintmax_t(64) << 30);
    EXPECT_FALSE(CDrawingJournal::Replay(path, drawing));

    std::filesystem::remove(path);
    CSkorelDoc doc;
    doc.KeepRecoveryAt(path);
    Draw(doc, {1, 2});
    ASSERT_TRUE(doc.Recovery()->Flush());
    std::filesystem::resize_file(path,
                                 std::filesystem::file_size(path) + (std::uintmax_t(4) << 30));
    EXPECT_EQ(Replayed(path), Kept(doc));
}

} // namespace
