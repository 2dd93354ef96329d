// The main frame: style, size and place, the view's creation, focus, the
// command route and minimising.
#include "shell/mainfrm.h"

#include "framework/dpi.h"
#include "framework/trace.h"
#include "resource.h"
#include "shell/invariant_report.h"

#include <algorithm>

FramePlacement ComputeFramePlacement(int screenWidth, int screenHeight, SIZE minimumWindow)
{
    FramePlacement placement{};
    placement.cy = screenHeight / 2;
    placement.cx = placement.cy + 300;
    placement.cy = placement.cy + 100;
    placement.cx = std::max(placement.cx, std::min(static_cast<int>(minimumWindow.cx), screenWidth));
    placement.cy = std::max(placement.cy, std::min(static_cast<int>(minimumWindow.cy), screenHeight));
    placement.y = (placement.cy / 3) / 2;
    // A window grown for the game moves up rather than leave the screen.
    if (placement.y + placement.cy > screenHeight)
        placement.y = std::max(0, screenHeight - placement.cy);
    placement.x = (screenWidth - placement.cx) / 2;
    return placement;
}

CMainFrame::CMainFrame()
{
}

CMainFrame::~CMainFrame()
{
}

SIZE CMainFrame::MinimumWindowSize(DWORD style, DWORD exStyle)
{
    return MinimumWindowSize(style, exStyle, framework::SystemDpi());
}

SIZE CMainFrame::MinimumWindowSize(DWORD style, DWORD exStyle, UINT dpi)
{
    const SIZE client = CChildView::MinimumClientSize(dpi);
    // The view's client edge lies inside the frame's client area.
    RECT rect{0, 0, client.cx + 2 * framework::SystemMetricForDpi(SM_CXEDGE, dpi),
              client.cy + 2 * framework::SystemMetricForDpi(SM_CYEDGE, dpi)};
    framework::AdjustWindowRectForDpi(&rect, style, TRUE, exStyle, dpi);
    return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

BOOL CMainFrame::PreCreateWindow(CREATESTRUCTW& cs)
{
    if (!CFrameWnd::PreCreateWindow(cs))
        return FALSE;
    cs.style = static_cast<LONG>(kFrameStyle);
    cs.dwExStyle &= ~static_cast<DWORD>(WS_EX_CLIENTEDGE);
    const FramePlacement placement =
        ComputeFramePlacement(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                              MinimumWindowSize(static_cast<DWORD>(cs.style), cs.dwExStyle));
    cs.x = placement.x;
    cs.y = placement.y;
    cs.cx = placement.cx;
    cs.cy = placement.cy;
    cs.lpszClass = AfxRegisterWndClass(0);
    return cs.lpszClass != nullptr ? TRUE : FALSE;
}

int CMainFrame::OnCreate(LPCREATESTRUCTW lpCreateStruct)
{
    if (CFrameWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    if (!m_childView.Create(nullptr, nullptr, kViewStyle, RECT{0, 0, 0, 0}, this, AFX_IDW_PANE_FIRST, nullptr)) {
        TRACE("無法建立檢視視窗\n");
        return -1;
    }
    SetWindowText(L"落磚樂");
    return 0;
}

// The view takes the keys, so it takes the focus.
void CMainFrame::OnSetFocus(CWnd*)
{
    m_childView.SetFocus();
}

// The view sees every command before the frame and the application.
BOOL CMainFrame::OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo)
{
    if (m_childView.OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

// Moved to a monitor of another resolution: the picture follows it and the
// window takes the size and place the system suggests.
void CMainFrame::OnDpiChanged(UINT, UINT nDpiY, const RECT* pSuggested)
{
    if (!m_childView.SetDpi(nDpiY))
        return;
    if (pSuggested != nullptr)
        SetWindowPos(m_hWnd, nullptr, pSuggested->left, pSuggested->top, pSuggested->right - pSuggested->left,
                     pSuggested->bottom - pSuggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CMainFrame::OnSize(UINT nType, int cx, int cy)
{
    CFrameWnd::OnSize(nType, cx, cy);
    // Queued, so the game pauses once minimising has completed.
    if (nType == SIZE_MINIMIZED)
        m_childView.PostMessage(CChildView::WM_PAUSE_REQUEST);
}

// A failed check's box, asked for from inside the game step that failed,
// opens here, outside any step.
LRESULT CMainFrame::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INVARIANT_REPORT) {
        ShowPendingInvariantReports();
        return 0;
    }
    return CFrameWnd::WindowProc(message, wParam, lParam);
}
