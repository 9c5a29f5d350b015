// The view's printing and print preview through Qt's printer and dialogs.
#include "View.h"

#include "Printing.h"

#include <QApplication>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStandardPaths>

namespace {

// A context that draws through a painter on the printer, one unit per device pixel.
class CPrinterDC : public CDC {
public:
    CPrinterDC(QPainter* pPainter, int nDpi) { AttachPainter(pPainter, nDpi); }
};

} // namespace

QPrinter& AfxPrinter()
{
    static QPrinter* printer = [] {
        auto* p = new QPrinter(QPrinter::HighResolution);
        if (QPrinterInfo::availablePrinterNames().isEmpty()) {
            p->setOutputFormat(QPrinter::PdfFormat);
            const QString dir = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
            p->setOutputFileName(dir + QStringLiteral("/skorel.pdf"));
        }
        return p;
    }();
    return *printer;
}

BOOL CView::OnPreparePrinting(CPrintInfo* pInfo) { return DoPreparePrinting(pInfo); }

BOOL CView::DoPreparePrinting(CPrintInfo* pInfo)
{
    if (pInfo->m_bDirect || pInfo->m_bPreview)
        return TRUE;
    QPrintDialog dialog(&AfxPrinter(), QApplication::activeWindow());
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    return dialog.exec() == QDialog::Accepted;
}

void CView::PrintPages(CPrintInfo& info, QPrinter& printer)
{
    QPainter painter;
    if (!painter.begin(&printer))
        return;
    CPrinterDC dc(&painter, printer.resolution());
    // The painter's origin is the printable area's corner.
    const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
    info.m_rectDraw = CRect(0, 0, page.width(), page.height());
    OnBeginPrinting(&dc, &info);
    for (info.m_nCurPage = 1; info.m_nCurPage <= info.m_nMaxPage; ++info.m_nCurPage) {
        if (info.m_nCurPage > 1)
            printer.newPage();
        OnPrepareDC(&dc, &info);
        OnPrint(&dc, &info);
    }
    OnEndPrinting(&dc, &info);
    painter.end();
}

void CView::OnFilePrint()
{
    CPrintInfo info;
    if (OnPreparePrinting(&info))
        PrintPages(info, AfxPrinter());
}

void CView::OnFilePrintDirect()
{
    CPrintInfo info;
    info.m_bDirect = TRUE;
    if (OnPreparePrinting(&info))
        PrintPages(info, AfxPrinter());
}

void CView::OnFilePrintPreview()
{
    CPrintInfo info;
    info.m_bPreview = TRUE;
    if (!OnPreparePrinting(&info))
        return;
    QPrintPreviewDialog preview(&AfxPrinter(), QApplication::activeWindow());
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested,
                     [&](QPrinter* printer) { PrintPages(info, *printer); });
    preview.exec();
}
