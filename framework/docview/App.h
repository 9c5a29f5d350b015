// The application: its one object, start-up, settings and recent files, the standard New,
// Open, Print Setup and Exit commands, and the message loop.
#pragma once

#include "framework/window/CmdTarget.h"

#include <memory>
#include <string>
#include <vector>

class CDocument;
class CSingleDocTemplate;
namespace res {
struct Tables;
}
class CWnd;

// What the command line asks for: New, or Open of a file.
class CCommandLineInfo {
public:
    enum Shell { FileNew, FileOpen };
    Shell m_nShellCommand = FileNew;
    std::string m_strFileName;
};

class CWinApp : public CCmdTarget {
public:
    // The application's name comes from the string table (IDS_APP_TITLE) when none is given.
    // pTables, when given, are the program's resources, handed to the framework first.
    explicit CWinApp(const char* lpszAppName = nullptr, const res::Tables* pTables = nullptr);
    ~CWinApp() override;

    // Called once before the message loop; FALSE ends the program.
    virtual BOOL Initialize();
    // Called when the message loop has ended; writes the settings back.
    virtual int ExitInstance();
    // Called once from the message loop, after the main window's first paint has gone to the
    // screen (or soon after the loop starts when none comes): start-up work a person need not
    // wait for before seeing the window goes here, so that it follows the picture.
    virtual void OnShown() {}
    // Runs the message loop, calling OnShown on the way.
    int Run();
    // For a process that ends without returning from the message loop (Qt lost its display):
    // writes the settings back and leaves the windows and documents as they are, since a
    // modal dialog may still run on them.
    void EndAtExit();

    void SetRegistryKey(const char* lpszRegistryKey);
    // The extension, with its dot, of the recovery copies (Recovery.h); without one none are
    // kept.
    void SetRecoveryExtension(const char* lpszExtension)
    {
        m_strRecoveryExtension = lpszExtension ? lpszExtension : "";
    }
    std::string GetRecoveryExtension() const { return m_strRecoveryExtension; }
    // Reads the recent-file list (up to nMaxMRU entries) from the settings.
    void LoadStdProfileSettings(UINT nMaxMRU = 4);
    // The application owns the template from then on.
    void AddDocTemplate(CSingleDocTemplate* pTemplate);
    void ParseCommandLine(CCommandLineInfo& rCmdInfo);
    BOOL ProcessShellCommand(CCommandLineInfo& rCmdInfo);
    CDocument* OpenDocumentFile(const char* lpszFileName);

    // The filters the Open dialog offers, in CFileDialog's form; the first is selected at
    // first. Without them it lists every file.
    void SetOpenFilter(const char* lpszFilter) { m_strOpenFilter = lpszFilter ? lpszFilter : ""; }

    void AddToRecentFileList(const char* lpszPathName);
    std::vector<std::string> GetRecentFiles() const { return m_recentFiles; }
    std::string GetSettingsKey() const { return m_strRegistryKey; }

    using CCmdTarget::OnCmdMsg;
    BOOL OnCmdMsg(UINT nID, CmdAction action, const CCmdExtra& extra) override;

    const char* m_pszAppName;
    CWnd* m_pMainWnd = nullptr;
    std::vector<std::string> m_arguments; // the command line after the program's name

    // Standard handlers, for the application's command table.
    void OnFileNew();
    void OnFileOpen();
    void OnFilePrintSetup();
    void OnAppExit();

protected:
    DECLARE_MESSAGE_MAP()

private:
    void SaveStdProfileSettings() const;

    std::string m_strAppName;
    std::string m_strRegistryKey;
    std::string m_strRecoveryExtension;
    UINT m_nMaxMRU = 0;
    std::vector<std::string> m_recentFiles;
    std::string m_strOpenFilter;
    std::unique_ptr<CSingleDocTemplate> m_pDocTemplate;
};

CWinApp* AfxGetApp();
// The framework's entry: makes the Qt application, runs Initialize and the message loop.
int AfxWinMain(int argc, char** argv);

// From now on the style makes its standard icons (the arrows of a toolbar or menu bar too
// narrow for its buttons, dialog pictures) when they are first drawn, not when a widget that
// may show one is made: a start then loads no image-format plugin. AfxWinMain does this.
void AfxDeferStandardIcons();
