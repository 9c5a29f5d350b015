// A file manager's drag, for the end-to-end tests: a small window in the bottom right corner
// that drags the files named on its command line, as file URLs, when a button goes down on it.
// When the drag ends it writes "taken" or "refused" and hides, but stays a few seconds more:
// the window that took the drop reads the names from it after the drop.
#include <QApplication>
#include <QDrag>
#include <QFileInfo>
#include <QMimeData>
#include <QScreen>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include <cstdio>

class DragSource : public QWidget {
public:
    QList<QUrl> m_urls;

protected:
    void mousePressEvent(QMouseEvent*) override
    {
        auto* data = new QMimeData;
        data->setUrls(m_urls);
        auto* drag = new QDrag(this);
        drag->setMimeData(data);
        std::printf("%s\n", drag->exec(Qt::CopyAction) == Qt::CopyAction ? "taken" : "refused");
        std::fflush(stdout);
        hide();
        QTimer::singleShot(5000, qApp, &QCoreApplication::quit);
    }
};

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    DragSource source;
    for (int i = 1; i < argc; ++i)
        source.m_urls << QUrl::fromLocalFile(
            QFileInfo(QFile::decodeName(argv[i])).absoluteFilePath());
    source.setWindowTitle(QStringLiteral("skorel-drag"));
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    source.setGeometry(screen.right() - 80, screen.bottom() - 80, 60, 60);
    source.show();
    return app.exec();
}
