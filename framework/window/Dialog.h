// Modal dialogs built from dialog templates, and the colour dialog.
#pragma once

#include "Wnd.h"

class CDataExchange {
public:
    BOOL m_bSaveAndValidate = FALSE;
};

class CDialog : public CWnd {
public:
    // The template's resource id; the owner defaults to the application's main window.
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    ~CDialog() override;

    // Shows the dialog and returns when it ends: IDOK, IDCANCEL, or -1 without a template.
    virtual int DoModal();
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    void EndDialog(int nResult);

protected:
    virtual void DoDataExchange(CDataExchange* pDX);
    QWidget* CreateWidget(QWidget* pParent) override;

private:
    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;
};

// Colour dialog flags.
constexpr DWORD CC_RGBINIT = 0x0001;
constexpr DWORD CC_FULLOPEN = 0x0002;

class CColorDialog {
public:
    explicit CColorDialog(COLORREF clrInit = 0, DWORD dwFlags = 0, CWnd* pParentWnd = nullptr);
    // A button beside OK and Cancel that chooses no colour: GetColor then gives CLR_NONE.
    void AddNoColorButton(const char* lpszLabel) { m_strNoColor = lpszLabel ? lpszLabel : ""; }
    // IDOK when the user confirmed a colour (or no colour), IDCANCEL otherwise.
    int DoModal();
    COLORREF GetColor() const { return m_color; }

private:
    COLORREF m_color;
    DWORD m_dwFlags;
    CWnd* m_pParentWnd;
    std::string m_strNoColor; // empty: no such button
};
