// The recovery journal: its bytes on disk, what reading gives back, and where a torn or
// damaged file stops the reading.
#include "framework/core/Journal.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

JournalBytes Bytes(const std::string& text) { return JournalBytes(text.begin(), text.end()); }

class JournalTest : public ::testing::Test {
protected:
    std::string Path(const char* name) const { return dir.filePath(name).toStdString(); }
    static JournalBytes Contents(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return JournalBytes(std::istreambuf_iterator<char>(in), {});
    }
    static void Put(const std::string& path, const JournalBytes& bytes)
    {
        std::ofstream(path, std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }
    QTemporaryDir dir;
};

TEST_F(JournalTest, WritesTheHeadAndEachEntryFramedByItsLengthAndChecksum)
{
    const std::string path = Path("j");
    {
        CJournal journal;
        journal.Restart(path, Bytes("123456789"));
        journal.Append({});
        ASSERT_TRUE(journal.Flush());
        EXPECT_EQ(journal.AppendedBytes(), 8u);
    }
    // 0xCBF43926 is the CRC-32 check value of "123456789".
    const JournalBytes expected = {'S', 'K',  'R',  'J',  1,    0,   0,   0,   9,   0,   0,
                                   0,   0x26, 0x39, 0xF4, 0xCB, '1', '2', '3', '4', '5', '6',
                                   '7', '8',  '9',  0,    0,    0,   0,   0,   0,   0,   0};
    EXPECT_EQ(Contents(path), expected);
}

TEST_F(JournalTest, ReadsBackTheLastSnapshotAndTheEntriesAfterIt)
{
    const std::string path = Path("j");
    CJournal journal;
    journal.Restart(path, Bytes("old"));
    journal.Append(Bytes("lost at the restart"));
    journal.Restart(path, Bytes("snapshot"));
    const JournalBytes big(100000, 0xA5);
    for (const JournalBytes& entry : {Bytes("one"), JournalBytes(), big, Bytes("three")})
        journal.Append(entry);
    ASSERT_TRUE(journal.Flush());
    EXPECT_EQ(CJournal::Read(path),
              (std::vector<JournalBytes>{Bytes("snapshot"), Bytes("one"), JournalBytes(), big,
                                         Bytes("three")}));
    journal.Remove();
    journal.Append(Bytes("after the removal"));
    ASSERT_TRUE(journal.Flush());
    EXPECT_FALSE(std::filesystem::exists(path));
}

// A file cut anywhere inside its last entry, or with a byte of an entry changed, reads up to
// the entry before.
TEST_F(JournalTest, StopsAtTheFirstEntryCutShortOrFailingItsChecksum)
{
    const std::string path = Path("j");
    {
        CJournal journal;
        journal.Restart(path, Bytes("snapshot"));
        journal.Append(Bytes("first"));
        journal.Append(Bytes("second entry"));
        ASSERT_TRUE(journal.Flush());
    }
    const JournalBytes whole = Contents(path);
    const std::size_t lastEntry = whole.size() - 8 - 12;
    const std::vector<JournalBytes> beforeLast{Bytes("snapshot"), Bytes("first")};
    for (std::size_t cut = lastEntry; cut < whole.size(); ++cut) {
        Put(path, JournalBytes(whole.begin(), whole.begin() + std::ptrdiff_t(cut)));
        ASSERT_EQ(CJournal::Read(path), beforeLast) << "cut at " << cut;
    }
    for (const std::size_t at : {lastEntry, lastEntry + 4, lastEntry + 8, whole.size() - 1}) {
        JournalBytes damaged = whole;
        damaged[at] ^= 0x10;
        Put(path, damaged);
        ASSERT_EQ(CJournal::Read(path), beforeLast) << "changed at " << at;
    }
    JournalBytes damaged = whole;
    damaged[8 + 8] ^= 0x01; // the snapshot itself
    Put(path, damaged);
    EXPECT_TRUE(CJournal::Read(path).empty());
    for (const JournalBytes& notJournal : {Bytes("SKRJ"), Bytes("SKRJ\2\0\0\0"), Bytes("BM")}) {
        Put(path, notJournal);
        EXPECT_TRUE(CJournal::Read(path).empty());
    }
    EXPECT_TRUE(CJournal::Read(Path("missing")).empty());
}

TEST_F(JournalTest, ReportsAJournalThatCannotBeWritten)
{
    CJournal journal;
    journal.Append(Bytes("before any start"));
    EXPECT_TRUE(journal.Flush());
    journal.Restart(Path("no/such/folder/j"), Bytes("snapshot"));
    journal.Append(Bytes("entry"));
    EXPECT_FALSE(journal.Flush());
    journal.Restart(Path("j"), Bytes("snapshot"));
    EXPECT_TRUE(journal.Flush());
}

} // namespace
