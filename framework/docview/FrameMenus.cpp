// The frame's menus and accelerators, the states of its commands, and the recent files in the
// File menu.
#include "Frame.h"

#include "App.h"
#include "ControlBars.h"
#include "Document.h"
#include "detail/ColorBarWidget.h"
#include "detail/FramePrivate.h"

#include "framework/core/Commands.h"
#include "framework/core/Resource.h"
#include "framework/window/Keyboard.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QMainWindow>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QTimer>
#include <QToolBar>

namespace {

QKeySequence ToKeySequence(const res::Accel& a)
{
    int key = QtKeyOf(a.key);
    if (a.fVirt & res::FCONTROL)
        key |= Qt::CTRL;
    if (a.fVirt & res::FSHIFT)
        key |= Qt::SHIFT;
    if (a.fVirt & res::FALT)
        key |= Qt::ALT;
    return QKeySequence(key);
}

// A menu item or toolbar button: both show the one action of their command.
class ActionCmdUI : public CCmdUI {
public:
    explicit ActionCmdUI(QAction* pAction) : m_pAction(pAction) {}

    void Enable(BOOL bOn) override { m_pAction->setEnabled(bOn != FALSE); }
    void SetCheck(int nCheck) override
    {
        m_pAction->setCheckable(true);
        m_pAction->setChecked(nCheck != 0);
    }
    void SetText(const char* lpszText) override
    {
        m_pAction->setText(QString::fromUtf8(lpszText ? lpszText : ""));
    }
    void SetColor(COLORREF cr) override
    {
        const QVariant shown = m_pAction->property(kSwatchProperty);
        if (shown.isValid() && shown.toULongLong() == cr)
            return;
        if (!m_pAction->property(kPictureProperty).isValid())
            m_pAction->setProperty(kPictureProperty, m_pAction->icon());
        m_pAction->setProperty(kSwatchProperty, qulonglong(cr));
        m_pAction->setIcon(Swatched(m_pAction->property(kPictureProperty).value<QIcon>(), cr));
    }

private:
    static constexpr const char* kPictureProperty = "afxPicture";
    static constexpr const char* kSwatchProperty = "afxSwatch"; // the colour shown, if any

    // The size a toolbar shows the action's picture at; the style's small icons' without one.
    QSize PictureSize() const
    {
        for (const QObject* o : m_pAction->associatedObjects())
            if (const auto* bar = qobject_cast<const QToolBar*>(o))
                return bar->iconSize();
        const int side = QApplication::style()->pixelMetric(QStyle::PM_SmallIconSize);
        return QSize(side, side);
    }

    // The picture, at the size it shows at, with a bar of the colour along its bottom, framed
    // so that white shows too; at every scale the picture has.
    QIcon Swatched(const QIcon& picture, COLORREF cr) const
    {
        const QSize size = PictureSize();
        const QRect frame(1, size.height() - 4, size.width() - 2, 4);
        QIcon icon;
        for (const qreal scale : {1.0, 2.0}) {
            QPixmap pm = picture.pixmap(size, scale);
            if (pm.isNull())
                continue;
            pm.setDevicePixelRatio(scale);
            QPainter p(&pm);
            p.fillRect(frame, QColor(64, 64, 64));
            FillWithColor(p, frame.adjusted(1, 1, -1, -1), cr);
            p.end();
            icon.addPixmap(pm);
        }
        return icon;
    }

    QAction* m_pAction;
};

// The name of a recent file as its menu item shows it: at most kMaxRecentName characters,
// the middle left out, and an ampersand as itself rather than a mnemonic.
QString RecentItemName(QString name)
{
    constexpr qsizetype kMaxRecentName = 60;
    if (name.size() > kMaxRecentName) {
        qsizetype head = kMaxRecentName / 2 - 1, tail = kMaxRecentName / 2;
        // Never half a character.
        if (name[head - 1].isHighSurrogate())
            --head;
        if (name[name.size() - tail].isLowSurrogate())
            --tail;
        name = name.left(head) + QChar(0x2026) + name.right(tail);
    }
    return name.replace('&', QStringLiteral("&&"));
}

} // namespace

QAction* CFrameWnd::Action(UINT nID)
{
    if (auto it = d->actions.find(nID); it != d->actions.end())
        return it->second;
    auto* action = new QAction(Widget());
    action->setProperty(kCommandProperty, nID);
    // The command's string: the status-bar prompt, then after a newline the tooltip.
    if (const char* s = res::FindString(nID)) {
        const QString text = QString::fromUtf8(s);
        const qsizetype nl = text.indexOf('\n');
        action->setStatusTip(nl < 0 ? text : text.left(nl));
        if (nl >= 0)
            action->setToolTip(text.mid(nl + 1));
    }
    QObject::connect(action, &QAction::triggered, Widget(), [this, nID] {
        OnCmdMsg(nID, CmdAction::Execute, {});
        UpdateCommandStates();
    });
    Widget()->addAction(action);
    d->actions[nID] = action;
    return action;
}

void CFrameWnd::BuildMenu(UINT nIDResource)
{
    const res::Menu* menu = res::FindMenu(nIDResource);
    if (!menu)
        return;
    QMenuBar* bar = static_cast<QMainWindow*>(Widget())->menuBar();
    for (const res::MenuNode& popup : menu->popups) {
        QMenu* m = bar->addMenu(QString::fromUtf8(popup.text));
        for (const res::MenuNode& item : popup.children) {
            if (item.kind == res::MenuKind::Separator) {
                m->addSeparator();
                continue;
            }
            QAction* a = Action(item.id);
            if (a->text().isEmpty())
                a->setText(QString::fromUtf8(item.text));
            m->addAction(a);
            if (item.id == ID_FILE_MRU_FILE1)
                d->recentMenu = m;
        }
        QObject::connect(m, &QMenu::aboutToShow, Widget(), [this] { UpdateCommandStates(); });
    }
}

void CFrameWnd::BuildAccelerators(UINT nIDResource)
{
    const res::AccelTable* table = res::FindAccelerators(nIDResource);
    if (!table)
        return;
    std::map<UINT, QList<QKeySequence>> keys;
    for (const res::Accel& a : table->entries)
        keys[a.cmd].append(ToKeySequence(a));
    for (const auto& [cmd, seqs] : keys)
        Action(cmd)->setShortcuts(seqs);
}

void CFrameWnd::UpdateCommandStates()
{
    d->updatePending = false;
    d->barsPending = false;
    for (const auto& [id, action] : d->actions) {
        if (id >= ID_FILE_MRU_FILE1 && id <= ID_FILE_MRU_FILE16)
            continue;
        ActionCmdUI ui(action);
        ui.m_nID = id;
        ui.DoUpdate(this);
    }
    for (CControlBar* bar : d->bars)
        bar->OnUpdateCmdUI(this);
    RefreshRecentFiles();
    OnUpdateFrameTitle();
}

void CFrameWnd::DelayUpdateCommandUI()
{
    if (d->updatePending || !Widget())
        return;
    d->updatePending = true;
    QTimer::singleShot(0, Widget(), [this] {
        if (d->updatePending)
            UpdateCommandStates();
    });
}

void CFrameWnd::DelayUpdateControlBars()
{
    if (d->updatePending || d->barsPending || !Widget())
        return;
    d->barsPending = true;
    QTimer::singleShot(0, Widget(), [this] {
        if (!d->barsPending)
            return;
        d->barsPending = false;
        for (CControlBar* bar : d->bars)
            bar->OnUpdateCmdUI(this);
    });
}

void CFrameWnd::RefreshRecentFiles()
{
    // The recent files take the place of the placeholder item; it shows, greyed, while the
    // list is empty.
    if (!d->recentMenu)
        return;
    QAction* placeholder = Action(ID_FILE_MRU_FILE1);
    if (d->placeholderText.isEmpty())
        d->placeholderText = placeholder->text();
    const CWinApp* app = AfxGetApp();
    const std::vector<std::string> files = app ? app->GetRecentFiles() : std::vector<std::string>();
    // Every update after the user's input comes here: the menu is rebuilt only for a new list.
    if (d->recentShown == files)
        return;
    for (std::size_t i = 1; i < (d->recentShown ? d->recentShown->size() : 0); ++i)
        d->recentMenu->removeAction(Action(UINT(ID_FILE_MRU_FILE1 + i)));
    d->recentShown = files;
    if (files.empty()) {
        placeholder->setText(d->placeholderText);
        placeholder->setEnabled(false);
        return;
    }
    QAction* before = nullptr;
    const QList<QAction*> items = d->recentMenu->actions();
    if (const qsizetype at = items.indexOf(placeholder); at >= 0 && at + 1 < items.size())
        before = items[at + 1];
    for (UINT i = 0; i < files.size(); ++i) {
        QAction* a = Action(ID_FILE_MRU_FILE1 + i);
        const QString path = QFile::decodeName(QByteArray::fromStdString(files[i]));
        a->setText(
            QStringLiteral("&%1 %2").arg(i + 1).arg(RecentItemName(QFileInfo(path).fileName())));
        a->setStatusTip(QString::fromUtf8(res::LoadString(ID_FILE_MRU_FILE1 + i)) +
                        QStringLiteral(": ") + path);
        a->setEnabled(true);
        if (i > 0)
            d->recentMenu->insertAction(before, a);
    }
}
