// What the game tells assistive technology: every text of the status panel
// said exactly once in some state's name, value or description, and the
// rectangle a magnifier follows.
#include <algorithm>
#include <climits>
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "control/assistive.h"
#include "control/well.h"
#include "game_fixtures.h"
#include "recording_host.h"

namespace {

std::size_t occurrences(const std::string& text, const std::string& part)
{
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

// A text as said: runs of spaces one, none at the ends.
std::string spoken(const std::string& text)
{
    std::string said;
    for (char c : text) {
        if (c != ' ' || (!said.empty() && said.back() != ' '))
            said += c;
    }
    while (!said.empty() && said.back() == ' ')
        said.pop_back();
    return said;
}

struct BoardCase {
    const char* name;
    std::function<void(GameBoard&, RecordingHost&)> play;
};

class AccessibleTextTest : public ::testing::TestWithParam<BoardCase> {
protected:
    RecordingHost host;
    GameBoard board{&host, kWell.columns, kWell.rows, kWell.originX, kWell.originY};
};

TEST_P(AccessibleTextTest, SaysEveryPanelTextOnceAndNothingTwice)
{
    board.initGame();
    GetParam().play(board, host);
    const AccessibleText text = accessibleText(board);
    const std::string all = text.name + "\n" + text.value + "\n" + text.description;
    EXPECT_FALSE(text.name.empty());
    for (const PanelItem& item : GameBoard::statusPanelItems(board.layout(), board.state(), board.preview(),
                                                             board.speed(), board.score())) {
        const std::string words = spoken(item.text);
        // Glyphs, brackets and digits of the key help are checked as lines
        // by the window tests; the words here.
        if (words.size() < 5)
            continue;
        EXPECT_EQ(occurrences(all, words), 1u) << '"' << words << "\" in\n" << all;
    }
    EXPECT_EQ(occurrences(text.value, "Current speed is " + std::to_string(board.speed())), 1u) << text.value;
    EXPECT_EQ(occurrences(text.value, "Current score is " + std::to_string(board.score())), 1u) << text.value;
    EXPECT_EQ(text.description.find("  "), std::string::npos) << "runs of spaces are said as one";
}

INSTANTIATE_TEST_SUITE_P(States, AccessibleTextTest,
                         ::testing::Values(BoardCase{"Ready", [](GameBoard&, RecordingHost&) {}},
                                           BoardCase{"Running",
                                                     [](GameBoard& b, RecordingHost& h) {
                                                         auto dc = h.clientDC();
                                                         b.start(*dc);
                                                     }},
                                           BoardCase{"PausedWithPreview",
                                                     [](GameBoard& b, RecordingHost& h) {
                                                         auto dc = h.clientDC();
                                                         b.start(*dc);
                                                         b.togglePreview(*dc);
                                                         b.togglePause();
                                                     }},
                                           BoardCase{"FastAndScored",
                                                     [](GameBoard& b, RecordingHost& h) {
                                                         auto dc = h.clientDC();
                                                         b.start(*dc);
                                                         b.changeSpeed(100);
                                                         GameBoardAccess::setScore(b, 1234);
                                                     }},
                                           BoardCase{"Over", [](GameBoard& b, RecordingHost&) { b.quit(); }}),
                         [](const auto& param) { return std::string(param.param.name); });

TEST(AccessibleText, EndedGameIsNamedByItsOwnShortText)
{
    RecordingHost host;
    GameBoard board(&host, kWell.columns, kWell.rows, kWell.originX, kWell.originY);
    board.initGame();
    board.quit();
    EXPECT_EQ(accessibleText(board).name, GameBoard::gameOverText());
}

// The rectangle around the falling shape's cells, from the grid's own cell
// formula.
surface::CRect cellsOf(const Shape& shape, const Layout& layout)
{
    surface::CRect rect{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
    const int size = layout.cellSize();
    for (int cell = 0; cell < shape.cellCount(); ++cell) {
        const int x = (layout.originX() + shape.centerX() + shape.offsetX(cell)) * size;
        const int y = (layout.originY() + shape.centerY() + shape.offsetY(cell)) * size;
        rect = {std::min(rect.left, x), std::min(rect.top, y), std::max(rect.right, x + size),
                std::max(rect.bottom, y + size)};
    }
    return rect;
}

void expectRect(const surface::CRect& actual, const surface::CRect& expected, const char* what)
{
    EXPECT_EQ(actual.left, expected.left) << what;
    EXPECT_EQ(actual.top, expected.top) << what;
    EXPECT_EQ(actual.right, expected.right) << what;
    EXPECT_EQ(actual.bottom, expected.bottom) << what;
}

TEST(PointOfInterest, TheShapeAtEveryScaleThenTheTopRowAfterTheEnd)
{
    RecordingHost host;
    GameBoard board(&host, kWell.columns, kWell.rows, kWell.originX, kWell.originY);
    board.initGame();
    expectRect(pointOfInterest(board), cellsOf(*board.current(), board.layout()), "before the start");
    auto dc = host.clientDC();
    board.start(*dc);
    expectRect(pointOfInterest(board), cellsOf(*board.current(), board.layout()), "started");
    board.moveShape(*dc, ShapeMove::Left);
    board.tick(*dc);
    expectRect(pointOfInterest(board), cellsOf(*board.current(), board.layout()), "moved and fallen");
    ASSERT_TRUE(board.setDpi(144));
    expectRect(pointOfInterest(board), cellsOf(*board.current(), board.layout()), "at 144 DPI");
    EXPECT_EQ(board.layout().cellSize(), 36);
    board.quit();
    const surface::CRect well = board.layout().well();
    expectRect(pointOfInterest(board), {well.left, well.top, well.right, well.top + 36}, "after the end");
}

}  // namespace
