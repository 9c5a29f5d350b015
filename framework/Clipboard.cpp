#include "Clipboard.h"

#include "Gdi.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>

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
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    return mime && mime->hasFormat(QString::fromUtf8(pszMimeType));
}

std::vector<BYTE> CClipboard::GetData(const char* pszMimeType)
{
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    if (!mime)
        return {};
    const QByteArray bytes = mime->data(QString::fromUtf8(pszMimeType));
    return std::vector<BYTE>(bytes.begin(), bytes.end());
}
