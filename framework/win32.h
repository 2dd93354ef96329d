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
