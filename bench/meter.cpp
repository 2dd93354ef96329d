// Runs in the measured program's Wine prefix and does what the measurement
// cannot do from Linux: finds the windows, reads pixels, and has a view
// repaint itself many times while another thread samples the screen. One
// command per line on stdin, one answer line on stdout ("ok ..." or "err ...").
//
//   metrics                      ok (a liveness check)
//   find <caption>               ok <frame> <view with id 0xE900>, 0 0 when absent
//   count <hwnd> <l> <t> <r> <b> <rrggbb>
//                                ok <pixels of that colour in the client rectangle>
//   repaint <view> <n>           n times: WM_SIZE with the same size (a full
//                                repaint for the game), then a synchronous
//                                redraw with erase: ok <milliseconds>
//   uncover <view> <n>           n synchronous redraws with erase, nothing else
//   flash <view> <x> <y> <n>     n repaints as above while a second thread reads
//                                the screen pixel at client (x, y):
//                                ok <samples> <white samples>
//   key <view> <vk>              posts a key press
//   post <hwnd> <msg>            posts a message with zero parameters
//   quit
#include "framework/win32.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int kViewId = 0xE900;

constexpr COLORREF Colour(unsigned r, unsigned g, unsigned b)
{
    return static_cast<COLORREF>(r | (g << 8) | (b << 16));
}

std::wstring Widen(const std::string& text)
{
    if (text.empty())
        return {};
    const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size);
    return out;
}

struct Search {
    std::wstring caption;
    HWND found;
};

BOOL CALLBACK FindByCaption(HWND hwnd, LPARAM param)
{
    auto* search = reinterpret_cast<Search*>(param);
    if (!IsWindowVisible(hwnd))
        return TRUE;
    wchar_t text[256] = {};
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(hwnd, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000, &copied))
        return TRUE;
    if (search->caption == text) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

HWND ParseWindow(const std::string& token)
{
    HWND hwnd = reinterpret_cast<HWND>(static_cast<uintptr_t>(std::strtoull(token.c_str(), nullptr, 10)));
    return IsWindow(hwnd) ? hwnd : nullptr;
}

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void Repaint(HWND view, bool resize)
{
    if (resize) {
        RECT client{};
        GetClientRect(view, &client);
        SendMessageW(view, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
    }
    RedrawWindow(view, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

// Pixels of the colour (0xRRGGBB) in a rectangle of the window's client
// area, read from the screen in one copy; -1 when the screen cannot be read.
long long CountColour(HWND hwnd, int left, int top, int right, int bottom, COLORREF rgb)
{
    const int width = right - left;
    const int height = bottom - top;
    if (width <= 0 || height <= 0)
        return 0;
    // Another process's window DC cannot always be read under Wine; the
    // screen can, at the client area's place.
    POINT origin{left, top};
    ClientToScreen(hwnd, &origin);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    long long count = -1;
    if (dib != nullptr && bits != nullptr) {
        HGDIOBJ old = SelectObject(memory, dib);
        if (BitBlt(memory, 0, 0, width, height, screen, origin.x, origin.y, SRCCOPY)) {
            GdiFlush();
            count = 0;
            // DIB pixels are 0x00RRGGBB.
            const auto* pixels = static_cast<const DWORD*>(bits);
            for (long long i = 0; i < static_cast<long long>(width) * height; ++i)
                count += (pixels[i] & 0xFFFFFF) == rgb ? 1 : 0;
        }
        SelectObject(memory, old);
        DeleteObject(dib);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return count;
}

struct Sampler {
    POINT at;
    std::atomic<bool> stop{false};
    long long samples = 0;
    long long white = 0;
};

DWORD WINAPI Sample(LPVOID param)
{
    auto* sampler = static_cast<Sampler*>(param);
    HDC screen = GetDC(nullptr);
    while (!sampler->stop.load()) {
        const COLORREF colour = GetPixel(screen, sampler->at.x, sampler->at.y);
        ++sampler->samples;
        if (colour == Colour(255, 255, 255))
            ++sampler->white;
    }
    ReleaseDC(nullptr, screen);
    return 0;
}

std::string Run(const std::string& line)
{
    std::istringstream in(line);
    std::string command;
    in >> command;
    std::vector<std::string> args;
    for (std::string arg; in >> arg;)
        args.push_back(arg);
    auto number = [&](size_t i) { return i < args.size() ? std::atoll(args[i].c_str()) : 0LL; };
    HWND hwnd = args.empty() ? nullptr : ParseWindow(args[0]);

    if (command == "metrics")
        return "ok";
    if (command == "find") {
        Search search{Widen(line.size() > 5 ? line.substr(5) : ""), nullptr};
        EnumWindows(FindByCaption, reinterpret_cast<LPARAM>(&search));
        HWND view = search.found != nullptr ? GetDlgItem(search.found, kViewId) : nullptr;
        return "ok " + std::to_string(reinterpret_cast<uintptr_t>(search.found)) + " " +
               std::to_string(reinterpret_cast<uintptr_t>(view));
    }
    if (hwnd == nullptr)
        return "err no such window";
    if (command == "count" && args.size() == 6) {
        const COLORREF wanted = static_cast<COLORREF>(std::strtoul(args[5].c_str(), nullptr, 16));
        const long long count = CountColour(hwnd, static_cast<int>(number(1)), static_cast<int>(number(2)),
                                            static_cast<int>(number(3)), static_cast<int>(number(4)), wanted);
        return count < 0 ? "err cannot read the screen" : "ok " + std::to_string(count);
    }
    if (command == "repaint" || command == "uncover") {
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        for (long long i = 0; i < number(1); ++i)
            Repaint(hwnd, command == "repaint");
        QueryPerformanceCounter(&end);
        return "ok " + std::to_string(Milliseconds(start, end));
    }
    if (command == "flash") {
        Sampler sampler;
        sampler.at = POINT{static_cast<LONG>(number(1)), static_cast<LONG>(number(2))};
        ClientToScreen(hwnd, &sampler.at);
        HANDLE thread = CreateThread(nullptr, 0, Sample, &sampler, 0, nullptr);
        if (thread == nullptr)
            return "err no sampling thread";
        for (long long i = 0; i < number(3); ++i)
            Repaint(hwnd, true);
        sampler.stop = true;
        WaitForSingleObject(thread, INFINITE);
        CloseHandle(thread);
        return "ok " + std::to_string(sampler.samples) + " " + std::to_string(sampler.white);
    }
    if (command == "key") {
        const UINT vk = static_cast<UINT>(number(1));
        const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC)) << 16;
        PostMessageW(hwnd, WM_KEYDOWN, vk, scan | 1);
        PostMessageW(hwnd, WM_KEYUP, vk, scan | 1 | (3LL << 30));
        return "ok";
    }
    if (command == "post") {
        PostMessageW(hwnd, static_cast<UINT>(number(1)), 0, 0);
        return "ok";
    }
    return "err unknown command " + command;
}

}  // namespace

int main()
{
    std::string line;
    while (std::getline(std::cin, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line == "quit")
            break;
        std::cout << Run(line) << std::endl;
    }
    return 0;
}
