// Modal dialogs: the dialog procedure that routes the standard buttons to
// the exchange and back to the caller.
#include "framework/dialog.h"

#include "framework/modal.h"

#include <algorithm>

CDialogEx::CDialogEx(UINT templateId, CWnd* pParent) : m_templateId(templateId), m_pParentWnd(pParent) {}

CDialogEx::~CDialogEx() = default;

HWND CDialogEx::OwnerWindow() const
{
    const CWnd* owner = m_pParentWnd != nullptr ? m_pParentWnd : AfxGetMainWnd();
    return owner != nullptr ? owner->m_hWnd : nullptr;
}

INT_PTR CDialogEx::DoModal()
{
    const INT_PTR result =
        DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(m_templateId), OwnerWindow(),
                        &CDialogEx::DialogProc, reinterpret_cast<LPARAM>(this));
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

void CDialogEx::CenterOverOwner()
{
    // Templates sit at (0, 0); like the usual framework, show the dialog in
    // the middle of its owner instead, kept inside the owner's work area.
    RECT dialogRect;
    GetWindowRect(m_hWnd, &dialogRect);
    HWND owner = GetWindow(m_hWnd, GW_OWNER);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(owner != nullptr ? owner : m_hWnd, MONITOR_DEFAULTTONEAREST), &monitor);
    RECT around = monitor.rcWork;
    if (owner != nullptr && IsWindowVisible(owner) && !IsIconic(owner))
        GetWindowRect(owner, &around);
    const LONG width = dialogRect.right - dialogRect.left;
    const LONG height = dialogRect.bottom - dialogRect.top;
    LONG x = (around.left + around.right - width) / 2;
    LONG y = (around.top + around.bottom - height) / 2;
    x = std::max(monitor.rcWork.left, std::min(x, monitor.rcWork.right - width));
    y = std::max(monitor.rcWork.top, std::min(y, monitor.rcWork.bottom - height));
    SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
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

void CDialogEx::DoDataExchange(CDataExchange*) {}

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
    const HandlerScope scope(hwnd, message, wParam);
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
        case WM_INITDIALOG: {
            const BOOL focusFirstControl = OnInitDialog();
            CenterOverOwner();
            return focusFirstControl;
        }
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
