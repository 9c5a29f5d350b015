#include "FileDialog.h"

#include "MessageBox.h"

#include "framework/core/Commands.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QScreen>

namespace {

std::vector<std::string> Split(const std::string& s, char sep)
{
    std::vector<std::string> parts;
    std::string::size_type begin = 0;
    for (std::string::size_type end; (end = s.find(sep, begin)) != std::string::npos;
         begin = end + 1)
        parts.push_back(s.substr(begin, end - begin));
    parts.push_back(s.substr(begin));
    return parts;
}

bool EndsWith(const std::string& s, const std::string& tail)
{
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// One Qt name filter: Qt reads the patterns from the last parentheses, separated by spaces.
std::string NameFilter(std::string text, const std::string& patterns)
{
    std::string spaced;
    for (const std::string& p : Split(patterns, ';'))
        if (!p.empty())
            spaced += (spaced.empty() ? "" : " ") + p;
    const std::string tail = "(" + patterns + ")";
    if (EndsWith(text, tail))
        text.erase(text.size() - tail.size());
    else if (!text.empty() && text.back() != ' ')
        text += ' ';
    return text + "(" + spaced + ")";
}

// The extension of a name filter's first pattern when it names one ("Text (*.txt)": "txt").
QString FilterExtension(const QString& filter)
{
    const qsizetype open = filter.lastIndexOf('(');
    const QString first = filter.mid(open + 1).section(' ', 0, 0).remove(')');
    if (!first.startsWith(QStringLiteral("*.")))
        return {};
    // Patterns match whatever the case; the names the dialog completes are in small letters.
    const QString ext = first.mid(2).toLower();
    return ext.contains('*') || ext.contains('?') ? QString() : ext;
}

// Qt's file dialog with the caller's look at a name before it is taken.
class CheckedFileDialog : public QFileDialog {
public:
    CheckedFileDialog(QWidget* pParent, CFileDialog::NameCheck check)
        : QFileDialog(pParent), m_check(std::move(check))
    {}

    void accept() override
    {
        const QStringList files = selectedFiles();
        if (m_check && !files.isEmpty()) {
            const int index = int(nameFilters().indexOf(selectedNameFilter())) + 1;
            if (const auto refusal =
                    m_check(QFile::encodeName(files.first()).toStdString(), index)) {
                AfxMessageBox(refusal->message.c_str(), MB_OK | MB_ICONEXCLAMATION);
                // In the folder of the name refused, which need not be the one shown.
                const QFileInfo proposal(
                    QFile::decodeName(QByteArray::fromStdString(refusal->proposal)));
                setDirectory(proposal.absolutePath());
                selectFile(proposal.fileName());
                return;
            }
        }
        QFileDialog::accept();
    }

private:
    CFileDialog::NameCheck m_check;
};

} // namespace

CFileDialog::CFileDialog(BOOL bOpenFileDialog, const char* lpszDefExt, const char* lpszFileName,
                         DWORD dwFlags, const char* lpszFilter, CWnd*)
    : m_bOpenFileDialog(bOpenFileDialog != FALSE), m_strDefExt(lpszDefExt ? lpszDefExt : ""),
      m_strFileName(lpszFileName ? lpszFileName : ""), m_dwFlags(dwFlags),
      m_filters(ParseFilter(lpszFilter))
{}

std::vector<std::string> CFileDialog::ParseFilter(const char* lpszFilter)
{
    std::vector<std::string> filters;
    if (!lpszFilter)
        return filters;
    const std::vector<std::string> parts = Split(lpszFilter, '|');
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2)
        if (!parts[i + 1].empty())
            filters.push_back(NameFilter(parts[i], parts[i + 1]));
    return filters;
}

void CFileDialog::AddCheckButton(const char* lpszLabel, BOOL bChecked)
{
    m_strCheckLabel = lpszLabel ? lpszLabel : "";
    m_bChecked = bChecked != FALSE;
}

int CFileDialog::DoModal()
{
    CheckedFileDialog dlg(QApplication::activeWindow(), m_check);
    dlg.setOption(QFileDialog::DontUseNativeDialog);
    if (!m_strTitle.empty())
        dlg.setWindowTitle(QString::fromStdString(m_strTitle));
    QCheckBox* check = nullptr;
    // Qt's own dialog lays its parts out on a grid: the box goes on a row of its own below.
    if (auto* grid = qobject_cast<QGridLayout*>(dlg.layout()); grid && !m_strCheckLabel.empty()) {
        check = new QCheckBox(QString::fromStdString(m_strCheckLabel), &dlg);
        check->setChecked(m_bChecked);
        grid->addWidget(check, grid->rowCount(), 0, 1, grid->columnCount());
    }
    dlg.setWindowModality(Qt::ApplicationModal);
    // On a small screen (or a large scale) the whole dialog, its check box included, stays on it.
    if (const QScreen* screen = dlg.screen())
        dlg.resize(dlg.sizeHint().boundedTo(screen->availableSize()));
    dlg.setAcceptMode(m_bOpenFileDialog ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dlg.setFileMode(m_bOpenFileDialog ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dlg.setOption(QFileDialog::DontConfirmOverwrite, !(m_dwFlags & OFN_OVERWRITEPROMPT));
    // Names match their patterns whatever their case: "*.BMP" lists "photo.bmp" too.
    dlg.setFilter(dlg.filter() & ~QDir::CaseSensitive);
    if (!m_filters.empty()) {
        QStringList filters;
        for (const std::string& f : m_filters)
            filters << QString::fromStdString(f);
        dlg.setNameFilters(filters);
        dlg.selectNameFilter(filters.value(m_nFilterIndex - 1, filters.first()));
    }
    dlg.setDefaultSuffix(QString::fromStdString(m_strDefExt));
    if (!m_strDefExt.empty()) {
        const auto followFilter = [&dlg](const QString& filter) {
            const QString ext = FilterExtension(filter);
            if (!ext.isEmpty())
                dlg.setDefaultSuffix(ext);
        };
        QObject::connect(&dlg, &QFileDialog::filterSelected, &dlg, followFilter);
        followFilter(dlg.selectedNameFilter());
    }
    if (!m_strFileName.empty()) {
        const QFileInfo initial(QFile::decodeName(QByteArray::fromStdString(m_strFileName)));
        if (initial.isAbsolute())
            dlg.setDirectory(initial.absolutePath());
        dlg.selectFile(initial.fileName());
    }
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return IDCANCEL;
    if (!m_filters.empty())
        m_nFilterIndex = int(dlg.nameFilters().indexOf(dlg.selectedNameFilter())) + 1;
    m_strPathName = QFile::encodeName(dlg.selectedFiles().first()).toStdString();
    m_bChecked = check && check->isChecked();
    return IDOK;
}
