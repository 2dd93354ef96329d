// System DLLs: loaded from the system folder only, never from the program's
// folder or the current one, when a feature is first used rather than at
// start, and freed when their holder goes; or one already loaded, taken as
// it is.
#pragma once

#include "framework/owned_handle.h"
#include "framework/win32.h"

#include <string>

class CModule {
public:
    // Loads the named DLL from the system folder.
    explicit CModule(const wchar_t* name);
    // A DLL the process has loaded already (user32): found, not loaded.
    static CModule Loaded(const wchar_t* name);
    CModule(CModule&& other) noexcept;
    CModule(const CModule&) = delete;
    CModule& operator=(const CModule&) = delete;
    CModule& operator=(CModule&&) = delete;

    // The exported function as the given pointer type; null when the DLL or
    // the function is missing.
    template <typename Function>
    Function Proc(const char* name) const
    {
        if (m_module == nullptr)
            return nullptr;
        return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(m_module, name)));
    }

    HMODULE Handle() const { return m_module; }
    // The file it was loaded from; empty when nothing was.
    std::wstring Path() const;

private:
    explicit CModule(HMODULE found) : m_module(found) {}

    HMODULE m_module;
    // The DLL when this holder loaded it: freed with the holder.
    COwnedHandle<HMODULE, ::FreeLibrary> m_loaded;
};

namespace framework {

// The DLL by its full path in the system folder: for systems whose
// LoadLibraryEx does not know LOAD_LIBRARY_SEARCH_SYSTEM32 (Windows 7
// without its 2011 loader update).
HMODULE LoadFromSystemFolder(const wchar_t* name);

// Limits the DLLs the process loads later, also those the system loads on
// its behalf, to the system folder, where the system can (SetDefaultDllDirectories
// is looked up at run time: Windows 7 may lack it). Called once at start.
void SearchSystemFolderOnly();

}  // namespace framework
