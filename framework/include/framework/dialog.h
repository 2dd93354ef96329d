// Modal dialogs on a resource template, with data exchange when they open
// and when OK is pressed.
#pragma once

#include "framework/ddx.h"
#include "framework/win32.h"
#include "framework/wnd.h"

class CDialogEx : public CWnd {
public:
    // Without a parent the application's main window owns the dialog.
    explicit CDialogEx(UINT templateId, CWnd* pParent = nullptr);
    ~CDialogEx() override;

    // Runs the dialog until it ends: IDOK, IDCANCEL, or -1 when it cannot be
    // created.
    virtual INT_PTR DoModal();

    // Runs one exchange; false when a check rejected an entry.
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

    void EndDialog(int result);

protected:
    // Runs when the dialog has been created: loads the data into the
    // controls. TRUE lets the system focus the first tab stop.
    virtual BOOL OnInitDialog();
    // OK and Enter: saves the data and ends the dialog only when all is valid.
    virtual void OnOK();
    // Cancel, Esc and the close box: ends the dialog without any exchange.
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange* pDX);

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    HWND OwnerWindow() const;
    void CenterOverOwner();

    UINT m_templateId;
    CWnd* m_pParentWnd;
};
