// The document base: titles and paths, the default open and save through Serialize, Save As
// with its dialog and failure message, and the question before contents are dropped.
#include "framework/docview/Document.h"
#include "framework/core/Resource.h"

#include "tests/support/ModalAnswers.h"

#include "framework/core/Archive.h"
#include "framework/core/Commands.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

namespace {

// A document of integers: a count and the values.
class CNumbersDoc : public CDocument {
public:
    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring()) {
            if (m_bFailStore)
                throw CArchiveException(CArchiveException::writeFailed, "test");
            ar << std::int32_t(m_values.size());
            for (std::int32_t v : m_values)
                ar << v;
            return;
        }
        std::int32_t count = 0;
        ar >> count;
        for (std::int32_t i = 0; i < count; ++i) {
            std::int32_t v = 0;
            ar >> v;
            m_values.push_back(v);
        }
    }
    void DeleteContents() override
    {
        ++m_nDeleted;
        m_values.clear();
    }
    BOOL OnSaveDoc(const char* lpszPathName) override
    {
        m_saved.push_back(lpszPathName ? lpszPathName : "(null)");
        return m_bRefuseSave ? FALSE : CDocument::OnSaveDoc(lpszPathName);
    }

    std::vector<std::int32_t> m_values;
    std::vector<std::string> m_saved;
    int m_nDeleted = 0;
    bool m_bFailStore = false;
    bool m_bRefuseSave = false;
};

class DocumentTest : public ::testing::Test {
protected:
    std::string PathOf(const char* name) const
    {
        return m_dir.filePath(QString::fromUtf8(name)).toStdString();
    }
    void Write(const std::string& path, const QByteArray& bytes) const
    {
        QFile f(QString::fromStdString(path));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray Read(const std::string& path) const
    {
        QFile f(QString::fromStdString(path));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QStringList Files() const { return QDir(m_dir.path()).entryList(QDir::Files); }

    QTemporaryDir m_dir;
    CNumbersDoc m_doc;
};

const QByteArray kTwoNumbers("\x02\x00\x00\x00\x07\x00\x00\x00\xF9\xFF\xFF\xFF", 12);

TEST_F(DocumentTest, CarriesItsClassDescriptor)
{
    EXPECT_STREQ(CDocument::classCDocument.m_lpszClassName, "CDocument");
    EXPECT_TRUE(m_doc.IsKindOf(RUNTIME_CLASS(CCmdTarget)));
}

TEST_F(DocumentTest, TitleFollowsThePathsFileName)
{
    EXPECT_EQ(m_doc.GetTitle(), "");
    m_doc.SetDefaultTitle();
    EXPECT_EQ(m_doc.GetTitle(), "제목 없음");
    m_doc.SetPathName("/home/user/그림/풍경.bmp");
    EXPECT_EQ(m_doc.GetPathName(), "/home/user/그림/풍경.bmp");
    EXPECT_EQ(m_doc.GetTitle(), "풍경.bmp");
}

TEST_F(DocumentTest, NewClearsContentsPathAndModifiedFlag)
{
    m_doc.SetPathName("/tmp/a");
    m_doc.SetModifiedFlag();
    EXPECT_TRUE(m_doc.IsModified());
    EXPECT_TRUE(m_doc.OnNewDoc());
    EXPECT_EQ(m_doc.m_nDeleted, 1);
    EXPECT_FALSE(m_doc.IsModified());
    EXPECT_EQ(m_doc.GetPathName(), "");
}

TEST_F(DocumentTest, OpenReadsTheFileThroughSerializeAfterClearing)
{
    const std::string path = PathOf("numbers.dat");
    Write(path, kTwoNumbers);
    m_doc.m_values = {1};
    m_doc.SetModifiedFlag();
    EXPECT_TRUE(m_doc.OnOpenDoc(path.c_str()));
    EXPECT_EQ(m_doc.m_values, (std::vector<std::int32_t>{7, -7}));
    EXPECT_EQ(m_doc.m_nDeleted, 1);
    EXPECT_FALSE(m_doc.IsModified());
}

struct OpenFailure {
    const char* name;
    const char* file;  // made in the temporary directory, or null
    const char* bytes; // its contents
    std::size_t size;
    UINT message; // the string id of the message shown
    std::vector<std::int32_t> valuesAfter;
};

class DocumentOpenFailure : public DocumentTest,
                            public ::testing::WithParamInterface<OpenFailure> {};

TEST_P(DocumentOpenFailure, IsReportedInKorean)
{
    const OpenFailure& c = GetParam();
    std::string path = PathOf("missing.dat");
    if (c.file) {
        path = PathOf(c.file);
        Write(path, QByteArray(c.bytes, qsizetype(c.size)));
    }
    ModalAnswers answers({ModalAnswers::Click(QMessageBox::Ok)});
    EXPECT_FALSE(m_doc.OnOpenDoc(path.c_str()));
    ASSERT_EQ(answers.Texts().size(), 1);
    EXPECT_TRUE(answers.Texts()[0].contains(QString::fromUtf8(res::LoadString(c.message))));
    EXPECT_TRUE(answers.Texts()[0].contains(QString::fromStdString(path)));
    EXPECT_EQ(m_doc.m_values, c.valuesAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Files, DocumentOpenFailure,
    ::testing::Values(
        OpenFailure{"MissingFile", nullptr, nullptr, 0, AFX_IDP_FAILED_TO_OPEN_DOC, {}},
        OpenFailure{"EmptyFile", "empty.dat", "", 0, AFX_IDP_FAILED_TO_READ_DOC, {}},
        OpenFailure{"CutInTheCount", "cut.dat", "\x02\x00", 2, AFX_IDP_FAILED_TO_READ_DOC, {}},
        OpenFailure{"CountLargerThanTheData",
                    "short.dat",
                    "\x03\x00\x00\x00\x05\x00\x00\x00",
                    8,
                    AFX_IDP_FAILED_TO_READ_DOC,
                    {5}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DocumentTest, OpeningADirectoryIsAnOpenFailure)
{
    ModalAnswers answers({ModalAnswers::Click(QMessageBox::Ok)});
    EXPECT_FALSE(m_doc.OnOpenDoc(m_dir.path().toStdString().c_str()));
    ASSERT_EQ(answers.Texts().size(), 1);
    EXPECT_TRUE(answers.Texts()[0].contains(
        QString::fromUtf8(res::LoadString(AFX_IDP_FAILED_TO_OPEN_DOC))));
    EXPECT_EQ(m_doc.m_nDeleted, 0);
}

TEST_F(DocumentTest, SaveWritesTheStoringArchiveAndReplacesTheFile)
{
    const std::string path = PathOf("numbers.dat");
    Write(path, "old contents that are longer than the new ones");
    m_doc.m_values = {7, -7};
    m_doc.SetModifiedFlag();
    EXPECT_TRUE(m_doc.OnSaveDoc(path.c_str()));
    EXPECT_EQ(Read(path), kTwoNumbers);
    EXPECT_FALSE(m_doc.IsModified());
    EXPECT_EQ(Files(), QStringList{"numbers.dat"});
}

TEST_F(DocumentTest, FailedSaveKeepsTheOldFileAndLeavesNoTemporaryFile)
{
    const std::string path = PathOf("numbers.dat");
    Write(path, kTwoNumbers);
    m_doc.m_bFailStore = true;
    m_doc.SetModifiedFlag();
    EXPECT_FALSE(m_doc.OnSaveDoc(path.c_str()));
    EXPECT_EQ(Read(path), kTwoNumbers);
    EXPECT_TRUE(m_doc.IsModified());
    EXPECT_EQ(Files(), QStringList{"numbers.dat"});
}

TEST_F(DocumentTest, SaveIntoAPlaceThatCannotBeWrittenFails)
{
    EXPECT_FALSE(m_doc.OnSaveDoc(PathOf("no-such-dir/numbers.dat").c_str()));
    EXPECT_FALSE(m_doc.OnSaveDoc(""));
    EXPECT_FALSE(m_doc.OnSaveDoc(nullptr));
}

TEST_F(DocumentTest, SaveAsAsksForANameAndTakesIt)
{
    m_doc.SetDefaultTitle();
    QStringList filters{"unset"};
    QString suffix{"unset"}, shownName;
    const std::string path = PathOf("새 문서.dat");
    ModalAnswers answers(
        {ModalAnswers::TypeFileName(QString::fromStdString(path), [&](QFileDialog* dlg) {
            filters = dlg->nameFilters();
            suffix = dlg->defaultSuffix();
            shownName = dlg->findChild<QLineEdit*>("fileNameEdit")->text();
        })});
    m_doc.m_values = {7, -7};
    EXPECT_TRUE(m_doc.DoSave(nullptr));
    EXPECT_EQ(m_doc.m_saved, std::vector<std::string>{path});
    EXPECT_EQ(Read(path), kTwoNumbers);
    EXPECT_EQ(m_doc.GetPathName(), path);
    EXPECT_EQ(m_doc.GetTitle(), "새 문서.dat");
    EXPECT_EQ(shownName, QString::fromUtf8("제목 없음"));
    EXPECT_TRUE(suffix.isEmpty());
    EXPECT_TRUE(filters.isEmpty() || filters == QStringList{QFileDialog::tr("All Files (*)")});
}

TEST_F(DocumentTest, CancelledSaveAsChangesNothing)
{
    m_doc.SetPathName("/tmp/kept.dat");
    ModalAnswers answers({ModalAnswers::Cancel()});
    EXPECT_FALSE(m_doc.DoSave(nullptr));
    EXPECT_TRUE(m_doc.m_saved.empty());
    EXPECT_EQ(m_doc.GetPathName(), "/tmp/kept.dat");
}

TEST_F(DocumentTest, FailedSaveAsIsReportedAndKeepsPathAndTitle)
{
    m_doc.SetPathName("/tmp/kept.dat");
    m_doc.m_bRefuseSave = true;
    const std::string path = PathOf("new.dat");
    ModalAnswers answers({ModalAnswers::TypeFileName(QString::fromStdString(path)),
                          ModalAnswers::Click(QMessageBox::Ok)});
    EXPECT_FALSE(m_doc.DoSave(nullptr));
    ASSERT_EQ(answers.Texts().size(), 1);
    EXPECT_TRUE(answers.Texts()[0].contains(
        QString::fromUtf8(res::LoadString(AFX_IDP_FAILED_TO_SAVE_DOC))));
    EXPECT_EQ(m_doc.GetPathName(), "/tmp/kept.dat");
    EXPECT_EQ(m_doc.GetTitle(), "kept.dat");
    EXPECT_FALSE(QFile::exists(QString::fromStdString(path)));
}

TEST_F(DocumentTest, SaveCommandsAreInTheDocumentsTable)
{
    const std::string path = PathOf("numbers.dat");
    EXPECT_TRUE(m_doc.OnCmdMsg(ID_FILE_SAVE, false));
    EXPECT_TRUE(m_doc.OnCmdMsg(ID_FILE_SAVE_AS, false));
    EXPECT_FALSE(m_doc.OnCmdMsg(ID_FILE_OPEN, false));

    m_doc.SetPathName(path.c_str());
    m_doc.m_values = {7, -7};
    {
        ModalAnswers none({});
        EXPECT_TRUE(m_doc.OnCmdMsg(ID_FILE_SAVE, true)); // has a path: no dialog
        EXPECT_EQ(Read(path), kTwoNumbers);
        QTest::qWait(30);
        EXPECT_EQ(none.Unexpected(), 0);
    }
    ModalAnswers answers({ModalAnswers::Cancel()});
    EXPECT_TRUE(m_doc.OnCmdMsg(ID_FILE_SAVE_AS, true));
    EXPECT_EQ(answers.Answered(), 1);
}

TEST_F(DocumentTest, UnmodifiedDocumentIsDroppedWithoutAsking)
{
    ModalAnswers answers({});
    EXPECT_TRUE(m_doc.SaveModified());
    QTest::qWait(30);
    EXPECT_EQ(answers.Unexpected(), 0);
}

struct SaveModifiedCase {
    const char* name;
    QMessageBox::StandardButton answer;
    BOOL expected;
    bool saves;
};

class DocumentSaveModified : public DocumentTest,
                             public ::testing::WithParamInterface<SaveModifiedCase> {};

TEST_P(DocumentSaveModified, AsksWhenModified)
{
    const std::string path = PathOf("numbers.dat");
    m_doc.SetPathName(path.c_str());
    m_doc.SetModifiedFlag();
    ModalAnswers answers({ModalAnswers::Click(GetParam().answer)});
    EXPECT_EQ(m_doc.SaveModified(), GetParam().expected);
    ASSERT_EQ(answers.Texts().size(), 1);
    EXPECT_EQ(answers.Texts()[0],
              QString::fromUtf8(res::LoadString(AFX_IDP_ASK_TO_SAVE)).replace("%1", "numbers.dat"));
    EXPECT_EQ(m_doc.m_saved.size(), GetParam().saves ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, DocumentSaveModified,
    ::testing::Values(SaveModifiedCase{"YesSaves", QMessageBox::Yes, TRUE, true},
                      SaveModifiedCase{"NoDropsWithoutSaving", QMessageBox::No, TRUE, false},
                      SaveModifiedCase{"CancelStops", QMessageBox::Cancel, FALSE, false}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
