#include "Skorel.h"

#include "MainFrm.h"

#include "document/SkorelDoc.h"
#include "res/Tables.h"
#include "res/resource.h"
#include "view/SkorelView.h"

#include "framework/core/Commands.h"
#include "framework/core/Resource.h"
#include "framework/docview/DocTemplate.h"
#include "framework/docview/Frame.h"

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
    LoadStdProfileSettings(4);
    SetOpenFilter(res::LoadString(IDS_OPEN_FILTER));
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

void CSkorelApp::OnAbout()
{
    CAboutDlg aboutDlg;
    aboutDlg.DoModal();
}

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUTBOX) {}

void CAboutDlg::DoDataExchange(CDataExchange* pDX) { CDialog::DoDataExchange(pDX); }
