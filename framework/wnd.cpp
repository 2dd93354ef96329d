// The window procedure shared by all our windows, and the window operations.
#include "framework/wnd.h"

#include "framework/app.h"
#include "framework/modal.h"
#include "framework/trace.h"

#include <cstdint>
#include <deque>
#include <exception>
#include <string>

namespace {

HINSTANCE Instance()
{
    return GetModuleHandleW(nullptr);
}

// Handed to CreateWindowExW: the object the new window belongs to, and
// whether the window reached it (from then on the window's end runs the
// object's PostNcDestroy).
struct Creation {
    CWnd* self;
    bool attached;
};

}  // namespace

CWnd::~CWnd()
{
    if (m_hWnd != nullptr && IsWindow(m_hWnd) && FromHandlePermanent(m_hWnd) == this) {
        // Later messages of the window must not reach the half-destroyed object.
        SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, 0);
        ::DestroyWindow(m_hWnd);
    }
    m_hWnd = nullptr;
}

CWnd* CWnd::FromHandlePermanent(HWND hwnd)
{
    if (hwnd == nullptr || !IsWindow(hwnd))
        return nullptr;
    const auto proc = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWLP_WNDPROC));
    if (proc != &CWnd::StaticWndProc)
        return nullptr;
    return reinterpret_cast<CWnd*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

BOOL CWnd::Create(LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                  CWnd* pParentWnd, UINT nID, void*)
{
    return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect.left, rect.top,
                    rect.right - rect.left, rect.bottom - rect.top,
                    pParentWnd != nullptr ? pParentWnd->m_hWnd : nullptr,
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)));
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle, int x,
                    int y, int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, void* lpParam)
{
    if (m_hWnd != nullptr)
        return FALSE;
    CREATESTRUCTW cs{};
    cs.dwExStyle = dwExStyle;
    cs.lpszClass = lpszClassName;
    cs.lpszName = lpszWindowName;
    cs.style = static_cast<LONG>(dwStyle);
    cs.x = x;
    cs.y = y;
    cs.cx = nWidth;
    cs.cy = nHeight;
    cs.hwndParent = hWndParent;
    cs.hMenu = nIDorHMenu;
    cs.hInstance = Instance();
    cs.lpCreateParams = lpParam;
    // Every failure ends in PostNcDestroy exactly once, so an object that
    // deletes itself with its window is deleted however its creation fails.
    if (!PreCreateWindow(cs)) {
        PostNcDestroy();
        return FALSE;
    }
    // The window procedure finds this object through the creation parameter.
    Creation creation{this, false};
    HWND hwnd = CreateWindowExW(cs.dwExStyle, cs.lpszClass, cs.lpszName, static_cast<DWORD>(cs.style), cs.x,
                                cs.y, cs.cx, cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance, &creation);
    if (hwnd != nullptr)
        return TRUE;
    // A window that reached the object has run PostNcDestroy with its end
    // (the object may be gone): only one that never did needs it here.
    if (!creation.attached)
        PostNcDestroy();
    return FALSE;
}

BOOL CWnd::DestroyWindow()
{
    if (m_hWnd == nullptr)
        return FALSE;
    return ::DestroyWindow(m_hWnd);
}

BOOL CWnd::PreCreateWindow(CREATESTRUCTW& cs)
{
    if (cs.lpszClass == nullptr)
        cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS, LoadCursorW(nullptr, IDC_ARROW),
                                           reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1)));
    return cs.lpszClass != nullptr ? TRUE : FALSE;
}

BOOL CWnd::PreTranslateMessage(MSG*)
{
    return FALSE;
}

void CWnd::Invalidate(bool erase)
{
    if (m_hWnd != nullptr)
        InvalidateRect(m_hWnd, nullptr, erase ? TRUE : FALSE);
}

UINT_PTR CWnd::SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer)
{
    if (m_hWnd == nullptr)
        return 0;
    return ::SetTimer(m_hWnd, nIDEvent, nElapse, lpfnTimer);
}

BOOL CWnd::KillTimer(UINT_PTR nIDEvent)
{
    if (m_hWnd == nullptr)
        return FALSE;
    return ::KillTimer(m_hWnd, nIDEvent);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_hWnd == nullptr)
        return FALSE;
    return ::PostMessageW(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_hWnd == nullptr)
        return 0;
    return ::SendMessageW(m_hWnd, message, wParam, lParam);
}

CWnd* CWnd::SetFocus()
{
    if (m_hWnd == nullptr)
        return nullptr;
    return FromHandlePermanent(::SetFocus(m_hWnd));
}

void CWnd::SetWindowText(LPCWSTR lpszString)
{
    if (m_hWnd != nullptr)
        ::SetWindowTextW(m_hWnd, lpszString);
}

void CWnd::GetClientRect(LPRECT lpRect) const
{
    if (lpRect == nullptr)
        return;
    if (m_hWnd == nullptr || !::GetClientRect(m_hWnd, lpRect))
        *lpRect = RECT{0, 0, 0, 0};
}

BOOL CWnd::ShowWindow(int nCmdShow)
{
    if (m_hWnd == nullptr)
        return FALSE;
    return ::ShowWindow(m_hWnd, nCmdShow);
}

void CWnd::UpdateWindow()
{
    if (m_hWnd != nullptr)
        ::UpdateWindow(m_hWnd);
}

LRESULT CWnd::Default()
{
    return DefWindowProcW(m_hWnd, m_current.message, m_current.wParam, m_current.lParam);
}

int CWnd::OnCreate(LPCREATESTRUCTW)
{
    return static_cast<int>(Default());
}

void CWnd::OnPaint()
{
    Default();
}

void CWnd::OnTimer(UINT_PTR)
{
    Default();
}

void CWnd::OnKeyDown(UINT, UINT, UINT)
{
    Default();
}

void CWnd::OnSize(UINT, int, int)
{
    Default();
}

void CWnd::OnContextMenu(CWnd*, CPoint)
{
    Default();
}

void CWnd::OnSetFocus(CWnd*)
{
    Default();
}

void CWnd::OnDpiChanged(UINT, UINT, const RECT*)
{
    Default();
}

void CWnd::OnClose()
{
    Default();
}

void CWnd::OnDestroy()
{
    Default();
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const UINT nID = LOWORD(wParam);
    // Menus and accelerators send codes 0 and 1; controls their notification.
    const int nCode = lParam == 0 ? CN_COMMAND : HIWORD(wParam);
    return OnCmdMsg(nID, nCode, nullptr, nullptr);
}

void CWnd::PostNcDestroy() {}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
        case WM_CREATE:
            return OnCreate(reinterpret_cast<LPCREATESTRUCTW>(lParam));
        case WM_PAINT:
            OnPaint();
            return 0;
        case WM_TIMER:
            OnTimer(static_cast<UINT_PTR>(wParam));
            return 0;
        case WM_KEYDOWN:
            OnKeyDown(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
            return 0;
        case WM_SIZE:
            OnSize(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
            return 0;
        case WM_CONTEXTMENU:
            OnContextMenu(FromHandlePermanent(reinterpret_cast<HWND>(wParam)),
                          CPoint(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))));
            return 0;
        case WM_SETFOCUS:
            OnSetFocus(FromHandlePermanent(reinterpret_cast<HWND>(wParam)));
            return 0;
        case WM_DPICHANGED:
            OnDpiChanged(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
            return 0;
        case WM_CLOSE:
            OnClose();
            return 0;
        case WM_DESTROY:
            OnDestroy();
            return 0;
        case WM_COMMAND:
            if (OnCommand(wParam, lParam))
                return 0;
            return Default();
        case WM_NCDESTROY:
            return HandleNcDestroy();
        case WM_SYSCOMMAND:
            return HandleSysCommand(wParam);
        default:
            return Default();
    }
}

LRESULT CWnd::HandleNcDestroy()
{
    const LRESULT result = Default();
    SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, 0);
    m_hWnd = nullptr;
    // The application ends with its main window.
    CWinApp* app = AfxGetApp();
    if (app != nullptr && app->m_pMainWnd == this) {
        app->m_pMainWnd = nullptr;
        PostQuitMessage(0);
    }
    PostNcDestroy();
    return result;
}

LRESULT CWnd::HandleSysCommand(WPARAM wParam)
{
    // The menu bar (by Alt, F10 or a click), the window menu, a move and a
    // size run their loop inside this message.
    const UINT command = static_cast<UINT>(wParam & 0xFFF0);
    // A move or size that starts inside a loop of ours could hold that loop
    // open for good: its first phase waits for a key and ends on nothing a
    // close can send. A person cannot start one then (a dialog disables the
    // window, a menu holds the mouse), so one asked for inside another
    // handler is refused.
    if ((command == SC_MOVE || command == SC_SIZE) && HandlerScope::InsideAnotherHandler())
        return 0;
    // One menu at a time, as for popup menus: a menu loop started inside
    // another leaves the outer one running with its popup on the screen
    // when it ends, and nothing ends that one any more.
    if ((command == SC_KEYMENU || command == SC_MOUSEMENU) && modal::MenuRunning())
        return 0;
    return Default();
}

LRESULT CALLBACK CWnd::StaticWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        const auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        auto* creation = static_cast<Creation*>(cs->lpCreateParams);
        CWnd* self = creation != nullptr ? creation->self : nullptr;
        if (self != nullptr) {
            creation->attached = true;
            self->m_hWnd = hwnd;
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        }
    }
    auto* self = reinterpret_cast<CWnd*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self == nullptr)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    const HandlerScope scope(hwnd, message, wParam);
    const Message outer = self->m_current;
    self->m_current = Message{message, wParam, lParam};
    LRESULT result = 0;
    try {
        result = self->WindowProc(message, wParam, lParam);
    } catch (const std::exception& e) {
        TRACE(std::string("Exception in a window procedure: ") + e.what() + "\n");
        result = message == WM_CREATE ? -1 : 0;
    } catch (...) {
        TRACE("Unknown exception in a window procedure\n");
        result = message == WM_CREATE ? -1 : 0;
    }
    // A handler may have destroyed the window, and a frame deletes itself
    // then: touch the object only while its window still points to it.
    if (IsWindow(hwnd) && GetWindowLongPtrW(hwnd, GWLP_USERDATA) == reinterpret_cast<LONG_PTR>(self))
        self->m_current = outer;
    return result;
}

namespace {

// A colon and the value in hexadecimal, one part of a class name.
void AppendHex(std::wstring& name, std::uintptr_t value)
{
    wchar_t digits[2 * sizeof value];
    int count = 0;
    do {
        digits[count++] = L"0123456789abcdef"[value & 0xF];
        value >>= 4;
    } while (value != 0);
    name += L':';
    while (count > 0)
        name += digits[--count];
}

}  // namespace

LPCWSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon)
{
    // Names live in a deque so the pointers handed out stay valid.
    static std::deque<std::wstring> registered;
    std::wstring name = L"Afx";
    AppendHex(name, reinterpret_cast<std::uintptr_t>(Instance()));
    AppendHex(name, nClassStyle);
    if (hCursor != nullptr || hbrBackground != nullptr || hIcon != nullptr) {
        AppendHex(name, reinterpret_cast<std::uintptr_t>(hCursor));
        AppendHex(name, reinterpret_cast<std::uintptr_t>(hbrBackground));
        AppendHex(name, reinterpret_cast<std::uintptr_t>(hIcon));
    }
    for (const std::wstring& known : registered) {
        if (known == name)
            return known.c_str();
    }
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = nClassStyle;
    wc.lpfnWndProc = &CWnd::StaticWndProc;
    wc.hInstance = Instance();
    wc.hCursor = hCursor;
    wc.hbrBackground = hbrBackground;
    wc.hIcon = hIcon;
    wc.lpszClassName = name.c_str();
    if (RegisterClassExW(&wc) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        TRACE("RegisterClassExW failed\n");
        return nullptr;
    }
    registered.emplace_back(name);
    return registered.back().c_str();
}
