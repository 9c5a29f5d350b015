#include "Clipboard.h"

#include "framework/gdi/Gdi.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QPointer>

namespace {

// The formats the clipboard last announced, asked once when it changes. Whether a command can
// paste is asked after every key press and click: asking the program that holds the clipboard
// each time would let one that never answers freeze the window.
class AnnouncedFormats : public QObject {
public:
    static const QStringList& Formats()
    {
        static QPointer<AnnouncedFormats> s_watcher;
        if (!s_watcher)
            s_watcher = new AnnouncedFormats(QCoreApplication::instance());
        return s_watcher->m_formats;
    }

private:
    explicit AnnouncedFormats(QObject* pParent) : QObject(pParent)
    {
        connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this,
                &AnnouncedFormats::Refresh);
        Refresh();
    }

    void Refresh()
    {
        const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
        m_formats = mime ? mime->formats() : QStringList();
    }

    QStringList m_formats;
};

} // namespace

void CClipboard::SetData(const char* pszMimeType, const std::vector<BYTE>& data,
                         const CBitmap* pPicture)
{
    auto* mime = new QMimeData;
    mime->setData(QString::fromUtf8(pszMimeType),
                  QByteArray(reinterpret_cast<const char*>(data.data()), qsizetype(data.size())));
    if (pPicture && pPicture->Image())
        mime->setImageData(pPicture->Image()->convertToFormat(QImage::Format_RGB32));
    QGuiApplication::clipboard()->setMimeData(mime);
}

bool CClipboard::HasData(const char* pszMimeType)
{
    return AnnouncedFormats::Formats().contains(QString::fromUtf8(pszMimeType));
}

std::vector<BYTE> CClipboard::GetData(const char* pszMimeType)
{
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    if (!mime)
        return {};
    const QByteArray bytes = mime->data(QString::fromUtf8(pszMimeType));
    return std::vector<BYTE>(bytes.begin(), bytes.end());
}
