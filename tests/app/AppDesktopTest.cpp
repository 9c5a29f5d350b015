// The program among others on the desktop: files dropped on its window from another program,
// and a second window placed where both show.
#include "AppFixture.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

namespace {

using app_test::AppTest;

class DropTest : public AppTest {
protected:
    // A drawing of one rectangle, written by hand; its name as bytes.
    std::string Drawing(const std::string& name) const
    {
        const std::string path = m_dir.path().toStdString() + '/' + name;
        std::ofstream file(path, std::ios::binary);
        file.write("SKRL\1\0\0\0\1\0\0\0", 12);
        for (std::uint32_t v : {10u, 20u, 110u, 80u, 2u, 0u, 0xFFFFFFu, 1u})
            file.write(reinterpret_cast<const char*>(&v), 4); // little-endian, as here
        return path;
    }
    // Drags the URLs over the canvas, as another program's drag goes, and drops them there
    // with the keys held unless the window refuses them; whether it took them.
    bool Drop(const QList<QUrl>& urls, Qt::KeyboardModifiers keys = {})
    {
        QMimeData data;
        data.setUrls(urls);
        QDragEnterEvent enter(QPoint(200, 150), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(View()->Widget(), &enter);
        if (!enter.isAccepted())
            return false;
        QDropEvent drop(QPointF(200, 150), Qt::CopyAction, &data, Qt::LeftButton, keys);
        QApplication::sendEvent(View()->Widget(), &drop);
        QApplication::processEvents();
        return drop.isAccepted();
    }
};

// Files dropped from another program: a drop without a local file is refused; of the others
// the first opens as Open opens it (under its name, kept as bytes where they are no UTF-8, and
// into the recent files), and the status bar counts the rest; with Ctrl held it is inserted.
TEST_F(DropTest, FirstLocalFileOpensAndTheStatusBarCountsTheOthers)
{
    const std::string path = Drawing("caf\xE9\xFF.skr");
    // The temporary folder can't remove a name that does not decode.
    const std::unique_ptr<const char, void (*)(const char*)> removeAtEnd(
        path.c_str(), [](const char* p) { std::remove(p); });
    ASSERT_TRUE(Start());
    EXPECT_FALSE(Drop({QUrl(QStringLiteral("https://example.org/a.skr"))}));
    EXPECT_FALSE(Drop({}));
    const QUrl url = QUrl::fromEncoded("file://" + m_dir.path().toUtf8() + "/caf%E9%FF.skr");
    ASSERT_TRUE(Drop({url, url, QUrl::fromLocalFile(m_dir.filePath("other.skr"))}));
    EXPECT_EQ(Doc()->GetPathName(), path);
    EXPECT_EQ(Doc()->m_shapeList.GetCount(), 1);
    EXPECT_EQ(m_app->GetRecentFiles().front(), path);
    EXPECT_EQ(Window()->statusBar()->currentMessage(),
              QStringLiteral("끌어 놓은 파일 중 첫 번째만 사용하고 나머지 2개는 무시했습니다."));
    // With Ctrl held the file goes into the drawing, as Insert puts it there.
    ASSERT_TRUE(Drop({url}, Qt::ControlModifier));
    EXPECT_EQ(Doc()->GetPathName(), path);
    EXPECT_EQ(Doc()->m_shapeList.GetCount(), 2);
    EXPECT_TRUE(Doc()->IsModified());
}

// A window opened while others of the program's are open steps down and right by 32 pixels
// for each, and takes the first free place again once one closes.
TEST_F(AppTest, SecondWindowOpensDownAndRightOfTheFirst)
{
    ASSERT_TRUE(Start());
    Window()->setGeometry(100, 80, 500, 300);
    ASSERT_TRUE(Window()->close());
    m_app->ExitInstance();
    ASSERT_TRUE(Start());
    const auto opened = [] {
        auto frame = std::make_unique<CFrameWnd>();
        frame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW, nullptr, nullptr);
        return frame;
    };
    // The client areas: a window on the screen has a frame around it, the others not yet.
    const auto at = [](const CWnd& w) { return w.Widget()->geometry().topLeft(); };
    auto second = opened();
    EXPECT_EQ(at(*second), at(*Frame()) + QPoint(32, 32));
    EXPECT_EQ(at(*opened()), at(*Frame()) + QPoint(64, 64));
    second.reset();
    EXPECT_EQ(at(*opened()), at(*Frame()) + QPoint(32, 32));
}

} // namespace
