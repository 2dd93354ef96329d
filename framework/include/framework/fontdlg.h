// The system's font dialog over the game's logical font, whose face name is
// UTF-8.
#pragma once

#include "framework/win32.h"
#include "framework/wnd.h"
#include "surface/surface.h"

class CFontDialog {
public:
    // The dialog opens on *lplfInitial and, when the user accepts, writes the
    // chosen font back there. Without a parent the main window owns it.
    explicit CFontDialog(surface::LOGFONT* lplfInitial = nullptr, DWORD dwFlags = CF_EFFECTS | CF_SCREENFONTS,
                         HDC hdcPrinter = nullptr, CWnd* pParentWnd = nullptr);
    CFontDialog(const CFontDialog&) = delete;
    CFontDialog& operator=(const CFontDialog&) = delete;

    // IDOK when the user accepted a font, IDCANCEL otherwise.
    INT_PTR DoModal();

private:
    surface::LOGFONT* m_target;
    DWORD m_flags;
    HDC m_printer;
    CWnd* m_pParentWnd;
};
