// The main frame: the fixed-size top-level window that holds the game view,
// passes it the focus and every command first, pauses a running game when it
// is minimised, and keeps itself and the picture inside its monitor's work
// area.
#pragma once

#include "framework/frame.h"
#include "shell/childview.h"

// Window size and position on the screen.
struct FramePlacement {
    int x;
    int y;
    int cx;
    int cy;
};

// Half the screen height plus 300 wide, plus 100 high, a sixth of its own
// height from the top and centred across; grown where that is smaller than
// minimumWindow, but never beyond the screen.
FramePlacement ComputeFramePlacement(int screenWidth, int screenHeight, SIZE minimumWindow);

// A wanted window place kept inside a monitor's work area: no larger than the
// work area unless the game needs more (and then no larger than the monitor),
// no smaller than minimumWindow, moved in where it reaches outside, and at the
// work area's top-left corner where it is larger.
FramePlacement FitIntoWorkArea(const FramePlacement& wanted, SIZE minimumWindow, const RECT& monitor,
                               const RECT& workArea);

class CMainFrame : public CFrameWnd {
public:
    static constexpr DWORD kFrameStyle = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | FWS_ADDTOTITLE;
    static constexpr DWORD kViewStyle = WS_CHILD | WS_VISIBLE | WS_BORDER;

    // Always on the free store: the frame deletes itself with its window.
    CMainFrame();
    ~CMainFrame() override;

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo) override;
    BOOL PreCreateWindow(CREATESTRUCTW& cs) override;
    // Before the accelerators: a key for the view that an input method took
    // anyway goes on as the key it was.
    BOOL PreTranslateMessage(MSG* pMsg) override;

    // The smallest window that shows the view's minimum client area for a
    // picture.
    static SIZE MinimumWindowSize(DWORD style, DWORD exStyle, const Layout& picture);
    // The largest client area the view may have in a window inside a work
    // area, at a resolution.
    static Layout::Extent ViewRoom(const RECT& workArea, DWORD style, DWORD exStyle, UINT dpi);

    CChildView& view() { return m_childView; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    int OnCreate(LPCREATESTRUCTW lpCreateStruct) override;
    void OnSetFocus(CWnd* pOldWnd) override;
    void OnSize(UINT nType, int cx, int cy) override;
    void OnDpiChanged(UINT nDpiX, UINT nDpiY, const RECT* pSuggested) override;
    // The screen's size or the work area changed: the picture and the window
    // fit the monitor again, the window keeping its place where it can.
    void OnWorkAreaChanged();

private:
    // Fits the picture to the work area of the monitor that wanted lies on,
    // then puts the window at wanted, kept inside that work area, and shows
    // the new picture at once. False, with nothing changed, for a nonsense
    // resolution.
    bool FitToMonitor(UINT dpi, const RECT& wanted);

    CChildView m_childView;
    // The work area changed while the window was minimised.
    bool m_fitWhenRestored = false;
};
