// Not a benchmark: the least a Qt main window costs, for bench/cost.sh to start beside Skorel.
// It has what Skorel's window shows at start and nothing behind it (BareWindow.h), three
// quarters of the screen as Skorel takes, and a white client area painted by a fill, with no
// pixels of its own. The style's standard icons are left out, as Skorel defers them, because
// asking for one loads every picture-format plugin. Whatever it holds resident is the floor
// that Qt, its fonts and the display's buffer set under any program built on them.
#include "BareWindow.h"

#include <QApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QProxyStyle>
#include <QScreen>

namespace {

class WhiteArea : public QWidget {
protected:
    void paintEvent(QPaintEvent* event) override
    {
        QPainter(this).fillRect(event->rect(), Qt::white);
    }
};

class NoStandardIcons : public QProxyStyle {
public:
    QIcon standardIcon(StandardPixmap, const QStyleOption*, const QWidget*) const override
    {
        return QIcon();
    }
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setStyle(new NoStandardIcons);
    QMainWindow window;
    bench::FurnishLikeSkorel(window);
    window.setCentralWidget(new WhiteArea);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        window.resize(screen->availableGeometry().size() * 3 / 4);
    window.show();
    return app.exec();
}
