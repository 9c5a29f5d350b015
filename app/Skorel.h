// The application object and the About box.
#pragma once

#include "framework/docview/App.h"
#include "framework/window/Dialog.h"

class CSkorelDoc;

class CSkorelApp : public CWinApp {
public:
    // Hands the framework the program's resource tables.
    CSkorelApp();
    ~CSkorelApp() override = default;

    // Registers the document template and carries out the command line: New, or Open of
    // the file named there. FALSE (the program ends) when the command line fails.
    BOOL Initialize() override;
    // Offers a drawing left unsaved by a process that ended, once the window shows: its
    // locks wait for the disk, which the window's first picture need not.
    void OnShown() override;

protected:
    void OnAbout();
    DECLARE_MESSAGE_MAP()

private:
    // Offers each drawing that a process left without the user deciding about it, newest
    // first, until one is restored; then keeps this process's own recovery copy.
    void OfferLeftDrawings(CSkorelDoc* pDoc);
};

class CAboutDlg : public CDialog {
public:
    CAboutDlg();

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};
