// Per-monitor resolution with a fallback to the system's.
#include "framework/dpi.h"

#include "framework/gdi_handles.h"
#include "framework/module.h"

namespace framework {

namespace {

// Where the per-monitor functions live, when the system has them; loaded
// with the program.
const CModule& User32()
{
    static const CModule user32 = CModule::Loaded(L"user32.dll");
    return user32;
}

UINT ScreenDpi()
{
    const CDisplayDC screen(nullptr);
    if (screen.Get() == nullptr)
        return USER_DEFAULT_SCREEN_DPI;
    const int dpi = GetDeviceCaps(screen.Get(), LOGPIXELSY);
    return dpi > 0 ? static_cast<UINT>(dpi) : USER_DEFAULT_SCREEN_DPI;
}

}  // namespace

UINT WindowDpi(HWND hwnd)
{
    using Function = UINT(WINAPI*)(HWND);
    static const Function getDpiForWindow = User32().Proc<Function>("GetDpiForWindow");
    if (getDpiForWindow != nullptr && hwnd != nullptr) {
        const UINT dpi = getDpiForWindow(hwnd);
        if (dpi != 0)
            return dpi;
    }
    return SystemDpi();
}

UINT SystemDpi()
{
    using Function = UINT(WINAPI*)();
    static const Function getDpiForSystem = User32().Proc<Function>("GetDpiForSystem");
    if (getDpiForSystem != nullptr) {
        const UINT dpi = getDpiForSystem();
        if (dpi != 0)
            return dpi;
    }
    return ScreenDpi();
}

BOOL AdjustWindowRectForDpi(RECT* rect, DWORD style, BOOL menu, DWORD exStyle, UINT dpi)
{
    using Function = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    static const Function adjustForDpi = User32().Proc<Function>("AdjustWindowRectExForDpi");
    if (adjustForDpi != nullptr)
        return adjustForDpi(rect, style, menu, exStyle, dpi);
    return AdjustWindowRectEx(rect, style, menu, exStyle);
}

int SystemMetricForDpi(int index, UINT dpi)
{
    using Function = int(WINAPI*)(int, UINT);
    static const Function metricForDpi = User32().Proc<Function>("GetSystemMetricsForDpi");
    if (metricForDpi != nullptr)
        return metricForDpi(index, dpi);
    return GetSystemMetrics(index);
}

}  // namespace framework
