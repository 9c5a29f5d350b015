// The application object and the About box.
#pragma once

#include "framework/docview/App.h"
#include "framework/window/Dialog.h"

class CSkorelApp : public CWinApp {
public:
    // Hands the framework the program's resource tables.
    CSkorelApp();
    ~CSkorelApp() override = default;

    // Registers the document template and carries out the command line: New, or Open of
    // the file named there. FALSE (the program ends) when that fails.
    BOOL Initialize() override;

protected:
    void OnAbout();
    DECLARE_MESSAGE_MAP()
};

class CAboutDlg : public CDialog {
public:
    CAboutDlg();

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};
