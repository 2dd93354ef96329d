// Paints a game in progress and writes it as a PNG for a person to look at.
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "control/well.h"
#include "game_fixtures.h"
#include "raster_surface.h"
#include "recording_host.h"

namespace {

TEST(Picture, MidGameBoardIsWrittenAsPng)
{
    RecordingHost host;
    GameBoard board(&host, kWell.columns, kWell.rows, kWell.originX, kWell.originY);
    seedForKinds({3, 5});
    board.initGame();
    std::unique_ptr<RasterSurface> dc = host.clientDC();
    board.togglePreview(*dc);
    loadRows(GameBoardAccess::blocks(board),
             {"....1........", "...0112..3...", ".4400122.33.5", "44301222335.5", "0330.15543225"});
    board.start(*dc);
    board.changeSpeed(+2);
    GameBoardAccess::setScore(board, 42);
    for (int i = 0; i < 5; ++i) {
        board.tick(*dc);
    }
    board.moveShape(*dc, ShapeMove::Left);
    board.rotateShape(*dc);

    RasterSurface picture;
    board.draw(picture);
    const std::string path = std::string(PICTURE_DIR) + "/midgame.png";
    ASSERT_TRUE(picture.writePng(path)) << path;
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    EXPECT_GT(static_cast<long long>(file.tellg()), 840LL * 600 * 3);
    // A settled cell of kind 5 at the bottom right.
    EXPECT_EQ(picture.pixel((4 + 12) * 24 + 12, (3 + 19) * 24 + 12), colorTable[6]);
}

}  // namespace
