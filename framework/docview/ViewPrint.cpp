// The view's printing and print preview through Qt's printer and dialogs.
#include "View.h"

#include "Document.h"
#include "Printing.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>

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
        if (QPrinterInfo::availablePrinterNames().isEmpty())
            p->setOutputFormat(QPrinter::PdfFormat);
        return p;
    }();
    return *printer;
}

void AfxSuggestPrintFile(const CDocument* pDoc)
{
    QPrinter& printer = AfxPrinter();
    static QString s_suggested;
    if (printer.outputFormat() != QPrinter::PdfFormat ||
        (!printer.outputFileName().isEmpty() && printer.outputFileName() != s_suggested))
        return;
    const std::string& path = pDoc ? pDoc->GetPathName() : std::string();
    QFileInfo named(QFile::decodeName(QByteArray::fromStdString(path)));
    if (path.empty())
        named = QFileInfo(QDir::home(), QString::fromStdString(pDoc ? pDoc->GetTitle() : "") +
                                            QStringLiteral(".pdf"));
    s_suggested = named.absolutePath() + '/' + named.completeBaseName() + QStringLiteral(".pdf");
    printer.setOutputFileName(s_suggested);
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

void CView::OnFilePrint() { Print(FALSE); }

void CView::OnFilePrintDirect() { Print(TRUE); }

void CView::Print(BOOL bDirect)
{
    AfxSuggestPrintFile(GetDocument());
    CPrintInfo info;
    info.m_bDirect = bDirect;
    if (OnPreparePrinting(&info))
        PrintPages(info, AfxPrinter());
}

void CView::OnFilePrintPreview()
{
    AfxSuggestPrintFile(GetDocument());
    CPrintInfo info;
    info.m_bPreview = TRUE;
    if (!OnPreparePrinting(&info))
        return;
    QPrintPreviewDialog preview(&AfxPrinter(), QApplication::activeWindow());
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested,
                     [&](QPrinter* printer) { PrintPages(info, *printer); });
    preview.exec();
}
