// The recovery journal: its bytes on disk, what reading gives back, where a torn or damaged
// file stops the reading, and what a full disk, a removal and the passing of time do.
#include "framework/core/Journal.h"
#include "framework/core/File.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

// The journals of these tests start with "JRNL" and version 3.
constexpr CJournalFormat kFormat = {{'J', 'R', 'N', 'L'}, 3};

JournalBytes Bytes(const std::string& text) { return JournalBytes(text.begin(), text.end()); }

// A journal file written by hand, each entry's checksum worked out a bit at a time as the
// CRC-32 of IEEE 802.3 is defined.
JournalBytes Journal(const std::vector<JournalBytes>& entries)
{
    JournalBytes file = {'J', 'R', 'N', 'L', 3, 0, 0, 0};
    for (const JournalBytes& entry : entries) {
        std::uint32_t crc = 0xFFFFFFFFu;
        for (std::uint8_t b : entry)
            for (int k = 0; k < 8; ++k, b >>= 1)
                crc = (crc >> 1) ^ (0xEDB88320u & (0u - ((crc ^ b) & 1)));
        for (std::uint32_t v : {std::uint32_t(entry.size()), ~crc})
            for (int i = 0; i < 4; ++i)
                file.push_back(std::uint8_t(v >> (8 * i)));
        file.insert(file.end(), entry.begin(), entry.end());
    }
    return file;
}

// A tail handed over three bytes at a time.
JournalStream Streamed(const std::string& text)
{
    return {text.size(), [text](const ByteSink& sink) {
                for (std::size_t at = 0; at < text.size(); at += 3)
                    if (!sink(text.data() + at, std::min<std::size_t>(3, text.size() - at)))
                        return false;
                return true;
            }};
}

std::atomic<int> g_syncs{0};

class JournalTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        SetFileSpaceLimit(-1);
        SetFileStepHook(nullptr);
    }
    std::string Path(const char* name) const { return dir.filePath(name).toStdString(); }
    static void Put(const std::string& path, const JournalBytes& bytes)
    {
        std::ofstream(path, std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }
    // Every entry the reader passes, read whole.
    static std::vector<JournalBytes> Entries(const std::string& path)
    {
        std::vector<JournalBytes> entries;
        CJournalReader reader(kFormat);
        for (bool open = reader.Open(path); open && reader.Next();) {
            entries.emplace_back();
            EXPECT_TRUE(reader.Read(reader.Offset(), std::size_t(reader.Size()), entries.back()));
        }
        return entries;
    }
    QTemporaryDir dir;
};

// An entry given whole, or with a tail given in pieces, is framed the same way.
TEST_F(JournalTest, WritesTheHeadAndEachEntryFramedByItsLengthAndChecksum)
{
    const std::string path = Path("j");
    {
        CJournal journal(kFormat);
        journal.Restart(path, Bytes("123456789"));
        journal.Append({});
        journal.Append(Bytes("123"), Streamed("456789"));
        ASSERT_TRUE(journal.Flush());
    }
    std::ifstream in(path, std::ios::binary);
    EXPECT_EQ(JournalBytes(std::istreambuf_iterator<char>(in), {}),
              Journal({Bytes("123456789"), {}, Bytes("123456789")}));
    // 0xCBF43926 is the CRC-32 check value of "123456789".
    EXPECT_EQ(Journal({Bytes("123456789")}),
              (JournalBytes{'J',  'R',  'N',  'L', 3,   0,   0,   0,   9,   0,   0,   0,  0x26,
                            0x39, 0xF4, 0xCB, '1', '2', '3', '4', '5', '6', '7', '8', '9'}));
}

// The entries come back as given, an empty last one too; a Restart goes on in the journal's
// own file, one to another name makes that file anew, and a removal takes the file at once
// with whatever waited to be written.
TEST_F(JournalTest, ReadsBackEveryEntryAsGiven)
{
    const std::string path = Path("j"), other = Path("other");
    Put(other, Bytes("whatever was there"));
    CJournal journal(kFormat);
    journal.Restart(path, Bytes("first"));
    journal.Append(Bytes("one"));
    journal.Restart(path, Bytes("snapshot"));
    const JournalBytes big(3 << 20, 0xA5);
    for (const JournalBytes& entry : {JournalBytes(), big, Bytes("three"), JournalBytes()})
        journal.Append(entry);
    ASSERT_TRUE(journal.Flush());
    EXPECT_EQ(Entries(path),
              (std::vector<JournalBytes>{Bytes("first"), Bytes("one"), Bytes("snapshot"),
                                         JournalBytes(), big, Bytes("three"), JournalBytes()}));
    journal.Restart(other, Bytes("elsewhere"), Streamed("and its tail"));
    ASSERT_TRUE(journal.Flush());
    EXPECT_EQ(Entries(other), std::vector<JournalBytes>{Bytes("elsewhereand its tail")});
    journal.Append(Bytes("waiting"));
    journal.Remove();
    EXPECT_FALSE(std::filesystem::exists(other));
    journal.Append(Bytes("after the removal"));
    EXPECT_TRUE(journal.Flush());
    EXPECT_FALSE(std::filesystem::exists(other));
}

// A file cut anywhere inside its last entry, or with a byte of an entry changed, reads up to
// the entry before; a file that does not start as a journal reads as nothing.
TEST_F(JournalTest, StopsAtTheFirstEntryCutShortOrFailingItsChecksum)
{
    const std::string path = Path("j");
    const JournalBytes whole = Journal({Bytes("snapshot"), Bytes("first"), Bytes("second entry")});
    const std::size_t lastEntry = whole.size() - 8 - 12;
    const std::vector<JournalBytes> beforeLast{Bytes("snapshot"), Bytes("first")};
    for (std::size_t cut = lastEntry; cut < whole.size(); ++cut) {
        Put(path, JournalBytes(whole.begin(), whole.begin() + std::ptrdiff_t(cut)));
        ASSERT_EQ(Entries(path), beforeLast) << "cut at " << cut;
    }
    for (const std::size_t at : {lastEntry, lastEntry + 4, lastEntry + 8, whole.size() - 1}) {
        JournalBytes damaged = whole;
        damaged[at] ^= 0x10;
        Put(path, damaged);
        ASSERT_EQ(Entries(path), beforeLast) << "changed at " << at;
    }
    JournalBytes damaged = whole;
    damaged[8 + 8] ^= 0x01; // the first entry: nothing after it counts
    Put(path, damaged);
    EXPECT_TRUE(Entries(path).empty());
    for (const JournalBytes& notJournal : {Bytes("JRNL"), Bytes("JRNL\1\0\0\0"), Bytes("BM")}) {
        Put(path, notJournal);
        CJournalReader reader(kFormat);
        EXPECT_FALSE(reader.Open(path));
    }
    CJournalReader reader(kFormat);
    EXPECT_FALSE(reader.Open(Path("missing")));
}

// Lengths are checked against the file before anything is read: 64 GB of zeros, with or
// without a journal's head, or an entry that claims 4 GB, cost no memory.
TEST_F(JournalTest, HugeFilesAreReadWithoutTakingTheirSize)
{
    const std::string path = Path("j");
    CJournalReader reader(kFormat);
    for (const JournalBytes& head : {JournalBytes(), Journal({})}) {
        Put(path, head);
        std::filesystem::resize_file(path, std::uintmax_t(64) << 30);
        ASSERT_EQ(reader.Open(path), !head.empty());
    }
    ASSERT_TRUE(reader.Next()); // zeros frame an empty entry
    EXPECT_EQ(reader.Size(), 0u);
    JournalBytes claims = Journal({Bytes("snapshot")});
    claims.insert(claims.end(), {0xF0, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0});
    Put(path, claims);
    ASSERT_TRUE(reader.Open(path) && reader.Next());
    EXPECT_FALSE(reader.Next());
    JournalBytes bytes;
    EXPECT_FALSE(reader.Read(reader.Offset() + 8, 1, bytes)); // beyond the entries passed
}

TEST_F(JournalTest, ReportsAJournalThatCannotBeWritten)
{
    CJournal journal(kFormat);
    journal.Append(Bytes("before any start"));
    EXPECT_TRUE(journal.Flush());
    journal.Restart(Path("no/such/folder/j"), Bytes("snapshot"));
    journal.Append(Bytes("entry"));
    EXPECT_FALSE(journal.Flush());
    EXPECT_TRUE(journal.Failed());
    journal.Restart(Path("j"), Bytes("snapshot"));
    EXPECT_TRUE(journal.Flush());
    EXPECT_FALSE(journal.Failed());
}

// A write that finds the disk full cuts the file back to its last whole entry and writes
// nothing more until the next Restart, which works again once there is room; the handler
// hears of both.
TEST_F(JournalTest, AFullDiskCutsBackToTheLastWholeEntry)
{
    const std::string path = Path("j");
    std::vector<bool> heard;
    CJournal journal(kFormat);
    journal.OnFailure([&heard](bool failing) { heard.push_back(failing); });
    journal.Restart(path, Bytes("snapshot"));
    journal.Append(Bytes("first"));
    ASSERT_TRUE(journal.Flush());
    const auto whole = std::filesystem::file_size(path);
    SetFileSpaceLimit(10); // the next entry tears after ten bytes
    journal.Append(Bytes("torn entry"));
    journal.Append(Bytes("after the tear"));
    EXPECT_FALSE(journal.Flush());
    SetFileSpaceLimit(-1);
    journal.Append(Bytes("before the restart"));
    EXPECT_FALSE(journal.Flush());
    EXPECT_EQ(std::filesystem::file_size(path), whole);
    EXPECT_TRUE(QTest::qWaitFor([&heard] { return heard == std::vector<bool>{true}; }));
    journal.Restart(path, Bytes("again"));
    journal.Append(Bytes("last"));
    ASSERT_TRUE(journal.Flush());
    EXPECT_EQ(Entries(path), (std::vector<JournalBytes>{Bytes("snapshot"), Bytes("first"),
                                                        Bytes("again"), Bytes("last")}));
    EXPECT_TRUE(QTest::qWaitFor([&heard] { return heard == std::vector<bool>{true, false}; }));
}

// The file is made durable once by a flush, and within about a second without one.
TEST_F(JournalTest, SyncsAfterAFlushAndWithinASecond)
{
    g_syncs = 0;
    SetFileStepHook([](const char* step) { g_syncs += std::string(step) == "sync data"; });
    CJournal journal(kFormat);
    journal.Restart(Path("j"), Bytes("snapshot"));
    ASSERT_TRUE(journal.Flush());
    EXPECT_EQ(g_syncs, 1);
    journal.Append(Bytes("entry"));
    QTest::qWait(300);
    EXPECT_EQ(g_syncs, 1);
    EXPECT_TRUE(QTest::qWaitFor([] { return g_syncs == 2; }, 3000));
}

} // namespace
