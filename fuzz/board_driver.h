// Plays a string of bytes as input to a game board that paints on the raster
// test surface, and checks the game's rules after every step: the well's
// cells and rows, the falling shape, the score against an independent count
// of removed rows, the timer, the status panel's texts, the picture after a
// repaint, and that no invariant check failed. The view it plays in is
// simulated (fuzz_host.h); what the grid must be is worked out apart from the
// game's code (grid_oracle.h).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>

#include "control/controller.h"
#include "control/gameboard.h"
#include "control/well.h"
#include "model/invariant.h"
#include "fuzz_host.h"
#include "grid_oracle.h"
#include "raster_surface.h"

class BoardDriver {
public:
    // The seed fixes the shapes' kinds. Only the well and the preview area
    // of the picture are looked at, so it may be as small as kPictureWidth by
    // kPictureHeight and may be reused.
    BoardDriver(unsigned seed, std::shared_ptr<Canvas> canvas);

    static constexpr int kPictureWidth = 420;
    static constexpr int kPictureHeight = 560;
    ~BoardDriver();
    BoardDriver(const BoardDriver&) = delete;
    BoardDriver& operator=(const BoardDriver&) = delete;

    // Runs the steps the bytes encode until they end or a check fails.
    // Returns the first failure, empty when every check held.
    std::string play(const std::uint8_t* data, std::size_t size);
    // The checks that hold in every position; empty when all held.
    std::string checkPosition();

    GameBoard& board() { return *m_board; }
    FuzzHost& host() { return m_host; }

private:
    // What a step may change, taken before it. Fixed-size, as it is taken
    // on every step: no allocation.
    struct Snapshot {
        Cells cells;
        const Shape* current;
        const Shape* next;
        int score;
        int kind;
        int shapeCellCount;
        std::array<std::pair<int, int>, 4> shapeCells;
    };

    std::string step(std::size_t& pos, const std::uint8_t* data, std::size_t size);
    std::string key(unsigned vk, unsigned scan);
    // The key alone, checked only for a command left pending.
    std::string press(unsigned vk, unsigned scan);
    // Input returns its own failure, empty when there was none.
    template <typename Input>
    std::string start(const Input& input);
    std::string tick();
    std::string repaint();
    std::string place(std::uint8_t how);
    void loadRows(std::size_t& pos, const std::uint8_t* data, std::size_t size);
    std::string setDpi(std::size_t& pos, const std::uint8_t* data, std::size_t size);
    Snapshot snapshot() const;
    // The grid and the score are as before the step.
    std::string checkUnchanged(const Snapshot& before) const;
    // The grid holds the landed shape with its full rows removed, or is
    // unchanged when no shape landed; the score grew by the rows removed.
    std::string checkTick(const Snapshot& before);
    std::string checkPanel();
    // checkPosition on the grid as last read into m_cells.
    std::string checkCells();
    void samplePicture();

    struct PanelInputs {
        GameState state = GameState::Over;
        bool preview = false;
        int speed = -1;
        int score = -1;
        int dpi = 0;
        bool operator==(const PanelInputs& other) const
        {
            return state == other.state && preview == other.preview && speed == other.speed &&
                   score == other.score && dpi == other.dpi;
        }
    };

    FuzzHost m_host;
    GameBoard* m_board;  // owned by the controller
    Controller m_controller;
    RasterSurface m_dc;
    // Rows removed since the current game began.
    int m_rowsRemoved;
    // Whether the step started a new game after one had ended.
    bool m_startedAnew;
    PanelInputs m_panelChecked;
    // Where the panel is drawn to read its texts.
    RasterSurface m_panelDc{1, 1};
    // The grid as the last check read it: what the next step starts from.
    // Read first by the check before play's first step.
    Cells m_cells;
    // The last grid whose cells passed their checks.
    Cells m_checkedCells;
    InvariantHandler m_previousHandler;
};

// Plays one input on a fresh board, seeded from the input's first byte.
std::string playBoardInput(const std::uint8_t* data, std::size_t size);
