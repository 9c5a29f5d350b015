// The file open and save dialogs: Qt's own file dialog (never the desktop's native one),
// set up from Win32-style arguments.
#pragma once

#include "framework/core/Types.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

class CWnd;

// Flags of CFileDialog.
constexpr DWORD OFN_READONLY = 0x00000001;
constexpr DWORD OFN_OVERWRITEPROMPT = 0x00000002;
constexpr DWORD OFN_HIDEREADONLY = 0x00000004;
constexpr DWORD OFN_PATHMUSTEXIST = 0x00000800;
constexpr DWORD OFN_FILEMUSTEXIST = 0x00001000;

// Why a name chosen in a file dialog is refused, and the name the dialog offers instead.
struct CNameRefusal {
    std::string message;
    std::string proposal;
};

class CFileDialog {
public:
    // Looks at a chosen path (and the filter selected, counted from 1) before the dialog takes
    // it, and before it asks to replace an existing file.
    using NameCheck =
        std::function<std::optional<CNameRefusal>(const std::string& path, int nFilterIndex)>;

    // lpszDefExt: extension (without the dot) added to a name typed without one; null or ""
    // adds none. When one is given, the selected filter's own extension (its first pattern,
    // "*.ext", in small letters) takes its place. lpszFileName: the name shown at first, possibly
    // with a directory. lpszFilter: pairs "text|patterns|", patterns separated by ';', for example
    // "(*.BMP)|*.BMP|모든파일(*.*)|*.*|"; the first pair is selected at first; patterns match
    // names whatever their case. OFN_OVERWRITEPROMPT makes a save dialog ask before it
    // accepts an existing file. The dialog is modal to the application; pParentWnd is not used.
    explicit CFileDialog(BOOL bOpenFileDialog, const char* lpszDefExt = nullptr,
                         const char* lpszFileName = nullptr,
                         DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                         const char* lpszFilter = nullptr, CWnd* pParentWnd = nullptr);

    // IDOK when the user chose a file, IDCANCEL otherwise.
    int DoModal();
    // The chosen file's full path (UTF-8), empty before an accepted DoModal.
    std::string GetPathName() const { return m_strPathName; }
    // The filter pair selected, counted from 1: the one shown at first, and after an accepted
    // DoModal the one the user left selected.
    int GetFilterIndex() const { return m_nFilterIndex; }
    void SetFilterIndex(int nIndex) { m_nFilterIndex = nIndex; }
    // A refused name is not taken: the refusal's message is shown, and the dialog stays open
    // with the proposal in place of the name.
    void SetNameCheck(NameCheck check) { m_check = std::move(check); }
    // The dialog's caption in place of the one for opening or saving.
    void SetTitle(const char* lpszTitle) { m_strTitle = lpszTitle ? lpszTitle : ""; }
    // A check box under the file list ("&" marks its key letter), and whether it was ticked
    // when the dialog was accepted.
    void AddCheckButton(const char* lpszLabel, BOOL bChecked);
    BOOL GetCheckButtonState() const { return m_bChecked ? TRUE : FALSE; }

    // The dialog's name filters for a filter string: "text (pattern pattern)" per pair, the
    // text kept as it is when it already ends with its patterns in parentheses. Pairs without
    // patterns are left out.
    static std::vector<std::string> ParseFilter(const char* lpszFilter);

private:
    bool m_bOpenFileDialog;
    std::string m_strDefExt;
    std::string m_strFileName;
    DWORD m_dwFlags;
    std::vector<std::string> m_filters;
    std::string m_strPathName;
    int m_nFilterIndex = 1;
    NameCheck m_check;
    std::string m_strTitle;
    std::string m_strCheckLabel; // empty: no check box
    bool m_bChecked = false;
};
