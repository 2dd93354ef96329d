// A system DLL loaded when a feature is first used rather than at start, and
// freed when its holder goes.
#pragma once

#include "framework/win32.h"

class CModule {
public:
    explicit CModule(const wchar_t* name) : m_module(LoadLibraryW(name)) {}
    ~CModule()
    {
        if (m_module != nullptr)
            FreeLibrary(m_module);
    }
    CModule(const CModule&) = delete;
    CModule& operator=(const CModule&) = delete;

    // The exported function as the given pointer type; null when the DLL or
    // the function is missing.
    template <typename Function>
    Function Proc(const char* name) const
    {
        if (m_module == nullptr)
            return nullptr;
        return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(m_module, name)));
    }

private:
    HMODULE m_module;
};
