// The display resolution a window is drawn at. Per-monitor functions are
// looked up at run time: a system without them gives the system-wide
// resolution of the screen's device context instead.
#pragma once

#include "framework/win32.h"

namespace framework {

// The resolution of the monitor the window is on, or the system's.
UINT WindowDpi(HWND hwnd);
// The resolution that windows are created at before they know their monitor.
UINT SystemDpi();
// AdjustWindowRectEx for a resolution: caption, menu bar and frame as they
// are drawn at that resolution.
BOOL AdjustWindowRectForDpi(RECT* rect, DWORD style, BOOL menu, DWORD exStyle, UINT dpi);
// GetSystemMetrics at a resolution.
int SystemMetricForDpi(int index, UINT dpi);

}  // namespace framework
