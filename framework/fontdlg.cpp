// Font dialog through ChooseFontW.
#include "framework/fontdlg.h"

#include "framework/gdi_surface.h"
#include "framework/module.h"

CFontDialog::CFontDialog(surface::LOGFONT* lplfInitial, DWORD dwFlags, HDC hdcPrinter, CWnd* pParentWnd)
    : m_target(lplfInitial), m_flags(dwFlags), m_printer(hdcPrinter), m_pParentWnd(pParentWnd)
{
}

INT_PTR CFontDialog::DoModal()
{
    LOGFONTW lf = m_target != nullptr ? ToSystemFont(*m_target) : LOGFONTW{};
    CHOOSEFONTW cf{};
    cf.lStructSize = sizeof(cf);
    const CWnd* owner = m_pParentWnd != nullptr ? m_pParentWnd : AfxGetMainWnd();
    cf.hwndOwner = owner != nullptr ? owner->m_hWnd : nullptr;
    cf.hDC = m_printer;
    cf.lpLogFont = &lf;
    cf.Flags = m_flags;
    if (m_target != nullptr)
        cf.Flags |= CF_INITTOLOGFONTSTRUCT;
    // The common dialogs are loaded when first used, so the program starts
    // without them and what they load in turn, and then kept: loaded anew
    // each time, Wine's comdlg32 makes its font-type image list again and
    // never frees the old one.
    static const CModule commonDialogs(L"comdlg32.dll");
    using ChooseFontFunction = BOOL(WINAPI*)(LPCHOOSEFONTW);
    const auto chooseFont = commonDialogs.Proc<ChooseFontFunction>("ChooseFontW");
    // The system may rewrite lf even when the user cancels: take it only
    // from an accepted dialog.
    if (chooseFont == nullptr || !chooseFont(&cf))
        return IDCANCEL;
    if (m_target != nullptr)
        *m_target = FromSystemFont(lf);
    return IDOK;
}
