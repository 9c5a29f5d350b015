// The real frame, view and document on the offscreen screen, for the benchmarks of the view and
// of opening pictures in it.
#pragma once

#include "Scene.h"

#include "document/SkorelDoc.h"
#include "res/resource.h"
#include "view/SkorelView.h"

#include "framework/docview/App.h"
#include "framework/docview/DocTemplate.h"
#include "framework/docview/Frame.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QSize>
#include <QTemporaryDir>
#include <QWidget>

namespace bench {

// A BMP picture of the size with some texture, written once; its path.
inline QString PicturePath(QSize size = QSize(kCanvasWidth, kCanvasHeight))
{
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("picture%1x%2.bmp")
                                          .arg(size.width())
                                          .arg(size.height()));
    if (!QFile::exists(path)) {
        QImage picture(size, QImage::Format_RGB888);
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x)
                picture.setPixel(x, y, qRgb(x & 255, y & 255, (x + y) & 255));
        picture.save(path, "BMP");
    }
    return path;
}

using Records = std::vector<CData> (*)(int n, unsigned seed);

// The real frame, view and document, shown on the offscreen screen in a 1400 × 1150 window; a
// picture of the size given, if any, under the records.
struct Scene {
    CWinApp app;
    CSingleDocTemplate tmpl{IDR_MAINFRAME, RUNTIME_CLASS(CSkorelDoc), RUNTIME_CLASS(CFrameWnd),
                            RUNTIME_CLASS(CSkorelView)};
    CSkorelDoc* doc;
    CSkorelView* view;

    Scene(int nRecords, bool withPicture, Records records = MixedRecords,
          QSize picture = QSize(kCanvasWidth, kCanvasHeight))
    {
        doc = static_cast<CSkorelDoc*>(tmpl.OpenDocumentFile(nullptr));
        view = static_cast<CSkorelView*>(tmpl.GetFrame()->GetActiveView());
        tmpl.GetFrame()->Widget()->resize(1400, 1150);
        tmpl.GetFrame()->ShowWindow(SW_SHOW);
        if (withPicture)
            tmpl.OpenDocumentFile(PicturePath(picture).toUtf8().constData());
        for (const CData& d : records(nRecords, 3))
            doc->m_shapeList.AddTail(std::make_unique<CData>(d));
        QApplication::processEvents();
    }
};

} // namespace bench
