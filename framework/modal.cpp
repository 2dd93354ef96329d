// The count of running modal loops and the close that waits for them.
#include "framework/modal.h"

namespace {

// One user-interface thread: plain counters suffice.
int g_depth = 0;
HWND g_closeAfterwards = nullptr;

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
    if (--g_depth > 0 || g_closeAfterwards == nullptr)
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

void ModalLoop::CancelThenClose(HWND window)
{
    g_closeAfterwards = window;
    EndMenu();
    EnumThreadWindows(GetCurrentThreadId(), &CancelDialog, 0);
}
