// The view: a window that shows a document, paints through OnDraw and prints.
#pragma once

#include "framework/window/Wnd.h"

class CDocument;
class QPrinter;

struct CPrintInfo {
    BOOL m_bDirect = FALSE;  // print without asking for a printer
    BOOL m_bPreview = FALSE; // drawing for the print preview
    UINT m_nCurPage = 1;
    UINT m_nMaxPage = 1;
    CRect m_rectDraw; // the printable page, in device pixels
};

class CView : public CWnd {
    DECLARE_DYNAMIC(CView)

public:
    CView();
    ~CView() override;

    CDocument* GetDocument() const { return m_pDocument; }

    virtual void OnDraw(CDC* pDC) = 0;
    // After a document is attached (start-up, New, Open); the default calls OnUpdate.
    virtual void OnInitialUpdate();
    // The document changed; the default repaints.
    virtual void OnUpdate(CView* pSender, long lHint, CObject* pHint);
    virtual void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = nullptr);
    // Printing: the default asks for the printer (unless direct) and reports whether to go on.
    virtual BOOL OnPreparePrinting(CPrintInfo* pInfo);
    virtual void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo);
    virtual void OnPrint(CDC* pDC, CPrintInfo* pInfo);
    virtual void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo);

    void OnPaint() override;

    // What the commands can do may have changed with the view's own state (a selection, the
    // zoom): the frame looks again once the events being handled now are done.
    void CommandStatesChanged() const;

    // Standard printing commands, for the derived view's command table.
    void OnFilePrint();
    void OnFilePrintDirect();
    void OnFilePrintPreview();

protected:
    BOOL DoPreparePrinting(CPrintInfo* pInfo);

private:
    friend class CDocument;
    friend class CFrameWnd;
    // Prints on the shared printer, asking for it first unless bDirect.
    void Print(BOOL bDirect);
    // Prints the pages through OnPrint, on the printer or the preview's page.
    void PrintPages(CPrintInfo& info, QPrinter& printer);
    CDocument* m_pDocument = nullptr;
};
