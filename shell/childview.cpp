// The game view: window class, painting, gravity timer, keys, commands.
#include "shell/childview.h"

#include "control/gameboard.h"
#include "framework/app.h"
#include "framework/fontdlg.h"
#include "framework/gdi_surface.h"
#include "framework/menu.h"
#include "framework/text.h"
#include "model/invariant.h"
#include "res/resource.h"
#include "shell/simparamdlg.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr const char* kTitle = "落磚樂";
constexpr int kTitleFontPoints = 26;
constexpr const char* kTitleFace = "Tahoma";

// Device contexts and fonts for measuring, released on every path.
struct ScreenDC {
    HDC hdc = GetDC(nullptr);
    ~ScreenDC() { ReleaseDC(nullptr, hdc); }
};
struct FontHandle {
    HFONT font;
    ~FontHandle()
    {
        if (font != nullptr)
            DeleteObject(font);
    }
};
struct Selection {
    HDC hdc;
    HGDIOBJ previous;
    Selection(HDC dc, HGDIOBJ object) : hdc(dc), previous(SelectObject(dc, object)) {}
    ~Selection() { SelectObject(hdc, previous); }
};

int TextWidth(HDC hdc, const wchar_t* text)
{
    SIZE size{};
    GetTextExtentPoint32W(hdc, text, static_cast<int>(std::wcslen(text)), &size);
    return size.cx;
}

}  // namespace

CChildView::CChildView()
    : Controller(new GameBoard(this, kColumns, kRows, kOriginColumn, kOriginRow)),
      m_board(static_cast<GameBoard*>(m_handler)),
      m_timerBase(400),
      m_timerId(0),
      m_speedLevel(3),
      m_logFont()
{
    std::memset(&m_logFont, 0, sizeof(m_logFont));
    AddCommand(ID_FONT, [this] { OnFont(); });
    AddCommand(ID_SIM_OPTIONS, [this] { OnSimOptions(); });
}

CChildView::~CChildView()
{
}

BOOL CChildView::PreCreateWindow(CREATESTRUCTW& cs)
{
    if (!CWnd::PreCreateWindow(cs))
        return FALSE;
    cs.dwExStyle |= WS_EX_CLIENTEDGE;
    cs.style &= ~static_cast<LONG>(WS_BORDER);
    cs.lpszClass = AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS, LoadCursorW(nullptr, IDC_ARROW),
                                       reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1)), nullptr);
    return cs.lpszClass != nullptr ? TRUE : FALSE;
}

UINT CChildView::GravityInterval(int timerBase, int speedLevel)
{
    const long long interval = static_cast<long long>(timerBase) - static_cast<long long>(kIntervalStep) * speedLevel;
    // Shorter intervals would flood the queue (and a negative one, seen as
    // unsigned, would never fire).
    return static_cast<UINT>(std::clamp<long long>(interval, kMinimumInterval, USER_TIMER_MAXIMUM));
}

void CChildView::startGameTimer()
{
    if (m_timerId != 0)
        return;
    m_timerId = SetTimer(kGravityTimerId, GravityInterval(m_timerBase, m_speedLevel), nullptr);
}

void CChildView::stopGameTimer()
{
    if (m_timerId == 0)
        return;
    KillTimer(m_timerId);
    m_timerId = 0;
}

void CChildView::setSpeedLevel(int level)
{
    m_speedLevel = level;
    if (m_timerId == 0)
        return;
    KillTimer(m_timerId);
    m_timerId = SetTimer(kGravityTimerId, GravityInterval(m_timerBase, m_speedLevel), nullptr);
}

void CChildView::Invalidate(bool erase)
{
    CWnd::Invalidate(erase ? TRUE : FALSE);
}

std::unique_ptr<surface::CDC> CChildView::openClientDC()
{
    return std::make_unique<CClientDC>(this);
}

void CChildView::postCloseToMainWindow()
{
    CWnd* mainWnd = AfxGetMainWnd();
    if (mainWnd != nullptr)
        mainWnd->PostMessage(WM_CLOSE, 0, 0);
}

void CChildView::SetTitleFont(surface::CDC& dc)
{
    std::memset(&m_logFont, 0, sizeof(m_logFont));
    m_logFont.lfHeight = -surface::MulDiv(kTitleFontPoints, dc.GetDeviceCaps(surface::LOGPIXELSY), 72);
    framework::CopyUtf8Truncated(kTitleFace, m_logFont.lfFaceName, surface::LF_FACESIZE);
}

LRESULT CChildView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAUSE_REQUEST) {
        OnPauseRequest();
        return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

// Paints the title band, then the whole game.
void CChildView::OnPaint()
{
    CPaintDC dc(this);
    surface::CFont font;
    font.CreateFontIndirect(&m_logFont);
    surface::CFont* def_font = dc.SelectObject(&font);
    RECT client{};
    GetClientRect(&client);
    surface::CRect rect{0, 0, client.right, kTitleBandHeight};
    dc.DrawText(kTitle, rect, surface::DT_CENTER | surface::DT_VCENTER | surface::DT_SINGLELINE);
    dc.SelectObject(def_font);
    m_handler->draw(dc);
    // Whatever the board left selected, the context ends with its own font.
    dc.SelectObject(def_font);
}

// The title font; the dialog always opens on the default title font.
void CChildView::OnFont()
{
    {
        CClientDC dc(this);
        SetTitleFont(dc);
    }
    CFontDialog fdlg(&m_logFont, CF_SCREENFONTS | CF_EFFECTS, nullptr, nullptr);
    fdlg.DoModal();
    Invalidate(TRUE);
}

// The base interval of the gravity timer; it applies from the next start of
// the timer.
void CChildView::OnSimOptions()
{
    CSimParamDlg simParamDlg(nullptr);
    simParamDlg.m_gameSpeed = m_timerBase;
    if (simParamDlg.DoModal() == IDOK)
        m_timerBase = simParamDlg.m_gameSpeed;
}

void CChildView::OnContextMenu(CWnd*, CPoint point)
{
    CMenu mnuPopup;
    mnuPopup.LoadMenu(IDR_CONTEXT_MENU);
    CMenu* popup = mnuPopup.GetSubMenu(0);
    if (!GAME_INVARIANT(popup != nullptr))
        return;
    popup->TrackPopupMenu(TPM_RIGHTBUTTON, point.x, point.y, this, nullptr);
}

void CChildView::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == m_timerId && m_timerId != 0) {
        CClientDC dc(this);
        tick(dc);
    }
    CWnd::OnTimer(nIDEvent);
}

int CChildView::OnCreate(LPCREATESTRUCTW lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    CClientDC dc(this);
    SetTitleFont(dc);
    m_handler->initGame();
    return 0;
}

void CChildView::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    Invalidate(TRUE);
}

void CChildView::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    CClientDC dc(this);
    translateKey(dc, nChar, nFlags & 0xFF);
    CWnd::OnKeyDown(nChar, nRepCnt, nFlags);
}

void CChildView::OnPauseRequest()
{
    if (m_board->state() == GameState::Running)
        m_handler->togglePause();
}

SIZE CChildView::MinimumClientSize()
{
    // The well's border reaches 2 pixels beyond the last cell.
    const int wellRight = (kOriginColumn + kColumns) * kCellSize + 3;
    const int wellBottom = (kOriginRow + kRows) * kCellSize + 3;
    const int panelLeft = (kOriginColumn + kColumns + 2) * kCellSize;
    const int scoreTop = (kOriginRow + 14) * kCellSize;
    constexpr int margin = 8;

    ScreenDC screen;
    if (screen.hdc == nullptr)
        return SIZE{wellRight + margin, wellBottom + margin};
    int textRight = 0;
    {
        // The panel's longest lines, in the context's default font.
        Selection system(screen.hdc, GetStockObject(SYSTEM_FONT));
        for (const wchar_t* line : {L"Press q or <ESC> to exit the program", L"Press q or <ESC> to stop the game",
                                    L"Use numeric keypad to play::"})
            textRight = std::max(textRight, panelLeft + TextWidth(screen.hdc, line));
    }
    int scoreRight = 0;
    int scoreBottom = 0;
    {
        // The score's large font, room for three digits.
        LOGFONTW lf{};
        lf.lfHeight = MulDiv(80, GetDeviceCaps(screen.hdc, LOGPIXELSY), 72);
        lstrcpynW(lf.lfFaceName, L"Arial", LF_FACESIZE);
        FontHandle scoreFont{CreateFontIndirectW(&lf)};
        if (scoreFont.font != nullptr) {
            Selection large(screen.hdc, scoreFont.font);
            SIZE digits{};
            GetTextExtentPoint32W(screen.hdc, L"888", 3, &digits);
            scoreRight = panelLeft + 60 + digits.cx;
            scoreBottom = scoreTop + digits.cy;
        }
    }
    return SIZE{std::max({wellRight, textRight, scoreRight}) + margin,
                std::max({wellBottom, scoreBottom, kTitleBandHeight}) + margin};
}
