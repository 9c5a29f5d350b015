// For end-to-end tests of the real program: with the application's UI_REPORT switch
// (AppName.h) set to a file name, the frame writes there where a person finds what there is to
// click, in screen pixels, whenever one of those things shows, hides, moves or changes.
// Framework-internal.
//
//   window X Y W H                      the frame's client area
//   canvas X Y                          where the view's pixel (0, 0) is
//   zoom PERCENT                        the view's zoom: its pixel (x, y) shows at
//                                       canvas + floor((x + 0.5) · PERCENT / 100), and so for y
//   visible X Y W H                     the part of the view that shows
//   title INDEX X Y W H TEXT            a menu title on the menu bar
//   menu X Y W H                        a menu that is open
//   item ID X Y W H CHECKED ENABLED TEXT    one of its items (ID 0: a separator)
//   button ID X Y W H CHECKED ENABLED TOOLTIP    a toolbar button that shows
//   status X Y W H MESSAGE              the status bar, when it shows, and its first pane's text
//   swatch INDEX X Y W H RRGGBB         a swatch of the colour bar, when it shows
//   pair SQUARE X Y W H                 a square of its pair, 0 in front, 1 behind; the centre
//                                       of each lies clear of the other
//   modal TITLE                         a modal dialog that shows
//   keys COUNT                          the key presses the application has taken since it
//                                       started, modifiers alone left out
//   started                             start-up is over: the application waits for input
//
// TEXT and TOOLTIP run to the end of the line; CHECKED and ENABLED are 0 or 1.
#pragma once

#include <QObject>
#include <QString>
#include <QTextStream>
#include <QTimer>

class CFrameWnd;
class QMainWindow;

class UiReport : public QObject {
public:
    // A report for the frame when the switch is set; null otherwise.
    static UiReport* ForFrame(CFrameWnd* pFrame, QMainWindow* pWindow);

    // Looks at an event of the application's: a widget that shows, hides, moves or resizes,
    // and an action that changes, call for a new report.
    void Notice(QObject* watched, const QEvent* event);
    // Writes a new report once the events being handled now are done.
    void Schedule();
    // Start-up is over: every report says so from now on.
    static void Started();

private:
    UiReport(CFrameWnd* pFrame, QMainWindow* pWindow, QString path);
    ~UiReport() override;
    void Write();
    // The lines about the application as a whole.
    void WriteApplication(QTextStream& out) const;

    CFrameWnd* m_pFrame;
    QMainWindow* m_pWindow;
    QString m_path;
    QTimer m_timer;
    long long m_nKeys = 0;
};
