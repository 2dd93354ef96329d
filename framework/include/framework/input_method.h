// Windows that take game keys keep the input method out: with an input
// method on (Bopomofo, in Chinese mode), letters and digits would otherwise
// open a composition over the window and reach it as VK_PROCESSKEY.
#pragma once

#include "framework/win32.h"

namespace framework {

// Takes the input context away from the window: no composition opens over
// it and its keys reach it as typed. Text fields elsewhere keep theirs.
void DetachInputMethod(HWND window);

// What the input method reports as the key behind the window's last
// VK_PROCESSKEY (ImmGetVirtualKey). It knows the key only until
// TranslateMessage has seen the message.
UINT InputMethodKey(HWND window);

// A key-down that an input method took anyway (VK_PROCESSKEY), from one that
// ignores a window without a context, becomes the key the input method
// reports for it, when that is a real key; anything else stays as it is.
void RestoreKeyTakenByInputMethod(MSG& msg, UINT (*reportedKey)(HWND) = InputMethodKey);

}  // namespace framework
