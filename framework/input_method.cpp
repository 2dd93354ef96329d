// The input method kept away from game windows, through imm32 from the
// system folder (user32 has it loaded already wherever input methods exist).
#include "framework/input_method.h"

#include "framework/module.h"

#include <imm.h>

namespace framework {

namespace {

const CModule& Imm32()
{
    static const CModule imm32(L"imm32.dll");
    return imm32;
}

}  // namespace

void DetachInputMethod(HWND window)
{
    if (const auto associate = Imm32().Proc<decltype(&ImmAssociateContext)>("ImmAssociateContext"))
        associate(window, nullptr);
}

UINT InputMethodKey(HWND window)
{
    const auto getVirtualKey = Imm32().Proc<decltype(&ImmGetVirtualKey)>("ImmGetVirtualKey");
    return getVirtualKey != nullptr ? getVirtualKey(window) : 0;
}

void RestoreKeyTakenByInputMethod(MSG& msg, UINT (*reportedKey)(HWND))
{
    const bool keyDown = msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN;
    if (!keyDown || msg.wParam != VK_PROCESSKEY)
        return;
    // Virtual-key codes run from 1 to 0xFE; 0 says the input method knows none.
    const UINT key = reportedKey(msg.hwnd);
    if (key != 0 && key != VK_PROCESSKEY && key <= 0xFE)
        msg.wParam = key;
}

}  // namespace framework
