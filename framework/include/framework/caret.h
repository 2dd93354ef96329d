// A system caret that is never shown: it tells magnifiers and screen readers
// where the point of interest of a custom-drawn window is, and changes no
// pixel. A thread has one caret, owned by the window that has the focus.
#pragma once

#include "framework/win32.h"

class CHiddenCaret {
public:
    CHiddenCaret() = default;
    ~CHiddenCaret();
    CHiddenCaret(const CHiddenCaret&) = delete;
    CHiddenCaret& operator=(const CHiddenCaret&) = delete;

    // hwnd gained the focus: the caret is made at the next Place.
    void Create(HWND hwnd);
    // The focus went: the caret goes.
    void Destroy();
    // Puts the caret on rect, in the window's client pixels, made again where
    // its size changes; nothing without the focus.
    void Place(const RECT& rect);

private:
    HWND m_hwnd = nullptr;
    // Where the caret is; empty while none is made.
    RECT m_rect{};
};
