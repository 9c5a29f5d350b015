// A file manager's drag, for the end-to-end tests: a small window in the bottom right corner of
// the screen that drags the files named on its command line (as file URLs) when the left
// button goes down on it, wherever the pointer then takes them. When the drag ends it writes
// "taken" or "refused" and goes from the screen, but stays a few seconds more: the window
// that took the drop reads the files' names from it after the drop.
#include <QApplication>
#include <QDrag>
#include <QFileInfo>
#include <QMimeData>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include <cstdio>

namespace {

class DragSource : public QWidget {
public:
    explicit DragSource(QList<QUrl> urls) : m_urls(std::move(urls))
    {
        setWindowTitle(QStringLiteral("skorel-drag"));
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        setGeometry(screen.right() - 80, screen.bottom() - 80, 60, 60);
    }

protected:
    void mousePressEvent(QMouseEvent* event) override
    {
        if (event->button() != Qt::LeftButton)
            return;
        auto* data = new QMimeData;
        data->setUrls(m_urls);
        auto* drag = new QDrag(this);
        drag->setMimeData(data);
        const bool taken = drag->exec(Qt::CopyAction) == Qt::CopyAction;
        std::printf("%s\n", taken ? "taken" : "refused");
        std::fflush(stdout);
        hide();
        QTimer::singleShot(5000, qApp, &QCoreApplication::quit);
    }

private:
    QList<QUrl> m_urls;
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QList<QUrl> urls;
    for (int i = 1; i < argc; ++i)
        urls << QUrl::fromLocalFile(QFileInfo(QFile::decodeName(argv[i])).absoluteFilePath());
    DragSource source(urls);
    source.show();
    return app.exec();
}
