// Files dropped on a window: the local files of a drop of URLs, handed to the window's handler
// once the drop is over.
#include "Wnd.h"

#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <QWidget>

namespace {

// The filter's name among the widget's children: it has no meta-object of its own to find it by.
const QString kFilterName = QStringLiteral("fileDrops");

// The local files of a list of URLs, as the bytes of their names: a name that is no UTF-8
// keeps its bytes, as the URL's percent-encoding carries them.
std::vector<std::string> LocalFiles(const QMimeData* data)
{
    std::vector<std::string> paths;
    if (!data || !data->hasUrls())
        return paths;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile() && !url.path().isEmpty())
            paths.push_back(QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1())
                                .toStdString());
    return paths;
}

class FileDrops : public QObject {
public:
    FileDrops(CWnd* pOwner, QWidget* pWidget) : QObject(pWidget), m_pOwner(pOwner)
    {
        setObjectName(kFilterName);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::DragEnter:
            // The data comes from the other program, asked and waited for: once is enough.
            m_bTaking = !LocalFiles(static_cast<QDropEvent*>(event)->mimeData()).empty();
            Answer(static_cast<QDropEvent*>(event), m_bTaking);
            return true;
        case QEvent::DragMove:
            Answer(static_cast<QDropEvent*>(event), m_bTaking);
            return true;
        case QEvent::Drop:
            Drop(static_cast<QWidget*>(watched), static_cast<QDropEvent*>(event));
            return true;
        default:
            return false;
        }
    }

private:
    static void Answer(QDropEvent* event, bool take)
    {
        // The files are read, never moved away from where they are.
        event->setDropAction(Qt::CopyAction);
        event->setAccepted(take);
    }

    void Drop(QWidget* widget, QDropEvent* event)
    {
        std::vector<std::string> paths = LocalFiles(event->mimeData());
        Answer(event, !paths.empty());
        if (paths.empty())
            return;
        UINT flags = 0;
        if (event->modifiers() & Qt::ControlModifier)
            flags |= MK_CONTROL;
        if (event->modifiers() & Qt::ShiftModifier)
            flags |= MK_SHIFT;
        // The program that dragged waits for the drop to end: a question asked now would
        // keep it waiting, and its pointer grabbed, until the user answers.
        QWidget* window = widget->window();
        CWnd* owner = m_pOwner;
        QTimer::singleShot(0, widget, [window, owner, paths = std::move(paths), flags] {
            window->raise();
            window->activateWindow();
            owner->OnDropFiles(paths, flags);
        });
    }

    CWnd* m_pOwner;
    bool m_bTaking = false; // the drag going on holds local files
};

} // namespace

void CWnd::OnDropFiles(const std::vector<std::string>&, UINT) {}

void CWnd::DragAcceptFiles(BOOL bAccept)
{
    if (!m_pWidget)
        return;
    m_pWidget->setAcceptDrops(bAccept);
    QObject* drops = m_pWidget->findChild<QObject*>(kFilterName, Qt::FindDirectChildrenOnly);
    if (bAccept && !drops)
        m_pWidget->installEventFilter(new FileDrops(this, m_pWidget));
    else if (!bAccept && drops)
        delete drops;
}
