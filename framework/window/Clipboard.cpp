#include "Clipboard.h"

#include "detail/XSelection.h"

#include "framework/core/ByteOrder.h"
#include "framework/core/Resource.h"
#include "framework/gdi/Dib.h"
#include "framework/gdi/Gdi.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QPointer>

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>
#include <thread>
#include <utility>

namespace {

// What another program offers is known this long after the clipboard changed, or not at all
// until the next change; each answer of a transfer is awaited this long.
constexpr std::chrono::milliseconds kTargetsBound(2000);
constexpr std::chrono::milliseconds kDataBound(3000);

// The picture types taken from the clipboard, those of the opened formats in the program's table,
// the most common first: files of the formats CPictureReader reads, then those the program
// reads itself.
QStringList FileTypes()
{
    QStringList decoded, own;
    for (const res::PictureFormat& format : res::PictureFormats())
        for (const char* type : format.mimeTypes)
            if (format.uses & res::PictureFormat::Opened)
                (format.uses & res::PictureFormat::Decoded ? decoded : own) << type;
    return decoded + own;
}

// Whether the type is one of BMP's, under which a bare DIB may come.
bool IsBmpType(const QString& type)
{
    return std::ranges::any_of(res::PictureFormats(), [&type](const res::PictureFormat& format) {
        return format.codec && std::string_view(format.codec) == "bmp" &&
               std::ranges::any_of(format.mimeTypes, [&type](const char* t) { return type == t; });
    });
}

// Qt's type for a picture held as an image in this process.
const QString kQtImageType = QStringLiteral("application/x-qt-image");

// The X display whose clipboard is asked on a connection of its own, empty on other platforms:
// Qt's own clipboard would ask on the window's thread. Other platforms answer from this
// process or without waiting on a program.
const std::string& XDisplay()
{
    static const std::string s_name = QtXDisplayName();
    return s_name;
}

// The data this process last put on the clipboard; Qt drops it when another program takes
// the clipboard.
QPointer<QMimeData>& OwnData()
{
    static QPointer<QMimeData> s_data;
    return s_data;
}

void Put(QMimeData* mime)
{
    OwnData() = mime;
    QGuiApplication::clipboard()->setMimeData(mime);
}

// What the clipboard holds when it can be read without asking another program, else null.
const QMimeData* LocalData()
{
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    return XDisplay().empty() || (mime && mime == OwnData().data()) ? mime : nullptr;
}

// The formats the clipboard last announced, asked once when it changes, and told to whoever
// watches them. Another program is asked on a thread of its own, one question at a time, so
// that one that never answers holds up nothing but that thread.
class AnnouncedFormats : public QObject {
public:
    static AnnouncedFormats& Instance()
    {
        static QPointer<AnnouncedFormats> s_watcher;
        if (!s_watcher)
            s_watcher = new AnnouncedFormats(QCoreApplication::instance());
        return *s_watcher;
    }
    static const QStringList& Formats() { return Instance().m_formats; }

    void Watch(const CClipboard::Watch& watch) { m_watches.push_back(watch); }

    ~AnnouncedFormats() override
    {
        m_progress.Cancel();
        if (m_asking.joinable())
            m_asking.join();
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
        ++m_nChange;
        const QMimeData* mime = LocalData();
        m_formats = mime ? mime->formats() : QStringList();
        Changed();
        m_bAskAgain = m_bAskAgain && !mime;
        if (mime)
            return;
        if (m_asking.joinable())
            m_bAskAgain = true;
        else
            Ask();
    }

    void Changed()
    {
        std::erase_if(m_watches, [](const auto& watch) { return watch.expired(); });
        for (const auto& watch : std::vector(m_watches))
            if (const CClipboard::Watch live = watch.lock())
                (*live)();
    }

    // Changes that come while a question is out are asked about once it is answered, unless
    // the owner then is the one that has just failed to answer.
    void Ask()
    {
        const bool again = std::exchange(m_bAskAgain, false);
        const int change = m_nChange;
        const std::uint32_t silent = again ? m_nSilentOwner : 0;
        m_asking = std::thread([this, change, silent] {
            XSelection selection(XDisplay());
            const std::uint32_t owner = selection.Owner();
            std::vector<std::string> names;
            const bool answered =
                owner != silent && selection.Targets(kTargetsBound, &m_progress, names) !=
                                       XSelection::Status::NoAnswer;
            QMetaObject::invokeMethod(
                this,
                [this, change, names, owner, answered] {
                    Answered(change, names, answered ? 0 : owner);
                },
                Qt::QueuedConnection);
        });
    }

    void Answered(int change, const std::vector<std::string>& names, std::uint32_t silentOwner)
    {
        m_asking.join();
        m_nSilentOwner = silentOwner;
        if (change == m_nChange) {
            m_formats.clear();
            for (const std::string& name : names)
                m_formats << QString::fromStdString(name);
            Changed();
        }
        if (m_bAskAgain)
            Ask();
    }

    QStringList m_formats;
    int m_nChange = 0;
    bool m_bAskAgain = false;
    std::uint32_t m_nSilentOwner = 0; // the owner last asked, when it did not answer
    std::vector<std::weak_ptr<const std::function<void()>>> m_watches;
    CProgress m_progress; // cancelled when the program ends
    std::thread m_asking;
};

// A BMP file as it is, or a bare DIB (an info header first) with a file header put before it;
// anything else stays as it is, for the reader to refuse.
std::vector<BYTE> AsBmpFile(std::vector<BYTE> bytes)
{
    if (bytes.size() < 4 || LoadLE16(bytes.data()) == kBmpFileType)
        return bytes;
    const DWORD header = LoadLE32(bytes.data());
    if (header != kCoreHeaderBytes && header != kInfoHeaderBytes && header != kV4HeaderBytes &&
        header != kV5HeaderBytes)
        return bytes;
    // bfOffBits 0: the pixels follow the colour table.
    const BITMAPFILEHEADER file{kBmpFileType, DWORD(sizeof file + bytes.size()), 0, 0, 0};
    bytes.insert(bytes.begin(), sizeof file, 0);
    std::memcpy(bytes.data(), &file, sizeof file);
    return bytes;
}

std::vector<BYTE> ToBytes(const QByteArray& bytes) { return {bytes.begin(), bytes.end()}; }

} // namespace

void CClipboard::SetData(const char* pszMimeType, const std::vector<BYTE>& data,
                         const CBitmap* pPicture)
{
    auto* mime = new QMimeData;
    mime->setData(QString::fromUtf8(pszMimeType),
                  QByteArray(reinterpret_cast<const char*>(data.data()), qsizetype(data.size())));
    if (pPicture && pPicture->Image())
        mime->setImageData(pPicture->Image()->convertToFormat(QImage::Format_RGB32));
    Put(mime);
}

CClipboard::Watch CClipboard::WatchFormats(std::function<void()> onChange)
{
    auto watch = std::make_shared<const std::function<void()>>(std::move(onChange));
    AnnouncedFormats::Instance().Watch(watch);
    return watch;
}

bool CClipboard::HasData(const char* pszMimeType)
{
    return AnnouncedFormats::Formats().contains(QString::fromUtf8(pszMimeType));
}

void CClipboard::SetPicture(const CBitmap& picture)
{
    if (!picture.Image())
        return;
    auto* mime = new QMimeData;
    mime->setImageData(picture.Image()->convertToFormat(QImage::Format_RGB32));
    Put(mime);
}

bool CClipboard::HasPicture()
{
    const QStringList& formats = AnnouncedFormats::Formats();
    return formats.contains(kQtImageType) ||
           std::ranges::any_of(FileTypes(), [&](const QString& t) { return formats.contains(t); });
}

struct CClipboardRequest::Impl {
    // What this process holds: bytes, or a picture not yet in a file's form.
    bool local = false;
    std::vector<BYTE> bytes;
    QImage image;
    // What to ask another program for.
    QString type;
    bool answered = true;
};

CClipboardRequest::CClipboardRequest(std::unique_ptr<Impl> impl) : m_impl(std::move(impl)) {}
CClipboardRequest::~CClipboardRequest() = default;
CClipboardRequest::CClipboardRequest(CClipboardRequest&&) noexcept = default;
CClipboardRequest& CClipboardRequest::operator=(CClipboardRequest&&) noexcept = default;

CClipboardRequest CClipboardRequest::ForData(const char* pszMimeType)
{
    auto impl = std::make_unique<Impl>();
    const QString type = QString::fromUtf8(pszMimeType);
    if (const QMimeData* mime = LocalData()) {
        impl->local = true;
        impl->bytes = ToBytes(mime->data(type));
    } else if (AnnouncedFormats::Formats().contains(type)) {
        impl->type = type;
    }
    return CClipboardRequest(std::move(impl));
}

CClipboardRequest CClipboardRequest::ForPicture()
{
    auto impl = std::make_unique<Impl>();
    const QStringList& formats = AnnouncedFormats::Formats();
    const QStringList types = FileTypes();
    const auto type =
        std::ranges::find_if(types, [&](const QString& t) { return formats.contains(t); });
    if (const QMimeData* mime = LocalData()) {
        impl->local = true;
        if (type != types.end())
            impl->bytes = ToBytes(mime->data(*type));
        if (impl->bytes.empty() && mime->hasImage())
            impl->image = qvariant_cast<QImage>(mime->imageData());
        if (type != types.end() && IsBmpType(*type))
            impl->bytes = AsBmpFile(std::move(impl->bytes));
    } else if (type != types.end()) {
        impl->type = *type;
    }
    return CClipboardRequest(std::move(impl));
}

std::vector<BYTE> CClipboardRequest::Fetch(CProgress& progress)
{
    Impl& d = *m_impl;
    d.answered = true;
    if (!d.image.isNull()) {
        // An image this process holds has no file form yet: it is given one.
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        return d.image.save(&buffer, "png") ? ToBytes(png) : std::vector<BYTE>();
    }
    if (d.local || d.type.isEmpty())
        return d.bytes;
    XSelection selection(XDisplay());
    XSelection::Reply reply = selection.Data(d.type.toStdString(), kDataBound, &progress);
    d.answered = reply.status != XSelection::Status::NoAnswer;
    if (reply.status != XSelection::Status::Answered)
        return {};
    return IsBmpType(d.type) ? AsBmpFile(std::move(reply.bytes)) : std::move(reply.bytes);
}

bool CClipboardRequest::Answered() const { return m_impl->answered; }
