// Dialog data exchange for integers, its validation and its message boxes.
#include "framework/ddx.h"

#include "framework/app.h"
#include "framework/standard_ids.h"
#include "framework/text.h"
#include "framework/trace.h"

#include <climits>

namespace {

// Beyond this every magnitude is far outside 32 bits; stopping here keeps
// the scan free of overflow whatever the number of digits.
constexpr long long kScanCap = 1000000000000000LL;

// The edit text as the exchange sees it: its first 63 characters.
constexpr int kMaxScannedChars = 63;

bool IsBlank(wchar_t c)
{
    return c == L' ' || c == L'\t' || c == L'\n' || c == L'\v' || c == L'\f' || c == L'\r';
}

int Narrow(long long value)
{
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

std::wstring ControlText(HWND control, int maxChars)
{
    std::wstring text(static_cast<size_t>(maxChars) + 1, L'\0');
    const int length = GetWindowTextW(control, text.data(), maxChars + 1);
    text.resize(length > 0 ? static_cast<size_t>(length) : 0);
    return text;
}

// The validation messages belong to the dialog, so it owns their box.
void ReportInvalid(CDataExchange* pDX, const std::wstring& text)
{
    AfxMessageBox(text, MB_ICONEXCLAMATION | MB_OK, pDX->dialog());
    pDX->Fail();
}

}  // namespace

CDataExchange::CDataExchange(HWND dialog, bool saveAndValidate)
    : m_bSaveAndValidate(saveAndValidate), m_dialog(dialog)
{
}

HWND CDataExchange::PrepareEditCtrl(int controlId)
{
    m_lastControl = GetDlgItem(m_dialog, controlId);
    return m_lastControl;
}

void CDataExchange::Fail()
{
    m_failed = true;
    if (m_lastControl == nullptr)
        return;
    // WM_NEXTDLGCTL keeps the dialog's default button in step with the focus.
    SendMessageW(m_dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(m_lastControl), TRUE);
    SendMessageW(m_lastControl, EM_SETSEL, 0, -1);
}

void CDataExchange::rememberScanned(long long value, int stored)
{
    m_scanned = value;
    m_scannedStored = stored;
}

std::optional<long long> CDataExchange::scannedValueFor(int stored) const
{
    if (m_scanned && m_scannedStored == stored)
        return m_scanned;
    return std::nullopt;
}

std::optional<long long> ScanLeadingInt(std::wstring_view text)
{
    size_t pos = 0;
    while (pos < text.size() && IsBlank(text[pos]))
        ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == L'+' || text[pos] == L'-')) {
        negative = text[pos] == L'-';
        ++pos;
    }
    if (pos >= text.size() || text[pos] < L'0' || text[pos] > L'9')
        return std::nullopt;
    long long magnitude = 0;
    for (; pos < text.size() && text[pos] >= L'0' && text[pos] <= L'9'; ++pos) {
        if (magnitude < kScanCap)
            magnitude = magnitude * 10 + (text[pos] - L'0');
    }
    return negative ? -magnitude : magnitude;
}

void DDX_Text(CDataExchange* pDX, int controlId, int& value)
{
    if (pDX->failed())
        return;
    HWND control = pDX->PrepareEditCtrl(controlId);
    if (!pDX->m_bSaveAndValidate) {
        SetWindowTextW(control, framework::Widen(std::to_string(value)).c_str());
        return;
    }
    const std::optional<long long> scanned = ScanLeadingInt(ControlText(control, kMaxScannedChars));
    if (!scanned) {
        ReportInvalid(pDX, LoadResourceString(AFX_IDP_PARSE_INT));
        return;
    }
    value = Narrow(*scanned);
    pDX->rememberScanned(*scanned, value);
}

void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal)
{
    if (pDX->failed())
        return;
    const long long checked = pDX->scannedValueFor(value).value_or(value);
    if (checked >= minVal && checked <= maxVal)
        return;
    if (!pDX->m_bSaveAndValidate) {
        TRACE("Warning: initial dialog data is out of range.");
        return;
    }
    ReportInvalid(pDX, AfxFormatString2(LoadResourceString(AFX_IDP_PARSE_INT_RANGE),
                                        framework::Widen(std::to_string(minVal)),
                                        framework::Widen(std::to_string(maxVal))));
}

std::wstring AfxFormatString2(std::wstring_view text, std::wstring_view arg1, std::wstring_view arg2)
{
    std::wstring result;
    result.reserve(text.size() + arg1.size() + arg2.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'%' && i + 1 < text.size() && (text[i + 1] == L'1' || text[i + 1] == L'2')) {
            result += text[i + 1] == L'1' ? arg1 : arg2;
            ++i;
        } else {
            result += text[i];
        }
    }
    return result;
}
