// A small Win32 console program that the end-to-end tests, the soak and the
// measurement run in the game's Wine prefix to read what the Linux side
// cannot see: window handles, rects, states, control texts and the exact
// pixels of a window, and to have a view repaint itself many times. It reads
// one command per line on stdin and answers with one line on stdout,
// "ok ..." or "err <reason>", so one process serves a whole session.
//
// Commands (handles and numbers in decimal):
//   find <caption>            visible top-level windows with that caption: ok <n> <hwnd> <pid> ...
//   dialogs                   visible top-level dialogs (#32770): ok <n> <hwnd> ...
//   popups                    visible popup menus (#32768): ok <n> <hwnd> ...
//   child <hwnd> <id>         ok <hwnd of the child with that id, or 0>
//   rect <hwnd>               ok <window l t r b> <client l t r b in screen pixels>
//   state <hwnd>              ok <exists> <visible> <iconic> <enabled> <pid> <foreground>
//   text <hwnd> [<id>]        ok <text of the window or of its child with that id>
//   controls <hwnd>           ok <n>, then per child a tab, its id, a tab, its
//                             class, a tab and its text (tabs and line breaks
//                             in texts become spaces)
//   grab <hwnd> <path>        writes the client area as a binary PPM: ok <w> <h>
//   post <hwnd> <msg> <wparam> <lparam>
//   send <hwnd> <msg> <wparam> <lparam>
//                             SendMessage with a 5 s timeout: ok <result>, or err timeout;
//                             plain-number parameters only
//   menumode <hwnd>           ok <1 while the window's thread runs a menu loop, else 0>
//   guithread <hwnd>          ok <flags> <menu owner> <move/size window> <capture> of the
//                             window's thread (GetGUIThreadInfo)
//   settext <hwnd> <id> <text>
//                             sets the text of the window's child with that id
//   show <hwnd> <cmd>         ShowWindow with that command
//   metrics                   ok <SM_CYCAPTION> <SM_CYMENU> <SM_CXSCREEN> <SM_CYSCREEN> <SM_CXSIZE>
//   version                   ok <major> <minor> <build> of the Windows that the prefix
//                             reports, as RtlGetVersion gives it whatever a manifest says
//   globalflag                ok <NtGlobalFlag> of the probe's own process: the heap
//                             checks that the prefix's GlobalFlag turned on
//   ping <hwnd>               WM_NULL sent with a 2 s timeout: ok <milliseconds>, or ok -1
//                             when no answer came
//   windows <pid>             ok <windows of that process, top-level and children>
//   gdi <pid>                 ok <live GDI objects of that process>, then <type>:<count> for
//                             each type; read from Wine's handle table, since
//                             GetGuiResources gives 0 under Wine
//   count <hwnd> <l> <t> <r> <b> <rrggbb>
//                             ok <pixels of that colour in the client rectangle>, read
//                             from the screen
//   repaint <view> <n>        n times: WM_SIZE with the same size (a full repaint for the
//                             game), then a synchronous redraw with erase: ok <milliseconds>
//   uncover <view> <n>        n synchronous redraws with erase, nothing else: ok <milliseconds>
//   flash <view> <x> <y> <n>  n repaints as for repaint while a second thread reads the
//                             screen pixel at client (x, y): ok <samples> <white samples>
//   key <hwnd> <vk>           posts a key press and its release
//   accread <hwnd>            the window's client object as a screen reader reads it
//                             (oleacc): ok <role> <state>, then a tab, the name, a tab,
//                             the value, a tab and the description (line breaks as " / ")
//   accevents <hwnd> <vk> <ms>
//                             listens to name and value changes of the window's client
//                             object from outside (an out-of-context WinEvent hook),
//                             presses key vk (0: none) and pumps for ms: ok <n>, then
//                             per event a tab, "name" or "value", its object and child
//                             ids and the name read when it came
//   caret <hwnd>              ok <caret window> <l t r b> of the window's thread
//                             (GetGUIThreadInfo)
//   quit
#include "framework/gdi_handles.h"
#include "framework/text.h"
#include "framework/win32.h"

#include <oleacc.h>
#include <winternl.h>

// In ntdll since Windows 2000; the headers declare it only for drivers.
extern "C" NTSYSAPI NTSTATUS NTAPI RtlGetVersion(PRTL_OSVERSIONINFOW info);

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::string handleText(HWND hwnd)
{
    return std::to_string(reinterpret_cast<std::uintptr_t>(hwnd));
}

std::wstring className(HWND hwnd)
{
    wchar_t name[256] = {};
    GetClassNameW(hwnd, name, 256);
    return name;
}

// WM_GETTEXT works across processes where GetWindowTextW does not; the
// timeout keeps a hung target from hanging the tests.
std::wstring windowText(HWND hwnd)
{
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length)) {
        return {};
    }
    std::vector<wchar_t> buffer(length + 1, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(hwnd, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()),
                        SMTO_ABORTIFHUNG, 2000, &copied);
    return std::wstring(buffer.data(), copied);
}

struct TopLevelSearch {
    std::wstring className;  // empty: any class
    std::wstring caption;    // empty: any caption
    std::vector<HWND> found;
};

BOOL CALLBACK collectTopLevel(HWND hwnd, LPARAM param)
{
    auto* search = reinterpret_cast<TopLevelSearch*>(param);
    if (!IsWindowVisible(hwnd))
        return TRUE;
    if (!search->className.empty() && className(hwnd) != search->className)
        return TRUE;
    if (!search->caption.empty() && windowText(hwnd) != search->caption)
        return TRUE;
    search->found.push_back(hwnd);
    return TRUE;
}

std::vector<HWND> topLevel(const std::wstring& cls, const std::wstring& caption)
{
    TopLevelSearch search{cls, caption, {}};
    EnumWindows(collectTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

BOOL CALLBACK collectChild(HWND hwnd, LPARAM param)
{
    reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
    return TRUE;
}

// Parses a whole token as an unsigned or signed decimal number.
bool parseNumber(const std::string& token, long long& value)
{
    if (token.empty())
        return false;
    char* end = nullptr;
    value = std::strtoll(token.c_str(), &end, 10);
    return end != nullptr && *end == '\0';
}

bool parseWindow(const std::string& token, HWND& hwnd)
{
    long long value = 0;
    if (!parseNumber(token, value) || value <= 0)
        return false;
    hwnd = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(value));
    return IsWindow(hwnd) != FALSE;
}

// Copies a rectangle of a window's client area into 0x00RRGGBB pixels, top
// row first; an empty string or the reason it failed. The window's own DC
// serves unless onlyScreen; Wine cannot always copy from another process's
// window DC, and the screen then serves, at the rectangle's place on it.
std::string copyPixels(HWND hwnd, const RECT& part, bool onlyScreen, std::vector<DWORD>& pixels)
{
    const int width = part.right - part.left;
    const int height = part.bottom - part.top;
    if (width <= 0 || height <= 0)
        return "empty rectangle";
    POINT origin{part.left, part.top};
    ClientToScreen(hwnd, &origin);
    std::optional<CDisplayDC> windowDc;
    if (!onlyScreen)
        windowDc.emplace(hwnd);
    const CDisplayDC screenDc(nullptr);
    if ((windowDc && !windowDc->Get()) || !screenDc.Get())
        return "GetDC failed";
    const CMemoryDC memory(CreateCompatibleDC(screenDc.Get()));
    if (!memory.Get())
        return "CreateCompatibleDC failed";

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    const CGdiObject<HBITMAP> dib(CreateDIBSection(memory.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!dib.Get() || !bits)
        return "CreateDIBSection failed";
    const CGdiSelection selected(memory.Get(), dib.Get());
    const bool fromWindow =
        windowDc && BitBlt(memory.Get(), 0, 0, width, height, windowDc->Get(), part.left, part.top, SRCCOPY);
    if (!fromWindow &&
        !BitBlt(memory.Get(), 0, 0, width, height, screenDc.Get(), origin.x, origin.y, SRCCOPY)) {
        return "BitBlt failed";
    }
    GdiFlush();
    const auto* first = static_cast<const DWORD*>(bits);
    pixels.assign(first, first + static_cast<size_t>(width) * height);
    return {};
}

std::string grab(HWND hwnd, const std::string& path)
{
    RECT client{};
    GetClientRect(hwnd, &client);
    std::vector<DWORD> pixels;
    const std::string failure = copyPixels(hwnd, client, false, pixels);
    if (!failure.empty())
        return "err " + failure;
    const int width = client.right;
    const int height = client.bottom;

    std::ofstream out(framework::Widen(path).c_str(), std::ios::binary);
    if (!out)
        return "err cannot write " + path;
    out << "P6\n" << width << ' ' << height << "\n255\n";
    std::vector<char> row(static_cast<size_t>(width) * 3);
    for (int y = 0; y < height; ++y) {
        const DWORD* in = pixels.data() + static_cast<size_t>(y) * width;
        for (int x = 0; x < width; ++x) {
            row[x * 3 + 0] = static_cast<char>((in[x] >> 16) & 0xFF);
            row[x * 3 + 1] = static_cast<char>((in[x] >> 8) & 0xFF);
            row[x * 3 + 2] = static_cast<char>(in[x] & 0xFF);
        }
        out.write(row.data(), static_cast<std::streamsize>(row.size()));
    }
    if (!out)
        return "err write failed: " + path;
    return "ok " + std::to_string(width) + " " + std::to_string(height);
}

// Pixels of one colour (0xRRGGBB) in a rectangle of the client area, as the
// screen shows them.
std::string countColour(HWND hwnd, const RECT& part, DWORD rgb)
{
    if (part.right <= part.left || part.bottom <= part.top)
        return "ok 0";
    std::vector<DWORD> pixels;
    const std::string failure = copyPixels(hwnd, part, true, pixels);
    if (!failure.empty())
        return "err " + failure;
    long long count = 0;
    for (DWORD pixel : pixels)
        count += (pixel & 0xFFFFFF) == rgb ? 1 : 0;
    return "ok " + std::to_string(count);
}

double millisecondsSince(const LARGE_INTEGER& start)
{
    LARGE_INTEGER frequency{}, now{};
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    return 1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

// A full repaint for the game when resize is set (WM_SIZE with the same
// size makes it compose its picture anew); a repaint of an uncovered
// window otherwise.
void repaint(HWND view, bool resize)
{
    if (resize) {
        RECT client{};
        GetClientRect(view, &client);
        SendMessageW(view, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
    }
    RedrawWindow(view, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

std::string repaintTimes(HWND view, long long times, bool resize)
{
    LARGE_INTEGER start{};
    QueryPerformanceCounter(&start);
    for (long long i = 0; i < times; ++i)
        repaint(view, resize);
    return "ok " + std::to_string(millisecondsSince(start));
}

// Reads one screen pixel as fast as it can until told to stop: sees the
// intermediate states of another process's painting.
struct Sampler {
    POINT at{};
    std::atomic<bool> stop{false};
    long long samples = 0;
    long long white = 0;
};

DWORD WINAPI sample(LPVOID param)
{
    auto* sampler = static_cast<Sampler*>(param);
    const CDisplayDC screen(nullptr);
    while (!sampler->stop.load()) {
        ++sampler->samples;
        sampler->white += GetPixel(screen.Get(), sampler->at.x, sampler->at.y) == 0xFFFFFF ? 1 : 0;
    }
    return 0;
}

std::string flash(HWND view, POINT at, long long times)
{
    Sampler sampler;
    sampler.at = at;
    ClientToScreen(view, &sampler.at);
    const COwnedHandle<HANDLE, CloseHandle> thread(CreateThread(nullptr, 0, sample, &sampler, 0, nullptr));
    if (!thread.Get())
        return "err no sampling thread";
    for (long long i = 0; i < times; ++i)
        repaint(view, true);
    sampler.stop = true;
    WaitForSingleObject(thread.Get(), INFINITE);
    return "ok " + std::to_string(sampler.samples) + " " + std::to_string(sampler.white);
}

std::string pressKey(HWND hwnd, UINT vk)
{
    const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC)) << 16;
    if (!PostMessageW(hwnd, WM_KEYDOWN, vk, scan | 1) ||
        !PostMessageW(hwnd, WM_KEYUP, vk, scan | 1 | (LPARAM{3} << 30))) {
        return "err PostMessage failed";
    }
    return "ok";
}

BOOL CALLBACK collectAll(HWND hwnd, LPARAM param)
{
    auto* windows = reinterpret_cast<std::vector<HWND>*>(param);
    windows->push_back(hwnd);
    EnumChildWindows(hwnd, collectChild, param);
    return TRUE;
}

std::string countWindows(DWORD pid)
{
    std::vector<HWND> windows;
    EnumWindows(collectAll, reinterpret_cast<LPARAM>(&windows));
    size_t count = 0;
    for (HWND hwnd : windows) {
        DWORD owner = 0;
        GetWindowThreadProcessId(hwnd, &owner);
        count += owner == pid ? 1 : 0;
    }
    return "ok " + std::to_string(count);
}

struct ProcessHandle {
    HANDLE handle;
    ~ProcessHandle()
    {
        if (handle)
            CloseHandle(handle);
    }
};

// Wine keeps each process's GDI handle table in its own memory, as
// GDI_SHARED_MEMORY: 0x10000 entries of 24 bytes, the object's type at byte
// 14 and 0 for a free entry; the process's PEB points to it at 0xF8.
std::string countGdiObjects(DWORD pid)
{
    constexpr size_t kEntries = 0x10000;
    constexpr size_t kEntrySize = 24;
    constexpr size_t kTypeOffset = 14;
    constexpr size_t kPebTableOffset = 0xF8;
    ProcessHandle process{OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid)};
    if (!process.handle)
        return "err cannot open process " + std::to_string(pid);
    PROCESS_BASIC_INFORMATION info{};
    if (NtQueryInformationProcess(process.handle, ProcessBasicInformation, &info, sizeof info, nullptr) !=
        0) {
        return "err cannot query process";
    }
    std::uint64_t table = 0;
    SIZE_T read = 0;
    const auto* peb = reinterpret_cast<const char*>(info.PebBaseAddress);
    if (!ReadProcessMemory(process.handle, peb + kPebTableOffset, &table, sizeof table, &read) ||
        table == 0) {
        return "err no GDI handle table";
    }
    std::vector<unsigned char> entries(kEntries * kEntrySize);
    if (!ReadProcessMemory(process.handle, reinterpret_cast<const void*>(static_cast<std::uintptr_t>(table)),
                           entries.data(), entries.size(), &read)) {
        return "err cannot read the GDI handle table";
    }
    size_t count = 0;
    std::map<int, size_t> byType;
    for (size_t i = 0; i < read / kEntrySize; ++i) {
        const int type = entries[i * kEntrySize + kTypeOffset];
        if (type != 0) {
            ++count;
            ++byType[type];
        }
    }
    std::string answer = "ok " + std::to_string(count);
    for (const auto& [type, n] : byType) {
        answer += " " + std::to_string(type) + ":" + std::to_string(n);
    }
    return answer;
}

std::string ping(HWND hwnd)
{
    LARGE_INTEGER frequency{}, before{}, after{};
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&before);
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(hwnd, WM_NULL, 0, 0, SMTO_NORMAL, 2000, &result))
        return "ok -1";
    QueryPerformanceCounter(&after);
    const long long ms = (after.QuadPart - before.QuadPart) * 1000 / frequency.QuadPart;
    return "ok " + std::to_string(ms);
}

std::string listWindows(const std::vector<HWND>& windows, bool withPid)
{
    std::string answer = "ok " + std::to_string(windows.size());
    for (HWND hwnd : windows) {
        answer += " " + handleText(hwnd);
        if (withPid) {
            DWORD pid = 0;
            GetWindowThreadProcessId(hwnd, &pid);
            answer += " " + std::to_string(pid);
        }
    }
    return answer;
}

// COM for the accessibility commands, set up on the first of them.
bool comReady()
{
    static const bool ready = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    return ready;
}

std::string accText(IAccessible* object, HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*),
                    LONG child = CHILDID_SELF)
{
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = child;
    BSTR text = nullptr;
    if (FAILED((object->*get)(self, &text)) || text == nullptr)
        return "<none>";
    std::string utf8 = framework::Narrow(text);
    SysFreeString(text);
    for (size_t at = utf8.find_first_of("\t\n"); at != std::string::npos; at = utf8.find_first_of("\t\n", at))
        utf8.replace(at, 1, utf8[at] == '\n' ? " / " : " ");
    return utf8;
}

std::string accRead(HWND hwnd)
{
    if (!comReady())
        return "err CoInitializeEx failed";
    IAccessible* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(hwnd, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&object))) ||
        object == nullptr)
        return "err AccessibleObjectFromWindow failed";
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    VARIANT role{}, state{};
    object->get_accRole(self, &role);
    object->get_accState(self, &state);
    std::ostringstream out;
    out << "ok " << (role.vt == VT_I4 ? role.lVal : -1) << ' ' << (state.vt == VT_I4 ? state.lVal : -1)
        << '\t' << accText(object, &IAccessible::get_accName) << '\t'
        << accText(object, &IAccessible::get_accValue) << '\t'
        << accText(object, &IAccessible::get_accDescription);
    object->Release();
    return out.str();
}

struct HeardEvents {
    HWND window = nullptr;
    std::vector<std::string> heard;
};
HeardEvents* g_heard = nullptr;

void CALLBACK hearEvent(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG object, LONG child, DWORD, DWORD)
{
    if (g_heard == nullptr || hwnd != g_heard->window)
        return;
    std::string name = "<none>";
    IAccessible* accessible = nullptr;
    VARIANT self{};
    if (SUCCEEDED(AccessibleObjectFromEvent(hwnd, static_cast<DWORD>(object), static_cast<DWORD>(child),
                                            &accessible, &self)) &&
        accessible != nullptr) {
        name = accText(accessible, &IAccessible::get_accName, self.lVal);
        accessible->Release();
    }
    const char* kind = event == EVENT_OBJECT_NAMECHANGE    ? "name"
                       : event == EVENT_OBJECT_VALUECHANGE ? "value"
                                                           : "other";
    g_heard->heard.push_back(std::string(kind) + " " + std::to_string(object) + " " + std::to_string(child) +
                             " " + name);
}

std::string accEvents(HWND hwnd, UINT vk, long long ms)
{
    if (!comReady())
        return "err CoInitializeEx failed";
    HeardEvents events;
    events.window = hwnd;
    g_heard = &events;
    // The events come to this thread's message queue, made here first.
    MSG queue{};
    PeekMessageW(&queue, nullptr, 0, 0, PM_NOREMOVE);
    const HWINEVENTHOOK hook =
        SetWinEventHook(EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_VALUECHANGE, nullptr, hearEvent, 0, 0,
                        WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS);
    if (hook == nullptr) {
        g_heard = nullptr;
        return "err SetWinEventHook failed";
    }
    if (vk != 0)
        pressKey(hwnd, vk);
    // Out-of-context events come as messages to this thread.
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(ms);
    for (ULONGLONG now = GetTickCount64(); now < deadline; now = GetTickCount64()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(deadline - now), QS_ALLINPUT);
        MSG msg{};
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    UnhookWinEvent(hook);
    g_heard = nullptr;
    std::string answer = "ok " + std::to_string(events.heard.size());
    for (const std::string& heard : events.heard)
        answer += "\t" + heard;
    return answer;
}

std::string run(const std::string& line)
{
    std::istringstream in(line);
    std::string command;
    in >> command;
    std::vector<std::string> args;
    for (std::string arg; in >> arg;)
        args.push_back(arg);

    auto windowArg = [&](size_t index, HWND& hwnd) {
        return index < args.size() && parseWindow(args[index], hwnd);
    };
    auto numberArg = [&](size_t index, long long& value) {
        return index < args.size() && parseNumber(args[index], value);
    };

    HWND hwnd = nullptr;
    long long a = 0, b = 0, c = 0;

    if (command == "find") {
        const size_t start = line.find(' ');
        if (start == std::string::npos)
            return "err usage: find <caption>";
        return listWindows(topLevel(L"", framework::Widen(line.substr(start + 1))), true);
    }
    if (command == "dialogs")
        return listWindows(topLevel(L"#32770", L""), false);
    if (command == "popups")
        return listWindows(topLevel(L"#32768", L""), false);
    if (command == "child") {
        if (!windowArg(0, hwnd) || !numberArg(1, a))
            return "err usage: child <hwnd> <id>";
        return "ok " + handleText(GetDlgItem(hwnd, static_cast<int>(a)));
    }
    if (command == "rect") {
        if (!windowArg(0, hwnd))
            return "err usage: rect <hwnd>";
        RECT window{}, client{};
        GetWindowRect(hwnd, &window);
        GetClientRect(hwnd, &client);
        POINT topLeft{client.left, client.top}, bottomRight{client.right, client.bottom};
        ClientToScreen(hwnd, &topLeft);
        ClientToScreen(hwnd, &bottomRight);
        std::ostringstream out;
        out << "ok " << window.left << ' ' << window.top << ' ' << window.right << ' ' << window.bottom << ' '
            << topLeft.x << ' ' << topLeft.y << ' ' << bottomRight.x << ' ' << bottomRight.y;
        return out.str();
    }
    if (command == "state") {
        if (args.empty())
            return "err usage: state <hwnd>";
        if (!windowArg(0, hwnd))
            return "ok 0 0 0 0 0 0";
        DWORD pid = 0;
        GetWindowThreadProcessId(hwnd, &pid);
        std::ostringstream out;
        out << "ok 1 " << (IsWindowVisible(hwnd) ? 1 : 0) << ' ' << (IsIconic(hwnd) ? 1 : 0) << ' '
            << (IsWindowEnabled(hwnd) ? 1 : 0) << ' ' << pid << ' '
            << (GetForegroundWindow() == hwnd ? 1 : 0);
        return out.str();
    }
    if (command == "text") {
        if (!windowArg(0, hwnd))
            return "err usage: text <hwnd> [<id>]";
        if (args.size() > 1) {
            if (!numberArg(1, a))
                return "err usage: text <hwnd> [<id>]";
            hwnd = GetDlgItem(hwnd, static_cast<int>(a));
            if (!hwnd)
                return "err no control with id " + args[1];
        }
        return "ok " + framework::Narrow(windowText(hwnd));
    }
    if (command == "controls") {
        if (!windowArg(0, hwnd))
            return "err usage: controls <hwnd>";
        std::vector<HWND> children;
        EnumChildWindows(hwnd, collectChild, reinterpret_cast<LPARAM>(&children));
        std::string answer = "ok " + std::to_string(children.size());
        for (HWND child : children) {
            std::string text = framework::Narrow(windowText(child));
            for (char& ch : text) {
                if (ch == '\t' || ch == '\r' || ch == '\n')
                    ch = ' ';
            }
            answer += "\t" + std::to_string(static_cast<unsigned short>(GetDlgCtrlID(child))) + "\t" +
                      framework::Narrow(className(child)) + "\t" + text;
        }
        return answer;
    }
    if (command == "grab") {
        if (!windowArg(0, hwnd) || args.size() < 2)
            return "err usage: grab <hwnd> <path>";
        return grab(hwnd, args[1]);
    }
    if (command == "post") {
        if (!windowArg(0, hwnd) || !numberArg(1, a) || !numberArg(2, b) || !numberArg(3, c)) {
            return "err usage: post <hwnd> <msg> <wparam> <lparam>";
        }
        if (!PostMessageW(hwnd, static_cast<UINT>(a), static_cast<WPARAM>(b), static_cast<LPARAM>(c))) {
            return "err PostMessage failed";
        }
        return "ok";
    }
    if (command == "send") {
        if (!windowArg(0, hwnd) || !numberArg(1, a) || !numberArg(2, b) || !numberArg(3, c)) {
            return "err usage: send <hwnd> <msg> <wparam> <lparam>";
        }
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutW(hwnd, static_cast<UINT>(a), static_cast<WPARAM>(b), static_cast<LPARAM>(c),
                                 SMTO_NORMAL, 5000, &result)) {
            return IsWindow(hwnd) ? "err timeout" : "ok 0";
        }
        return "ok " + std::to_string(static_cast<long long>(result));
    }
    if (command == "menumode") {
        if (!windowArg(0, hwnd))
            return "err usage: menumode <hwnd>";
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        const bool inMenu = GetGUIThreadInfo(GetWindowThreadProcessId(hwnd, nullptr), &info) &&
                            (info.hwndMenuOwner != nullptr || (info.flags & GUI_INMENUMODE) != 0);
        return inMenu ? "ok 1" : "ok 0";
    }
    if (command == "guithread") {
        if (!windowArg(0, hwnd))
            return "err usage: guithread <hwnd>";
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        if (!GetGUIThreadInfo(GetWindowThreadProcessId(hwnd, nullptr), &info))
            return "err GetGUIThreadInfo failed";
        return "ok " + std::to_string(info.flags) + " " + handleText(info.hwndMenuOwner) + " " +
               handleText(info.hwndMoveSize) + " " + handleText(info.hwndCapture);
    }
    if (command == "settext") {
        if (!windowArg(0, hwnd) || !numberArg(1, a))
            return "err usage: settext <hwnd> <id> <text>";
        // The text is everything after the id, spaces included.
        size_t start = line.find(' ');
        for (int field = 0; field < 2 && start != std::string::npos; ++field)
            start = line.find(' ', start + 1);
        const std::wstring text =
            start == std::string::npos ? std::wstring() : framework::Widen(line.substr(start + 1));
        if (!SetDlgItemTextW(hwnd, static_cast<int>(a), text.c_str()))
            return "err no control with id " + args[1];
        return "ok";
    }
    if (command == "show") {
        if (!windowArg(0, hwnd) || !numberArg(1, a))
            return "err usage: show <hwnd> <cmd>";
        ShowWindow(hwnd, static_cast<int>(a));
        return "ok";
    }
    if (command == "ping") {
        if (!windowArg(0, hwnd))
            return "err usage: ping <hwnd>";
        return ping(hwnd);
    }
    if (command == "windows" || command == "gdi") {
        if (!numberArg(0, a) || a <= 0)
            return "err usage: " + command + " <pid>";
        return command == "windows" ? countWindows(static_cast<DWORD>(a))
                                    : countGdiObjects(static_cast<DWORD>(a));
    }
    if (command == "count") {
        long long right = 0, bottom = 0, rgb = 0;
        if (!windowArg(0, hwnd) || !numberArg(1, a) || !numberArg(2, b) || !numberArg(3, right) ||
            !numberArg(4, bottom) || args.size() < 6) {
            return "err usage: count <hwnd> <l> <t> <r> <b> <rrggbb>";
        }
        rgb = std::strtoll(args[5].c_str(), nullptr, 16);
        const RECT part{static_cast<LONG>(a), static_cast<LONG>(b), static_cast<LONG>(right),
                        static_cast<LONG>(bottom)};
        return countColour(hwnd, part, static_cast<DWORD>(rgb));
    }
    if (command == "repaint" || command == "uncover") {
        if (!windowArg(0, hwnd) || !numberArg(1, a))
            return "err usage: " + command + " <view> <n>";
        return repaintTimes(hwnd, a, command == "repaint");
    }
    if (command == "flash") {
        if (!windowArg(0, hwnd) || !numberArg(1, a) || !numberArg(2, b) || !numberArg(3, c)) {
            return "err usage: flash <view> <x> <y> <n>";
        }
        return flash(hwnd, POINT{static_cast<LONG>(a), static_cast<LONG>(b)}, c);
    }
    if (command == "key") {
        if (!windowArg(0, hwnd) || !numberArg(1, a))
            return "err usage: key <hwnd> <vk>";
        return pressKey(hwnd, static_cast<UINT>(a));
    }
    if (command == "accread") {
        if (!windowArg(0, hwnd))
            return "err usage: accread <hwnd>";
        return accRead(hwnd);
    }
    if (command == "accevents") {
        if (!windowArg(0, hwnd) || !numberArg(1, a) || !numberArg(2, b) || b < 0 || b > 60000)
            return "err usage: accevents <hwnd> <vk> <ms up to 60000>";
        return accEvents(hwnd, static_cast<UINT>(a), b);
    }
    if (command == "caret") {
        if (!windowArg(0, hwnd))
            return "err usage: caret <hwnd>";
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        if (!GetGUIThreadInfo(GetWindowThreadProcessId(hwnd, nullptr), &info))
            return "err GetGUIThreadInfo failed";
        std::ostringstream out;
        out << "ok " << handleText(info.hwndCaret) << ' ' << info.rcCaret.left << ' ' << info.rcCaret.top
            << ' ' << info.rcCaret.right << ' ' << info.rcCaret.bottom;
        return out.str();
    }
    if (command == "metrics") {
        std::ostringstream out;
        out << "ok " << GetSystemMetrics(SM_CYCAPTION) << ' ' << GetSystemMetrics(SM_CYMENU) << ' '
            << GetSystemMetrics(SM_CXSCREEN) << ' ' << GetSystemMetrics(SM_CYSCREEN) << ' '
            << GetSystemMetrics(SM_CXSIZE);
        return out.str();
    }
    if (command == "version") {
        RTL_OSVERSIONINFOW info{};
        info.dwOSVersionInfoSize = sizeof info;
        if (RtlGetVersion(&info) != 0)
            return "err RtlGetVersion failed";
        std::ostringstream out;
        out << "ok " << info.dwMajorVersion << ' ' << info.dwMinorVersion << ' ' << info.dwBuildNumber;
        return out.str();
    }
    if (command == "globalflag") {
        // NtGlobalFlag sits at 0xBC in the 64-bit PEB; winternl.h keeps it reserved.
        PROCESS_BASIC_INFORMATION info{};
        if (NtQueryInformationProcess(GetCurrentProcess(), ProcessBasicInformation, &info, sizeof info,
                                      nullptr) != 0)
            return "err NtQueryInformationProcess failed";
        ULONG flags = 0;
        std::memcpy(&flags, reinterpret_cast<const unsigned char*>(info.PebBaseAddress) + 0xBC, sizeof flags);
        return "ok " + std::to_string(flags);
    }
    return "err unknown command: " + command;
}

}  // namespace

int wmain()
{
    // Real pixels at any display resolution: without this the system may
    // report the game's windows in scaled coordinates.
    SetProcessDPIAware();
    std::string line;
    while (std::getline(std::cin, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line == "quit")
            break;
        if (line.empty())
            continue;
        std::cout << run(line) << '\n' << std::flush;
    }
    return 0;
}
