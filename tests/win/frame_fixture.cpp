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
