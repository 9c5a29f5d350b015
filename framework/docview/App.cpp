#include "App.h"

#include "DocTemplate.h"
#include "Document.h"
#include "Frame.h"
#include "Printing.h"
#include "detail/DeferredIcons.h"
#include "detail/Settings.h"
#include "detail/UiReport.h"

#include "framework/core/AppName.h"
#include "framework/core/Commands.h"
#include "framework/core/Resource.h"
#include "framework/window/FileDialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QStandardPaths>
#include <QTimer>
#include <QTranslator>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <system_error>

#include <sys/stat.h>

namespace {

// Calls `shown` once from the message loop: after the first paint of `pWindow` (queued behind
// it, so that its pixels go to the screen first), or after a second when no paint comes (a
// window on another desktop, none at all).
void WhenShown(QWidget* pWindow, std::function<void()> shown)
{
    class Watch : public QObject {
    public:
        explicit Watch(std::function<void()> shown) : m_shown(std::move(shown)) {}
        bool eventFilter(QObject*, QEvent* event) override
        {
            if (event->type() == QEvent::Paint)
                Call();
            return false;
        }
        void Call()
        {
            if (m_bCalled)
                return;
            m_bCalled = true;
            QTimer::singleShot(0, this, [this] {
                m_shown();
                deleteLater();
            });
        }

    private:
        std::function<void()> m_shown;
        bool m_bCalled = false;
    };
    auto* watch = new Watch(std::move(shown));
    watch->setParent(QCoreApplication::instance());
    if (pWindow)
        pWindow->installEventFilter(watch);
    QTimer::singleShot(1000, watch, [watch] { watch->Call(); });
}

CWinApp* g_pApp = nullptr;
// What a process ending in exit() leaves, still reachable for the leak checker.
CSingleDocTemplate* g_pLeftAtExit = nullptr;
constexpr const char* kRecentGroup = "Recent File List";

// File names are bytes in the file system's encoding. One that the encoding can't carry
// through a QString intact is kept in the settings as its bytes.
QVariant StoredName(const std::string& path)
{
    const QByteArray bytes = QByteArray::fromStdString(path);
    const QString name = QFile::decodeName(bytes);
    return QFile::encodeName(name) == bytes ? QVariant(name) : QVariant(bytes);
}

std::string NameFromSettings(const QVariant& value)
{
    if (value.typeId() == QMetaType::QByteArray)
        return value.toByteArray().toStdString();
    return QFile::encodeName(value.toString()).toStdString();
}

// Qt ends the process with exit() when it loses its display, without returning from the
// message loop and perhaps from inside a modal dialog's.
void EndWithTheProcess()
{
    if (g_pApp && QCoreApplication::instance())
        g_pApp->EndAtExit();
}

} // namespace

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
ON_COMMAND(ID_APP_EXIT, OnAppExit)
END_MESSAGE_MAP()

CWinApp* AfxGetApp() { return g_pApp; }

CWinApp::CWinApp(const char* lpszAppName, const res::Tables* pTables)
{
    if (pTables)
        AfxSetResources(pTables);
    m_strAppName = lpszAppName ? lpszAppName : AfxGetAppName();
    m_pszAppName = m_strAppName.c_str();
    g_pApp = this;
}

CWinApp::~CWinApp()
{
    if (g_pApp == this)
        g_pApp = nullptr;
}

BOOL CWinApp::Initialize() { return TRUE; }

int CWinApp::ExitInstance()
{
    if (!m_pDocTemplate)
        return 0;
    SaveStdProfileSettings();
    m_pMainWnd = nullptr;
    m_pDocTemplate.reset();
    return 0;
}

void CWinApp::EndAtExit()
{
    SaveStdProfileSettings();
    m_pMainWnd = nullptr;
    // Deleting the frame would free a dialog whose exec() is still on the stack, and the
    // application object's static destruction comes after Qt's: the windows stay until the
    // process is gone.
    g_pLeftAtExit = m_pDocTemplate.release();
}

int CWinApp::Run()
{
    WhenShown(m_pMainWnd ? m_pMainWnd->Widget() : nullptr, [this] { OnShown(); });
    UiReport::Started();
    const int code = QApplication::exec();
    ExitInstance();
    return code;
}

void CWinApp::SetRegistryKey(const char* lpszRegistryKey) { m_strRegistryKey = lpszRegistryKey; }

void CWinApp::LoadStdProfileSettings(UINT nMaxMRU)
{
    m_nMaxMRU = nMaxMRU;
    m_recentFiles.clear();
    const std::unique_ptr<QSettings> settings = AfxOpenSettings();
    if (!settings)
        return;
    settings->beginGroup(kRecentGroup);
    for (UINT i = 1; i <= m_nMaxMRU; ++i) {
        const std::string file = NameFromSettings(settings->value(QStringLiteral("File%1").arg(i)));
        if (!file.empty())
            m_recentFiles.push_back(file);
    }
}

void CWinApp::SaveStdProfileSettings() const
{
    if (m_nMaxMRU == 0)
        return;
    const std::unique_ptr<QSettings> settings = AfxOpenSettings();
    if (!settings)
        return;
    settings->remove(kRecentGroup);
    settings->beginGroup(kRecentGroup);
    for (size_t i = 0; i < m_recentFiles.size(); ++i)
        settings->setValue(QStringLiteral("File%1").arg(i + 1), StoredName(m_recentFiles[i]));
}

void CWinApp::AddToRecentFileList(const char* lpszPathName)
{
    if (m_nMaxMRU == 0 || !lpszPathName)
        return;
    std::error_code ec;
    const std::string path = std::filesystem::absolute(lpszPathName, ec).lexically_normal();
    if (ec)
        return;
    std::erase(m_recentFiles, path);
    m_recentFiles.insert(m_recentFiles.begin(), path);
    if (m_recentFiles.size() > m_nMaxMRU)
        m_recentFiles.resize(m_nMaxMRU);
}

void CWinApp::AddDocTemplate(CSingleDocTemplate* pTemplate) { m_pDocTemplate.reset(pTemplate); }

void CWinApp::ParseCommandLine(CCommandLineInfo& rCmdInfo)
{
    for (const std::string& arg : m_arguments) {
        if (arg.empty() || arg[0] == '-')
            continue;
        rCmdInfo.m_nShellCommand = CCommandLineInfo::FileOpen;
        rCmdInfo.m_strFileName = arg;
        break;
    }
}

BOOL CWinApp::ProcessShellCommand(CCommandLineInfo& rCmdInfo)
{
    if (!m_pDocTemplate)
        return FALSE;
    if (rCmdInfo.m_nShellCommand == CCommandLineInfo::FileNew)
        return m_pDocTemplate->OpenDocumentFile(nullptr) ? TRUE : FALSE;
    return OpenDocumentFile(rCmdInfo.m_strFileName.c_str()) ? TRUE : FALSE;
}

CDocument* CWinApp::OpenDocumentFile(const char* lpszFileName)
{
    if (!m_pDocTemplate)
        return nullptr;
    CDocument* doc = m_pDocTemplate->OpenDocumentFile(lpszFileName);
    if (doc)
        AddToRecentFileList(lpszFileName);
    return doc;
}

BOOL CWinApp::OnCmdMsg(UINT nID, CmdAction action, const CCmdExtra& extra)
{
    if (nID >= ID_FILE_MRU_FILE1 && nID <= ID_FILE_MRU_FILE16) {
        const size_t index = nID - ID_FILE_MRU_FILE1;
        if (index >= m_recentFiles.size() || action == CmdAction::Update)
            return FALSE;
        if (action == CmdAction::Execute) {
            const std::string file = m_recentFiles[index];
            // A file that no longer opens leaves the list.
            if (!OpenDocumentFile(file.c_str()))
                std::erase(m_recentFiles, file);
        }
        return TRUE;
    }
    return CCmdTarget::OnCmdMsg(nID, action, extra);
}

void CWinApp::OnFileNew()
{
    if (m_pDocTemplate)
        m_pDocTemplate->OpenDocumentFile(nullptr);
}

void CWinApp::OnFileOpen()
{
    CFileDialog dialog(TRUE, nullptr, nullptr, 0,
                       m_strOpenFilter.empty() ? nullptr : m_strOpenFilter.c_str(), m_pMainWnd);
    if (dialog.DoModal() == IDOK)
        OpenDocumentFile(dialog.GetPathName().c_str());
}

void CWinApp::OnFilePrintSetup()
{
    CFrameWnd* frame = dynamic_cast<CFrameWnd*>(m_pMainWnd);
    AfxSuggestPrintFile(frame ? frame->GetActiveDocument() : nullptr);
    QPrinter& printer = AfxPrinter();
    // Without a printer there is a PDF file to print to, and only its page to set up: Qt's
    // print dialog would ask at OK whether to replace the file, which setting up never does.
    std::unique_ptr<QDialog> dialog;
    if (printer.outputFormat() == QPrinter::PdfFormat)
        dialog = std::make_unique<QPageSetupDialog>(&printer, QApplication::activeWindow());
    else
        dialog = std::make_unique<QPrintDialog>(&printer, QApplication::activeWindow());
    dialog->setWindowTitle(QString::fromUtf8(res::LoadString(AFX_IDS_PRINT_SETUP)));
    // Setting up prints nothing: the dialog confirms the choice.
    if (auto* buttons = dialog->findChild<QDialogButtonBox*>())
        if (QPushButton* ok = buttons->button(QDialogButtonBox::Ok))
            ok->setText(QString::fromUtf8(res::LoadString(AFX_IDS_OK)));
    dialog->exec();
}

void CWinApp::OnAppExit()
{
    if (m_pMainWnd && m_pMainWnd->Widget())
        m_pMainWnd->Widget()->close();
}

int AfxWinMain(int argc, char** argv)
{
    QApplication qtApp(argc, argv);
    QTranslator translator;
    if (translator.load(QLocale(QLocale::Korean, QLocale::SouthKorea), QStringLiteral("qtbase"),
                        QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&translator);
    AfxDeferStandardIcons();
    CWinApp* app = AfxGetApp();
    if (!app)
        return 1;
    for (int i = 1; i < argc; ++i)
        app->m_arguments.emplace_back(argv[i]);
    if (!app->Initialize()) {
        app->ExitInstance();
        return 1;
    }
    // Registered once start-up has made what Qt keeps for the process (settings, fonts,
    // styles), so that exit() runs this before those are gone.
    std::atexit(EndWithTheProcess);
    return app->Run();
}

void AfxDeferStandardIcons() { QApplication::setStyle(new DeferredIconStyle); }

std::unique_ptr<QSettings> AfxOpenSettings()
{
    const CWinApp* app = AfxGetApp();
    if (!app || app->GetSettingsKey().empty())
        return nullptr;
    const QString path = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                         '/' + QString::fromStdString(app->GetSettingsKey()) + '/' +
                         QString::fromUtf8(app->m_pszAppName) + QStringLiteral(".conf");
    // Only a regular file, or a link to one, holds settings: reading a FIFO would block for
    // ever, and writing would put a plain file in place of a device.
    struct stat st;
    const QByteArray name = QFile::encodeName(path);
    if (::lstat(name.constData(), &st) == 0 &&
        (::stat(name.constData(), &st) != 0 || !S_ISREG(st.st_mode)))
        return nullptr;
    return std::make_unique<QSettings>(path, QSettings::IniFormat);
}
