// The single-document template: makes the frame, the view and the one document through their
// class descriptors, and reuses that document for every New and Open.
#pragma once

#include "framework/window/CmdTarget.h"

#include <memory>
#include <string>

class CDocument;
class CFrameWnd;

class CSingleDocTemplate : public CCmdTarget {
public:
    CSingleDocTemplate(UINT nIDResource, const CRuntimeClass* pDocClass,
                       const CRuntimeClass* pFrameClass, const CRuntimeClass* pViewClass);
    ~CSingleDocTemplate() override;

    // New (null path) or Open of a file. Makes frame, view and document the first time;
    // later asks to save a modified document first. Null when it fails.
    CDocument* OpenDocumentFile(const char* lpszPathName);
    CDocument* GetDocument() const { return m_pDocument.get(); }
    CFrameWnd* GetFrame() const { return m_pFrame.get(); }

private:
    bool CreateFrame();

    UINT m_nIDResource;
    const CRuntimeClass* m_pDocClass;
    const CRuntimeClass* m_pFrameClass;
    const CRuntimeClass* m_pViewClass;
    std::unique_ptr<CDocument> m_pDocument;
    std::unique_ptr<CFrameWnd> m_pFrame;
};
