// The one way into the Windows headers for the framework and the shell:
// no min and max macros, the lean set of headers plus the common dialogs.
// The framework's target defines UNICODE for all that link it; call the wide
// functions by their W names all the same.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif

#include <windows.h>
#include <commdlg.h>
