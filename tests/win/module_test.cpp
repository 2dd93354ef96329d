// System DLLs come from the system folder: the common dialogs and the shell
// loaded by name, by full path on a loader without the search flag, and
// user32 taken as the process already has it.
#include "framework/module.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <cwctype>
#include <string>

namespace {

std::wstring Lower(std::wstring text)
{
    for (wchar_t& c : text)
        c = static_cast<wchar_t>(std::towlower(c));
    return text;
}

std::wstring SystemFolder()
{
    wchar_t folder[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    return Lower(std::wstring(folder, length)) + L"\\";
}

// True when path names a file directly in the system folder.
::testing::AssertionResult InSystemFolder(const std::wstring& path)
{
    const std::wstring folder = SystemFolder();
    const std::wstring lower = Lower(path);
    if (lower.compare(0, folder.size(), folder) == 0 &&
        lower.find(L'\\', folder.size()) == std::wstring::npos)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "loaded from \"" << std::string(path.begin(), path.end()) << "\", not from the system folder";
}

TEST(SystemModules, LoadFromTheSystemFolder)
{
    for (const wchar_t* name : {L"comdlg32.dll", L"shell32.dll"}) {
        SCOPED_TRACE(std::string(name, name + std::wcslen(name)));
        const CModule module(name);
        ASSERT_NE(module.Handle(), nullptr);
        EXPECT_TRUE(InSystemFolder(module.Path()));

        const HMODULE byPath = framework::LoadFromSystemFolder(name);
        ASSERT_NE(byPath, nullptr);
        EXPECT_EQ(byPath, module.Handle());
        FreeLibrary(byPath);
    }
}

TEST(SystemModules, User32IsTakenAsLoadedAndNotFreed)
{
    {
        const CModule user32 = CModule::Loaded(L"user32.dll");
        EXPECT_EQ(user32.Handle(), GetModuleHandleW(L"user32.dll"));
        EXPECT_TRUE(InSystemFolder(user32.Path()));
        EXPECT_NE(user32.Proc<FARPROC>("GetWindowLongPtrW"), nullptr);
    }
    EXPECT_NE(GetModuleHandleW(L"user32.dll"), nullptr);
}

TEST(SystemModules, AMissingDllOrFunctionIsNull)
{
    const CModule missing(L"brikfall_no_such_library.dll");
    EXPECT_EQ(missing.Handle(), nullptr);
    EXPECT_EQ(missing.Path(), L"");
    EXPECT_EQ(missing.Proc<FARPROC>("Anything"), nullptr);
    const CModule comdlg32(L"comdlg32.dll");
    EXPECT_EQ(comdlg32.Proc<FARPROC>("NoSuchFunction"), nullptr);
}

}  // namespace
