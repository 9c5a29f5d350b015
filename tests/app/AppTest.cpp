// The whole program in one process: start-up, menus, toolbar, status bar, commands, About.
#include "tests/support/ModalAnswers.h"

#include "app/Skorel.h"
#include "doc/SkorelDoc.h"
#include "res/resource.h"
#include "view/SkorelView.h"

#include "framework/Commands.h"
#include "framework/Frame.h"

#include <QAction>
#include <QFileDialog>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

#include <fstream>

namespace {

class AppTest : public ::testing::Test {
protected:
    // Starts the application with a command line, as the process entry would.
    bool Start(std::vector<std::string> args = {})
    {
        m_app = std::make_unique<CSkorelApp>();
        m_app->m_arguments = std::move(args);
        return m_app->Initialize();
    }
    void TearDown() override
    {
        if (m_app)
            m_app->ExitInstance();
    }
    CFrameWnd* Frame() const { return static_cast<CFrameWnd*>(m_app->m_pMainWnd); }
    QMainWindow* Window() const { return static_cast<QMainWindow*>(Frame()->Widget()); }
    CSkorelView* View() const { return static_cast<CSkorelView*>(Frame()->GetActiveView()); }
    CSkorelDoc* Doc() const { return View()->GetDocument(); }
    QToolBar* ToolBar() const { return Window()->findChild<QToolBar*>(); }
    QAction* MenuItem(const QString& text) const
    {
        for (QAction* top : Window()->menuBar()->actions())
            for (QAction* a : top->menu()->actions())
                if (a->text() == text)
                    return a;
        return nullptr;
    }
    QAction* Button(UINT id) const { return Frame()->Action(id); }

    std::unique_ptr<CSkorelApp> m_app;
    QTemporaryDir m_dir;
};

void WriteBytes(const QString& path, const std::vector<unsigned char>& bytes)
{
    std::ofstream(path.toStdString(), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

TEST_F(AppTest, StartsWithAnUntitledVisibleWindowReadyToDraw)
{
    ASSERT_TRUE(Start());
    EXPECT_TRUE(Window()->isVisible());
    EXPECT_EQ(Window()->windowTitle(), QStringLiteral("제목 없음 - Skorel"));
    ASSERT_NE(ToolBar(), nullptr);
    EXPECT_EQ(Window()->toolBarArea(ToolBar()), Qt::TopToolBarArea);
    EXPECT_TRUE(ToolBar()->isMovable());
    EXPECT_TRUE(ToolBar()->isFloatable());
    EXPECT_EQ(ToolBar()->allowedAreas(), Qt::AllToolBarAreas);
    EXPECT_EQ(Window()->statusBar()->currentMessage(), QStringLiteral("준비"));
    EXPECT_EQ(Window()->statusBar()->findChildren<QLabel*>().size(), 3);
    // A new main window gets about three quarters of the screen.
    const QRect screen = Window()->screen()->availableGeometry();
    EXPECT_EQ(Window()->width(), screen.width() * 3 / 4);
}

TEST_F(AppTest, StartsWithAnArchiveFileAndLoadsItsRecords)
{
    const QString path = m_dir.filePath("drawing.skr");
    std::vector<unsigned char> bytes = {1, 0, 0, 0};
    for (int v : {10, 20, 110, 80, 2, 0xFF, 0xFFFFFF, 3})
        for (int i = 0; i < 4; ++i)
            bytes.push_back((unsigned(v) >> (8 * i)) & 0xFF);
    WriteBytes(path, bytes);
    ASSERT_TRUE(Start({path.toStdString()}));
    EXPECT_EQ(Doc()->m_shapeList.GetCount(), 1);
    EXPECT_EQ(Window()->windowTitle(), QStringLiteral("drawing.skr - Skorel"));
}

TEST_F(AppTest, StartsWithABmpFileAndShowsIt)
{
    const QString path = m_dir.filePath("green.bmp");
    QImage green(40, 30, QImage::Format_RGB888);
    green.fill(QColor(0, 255, 0));
    ASSERT_TRUE(green.save(path, "BMP"));
    ASSERT_TRUE(Start({path.toStdString()}));
    EXPECT_EQ(Doc()->m_shapeList.GetCount(), 0);
    ASSERT_TRUE(Doc()->m_pImage);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Window()));
    QApplication::processEvents();
    EXPECT_EQ(View()->m_dcCanvas.GetPixel(5, 5), RGB(0, 255, 0));
}

TEST_F(AppTest, UnreadableFileOnTheCommandLineEndsAfterTheMessage)
{
    ModalAnswers answers({ModalAnswers::Click(QMessageBox::Ok)});
    EXPECT_FALSE(Start({m_dir.filePath("missing.skr").toStdString()}));
    EXPECT_EQ(answers.Texts().size(), 1);
    EXPECT_EQ(m_app->m_pMainWnd, nullptr);
}

// Which dialog a command opens: the view's Save lists BMP files, the document's Save As all.
int FiltersOfTheDialogOpenedBy(const std::function<void()>& command)
{
    int filters = -1;
    ModalAnswers answers({ModalAnswers::Cancel([&filters](QWidget* w) {
        if (auto* dlg = qobject_cast<QFileDialog*>(w))
            filters = int(dlg->nameFilters().size());
    })});
    command();
    return filters;
}

TEST_F(AppTest, SaveKeyMenuItemAndButtonReachTheViewAndOnlySaveAsTheDocument)
{
    ASSERT_TRUE(Start());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Window()));
    EXPECT_EQ(FiltersOfTheDialogOpenedBy(
                  [&] { QTest::keyClick(Window(), Qt::Key_S, Qt::ControlModifier); }),
              2);
    EXPECT_EQ(FiltersOfTheDialogOpenedBy(
                  [&] { MenuItem(QStringLiteral("저장(&S)\tCtrl+S"))->trigger(); }),
              2);
    QToolButton* floppy =
        qobject_cast<QToolButton*>(ToolBar()->widgetForAction(Button(ID_FILE_SAVE)));
    ASSERT_NE(floppy, nullptr);
    EXPECT_EQ(FiltersOfTheDialogOpenedBy([&] { floppy->click(); }), 2);
    EXPECT_EQ(FiltersOfTheDialogOpenedBy(
                  [&] { MenuItem(QStringLiteral("다른 이름으로 저장(&A)..."))->trigger(); }),
              1);
}

TEST_F(AppTest, CommandsWithoutAHandlerAreDisabledAndTheirKeysDoNothing)
{
    ASSERT_TRUE(Start());
    for (UINT id :
         {ID_EDIT_UNDO, ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE, ID_NEXT_PANE, ID_PREV_PANE})
        EXPECT_FALSE(Button(id)->isEnabled()) << id;
    EXPECT_FALSE(ToolBar()->widgetForAction(Button(ID_EDIT_CUT))->isEnabled());
    EXPECT_TRUE(Button(ID_FILE_NEW)->isEnabled());
    EXPECT_TRUE(Button(ID_DRAW_RECT)->isEnabled());
    const QList<QKeySequence> cut = Button(ID_EDIT_CUT)->shortcuts();
    EXPECT_TRUE(cut.contains(QKeySequence(Qt::SHIFT | Qt::Key_Delete)));
    EXPECT_TRUE(
        Button(ID_EDIT_UNDO)->shortcuts().contains(QKeySequence(Qt::ALT | Qt::Key_Backspace)));
    EXPECT_TRUE(Button(ID_NEXT_PANE)->shortcuts().contains(QKeySequence(Qt::Key_F6)));
    // The keys reach nothing: no dialog, no change.
    QTest::keyClick(Window(), Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(Window(), Qt::Key_F6);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(AppTest, ThicknessMenuItemsFiveAndSeven)
{
    ASSERT_TRUE(Start());
    MenuItem(QStringLiteral("5"))->trigger();
    EXPECT_EQ(View()->m_nThickness, 5);
    MenuItem(QStringLiteral("7"))->trigger();
    EXPECT_EQ(View()->m_nThickness, 7);
}

TEST_F(AppTest, PromptsAndTooltipsComeFromTheStringTable)
{
    ASSERT_TRUE(Start());
    EXPECT_EQ(Button(ID_FILE_NEW)->toolTip(), QStringLiteral("새 파일"));
    EXPECT_EQ(Button(ID_FILE_NEW)->statusTip(), QStringLiteral("새 문서를 작성합니다"));
    for (UINT id : {ID_DRAW_LINE, ID_DRAW_RECT, ID_DRAW_ELLIPSE, ID_LINE_COLOR, ID_FILL_COLOR,
                    ID_SELECT, ID_ERASER}) {
        EXPECT_TRUE(Button(id)->toolTip().isEmpty()) << id;
        EXPECT_TRUE(Button(id)->statusTip().isEmpty()) << id;
    }
}

TEST_F(AppTest, RecentFilesHoldAtMostFourAndSurviveARestart)
{
    ASSERT_TRUE(Start());
    std::vector<std::string> opened;
    for (int i = 0; i < 6; ++i) {
        const QString path = m_dir.filePath(QStringLiteral("empty%1.skr").arg(i));
        WriteBytes(path, {0, 0, 0, 0});
        ASSERT_NE(m_app->OpenDocumentFile(path.toUtf8().constData()), nullptr);
        opened.push_back(path.toStdString());
    }
    const std::vector<std::string> recent = m_app->GetRecentFiles();
    ASSERT_EQ(recent.size(), 4u);
    EXPECT_EQ(recent.front(), opened.back());
    m_app->ExitInstance();
    m_app.reset();
    ASSERT_TRUE(Start());
    EXPECT_EQ(m_app->GetRecentFiles(), recent);
    EXPECT_EQ(Button(ID_FILE_MRU_FILE1)->text(), QStringLiteral("&1 empty5.skr"));
    EXPECT_TRUE(Button(ID_FILE_MRU_FILE1 + 3)->isEnabled());
}

// A name that is not valid UTF-8 is a name all the same: the list keeps its bytes.
TEST_F(AppTest, RecentFileWithANameThatIsNotUtf8StillOpens)
{
    ASSERT_TRUE(Start());
    const std::string path = m_dir.path().toStdString() + "/caf\xE9\xFF.skr";
    std::ofstream(path, std::ios::binary).write("\0\0\0\0", 4);
    ASSERT_NE(m_app->OpenDocumentFile(path.c_str()), nullptr);
    m_app->ExitInstance();
    m_app.reset();
    ASSERT_TRUE(Start());
    ASSERT_FALSE(m_app->GetRecentFiles().empty());
    EXPECT_EQ(m_app->GetRecentFiles().front(), path);
    Button(ID_FILE_MRU_FILE1)->trigger();
    EXPECT_EQ(m_app->GetRecentFiles().front(), path);
    EXPECT_EQ(Doc()->GetPathName(), path);
}

// At 200 % the buttons and the window icon draw art made for that size, not enlargements.
TEST_F(AppTest, ToolbarButtonsAndWindowIconHoldDoubleSizeImages)
{
    ASSERT_TRUE(Start());
    for (UINT id : {ID_FILE_NEW, ID_ERASER})
        EXPECT_EQ(Button(id)->icon().pixmap(ToolBar()->iconSize(), 2.0).size(), QSize(32, 30));
    const QList<QSize> sizes = Window()->windowIcon().availableSizes();
    EXPECT_TRUE(sizes.contains(QSize(16, 16)) && sizes.contains(QSize(64, 64)));
}

TEST_F(AppTest, ViewMenuTogglesTheBarsAndTheirCheckMarks)
{
    ASSERT_TRUE(Start());
    QAction* toolbar = MenuItem(QStringLiteral("도구 모음(&T)"));
    QAction* status = MenuItem(QStringLiteral("상태 표시줄(&S)"));
    ASSERT_TRUE(toolbar && status);
    EXPECT_TRUE(toolbar->isChecked());
    toolbar->trigger();
    EXPECT_FALSE(ToolBar()->isVisible());
    EXPECT_FALSE(toolbar->isChecked());
    status->trigger();
    EXPECT_FALSE(Window()->statusBar()->isVisible());
    EXPECT_FALSE(status->isChecked());
    toolbar->trigger();
    EXPECT_TRUE(ToolBar()->isVisible());
    EXPECT_TRUE(toolbar->isChecked());
}

TEST_F(AppTest, AboutBoxShowsTheTemplateAndEndsWithOk)
{
    ASSERT_TRUE(Start());
    QString caption, text;
    ModalAnswers answers({[&](QWidget* w) {
                              caption = w->windowTitle();
                              for (QLabel* l : w->findChildren<QLabel*>())
                                  text += l->text();
                              QPushButton* ok = w->findChild<QPushButton*>();
                              ASSERT_NE(ok, nullptr);
                              EXPECT_EQ(ok->text(), QStringLiteral("확인"));
                              EXPECT_TRUE(ok->isDefault());
                              ok->click();
                          },
                          [](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); },
                          [](QWidget* w) { w->close(); }});
    Button(ID_APP_ABOUT)->trigger();
    EXPECT_EQ(caption, QStringLiteral("Skorel 정보"));
    EXPECT_TRUE(text.contains(QStringLiteral("Skorel 버전 1.0")));
    // Esc and the close box end it too.
    Button(ID_APP_ABOUT)->trigger();
    Button(ID_APP_ABOUT)->trigger();
    EXPECT_EQ(answers.Answered(), 3);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

} // namespace
