// Objects that carry out menu and accelerator commands: a table from command
// id to handler, consulted along the route from view to frame to application.
#pragma once

#include "framework/win32.h"

#include <functional>
#include <map>

// The code a plain command (menu item or accelerator) travels with.
constexpr int CN_COMMAND = 0;

class CCmdTarget {
public:
    CCmdTarget() = default;
    virtual ~CCmdTarget() = default;
    CCmdTarget(const CCmdTarget&) = delete;
    CCmdTarget& operator=(const CCmdTarget&) = delete;

    // Runs the handler of command nID and returns TRUE, or returns FALSE when
    // this object has none. With pHandlerInfo set it only says whether a
    // handler exists and runs nothing.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo);

protected:
    // Binds command nID to handler; the constructor of each class lists its
    // commands, as a message map would.
    void AddCommand(UINT nID, std::function<void()> handler);

private:
    std::map<UINT, std::function<void()>> m_commands;
};
