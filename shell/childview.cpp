// The game view: window class, painting, gravity timer, keys, commands.
#include "shell/childview.h"

#include "control/assistive.h"
#include "control/gameboard.h"
#include "control/gravity.h"
#include "framework/app.h"
#include "framework/dpi.h"
#include "framework/fontdlg.h"
#include "framework/gdi_handles.h"
#include "framework/gdi_surface.h"
#include "framework/input_method.h"
#include "framework/menu.h"
#include "framework/text.h"
#include "framework/trace.h"
#include "model/invariant.h"
#include "resource.h"
#include "shell/invariant_report.h"
#include "shell/simparamdlg.h"

#include <climits>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

constexpr const char* kTitle = "落磚樂";
constexpr int kTitleFontPoints = 26;
constexpr const char* kTitleFace = "Tahoma";

// Every gravity interval is one a window timer takes.
static_assert(INT_MAX <= USER_TIMER_MAXIMUM, "gravity interval beyond a timer's");

// Texts measured on the screen in the fonts the picture draws them with;
// each font is made once, on its first text.
class ScreenTextMeasure {
public:
    ScreenTextMeasure() : m_screen(nullptr) {}
    ScreenTextMeasure(const ScreenTextMeasure&) = delete;
    ScreenTextMeasure& operator=(const ScreenTextMeasure&) = delete;

    int Dpi() const
    {
        return m_screen.Get() != nullptr ? GetDeviceCaps(m_screen.Get(), LOGPIXELSY) : Layout::kBaseDpi;
    }

    Layout::Extent Extent(std::string_view text, const surface::LOGFONT* font)
    {
        const std::wstring wide = framework::Widen(std::string(text));
        SIZE size{};
        if (m_screen.Get() == nullptr || wide.empty())
            return {0, 0};
        const CGdiSelection chosen(m_screen.Get(),
                                   font != nullptr ? Font(*font) : GetStockObject(SYSTEM_FONT));
        GetTextExtentPoint32W(m_screen.Get(), wide.c_str(), static_cast<int>(wide.size()), &size);
        return {size.cx, size.cy};
    }

private:
    HFONT Font(const surface::LOGFONT& lf)
    {
        for (const auto& [made, font] : m_fonts) {
            if (made == lf)
                return font.Get();
        }
        const LOGFONTW systemLf = ToSystemFont(lf);
        m_fonts.emplace_back(lf, CGdiObject<HFONT>(CreateFontIndirectW(&systemLf)));
        return m_fonts.back().second.Get();
    }

    const CDisplayDC m_screen;
    std::vector<std::pair<surface::LOGFONT, CGdiObject<HFONT>>> m_fonts;
};

// The panel's texts measured on the screen, for as long as the layout that
// is given the measure is being made.
Layout::TextMeasure ScreenMeasure()
{
    auto screen = std::make_shared<ScreenTextMeasure>();
    const int dpi = screen->Dpi();
    return {dpi, [screen](std::string_view text, const surface::LOGFONT* font) {
                return screen->Extent(text, font);
            }};
}

// A font height for another resolution. A height of a whole number of points
// (as the font dialog and the title's default give) stays that many points,
// so moving back and forth does not drift by rounding.
std::int32_t RescaleFontHeight(std::int32_t height, int from, int to)
{
    const int points = surface::MulDiv(height, 72, from);
    if (surface::MulDiv(points, from, 72) == height)
        return surface::MulDiv(points, to, 72);
    return surface::MulDiv(height, to, from);
}

}  // namespace

CChildView::CChildView()
    : Controller(new GameBoard(this, kWell.columns, kWell.rows, kWell.originX, kWell.originY)),
      m_board(static_cast<GameBoard*>(m_handler)),
      m_timerBase(kDefaultTimerBase),
      m_timerId(0),
      m_speedLevel(kStartSpeedLevel),
      m_logFont(),
      m_accessible([this] {
          const AccessibleText text = accessibleText(*m_board);
          return CAccessibleTexts{framework::Widen(text.name), framework::Widen(text.value),
                                  framework::Widen(text.description)};
      })
{
    std::memset(&m_logFont, 0, sizeof(m_logFont));
    AddCommand(ID_FONT, [this] { OnFont(); });
    AddCommand(ID_SIM_OPTIONS, [this] { OnSimOptions(); });
}

CChildView::~CChildView() {}

BOOL CChildView::PreCreateWindow(CREATESTRUCTW& cs)
{
    if (!CWnd::PreCreateWindow(cs))
        return FALSE;
    cs.dwExStyle |= WS_EX_CLIENTEDGE;
    cs.style &= ~static_cast<LONG>(WS_BORDER);
    cs.lpszClass =
        AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS, LoadCursorW(nullptr, IDC_ARROW),
                            reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1)), nullptr);
    return cs.lpszClass != nullptr ? TRUE : FALSE;
}

void CChildView::startGameTimer()
{
    if (m_timerId != 0)
        return;
    m_timerId =
        SetTimer(kGravityTimerId, static_cast<UINT>(gravityInterval(m_timerBase, m_speedLevel)), nullptr);
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
    m_timerId =
        SetTimer(kGravityTimerId, static_cast<UINT>(gravityInterval(m_timerBase, m_speedLevel)), nullptr);
}

void CChildView::Invalidate(bool erase)
{
    m_composeNeeded = true;
    CWnd::Invalidate(erase);
}

// Drawing on the client area goes through the back buffer, so that a later
// repaint of any part of the window shows it too.
std::unique_ptr<surface::CDC> CChildView::openClientDC()
{
    SizeBackBuffer();
    if (m_backBuffer.IsValid())
        return std::make_unique<CBufferedClientDC>(this, m_backBuffer);
    return std::make_unique<CClientDC>(this);
}

void CChildView::SizeBackBuffer()
{
    RECT client{};
    GetClientRect(&client);
    if (m_backBuffer.Resize(this, client.right, client.bottom))
        m_composeNeeded = true;
}

void CChildView::postCloseToMainWindow()
{
    CWnd* mainWnd = AfxGetMainWnd();
    if (mainWnd != nullptr)
        mainWnd->PostMessage(WM_CLOSE, 0, 0);
}

void CChildView::SetTitleFont()
{
    std::memset(&m_logFont, 0, sizeof(m_logFont));
    m_logFont.lfHeight = -m_board->layout().points(kTitleFontPoints);
    framework::CopyUtf8Truncated(kTitleFace, m_logFont.lfFaceName, surface::kFaceSizeUtf8);
}

LRESULT CChildView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAUSE_REQUEST) {
        OnPauseRequest();
        return 0;
    }
    if (message == WM_ERASEBKGND)
        return OnEraseBkgnd();
    if (message == WM_GETOBJECT) {
        LRESULT result = 0;
        if (m_accessible.OnGetObject(m_hWnd, wParam, lParam, result))
            return result;
    }
    if (message == WM_KILLFOCUS)
        m_caret.Destroy();
    return CWnd::WindowProc(message, wParam, lParam);
}

// Shows the picture, composed again first when something changed.
void CChildView::OnPaint()
{
    CPaintDC dc(this);
    SizeBackBuffer();
    if (!m_backBuffer.IsValid())
        return;
    if (m_composeNeeded) {
        Compose();
        m_composeNeeded = false;
    }
    m_backBuffer.CopyTo(dc.m_hDC, dc.m_ps.rcPaint);
}

// The title band, then the whole game, on what the class brush would have
// erased the client area to.
void CChildView::Compose()
{
    CBufferDC dc(m_backBuffer);
    const RECT client{0, 0, m_backBuffer.Width(), m_backBuffer.Height()};
    FillRect(dc.m_hDC, &client, GetSysColorBrush(COLOR_WINDOW));
    m_titleFont.CreateOnce(m_logFont);
    {
        surface::Selection font(dc);
        font.Select(m_titleFont);
        surface::CRect rect{0, 0, client.right, m_board->layout().titleBand()};
        dc.DrawTextUtf8(kTitle, rect,
                        surface::kTextCenter | surface::kTextVCenter | surface::kTextSingleLine);
    }
    m_handler->draw(dc);
}

BOOL CChildView::OnEraseBkgnd()
{
    return TRUE;
}

// The title font; the dialog always opens on the default title font.
void CChildView::OnFont()
{
    SetTitleFont();
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

// While a failed check's box is open the game stands still: its timer
// goes on, and play resumes after the box.
void CChildView::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == m_timerId && m_timerId != 0 && !InvariantReportShowing()) {
        std::unique_ptr<surface::CDC> dc = openClientDC();
        tick(*dc);
        TellChanges();
        PlaceCaret();
    }
    CWnd::OnTimer(nIDEvent);
}

int CChildView::OnCreate(LPCREATESTRUCTW lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    // The game's keys are no text: an input method left on would turn them
    // into a composition over the well.
    framework::DetachInputMethod(m_hWnd);
    // The frame lays the picture out before it creates the view; a view made
    // on its own, or at another resolution, lays it out here.
    const UINT dpi = framework::WindowDpi(m_hWnd);
    if (static_cast<int>(dpi) != m_board->layout().dpi())
        SetDpi(dpi);
    SetTitleFont();
    m_handler->initGame();
    m_told = {m_board->state(), m_board->speed(), m_board->score()};
    return 0;
}

void CChildView::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    Invalidate(TRUE);
}

void CChildView::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (!InvariantReportShowing()) {
        std::unique_ptr<surface::CDC> dc = openClientDC();
        translateKey(*dc, nChar, nFlags & 0xFF);
        TellChanges();
        PlaceCaret();
    }
    CWnd::OnKeyDown(nChar, nRepCnt, nFlags);
}

// The view closes with its frame; a close request sent to it alone (no
// part of the program sends one) would leave the frame empty.
void CChildView::OnClose() {}

void CChildView::OnPauseRequest()
{
    if (m_board->state() == GameState::Running)
        m_handler->togglePause();
    TellChanges();
}

void CChildView::OnSetFocus(CWnd* pOldWnd)
{
    CWnd::OnSetFocus(pOldWnd);
    m_caret.Create(m_hWnd);
    PlaceCaret();
}

// Clients that keep the view's accessible object get errors from now on.
void CChildView::OnDestroy()
{
    m_accessible.Disconnect();
    m_caret.Destroy();
    CWnd::OnDestroy();
}

// Raised after the change and once per change; gravity steps, moves and
// rotations change none of these, so play goes on without a word.
void CChildView::TellChanges()
{
    const ToldFigures now{m_board->state(), m_board->speed(), m_board->score()};
    const bool nameChanged = now.state != m_told.state;
    const bool valueChanged = now.speed != m_told.speed || now.score != m_told.score;
    m_told = now;
    if (nameChanged)
        CAccessibleClient::NotifyNameChange(m_hWnd);
    if (valueChanged)
        CAccessibleClient::NotifyValueChange(m_hWnd);
}

void CChildView::PlaceCaret()
{
    const surface::CRect shape = pointOfInterest(*m_board);
    m_caret.Place(RECT{shape.left, shape.top, shape.right, shape.bottom});
}

bool CChildView::SetDpi(UINT dpi, Layout::Extent room)
{
    if (!Layout::validDpi(dpi)) {
        TRACE("螢幕解析度不合理，畫面維持原樣\n");
        return false;
    }
    SetLayout(PictureLayout(dpi, room));
    return true;
}

void CChildView::SetLayout(const Layout& layout)
{
    const int before = m_board->layout().pictureDpi();
    m_board->setLayout(layout);
    // The title font keeps its size in points, also one the user chose.
    m_logFont.lfHeight = RescaleFontHeight(m_logFont.lfHeight, before, layout.pictureDpi());
    PlaceCaret();
}

UINT CChildView::dpi() const
{
    return static_cast<UINT>(m_board->layout().dpi());
}

Layout CChildView::PictureLayout(UINT dpi, Layout::Extent room)
{
    const Layout::TextMeasure measure = ScreenMeasure();
    return Layout(dpi, kWell.columns, kWell.rows, kWell.originX, kWell.originY, room, &measure);
}

SIZE CChildView::MinimumClientSize(const Layout& layout)
{
    const Layout::Extent client = layout.clientSize();
    return SIZE{client.cx, client.cy};
}
