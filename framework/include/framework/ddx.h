// Dialog data exchange: moving values between a dialog's controls and the
// members of its class, with validation and the message boxes that report a
// rejected entry.
#pragma once

#include "framework/win32.h"

#include <optional>
#include <string>
#include <string_view>

// One exchange between a dialog's controls and its data, in one direction.
// A failed step marks the exchange failed; later steps then do nothing, so
// the first problem is the one the user is told about.
class CDataExchange {
public:
    CDataExchange(HWND dialog, bool saveAndValidate);

    // Returns the control and remembers it as the one to put the focus on
    // when a later check fails.
    HWND PrepareEditCtrl(int controlId);

    // Puts the focus on the last prepared control with its text selected and
    // marks the exchange failed.
    void Fail();

    bool failed() const { return m_failed; }
    HWND dialog() const { return m_dialog; }

    // The number last read by a saving exchange, before it was narrowed to
    // the member's type, so that a range check sees a number too large for
    // the member for what it is.
    void rememberScanned(long long value, int stored);
    std::optional<long long> scannedValueFor(int stored) const;

    const bool m_bSaveAndValidate;

private:
    HWND m_dialog;
    HWND m_lastControl = nullptr;
    bool m_failed = false;
    std::optional<long long> m_scanned;
    int m_scannedStored = 0;
};

// Reads an integer the way "%d" does: leading blanks, an optional sign,
// digits; the rest of the text is ignored. Nothing when no digit follows.
// Magnitudes beyond any 32-bit value saturate instead of overflowing.
std::optional<long long> ScanLeadingInt(std::wstring_view text);

// Loading: shows value in the control. Saving: reads the control's first 63
// characters; no number gives the AFX_IDP_PARSE_INT message.
void DDX_Text(CDataExchange* pDX, int controlId, int& value);

// Saving: a value outside [minVal, maxVal] gives the AFX_IDP_PARSE_INT_RANGE
// message. Loading: out of range is only traced for the developer.
void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal);

// Replaces %1 and %2 in text.
std::wstring AfxFormatString2(std::wstring_view text, std::wstring_view arg1, std::wstring_view arg2);
