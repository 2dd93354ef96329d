// Owners of raw GDI handles: device contexts, the objects the program makes,
// and selections of them into a context. Each releases its handle on every
// path; none can be copied.
#pragma once

#include "framework/owned_handle.h"
#include "framework/win32.h"

// The device context of a window's client area (GetDC), or of the whole
// screen for no window; released with ReleaseDC. Null when refused.
class CDisplayDC {
public:
    explicit CDisplayDC(HWND hwnd) : m_hWnd(hwnd), m_hDC(GetDC(hwnd)) {}
    ~CDisplayDC()
    {
        if (m_hDC != nullptr)
            ReleaseDC(m_hWnd, m_hDC);
    }
    CDisplayDC(const CDisplayDC&) = delete;
    CDisplayDC& operator=(const CDisplayDC&) = delete;

    HDC Get() const { return m_hDC; }

private:
    HWND m_hWnd;
    HDC m_hDC;
};

// A memory device context (CreateCompatibleDC).
using CMemoryDC = COwnedHandle<HDC, DeleteDC>;
// A pen, brush, font or bitmap.
template <typename Handle>
using CGdiObject = COwnedHandle<Handle, DeleteObject>;

// An object selected into a device context for a scope: the object it
// replaced is selected back when the scope ends. Declare it after the owners
// of the context and the object, so it ends before them. Nothing happens for
// a null context or object.
class CGdiSelection {
public:
    CGdiSelection(HDC hdc, HGDIOBJ object)
        : m_hDC(hdc), m_previous(hdc != nullptr && object != nullptr ? SelectObject(hdc, object) : nullptr)
    {
    }
    ~CGdiSelection()
    {
        if (m_previous != nullptr)
            SelectObject(m_hDC, m_previous);
    }
    CGdiSelection(const CGdiSelection&) = delete;
    CGdiSelection& operator=(const CGdiSelection&) = delete;

private:
    HDC m_hDC;
    HGDIOBJ m_previous;
};
