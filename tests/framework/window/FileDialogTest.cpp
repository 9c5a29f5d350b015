// The file dialog: filter strings, the Qt dialog it shows, the name it returns, the overwrite
// question, and names listed whatever the case of their extension.
#include "framework/window/FileDialog.h"

#include "tests/support/ModalAnswers.h"

#include "framework/core/Commands.h"

#include <QAbstractItemView>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

constexpr const char* kBmpFilter = "(*.BMP)|*.BMP|모든파일(*.*)|*.*|";

struct FilterCase {
    const char* name;
    const char* filter;
    std::vector<std::string> expected;
};

class FileDialogFilter : public ::testing::TestWithParam<FilterCase> {};

TEST_P(FileDialogFilter, BecomesQtNameFilters)
{
    EXPECT_EQ(CFileDialog::ParseFilter(GetParam().filter), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Strings, FileDialogFilter,
    ::testing::Values(
        FilterCase{"SaveWindowFilterKeepsItsTexts", kBmpFilter, {"(*.BMP)", "모든파일(*.*)"}},
        FilterCase{"NullHasNone", nullptr, {}}, FilterCase{"EmptyHasNone", "", {}},
        FilterCase{"SeveralPatternsAreSpaced", "Bitmaps|*.bmp;*.dib||", {"Bitmaps (*.bmp *.dib)"}},
        FilterCase{"TextWithItsPatternsKeepsThem",
                   "Pictures (*.bmp;*.dib)|*.bmp;*.dib|",
                   {"Pictures (*.bmp *.dib)"}},
        FilterCase{"MissingLastBarStillCounts", "Text|*.txt", {"Text (*.txt)"}},
        FilterCase{"PairWithoutPatternIsLeftOut", "Odd||Text|*.txt|", {"Text (*.txt)"}}),
    [](const auto& info) { return std::string(info.param.name); });

class FileDialogTest : public ::testing::Test {
protected:
    QString PathOf(const char* name) const { return m_dir.filePath(QString::fromUtf8(name)); }
    void Touch(const char* name) const
    {
        QFile f(PathOf(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    QTemporaryDir m_dir;
};

TEST_F(FileDialogTest, SaveDialogIsQtsOwnWithFiltersAndInitialName)
{
    const std::string initial = PathOf("그림.bmp").toStdString();
    QStringList filters;
    QString selectedFilter, shownName;
    bool native = true, save = false;
    ModalAnswers answers({ModalAnswers::Cancel([&](QWidget* w) {
        auto* dlg = qobject_cast<QFileDialog*>(w);
        ASSERT_NE(dlg, nullptr);
        native = !dlg->testOption(QFileDialog::DontUseNativeDialog);
        save = dlg->acceptMode() == QFileDialog::AcceptSave;
        filters = dlg->nameFilters();
        selectedFilter = dlg->selectedNameFilter();
        shownName = dlg->findChild<QLineEdit*>("fileNameEdit")->text();
    })});
    CFileDialog dlg(FALSE, "", initial.c_str(), OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, kBmpFilter);
    EXPECT_EQ(dlg.DoModal(), int(IDCANCEL));
    EXPECT_EQ(dlg.GetPathName(), "");
    EXPECT_FALSE(native);
    EXPECT_TRUE(save);
    EXPECT_EQ(filters, QStringList({"(*.BMP)", QString::fromUtf8("모든파일(*.*)")}));
    EXPECT_EQ(selectedFilter, "(*.BMP)");
    EXPECT_EQ(shownName, QString::fromUtf8("그림.bmp"));
}

TEST_F(FileDialogTest, TypedNameIsTakenWithoutAddingAnExtension)
{
    ModalAnswers answers({ModalAnswers::TypeFileName(PathOf("capture"))});
    CFileDialog dlg(FALSE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, kBmpFilter);
    ASSERT_EQ(dlg.DoModal(), int(IDOK));
    EXPECT_EQ(dlg.GetPathName(), PathOf("capture").toStdString());
}

TEST_F(FileDialogTest, DefaultExtensionIsAddedWhenGiven)
{
    ModalAnswers answers({ModalAnswers::TypeFileName(PathOf("capture"))});
    CFileDialog dlg(FALSE, "bmp");
    ASSERT_EQ(dlg.DoModal(), int(IDOK));
    EXPECT_EQ(dlg.GetPathName(), PathOf("capture.bmp").toStdString());
}

TEST_F(FileDialogTest, ReplacingAFileIsConfirmedFirst)
{
    Touch("old.bmp");
    ModalAnswers answers(
        {ModalAnswers::TypeFileName(PathOf("old.bmp")), ModalAnswers::Click(QMessageBox::Yes)});
    CFileDialog dlg(FALSE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT);
    ASSERT_EQ(dlg.DoModal(), int(IDOK));
    EXPECT_EQ(dlg.GetPathName(), PathOf("old.bmp").toStdString());
    EXPECT_EQ(answers.Answered(), 2);
}

TEST_F(FileDialogTest, WithoutOverwritePromptAFileIsReplacedWithoutAsking)
{
    Touch("old.bmp");
    ModalAnswers answers({ModalAnswers::TypeFileName(PathOf("old.bmp"))});
    CFileDialog dlg(FALSE, nullptr, nullptr, OFN_HIDEREADONLY);
    ASSERT_EQ(dlg.DoModal(), int(IDOK));
    QTest::qWait(50);
    EXPECT_EQ(answers.Answered(), 1);
    EXPECT_EQ(answers.Unexpected(), 0);
}

TEST_F(FileDialogTest, PatternsMatchNamesWhateverTheirCase)
{
    Touch("lower.bmp");
    Touch("upper.BMP");
    Touch("notes.txt");
    QStringList listed;
    ModalAnswers answers({ModalAnswers::Cancel([&](QWidget* w) {
        auto* view = w->findChild<QAbstractItemView*>("listView");
        ASSERT_NE(view, nullptr);
        auto names = [&] {
            QStringList n;
            const QModelIndex root = view->rootIndex();
            for (int row = 0; row < view->model()->rowCount(root); ++row)
                n << view->model()->index(row, 0, root).data().toString();
            n.sort();
            return n;
        };
        // The directory is read in the background.
        EXPECT_TRUE(QTest::qWaitFor([&] { return names().size() >= 2; }, 5000));
        listed = names();
    })});
    const std::string initial = PathOf("x").toStdString();
    CFileDialog dlg(TRUE, nullptr, initial.c_str(), OFN_HIDEREADONLY, kBmpFilter);
    dlg.DoModal();
    EXPECT_EQ(listed, QStringList({"lower.bmp", "upper.BMP"}));
}

} // namespace
