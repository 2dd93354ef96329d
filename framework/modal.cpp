// The count of running modal loops and the close that waits for them.
#include "framework/modal.h"

namespace {

// One user-interface thread: plain counters suffice.
int g_depth = 0;
HWND g_closeAfterwards = nullptr;
bool g_quitAfterwards = false;

BOOL CALLBACK CancelDialog(HWND hwnd, LPARAM)
{
    wchar_t name[16] = {};
    GetClassNameW(hwnd, name, 16);
    // Dialogs, message boxes and the font dialog all take Cancel this way;
    // a message box with only OK ends as by Esc.
    if (IsWindowVisible(hwnd) && lstrcmpW(name, L"#32770") == 0)
        PostMessageW(hwnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(hwnd, IDCANCEL)));
    return TRUE;
}

}  // namespace

ModalLoop::ModalLoop()
{
    ++g_depth;
}

ModalLoop::~ModalLoop()
{
    if (--g_depth > 0)
        return;
    // A loop may have taken the quit message for itself (the system's menu
    // loop does): the thread's own loop gets it again.
    if (g_quitAfterwards) {
        g_quitAfterwards = false;
        PostQuitMessage(0);
    }
    if (g_closeAfterwards == nullptr)
        return;
    HWND window = g_closeAfterwards;
    g_closeAfterwards = nullptr;
    if (IsWindow(window))
        PostMessageW(window, WM_CLOSE, 0, 0);
}

bool ModalLoop::Running()
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
    EndMenu();
    EnumThreadWindows(GetCurrentThreadId(), &CancelDialog, 0);
}

void ModalLoop::PostQuit()
{
    if (g_depth > 0)
        g_quitAfterwards = true;
    PostQuitMessage(0);
}
