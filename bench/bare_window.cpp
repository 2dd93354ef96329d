// The reference for the program's measurements: the least a window of the
// same shape needs. An 840x640 frame with a menu bar of four items and a
// child view that shows a black rectangle and six text lines, composed once
// in a memory bitmap and shown with one BitBlt per paint. With --timer MS the
// view also runs a timer that does nothing, as the game's gravity timer would.
#include "framework/gdi_handles.h"
#include "framework/win32.h"

#include <cwchar>
#include <memory>

namespace {

constexpr int kViewId = 0xE900;
constexpr UINT_PTR kTimerId = 2001;
const wchar_t kFrameClass[] = L"BareFrame";
const wchar_t kViewClass[] = L"BareView";

// The picture, re-made when the view's size changes.
struct BackBuffer {
    BackBuffer(HDC screen, int w, int h)
        : dc(CreateCompatibleDC(screen)),
          bitmap(CreateCompatibleBitmap(screen, w, h)),
          selection(dc.Get(), bitmap.Get()),
          width(w),
          height(h)
    {
    }
    CMemoryDC dc;
    CGdiObject<HBITMAP> bitmap;
    CGdiSelection selection;
    int width;
    int height;
};

std::unique_ptr<BackBuffer> g_buffer;

void Compose(HWND view, int width, int height)
{
    g_buffer.reset();
    {
        const CDisplayDC screen(view);
        g_buffer = std::make_unique<BackBuffer>(screen.Get(), width, height);
    }
    if (g_buffer->dc.Get() == nullptr || g_buffer->bitmap.Get() == nullptr)
        return;
    const HDC dc = g_buffer->dc.Get();
    RECT all{0, 0, width, height};
    FillRect(dc, &all, GetSysColorBrush(COLOR_WINDOW));
    RECT well{96, 72, 408, 552};
    FillRect(dc, &well, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    const wchar_t* lines[] = {L"Use numeric keypad to play::",
                              L"Current speed is 3",
                              L"Press p to pause",
                              L"Press v to preview objects",
                              L"Press q or <ESC> to exit the program",
                              L"Current score is 0"};
    int y = 72;
    for (const wchar_t* line : lines) {
        TextOutW(dc, 456, y, line, static_cast<int>(std::wcslen(line)));
        y += 24;
    }
}

LRESULT CALLBACK ViewProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
        case WM_ERASEBKGND:
            return 1;
        case WM_SIZE:
            if (!g_buffer || LOWORD(lParam) != g_buffer->width || HIWORD(lParam) != g_buffer->height)
                Compose(hwnd, LOWORD(lParam), HIWORD(lParam));
            return 0;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(hwnd, &ps);
            if (g_buffer)
                BitBlt(dc, 0, 0, g_buffer->width, g_buffer->height, g_buffer->dc.Get(), 0, 0, SRCCOPY);
            EndPaint(hwnd, &ps);
            return 0;
        }
        case WM_TIMER:
            return 0;
        default:
            return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

LRESULT CALLBACK FrameProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
        case WM_SIZE: {
            HWND view = GetDlgItem(hwnd, kViewId);
            if (view != nullptr)
                MoveWindow(view, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
            return 0;
        }
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

HMENU MakeMenu()
{
    HMENU bar = CreateMenu();
    const wchar_t* items[] = {L"File", L"Font", L"Options", L"About"};
    UINT id = 100;
    for (const wchar_t* item : items)
        AppendMenuW(bar, MF_STRING, id++, item);
    return bar;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int)
{
    int timerMs = 0;
    if (const wchar_t* option = std::wcsstr(commandLine, L"--timer "))
        timerMs = static_cast<int>(std::wcstol(option + 8, nullptr, 10));

    WNDCLASSW frameClass{};
    frameClass.lpfnWndProc = FrameProc;
    frameClass.hInstance = instance;
    frameClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    frameClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    frameClass.lpszClassName = kFrameClass;
    WNDCLASSW viewClass{};
    viewClass.style = CS_HREDRAW | CS_VREDRAW;
    viewClass.lpfnWndProc = ViewProc;
    viewClass.hInstance = instance;
    viewClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    viewClass.lpszClassName = kViewClass;
    if (RegisterClassW(&frameClass) == 0 || RegisterClassW(&viewClass) == 0)
        return 1;

    const int width = 840;
    const int height = 640;
    HWND frame = CreateWindowExW(0, kFrameClass, L"bare window", WS_OVERLAPPEDWINDOW,
                                 (GetSystemMetrics(SM_CXSCREEN) - width) / 2, 106, width, height, nullptr,
                                 MakeMenu(), instance, nullptr);
    if (frame == nullptr)
        return 1;
    RECT client{};
    GetClientRect(frame, &client);
    HWND view = CreateWindowExW(WS_EX_CLIENTEDGE, kViewClass, L"", WS_CHILD | WS_VISIBLE, 0, 0, client.right,
                                client.bottom, frame, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kViewId)),
                                instance, nullptr);
    if (view == nullptr)
        return 1;
    if (timerMs > 0)
        SetTimer(view, kTimerId, static_cast<UINT>(timerMs), nullptr);
    ShowWindow(frame, SW_SHOW);
    UpdateWindow(frame);

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
