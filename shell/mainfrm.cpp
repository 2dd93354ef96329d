// The main frame: style, size and place inside the work area, the view's
// creation, focus, the command route, minimising and changes of the screen.
#include "shell/mainfrm.h"

#include "control/gameboard.h"
#include "framework/dpi.h"
#include "framework/input_method.h"
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

FramePlacement FitIntoWorkArea(const FramePlacement& wanted, SIZE minimumWindow, const RECT& monitor,
                               const RECT& workArea)
{
    const auto fit = [](int wantedSize, int minimum, int workSize, int monitorSize) {
        return std::max(std::min(wantedSize, workSize), std::min(minimum, monitorSize));
    };
    const auto moveIn = [](int wantedStart, int size, int workStart, int workEnd) {
        return std::max(workStart, std::min(wantedStart, workEnd - size));
    };
    FramePlacement placement{};
    placement.cx =
        fit(wanted.cx, minimumWindow.cx, workArea.right - workArea.left, monitor.right - monitor.left);
    placement.cy =
        fit(wanted.cy, minimumWindow.cy, workArea.bottom - workArea.top, monitor.bottom - monitor.top);
    placement.x = moveIn(wanted.x, placement.cx, workArea.left, workArea.right);
    placement.y = moveIn(wanted.y, placement.cy, workArea.top, workArea.bottom);
    return placement;
}

namespace {

// The monitor a rectangle lies on most, with its work area.
MONITORINFO MonitorOf(const RECT& rect)
{
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST), &info)) {
        // No monitor known: the primary screen, all of it.
        info.rcMonitor = RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        info.rcWork = info.rcMonitor;
        info.dwFlags = MONITORINFOF_PRIMARY;
    }
    // The primary monitor's work area is also the system's. Windows keeps the
    // two the same; Wine changes only the system's when it is set, so the
    // part both agree on is taken.
    RECT system{};
    RECT common{};
    if ((info.dwFlags & MONITORINFOF_PRIMARY) != 0 && SystemParametersInfoW(SPI_GETWORKAREA, 0, &system, 0) &&
        IntersectRect(&common, &info.rcWork, &system))
        info.rcWork = common;
    return info;
}

// What a frame adds around its view's client area at a resolution: caption,
// menu bar, frame and the view's client edge.
SIZE NonClientSize(DWORD style, DWORD exStyle, UINT dpi)
{
    RECT rect{0, 0, 2 * framework::SystemMetricForDpi(SM_CXEDGE, dpi),
              2 * framework::SystemMetricForDpi(SM_CYEDGE, dpi)};
    framework::AdjustWindowRectForDpi(&rect, style, TRUE, exStyle, dpi);
    return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

}  // namespace

CMainFrame::CMainFrame() {}

CMainFrame::~CMainFrame() {}

SIZE CMainFrame::MinimumWindowSize(DWORD style, DWORD exStyle, const Layout& picture)
{
    const SIZE client = CChildView::MinimumClientSize(picture);
    // The frame is drawn at the display's resolution, whatever the picture's.
    const SIZE frame = NonClientSize(style, exStyle, static_cast<UINT>(picture.dpi()));
    return SIZE{client.cx + frame.cx, client.cy + frame.cy};
}

Layout::Extent CMainFrame::ViewRoom(const RECT& workArea, DWORD style, DWORD exStyle, UINT dpi)
{
    const SIZE frame = NonClientSize(style, exStyle, dpi);
    return {workArea.right - workArea.left - frame.cx, workArea.bottom - workArea.top - frame.cy};
}

BOOL CMainFrame::PreCreateWindow(CREATESTRUCTW& cs)
{
    if (!CFrameWnd::PreCreateWindow(cs))
        return FALSE;
    cs.style = static_cast<LONG>(kFrameStyle);
    cs.dwExStyle &= ~static_cast<DWORD>(WS_EX_CLIENTEDGE);
    // The window opens on the primary monitor, at the system's resolution.
    const DWORD style = static_cast<DWORD>(cs.style);
    const UINT dpi = framework::SystemDpi();
    const MONITORINFO monitor = MonitorOf(RECT{0, 0, 1, 1});
    // The picture is laid out here, once, for the view made next.
    m_childView.SetLayout(CChildView::PictureLayout(dpi, ViewRoom(monitor.rcWork, style, cs.dwExStyle, dpi)));
    const SIZE minimum = MinimumWindowSize(style, cs.dwExStyle, m_childView.board().layout());
    FramePlacement placement =
        ComputeFramePlacement(monitor.rcMonitor.right - monitor.rcMonitor.left,
                              monitor.rcMonitor.bottom - monitor.rcMonitor.top, minimum);
    placement.x += monitor.rcMonitor.left;
    placement.y += monitor.rcMonitor.top;
    placement = FitIntoWorkArea(placement, minimum, monitor.rcMonitor, monitor.rcWork);
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
    if (!m_childView.Create(nullptr, nullptr, kViewStyle, RECT{0, 0, 0, 0}, this, AFX_IDW_PANE_FIRST,
                            nullptr)) {
        TRACE("無法建立檢視視窗\n");
        return -1;
    }
    SetWindowText(L"落磚樂");
    // The frame takes no text; the view keeps the input method away itself.
    framework::DetachInputMethod(m_hWnd);
    // The picture was laid out for the primary monitor; a window that opened
    // on another, or at another resolution, lays it out again for that one.
    RECT window{};
    GetWindowRect(m_hWnd, &window);
    FitToMonitor(framework::WindowDpi(m_hWnd), window);
    return 0;
}

BOOL CMainFrame::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg != nullptr && pMsg->hwnd == m_childView.m_hWnd)
        framework::RestoreKeyTakenByInputMethod(*pMsg);
    return CFrameWnd::PreTranslateMessage(pMsg);
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
// window takes the size and place the system suggests, as far as the work
// area and the picture allow.
void CMainFrame::OnDpiChanged(UINT, UINT nDpiY, const RECT* pSuggested)
{
    RECT wanted{};
    if (pSuggested != nullptr)
        wanted = *pSuggested;
    else
        GetWindowRect(m_hWnd, &wanted);
    FitToMonitor(nDpiY, wanted);
}

// The messages the framework has no handler for: a failed check's box, asked
// for from inside the game step that failed, opens here, outside any step;
// a change of the screen or the work area fits the window again.
LRESULT CMainFrame::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INVARIANT_REPORT) {
        ShowPendingInvariantReports();
        return 0;
    }
    if (message == WM_DISPLAYCHANGE || (message == WM_SETTINGCHANGE && wParam == SPI_SETWORKAREA)) {
        OnWorkAreaChanged();
        return 0;
    }
    return CFrameWnd::WindowProc(message, wParam, lParam);
}

// The size the formula gives on the monitor, where the window is now. A
// minimised window is fitted when it is restored.
void CMainFrame::OnWorkAreaChanged()
{
    if (IsIconic(m_hWnd)) {
        m_fitWhenRestored = true;
        return;
    }
    m_fitWhenRestored = false;
    RECT window{};
    GetWindowRect(m_hWnd, &window);
    const RECT screen = MonitorOf(window).rcMonitor;
    const FramePlacement size =
        ComputeFramePlacement(screen.right - screen.left, screen.bottom - screen.top, SIZE{0, 0});
    FitToMonitor(framework::WindowDpi(m_hWnd),
                 RECT{window.left, window.top, window.left + size.cx, window.top + size.cy});
}

bool CMainFrame::FitToMonitor(UINT dpi, const RECT& wanted)
{
    const MONITORINFO monitor = MonitorOf(wanted);
    const DWORD style = static_cast<DWORD>(GetWindowLongW(m_hWnd, GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(GetWindowLongW(m_hWnd, GWL_EXSTYLE));
    const Layout::Extent room = ViewRoom(monitor.rcWork, style, exStyle, dpi);
    // The picture is laid out again only for another resolution or room.
    const Layout& current = m_childView.board().layout();
    const bool laidOut = static_cast<int>(dpi) == current.dpi() && room.cx == current.room().cx &&
                         room.cy == current.room().cy;
    if (!laidOut && !m_childView.SetDpi(dpi, room))
        return false;
    const SIZE minimum = MinimumWindowSize(style, exStyle, m_childView.board().layout());
    const FramePlacement placement = FitIntoWorkArea(
        FramePlacement{wanted.left, wanted.top, wanted.right - wanted.left, wanted.bottom - wanted.top},
        minimum, monitor.rcMonitor, monitor.rcWork);
    SetWindowPos(m_hWnd, nullptr, placement.x, placement.y, placement.cx, placement.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    m_childView.UpdateWindow();
    return true;
}

void CMainFrame::OnSize(UINT nType, int cx, int cy)
{
    CFrameWnd::OnSize(nType, cx, cy);
    // Queued, so the game pauses once minimising has completed.
    if (nType == SIZE_MINIMIZED)
        m_childView.PostMessage(CChildView::WM_PAUSE_REQUEST);
    if (nType == SIZE_RESTORED && m_fitWhenRestored)
        OnWorkAreaChanged();
}
