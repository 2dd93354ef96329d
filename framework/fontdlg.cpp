// Font dialog through ChooseFontW.
#include "framework/fontdlg.h"

#include "framework/modal.h"
#include "framework/module.h"
#include "framework/text.h"

#include <cstring>

CFontDialog::CFontDialog(surface::LOGFONT* lplfInitial, DWORD dwFlags, HDC hdcPrinter, CWnd* pParentWnd)
    : m_target(lplfInitial), m_flags(dwFlags), m_printer(hdcPrinter), m_pParentWnd(pParentWnd)
{
    if (lplfInitial != nullptr)
        m_logFont = *lplfInitial;
}

INT_PTR CFontDialog::DoModal()
{
    LOGFONTW lf = ToSystemFont(m_logFont);
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
    ModalLoop loop;
    // The system may rewrite lf even when the user cancels: take it only
    // from an accepted dialog.
    if (chooseFont == nullptr || !chooseFont(&cf))
        return IDCANCEL;
    m_logFont = FromSystemFont(lf);
    if (m_target != nullptr)
        *m_target = m_logFont;
    return IDOK;
}

LOGFONTW ToSystemFont(const surface::LOGFONT& lf)
{
    LOGFONTW wide{};
    wide.lfHeight = lf.lfHeight;
    wide.lfWidth = lf.lfWidth;
    wide.lfEscapement = lf.lfEscapement;
    wide.lfOrientation = lf.lfOrientation;
    wide.lfWeight = lf.lfWeight;
    wide.lfItalic = lf.lfItalic;
    wide.lfUnderline = lf.lfUnderline;
    wide.lfStrikeOut = lf.lfStrikeOut;
    wide.lfCharSet = lf.lfCharSet;
    wide.lfOutPrecision = lf.lfOutPrecision;
    wide.lfClipPrecision = lf.lfClipPrecision;
    wide.lfQuality = lf.lfQuality;
    wide.lfPitchAndFamily = lf.lfPitchAndFamily;
    // The face name need not be terminated within its field.
    const std::size_t length = strnlen(lf.lfFaceName, surface::LF_FACESIZE_UTF8);
    framework::CopyWideTruncated(framework::Widen(std::string_view(lf.lfFaceName, length)), wide.lfFaceName,
                                 LF_FACESIZE);
    return wide;
}

surface::LOGFONT FromSystemFont(const LOGFONTW& lf)
{
    surface::LOGFONT narrow{};
    narrow.lfHeight = lf.lfHeight;
    narrow.lfWidth = lf.lfWidth;
    narrow.lfEscapement = lf.lfEscapement;
    narrow.lfOrientation = lf.lfOrientation;
    narrow.lfWeight = lf.lfWeight;
    narrow.lfItalic = lf.lfItalic;
    narrow.lfUnderline = lf.lfUnderline;
    narrow.lfStrikeOut = lf.lfStrikeOut;
    narrow.lfCharSet = lf.lfCharSet;
    narrow.lfOutPrecision = lf.lfOutPrecision;
    narrow.lfClipPrecision = lf.lfClipPrecision;
    narrow.lfQuality = lf.lfQuality;
    narrow.lfPitchAndFamily = lf.lfPitchAndFamily;
    const std::size_t length = wcsnlen(lf.lfFaceName, LF_FACESIZE);
    framework::CopyUtf8Truncated(framework::Narrow(std::wstring_view(lf.lfFaceName, length)), narrow.lfFaceName,
                                 surface::LF_FACESIZE_UTF8);
    return narrow;
}
