// The handlers of ours on the stack, and the close that waits for them.
//
// Why the order matters: a window's end deletes its objects (a frame deletes
// itself, and everything it holds with it). A close carried out
// inside a loop would do that under the handler that runs the loop, which
// then returns into freed memory. So a close never destroys a window while a
// handler of ours is below its own: it asks the loops to end as cancelled
// (their handlers get that answer while everything still exists) and waits.
// Each handler's return hands the close to the one below it, ending what has
// become the innermost loop (a move that a menu ran inside). The outermost
// return carries it out: at once when no loop was found (a close that a
// handler asked for itself, as File > Exit does), else posted, so that the
// window decides again from the thread's own loop, after the last messages
// of the loops that ended.
#include "framework/modal.h"

namespace {

// One user-interface thread: the innermost handler of ours, each one linking
// to the one below it. The stack itself keeps them; nothing outlives them.
HandlerScope* g_innermost = nullptr;

constexpr DWORD kMenuFlags = GUI_INMENUMODE | GUI_POPUPMENUMODE | GUI_SYSTEMMENUMODE;

GUITHREADINFO ThreadLoops()
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetCurrentThreadId(), &info))
        return GUITHREADINFO{};
    return info;
}

BOOL CALLBACK CancelDialog(HWND hwnd, LPARAM found)
{
    wchar_t name[16] = {};
    GetClassNameW(hwnd, name, 16);
    // Dialogs, message boxes and the font dialog all take Cancel this way;
    // a message box with only OK ends as by Esc. One off the screen too (the
    // owned windows of a minimised frame are hidden).
    if (lstrcmpW(name, L"#32770") == 0) {
        PostMessageW(hwnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(hwnd, IDCANCEL)));
        *reinterpret_cast<bool*>(found) = true;
    }
    return TRUE;
}

// A move or size ends by Esc, also before its first step, when the system
// does not report it yet; some systems end it already when its window is
// told to cancel its modes.
void CancelMoveOrSize(HWND moving)
{
    SendMessageW(moving, WM_CANCELMODE, 0, 0);
    constexpr LPARAM kEscapeScanCode = 0x01 << 16;
    PostMessageW(moving, WM_KEYDOWN, VK_ESCAPE, 1 | kEscapeScanCode);
}

}  // namespace

HandlerScope::HandlerScope(HWND hwnd, UINT message, WPARAM wParam)
    : m_outer(g_innermost), m_hwnd(hwnd), m_message(message), m_wParam(wParam)
{
    g_innermost = this;
}

HandlerScope::~HandlerScope()
{
    g_innermost = m_outer;
    if (m_closeWindow == nullptr)
        return;
    if (m_outer == nullptr) {
        CarryOutClose();
        return;
    }
    const bool ended = m_outer->EndLoopsInside();
    if (m_outer->m_closeWindow == nullptr)
        m_outer->m_closeWindow = m_closeWindow;
    m_outer->m_closeEndedLoops = m_outer->m_closeEndedLoops || m_closeEndedLoops || ended;
}

bool HandlerScope::CloseMustWait(HWND window)
{
    // The innermost handler is the close's own.
    HandlerScope* below = g_innermost != nullptr ? g_innermost->m_outer : nullptr;
    if (below == nullptr)
        return false;
    const bool ended = below->EndLoopsInside();
    if (below->m_closeWindow == nullptr)
        below->m_closeWindow = window;
    below->m_closeEndedLoops = below->m_closeEndedLoops || ended;
    return true;
}

bool HandlerScope::CloseWaiting()
{
    for (const HandlerScope* scope = g_innermost; scope != nullptr; scope = scope->m_outer) {
        if (scope->m_closeWindow != nullptr)
            return true;
    }
    return false;
}

bool HandlerScope::InsideAnotherHandler()
{
    return g_innermost != nullptr && g_innermost->m_outer != nullptr;
}

bool HandlerScope::EndLoopsInside() const
{
    bool ended = false;
    const GUITHREADINFO loops = ThreadLoops();
    const bool inMenu = (loops.flags & kMenuFlags) != 0 || loops.hwndMenuOwner != nullptr;
    if (inMenu) {
        EndMenu();
        ended = true;
    }
    // A move of ours runs inside this very handler; one of the system's
    // (a dialog's, dragged by its caption) is reported once it moved. A menu
    // inside the move would take the key for itself: the move is ended when
    // its handler is the innermost again.
    const UINT command = static_cast<UINT>(m_wParam & 0xFFF0);
    if (m_message == WM_SYSCOMMAND && (command == SC_MOVE || command == SC_SIZE)) {
        CancelMoveOrSize(m_hwnd);
        ended = true;
    } else if (loops.hwndMoveSize != nullptr && !inMenu) {
        CancelMoveOrSize(loops.hwndMoveSize);
        ended = true;
    }
    EnumThreadWindows(GetCurrentThreadId(), &CancelDialog, reinterpret_cast<LPARAM>(&ended));
    return ended;
}

void HandlerScope::CarryOutClose() const
{
    if (!IsWindow(m_closeWindow))
        return;
    if (m_closeEndedLoops)
        PostMessageW(m_closeWindow, WM_CLOSE, 0, 0);
    else
        SendMessageW(m_closeWindow, WM_CLOSE, 0, 0);
}

namespace modal {

bool MenuRunning()
{
    const GUITHREADINFO info = ThreadLoops();
    return (info.flags & kMenuFlags) != 0 || info.hwndMenuOwner != nullptr;
}

}  // namespace modal
