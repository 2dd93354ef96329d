// The reference for the program's measurements: the least a window of the
// same shape needs. An 840x640 frame with a menu bar of four items and a
// child view that shows a black rectangle and six text lines, composed once
// in a memory bitmap and shown with one BitBlt per paint. With --timer MS the
// view also runs a timer that does nothing. With --step MS the timer does the
// least a gravity step of the game must: it erases a shape of four cells, draws
// it one row lower with one pen and one brush and copies the changed rows to
// the window; every twentieth step it composes the whole picture again and
// repaints it, as a landing would.
#include "framework/gdi_handles.h"
#include "framework/win32.h"

#include <cwchar>
#include <memory>

namespace {

constexpr int kViewId = 0xE900;
constexpr UINT_PTR kTimerId = 2001;
constexpr int kCell = 24;
constexpr int kWellLeft = 96;
constexpr int kWellTop = 72;
constexpr int kStepsPerLanding = 20;
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

bool g_stepping = false;
int g_step = 0;

void DrawPicture(int width, int height)
{
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

void Compose(HWND view, int width, int height)
{
    g_buffer.reset();
    {
        const CDisplayDC screen(view);
        g_buffer = std::make_unique<BackBuffer>(screen.Get(), width, height);
    }
    if (g_buffer->dc.Get() == nullptr || g_buffer->bitmap.Get() == nullptr)
        return;
    DrawPicture(width, height);
}

// The cells of a bar of four in row, in the well's pixels; the well holds
// 20 rows, so the bar lands after 19 steps.
void ShapeCells(int row, RECT (&cells)[4])
{
    for (int i = 0; i < 4; ++i) {
        const int left = kWellLeft + (4 + i) * kCell;
        const int top = kWellTop + row * kCell;
        cells[i] = RECT{left, top, left + kCell, top + kCell};
    }
}

void Step(HWND view)
{
    if (!g_buffer || g_buffer->dc.Get() == nullptr)
        return;
    const int row = g_step % kStepsPerLanding;
    ++g_step;
    if (row == kStepsPerLanding - 1) {
        DrawPicture(g_buffer->width, g_buffer->height);
        InvalidateRect(view, nullptr, FALSE);
        return;
    }
    static const CGdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, RGB(255, 255, 255)));
    static const CGdiObject<HBRUSH> brush(CreateSolidBrush(RGB(0, 128, 255)));
    const HDC dc = g_buffer->dc.Get();
    RECT cells[4];
    ShapeCells(row, cells);
    for (const RECT& cell : cells)
        FillRect(dc, &cell, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    ShapeCells(row + 1, cells);
    {
        const CGdiSelection penChosen(dc, pen.Get());
        const CGdiSelection brushChosen(dc, brush.Get());
        for (const RECT& cell : cells)
            Rectangle(dc, cell.left, cell.top, cell.right, cell.bottom);
    }
    const int top = kWellTop + row * kCell;
    const CDisplayDC window(view);
    BitBlt(window.Get(), kWellLeft + 4 * kCell, top, 4 * kCell, 2 * kCell, dc, kWellLeft + 4 * kCell, top,
           SRCCOPY);
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
            if (g_stepping)
                Step(hwnd);
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
    if (const wchar_t* option = std::wcsstr(commandLine, L"--step ")) {
        timerMs = static_cast<int>(std::wcstol(option + 7, nullptr, 10));
        g_stepping = true;
    }

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
