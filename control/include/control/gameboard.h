// The game's rules: the well with its settled cells, the falling and the
// next shape, the game state, speed level, score and preview flag, and the
// drawing of the whole game including the status panel.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "control/board_host.h"
#include "control/commandhandler.h"
#include "control/layout.h"
#include "model/blockary.h"
#include "model/shape.h"
#include "model/shape_board.h"

enum class GameState : std::int32_t { Paused = 0, Running = 1, Ready = 2, Over = 3 };

// One text of the status panel, where and how it is drawn.
struct PanelItem {
    int x;
    int y;
    std::string text;
    surface::COLORREF colour;
    // Drawn in the score's large font rather than the panel's.
    bool large;
};

class GameBoard : public CommandHandler, public ShapeBoard {
public:
    // Seeds std::rand from the clock; no shape exists until initGame. The
    // picture is laid out for 96 DPI until setDpi says otherwise.
    GameBoard(BoardHost* view, int cols, int rows, int originX, int originY);
    ~GameBoard() override;
    GameBoard(const GameBoard&) = delete;
    GameBoard& operator=(const GameBoard&) = delete;

    void togglePreview(surface::CDC& dc) override;
    void changeSpeed(int delta) override;
    void togglePause() override;
    void commandR(surface::CDC& dc) override;
    void moveShape(surface::CDC& dc, ShapeMove dir) override;
    void rotateShape(surface::CDC& dc) override;
    void quit() override;
    void start(surface::CDC& dc) override;
    void draw(surface::CDC& dc) override;
    void tick(surface::CDC& dc) override;
    void initGame() override;

    bool collides(const Shape& shape) const override;
    // Settles the current shape, removes full rows and counts them.
    void landShape(surface::CDC& dc);
    // Promotes the next shape into the well and creates a new next shape.
    void spawnNext(surface::CDC& dc);
    // Empties the well and the score and prepares two new shapes, keeping
    // the speed level and the preview flag.
    void newGame(surface::CDC& dc);
    void drawBorder(surface::CDC& dc) const;
    void drawStatusPanel(surface::CDC& dc) const;

    // Lays the picture out for another resolution, fitted to the room the
    // window has (see Layout), and asks for a repaint; a resolution that
    // Layout::validDpi refuses changes nothing.
    bool setDpi(int dpi, Layout::Extent room = Layout::kUnlimited);
    // Takes a layout made for this board's well and asks for a repaint.
    void setLayout(const Layout& layout);
    const Layout& layout() const { return m_layout; }

    // The status panel's items in drawing order, for a game in that state.
    static std::vector<PanelItem> statusPanelItems(const Layout& layout, GameState state, bool preview,
                                                   int speed, int score);
    // Every item the panel shows in any state, each once, the speed and the
    // score at their widest.
    static std::vector<PanelItem> everyPanelItem(const Layout& layout);
    // How far right and down the panel's texts reach, as measured, in any
    // state: what the window must make room for.
    static Layout::Extent panelExtent(const Layout& layout, const Layout::TextMeasure& measure);
    // The font of the panel's texts: none (false) where the picture and the
    // surface's own font are both made for 96 DPI, as the surface's font then
    // fits the rows; else one as high as the rows allow. surfaceDpi is the
    // surface's GetDeviceCaps(kLogPixelsY), the resolution its own font was
    // made for.
    static bool panelFont(const Layout& layout, int surfaceDpi, surface::LOGFONT& lf);
    // The score's large font.
    static surface::LOGFONT scoreFont(const Layout& layout);
    // Said of an ended game, whose panel shows no prompt.
    static const char* gameOverText();

    GameState state() const { return m_state; }
    int speed() const { return m_speed; }
    int score() const { return m_score; }
    bool preview() const { return m_preview; }
    const Shape* current() const { return m_current.get(); }
    const Shape* next() const { return m_next.get(); }
    const BlockArray& blocks() const { return m_blocks; }

private:
    // Tests load positions into the grid through it.
    friend struct GameBoardAccess;

    // Gives the grid and the shapes the layout's geometry: every change of
    // scale and every new shape goes through here.
    void applyLayout();

    bool m_preview;
    int m_cols;
    int m_rows;
    int m_speed;
    GameState m_state;
    int m_score;
    int m_originX;
    int m_originY;
    Layout m_layout;
    int m_cellSize;
    std::unique_ptr<Shape> m_current;
    std::unique_ptr<Shape> m_next;
    BlockArray m_blocks;
    BoardHost* m_view;
    // The status panel's fonts, kept from one repaint to the next.
    mutable surface::CFont m_panelTextFont;
    mutable surface::CFont m_scoreFont;
};
