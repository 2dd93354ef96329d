// Windows as C++ objects: one static window procedure finds the object of
// each window and hands every message to a named virtual handler; whatever a
// class does not handle gets the system's default processing.
#pragma once

#include "framework/cmdtarget.h"
#include "framework/win32.h"

struct CPoint : POINT {
    CPoint(int x0 = 0, int y0 = 0) : POINT{x0, y0} {}
};

class CWnd : public CCmdTarget {
public:
    CWnd() = default;
    // A window that still exists is destroyed with its object.
    ~CWnd() override;

    // The object of a window made by this class, or null for any other.
    static CWnd* FromHandlePermanent(HWND hwnd);

    // A child window: rect in the parent's client coordinates, nID its id.
    virtual BOOL Create(LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                        CWnd* pParentWnd, UINT nID, void* pContext = nullptr);
    // FALSE when the window could not be made; PostNcDestroy has run then,
    // so an object that deletes itself with its window is gone.
    BOOL CreateEx(DWORD dwExStyle, LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle, int x, int y,
                  int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, void* lpParam = nullptr);
    BOOL DestroyWindow();

    // Adjusts class, styles, size and position before the window is made;
    // FALSE stops the creation. Without a class the default one is used.
    virtual BOOL PreCreateWindow(CREATESTRUCTW& cs);
    // Gets each message of the application's loop before it is dispatched;
    // TRUE when it was handled here.
    virtual BOOL PreTranslateMessage(MSG* pMsg);

    // The whole client area is to be repainted, its background erased first.
    // A window that keeps its picture between paints overrides it to draw
    // the picture anew, however the invalidation reaches it.
    virtual void Invalidate(bool erase = true);
    UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer);
    BOOL KillTimer(UINT_PTR nIDEvent);
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    // Returns the window that had the focus when it is one of ours.
    CWnd* SetFocus();
    void SetWindowText(LPCWSTR lpszString);
    void GetClientRect(LPRECT lpRect) const;
    BOOL ShowWindow(int nCmdShow);
    void UpdateWindow();

    HWND m_hWnd = nullptr;

protected:
    // Hands a message to its handler.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The system's processing of the message being handled.
    LRESULT Default();

    // Message handlers; each one's base gives the default processing.
    virtual int OnCreate(LPCREATESTRUCTW lpCreateStruct);
    virtual void OnPaint();
    virtual void OnTimer(UINT_PTR nIDEvent);
    virtual void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    virtual void OnSize(UINT nType, int cx, int cy);
    virtual void OnContextMenu(CWnd* pWnd, CPoint point);
    virtual void OnSetFocus(CWnd* pOldWnd);
    // A top-level window moved to a monitor of another resolution; the
    // system suggests the window's new rectangle in screen pixels.
    virtual void OnDpiChanged(UINT nDpiX, UINT nDpiY, const RECT* pSuggested);
    virtual void OnClose();
    virtual void OnDestroy();
    // Menu items and accelerators: routed through OnCmdMsg. TRUE if handled.
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    // Runs after the window is gone, its last message handled.
    virtual void PostNcDestroy();

public:
    // The procedure of every window class registered for these objects.
    static LRESULT CALLBACK StaticWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

private:
    LRESULT HandleNcDestroy();
    LRESULT HandleSysCommand(WPARAM wParam);

    struct Message {
        UINT message = 0;
        WPARAM wParam = 0;
        LPARAM lParam = 0;
    };
    Message m_current;
};

// The window class registered for these parameters, registered on first
// use. The name stays valid until the process ends.
LPCWSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor = nullptr, HBRUSH hbrBackground = nullptr,
                            HICON hIcon = nullptr);

// The application's main window, or null.
CWnd* AfxGetMainWnd();
