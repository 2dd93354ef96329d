// The main frame fixture and the message pump of the window tests.
#include "frame_fixture.h"

#include "resource.h"

void PumpPending(bool* quitSeen, WPARAM* quitCode)
{
    MSG msg{};
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            if (quitSeen != nullptr)
                *quitSeen = true;
            if (quitCode != nullptr)
                *quitCode = msg.wParam;
            continue;
        }
        CWnd* mainWnd = AfxGetMainWnd();
        if (mainWnd != nullptr && mainWnd->PreTranslateMessage(&msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs, bool* quitSeen, WPARAM* quitCode)
{
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        PumpPending(quitSeen, quitCode);
        if (condition())
            return true;
        if (GetTickCount64() >= deadline)
            return false;
        // Waits for the next message, not for time: returns as soon as one comes.
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
}

namespace {

// A message-only window whose one handler runs the work it is sent.
class HandlerWindow : public CWnd {
public:
    static constexpr UINT kRun = WM_APP + 0x40;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message != kRun)
            return CWnd::WindowProc(message, wParam, lParam);
        (*reinterpret_cast<const std::function<void()>*>(lParam))();
        return 0;
    }
};

}  // namespace

void RunInsideHandler(const std::function<void()>& work)
{
    HandlerWindow window;
    if (!window.CreateEx(0, nullptr, nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr)) {
        ADD_FAILURE() << "no window to run a handler in";
        return;
    }
    SendMessageW(window.m_hWnd, HandlerWindow::kRun, 0, reinterpret_cast<LPARAM>(&work));
}

void GameWindowTest::SetUp()
{
    m_frame = new CMainFrame;
    m_app.m_pMainWnd = m_frame;
    ASSERT_TRUE(m_frame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, nullptr));
    m_frameWindow = m_frame->m_hWnd;
    m_frame->ShowWindow(SW_SHOW);
    m_frame->UpdateWindow();
    PumpPending();
}

void GameWindowTest::TearDown()
{
    if (frameAlive())
        DestroyWindow(m_frameWindow);
    // Drops the quit message the main window's end posts, so it cannot end
    // a later test's loops.
    PumpPending();
    m_app.m_pMainWnd = nullptr;
}

void GameWindowTest::PressKey(UINT vk, UINT scan)
{
    PostMessageW(viewWindow(), WM_KEYDOWN, vk, static_cast<LPARAM>(1 | (scan << 16)));
    PumpPending();
}
