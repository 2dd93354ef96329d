// The status panel: every item's text, place and colour, the prompts of each
// state, the numbers, the score font and the text colour it leaves behind.
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "control/well.h"
#include "game_fixtures.h"
#include "raster_surface.h"
#include "recording_host.h"

namespace {

using surface::COLORREF;

constexpr COLORREF kBlue = surface::Rgb(0, 0, 250);
constexpr COLORREF kBlack = surface::Rgb(0, 0, 0);
const std::string kBlank(99, ' ');

struct Item {
    int x;
    int y;
    std::string text;
    COLORREF colour;
};

// The panel of a freshly prepared game, item by item.
std::vector<Item> readyPanel()
{
    return {
        {456, 72, "Use numeric keypad to play::", kBlack},
        {492, 96, "←", kBlue},
        {514, 96, "(", kBlack},
        {520, 96, "4", kBlue},
        {530, 96, ")  : left", kBlack},
        {492, 120, "→", kBlue},
        {514, 120, "(", kBlack},
        {520, 120, "6", kBlue},
        {530, 120, ")  : right", kBlack},
        {492, 144, "↓", kBlue},
        {514, 144, "(", kBlack},
        {520, 144, "2", kBlue},
        {530, 144, ")  : down", kBlack},
        {492, 168, "↑", kBlue},
        {514, 168, "(", kBlack},
        {520, 168, "5,8", kBlue},
        {542, 168, ")  : rotate", kBlack},
        {456, 192, "Current speed is", kBlack},
        {576, 192, "3", kBlue},
        {456, 216, "          i : increase speed", kBlack},
        {456, 240, "         d : decrease speed", kBlack},
        {456, 264, kBlank, kBlack},
        {456, 288, "Press v to preview objects", kBlack},
        {456, 312, "Press q or <ESC> to exit the program", kBlack},
        {456, 336, "Press g to start the game", kBlack},
        {456, 384, "Current score is ", kBlack},
        {516, 408, "0", kBlue},
    };
}

class StatusPanelTest : public ::testing::Test {
protected:
    StatusPanelTest()
        : board(&host, kWell.columns, kWell.rows, kWell.originX, kWell.originY), dc(host.clientDC())
    {
        seedForKinds({0, 1});
        board.initGame();
    }

    // Draws the panel on a fresh surface and returns what it wrote.
    std::vector<TextRecord> drawPanel()
    {
        RasterSurface surface;
        board.drawStatusPanel(surface);
        lastColour = surface.textColour();
        colourChanges = surface.canvas().textColourChanges();
        defaultsBack = surface.holdsDefaultObjects();
        return surface.texts();
    }

    std::vector<std::string> prompts()
    {
        std::vector<TextRecord> texts = drawPanel();
        return {texts[21].text, texts[22].text, texts[23].text, texts[24].text};
    }

    RecordingHost host;
    GameBoard board;
    std::unique_ptr<RasterSurface> dc;
    COLORREF lastColour = 0;
    int colourChanges = 0;
    bool defaultsBack = false;
};

TEST_F(StatusPanelTest, ReadyPanelItemByItem)
{
    std::vector<TextRecord> texts = drawPanel();
    std::vector<Item> expected = readyPanel();
    ASSERT_EQ(texts.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE("item " + std::to_string(i + 1));
        EXPECT_EQ(texts[i].x, expected[i].x);
        EXPECT_EQ(texts[i].y, expected[i].y);
        EXPECT_EQ(texts[i].text, expected[i].text);
        EXPECT_EQ(texts[i].colour, expected[i].colour);
        EXPECT_FALSE(texts[i].viaDrawText);
        EXPECT_EQ(texts[i].font.has_value(), i + 1 == expected.size());
    }
}

TEST_F(StatusPanelTest, ColourChangesOnlyBetweenDifferentNeighboursAndEndsBlue)
{
    std::vector<TextRecord> texts = drawPanel();
    int changes = 0;
    COLORREF colour = kBlack;
    for (const TextRecord& text : texts) {
        changes += text.colour != colour ? 1 : 0;
        colour = text.colour;
    }
    EXPECT_EQ(colourChanges, changes);
    EXPECT_EQ(lastColour, kBlue);
    EXPECT_TRUE(defaultsBack);
}

TEST_F(StatusPanelTest, PromptsFollowTheState)
{
    struct Case {
        const char* name;
        std::function<void()> enter;
        std::vector<std::string> prompts;
    };
    RasterSurface surface;
    const Case cases[] = {
        {"Ready",
         [] {},
         {kBlank, "Press v to preview objects", "Press q or <ESC> to exit the program",
          "Press g to start the game"}},
        {"Running",
         [&] { board.start(surface); },
         {"Press p to pause       ", "Press v to preview objects", "Press q or <ESC> to stop the game       ",
          kBlank}},
        {"Paused",
         [&] { board.togglePause(); },
         {"Press p to continue", "Press v to preview objects", "Press q or <ESC> to stop the game       ",
          kBlank}},
        {"Over", [&] { board.quit(); }, {kBlank, kBlank, kBlank, kBlank}},
    };
    for (const Case& c : cases) {
        c.enter();
        EXPECT_EQ(prompts(), c.prompts) << c.name;
    }
}

TEST_F(StatusPanelTest, PreviewChangesOnlyItsOwnLine)
{
    RasterSurface surface;
    for (bool running : {false, true}) {
        if (running) {
            board.start(surface);
        }
        std::vector<TextRecord> before = drawPanel();
        board.togglePreview(surface);
        std::vector<TextRecord> after = drawPanel();
        board.togglePreview(surface);
        ASSERT_EQ(before.size(), after.size());
        for (std::size_t i = 0; i < before.size(); ++i) {
            if (i == 22) {
                EXPECT_EQ(before[i].text, "Press v to preview objects");
                EXPECT_EQ(after[i].text, "Press v to disable preview");
            } else {
                EXPECT_EQ(before[i].text, after[i].text) << "item " << i + 1;
            }
        }
    }
}

TEST_F(StatusPanelTest, OverIsBlankWithPreviewOnOrOff)
{
    board.quit();
    RasterSurface surface;
    EXPECT_EQ(prompts(), (std::vector<std::string>{kBlank, kBlank, kBlank, kBlank}));
    board.togglePreview(surface);
    EXPECT_EQ(prompts(), (std::vector<std::string>{kBlank, kBlank, kBlank, kBlank}));
}

TEST_F(StatusPanelTest, NumbersAreWrittenWithAllTheirDigits)
{
    board.changeSpeed(+100);
    GameBoardAccess::setScore(board, 1234567);
    std::vector<TextRecord> texts = drawPanel();
    EXPECT_EQ(texts[18].text, "10");
    EXPECT_EQ(texts[18].x, 456 + 120);
    EXPECT_EQ(texts[26].text, "1234567");
    EXPECT_EQ(texts[26].x, 456 + 60);
    EXPECT_EQ(texts[26].y, 408);

    GameBoardAccess::setScore(board, -2147483647 - 1);
    EXPECT_EQ(drawPanel()[26].text, "-2147483648");
}

TEST_F(StatusPanelTest, ScoreCaptionStandsTwoLinesBelowTheStartPrompt)
{
    std::vector<TextRecord> texts = drawPanel();
    EXPECT_EQ(texts[25].y - texts[24].y, 48);
    EXPECT_EQ(texts[26].y - texts[25].y, 24);
}

TEST_F(StatusPanelTest, ScoreFontIsEightyPointArial)
{
    TextRecord score = drawPanel().back();
    ASSERT_TRUE(score.font.has_value());
    surface::LOGFONT expected{};
    expected.lfHeight = 107;  // 80 points at 96 dots per inch
    std::strcpy(expected.lfFaceName, "Arial");
    EXPECT_TRUE(*score.font == expected);
    EXPECT_EQ(score.font->lfHeight, 107);
    EXPECT_STREQ(score.font->lfFaceName, "Arial");
}

}  // namespace
