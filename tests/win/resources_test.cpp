// The program's resources as the system loads them: menus, accelerators,
// strings, dialog templates, icon, toolbar, version block and manifest.
#include "framework/app.h"
#include "framework/ddx.h"
#include "framework/gdi_handles.h"
#include "resource.h"
#include "dialog_driver.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

const WORD kChineseTaiwan = MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_TRADITIONAL);
const WORD kEnglishUs = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

// The raw bytes of one resource in one language; empty when it is missing.
std::vector<BYTE> RawResource(LPCWSTR type, UINT id, WORD language)
{
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC info = FindResourceExW(module, type, MAKEINTRESOURCEW(id), language);
    if (info == nullptr)
        return {};
    const auto* data = static_cast<const BYTE*>(LockResource(LoadResource(module, info)));
    return std::vector<BYTE>(data, data + SizeofResource(module, info));
}

WORD WordAt(const std::vector<BYTE>& bytes, size_t offset)
{
    WORD value = 0;
    std::memcpy(&value, bytes.data() + offset, sizeof value);
    return value;
}

// A menu of the program's resources, destroyed at the end of the test.
struct Menu : COwnedHandle<HMENU, DestroyMenu> {
    explicit Menu(UINT id) : COwnedHandle(LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id))) {}
};

struct MenuEntry {
    std::wstring text;
    UINT id;
    UINT state;
    HMENU subMenu;
};

MenuEntry EntryAt(HMENU menu, int position)
{
    wchar_t text[128] = {};
    MENUITEMINFOW item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_STRING | MIIM_ID | MIIM_STATE | MIIM_SUBMENU;
    item.dwTypeData = text;
    item.cch = 128;
    GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &item);
    return {text, item.wID, item.fState, item.hSubMenu};
}

TEST(Resources, MainMenuHasFileAndThreeCommandsOnTheBar)
{
    Menu menu(IDR_MAINFRAME);
    ASSERT_NE(menu.Get(), nullptr);
    ASSERT_EQ(GetMenuItemCount(menu.Get()), 4);

    const MenuEntry file = EntryAt(menu.Get(), 0);
    EXPECT_EQ(file.text, L"檔案(&F)");
    ASSERT_NE(file.subMenu, nullptr);
    ASSERT_EQ(GetMenuItemCount(file.subMenu), 1);
    const MenuEntry exit = EntryAt(file.subMenu, 0);
    EXPECT_EQ(exit.text, L"結束(&X)");
    EXPECT_EQ(exit.id, static_cast<UINT>(ID_APP_EXIT));
    EXPECT_EQ(exit.state, 0u);

    struct Expected {
        const wchar_t* text;
        UINT id;
    };
    const Expected onTheBar[] = {
        {L"字型", ID_FONT}, {L"模擬選項", ID_SIM_OPTIONS}, {L"關於 brikfall_SDI(&A)...", ID_APP_ABOUT}};
    for (int i = 0; i < 3; ++i) {
        const MenuEntry entry = EntryAt(menu.Get(), i + 1);
        EXPECT_EQ(entry.text, onTheBar[i].text) << "position " << i + 2;
        EXPECT_EQ(entry.id, onTheBar[i].id) << "position " << i + 2;
        EXPECT_EQ(entry.subMenu, nullptr) << "position " << i + 2;
        EXPECT_EQ(entry.state, 0u) << "position " << i + 2;
    }
}

TEST(Resources, ContextMenuOffersFontAndSimulationOptions)
{
    Menu menu(IDR_CONTEXT_MENU);
    ASSERT_NE(menu.Get(), nullptr);
    ASSERT_EQ(GetMenuItemCount(menu.Get()), 1);
    const MenuEntry popup = EntryAt(menu.Get(), 0);
    EXPECT_EQ(popup.text, L"context_menu");
    ASSERT_NE(popup.subMenu, nullptr);
    ASSERT_EQ(GetMenuItemCount(popup.subMenu), 2);
    EXPECT_EQ(EntryAt(popup.subMenu, 0).text, L"字型");
    EXPECT_EQ(EntryAt(popup.subMenu, 0).id, static_cast<UINT>(ID_FONT));
    EXPECT_EQ(EntryAt(popup.subMenu, 1).text, L"模擬選項");
    EXPECT_EQ(EntryAt(popup.subMenu, 1).id, static_cast<UINT>(ID_SIM_OPTIONS));
}

// Read from the raw table so that the order and every flag are seen exactly.
TEST(Resources, AcceleratorTableInOrderWithItsFlags)
{
    const std::vector<BYTE> raw = RawResource(RT_ACCELERATOR, IDR_MAINFRAME, kChineseTaiwan);
    struct Expected {
        BYTE modifiers;
        WORD key;
        WORD command;
    };
    const Expected table[] = {
        {FCONTROL, 'C', ID_EDIT_COPY},
        {FCONTROL, 'V', ID_EDIT_PASTE},
        {FALT, VK_BACK, ID_EDIT_UNDO},
        {FSHIFT, VK_DELETE, ID_EDIT_CUT},
        {0, VK_F6, ID_NEXT_PANE},
        {FSHIFT, VK_F6, ID_PREV_PANE},
        {FCONTROL, VK_INSERT, ID_EDIT_COPY},
        {FSHIFT, VK_INSERT, ID_EDIT_PASTE},
        {FCONTROL, 'X', ID_EDIT_CUT},
        {FCONTROL, 'Z', ID_EDIT_UNDO},
    };
    constexpr size_t kEntrySize = 8;  // flags, key, command, padding
    constexpr WORD kLastEntry = 0x80;
    ASSERT_EQ(raw.size(), std::size(table) * kEntrySize);
    for (size_t i = 0; i < std::size(table); ++i) {
        const size_t at = i * kEntrySize;
        const WORD last = i + 1 == std::size(table) ? kLastEntry : 0;
        EXPECT_EQ(WordAt(raw, at), FVIRTKEY | FNOINVERT | table[i].modifiers | last) << "entry " << i;
        EXPECT_EQ(WordAt(raw, at + 2), table[i].key) << "entry " << i;
        EXPECT_EQ(WordAt(raw, at + 4), table[i].command) << "entry " << i;
    }
}

TEST(Resources, AcceleratorTableLoads)
{
    HACCEL table = LoadAcceleratorsW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME));
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(CopyAcceleratorTableW(table, nullptr, 0), 10);
    DestroyAcceleratorTable(table);
}

struct StringEntry {
    UINT id;
    const wchar_t* text;
};

const StringEntry kStrings[] = {
    {IDR_MAINFRAME, L"brikfall_SDI"},
    {AFX_IDS_APP_TITLE, L"brikfall_SDI"},
    {AFX_IDS_IDLEMESSAGE, L"就緒"},
    {ID_APP_ABOUT, L"顯示程式資訊、版本號碼及著作權\n關於"},
    {ID_APP_EXIT, L"結束應用程式; 提示使用者儲存文件\n結束"},
    {ID_EDIT_CLEAR, L"清除選取範圍\n清除"},
    {ID_EDIT_CLEAR_ALL, L"清除所有的項目\n全部清除"},
    {ID_EDIT_COPY, L"複製選取項目並放到剪貼簿\n複製"},
    {ID_EDIT_CUT, L"剪下選取項目並放到剪貼簿\n剪下"},
    {ID_EDIT_FIND, L"尋找指定的文字\n尋找"},
    {ID_EDIT_PASTE, L"插入剪貼簿的內容\n貼上"},
    {ID_EDIT_REPEAT, L"重複上次的動作\n重複"},
    {ID_EDIT_REPLACE, L"用不同的文字取代指定文字\n取代"},
    {ID_EDIT_SELECT_ALL, L"選取整份文件\n全選"},
    {ID_EDIT_UNDO, L"復原上次的動作\n復原"},
    {ID_EDIT_REDO, L"取消復原上次的動作\n取消復原"},
    {ID_WINDOW_SPLIT, L"將使用中視窗切割成窗格\n分割視窗"},
    {ID_NEXT_PANE, L"切換至下一窗格\n下一個窗格"},
    {ID_PREV_PANE, L"切換至上一個窗格\n上一個窗格"},
    {ID_INDICATOR_EXT, L"EXT"},
    {ID_INDICATOR_CAPS, L"CAP"},
    {ID_INDICATOR_NUM, L"NUM"},
    {ID_INDICATOR_SCRL, L"SCRL"},
    {ID_INDICATOR_OVR, L"OVR"},
    {ID_INDICATOR_REC, L"REC"},
    {ID_VIEW_TOOLBAR, L"顯示或隱藏工具列\n切換工具列"},
    {AFX_IDS_SCSIZE, L"變更視窗大小"},
    {AFX_IDS_SCMOVE, L"變更視窗位置"},
    {AFX_IDS_SCMINIMIZE, L"將視窗縮成一個圖示"},
    {AFX_IDS_SCMAXIMIZE, L"將視窗放到最大"},
    {AFX_IDS_SCNEXTWINDOW, L"切換至下一個文件視窗"},
    {AFX_IDS_SCPREVWINDOW, L"切換至上一個文件視窗"},
    {AFX_IDS_SCCLOSE, L"關閉使用中視窗並提示使用者儲存文件"},
    {AFX_IDS_SCRESTORE, L"將視窗還原成標準大小"},
    {AFX_IDS_SCTASKLIST, L"啟動工作清單"},
    {AFX_IDP_PARSE_INT, L"輸入整數。"},
    {AFX_IDP_PARSE_INT_RANGE, L"輸入 %1 和 %2 之間的整數。"},
};

TEST(Resources, StringTableHoldsEveryTextExactly)
{
    for (const StringEntry& entry : kStrings)
        EXPECT_EQ(LoadResourceString(entry.id), entry.text) << "string " << entry.id;
    EXPECT_EQ(LoadResourceString(61713), L"") << "no string of its own between the two messages";
}

// String tables are stored in blocks of sixteen; each block must be in the
// program's language.
TEST(Resources, StringBlocksAreChineseTaiwan)
{
    for (const StringEntry& entry : kStrings) {
        const UINT block = entry.id / 16 + 1;
        EXPECT_FALSE(RawResource(RT_STRING, block, kChineseTaiwan).empty()) << "string " << entry.id;
    }
}

TEST(Resources, RangeMessageTakesItsBounds)
{
    EXPECT_EQ(AfxFormatString2(LoadResourceString(AFX_IDP_PARSE_INT_RANGE), L"0", L"1000"),
              L"輸入 0 和 1000 之間的整數。");
}

struct LanguageEntry {
    LPCWSTR type;
    UINT id;
    const char* what;
};

TEST(Resources, EveryResourceButTheManifestIsChineseTaiwan)
{
    const LanguageEntry entries[] = {
        {RT_MENU, IDR_MAINFRAME, "main menu"},
        {RT_MENU, IDR_CONTEXT_MENU, "context menu"},
        {RT_ACCELERATOR, IDR_MAINFRAME, "accelerators"},
        {RT_DIALOG, IDD_ABOUTBOX, "about box"},
        {RT_DIALOG, IDD_SIMPARAM, "parameter dialog"},
        {RT_GROUP_ICON, IDR_MAINFRAME, "icon"},
        {RT_BITMAP, IDR_MAINFRAME, "toolbar bitmap"},
        {MAKEINTRESOURCEW(241), IDR_MAINFRAME, "toolbar"},
        {RT_VERSION, 1, "version block"},
    };
    for (const LanguageEntry& entry : entries)
        EXPECT_FALSE(RawResource(entry.type, entry.id, kChineseTaiwan).empty()) << entry.what;
}

TEST(Resources, IconGroupHoldsThirteenImages)
{
    const std::vector<BYTE> group = RawResource(RT_GROUP_ICON, IDR_MAINFRAME, kChineseTaiwan);
    ASSERT_GE(group.size(), 6u);
    EXPECT_EQ(WordAt(group, 2), 1) << "resource type: icon";
    EXPECT_EQ(WordAt(group, 4), 13) << "image count";
}

TEST(Resources, ToolbarTemplateAndBitmap)
{
    const std::vector<BYTE> raw = RawResource(MAKEINTRESOURCEW(241), IDR_MAINFRAME, kChineseTaiwan);
    const WORD expected[] = {1, 16,          15, 7, ID_FILE_NEW, 0, ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE,
                             0, ID_APP_ABOUT};
    ASSERT_EQ(raw.size(), sizeof expected);
    for (size_t i = 0; i < std::size(expected); ++i)
        EXPECT_EQ(WordAt(raw, i * 2), expected[i]) << "word " << i;

    const std::vector<BYTE> bitmap = RawResource(RT_BITMAP, IDR_MAINFRAME, kChineseTaiwan);
    ASSERT_GE(bitmap.size(), sizeof(BITMAPINFOHEADER));
    BITMAPINFOHEADER header{};
    std::memcpy(&header, bitmap.data(), sizeof header);
    EXPECT_EQ(header.biWidth, 64);
    EXPECT_EQ(header.biHeight, 15);
    EXPECT_EQ(header.biBitCount, 4);
}

TEST(Resources, ManifestAsksForNothingButInvokerLevelAndDpiAwareness)
{
    const std::vector<BYTE> raw = RawResource(RT_MANIFEST, 1, kEnglishUs);
    ASSERT_FALSE(raw.empty());
    const std::string manifest(raw.begin(), raw.end());
    EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);
    EXPECT_NE(manifest.find("uiAccess=\"false\""), std::string::npos);
    EXPECT_NE(manifest.find(">true</dpiAware>"), std::string::npos);
    EXPECT_NE(manifest.find(">PerMonitorV2, PerMonitor</dpiAwareness>"), std::string::npos);
    EXPECT_EQ(manifest.find("dependency"), std::string::npos);
    EXPECT_EQ(manifest.find("Common-Controls"), std::string::npos);
    std::vector<WORD> languages;
    EnumResourceLanguagesW(
        GetModuleHandleW(nullptr), RT_MANIFEST, MAKEINTRESOURCEW(1),
        [](HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR param) -> BOOL {
            reinterpret_cast<std::vector<WORD>*>(param)->push_back(language);
            return TRUE;
        },
        reinterpret_cast<LONG_PTR>(&languages));
    EXPECT_EQ(languages, std::vector<WORD>{kEnglishUs}) << "one manifest, in English (United States)";
}

TEST(Resources, ManifestNamesEveryWindowsVersionTheProgramRunsOn)
{
    const std::vector<BYTE> raw = RawResource(RT_MANIFEST, 1, kEnglishUs);
    const std::string manifest(raw.begin(), raw.end());
    ASSERT_NE(manifest.find("<compatibility xmlns=\"urn:schemas-microsoft-com:compatibility.v1\">"),
              std::string::npos);
    const struct {
        const char* windows;
        const char* id;
    } versions[] = {
        {"7", "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}"},
        {"8", "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}"},
        {"8.1", "{1f676c76-80e1-4239-95bb-83d0f6d0da78}"},
        {"10 and 11", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"},
    };
    for (const auto& version : versions)
        EXPECT_NE(manifest.find(std::string("<supportedOS Id=\"") + version.id + "\"/>"), std::string::npos)
            << "Windows " << version.windows;
}

std::wstring VersionString(const std::vector<BYTE>& block, const wchar_t* name)
{
    const std::wstring path = std::wstring(L"\\StringFileInfo\\040404B0\\") + name;
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), path.c_str(), &value, &length) || length == 0)
        return {};
    return std::wstring(static_cast<const wchar_t*>(value));
}

TEST(Resources, VersionBlock)
{
    wchar_t exe[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    const DWORD size = GetFileVersionInfoSizeW(exe, nullptr);
    ASSERT_GT(size, 0u);
    std::vector<BYTE> block(size);
    ASSERT_TRUE(GetFileVersionInfoW(exe, 0, size, block.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(0, 1));
    EXPECT_EQ(fixed->dwFileVersionLS, MAKELONG(1, 0));
    EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(0, 1));
    EXPECT_EQ(fixed->dwProductVersionLS, MAKELONG(1, 0));
    EXPECT_EQ(fixed->dwFileFlagsMask, 0x3Fu);
#ifdef _DEBUG
    EXPECT_EQ(fixed->dwFileFlags, static_cast<DWORD>(VS_FF_DEBUG));
#else
    EXPECT_EQ(fixed->dwFileFlags, 0u);
#endif
    EXPECT_EQ(fixed->dwFileOS, static_cast<DWORD>(VOS_NT_WINDOWS32));
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
    EXPECT_EQ(fixed->dwFileSubtype, 0u);

    EXPECT_EQ(VersionString(block, L"FileDescription"), L"brikfall_SDI");
    EXPECT_EQ(VersionString(block, L"FileVersion"), L"1.0.0.1");
    EXPECT_EQ(VersionString(block, L"InternalName"), L"brikfall_SDI.exe");
    EXPECT_EQ(VersionString(block, L"OriginalFilename"), L"brikfall_SDI.exe");
    EXPECT_EQ(VersionString(block, L"ProductVersion"), L"1.0.0.1");
    EXPECT_NE(VersionString(block, L"CompanyName"), L"");
    EXPECT_NE(VersionString(block, L"ProductName"), L"");
    EXPECT_NE(VersionString(block, L"LegalCopyright"), L"");

    WORD* translation = nullptr;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&translation), &length));
    ASSERT_EQ(length, 4u);
    EXPECT_EQ(translation[0], 0x0404);
    EXPECT_EQ(translation[1], 1200);
}

// The header of an extended dialog template: what the controls cannot tell.
struct TemplateHeader {
    DWORD style = 0;
    DWORD exStyle = 0;
    WORD controls = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    std::wstring title;
    WORD pointSize = 0;
    WORD weight = 0;
    BYTE italic = 0;
    BYTE charset = 0;
    std::wstring face;
};

TemplateHeader ReadTemplateHeader(UINT id)
{
    const std::vector<BYTE> raw = RawResource(RT_DIALOG, id, kChineseTaiwan);
    TemplateHeader h;
    if (raw.size() < 26 || WordAt(raw, 0) != 1 || WordAt(raw, 2) != 0xFFFF)
        return h;
    size_t at = 8;
    auto dword = [&] {
        DWORD v;
        std::memcpy(&v, raw.data() + at, 4);
        at += 4;
        return v;
    };
    auto word = [&] {
        WORD v = WordAt(raw, at);
        at += 2;
        return v;
    };
    auto text = [&] {
        std::wstring s;
        for (WORD c = word(); c != 0 && at < raw.size(); c = word())
            s += static_cast<wchar_t>(c);
        return s;
    };
    auto skipNameOrOrdinal = [&] {
        if (WordAt(raw, at) == 0xFFFF)
            at += 4;
        else
            text();
    };
    h.exStyle = dword();
    h.style = dword();
    h.controls = word();
    h.x = static_cast<short>(word());
    h.y = static_cast<short>(word());
    h.cx = static_cast<short>(word());
    h.cy = static_cast<short>(word());
    skipNameOrOrdinal();  // menu
    skipNameOrOrdinal();  // class
    h.title = text();
    h.pointSize = word();
    h.weight = word();
    h.italic = raw[at];
    h.charset = raw[at + 1];
    at += 2;
    h.face = text();
    return h;
}

struct TemplateExpectation {
    UINT id;
    DWORD style;
    WORD controls;
    short cx, cy;
    const wchar_t* title;
    WORD pointSize;
    WORD weight;
    const wchar_t* face;
};

TEST(Resources, DialogTemplateHeaders)
{
    const TemplateExpectation expectations[] = {
        {IDD_SIMPARAM, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_FIXEDSYS, 5, 130,
         47, L"遊戲參數設定", 8, 400, L"MS Shell Dlg"},
        {IDD_ABOUTBOX, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT, 5, 180, 59,
         L"關於 brikfall_SDI", 9, 0, L"新細明體"},
    };
    for (const TemplateExpectation& e : expectations) {
        const TemplateHeader h = ReadTemplateHeader(e.id);
        EXPECT_EQ(h.style, e.style) << "dialog " << e.id;
        EXPECT_EQ(h.exStyle, 0u) << "dialog " << e.id;
        EXPECT_EQ(h.controls, e.controls) << "dialog " << e.id;
        EXPECT_EQ(h.x, 0) << "dialog " << e.id;
        EXPECT_EQ(h.y, 0) << "dialog " << e.id;
        EXPECT_EQ(h.cx, e.cx) << "dialog " << e.id;
        EXPECT_EQ(h.cy, e.cy) << "dialog " << e.id;
        EXPECT_EQ(h.title, e.title) << "dialog " << e.id;
        EXPECT_EQ(h.pointSize, e.pointSize) << "dialog " << e.id;
        EXPECT_EQ(h.weight, e.weight) << "dialog " << e.id;
        EXPECT_EQ(h.italic, 0) << "dialog " << e.id;
        EXPECT_EQ(h.charset, DEFAULT_CHARSET) << "dialog " << e.id;
        EXPECT_EQ(h.face, e.face) << "dialog " << e.id;
    }
}

// A dialog created without a modal loop, for looking at its child windows.
struct ModelessDialog : COwnedHandle<HWND, DestroyWindow> {
    explicit ModelessDialog(UINT id)
        : COwnedHandle(CreateDialogParamW(
              GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), nullptr,
              [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0))
    {
    }
};

struct ControlExpectation {
    int id;
    const wchar_t* className;
    const wchar_t* text;
    DWORD style;       // the bits that must be set
    RECT dialogUnits;  // x, y, width, height
};

std::vector<HWND> Children(HWND parent)
{
    std::vector<HWND> children;
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

void ExpectControls(UINT dialogId, const std::vector<ControlExpectation>& expected, bool checkSize)
{
    ModelessDialog dialog(dialogId);
    ASSERT_NE(dialog.Get(), nullptr);
    const std::vector<HWND> children = Children(dialog.Get());
    ASSERT_EQ(children.size(), expected.size()) << "dialog " << dialogId;
    for (size_t i = 0; i < expected.size(); ++i) {
        const ControlExpectation& e = expected[i];
        HWND child = children[i];
        const std::string where = "dialog " + std::to_string(dialogId) + " control " + std::to_string(i);
        EXPECT_EQ(GetDlgCtrlID(child), e.id) << where;
        EXPECT_EQ(ClassName(child), e.className) << where;
        if (e.text != nullptr) {
            EXPECT_EQ(WindowText(child), e.text) << where;
        }
        const DWORD style = static_cast<DWORD>(GetWindowLongW(child, GWL_STYLE));
        EXPECT_EQ(style & (e.style | WS_CHILD | WS_VISIBLE), e.style | WS_CHILD | WS_VISIBLE) << where;
        // The dialog manager scales position and size separately.
        RECT position{e.dialogUnits.left, e.dialogUnits.top, e.dialogUnits.right, e.dialogUnits.bottom};
        MapDialogRect(dialog.Get(), &position);
        RECT actual{};
        GetWindowRect(child, &actual);
        MapWindowPoints(nullptr, dialog.Get(), reinterpret_cast<POINT*>(&actual), 2);
        EXPECT_EQ(actual.left, position.left) << where;
        EXPECT_EQ(actual.top, position.top) << where;
        if (checkSize || e.text != nullptr) {
            EXPECT_EQ(actual.right - actual.left, position.right) << where;
            EXPECT_EQ(actual.bottom - actual.top, position.bottom) << where;
        }
    }
}

TEST(Resources, ParameterDialogControls)
{
    ExpectControls(
        IDD_SIMPARAM,
        {
            {IDC_GAME_SPEED, L"Edit", L"", WS_GROUP | WS_TABSTOP | ES_AUTOHSCROLL, {43, 7, 63, 13}},
            {IDOK, L"Button", L"確定", WS_TABSTOP | BS_DEFPUSHBUTTON, {17, 22, 50, 14}},
            {IDCANCEL, L"Button", L"取消", WS_TABSTOP, {69, 22, 50, 14}},
            {-1, L"Static", L"遊戲速度", WS_GROUP, {8, 9, 33, 8}},
            {-1, L"Static", L"(ms)", WS_GROUP, {108, 8, 15, 8}},
        },
        true);
}

TEST(Resources, ParameterDialogEditAcceptsAnyText)
{
    ModelessDialog dialog(IDD_SIMPARAM);
    HWND edit = GetDlgItem(dialog.Get(), IDC_GAME_SPEED);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(GetWindowLongW(edit, GWL_STYLE) & ES_NUMBER, 0);
    const std::wstring longText(300, L'9');
    SetWindowTextW(edit, longText.c_str());
    EXPECT_EQ(WindowText(edit), longText);
}

TEST(Resources, AboutBoxControls)
{
    ExpectControls(
        IDD_ABOUTBOX,
        {
            {-1, L"Static", L"brikfall_SDI, 1.0 版", SS_NOPREFIX | WS_GROUP, {42, 14, 114, 8}},
            {IDOK, L"Button", L"確定", WS_GROUP | WS_TABSTOP | BS_DEFPUSHBUTTON, {123, 7, 50, 14}},
            {-1, L"Static", nullptr, SS_ICON, {14, 17, 16, 17}},
            {-1, L"Static", L"Copyright (C) 2026", SS_NOPREFIX | WS_GROUP, {42, 26, 114, 8}},
            {-1, L"Static", L"落磚樂：以鍵盤操作的落磚遊戲", SS_NOPREFIX | WS_GROUP, {42, 38, 114, 8}},
        },
        false);
}

TEST(Resources, AboutBoxShowsTheProgramIcon)
{
    ModelessDialog dialog(IDD_ABOUTBOX);
    const std::vector<HWND> children = Children(dialog.Get());
    ASSERT_GE(children.size(), 3U);
    EXPECT_NE(SendMessageW(children[2], STM_GETICON, 0, 0), 0);
}

}  // namespace
