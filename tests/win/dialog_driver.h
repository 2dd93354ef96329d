// Drives a modal dialog from inside the test's own thread: while DoModal's
// message loop runs, a timer on a message-only window carries out a list of
// steps one after another. Each step is polled until it reports done; the
// whole list must finish before a deadline, otherwise every dialog of the
// thread is ended so the test can report where it stuck instead of hanging.
#pragma once

#include "framework/win32.h"

#include <functional>
#include <string>
#include <vector>

struct DriverStep {
    std::string name;
    // Polled on each timer tick until it returns true.
    std::function<bool()> poll;
};

class DialogDriver {
public:
    explicit DialogDriver(std::vector<DriverStep> steps, DWORD timeoutMs = 10000);
    ~DialogDriver();

    DialogDriver(const DialogDriver&) = delete;
    DialogDriver& operator=(const DialogDriver&) = delete;

    bool finished() const { return m_next == m_steps.size(); }
    // The step that never completed, or empty.
    std::string stuckAt() const;

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void OnTick();

    std::vector<DriverStep> m_steps;
    size_t m_next = 0;
    ULONGLONG m_deadline;
    bool m_timedOut = false;
    bool m_inTick = false;
    HWND m_window = nullptr;
};

// Windows of this thread, for finding the dialogs a test opened.
HWND FindThreadDialogWithControl(int controlId);
// The popup menu on the screen, or null.
HWND FindOpenPopupMenu();
// The message box (a dialog with the 0xFFFF text control) owned by owner.
HWND FindMessageBoxOwnedBy(HWND owner);
std::wstring WindowText(HWND hwnd);
std::wstring ClassName(HWND hwnd);
// Ends every dialog and message box of this thread; used after a failure.
void EndAllThreadDialogs();
