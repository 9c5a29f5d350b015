// The style's standard icons made only when they are first drawn. The styles make them from
// PNG files, and Qt's reader looks for another reader of PNG among all the image-format
// plugins, loading every one of them and the libraries they need; most of these icons (the
// arrows of a toolbar or menu bar too narrow for its buttons) are never drawn at all.
// Docview-layer private.
#pragma once

#include <QProxyStyle>

class DeferredIconStyle : public QProxyStyle {
public:
    // Takes the application's style as its base.
    DeferredIconStyle();
    QIcon standardIcon(StandardPixmap standardIcon, const QStyleOption* option = nullptr,
                       const QWidget* widget = nullptr) const override;
};
