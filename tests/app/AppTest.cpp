// The whole program in one process: start-up, commands, files, closing, printing, recent files,
// About.
#include "AppFixture.h"

#include "tests/support/WindowPixels.h"

namespace {

using app_test::AppTest;
using app_test::WriteBytes;

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
    EXPECT_EQ(testing_support::HeldPixel(*View(), 5, 5) & 0xFFFFFF, 0x00FF00u);
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
    EXPECT_EQ(View()->Thickness(), 5);
    MenuItem(QStringLiteral("7"))->trigger();
    EXPECT_EQ(View()->Thickness(), 7);
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
