// A real main frame with its game view, made the way the program makes it,
// and a message pump that runs until a condition holds or a deadline passes.
#pragma once

#include "framework/app.h"
#include "shell/childview.h"
#include "shell/mainfrm.h"

#include <gtest/gtest.h>

#include <functional>

// Dispatches every message queued now, accelerators first as the program's
// loop does. A quit message is noted, not acted on.
void PumpPending(bool* quitSeen = nullptr, WPARAM* quitCode = nullptr);
// Pumps until condition() holds; false when timeoutMs passed first. A quit
// message is noted as by PumpPending.
bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs = 5000, bool* quitSeen = nullptr,
               WPARAM* quitCode = nullptr);

class GameWindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    CChildView& view() { return m_frame->view(); }
    HWND frameWindow() const { return m_frameWindow; }
    HWND viewWindow() { return view().m_hWnd; }
    bool frameAlive() const { return IsWindow(m_frameWindow) != FALSE; }

    // Posts a key press to the view as the keyboard would and handles it.
    void PressKey(UINT vk, UINT scan);

    CWinApp m_app;
    CMainFrame* m_frame = nullptr;  // deletes itself with its window
    HWND m_frameWindow = nullptr;
};

// Key codes of the game's keys: virtual key and scan code.
struct GameKey {
    UINT vk;
    UINT scan;
};
constexpr GameKey kKeyG{0x47, 0x22};
constexpr GameKey kKeyP{0x50, 0x19};
constexpr GameKey kKeyI{0x49, 0x17};
constexpr GameKey kKeyD{0x44, 0x20};
constexpr GameKey kKeyV{0x56, 0x2F};
constexpr GameKey kKeyQ{0x51, 0x10};
constexpr GameKey kKeyEsc{VK_ESCAPE, 0x01};
constexpr GameKey kKeyLeft{VK_LEFT, 0x4B};
constexpr GameKey kKeyRight{VK_RIGHT, 0x4D};
