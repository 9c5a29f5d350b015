// The whole program in one process: start-up, menus, toolbar, status bar, commands, About.
#include "tests/support/ModalAnswers.h"
#include "tests/support/Mouse.h"

#include "app/Skorel.h"
#include "document/SkorelDoc.h"
#include "res/resource.h"
#include "view/SkorelView.h"

#include "framework/core/Commands.h"
#include "framework/core/Resource.h"
#include "framework/docview/Frame.h"
#include "framework/docview/Printing.h"

#include <QAction>
#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <optional>

#include <sys/stat.h>

namespace {

class AppTest : public ::testing::Test {
protected:
    // Every test starts with the layout a first start has.
    void SetUp() override
    {
        QSettings("Local AppWizard-Generated Applications", "Skorel").remove("Layout");
    }
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
    QToolBar* ToolBar() const { return Bar(ID_VIEW_TOOLBAR); }
    QToolBar* ColorBar() const { return Bar(ID_VIEW_COLOR_BAR); }
    QToolBar* Bar(UINT id) const
    {
        return Window()->findChild<QToolBar*>(QStringLiteral("toolbar%1").arg(id));
    }
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
    EXPECT_EQ(Window()->statusBar()->findChildren<QLabel*>().size(), 7);
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

// The Open dialog lists pictures and drawings at first, then each kind, then every file.
TEST_F(AppTest, OpenDialogOffersEveryPictureFormat)
{
    ASSERT_TRUE(Start());
    QStringList filters;
    QString selected;
    ModalAnswers answers({ModalAnswers::Cancel([&](QWidget* w) {
        filters = static_cast<QFileDialog*>(w)->nameFilters();
        selected = static_cast<QFileDialog*>(w)->selectedNameFilter();
    })});
    Frame()->OnCmdMsg(ID_FILE_OPEN, true);
    ASSERT_EQ(filters.size(), 10);
    EXPECT_EQ(selected, filters.first());
    EXPECT_TRUE(filters.first().endsWith(
        "(*.skr *.bmp *.png *.jpg *.jpeg *.gif *.tif *.tiff *.webp *.ico)"));
    EXPECT_TRUE(filters.last().endsWith("(*)"));
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
              2);
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
    EXPECT_EQ(Button(ID_DRAW_RECT)->toolTip(), QStringLiteral("사각형"));
    EXPECT_EQ(Button(ID_DRAW_RECT)->statusTip(), QStringLiteral("사각형을 그립니다"));
    EXPECT_EQ(MenuItem(QStringLiteral("7"))->statusTip(),
              QStringLiteral("새 도형과 선택한 도형의 선 굵기를 7 픽셀로 합니다"));
}

// The toolbar and the menus show the drawing state: the tool pressed, the thickness checked,
// the colours as swatches on their buttons.
TEST_F(AppTest, ToolsShowTheirState)
{
    ASSERT_TRUE(Start());
    const auto pressed = [this] {
        std::vector<UINT> ids;
        for (UINT id : {ID_DRAW_LINE, ID_DRAW_RECT, ID_DRAW_ELLIPSE, ID_SELECT})
            if (Button(id)->isChecked())
                ids.push_back(id);
        return ids;
    };
    EXPECT_EQ(pressed(), std::vector<UINT>{ID_DRAW_LINE});
    Button(ID_DRAW_ELLIPSE)->trigger();
    EXPECT_EQ(pressed(), std::vector<UINT>{ID_DRAW_ELLIPSE});
    Button(ID_SELECT)->trigger();
    EXPECT_EQ(pressed(), std::vector<UINT>{ID_SELECT});

    MenuItem(QStringLiteral("5"))->trigger();
    for (const char* width : {"1", "2", "3", "4", "5", "6", "7"})
        EXPECT_EQ(MenuItem(QString::fromUtf8(width))->isChecked(), std::string(width) == "5")
            << width;

    const auto swatch = [this](UINT id) {
        const QImage picture = Button(id)->icon().pixmap(QSize(16, 15), 1.0).toImage();
        return picture.pixelColor(8, 12);
    };
    EXPECT_EQ(swatch(ID_FILL_COLOR), QColor(255, 255, 255));
    View()->m_crFill = RGB(200, 30, 40);
    Frame()->UpdateCommandStates();
    EXPECT_EQ(swatch(ID_FILL_COLOR), QColor(200, 30, 40));
    EXPECT_EQ(swatch(ID_LINE_COLOR), QColor(0, 0, 0));
}

// The status bar shows where the pointer is on the canvas and how large a drag's shape is.
TEST_F(AppTest, StatusBarShowsThePointerAndTheDragSize)
{
    ASSERT_TRUE(Start());
    QWidget* view = View()->Widget();
    const auto panes = [this] {
        Frame()->UpdateCommandStates();
        const auto* bar = Window()->statusBar();
        return std::pair{bar->findChild<QLabel*>("pane1")->text(),
                         bar->findChild<QLabel*>("pane2")->text()};
    };
    using testing_support::SendMouse;
    SendMouse(view, QEvent::MouseMove, {120, 34}, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(panes(), std::pair(QStringLiteral("120, 34"), QString()));
    Button(ID_DRAW_RECT)->trigger();
    testing_support::Press(view, {10, 10});
    testing_support::MoveHeld(view, {110, 60});
    EXPECT_EQ(panes(), std::pair(QStringLiteral("110, 60"), QStringLiteral("100 × 50")));
    testing_support::MoveHeld(view, {-5, 60});
    EXPECT_EQ(panes(), std::pair(QString(), QStringLiteral("15 × 50")));
    testing_support::Release(view, {-5, 60});
    EXPECT_EQ(panes().second, QString());
}

// A plain letter reaching the menu bar while it shows no highlighted item (after Escape
// closed a menu) opens no menu; with Alt it still does, and every title opens on a click.
TEST_F(AppTest, MenusOpenOnAClickAndOnLetterKeysOnlyWhenTheBarShowsItHasThem)
{
    ASSERT_TRUE(Start());
    QMenuBar* bar = Window()->menuBar();
    QTest::keyClick(bar, Qt::Key_E);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    QTest::keyClick(bar, Qt::Key_E, Qt::AltModifier);
    QWidget* popup = QApplication::activePopupWidget();
    ASSERT_NE(popup, nullptr);
    popup->close();
    for (QAction* title : bar->actions()) {
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(title).center());
        popup = QApplication::activePopupWidget();
        ASSERT_EQ(popup, title->menu()) << title->text().toStdString();
        popup->close();
    }
}

// The window's size, its toolbar's dock and the status bar's visibility come back at the next
// start.
TEST_F(AppTest, LayoutIsRememberedAcrossARestart)
{
    ASSERT_TRUE(Start());
    Window()->resize(700, 500);
    Window()->addToolBar(Qt::LeftToolBarArea, ToolBar());
    Window()->addToolBar(Qt::RightToolBarArea, ColorBar());
    MenuItem(QStringLiteral("상태 표시줄(&S)"))->trigger();
    Button(ID_VIEW_ZOOM_IN)->trigger();
    Button(ID_VIEW_ZOOM_IN)->trigger();
    ASSERT_TRUE(Window()->close());
    m_app->ExitInstance();
    m_app.reset();
    ASSERT_TRUE(Start());
    EXPECT_EQ(Window()->size(), QSize(700, 500));
    EXPECT_EQ(Window()->toolBarArea(ToolBar()), Qt::LeftToolBarArea);
    EXPECT_EQ(Window()->toolBarArea(ColorBar()), Qt::RightToolBarArea);
    EXPECT_FALSE(Window()->statusBar()->isVisible());
    EXPECT_FALSE(MenuItem(QStringLiteral("상태 표시줄(&S)"))->isChecked());
    EXPECT_EQ(View()->GetZoom(), 200);
    // A zoom that is no step, as a damaged settings file holds, leaves the view at 100 %.
    ASSERT_TRUE(Window()->close());
    m_app->ExitInstance();
    m_app.reset();
    QSettings("Local AppWizard-Generated Applications", "Skorel").setValue("Layout/Zoom", 77);
    ASSERT_TRUE(Start());
    EXPECT_EQ(View()->GetZoom(), 100);
}

// The zoom steps from 25 to 800 %, shown in its pane; the items grey out at the ends.
TEST_F(AppTest, ZoomStepsBetweenItsEndsAndShowsInTheStatusBar)
{
    ASSERT_TRUE(Start());
    const auto pane = [this] {
        Frame()->UpdateCommandStates();
        return Window()->statusBar()->findChild<QLabel*>("pane4")->text();
    };
    QStringList shown{pane()};
    for (int i = 0; i < 5; ++i, shown << pane())
        Button(ID_VIEW_ZOOM_OUT)->trigger();
    EXPECT_FALSE(Button(ID_VIEW_ZOOM_OUT)->isEnabled());
    Button(ID_VIEW_ZOOM_ACTUAL)->trigger();
    for (int i = 0; i < 7; ++i, shown << pane())
        Button(ID_VIEW_ZOOM_IN)->trigger();
    EXPECT_FALSE(Button(ID_VIEW_ZOOM_IN)->isEnabled());
    EXPECT_EQ(shown.join(' '), "100% 67% 50% 33% 25% 25% 150% 200% 300% 400% 600% 800% 800%");
}

// A layout that would leave the window off the screen, or taller than it, comes back on it.
TEST_F(AppTest, RestoredLayoutStaysOnTheScreen)
{
    ASSERT_TRUE(Start());
    Window()->setGeometry(-4000, 100, 700, 30000);
    ASSERT_TRUE(Window()->close());
    m_app->ExitInstance();
    m_app.reset();
    ASSERT_TRUE(Start());
    const QRect screen = Window()->screen()->availableGeometry();
    const QRect window = Window()->geometry();
    EXPECT_TRUE(screen.contains(window.topLeft()));
    EXPECT_LE(window.width(), screen.width());
    EXPECT_LE(window.height(), screen.height());
}

// Settings live in a regular file only: a FIFO, or a link to one, at their path is neither
// read (which would block for ever) nor replaced when the program ends.
TEST_F(AppTest, SettingsPathThatIsNotAFileIsLeftAlone)
{
    QTemporaryDir config;
    const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    const QString folder = config.filePath("Local AppWizard-Generated Applications");
    const QString path = folder + "/Skorel.conf", fifo = config.filePath("fifo");
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_EQ(::mkfifo(fifo.toUtf8().constData(), 0600), 0);
    for (const bool link : {false, true}) {
        QFile::remove(path);
        ASSERT_TRUE(link ? QFile::link(fifo, path)
                         : ::mkfifo(path.toUtf8().constData(), 0600) == 0);
        ASSERT_TRUE(Start());
        m_app->AddToRecentFileList(fifo.toUtf8().constData());
        ASSERT_TRUE(Window()->close());
        m_app->ExitInstance();
        m_app.reset();
        struct stat st;
        ASSERT_EQ(::lstat(path.toUtf8().constData(), &st), 0);
        EXPECT_TRUE(link ? S_ISLNK(st.st_mode) : S_ISFIFO(st.st_mode)) << link;
    }
    qputenv("XDG_CONFIG_HOME", oldConfig);
}

// Closing with a changed drawing asks first: Yes saves it as a drawing (.skr chosen) and
// closes once saved, No closes, Cancel and Escape keep the program running.
TEST_F(AppTest, ClosingAChangedDrawingAsksFirst)
{
    const auto startChanged = [this] {
        ASSERT_TRUE(Start());
        Button(ID_DRAW_RECT)->trigger();
        testing_support::Drag(View()->Widget(), {10, 10}, {60, 40});
        Frame()->UpdateCommandStates();
    };
    ASSERT_TRUE(Start());
    {
        ModalAnswers none({});
        EXPECT_TRUE(Window()->close()); // nothing changed: nothing asked
        EXPECT_EQ(none.Unexpected(), 0);
    }

    startChanged();
    EXPECT_EQ(Window()->windowTitle(), QStringLiteral("제목 없음* - Skorel"));
    for (const auto& answer :
         {ModalAnswers::Click(QMessageBox::Cancel),
          ModalAnswers::Answer([](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); })}) {
        ModalAnswers answers({answer});
        EXPECT_FALSE(Window()->close());
        EXPECT_TRUE(Window()->isVisible());
        EXPECT_EQ(answers.Answered(), 1);
    }
    const QString path = m_dir.filePath("kept");
    QString chosen;
    {
        ModalAnswers yes({ModalAnswers::Click(QMessageBox::Yes),
                          ModalAnswers::TypeFileName(path, [&chosen](QFileDialog* d) {
                              chosen = d->selectedNameFilter();
                          })});
        EXPECT_TRUE(Window()->close());
    }
    EXPECT_TRUE(chosen.contains(QStringLiteral("*.skr")));
    EXPECT_TRUE(QFile::exists(path + ".skr"));
    EXPECT_FALSE(Doc()->IsModified());

    startChanged();
    ModalAnswers no({ModalAnswers::Click(QMessageBox::No)});
    EXPECT_TRUE(Window()->close());
    EXPECT_EQ(no.Answered(), 1);
}

// After a picture was opened and drawn on, closing proposes the picture's name as a drawing,
// with the drawing type alone; a .bmp name typed there is refused in the dialog, which then
// offers the .skr name, and a close that wrote no drawing keeps the window open. The picture
// file is never written.
TEST_F(AppTest, ClosingOverAnOpenedPictureSavesADrawingBesideIt)
{
    const QString photo = m_dir.filePath("photo.bmp");
    QImage green(40, 30, QImage::Format_RGB888);
    green.fill(QColor(0, 255, 0));
    ASSERT_TRUE(green.save(photo, "BMP"));
    const auto bytesOf = [](const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    const QByteArray pictureBytes = bytesOf(photo);
    ASSERT_TRUE(Start({photo.toStdString()}));
    Button(ID_DRAW_RECT)->trigger();
    testing_support::Drag(View()->Widget(), {10, 10}, {60, 40});
    QStringList seen;
    {
        const auto nameShown = [&seen](QWidget* w) {
            seen << w->findChild<QLineEdit*>("fileNameEdit")->text();
        };
        ModalAnswers answers({ModalAnswers::Click(QMessageBox::Yes),
                              [&](QWidget* w) {
                                  nameShown(w);
                                  seen << QString::number(
                                      qobject_cast<QFileDialog*>(w)->nameFilters().size());
                                  ModalAnswers::TypeFileName(photo)(w); // refused
                                  ModalAnswers::Cancel(nameShown)(w);
                              },
                              ModalAnswers::Click(QMessageBox::Ok)});
        EXPECT_FALSE(Window()->close());
        EXPECT_EQ(answers.Texts().value(1),
                  QString::fromUtf8(res::LoadString(IDS_DRAWING_NOT_PICTURE)));
    }
    EXPECT_EQ(seen, (QStringList{"photo.skr", "1", "photo.skr"}));
    EXPECT_TRUE(Window()->isVisible());
    {
        ModalAnswers answers({ModalAnswers::Click(QMessageBox::Yes),
                              ModalAnswers::TypeFileName(m_dir.filePath("photo"))});
        EXPECT_TRUE(Window()->close());
    }
    EXPECT_EQ(bytesOf(photo), pictureBytes);
    CSkorelDoc kept;
    ModalAnswers none({});
    ASSERT_TRUE(kept.OnOpenDoc(m_dir.filePath("photo.skr").toUtf8().constData()));
    EXPECT_EQ(kept.m_shapeList.GetCount(), 1);
    EXPECT_EQ(kept.m_pImage->GetSize(), CSize(40, 30));
}

// Print Setup prints nothing: its dialog confirms with "확인", and never asks to replace the
// PDF file that printing without a printer writes, by default beside the drawing.
TEST_F(AppTest, PrintSetupConfirmsWithOkAndPrintingWritesBesideTheDrawing)
{
    const QString drawing = m_dir.filePath("drawing.skr"), pdf = m_dir.filePath("drawing.pdf");
    WriteBytes(drawing, {0, 0, 0, 0});
    WriteBytes(pdf, {'o', 'l', 'd'});
    AfxPrinter().setOutputFileName(QString());
    ASSERT_TRUE(Start({drawing.toStdString()}));
    QStringList buttons;
    ModalAnswers answers({[&buttons](QWidget* w) {
        for (QPushButton* b : w->findChildren<QPushButton*>()) {
            buttons << b->text();
            if (b->text() == QStringLiteral("확인"))
                b->click();
        }
    }});
    Button(ID_FILE_PRINT_SETUP)->trigger();
    EXPECT_TRUE(buttons.contains(QStringLiteral("확인"))) << buttons.join(",").toStdString();
    EXPECT_FALSE(buttons.filter(QStringLiteral("인쇄")).size() > 0)
        << buttons.join(",").toStdString();
    EXPECT_EQ(answers.Unexpected(), 0);
    Frame()->OnCmdMsg(ID_FILE_PRINT_DIRECT, true);
    QFile printed(pdf);
    ASSERT_TRUE(printed.open(QIODevice::ReadOnly));
    EXPECT_TRUE(printed.readAll().startsWith("%PDF"));
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

    // A long name shows its start and end; its status prompt has the whole path.
    const QString path = m_dir.filePath(QString(100, 'a') + "&" + QString(100, 'b') + ".skr");
    WriteBytes(path, {0, 0, 0, 0});
    ASSERT_NE(m_app->OpenDocumentFile(path.toUtf8().constData()), nullptr);
    Frame()->UpdateCommandStates();
    EXPECT_EQ(Button(ID_FILE_MRU_FILE1)->text(),
              "&1 " + QString(29, 'a') + QChar(0x2026) + QString(26, 'b') + ".skr");
    EXPECT_TRUE(Button(ID_FILE_MRU_FILE1)->statusTip().endsWith(": " + path));
}

// A name that is not valid UTF-8 is a name all the same: the list keeps its bytes.
TEST_F(AppTest, RecentFileWithANameThatIsNotUtf8StillOpens)
{
    ASSERT_TRUE(Start());
    const std::string path = m_dir.path().toStdString() + "/caf\xE9\xFF.skr";
    std::ofstream(path, std::ios::binary).write("\0\0\0\0", 4);
    // The temporary folder can't remove a name that does not decode.
    const std::unique_ptr<const char, void (*)(const char*)> removeAtEnd(
        path.c_str(), [](const char* p) { std::remove(p); });
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

// The colour bar docks at the bottom, moves like the toolbar and comes and goes from the View
// menu.
TEST_F(AppTest, ColourBarIsADockableBarToggledInTheViewMenu)
{
    ASSERT_TRUE(Start());
    ASSERT_NE(ColorBar(), nullptr);
    EXPECT_EQ(Window()->toolBarArea(ColorBar()), Qt::BottomToolBarArea);
    EXPECT_TRUE(ColorBar()->isMovable() && ColorBar()->isFloatable());
    QAction* item = MenuItem(QStringLiteral("색 상자(&C)"));
    ASSERT_NE(item, nullptr);
    EXPECT_TRUE(item->isChecked());
    item->trigger();
    EXPECT_FALSE(ColorBar()->isVisible());
    EXPECT_FALSE(item->isChecked());
    EXPECT_TRUE(ToolBar()->isVisible());
    item->trigger();
    EXPECT_TRUE(ColorBar()->isVisible());
    // Docked at a side, the swatches stand in two columns.
    QWidget* swatches = ColorBar()->widgetForAction(ColorBar()->actions().value(0));
    ASSERT_NE(swatches, nullptr);
    EXPECT_GT(swatches->sizeHint().width(), 4 * swatches->sizeHint().height());
    Window()->addToolBar(Qt::LeftToolBarArea, ColorBar());
    EXPECT_GT(swatches->sizeHint().height(), 4 * swatches->sizeHint().width());
}

// A click on a swatch sets the outline colour, a right click the fill colour, and the pair
// shows both; a double click on either part of the pair opens the dialog on that colour.
TEST_F(AppTest, ColourBarClicksSetTheColoursAndThePairOpensTheDialog)
{
    ASSERT_TRUE(Start());
    QWidget* swatches = ColorBar()->widgetForAction(ColorBar()->actions().value(0));
    ASSERT_NE(swatches, nullptr);
    // Where a colour shows on the bar: the leftmost pixel of it (the pair lies left of the
    // swatches), or the rightmost (a swatch).
    const auto find = [swatches](const QColor& colour, bool leftmost) {
        const QImage shown = swatches->grab().toImage();
        std::optional<QPoint> at;
        for (int x = 0; x < shown.width(); ++x)
            for (int y = 0; y < shown.height(); ++y)
                if (shown.pixelColor(x, y) == colour && (!at || !leftmost))
                    at = QPoint(x, y);
        return at.value_or(QPoint(-1, -1));
    };
    const QColor red(255, 0, 0), blue(0, 0, 255);
    QTest::mouseClick(swatches, Qt::LeftButton, {}, find(red, false));
    QTest::mouseClick(swatches, Qt::RightButton, {}, find(blue, false));
    EXPECT_EQ(View()->m_crLine, RGB(255, 0, 0));
    EXPECT_EQ(View()->m_crFill, RGB(0, 0, 255));
    const QPoint line = find(red, true), fill = find(blue, true);
    EXPECT_LT(line.x(), find(red, false).x() - 20);
    EXPECT_LT(fill.x(), find(blue, false).x() - 20);

    QColor opened;
    ModalAnswers answers({[&opened](QWidget* w) {
                              opened = qobject_cast<QColorDialog*>(w)->currentColor();
                              qobject_cast<QColorDialog*>(w)->setCurrentColor(QColor(1, 2, 3));
                              static_cast<QDialog*>(w)->accept();
                          },
                          [&opened](QWidget* w) {
                              opened = qobject_cast<QColorDialog*>(w)->currentColor();
                              static_cast<QDialog*>(w)->reject();
                          }});
    QTest::mouseDClick(swatches, Qt::LeftButton, {}, line);
    EXPECT_EQ(opened, red);
    EXPECT_EQ(View()->m_crLine, RGB(1, 2, 3));
    QTest::mouseDClick(swatches, Qt::LeftButton, {}, fill);
    EXPECT_EQ(opened, blue);
    EXPECT_EQ(View()->m_crFill, RGB(0, 0, 255));
    EXPECT_EQ(answers.Answered(), 2);
}

// The thickness buttons, the Thickness menu, the [ and ] keys and the status pane move
// together; the keys stop at 1 and 7.
TEST_F(AppTest, ThicknessButtonsKeysMenuAndPaneAgree)
{
    ASSERT_TRUE(Start());
    Window()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Window()));
    const UINT ids[] = {ID_WIDTH_1, ID_WIDTH_2, ID_WIDTH_3, ID_WIDTH_4,
                        ID_WIDTH_5, ID_WIDTH_6, ID_WIDTH_7};
    const auto expectShown = [&](int width) {
        Frame()->UpdateCommandStates();
        EXPECT_EQ(View()->m_nThickness, width);
        for (int w = 1; w <= 7; ++w) {
            const auto* button =
                qobject_cast<QToolButton*>(ToolBar()->widgetForAction(Button(ids[w - 1])));
            ASSERT_NE(button, nullptr);
            EXPECT_EQ(button->isChecked(), w == width) << w;
            EXPECT_EQ(MenuItem(QString::number(w))->isChecked(), w == width) << w;
        }
        EXPECT_EQ(Window()->statusBar()->findChild<QLabel*>("pane3")->text(),
                  QStringLiteral("굵기 %1").arg(width));
    };
    expectShown(1);
    QTest::keyClick(Window(), Qt::Key_BracketLeft);
    expectShown(1);
    qobject_cast<QToolButton*>(ToolBar()->widgetForAction(Button(ID_WIDTH_5)))->click();
    expectShown(5);
    for (int width : {6, 7, 7}) {
        QTest::keyClick(Window(), Qt::Key_BracketRight);
        expectShown(width);
    }
    MenuItem(QStringLiteral("2"))->trigger();
    expectShown(2);
    QTest::keyClick(Window(), Qt::Key_BracketLeft);
    expectShown(1);
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
