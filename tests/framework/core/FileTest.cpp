// File handles and file replacement: open modes, exclusive reading, and a target that stays
// as it was until a replacement is committed.
#include "framework/core/File.h"
#include "framework/core/Error.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include <algorithm>
#include <csignal>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

class FileTest : public ::testing::Test {
protected:
    std::string Path(const char* name) { return dir.filePath(name).toStdString(); }
    std::string Put(const char* name, const std::string& text)
    {
        std::ofstream(Path(name), std::ios::binary) << text;
        return Path(name);
    }
    std::string Contents(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    QStringList Names() { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden); }

    QTemporaryDir dir;
};

TEST_F(FileTest, ReadsAnExistingFile)
{
    const std::string path = Put("a.bin", "hello");
    CFileHandle file;
    ASSERT_TRUE(file.Open(path.c_str(), CFileHandle::Mode::ReadExisting));
    std::uint64_t length = 0;
    ASSERT_TRUE(file.Length(length));
    EXPECT_EQ(length, 5u);
    char buf[8] = {};
    EXPECT_EQ(file.Read(buf, 8), 5u);
    EXPECT_STREQ(buf, "hello");
    ASSERT_TRUE(file.Seek(1));
    EXPECT_EQ(file.Read(buf, 2), 2u);
    EXPECT_EQ(std::string(buf, 2), "el");
    EXPECT_FALSE(file.Write("x", 1));
}

TEST_F(FileTest, ReadingRefusesWhatIsNotARegularFile)
{
    CFileHandle file;
    EXPECT_FALSE(file.Open(Path("missing").c_str(), CFileHandle::Mode::ReadExisting));
    EXPECT_FALSE(file.Open(dir.path().toStdString().c_str(), CFileHandle::Mode::ReadExisting));
    ASSERT_EQ(::mkfifo(Path("fifo").c_str(), 0600), 0);
    EXPECT_FALSE(file.Open(Path("fifo").c_str(), CFileHandle::Mode::ReadExisting));
    EXPECT_FALSE(file.Open(nullptr, CFileHandle::Mode::ReadExisting));
}

TEST_F(FileTest, ReadingIsExclusiveUntilClosed)
{
    const std::string path = Put("a.bin", "x");
    CFileHandle first, second;
    ASSERT_TRUE(first.Open(path.c_str(), CFileHandle::Mode::ReadExisting));
    EXPECT_FALSE(second.Open(path.c_str(), CFileHandle::Mode::ReadExisting));
    CFileHandle moved = std::move(first);
    EXPECT_FALSE(first.IsOpen());
    EXPECT_FALSE(second.Open(path.c_str(), CFileHandle::Mode::ReadExisting));
    EXPECT_TRUE(moved.Close());
    EXPECT_TRUE(second.Open(path.c_str(), CFileHandle::Mode::ReadExisting));
}

TEST_F(FileTest, CreateNewRefusesAnExistingFile)
{
    const std::string path = Put("a.bin", "old");
    CFileHandle file;
    EXPECT_FALSE(file.Open(path.c_str(), CFileHandle::Mode::CreateNew));
    ASSERT_TRUE(file.Open(Path("b.bin").c_str(), CFileHandle::Mode::CreateNew));
    EXPECT_TRUE(file.Write("new", 3));
    EXPECT_TRUE(file.Close());
    EXPECT_EQ(Contents(Path("b.bin")), "new");
}

TEST_F(FileTest, CommittedReplacementTakesThePlaceOfTheTarget)
{
    const std::string path = Put("a.bin", "old contents");
    ::chmod(path.c_str(), 0640);
    CFileReplacement file;
    ASSERT_TRUE(file.Open(path.c_str()));
    EXPECT_EQ(Contents(path), "old contents");
    ASSERT_TRUE(file.Write("new", 3));
    ASSERT_TRUE(file.Commit());
    EXPECT_EQ(Contents(path), "new");
    EXPECT_EQ(Names(), QStringList{"a.bin"});
    struct stat st;
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST_F(FileTest, UncommittedReplacementLeavesNoTrace)
{
    const std::string path = Put("a.bin", "old");
    {
        CFileReplacement file;
        ASSERT_TRUE(file.Open(path.c_str()));
        ASSERT_TRUE(file.Write("new", 3));
    }
    EXPECT_EQ(Contents(path), "old");
    EXPECT_EQ(Names(), QStringList{"a.bin"});
}

// ReplaceFile takes the pieces as they come, or leaves the target as it was when one fails.
TEST_F(FileTest, ReplaceFileWritesEveryPieceOrNothing)
{
    const std::string path = Put("a.bin", "old");
    EXPECT_FALSE(
        ReplaceFile(path.c_str(), [](const ByteSink& write) { return write("new", 3) && false; }));
    EXPECT_EQ(Contents(path), "old");
    EXPECT_EQ(Names(), QStringList{"a.bin"});
    ASSERT_TRUE(ReplaceFile(path.c_str(), [](const ByteSink& write) {
        return write("ne", 2) && write("", 0) && write("w!", 2);
    }));
    EXPECT_EQ(Contents(path), "new!");
    ASSERT_TRUE(ReplaceFile(Path("b.bin").c_str(), "bytes", 5));
    EXPECT_EQ(Contents(Path("b.bin")), "bytes");
}

TEST_F(FileTest, ReplacementThatCannotBeWrittenFails)
{
    const std::string path = Put("a.bin", "old");
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 10;
    {
        ::setrlimit(RLIMIT_FSIZE, &small);
        CFileReplacement file;
        const bool opened = file.Open(path.c_str());
        const bool written = file.Write(std::string(100, 'x').data(), 100);
        ::setrlimit(RLIMIT_FSIZE, &saved);
        EXPECT_TRUE(opened);
        EXPECT_FALSE(written);
    }
    EXPECT_EQ(Contents(path), "old");

    CFileReplacement nowhere;
    EXPECT_FALSE(nowhere.Open(Path("missing/a.bin").c_str()));
    EXPECT_FALSE(nowhere.Commit());
    EXPECT_EQ(Names(), QStringList{"a.bin"});
}

// Replaces the file at the end of `link` (relative to the folder) and reports what the folder
// holds afterwards.
struct LinkCase {
    const char* name;
    const char* link;   // target of the symbolic link "a.lnk"; empty: sub/target.bin by its
                        // absolute path
    const char* result; // the file that receives the new contents
};

class FileLinks : public FileTest, public ::testing::WithParamInterface<LinkCase> {};

TEST_P(FileLinks, ReplacementFollowsTheLinkAndKeepsIt)
{
    QDir(dir.path()).mkdir("sub");
    Put("sub/target.bin", "old");
    const std::string link = *GetParam().link ? GetParam().link : Path("sub/target.bin");
    ASSERT_EQ(::symlink(link.c_str(), Path("a.lnk").c_str()), 0);
    CFileReplacement file;
    ASSERT_TRUE(file.Open(Path("a.lnk").c_str()));
    ASSERT_TRUE(file.Write("new", 3));
    ASSERT_TRUE(file.Commit());
    struct stat st;
    ASSERT_EQ(::lstat(Path("a.lnk").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(Contents(Path(GetParam().result)), "new");
    EXPECT_EQ(QDir(dir.filePath("sub")).entryList(QDir::Files | QDir::Hidden).filter(".tmp"),
              QStringList());
}

INSTANTIATE_TEST_SUITE_P(Links, FileLinks,
                         ::testing::Values(LinkCase{"Relative", "sub/target.bin", "sub/target.bin"},
                                           LinkCase{"Absolute", "", "sub/target.bin"},
                                           LinkCase{"Dangling", "sub/new.bin", "sub/new.bin"}),
                         [](const auto& info) { return std::string(info.param.name); });

// A target that exists but is not a regular file, or can't be written, is left untouched.
TEST_F(FileTest, ReplacementRefusesSpecialAndReadOnlyTargets)
{
    ASSERT_EQ(::mkfifo(Path("fifo").c_str(), 0600), 0);
    const std::string readOnly = Put("ro.bin", "old");
    ::chmod(readOnly.c_str(), 0444);
    QDir(dir.path()).mkdir("folder");
    const struct {
        std::string path;
        DWORD error;
    } cases[] = {{Path("fifo"), ERROR_NOT_REGULAR_FILE},
                 {Path("folder"), ERROR_NOT_REGULAR_FILE},
                 {"/dev/null", ERROR_NOT_REGULAR_FILE},
                 {readOnly, DWORD(EACCES)},
                 {Path("missing/a.bin"), DWORD(ENOENT)}};
    for (const auto& c : cases) {
        CFileReplacement file;
        SetLastError(0);
        EXPECT_FALSE(file.Open(c.path.c_str())) << c.path;
        EXPECT_EQ(GetLastError(), c.error) << c.path;
        EXPECT_FALSE(file.Commit());
    }
    struct stat st;
    ASSERT_EQ(::stat(Path("fifo").c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    ASSERT_EQ(::stat("/dev/null", &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode));
    EXPECT_EQ(Contents(readOnly), "old");
    EXPECT_EQ(Names(), QStringList{"ro.bin"});
}

// A replacement whose rename fails (the target became a folder) leaves no temporary file.
TEST_F(FileTest, CommitWhoseRenameFailsLeavesNoTemporaryFile)
{
    const std::string path = Put("a.bin", "old");
    CFileReplacement file;
    ASSERT_TRUE(file.Open(path.c_str()));
    ASSERT_TRUE(file.Write("new", 3));
    ASSERT_EQ(::unlink(path.c_str()), 0);
    ASSERT_TRUE(QDir(dir.path()).mkpath("a.bin/inside"));
    EXPECT_FALSE(file.Commit());
    EXPECT_TRUE(Names().isEmpty()) << Names().join(",").toStdString();
}

// A process killed while saving leaves nothing; what one left more than a day ago goes at the
// next save into the folder, what is younger may be a save going on and stays.
TEST_F(FileTest, KilledSaveLeavesNoTemporaryFileAndOldOnesGo)
{
    const std::string path = Put("a.bin", "old");
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        CFileReplacement file;
        ::_exit(file.Open(path.c_str()) && file.Write("new", 3) ? 0 : 1);
    }
    int status = -1;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_EQ(status, 0);
    EXPECT_EQ(Names(), QStringList{"a.bin"});

    // Temporary files are named after the tests' application, "Frame Test".
    const std::string stale = Put(".frame-test-1-1.tmp", "x"),
                      young = Put(".frame-test-1-2.tmp", "x");
    const timespec twoDaysAgo[2] = {{::time(nullptr) - 2 * 86400, 0},
                                    {::time(nullptr) - 2 * 86400, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, stale.c_str(), twoDaysAgo, 0), 0);
    CFileReplacement file;
    ASSERT_TRUE(file.Open(path.c_str()));
    ASSERT_TRUE(file.Write("new", 3));
    ASSERT_TRUE(file.Commit());
    EXPECT_EQ(Names(), (QStringList{".frame-test-1-2.tmp", "a.bin"}));
}

std::vector<std::string> g_steps;

// The data reaches the disk before the name does: the order of the durable steps.
TEST_F(FileTest, CommitSyncsTheDataBeforeTheRename)
{
    const std::string path = Put("a.bin", "old");
    g_steps.clear();
    const FileStepHook old = SetFileStepHook([](const char* step) { g_steps.push_back(step); });
    CFileReplacement file;
    ASSERT_TRUE(file.Open(path.c_str()));
    ASSERT_TRUE(file.Write("new", 3));
    EXPECT_TRUE(g_steps.empty());
    ASSERT_TRUE(file.Commit());
    SetFileStepHook(old);
    EXPECT_EQ(g_steps, (std::vector<std::string>{"sync", "rename", "sync folder"}));
}

struct ExtensionCase {
    const char* name;
    const char* path;
    const char* extension;
    const char* asDrawing; // with "skr" in its place
};

class FileExtensions : public ::testing::TestWithParam<ExtensionCase> {};

TEST_P(FileExtensions, AreTheLastNamesPartAfterItsLastDot)
{
    const ExtensionCase& c = GetParam();
    EXPECT_EQ(FileExtension(c.path), c.extension);
    EXPECT_EQ(WithExtension(c.path, "skr"), c.asDrawing);
}

INSTANTIATE_TEST_SUITE_P(
    Names, FileExtensions,
    ::testing::Values(ExtensionCase{"InSmallLetters", "a/b.PNG", "png", "a/b.skr"},
                      ExtensionCase{"LastOfTwo", "a/b.c.jpeg", "jpeg", "a/b.c.skr"},
                      ExtensionCase{"None", "a/b", "", "a/b.skr"},
                      ExtensionCase{"DotInTheFolder", "a.d/b", "", "a.d/b.skr"},
                      ExtensionCase{"HiddenName", "a/.b", "", "a/.b.skr"},
                      ExtensionCase{"TrailingDot", "b.", "", "b.skr"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FileBlock, HoldsEveryByteAskedFor)
{
    for (std::size_t n : {std::size_t(0), std::size_t(1), std::size_t(3) << 20}) {
        FileBlock block = AllocFileBlock(n);
        ASSERT_NE(block, nullptr) << n;
        std::fill_n(block.get(), n, std::uint8_t(7));
    }
}

} // namespace
