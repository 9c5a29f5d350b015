#include "BmpFiles.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include <csignal>
#include <fstream>
#include <iterator>

#include <sys/resource.h>

namespace bmptest {
namespace {

void Push16(std::vector<BYTE>& b, std::uint32_t v)
{
    b.push_back(BYTE(v));
    b.push_back(BYTE(v >> 8));
}

void Push32(std::vector<BYTE>& b, std::uint32_t v)
{
    Push16(b, v & 0xFFFF);
    Push16(b, v >> 16);
}

std::vector<BYTE> InfoHeader(const Layout& l, const Picture& p, DWORD sizeImage)
{
    std::vector<BYTE> h;
    if (l.headerSize == sizeof(BITMAPCOREHEADER)) {
        Push32(h, l.headerSize);
        Push16(h, p.width);
        Push16(h, p.height);
        Push16(h, 1);
        Push16(h, l.bitCount);
        return h;
    }
    h.resize(l.headerSize);
    Put32(h, 0, l.headerSize);
    Put32(h, 4, p.width);
    Put32(h, 8, std::uint32_t(l.topDown ? -p.height : p.height));
    Put16(h, 12, 1);
    Put16(h, 14, l.bitCount);
    Put32(h, 16, l.compression);
    Put32(h, 20, sizeImage);
    Put32(h, 24, 2835);
    Put32(h, 28, 2835);
    Put32(h, 32, l.clrUsed);
    if (l.compression == BI_BITFIELDS) {
        if (l.headerSize == sizeof(BITMAPINFOHEADER))
            h.resize(h.size() + 12);
        for (int i = 0; i < 3; ++i)
            Put32(h, 40 + 4 * i, l.masks[i]);
    }
    if (l.headerSize >= 108)
        Put32(h, 56, 0x73524742); // sRGB
    return h;
}

std::vector<BYTE> PlainRow(const Layout& l, const Picture& p, int y)
{
    std::vector<BYTE> r(std::size_t(DibRowBytes(p.width, l.bitCount)));
    for (int x = 0; x < p.width; ++x) {
        const std::uint32_t raw = p.At(x, y).raw;
        switch (l.bitCount) {
        case 1:
            r[x / 8] |= BYTE(raw << (7 - x % 8));
            break;
        case 4:
            r[x / 2] |= BYTE(raw << (x % 2 ? 0 : 4));
            break;
        case 8:
            r[x] = BYTE(raw);
            break;
        default:
            for (int i = 0; i < l.bitCount / 8; ++i)
                r[std::size_t(x) * (l.bitCount / 8) + i] = BYTE(raw >> (8 * i));
        }
    }
    return r;
}

// Encoded runs where three or more pixels repeat, literal runs elsewhere.
void RleRow(const Layout& l, const Picture& p, int y, std::vector<BYTE>& out)
{
    const bool rle4 = l.compression == BI_RLE4;
    std::vector<BYTE> v;
    for (int x = 0; x < p.width; ++x)
        v.push_back(BYTE(p.At(x, y).raw));
    const auto repeats = [&](std::size_t i) {
        return i + 2 < v.size() && v[i] == v[i + 1] && v[i] == v[i + 2];
    };
    for (std::size_t i = 0; i < v.size();) {
        std::size_t n = 1;
        if (repeats(i)) {
            while (i + n < v.size() && v[i + n] == v[i] && n < 255)
                ++n;
        } else {
            while (i + n < v.size() && !repeats(i + n) && n < 255)
                ++n;
        }
        if (repeats(i) || n < 3) {
            n = repeats(i) ? n : 1;
            out.push_back(BYTE(n));
            out.push_back(rle4 ? BYTE(v[i] << 4 | v[i]) : v[i]);
        } else {
            out.push_back(0);
            out.push_back(BYTE(n));
            std::vector<BYTE> data;
            for (std::size_t k = 0; k < n; ++k) {
                if (!rle4)
                    data.push_back(v[i + k]);
                else if (k % 2 == 0)
                    data.push_back(BYTE(v[i + k] << 4));
                else
                    data.back() |= v[i + k];
            }
            if (data.size() % 2)
                data.push_back(0);
            out.insert(out.end(), data.begin(), data.end());
        }
        i += n;
    }
}

std::vector<BYTE> Pixels(const Layout& l, const Picture& p)
{
    std::vector<BYTE> bits;
    const bool rle = l.compression == BI_RLE8 || l.compression == BI_RLE4;
    for (int r = 0; r < p.height; ++r) {
        const int y = l.topDown ? r : p.height - 1 - r;
        if (rle) {
            RleRow(l, p, y, bits);
            bits.push_back(0);
            bits.push_back(r + 1 == p.height ? 1 : 0);
        } else {
            const std::vector<BYTE> row = PlainRow(l, p, y);
            bits.insert(bits.end(), row.begin(), row.end());
        }
    }
    return bits;
}

} // namespace

std::uint32_t Get32(const std::vector<BYTE>& b, std::size_t at)
{
    return std::uint32_t(b[at]) | std::uint32_t(b[at + 1]) << 8 | std::uint32_t(b[at + 2]) << 16 |
           std::uint32_t(b[at + 3]) << 24;
}

void Put32(std::vector<BYTE>& b, std::size_t at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = BYTE(v >> (8 * i));
}

void Put16(std::vector<BYTE>& b, std::size_t at, std::uint16_t v)
{
    b[at] = BYTE(v);
    b[at + 1] = BYTE(v >> 8);
}

std::vector<BYTE> BuildBmp(const Layout& layout, const Picture& picture)
{
    const std::vector<BYTE> bits = Pixels(layout, picture);
    const std::vector<BYTE> info = InfoHeader(layout, picture, DWORD(bits.size()));
    std::vector<BYTE> table;
    for (std::uint32_t c : layout.table) {
        Push16(table, c & 0xFFFF);
        table.push_back(BYTE(c >> 16));
        if (layout.headerSize != sizeof(BITMAPCOREHEADER))
            table.push_back(0);
    }
    const std::size_t offBits = 14 + info.size() + table.size() + layout.gap;
    std::vector<BYTE> file{'B', 'M'};
    Push32(file, std::uint32_t(offBits + bits.size()));
    Push32(file, 0);
    Push32(file, std::uint32_t(offBits));
    file.insert(file.end(), info.begin(), info.end());
    file.insert(file.end(), table.begin(), table.end());
    file.insert(file.end(), std::size_t(layout.gap), BYTE(0xEE));
    file.insert(file.end(), bits.begin(), bits.end());
    return file;
}

void ReplaceRleStream(std::vector<BYTE>& file, const std::vector<BYTE>& rle)
{
    file.resize(Get32(file, 10));
    file.insert(file.end(), rle.begin(), rle.end());
    Put32(file, 2, std::uint32_t(file.size()));
    Put32(file, 34, std::uint32_t(rle.size()));
}

std::string WriteFile(const QTemporaryDir& dir, const std::string& name,
                      const std::vector<BYTE>& bytes)
{
    // The name's bytes as they are, whatever their encoding.
    const std::string path = dir.path().toStdString() + "/" + name;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return path;
}

std::vector<BYTE> ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<BYTE>(std::istreambuf_iterator<char>(in), {});
}

void KeepSeed(const std::string& name, const std::vector<BYTE>& bytes)
{
    const QString root = qEnvironmentVariable("SKOREL_FUZZ_SEEDS");
    if (root.isEmpty())
        return;
    const QString dir = root + "/fuzz_bmp";
    QDir().mkpath(dir);
    QFile file(dir + "/" + QString::fromStdString(name) + ".bmp");
    if (file.open(QIODevice::WriteOnly))
        file.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
}

bool HaveConvert() { return !QStandardPaths::findExecutable("convert").isEmpty(); }

std::optional<std::vector<std::uint32_t>> ConvertPixels(const std::string& path, int width,
                                                        int height)
{
    QProcess convert;
    convert.start("convert", {QString::fromStdString(path), "-depth", "8", "rgb:-"});
    if (!convert.waitForFinished(60000))
        return std::nullopt;
    // ImageMagick names the extra zero byte behind SaveBMP's pixel rows, and reads on.
    const bool onlyTrailer =
        convert.readAllStandardError().contains("length and filesize do not match");
    if (convert.exitCode() != 0 && !onlyTrailer)
        return std::nullopt;
    const QByteArray rgb = convert.readAllStandardOutput();
    if (rgb.size() != qsizetype(width) * height * 3)
        return std::nullopt;
    std::vector<std::uint32_t> pixels;
    for (qsizetype i = 0; i < rgb.size(); i += 3)
        pixels.push_back(std::uint32_t(BYTE(rgb[i])) << 16 | std::uint32_t(BYTE(rgb[i + 1])) << 8 |
                         BYTE(rgb[i + 2]));
    return pixels;
}

FileSizeLimit::FileSizeLimit(long bytes)
{
    // Writing past the limit then fails with EFBIG instead of raising SIGXFSZ.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit lim{};
    getrlimit(RLIMIT_FSIZE, &lim);
    m_previous = long(lim.rlim_cur);
    lim.rlim_cur = rlim_t(bytes);
    setrlimit(RLIMIT_FSIZE, &lim);
}

FileSizeLimit::~FileSizeLimit()
{
    rlimit lim{};
    getrlimit(RLIMIT_FSIZE, &lim);
    lim.rlim_cur = rlim_t(m_previous);
    setrlimit(RLIMIT_FSIZE, &lim);
}

std::vector<std::string> FileNames(const QTemporaryDir& dir)
{
    std::vector<std::string> names;
    for (const QString& name : QDir(dir.path()).entryList(QDir::Files | QDir::Hidden))
        names.push_back(name.toStdString());
    return names;
}

Surface::Surface(int width, int height, COLORREF fill)
{
    m_bitmap.CreateCompatibleBitmap(nullptr, width, height);
    m_dc.CreateCompatibleDC(nullptr);
    m_dc.SelectObject(&m_bitmap);
    m_dc.FillSolidRect(0, 0, width, height, fill);
}

std::uint32_t Surface::At(int x, int y) const { return ToRgb(m_dc.GetPixel(x, y)); }

} // namespace bmptest
