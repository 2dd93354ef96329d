// The application object, its message loop and the program's start and end;
// strings from the program's resources and its message boxes.
#include "framework/app.h"

#include "framework/module.h"
#include "framework/standard_ids.h"

namespace {

// The one application object; set by its constructor.
CWinApp* g_app = nullptr;

}  // namespace

CWinApp::CWinApp()
{
    g_app = this;
    AddCommand(ID_APP_EXIT, [this] { OnAppExit(); });
}

CWinApp::~CWinApp()
{
    if (g_app == this)
        g_app = nullptr;
}

BOOL CWinApp::InitInstance()
{
    return TRUE;
}

int CWinApp::ExitInstance()
{
    return m_exitCode;
}

int CWinApp::Run()
{
    MSG msg{};
    for (;;) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0)
            break;
        if (got == -1) {
            m_exitCode = -1;
            return m_exitCode;
        }
        // The main frame takes its accelerators before a key reaches a window.
        if (m_pMainWnd != nullptr && m_pMainWnd->PreTranslateMessage(&msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    m_exitCode = static_cast<int>(msg.wParam);
    return m_exitCode;
}

void CWinApp::SetAppID(LPCWSTR lpszAppID)
{
    m_appId = lpszAppID != nullptr ? lpszAppID : L"";
    if (lpszAppID == nullptr)
        return;
    // Loaded at run time: older systems lack the function, and nothing else
    // of the shell is needed.
    const CModule shell(L"shell32.dll");
    using SetAppIdFunction = HRESULT(WINAPI*)(PCWSTR);
    if (const auto setAppId = shell.Proc<SetAppIdFunction>("SetCurrentProcessExplicitAppUserModelID"))
        setAppId(lpszAppID);
}

void CWinApp::SetRegistryKey(LPCWSTR lpszRegistryKey)
{
    m_registryKey = lpszRegistryKey != nullptr ? lpszRegistryKey : L"";
}

BOOL CWinApp::EnableTaskbarInteraction(BOOL bEnable)
{
    if (m_pMainWnd != nullptr)
        return FALSE;
    m_taskbarInteraction = bEnable != FALSE;
    return TRUE;
}

void CWinApp::OnAppExit()
{
    if (m_pMainWnd != nullptr)
        m_pMainWnd->SendMessage(WM_CLOSE);
}

CWinApp* AfxGetApp()
{
    return g_app;
}

std::wstring LoadResourceString(UINT id)
{
    // With a zero buffer size LoadStringW hands out a pointer into the
    // resource itself, which is not NUL-terminated.
    const wchar_t* resource = nullptr;
    const int length = LoadStringW(GetModuleHandleW(nullptr), id, reinterpret_cast<LPWSTR>(&resource), 0);
    if (length <= 0 || resource == nullptr)
        return {};
    return std::wstring(resource, static_cast<size_t>(length));
}

int AfxMessageBox(const std::wstring& text, UINT type, HWND owner)
{
    if (owner == nullptr)
        owner = GetActiveWindow();
    const std::wstring caption = LoadResourceString(AFX_IDS_APP_TITLE);
    return MessageBoxW(owner, text.c_str(), caption.c_str(), type);
}

int AfxMessageBox(UINT promptId, UINT type, HWND owner)
{
    return AfxMessageBox(LoadResourceString(promptId), type, owner);
}

CWnd* AfxGetMainWnd()
{
    return g_app != nullptr ? g_app->m_pMainWnd : nullptr;
}

int AfxWinMain()
{
    CWinApp* app = AfxGetApp();
    if (app == nullptr)
        return -1;
    framework::SearchSystemFolderOnly();
    if (!app->InitInstance())
        return app->ExitInstance();
    app->Run();
    return app->ExitInstance();
}
