// Modal dialogs: the dialog procedure that routes the standard buttons to
// the exchange and back to the caller.
#include "framework/dialog.h"

CDialogEx::CDialogEx(UINT templateId, CWnd* pParent)
    : m_templateId(templateId), m_pParentWnd(pParent)
{
}

CDialogEx::~CDialogEx() = default;

HWND CDialogEx::OwnerWindow() const
{
    const CWnd* owner = m_pParentWnd != nullptr ? m_pParentWnd : AfxGetMainWnd();
    return owner != nullptr ? owner->m_hWnd : nullptr;
}

INT_PTR CDialogEx::DoModal()
{
    const INT_PTR result = DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(m_templateId),
                                           OwnerWindow(), &CDialogEx::DialogProc,
                                           reinterpret_cast<LPARAM>(this));
    // The window is gone; the object may be run again.
    m_hWnd = nullptr;
    // 0 means an unusable owner; the dialog itself never ends with 0.
    return result == 0 ? -1 : result;
}

BOOL CDialogEx::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(m_hWnd, bSaveAndValidate != FALSE);
    DoDataExchange(&dx);
    return dx.failed() ? FALSE : TRUE;
}

void CDialogEx::EndDialog(int result)
{
    if (m_hWnd != nullptr)
        ::EndDialog(m_hWnd, result);
}

BOOL CDialogEx::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialogEx::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialogEx::OnCancel()
{
    EndDialog(IDCANCEL);
}

void CDialogEx::DoDataExchange(CDataExchange*)
{
}

INT_PTR CALLBACK CDialogEx::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        auto* dialog = reinterpret_cast<CDialogEx*>(lParam);
        SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
        dialog->m_hWnd = hwnd;
    }
    auto* dialog = reinterpret_cast<CDialogEx*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    if (dialog == nullptr)
        return FALSE;
    try {
        return dialog->HandleMessage(message, wParam, lParam);
    } catch (...) {
        // Nothing may unwind through the system's dialog manager.
        ::EndDialog(hwnd, -1);
        return TRUE;
    }
}

INT_PTR CDialogEx::HandleMessage(UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog();
    case WM_COMMAND:
        // Enter and Esc arrive here as IDOK and IDCANCEL, and so does the
        // close box.
        if (HIWORD(wParam) != BN_CLICKED)
            return FALSE;
        if (LOWORD(wParam) == IDOK) {
            OnOK();
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            OnCancel();
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}
