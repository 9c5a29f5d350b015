#include "Skorel.h"

#include "MainFrm.h"

#include "document/DrawingRecovery.h"
#include "document/FileFilters.h"
#include "document/SkorelDoc.h"
#include "res/Tables.h"
#include "res/resource.h"
#include "view/SkorelView.h"

#include "framework/core/Commands.h"
#include "framework/core/Resource.h"
#include "framework/docview/DocTemplate.h"
#include "framework/docview/Frame.h"
#include "framework/window/MessageBox.h"

#include <ctime>
#include <memory>
#include <string>

namespace {

std::string LocalTime(std::int64_t seconds)
{
    const std::time_t t = std::time_t(seconds);
    std::tm local{};
    char text[32] = {};
    if (!localtime_r(&t, &local) || !std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local))
        return {};
    return text;
}

} // namespace

BEGIN_MESSAGE_MAP(CSkorelApp, CWinApp)
ON_COMMAND(ID_APP_ABOUT, OnAbout)
ON_COMMAND(ID_FILE_NEW, CWinApp::OnFileNew)
ON_COMMAND(ID_FILE_OPEN, CWinApp::OnFileOpen)
ON_COMMAND(ID_FILE_PRINT_SETUP, CWinApp::OnFilePrintSetup)
END_MESSAGE_MAP()

CSkorelApp::CSkorelApp() : CWinApp(nullptr, &res::ProgramTables()) {}

BOOL CSkorelApp::Initialize()
{
    // Embedded-control hosting and 3D dialog controls have no counterpart here. The key is
    // the one the program has always kept its settings under: a new one would lose them.
    SetRegistryKey("Local AppWizard-Generated Applications");
    // The drawing's journal: copies left by earlier versions keep being offered.
    SetRecoveryExtension(".skrj");
    LoadStdProfileSettings(4);
    SetOpenFilter(OpenFilter().c_str());
    AddDocTemplate(new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CSkorelDoc),
                                          RUNTIME_CLASS(CMainFrame), RUNTIME_CLASS(CSkorelView)));
    CCommandLineInfo cmdInfo;
    ParseCommandLine(cmdInfo);
    if (!ProcessShellCommand(cmdInfo))
        return FALSE;
    m_pMainWnd->ShowWindow(SW_SHOW);
    m_pMainWnd->UpdateWindow();
    return TRUE;
}

void CSkorelApp::OnShown()
{
    OfferLeftDrawings(static_cast<CSkorelDoc*>(
        static_cast<CFrameWnd*>(m_pMainWnd)->GetActiveView()->GetDocument()));
}

void CSkorelApp::OfferLeftDrawings(CSkorelDoc* pDoc)
{
    int setAside = 0;
    std::string asideFolder;
    bool kept = false;
    for (const CRecoveryCopy& left : AfxLeftRecoveries())
        if (AfxClaimRecovery(left.path) && OfferLeftDrawing(pDoc, left, setAside, asideFolder)) {
            kept = true;
            break;
        }
    if (setAside > 0)
        SetNotice(res::FormatString(IDS_RECOVER_SET_ASIDE, std::to_string(setAside), asideFolder));
    if (!kept)
        KeepOwnCopy(pDoc);
}

bool CSkorelApp::OfferLeftDrawing(CSkorelDoc* pDoc, const CRecoveryCopy& left, int& setAside,
                                  std::string& asideFolder)
{
    CDrawingJournal::Drawing drawing;
    if (!CDrawingJournal::Replay(left.path, drawing)) {
        const std::string aside = AfxSetRecoveryAside(left.path);
        if (!aside.empty()) {
            ++setAside;
            asideFolder = aside.substr(0, aside.rfind('/'));
        }
        return false;
    }
    const std::string name =
        drawing.name.empty() ? res::LoadString(AFX_IDS_UNTITLED) : drawing.name;
    const int answer =
        AfxMessageBox(res::FormatString(IDS_RECOVER_PROMPT, name, LocalTime(left.modified)).c_str(),
                      MB_YESNO | MB_ICONQUESTION);
    if (answer != IDYES) {
        AfxRemoveRecovery(left.path);
        return false;
    }
    pDoc->TakeRecovered(std::move(drawing));
    // The left copy goes only once this process's own holds the drawing.
    if (KeepOwnCopy(pDoc))
        AfxRemoveRecovery(left.path);
    return true;
}

bool CSkorelApp::KeepOwnCopy(CSkorelDoc* pDoc)
{
    const std::string own = AfxRecoveryPath();
    if (own.empty()) {
        SetNotice(res::LoadString(IDS_RECOVER_UNPROTECTED));
        return false;
    }
    auto recovery = std::make_unique<CDrawingRecovery>(own);
    recovery->Journal().OnFailure([this](bool failing) {
        SetNotice(failing ? res::LoadString(IDS_RECOVER_UNPROTECTED) : std::string());
    });
    pDoc->Observe(std::move(recovery));
    return pDoc->Observer().Flush();
}

void CSkorelApp::SetNotice(const std::string& text)
{
    if (auto* pFrame = static_cast<CFrameWnd*>(m_pMainWnd))
        pFrame->SetNotice(text);
}

void CSkorelApp::OnAbout()
{
    CAboutDlg aboutDlg;
    aboutDlg.DoModal();
}

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUTBOX) {}

void CAboutDlg::DoDataExchange(CDataExchange* pDX) { CDialog::DoDataExchange(pDX); }
