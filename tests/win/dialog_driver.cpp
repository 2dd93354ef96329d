// Timer-driven steps for modal dialogs run by the test thread itself.
#include "dialog_driver.h"

namespace {

constexpr UINT_PTR kTimerId = 1;
constexpr UINT kTickMs = 10;
constexpr wchar_t kWindowClass[] = L"BrikfallDialogDriver";

void RegisterDriverClass()
{
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kWindowClass;
    RegisterClassW(&wc);  // fails harmlessly when already registered
}

template <typename Visit>
void ForEachThreadWindow(Visit visit)
{
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND hwnd, LPARAM param) -> BOOL {
            return (*reinterpret_cast<Visit*>(param))(hwnd) ? TRUE : FALSE;
        },
        reinterpret_cast<LPARAM>(&visit));
}

bool IsDialogWindow(HWND hwnd)
{
    return IsWindowVisible(hwnd) && ClassName(hwnd) == L"#32770";
}

}  // namespace

DialogDriver::DialogDriver(std::vector<DriverStep> steps, DWORD timeoutMs)
    : m_steps(std::move(steps)), m_deadline(GetTickCount64() + timeoutMs)
{
    RegisterDriverClass();
    m_window = CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(m_window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&DialogDriver::WindowProc));
    SetTimer(m_window, kTimerId, kTickMs, nullptr);
}

DialogDriver::~DialogDriver()
{
    KillTimer(m_window, kTimerId);
    DestroyWindow(m_window);
}

std::string DialogDriver::stuckAt() const
{
    if (finished())
        return {};
    return m_steps[m_next].name + (m_timedOut ? " (timed out)" : "");
}

LRESULT CALLBACK DialogDriver::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_TIMER && wParam == kTimerId) {
        auto* driver = reinterpret_cast<DialogDriver*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (driver != nullptr)
            driver->OnTick();
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

void DialogDriver::OnTick()
{
    // A step may start a nested modal loop that delivers further ticks.
    if (m_inTick || finished() || m_timedOut)
        return;
    m_inTick = true;
    if (GetTickCount64() > m_deadline) {
        m_timedOut = true;
        EndAllThreadDialogs();
    } else {
        while (!finished() && m_steps[m_next].poll())
            ++m_next;
    }
    m_inTick = false;
}

HWND FindThreadDialogWithControl(int controlId)
{
    HWND found = nullptr;
    ForEachThreadWindow([&](HWND hwnd) {
        if (IsDialogWindow(hwnd) && GetDlgItem(hwnd, controlId) != nullptr) {
            found = hwnd;
            return false;
        }
        return true;
    });
    return found;
}

HWND FindOpenPopupMenu()
{
    HWND menu = FindWindowW(L"#32768", nullptr);
    return menu != nullptr && IsWindowVisible(menu) ? menu : nullptr;
}

HWND FindMessageBoxOwnedBy(HWND owner)
{
    HWND found = nullptr;
    ForEachThreadWindow([&](HWND hwnd) {
        if (IsDialogWindow(hwnd) && GetWindow(hwnd, GW_OWNER) == owner &&
            GetDlgItem(hwnd, 0xFFFF) != nullptr) {
            found = hwnd;
            return false;
        }
        return true;
    });
    return found;
}

std::wstring WindowText(HWND hwnd)
{
    const int length = GetWindowTextLengthW(hwnd);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(hwnd, text.data(), length + 1);
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}

std::wstring ClassName(HWND hwnd)
{
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    return name;
}

void EndAllThreadDialogs()
{
    std::vector<HWND> dialogs;
    ForEachThreadWindow([&](HWND hwnd) {
        if (IsDialogWindow(hwnd))
            dialogs.push_back(hwnd);
        return true;
    });
    for (HWND dialog : dialogs)
        EndDialog(dialog, IDCANCEL);
}
