// The application object: the one per process that starts the program,
// runs its message loop and owns the route's last stop for commands; and
// the program's strings and message boxes captioned with its name.
#pragma once

#include "framework/cmdtarget.h"
#include "framework/win32.h"
#include "framework/wnd.h"

#include <string>

class CWinApp : public CCmdTarget {
public:
    // Becomes the process's application object. Its name is the string
    // AFX_IDS_APP_TITLE, which captions its message boxes.
    CWinApp();
    ~CWinApp() override;

    // Called once before the message loop; FALSE ends the program.
    virtual BOOL InitInstance();
    // Called once at the end; the result is the process's exit code.
    virtual int ExitInstance();
    // The message loop; returns when the quit message arrives, with its code.
    virtual int Run();

    // Gives the process an explicit taskbar application id where the system
    // supports one; silently nothing where it does not.
    void SetAppID(LPCWSTR lpszAppID);
    // Names the per-user profile key. Nothing is read or written there.
    void SetRegistryKey(LPCWSTR lpszRegistryKey);
    // Taskbar integration can be chosen only before the main window exists.
    BOOL EnableTaskbarInteraction(BOOL bEnable = TRUE);

    CWnd* m_pMainWnd = nullptr;

protected:
    // File > Exit: the main window is asked to close, as by its close box.
    void OnAppExit();

private:
    std::wstring m_registryKey;
    std::wstring m_appId;
    bool m_taskbarInteraction = true;
    int m_exitCode = 0;
};

CWinApp* AfxGetApp();

// A string from the program's string table; empty when it is missing.
std::wstring LoadResourceString(UINT id);

// A message box captioned with the application's name (AFX_IDS_APP_TITLE).
// Without an owner the thread's active window owns it.
int AfxMessageBox(const std::wstring& text, UINT type = MB_OK, HWND owner = nullptr);
int AfxMessageBox(UINT promptId, UINT type = MB_OK, HWND owner = nullptr);

// What the program's entry point runs: InitInstance, Run, ExitInstance.
int AfxWinMain();
