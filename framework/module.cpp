// System DLLs from the system folder only.
#include "framework/module.h"

#include <utility>

namespace framework {

HMODULE LoadFromSystemFolder(const wchar_t* name)
{
    wchar_t folder[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return nullptr;
    std::wstring path(folder, length);
    path += L'\\';
    path += name;
    return LoadLibraryExW(path.c_str(), nullptr, 0);
}

void SearchSystemFolderOnly()
{
    using Function = BOOL(WINAPI*)(DWORD);
    const CModule kernel32 = CModule::Loaded(L"kernel32.dll");
    if (const auto setDefaultDllDirectories = kernel32.Proc<Function>("SetDefaultDllDirectories"))
        setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

}  // namespace framework

CModule::CModule(const wchar_t* name)
    : m_module(nullptr), m_loaded(LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32))
{
    // A loader without the flag refuses it as an invalid parameter.
    if (m_loaded.Get() == nullptr && GetLastError() == ERROR_INVALID_PARAMETER)
        m_loaded.Reset(framework::LoadFromSystemFolder(name));
    m_module = m_loaded.Get();
}

CModule CModule::Loaded(const wchar_t* name)
{
    return CModule(GetModuleHandleW(name));
}

CModule::CModule(CModule&& other) noexcept
    : m_module(std::exchange(other.m_module, nullptr)), m_loaded(std::move(other.m_loaded))
{
}

std::wstring CModule::Path() const
{
    if (m_module == nullptr)
        return {};
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(m_module, &path[0], static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}
