// Top-level frame windows: loaded from a resource id (title, menu bar and
// accelerators), laying their pane child over the whole client area, ending
// the application when they are its main window and close.
#pragma once

#include "framework/win32.h"
#include "framework/wnd.h"

// Frame style bit that the program's frames carry.
constexpr DWORD FWS_ADDTOTITLE = 0x00008000L;

class CFrameWnd : public CWnd {
public:
    CFrameWnd() = default;

    // Creates the window with the title (string nIDResource up to its first
    // newline), menu bar, accelerators and icon of resource nIDResource.
    virtual BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                           CWnd* pParentWnd = nullptr, void* pContext = nullptr);

    BOOL PreCreateWindow(CREATESTRUCTW& cs) override;
    // Translates the frame's accelerators for messages to it or its children.
    BOOL PreTranslateMessage(MSG* pMsg) override;
    // Commands go to the frame's own handlers, then to the application.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo) override;

    // Lays the pane child (id AFX_IDW_PANE_FIRST) over the client area.
    void RecalcLayout();

    HACCEL m_hAccelTable = nullptr;

protected:
    void OnSize(UINT nType, int cx, int cy) override;
    void OnClose() override;
    // The frame object lives on the free store and goes with its window.
    void PostNcDestroy() override;

private:
    // The resource LoadFrame was given; 0 for a frame created otherwise.
    UINT m_nIDResource = 0;
};
