// The one way into the Windows headers for the framework and the shell.
// The game's drawing-surface vocabulary (RGB, TextOut, DrawText,
// CreateFontIndirect) shares names with Windows macros; they are dropped here
// so both can be used in one file. Call the wide functions by their W names.
#pragma once

#ifndef UNICODE
#define UNICODE
#endif
#ifndef _UNICODE
#define _UNICODE
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif

#include <windows.h>
#include <commdlg.h>

#undef RGB
#undef TextOut
#undef DrawText
#undef CreateFontIndirect

// The same holds for these constants and colour macros; the Win32 constants
// come back as typed constants outside the surface's namespace.
#undef GetRValue
#undef GetGValue
#undef GetBValue
#undef PS_SOLID
#undef PS_INSIDEFRAME
#undef LOGPIXELSY
#undef DT_CENTER
#undef DT_VCENTER
#undef DT_SINGLELINE
#undef LF_FACESIZE
constexpr int PS_SOLID = 0;
constexpr int PS_INSIDEFRAME = 6;
constexpr int LOGPIXELSY = 90;
constexpr UINT DT_CENTER = 0x01;
constexpr UINT DT_VCENTER = 0x04;
constexpr UINT DT_SINGLELINE = 0x20;
constexpr int LF_FACESIZE = 32;
