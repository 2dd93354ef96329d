// A real main frame with its game view, made the way the program makes it,
// and a message pump that runs until a condition holds or a deadline passes.
#pragma once

#include "control/keytable.h"
#include "framework/app.h"
#include "shell/childview.h"
#include "shell/invariant_report.h"
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

// Runs work inside a handler of a window of ours, where the program runs
// every dialog and menu: a close that arrives meanwhile waits for it.
void RunInsideHandler(const std::function<void()>& work);

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
    InvariantReport m_invariantReport;
    CMainFrame* m_frame = nullptr;  // deletes itself with its window
    HWND m_frameWindow = nullptr;
};

// Key codes of the game's keys: virtual key and scan code.
using GameKey = KeyCode;
constexpr GameKey kKeyG = keyFor(CommandKind::Start);
constexpr GameKey kKeyP = keyFor(CommandKind::Pause);
constexpr GameKey kKeyI = keyFor(CommandKind::SpeedUp);
constexpr GameKey kKeyD = keyFor(CommandKind::SpeedDown);
constexpr GameKey kKeyV = keyFor(CommandKind::Preview);
constexpr GameKey kKeyQ = keyFor(CommandKind::Quit);
constexpr GameKey kKeyEsc = kEscapeKey;
constexpr GameKey kKeyLeft = keyFor(CommandKind::MoveLeft);
constexpr GameKey kKeyRight = keyFor(CommandKind::MoveRight);
