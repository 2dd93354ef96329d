// A custom-drawn window as assistive technology sees it: the client object
// (IAccessible) that WM_GETOBJECT asks for, whose name, value and description
// the window supplies, and the events that tell a screen reader they changed.
// The accessibility DLL and COM are set up on the first request, never at
// start; nothing is set up in a process that no client asks.
#pragma once

#include "framework/win32.h"

#include <functional>
#include <memory>
#include <string>

struct CAccessibleTexts {
    std::wstring name;
    std::wstring value;
    std::wstring description;
};

class CAccessibleClient {
public:
    // texts is asked on every read, so a client always reads the present.
    explicit CAccessibleClient(std::function<CAccessibleTexts()> texts);
    // Disconnects.
    ~CAccessibleClient();
    CAccessibleClient(const CAccessibleClient&) = delete;
    CAccessibleClient& operator=(const CAccessibleClient&) = delete;

    // Answers WM_GETOBJECT sent to hwnd with the client object when it asks
    // for OBJID_CLIENT. False for any other object, after Disconnect, or
    // where the object cannot be made: the message then goes to the default
    // processing.
    bool OnGetObject(HWND hwnd, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // From now on every object given out fails every call with
    // CO_E_OBJNOTCONNECTED and no new one is given: for a window going away.
    void Disconnect();

    // Tell the clients that listen that the client object's name or value
    // changed; call them after the change, so a client that reads at once
    // reads the new text.
    static void NotifyNameChange(HWND hwnd);
    static void NotifyValueChange(HWND hwnd);

    // What the objects given out share with their window.
    struct Link;

private:
    std::shared_ptr<Link> m_link;
};
