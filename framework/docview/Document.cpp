#include "Document.h"

#include "App.h"
#include "Frame.h"
#include "View.h"

#include "framework/core/Archive.h"
#include "framework/core/Commands.h"
#include "framework/core/Error.h"
#include "framework/core/File.h"
#include "framework/core/Resource.h"
#include "framework/window/FileDialog.h"
#include "framework/window/MessageBox.h"

#include <algorithm>

#include <filesystem>
#include <new>
#include <vector>

IMPLEMENT_DYNAMIC(CDocument, CCmdTarget)

BEGIN_MESSAGE_MAP(CDocument, CCmdTarget)
ON_COMMAND(ID_FILE_SAVE, OnFileSave)
ON_COMMAND(ID_FILE_SAVE_AS, OnFileSaveAs)
END_MESSAGE_MAP()

CDocument::CDocument() = default;

CDocument::~CDocument() = default;

void CDocument::SetTitle(const char* lpszTitle) { m_strTitle = lpszTitle ? lpszTitle : ""; }

void CDocument::SetDefaultTitle() { SetTitle(res::LoadString(AFX_IDS_UNTITLED)); }

void CDocument::SetPathName(const char* lpszPathName)
{
    m_strPathName = lpszPathName ? lpszPathName : "";
    SetTitle(std::filesystem::path(m_strPathName).filename().string().c_str());
}

void CDocument::DeleteContents() {}

void CDocument::AddView(CView* pView)
{
    if (pView && std::find(m_views.begin(), m_views.end(), pView) == m_views.end())
        m_views.push_back(pView);
}

void CDocument::RemoveView(CView* pView) { std::erase(m_views, pView); }

void CDocument::UpdateAllViews(CView* pSender, long lHint, CObject* pHint)
{
    for (CView* view : m_views) {
        if (view != pSender)
            view->OnUpdate(pSender, lHint, pHint);
        // The title's mark and the commands' states follow the change, not the next input.
        if (CFrameWnd* frame = view->GetParentFrame())
            frame->DelayUpdateCommandUI();
    }
}

BOOL CDocument::CanCloseFrame(CFrameWnd*) { return SaveModified(); }

BOOL CDocument::OnNewDoc()
{
    DeleteContents();
    m_strPathName.clear();
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnOpenDoc(const char* lpszPathName)
{
    if (!ReadArchive(lpszPathName, 0, [this](CArchive& ar) {
            DeleteContents();
            Serialize(ar);
        }))
        return FALSE;
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::ReadArchive(const char* lpszPathName, std::uint64_t offset,
                            const std::function<void(CArchive&)>& read)
{
    CFileHandle file;
    if (!file.Open(lpszPathName ? lpszPathName : "", CFileHandle::Mode::ReadExisting)) {
        AfxFileMessageBox(lpszPathName ? lpszPathName : "",
                          res::LoadString(AFX_IDP_FAILED_TO_OPEN_DOC), GetLastError());
        return FALSE;
    }
    return ReadArchive(file, lpszPathName, offset, read);
}

BOOL CDocument::ReadArchive(CFileHandle& file, const char* lpszPathName, std::uint64_t offset,
                            const std::function<void(CArchive&)>& read)
{
    const std::string path = lpszPathName ? lpszPathName : "";
    if (!file.Seek(offset)) {
        AfxFileMessageBox(path, res::LoadString(AFX_IDP_FAILED_TO_OPEN_DOC), GetLastError());
        return FALSE;
    }
    try {
        CArchive ar(file, CArchive::load);
        read(ar);
    } catch (const CArchiveException&) {
        AfxFileMessageBox(path, res::LoadString(AFX_IDP_FAILED_TO_READ_DOC), 0);
        return FALSE;
    } catch (const std::bad_alloc&) {
        AfxFileMessageBox(path, res::LoadString(AFX_IDP_FAILED_TO_READ_DOC),
                          ERROR_NOT_ENOUGH_MEMORY_FOR_FILE);
        return FALSE;
    }
    return TRUE;
}

BOOL CDocument::OnSaveDoc(const char* lpszPathName)
{
    std::vector<BYTE> bytes;
    try {
        CArchive ar(bytes, CArchive::store);
        Serialize(ar);
    } catch (const CArchiveException&) {
        return FALSE;
    }
    if (!ReplaceFile(lpszPathName, bytes.data(), bytes.size()))
        return FALSE;
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::DoSave(const char* lpszPathName)
{
    std::string newName = lpszPathName ? lpszPathName : "";
    if (newName.empty()) {
        const std::string& initial = m_strPathName.empty() ? m_strTitle : m_strPathName;
        CFileDialog dlg(FALSE, nullptr, initial.c_str(), OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT);
        if (dlg.DoModal() != IDOK)
            return FALSE;
        newName = dlg.GetPathName();
    }
    SetLastError(0);
    if (!OnSaveDoc(newName.c_str())) {
        AfxFileMessageBox(newName, res::LoadString(AFX_IDP_FAILED_TO_SAVE_DOC), GetLastError());
        return FALSE;
    }
    SetPathName(newName.c_str());
    // A file saved under a name of its own is one to come back to, as an opened one is.
    if (CWinApp* app = AfxGetApp())
        app->AddToRecentFileList(newName.c_str());
    return TRUE;
}

BOOL CDocument::SaveModified()
{
    if (!IsModified())
        return TRUE;
    const std::string prompt = res::FormatString(AFX_IDP_ASK_TO_SAVE, m_strTitle);
    switch (AfxMessageBox(prompt.c_str(), MB_YESNOCANCEL | MB_ICONEXCLAMATION)) {
    case IDCANCEL:
        return FALSE;
    case IDYES:
        return DoSave(m_strPathName.empty() ? nullptr : m_strPathName.c_str());
    default:
        return TRUE;
    }
}

void CDocument::OnFileSave() { DoSave(m_strPathName.empty() ? nullptr : m_strPathName.c_str()); }

void CDocument::OnFileSaveAs() { DoSave(nullptr); }
