// The column of text right of the well: key help, speed, the prompts of the
// current state and the score in a large font.
#include <cstring>
#include <string>
#include <string_view>
#include <utility>

#include "control/gameboard.h"
#include "control/gravity.h"

using surface::COLORREF;

namespace {

constexpr COLORREF kBlue = surface::Rgb(0, 0, 250);
constexpr COLORREF kBlack = surface::Rgb(0, 0, 0);
constexpr int kScorePoints = 80;
// A score as wide as any a game reaches, for the panel's widest picture.
constexpr int kWidestScore = 888;

// Draws items in order and changes the text colour only between items of
// different colour, once, after the earlier one is drawn.
class PanelWriter {
public:
    explicit PanelWriter(surface::CDC& dc) : m_dc(dc), m_colour(kBlack) {}

    void text(int x, int y, std::string_view text, COLORREF colour)
    {
        setColour(colour);
        m_dc.TextOutUtf8(x, y, text);
    }
    void setColour(COLORREF colour)
    {
        if (colour != m_colour) {
            m_dc.SetTextColor(colour);
            m_colour = colour;
        }
    }

private:
    surface::CDC& m_dc;
    // The panel starts in the surface's own text colour, taken to be black
    // as on every fresh surface.
    COLORREF m_colour;
};

}  // namespace

std::vector<PanelItem> GameBoard::statusPanelItems(const Layout& layout, GameState state, bool preview,
                                                   int speed, int score)
{
    static const std::string blank(99, ' ');
    std::vector<PanelItem> items;
    const int x0 = layout.panelLeft();
    int line = 0;
    // Offsets from the panel's left edge are lengths at 96 DPI.
    auto add = [&](int dx, std::string_view text, COLORREF colour, bool large = false) {
        items.push_back({x0 + layout.scale(dx), layout.panelLine(line), std::string(text), colour, large});
    };

    add(0, "Use numeric keypad to play::", kBlack);

    struct KeyHelp {
        const char* arrow;
        const char* key;
        int labelX;
        const char* label;
    };
    static const KeyHelp keyHelp[] = {
        {"←", "4", 74, ")  : left"},
        {"→", "6", 74, ")  : right"},
        {"↓", "2", 74, ")  : down"},
        {"↑", "5,8", 86, ")  : rotate"},
    };
    for (const KeyHelp& help : keyHelp) {
        ++line;
        add(36, help.arrow, kBlue);
        add(58, "(", kBlack);
        add(64, help.key, kBlue);
        add(help.labelX, help.label, kBlack);
    }

    ++line;
    add(0, "Current speed is", kBlack);
    add(120, std::to_string(speed), kBlue);

    ++line;
    add(0, "          i : increase speed", kBlack);
    ++line;
    add(0, "         d : decrease speed", kBlack);

    const std::string_view previewPrompt =
        preview ? "Press v to disable preview" : "Press v to preview objects";
    std::string_view pausePrompt = blank;
    std::string_view previewLine = previewPrompt;
    std::string_view quitPrompt = blank;
    std::string_view startPrompt = blank;
    switch (state) {
        case GameState::Paused:
            pausePrompt = "Press p to continue";
            quitPrompt = "Press q or <ESC> to stop the game       ";
            break;
        case GameState::Running:
            pausePrompt = "Press p to pause       ";
            quitPrompt = "Press q or <ESC> to stop the game       ";
            break;
        case GameState::Ready:
            quitPrompt = "Press q or <ESC> to exit the program";
            startPrompt = "Press g to start the game";
            break;
        case GameState::Over:
            previewLine = blank;
            break;
    }
    for (std::string_view prompt : {pausePrompt, previewLine, quitPrompt, startPrompt}) {
        ++line;
        add(0, prompt, kBlack);
    }

    line += 2;
    add(0, "Current score is ", kBlack);

    ++line;
    add(60, std::to_string(score), kBlue, true);
    return items;
}

std::vector<PanelItem> GameBoard::everyPanelItem(const Layout& layout)
{
    std::vector<PanelItem> items;
    for (GameState state : {GameState::Paused, GameState::Running, GameState::Ready, GameState::Over}) {
        for (bool preview : {false, true}) {
            for (PanelItem& item : statusPanelItems(layout, state, preview, kMaxSpeedLevel, kWidestScore)) {
                items.push_back(std::move(item));
            }
        }
    }
    return items;
}

bool GameBoard::panelFont(const Layout& layout, int surfaceDpi, surface::LOGFONT& lf)
{
    if (layout.pictureDpi() == Layout::kBaseDpi && surfaceDpi == Layout::kBaseDpi) {
        return false;
    }
    std::memset(&lf, 0, sizeof lf);
    // A positive height asks for the character cell, as tall as the system
    // font's in its row at 96 DPI; bold like the system font.
    lf.lfHeight = layout.panelTextHeight();
    lf.lfWeight = 700;
    std::memcpy(lf.lfFaceName, "Tahoma", sizeof "Tahoma");
    return true;
}

surface::LOGFONT GameBoard::scoreFont(const Layout& layout)
{
    surface::LOGFONT lf{};
    // Positive: the cell height of 80 points rather than the characters'.
    lf.lfHeight = layout.points(kScorePoints);
    std::memcpy(lf.lfFaceName, "Arial", sizeof "Arial");
    return lf;
}

const char* GameBoard::gameOverText()
{
    return "Game over";
}

void GameBoard::drawStatusPanel(surface::CDC& dc) const
{
    surface::LOGFONT textLf{};
    const bool ownTextFont = panelFont(m_layout, dc.GetDeviceCaps(surface::kLogPixelsY), textLf);
    if (ownTextFont) {
        m_panelTextFont.CreateOnce(textLf);
    }
    // Without a font of its own the panel uses the surface's font.
    surface::Selection selection(dc);
    if (ownTextFont) {
        selection.Select(m_panelTextFont);
    }

    PanelWriter panel(dc);
    for (const PanelItem& item : statusPanelItems(m_layout, m_state, m_preview, m_speed, m_score)) {
        if (item.large) {
            m_scoreFont.CreateOnce(scoreFont(m_layout));
            selection.Select(m_scoreFont);
        }
        panel.text(item.x, item.y, item.text, item.colour);
    }
}
