#include "SvgWriter.h"

#include "Gdi.h"

#include <QByteArray>
#include <QString>
#include <QXmlStreamWriter>

#include <initializer_list>
#include <utility>

namespace {

QString Number(double v) { return QString::number(v, 'g', 12); }

QString Color(COLORREF cr)
{
    if (cr == CLR_NONE)
        return QStringLiteral("none");
    return QStringLiteral("#%1%2%3")
        .arg(GetRValue(cr), 2, 16, QLatin1Char('0'))
        .arg(GetGValue(cr), 2, 16, QLatin1Char('0'))
        .arg(GetBValue(cr), 2, 16, QLatin1Char('0'));
}

} // namespace

struct CSvgWriter::Stream {
    QByteArray text;
    QXmlStreamWriter xml{&text};

    // A shape element: its geometry, as (name, value) pairs, then its paint.
    void Shape(const QString& name, std::initializer_list<std::pair<const char*, double>> geometry,
               COLORREF stroke, const QString& fill, int width)
    {
        xml.writeEmptyElement(name);
        for (const auto& [attribute, value] : geometry)
            xml.writeAttribute(QString::fromLatin1(attribute), Number(value));
        xml.writeAttribute(QStringLiteral("stroke"), Color(stroke));
        xml.writeAttribute(QStringLiteral("fill"), fill);
        xml.writeAttribute(QStringLiteral("stroke-width"), QString::number(width));
    }
};

CSvgWriter::CSvgWriter(const CRect& area) : m_stream(std::make_unique<Stream>())
{
    QXmlStreamWriter& xml = m_stream->xml;
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("svg"));
    xml.writeDefaultNamespace(QStringLiteral("http://www.w3.org/2000/svg"));
    xml.writeNamespace(QStringLiteral("http://www.w3.org/1999/xlink"), QStringLiteral("xlink"));
    xml.writeAttribute(QStringLiteral("version"), QStringLiteral("1.1"));
    xml.writeAttribute(QStringLiteral("width"), QString::number(area.Width()));
    xml.writeAttribute(QStringLiteral("height"), QString::number(area.Height()));
    xml.writeAttribute(QStringLiteral("viewBox"), QStringLiteral("%1 %2 %3 %4")
                                                      .arg(area.left)
                                                      .arg(area.top)
                                                      .arg(area.Width())
                                                      .arg(area.Height()));
}

CSvgWriter::~CSvgWriter() = default;

void CSvgWriter::Fill(const CRect& rect, COLORREF fill)
{
    QXmlStreamWriter& xml = m_stream->xml;
    xml.writeEmptyElement(QStringLiteral("rect"));
    xml.writeAttribute(QStringLiteral("x"), QString::number(rect.left));
    xml.writeAttribute(QStringLiteral("y"), QString::number(rect.top));
    xml.writeAttribute(QStringLiteral("width"), QString::number(rect.Width()));
    xml.writeAttribute(QStringLiteral("height"), QString::number(rect.Height()));
    xml.writeAttribute(QStringLiteral("fill"), Color(fill));
}

void CSvgWriter::Image(int x, int y, int width, int height, const std::vector<BYTE>& png)
{
    QXmlStreamWriter& xml = m_stream->xml;
    const QByteArray data =
        QByteArray(reinterpret_cast<const char*>(png.data()), qsizetype(png.size())).toBase64();
    xml.writeEmptyElement(QStringLiteral("image"));
    xml.writeAttribute(QStringLiteral("x"), QString::number(x));
    xml.writeAttribute(QStringLiteral("y"), QString::number(y));
    xml.writeAttribute(QStringLiteral("width"), QString::number(width));
    xml.writeAttribute(QStringLiteral("height"), QString::number(height));
    // Each pixel a sharp square, as the canvas shows it.
    xml.writeAttribute(QStringLiteral("image-rendering"), QStringLiteral("pixelated"));
    xml.writeAttribute(QStringLiteral("http://www.w3.org/1999/xlink"), QStringLiteral("href"),
                       QStringLiteral("data:image/png;base64,") + QString::fromLatin1(data));
}

void CSvgWriter::Line(double x1, double y1, double x2, double y2, COLORREF stroke, int width)
{
    m_stream->Shape(QStringLiteral("line"), {{"x1", x1}, {"y1", y1}, {"x2", x2}, {"y2", y2}},
                    stroke, QStringLiteral("none"), width);
    m_stream->xml.writeAttribute(QStringLiteral("stroke-linecap"), QStringLiteral("round"));
}

void CSvgWriter::Rect(double x, double y, double width, double height, COLORREF stroke,
                      COLORREF fill, int strokeWidth)
{
    m_stream->Shape(QStringLiteral("rect"),
                    {{"x", x}, {"y", y}, {"width", width}, {"height", height}}, stroke,
                    Color(fill), strokeWidth);
}

void CSvgWriter::Ellipse(double cx, double cy, double rx, double ry, COLORREF stroke, COLORREF fill,
                         int strokeWidth)
{
    m_stream->Shape(QStringLiteral("ellipse"), {{"cx", cx}, {"cy", cy}, {"rx", rx}, {"ry", ry}},
                    stroke, Color(fill), strokeWidth);
}

std::vector<BYTE> CSvgWriter::Finish()
{
    m_stream->xml.writeEndDocument();
    return std::vector<BYTE>(m_stream->text.begin(), m_stream->text.end());
}
