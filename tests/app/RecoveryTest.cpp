// Drawings that ended processes left behind: which is offered first, how few of them are
// claimed at once, what becomes of those that cannot be read, and the notice when unsaved
// work has no copy.
#include "AppFixture.h"

#include "framework/core/File.h"

#include <QDateTime>
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

std::string Message(CFrameWnd* pFrame)
{
    return static_cast<QMainWindow*>(pFrame->Widget())->statusBar()->currentMessage().toStdString();
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
        const QString own = QString::fromStdString(AfxRecoveryPath()).chopped(5) + ".lock";
        for (const QFileInfo& file : QDir(Folder()).entryInfoList(QDir::Files))
            if (file.absoluteFilePath() != own)
                QFile::remove(file.absoluteFilePath());
    }
    // A copy that a process left: one line record (its id the x of its start) under the
    // drawing's name, last changed `age` seconds ago.
    static void Leave(const QString& file, const std::string& name, int id, int age)
    {
        const std::string path = (Folder() + '/' + file).toStdString();
        {
            CSkorelDoc doc;
            auto record = std::make_unique<CData>();
            record->m_ptStart = CPoint(id, id);
            doc.m_shapeList.AddTail(std::move(record));
            CDrawingJournal journal(path);
            journal.Keep(name, doc.m_shapeList, nullptr);
            ASSERT_TRUE(journal.Flush());
        }
        const auto when = std::filesystem::file_time_type::clock::now() - std::chrono::seconds(age);
        std::filesystem::last_write_time(path, when);
    }
    // Holds a lock as a running process does.
    void Hold(const QString& lock)
    {
        const int fd = ::open((Folder() + '/' + lock).toUtf8().constData(), O_RDWR | O_CREAT, 0600);
        ASSERT_EQ(::flock(fd, LOCK_EX | LOCK_NB), 0);
        m_held.push_back(fd);
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
    std::vector<qsizetype> locks;
    const auto counting = [&locks](ModalAnswers::Answer answer) {
        return [&locks, answer](QWidget* w) {
            locks.push_back(Names("*.lock").size());
            answer(w);
        };
    };
    ModalAnswers answers({counting(ModalAnswers::Click(QMessageBox::No)),
                          counting(ModalAnswers::Click(QMessageBox::No)),
                          counting(ModalAnswers::Click(QMessageBox::Yes))});
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
    // What is left is this process's own copy of the restored drawing, and its lock.
    const QString own = QFileInfo(QString::fromStdString(AfxRecoveryPath())).fileName();
    EXPECT_EQ(Names("*"), (QStringList{own.chopped(5) + ".lock", own}));
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
    const QString own = QFileInfo(QString::fromStdString(AfxRecoveryPath())).fileName();
    EXPECT_EQ(Names("*"),
              (QStringList{own.chopped(5) + ".lock", "alive.lock", "busy.lock", "busy.skrj",
                           "torn.skrj.unreadable", "zeros.skrj.unreadable"}));
    EXPECT_EQ(std::filesystem::file_size(zeros + ".unreadable"), std::uintmax_t(64) << 30);
    EXPECT_EQ(Message(Frame()),
              res::FormatString(IDS_RECOVER_SET_ASIDE, "2", Folder().toStdString()));
}

// While the disk is full, the status bar says that unsaved work has no copy; once there is
// room, the next change makes the copy whole and the notice goes.
TEST_F(RecoveryTest, SaysWhileUnsavedWorkHasNoCopy)
{
    ASSERT_TRUE(Start());
    const std::string ready = Message(Frame());
    const auto draw = [this](int y) {
        Button(ID_DRAW_RECT)->trigger();
        testing_support::Drag(View()->Widget(), {10, y}, {60, y + 20});
    };
    draw(10);
    ASSERT_TRUE(Doc()->Recovery()->Flush());
    SetFileSpaceLimit(0);
    draw(50);
    const std::string unprotected = res::LoadString(IDS_RECOVER_UNPROTECTED);
    EXPECT_TRUE(QTest::qWaitFor([&] { return Message(Frame()) == unprotected; }));
    SetFileSpaceLimit(-1);
    draw(90);
    EXPECT_TRUE(QTest::qWaitFor([&] { return Message(Frame()) == ready; }));
    ASSERT_TRUE(Doc()->Recovery()->Flush());
    CDrawingJournal::Drawing drawing;
    ASSERT_TRUE(CDrawingJournal::Replay(AfxRecoveryPath(), drawing));
    EXPECT_EQ(drawing.records.size(), 3u);
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
            ::_exit(started && Message(Frame()) == res::LoadString(IDS_RECOVER_UNPROTECTED) ? 0
                                                                                            : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

} // namespace
