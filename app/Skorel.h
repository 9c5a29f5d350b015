// The application object and the About box.
#pragma once

#include "framework/docview/App.h"
#include "framework/docview/Recovery.h"
#include "framework/window/Dialog.h"

#include <string>

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
    // first, until one is restored, claiming one copy at a time and letting go of it once
    // decided; a copy that cannot be read is set aside with a notice. Then keeps this
    // process's own recovery copy, or says that there is none.
    void OfferLeftDrawings(CSkorelDoc* pDoc);
    // Offers one claimed copy; true when it is restored, or its drawing was taken but the
    // copy of this process's own could not be written (the left copy then stays).
    bool OfferLeftDrawing(CSkorelDoc* pDoc, const CRecoveryCopy& left, int& setAside,
                          std::string& asideFolder);
    // Keeps this process's recovery copy of the document; false when it was not written.
    bool KeepOwnCopy(CSkorelDoc* pDoc);
    void SetNotice(const std::string& text);
};

class CAboutDlg : public CDialog {
public:
    CAboutDlg();

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};
