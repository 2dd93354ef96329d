// Frame windows: loading, layout, accelerators, command route and closing.
#include "framework/frame.h"

#include "framework/app.h"
#include "framework/modal.h"
#include "framework/standard_ids.h"

#include <string>

BOOL CFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, void*)
{
    HINSTANCE instance = GetModuleHandleW(nullptr);
    m_nIDResource = nIDResource;
    std::wstring title = LoadResourceString(nIDResource);
    const std::size_t newline = title.find(L'\n');
    if (newline != std::wstring::npos)
        title.resize(newline);
    m_hAccelTable = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(nIDResource));
    HMENU menu = LoadMenuW(instance, MAKEINTRESOURCEW(nIDResource));
    const BOOL created =
        CreateEx(0, nullptr, title.c_str(), dwDefaultStyle, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                 CW_USEDEFAULT, pParentWnd != nullptr ? pParentWnd->m_hWnd : nullptr, menu);
    // A window owns its menu, also one destroyed during its creation; a
    // menu that never reached a window is ours to free. (On failure this
    // object may be deleted already: only locals are used.)
    if (!created && menu != nullptr && IsMenu(menu))
        DestroyMenu(menu);
    return created;
}

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCTW& cs)
{
    if (cs.lpszClass == nullptr) {
        HICON icon = m_nIDResource != 0
                         ? LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(m_nIDResource))
                         : nullptr;
        cs.lpszClass =
            AfxRegisterWndClass(CS_DBLCLKS, LoadCursorW(nullptr, IDC_ARROW),
                                reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1)), icon);
    }
    cs.dwExStyle |= WS_EX_CLIENTEDGE;
    return cs.lpszClass != nullptr ? TRUE : FALSE;
}

BOOL CFrameWnd::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg == nullptr || m_hWnd == nullptr || m_hAccelTable == nullptr)
        return FALSE;
    if (pMsg->message < WM_KEYFIRST || pMsg->message > WM_KEYLAST)
        return FALSE;
    if (pMsg->hwnd != m_hWnd && !IsChild(m_hWnd, pMsg->hwnd))
        return FALSE;
    return TranslateAcceleratorW(m_hWnd, m_hAccelTable, pMsg) != 0;
}

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo)
{
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    CWinApp* app = AfxGetApp();
    return app != nullptr && app->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CFrameWnd::RecalcLayout()
{
    if (m_hWnd == nullptr)
        return;
    HWND pane = GetDlgItem(m_hWnd, AFX_IDW_PANE_FIRST);
    if (pane == nullptr)
        return;
    RECT client{};
    GetClientRect(&client);
    MoveWindow(pane, client.left, client.top, client.right - client.left, client.bottom - client.top, TRUE);
}

void CFrameWnd::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    if (nType != SIZE_MINIMIZED)
        RecalcLayout();
}

void CFrameWnd::OnClose()
{
    // Not under a handler that is still running (framework/modal.h).
    if (HandlerScope::CloseMustWait(m_hWnd))
        return;
    DestroyWindow();
}

void CFrameWnd::PostNcDestroy()
{
    delete this;
}
