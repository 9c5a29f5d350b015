// The framework's message box: a modal question or notice captioned with the application's
// title, with Win32 button and icon flags and results.
#pragma once

#include "framework/core/Commands.h"
#include "framework/core/Types.h"

#include <string>

// Button sets.
constexpr UINT MB_OK = 0x00000000;
constexpr UINT MB_OKCANCEL = 0x00000001;
constexpr UINT MB_YESNOCANCEL = 0x00000003;
constexpr UINT MB_YESNO = 0x00000004;
constexpr UINT MB_TYPEMASK = 0x0000000F;

// Icons.
constexpr UINT MB_ICONHAND = 0x00000010;
constexpr UINT MB_ICONQUESTION = 0x00000020;
constexpr UINT MB_ICONEXCLAMATION = 0x00000030;
constexpr UINT MB_ICONASTERISK = 0x00000040;
constexpr UINT MB_ICONERROR = MB_ICONHAND;
constexpr UINT MB_ICONSTOP = MB_ICONHAND;
constexpr UINT MB_ICONWARNING = MB_ICONEXCLAMATION;
constexpr UINT MB_ICONINFORMATION = MB_ICONASTERISK;
constexpr UINT MB_ICONMASK = 0x000000F0;

// Shows `text` (UTF-8) and waits for an answer: IDOK, IDCANCEL, IDYES or IDNO. Closing the box
// without a button counts as IDCANCEL, or as IDOK when MB_OK offers nothing else. nIDHelp is
// accepted for compatibility and not used.
int AfxMessageBox(const char* text, UINT nType = MB_OK, UINT nIDHelp = 0);

// A notice about a file: its path, the message, and what the error (GetLastError) means when
// it is not 0.
int AfxFileMessageBox(const std::string& path, const char* message, DWORD dwError);

// Replaces every message box by a call to `hook`, whose result is the box's answer; null
// restores the real box. For programs that must not block on a dialog, such as fuzz targets,
// which run without a display and answer every box at once. Returns the hook it replaced.
using AFX_MSGBOX_HOOK = int (*)(const char* text, UINT nType);
AFX_MSGBOX_HOOK AfxSetMessageBoxHook(AFX_MSGBOX_HOOK hook);
