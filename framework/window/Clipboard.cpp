#include "Clipboard.h"

#include "framework/gdi/Gdi.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QPointer>

#include <algorithm>

namespace {

// The picture types CPictureReader reads, the most common first.
const QStringList& PictureTypes()
{
    static const QStringList types = {
        QStringLiteral("image/png"),   QStringLiteral("image/jpeg"),
        QStringLiteral("image/gif"),   QStringLiteral("image/tiff"),
        QStringLiteral("image/webp"),  QStringLiteral("image/vnd.microsoft.icon"),
        QStringLiteral("image/x-icon")};
    return types;
}

// Qt's type for a picture held as an image in this process.
const QString kQtImageType = QStringLiteral("application/x-qt-image");

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

void CClipboard::SetPicture(const CBitmap& picture)
{
    if (!picture.Image())
        return;
    auto* mime = new QMimeData;
    mime->setImageData(picture.Image()->convertToFormat(QImage::Format_RGB32));
    QGuiApplication::clipboard()->setMimeData(mime);
}

bool CClipboard::HasPicture()
{
    const QStringList& formats = AnnouncedFormats::Formats();
    return formats.contains(kQtImageType) ||
           std::ranges::any_of(PictureTypes(),
                               [&](const QString& t) { return formats.contains(t); });
}

std::vector<BYTE> CClipboard::GetPicture()
{
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    if (!mime)
        return {};
    const QStringList formats = mime->formats();
    for (const QString& type : PictureTypes())
        if (formats.contains(type)) {
            const QByteArray bytes = mime->data(type);
            if (!bytes.isEmpty())
                return std::vector<BYTE>(bytes.begin(), bytes.end());
        }
    // An image this process holds has no file form yet: it is given one.
    const QImage image = mime->hasImage() ? qvariant_cast<QImage>(mime->imageData()) : QImage();
    if (image.isNull())
        return {};
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "png"))
        return {};
    return std::vector<BYTE>(png.begin(), png.end());
}
