// The count of running modal loops and the close that waits for them.
#include "framework/modal.h"

namespace {

// One user-interface thread: plain counters suffice.
int g_depth = 0;
HWND g_closeAfterwards = nullptr;
bool g_quitAfterwards = false;
UINT_PTR g_closeTimer = 0;
// The window whose move or size runs in a loop of ours, and that loop's depth.
HWND g_moving = nullptr;
int g_movingDepth = 0;
constexpr UINT kCloseCheckMs = 50;

// The system's own loops on this thread, whoever started them: a menu
// (also one the default window procedure opens) or a move or size.
GUITHREADINFO ThreadLoops()
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetCurrentThreadId(), &info))
        return GUITHREADINFO{};
    return info;
}

constexpr DWORD kMenuFlags = GUI_INMENUMODE | GUI_POPUPMENUMODE | GUI_SYSTEMMENUMODE;

bool SystemLoopRunning()
{
    const GUITHREADINFO info = ThreadLoops();
    return (info.flags & (kMenuFlags | GUI_INMOVESIZE)) != 0 || info.hwndMenuOwner != nullptr ||
           info.hwndMoveSize != nullptr;
}

void StopCloseTimer()
{
    if (g_closeTimer != 0)
        KillTimer(nullptr, g_closeTimer);
    g_closeTimer = 0;
}

// Posts the waiting close; the window decides again when it comes.
void CarryOutClose()
{
    StopCloseTimer();
    HWND window = g_closeAfterwards;
    g_closeAfterwards = nullptr;
    if (window != nullptr && IsWindow(window))
        PostMessageW(window, WM_CLOSE, 0, 0);
}

// A move or size is cancelled by Esc, also before its first step, when the
// system does not report it yet; some systems end it already when its
// window is told to cancel its modes. A loop run inside it would take the
// key for itself, so the key goes only to a move or size that is the
// innermost loop.
void CancelMoveOrSize()
{
    const GUITHREADINFO loops = ThreadLoops();
    HWND moving = loops.hwndMoveSize;
    if (moving == nullptr && g_moving != nullptr && g_depth == g_movingDepth)
        moving = g_moving;
    if (moving == nullptr)
        return;
    SendMessageW(moving, WM_CANCELMODE, 0, 0);
    constexpr LPARAM kEscapeScanCode = 0x01 << 16;
    PostMessageW(moving, WM_KEYDOWN, VK_ESCAPE, 1 | kEscapeScanCode);
}

// A loop that is not ours gives no sign when it ends, and a move or size may
// become the innermost loop only after the close was asked for: each tick
// cancels such a move and carries out the close once no loop runs.
void CALLBACK CheckWaitingClose(HWND, UINT, UINT_PTR, DWORD)
{
    if (!ModalLoop::Running())
        CarryOutClose();
    else
        CancelMoveOrSize();
}

BOOL CALLBACK CancelDialog(HWND hwnd, LPARAM)
{
    wchar_t name[16] = {};
    GetClassNameW(hwnd, name, 16);
    // Dialogs, message boxes and the font dialog all take Cancel this way;
    // a message box with only OK ends as by Esc. One off the screen too (the
    // owned windows of a minimised frame are hidden): the close waits for it.
    if (lstrcmpW(name, L"#32770") == 0)
        PostMessageW(hwnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(hwnd, IDCANCEL)));
    return TRUE;
}

}  // namespace

ModalLoop::ModalLoop() : m_outerMoving(g_moving), m_outerMovingDepth(g_movingDepth)
{
    ++g_depth;
}

ModalLoop::ModalLoop(HWND moving) : ModalLoop()
{
    g_moving = moving;
    g_movingDepth = g_depth;
}

ModalLoop::~ModalLoop()
{
    g_moving = m_outerMoving;
    g_movingDepth = m_outerMovingDepth;
    if (--g_depth > 0)
        return;
    // A loop may have taken the quit message for itself (the system's menu
    // loop does): the thread's own loop gets it again.
    if (g_quitAfterwards) {
        g_quitAfterwards = false;
        PostQuitMessage(0);
    }
    if (g_closeAfterwards != nullptr)
        CarryOutClose();
}

bool ModalLoop::Running()
{
    return g_depth > 0 || SystemLoopRunning();
}

bool ModalLoop::MenuRunning()
{
    const GUITHREADINFO info = ThreadLoops();
    return (info.flags & kMenuFlags) != 0 || info.hwndMenuOwner != nullptr;
}

bool ModalLoop::OursRunning()
{
    return g_depth > 0;
}

bool ModalLoop::ClosePending()
{
    return g_closeAfterwards != nullptr;
}

void ModalLoop::CancelThenClose(HWND window)
{
    g_closeAfterwards = window;
    if (g_closeTimer == 0)
        g_closeTimer = SetTimer(nullptr, 0, kCloseCheckMs, &CheckWaitingClose);
    EndMenu();
    CancelMoveOrSize();
    EnumThreadWindows(GetCurrentThreadId(), &CancelDialog, 0);
}

void ModalLoop::PostQuit()
{
    if (g_depth > 0)
        g_quitAfterwards = true;
    PostQuitMessage(0);
}
