// Drawings that ended processes left behind: which is offered first, how few of them are
// claimed at once, what becomes of those that cannot be read, and the notice when unsaved
// work has no copy.
#include "AppFixture.h"

#include "tests/shapes/Records.h"

#include "framework/core/File.h"

#include <QStandardPaths>

#include <filesystem>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

using app_test::AppTest;

QString Folder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           "/Local AppWizard-Generated Applications/Skorel/recovery";
}

QStringList Names(const QString& pattern)
{
    return QDir(Folder()).entryList({pattern}, QDir::Files, QDir::Name);
}

// The names of this process's own lock and copy.
QStringList Own()
{
    const QString copy = QFileInfo(QString::fromStdString(AfxRecoveryPath())).fileName();
    return {copy.chopped(5) + ".lock", copy};
}

class RecoveryTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        ASSERT_TRUE(QDir().mkpath(Folder()));
    }
    // Everything the test left in the folder goes, but for this process's own lock.
    void TearDown() override
    {
        AppTest::TearDown();
        SetFileSpaceLimit(-1);
        for (int fd : m_held)
            ::close(fd);
        for (const QString& name : Names("*"))
            if (name != Own()[0])
                QFile::remove(Folder() + '/' + name);
    }
    std::string Message() const { return Window()->statusBar()->currentMessage().toStdString(); }
    // A copy that a process left: one record starting at (id, id) under the drawing's name,
    // last changed `age` seconds ago.
    static void Leave(const QString& file, const std::string& name, int id, int age)
    {
        const std::string path = (Folder() + '/' + file).toStdString();
        CTypedOwningList<CData> records(10);
        records.AddTail(std::make_unique<CData>(Record(SHAPE_LINE, {id, id}, {0, 0})));
        CDrawingJournal(path).Keep(name, records, nullptr); // written whole as it goes
        std::filesystem::last_write_time(path, std::filesystem::file_time_type::clock::now() -
                                                   std::chrono::seconds(age));
    }
    // Holds a lock as a running process does.
    void Hold(const QString& lock)
    {
        m_held.push_back(
            ::open((Folder() + '/' + lock).toUtf8().constData(), O_RDWR | O_CREAT, 0600));
        ASSERT_EQ(::flock(m_held.back(), LOCK_EX | LOCK_NB), 0);
    }

    std::vector<int> m_held;
};

// The newest copy is asked about first, and each copy is claimed only while it is asked about:
// beside this process's own lock, one.
TEST_F(RecoveryTest, OffersTheNewestCopyFirstClaimingOneAtATime)
{
    Leave("a.skrj", "/d/old.skr", 10, 300);
    Leave("b.skrj", "/d/newest.skr", 20, 100);
    Leave("c.skrj", "/d/middle.skr", 30, 200);
    std::vector<qsizetype> locks; // while each question shows
    const auto answer = [&locks](QMessageBox::StandardButton button) -> ModalAnswers::Answer {
        return [&locks, button](QWidget* w) {
            locks.push_back(Names("*.lock").size());
            ModalAnswers::Click(button)(w);
        };
    };
    ModalAnswers answers(
        {answer(QMessageBox::No), answer(QMessageBox::No), answer(QMessageBox::Yes)});
    ASSERT_TRUE(Start());
    ASSERT_EQ(answers.Texts().size(), 3);
    EXPECT_TRUE(answers.Texts()[0].contains("newest.skr"));
    EXPECT_TRUE(answers.Texts()[1].contains("middle.skr"));
    EXPECT_TRUE(answers.Texts()[2].contains("old.skr"));
    EXPECT_EQ(locks, (std::vector<qsizetype>{2, 2, 2}));
    ASSERT_EQ(Doc()->m_shapeList.GetCount(), 1);
    EXPECT_EQ(Doc()->m_shapeList.GetAt(Doc()->m_shapeList.GetHeadPosition())->m_ptStart,
              CPoint(10, 10));
    EXPECT_EQ(Doc()->GetPathName(), "/d/old.skr");
    EXPECT_EQ(Names("*"), Own()); // the restored drawing's copy is this process's own
}

// Copies that cannot be read (a file of zeros as large as a damaged disk leaves, a torn one)
// are renamed, not deleted, and said so once; a lock without a copy whose process ended goes;
// what running processes hold stays, and nothing is asked.
TEST_F(RecoveryTest, SetsAsideCopiesThatCannotBeReadAndCleansUpLocks)
{
    const std::string zeros = (Folder() + "/zeros.skrj").toStdString();
    std::ofstream(zeros).close();
    std::filesystem::resize_file(zeros, std::uintmax_t(64) << 30);
    Leave("torn.skrj", "/d/torn.skr", 10, 0);
    std::filesystem::resize_file((Folder() + "/torn.skrj").toStdString(), 20);
    Leave("busy.skrj", "/d/busy.skr", 20, 0);
    Hold("busy.lock");
    Hold("alive.lock");
    std::ofstream((Folder() + "/gone.lock").toStdString()).close();
    ASSERT_TRUE(Start());
    const QStringList left = {Own()[0],    "alive.lock",           "busy.lock",
                              "busy.skrj", "torn.skrj.unreadable", "zeros.skrj.unreadable"};
    EXPECT_EQ(Names("*"), left);
    EXPECT_EQ(std::filesystem::file_size(zeros + ".unreadable"), std::uintmax_t(64) << 30);
    EXPECT_EQ(Message(), res::FormatString(IDS_RECOVER_SET_ASIDE, "2", Folder().toStdString()));
}

// While the disk is full, the status bar says that unsaved work has no copy; once there is
// room, the next change makes the copy whole, with what was drawn meanwhile, and the notice
// goes.
TEST_F(RecoveryTest, SaysWhileUnsavedWorkHasNoCopy)
{
    ASSERT_TRUE(Start());
    const std::string ready = Message(), unprotected = res::LoadString(IDS_RECOVER_UNPROTECTED);
    Button(ID_DRAW_RECT)->trigger();
    for (int y = 10; y < 200; y += 40) {
        const bool room = y == 10 || y == 170;
        SetFileSpaceLimit(room ? -1 : 0);
        testing_support::Drag(View()->Widget(), {10, y}, {60, y + 20});
        EXPECT_TRUE(QTest::qWaitFor([&] { return Message() == (room ? ready : unprotected); }));
    }
    ASSERT_TRUE(Doc()->Observer().Flush());
    CDrawingJournal::Drawing drawing;
    ASSERT_TRUE(CDrawingJournal::Replay(AfxRecoveryPath(), drawing));
    EXPECT_EQ(drawing.records.size(), 5u);
}

// Without a recovery folder to use (a file in its place), the status bar says so from the
// start. The folder is chosen once per process: this runs in one of its own.
TEST_F(RecoveryTest, SaysWhenThereIsNoFolderForACopy)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            QDir(Folder()).removeRecursively();
            std::ofstream(Folder().toStdString()).close();
            const bool started = Start();
            ::_exit(started && Message() == res::LoadString(IDS_RECOVER_UNPROTECTED) ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

} // namespace
