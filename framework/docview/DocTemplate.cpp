#include "DocTemplate.h"

#include "App.h"
#include "Document.h"
#include "Frame.h"

#include "framework/core/Trace.h"

CSingleDocTemplate::CSingleDocTemplate(UINT nIDResource, const CRuntimeClass* pDocClass,
                                       const CRuntimeClass* pFrameClass,
                                       const CRuntimeClass* pViewClass)
    : m_nIDResource(nIDResource), m_pDocClass(pDocClass), m_pFrameClass(pFrameClass),
      m_pViewClass(pViewClass)
{}

CSingleDocTemplate::~CSingleDocTemplate()
{
    // The frame and its view refer to the document: they go first.
    m_pFrame.reset();
    m_pDocument.reset();
}

bool CSingleDocTemplate::CreateFrame()
{
    m_pFrame = m_pFrameClass->CreateAs<CFrameWnd>();
    if (!m_pFrame)
        return false;
    CCreateContext context;
    context.m_pNewViewClass = m_pViewClass;
    context.m_pCurrentDoc = m_pDocument.get();
    if (!m_pFrame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr,
                             &context)) {
        TRACE("Warning: failed to create the frame window\n");
        m_pFrame.reset();
        return false;
    }
    if (CWinApp* app = AfxGetApp())
        app->m_pMainWnd = m_pFrame.get();
    return true;
}

CDocument* CSingleDocTemplate::OpenDocumentFile(const char* lpszPathName)
{
    bool created = false;
    if (!m_pDocument) {
        m_pDocument = m_pDocClass->CreateAs<CDocument>();
        if (!m_pDocument)
            return nullptr;
        if (!CreateFrame()) {
            m_pDocument.reset();
            return nullptr;
        }
        created = true;
    } else if (!m_pDocument->SaveModified()) {
        return nullptr;
    }
    CDocument* doc = m_pDocument.get();
    const bool ok = lpszPathName ? doc->OnOpenDoc(lpszPathName) : doc->OnNewDoc();
    if (!ok) {
        if (created) {
            if (CWinApp* app = AfxGetApp())
                app->m_pMainWnd = nullptr;
            m_pFrame.reset();
            m_pDocument.reset();
        }
        return nullptr;
    }
    if (lpszPathName)
        doc->SetPathName(lpszPathName);
    else
        doc->SetDefaultTitle();
    // A new frame becomes visible when the application shows its main window.
    m_pFrame->InitialUpdateFrame(doc, !created);
    return doc;
}
