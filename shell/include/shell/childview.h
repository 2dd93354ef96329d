// The game view: the child window that fills the main frame, paints the
// title and the game, runs the gravity timer, passes key presses to its
// controller part and carries out the Font and Simulation-options commands.
#pragma once

#include "control/board_host.h"
#include "control/controller.h"
#include "control/layout.h"
#include "control/well.h"
#include "framework/accessible.h"
#include "framework/backbuffer.h"
#include "framework/caret.h"
#include "framework/wnd.h"
#include "surface/surface.h"

#include <cstdint>

class GameBoard;
enum class GameState : std::int32_t;

class CChildView : public CWnd, public BoardHost, public Controller {
public:
    // Posted to the view to pause a running game; any other state stays.
    static constexpr UINT WM_PAUSE_REQUEST = WM_APP + 1;

    static constexpr UINT_PTR kGravityTimerId = 2001;

    CChildView();
    ~CChildView() override;

    BOOL PreCreateWindow(CREATESTRUCTW& cs) override;

    // Operations the board asks of its host.
    void startGameTimer() override;
    void stopGameTimer() override;
    void setSpeedLevel(int level) override;
    // Both the board's and the window's: the picture is composed anew.
    void Invalidate(bool erase = true) override;
    std::unique_ptr<surface::CDC> openClientDC() override;
    void postCloseToMainWindow() override;

    // The view's picture at a display resolution, fitted to the largest
    // client area the view may have, its status panel's texts measured on
    // the screen.
    static Layout PictureLayout(UINT dpi, Layout::Extent room = Layout::kUnlimited);
    // The client area that shows the whole well with its border, the title
    // band and the status panel's texts, for a picture.
    static SIZE MinimumClientSize(const Layout& layout);

    // Lays the picture and the title font out for a display resolution,
    // fitted to the room the view may have, and repaints; a nonsense
    // resolution is reported and changes nothing.
    bool SetDpi(UINT dpi, Layout::Extent room = Layout::kUnlimited);
    // Takes a picture made by PictureLayout, with the title font, and
    // repaints.
    void SetLayout(const Layout& layout);
    // The display's resolution (the picture's may be less: see Layout).
    UINT dpi() const;

    const GameBoard& board() const { return *m_board; }
    int timerBase() const { return m_timerBase; }
    UINT_PTR timerId() const { return m_timerId; }
    int speedLevel() const { return m_speedLevel; }
    const surface::LOGFONT& logFont() const { return m_logFont; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnPaint() override;
    void OnFont();
    void OnSimOptions();
    void OnContextMenu(CWnd* pWnd, CPoint point) override;
    void OnTimer(UINT_PTR nIDEvent) override;
    int OnCreate(LPCREATESTRUCTW lpCreateStruct) override;
    void OnSize(UINT nType, int cx, int cy) override;
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) override;
    void OnClose() override;
    void OnPauseRequest();
    void OnSetFocus(CWnd* pOldWnd) override;
    void OnDestroy() override;
    // The whole picture is composed off-screen: nothing is erased first.
    BOOL OnEraseBkgnd();

private:
    void SetTitleFont();
    // Makes the back buffer the client area's size; a new one needs composing.
    void SizeBackBuffer();
    // Draws the title and the board into the back buffer.
    void Compose();
    // Tells screen readers what changed in the board's state, speed and
    // score since they were last told; called after the board changed.
    void TellChanges();
    // Puts the hidden caret on the falling shape, or on the well while none
    // falls, for magnifiers to follow.
    void PlaceCaret();

    GameBoard* m_board;  // the handler, seen as the board it is; not owned
    int m_timerBase;
    UINT_PTR m_timerId;
    int m_speedLevel;
    surface::LOGFONT m_logFont;
    // The picture between paints, and whether it must be drawn again before
    // it is shown (set by every invalidation of the view).
    CBackBuffer m_backBuffer;
    bool m_composeNeeded = true;
    // The title font made from m_logFont, kept until m_logFont changes.
    surface::CFont m_titleFont;

    // The figures that screen readers were last told of.
    struct ToldFigures {
        GameState state;
        int speed;
        int score;
    };
    ToldFigures m_told{};
    CAccessibleClient m_accessible;
    CHiddenCaret m_caret;
};
