// Modal loops run inside a window's message handler: dialogs, message
// boxes, the font dialog, popup menus, the menu bar's and the window menu's
// loops, and the system's own menu and move or size loops. The handler and
// its window must outlive the loop, so a window asked to close meanwhile
// ends the loops first and closes once the outermost one has returned.
#pragma once

#include "framework/win32.h"

class ModalLoop {
public:
    // Marks a modal loop as running for the guard's lifetime.
    ModalLoop();
    // The same for the move or size of a window, which a close cancels.
    explicit ModalLoop(HWND moving);
    // The outermost loop's end carries out a close that waited for it.
    ~ModalLoop();
    ModalLoop(const ModalLoop&) = delete;
    ModalLoop& operator=(const ModalLoop&) = delete;

    // True while a loop of ours runs, or the thread is in a menu or in a
    // move or size loop, as the system reports it now.
    static bool Running();
    // True while the thread is in a menu, by the system's report.
    static bool MenuRunning();
    // True while a loop of ours runs: one that the guard counts.
    static bool OursRunning();
    // True while a close waits for the loops to end.
    static bool ClosePending();
    // Ends every dialog, menu, move and size of this thread as if cancelled,
    // and posts WM_CLOSE to window once no loop runs: when the outermost
    // guard goes, or at a timer tick after a loop of the system's ended.
    static void CancelThenClose(HWND window);
    // Posts the quit message (code 0), and again when the outermost loop
    // has returned, should a loop have swallowed the first.
    static void PostQuit();

private:
    // The move or size this guard's loop runs in, given back at its end.
    HWND m_outerMoving;
    int m_outerMovingDepth;
};
