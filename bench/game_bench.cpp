// Timings of one gravity step (plain and with a landing that clears rows)
// and of one full repaint of the board on the raster surface.
#include <memory>

#include <benchmark/benchmark.h>

#include "control/well.h"
#include "game_fixtures.h"
#include "raster_surface.h"
#include "recording_host.h"

namespace {

// A running game whose falling bar rests in the one gap of the four bottom
// rows, so the next gravity step lands it and clears all four.
struct LandingPosition {
    LandingPosition()
        : board(&host, kWell.columns, kWell.rows, kWell.originX, kWell.originY), dc(host.clientDC())
    {
        seedForKinds({0, 1});
        board.initGame();
        loadRows(GameBoardAccess::blocks(board),
                 {"3..........5.", "111111.111111", "222222.222222", "333333.333333", "444444.444444"});
        board.start(*dc);
        board.moveShape(*dc, ShapeMove::Drop);
    }

    RecordingHost host;
    GameBoard board;
    std::unique_ptr<RasterSurface> dc;
};

void GravityStepWithLanding(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto position = std::make_unique<LandingPosition>();
        state.ResumeTiming();
        position->board.tick(*position->dc);
        benchmark::DoNotOptimize(position->board.score());
        state.PauseTiming();
        position.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(GravityStepWithLanding);

// A running game with a bar at the top of an empty well.
struct FallingPosition {
    FallingPosition()
        : board(&host, kWell.columns, kWell.rows, kWell.originX, kWell.originY), dc(host.clientDC())
    {
        seedForKinds({0, 1});
        board.initGame();
        board.start(*dc);
    }

    RecordingHost host;
    GameBoard board;
    std::unique_ptr<RasterSurface> dc;
};

void GravityStepFalling(benchmark::State& state)
{
    auto position = std::make_unique<FallingPosition>();
    for (auto _ : state) {
        position->board.tick(*position->dc);
        // At the floor the next step would land: start over outside the timing.
        if (position->board.current()->centerY() == 17) {
            state.PauseTiming();
            position = std::make_unique<FallingPosition>();
            state.ResumeTiming();
        }
    }
}
BENCHMARK(GravityStepFalling);

void FullBoardDraw(benchmark::State& state)
{
    RecordingHost host;
    GameBoard board(&host, kWell.columns, kWell.rows, kWell.originX, kWell.originY);
    std::unique_ptr<RasterSurface> dc = host.clientDC();
    seedForKinds({3, 5});
    board.initGame();
    board.togglePreview(*dc);
    loadRows(GameBoardAccess::blocks(board),
             {"....1........", "...0112..3...", ".4400122.33.5", "44301222335.5", "0330.15543225"});
    board.start(*dc);
    RasterSurface surface;
    for (auto _ : state) {
        board.draw(surface);
        surface.canvas().texts().clear();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(FullBoardDraw);

}  // namespace
