// The style's standard icons, made only when first drawn, draw as the style's own.
#include "framework/docview/App.h"

#include <QApplication>
#include <QIcon>
#include <QStyle>
#include <QStyleFactory>

#include <gtest/gtest.h>

#include <memory>

namespace {

TEST(StandardIcons, DrawAsTheStylesOwnAtEveryScale)
{
    const std::unique_ptr<QStyle> own(QStyleFactory::create(QApplication::style()->name()));
    AfxDeferStandardIcons();
    for (const QStyle::StandardPixmap which :
         {QStyle::SP_ToolBarHorizontalExtensionButton, QStyle::SP_ToolBarVerticalExtensionButton,
          QStyle::SP_MessageBoxQuestion, QStyle::SP_TitleBarCloseButton}) {
        const QIcon icon = QApplication::style()->standardIcon(which);
        const QIcon expected = own->standardIcon(which);
        EXPECT_FALSE(icon.isNull()) << which;
        EXPECT_EQ(icon.actualSize(QSize(64, 64)), expected.actualSize(QSize(64, 64))) << which;
        for (const qreal scale : {1.0, 2.0})
            EXPECT_EQ(icon.pixmap(QSize(16, 16), scale).toImage(),
                      expected.pixmap(QSize(16, 16), scale).toImage())
                << which << " at " << scale;
    }
}

} // namespace
