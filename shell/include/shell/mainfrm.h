// The main frame: the fixed-size top-level window that holds the game view,
// passes it the focus and every command first, and pauses a running game
// when it is minimised.
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

class CMainFrame : public CFrameWnd {
public:
    static constexpr DWORD kFrameStyle = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | FWS_ADDTOTITLE;
    static constexpr DWORD kViewStyle = WS_CHILD | WS_VISIBLE | WS_BORDER;

    // Always on the free store: the frame deletes itself with its window.
    CMainFrame();
    ~CMainFrame() override;

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo) override;
    BOOL PreCreateWindow(CREATESTRUCTW& cs) override;

    // The smallest window that shows the view's minimum client area, at a
    // resolution (by default the system's).
    static SIZE MinimumWindowSize(DWORD style, DWORD exStyle, UINT dpi);
    static SIZE MinimumWindowSize(DWORD style, DWORD exStyle);

    CChildView& view() { return m_childView; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    int OnCreate(LPCREATESTRUCTW lpCreateStruct) override;
    void OnSetFocus(CWnd* pOldWnd) override;
    void OnSize(UINT nType, int cx, int cy) override;
    void OnDpiChanged(UINT nDpiX, UINT nDpiY, const RECT* pSuggested) override;

private:
    CChildView m_childView;
};
