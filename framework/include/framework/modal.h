// Every message of our windows and dialogs is handled inside a HandlerScope,
// which the window and dialog procedures open where each message enters; and
// every nested loop of the program (a dialog, a message box, the font
// dialog, a popup menu, the menu bar's and the window menu's loops, a move
// or size; ours, the system's, or one a handler opens by a direct call) runs
// inside one of those handlers. A close asked for while a handler of ours is
// below its own ends the loops as cancelled and waits for the outermost
// handler to return (why: framework/modal.cpp). Nothing is to be placed
// around a loop for this.
#pragma once

#include "framework/win32.h"

class HandlerScope {
public:
    // Opened by a window or dialog procedure around one message's handler.
    HandlerScope(HWND hwnd, UINT message, WPARAM wParam);
    // A close that waited for this handler goes on to the one below it, or,
    // from the outermost one, is carried out.
    ~HandlerScope();
    HandlerScope(const HandlerScope&) = delete;
    HandlerScope& operator=(const HandlerScope&) = delete;

    // Called by the handler of a window's close: true when a handler of ours
    // is below it, and the close then waits (the loops running now have been
    // asked to end as cancelled); false when the window may go at once.
    static bool CloseMustWait(HWND window);
    // True while a close waits for the handlers below it to return.
    static bool CloseWaiting();
    // True when the current handler runs inside another handler of ours.
    static bool InsideAnotherHandler();

private:
    // Ends as cancelled every loop that runs inside this handler now.
    bool EndLoopsInside() const;
    void CarryOutClose() const;

    HandlerScope* m_outer;
    HWND m_hwnd;
    UINT m_message;
    WPARAM m_wParam;
    // A close that waits for this handler to return, and whether it found
    // loops to end (it is then posted, for the thread's own loop).
    HWND m_closeWindow = nullptr;
    bool m_closeEndedLoops = false;
};

namespace modal {

// True while the thread is in a menu, by the system's report.
bool MenuRunning();

}  // namespace modal
