// What Skorel's main window shows at start, on a bare Qt main window with nothing behind it:
// the same menu titles, a toolbar of as many buttons and a status bar. The start-up benchmark
// and the memory floor (qt_floor) set it beside Skorel.
#pragma once

#include <QMainWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

namespace bench {

inline void FurnishLikeSkorel(QMainWindow& window)
{
    for (const char* menu : {"파일(&F)", "편집(&E)", "보기(&V)", "도움말(&H)", "굵기"})
        window.menuBar()->addMenu(QString::fromUtf8(menu))->addAction(QStringLiteral("item"));
    QToolBar* bar = window.addToolBar(QStringLiteral("toolbar"));
    for (int i = 0; i < 15; ++i)
        bar->addAction(QStringLiteral("b%1").arg(i));
    window.statusBar()->showMessage(QStringLiteral("준비"));
}

} // namespace bench
