// What a frame keeps of Qt: its main window, its actions and its view. Framework-internal.
#pragma once

#include "framework/docview/Frame.h"
#include "framework/docview/View.h"
#include "framework/window/Clipboard.h"

#include <QLockFile>
#include <QMainWindow>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QKeyEvent;
class QMenu;
class UiReport;

// The command id an action or a status-bar pane stands for.
constexpr const char* kCommandProperty = "afxCommand";

class FrameWidget : public QMainWindow {
public:
    explicit FrameWidget(CFrameWnd* pOwner);

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    bool LeaveHiddenMenuKeys(const QKeyEvent* event);

    CFrameWnd* m_pOwner;
    UiReport* m_pReport; // owned by the widget; null unless the report is asked for
};

struct FramePrivate {
    std::map<UINT, QAction*> actions;
    std::vector<CControlBar*> bars;
    std::unique_ptr<CView> view;
    QMenu* recentMenu = nullptr; // the pop-up that holds the recent-file entries
    QString placeholderText;     // the greyed item shown while there are none
    std::optional<std::vector<std::string>> recentShown; // the recent files the menu lists
    bool updatePending = false; // a look at the commands' states is on its way
    bool barsPending = false;   // a look at what the control bars alone show is on its way
    CClipboard::Watch clipboard; // what the clipboard offers, for the paste commands
    // The place among the program's windows on the screen that this one holds while it is open.
    std::unique_ptr<QLockFile> place;
};
