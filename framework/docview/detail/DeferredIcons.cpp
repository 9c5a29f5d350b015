#include "DeferredIcons.h"

#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPointer>

namespace {

// An icon that asks the style for the real one the first time it is drawn or measured.
class DeferredIconEngine : public QIconEngine {
public:
    DeferredIconEngine(const QStyle* pStyle, QStyle::StandardPixmap which)
        : m_pStyle(pStyle), m_which(which)
    {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        Icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return Icon().pixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override
    {
        return Icon().pixmap(size, scale, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return Icon().actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        return Icon().availableSizes(mode, state);
    }
    // Every standard icon the styles name has pictures; asking must not make it.
    bool isNull() override { return false; }
    QString key() const override { return QStringLiteral("deferred"); }
    QIconEngine* clone() const override
    {
        auto* copy = new DeferredIconEngine(m_pStyle, m_which);
        copy->m_icon = m_icon;
        copy->m_bMade = m_bMade;
        return copy;
    }

private:
    QIcon& Icon()
    {
        if (!m_bMade && m_pStyle)
            m_icon = m_pStyle->standardIcon(m_which);
        m_bMade = true;
        return m_icon;
    }

    QPointer<const QStyle> m_pStyle; // the base style, which makes the real icon
    QStyle::StandardPixmap m_which;
    QIcon m_icon;
    bool m_bMade = false;
};

} // namespace

DeferredIconStyle::DeferredIconStyle() : QProxyStyle(QApplication::style()) {}

QIcon DeferredIconStyle::standardIcon(StandardPixmap standardIcon, const QStyleOption*,
                                      const QWidget*) const
{
    return QIcon(new DeferredIconEngine(baseStyle(), standardIcon));
}
