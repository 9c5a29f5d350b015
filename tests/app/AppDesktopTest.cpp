// The program among others on the desktop: files dropped on its window from another program,
// and a second window placed where both show.
#include "AppFixture.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

namespace {

using app_test::AppTest;
using app_test::WriteBytes;

// A drawing of one rectangle at (10, 20)-(110, 80).
std::vector<unsigned char> OneRectangle()
{
    std::vector<unsigned char> bytes = {'S', 'K', 'R', 'L', 1, 0, 0, 0, 1, 0, 0, 0};
    for (int v : {10, 20, 110, 80, 2, 0, 0xFFFFFF, 1})
        for (int i = 0; i < 4; ++i)
            bytes.push_back((unsigned(v) >> (8 * i)) & 0xFF);
    return bytes;
}

class DropTest : public AppTest {
protected:
    // Drags the URLs over the canvas, as another program's drag goes, and drops them there
    // with the keys given held unless the window refuses them; whether it took them.
    bool Drop(const QList<QUrl>& urls, Qt::KeyboardModifiers keys = {})
    {
        QMimeData data;
        data.setUrls(urls);
        QWidget* canvas = View()->Widget();
        const QPointF at(200, 150);
        QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(canvas, &enter);
        if (!enter.isAccepted())
            return false;
        QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, keys);
        QApplication::sendEvent(canvas, &drop);
        QApplication::processEvents();
        return drop.isAccepted();
    }
    QString Message() const { return Window()->statusBar()->currentMessage(); }
};

// The first file opens as Open opens it: into the recent files, the title its name; the
// others stay closed, and the status bar says how many.
TEST_F(DropTest, FirstFileOpensAndTheStatusBarCountsTheOthers)
{
    const QString drawing = m_dir.filePath("rect.skr");
    WriteBytes(drawing, OneRectangle());
    const QString picture = m_dir.filePath("green.bmp");
    QImage green(40, 30, QImage::Format_RGB888);
    green.fill(QColor(0, 255, 0));
    ASSERT_TRUE(green.save(picture, "BMP"));
    ASSERT_TRUE(Start());

    ASSERT_TRUE(Drop({QUrl::fromLocalFile(drawing)}));
    EXPECT_EQ(Window()->windowTitle(), QStringLiteral("rect.skr - Skorel"));
    EXPECT_EQ(Doc()->m_shapeList.GetCount(), 1);
    EXPECT_EQ(Message(), QStringLiteral("준비"));

    ASSERT_TRUE(Drop({QUrl::fromLocalFile(picture), QUrl::fromLocalFile(drawing),
                      QUrl::fromLocalFile(drawing)}));
    EXPECT_EQ(Window()->windowTitle(), QStringLiteral("green.bmp* - Skorel"));
    EXPECT_EQ(Doc()->m_shapeList.GetCount(), 1);
    ASSERT_TRUE(Doc()->m_pImage);
    EXPECT_EQ(m_app->GetRecentFiles().front(), picture.toStdString());
    EXPECT_EQ(Message(),
              QStringLiteral("끌어 놓은 파일 중 첫 번째만 사용하고 나머지 2개는 무시했습니다."));
}

// What holds no local file is refused, and a name that is no UTF-8 keeps its bytes.
TEST_F(DropTest, OnlyLocalFilesAreTakenByTheBytesOfTheirNames)
{
    ASSERT_TRUE(Start());
    EXPECT_FALSE(Drop({QUrl(QStringLiteral("https://example.org/rect.skr"))}));
    EXPECT_FALSE(Drop({}));
    EXPECT_EQ(Window()->windowTitle(), QStringLiteral("제목 없음 - Skorel"));

    const std::string path = m_dir.path().toStdString() + "/caf\xE9\xFF.skr";
    const std::vector<unsigned char> bytes = OneRectangle();
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    const std::unique_ptr<const char, void (*)(const char*)> removeAtEnd(
        path.c_str(), [](const char* p) { std::remove(p); });
    ASSERT_TRUE(Drop(
        {QUrl::fromEncoded("file://" + QByteArray(m_dir.path().toUtf8()) + "/caf%E9%FF.skr")}));
    EXPECT_EQ(Doc()->GetPathName(), path);
    EXPECT_EQ(Doc()->m_shapeList.GetCount(), 1);
}

// A window opened while another of the program's is open steps down and right by 32 pixels
// for each, and takes the first free place again once one closes.
TEST_F(AppTest, SecondWindowOpensDownAndRightOfTheFirst)
{
    ASSERT_TRUE(Start());
    Window()->setGeometry(100, 80, 500, 300);
    ASSERT_TRUE(Window()->close());
    m_app->ExitInstance();
    m_app.reset();
    ASSERT_TRUE(Start());
    // Where the client areas go: a window on the screen has a frame around it, the others not yet.
    const QPoint first = Window()->geometry().topLeft();
    const auto opened = [] {
        auto frame = std::make_unique<CFrameWnd>();
        frame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW, nullptr, nullptr);
        return frame;
    };
    const auto at = [](const std::unique_ptr<CFrameWnd>& frame) {
        return frame->Widget()->geometry().topLeft();
    };
    auto second = opened();
    auto third = opened();
    EXPECT_EQ(at(second), first + QPoint(32, 32));
    EXPECT_EQ(at(third), first + QPoint(64, 64));
    second.reset();
    EXPECT_EQ(at(opened()), first + QPoint(32, 32));
}

} // namespace
