// The column of text right of the well: key help, speed, the prompts of the
// current state and the score in a large font.
#include <algorithm>
#include <cstring>
#include <iterator>
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

// What an item of the panel shows: a fixed text, or one that the game's
// state, preview flag, speed or score decides.
enum class Shows { Text, Speed, PausePrompt, PreviewPrompt, QuitPrompt, StartPrompt, Score };

// One item: its line (counted in cells from the panel's top), its offset from
// the panel's left edge at 96 DPI, what it shows, its colour and its text
// where it is a fixed one.
struct PanelEntry {
    int line;
    int offset96;
    Shows shows;
    COLORREF colour;
    const char* text;
};

// The panel top to bottom, each line left to right, in drawing order.
// clang-format off
constexpr PanelEntry kPanel[] = {
    {0,    0, Shows::Text,          kBlack, "Use numeric keypad to play::"},
    {1,   36, Shows::Text,          kBlue,  "←"},
    {1,   58, Shows::Text,          kBlack, "("},
    {1,   64, Shows::Text,          kBlue,  "4"},
    {1,   74, Shows::Text,          kBlack, ")  : left"},
    {2,   36, Shows::Text,          kBlue,  "→"},
    {2,   58, Shows::Text,          kBlack, "("},
    {2,   64, Shows::Text,          kBlue,  "6"},
    {2,   74, Shows::Text,          kBlack, ")  : right"},
    {3,   36, Shows::Text,          kBlue,  "↓"},
    {3,   58, Shows::Text,          kBlack, "("},
    {3,   64, Shows::Text,          kBlue,  "2"},
    {3,   74, Shows::Text,          kBlack, ")  : down"},
    {4,   36, Shows::Text,          kBlue,  "↑"},
    {4,   58, Shows::Text,          kBlack, "("},
    {4,   64, Shows::Text,          kBlue,  "5,8"},
    {4,   86, Shows::Text,          kBlack, ")  : rotate"},
    {5,    0, Shows::Text,          kBlack, "Current speed is"},
    {5,  120, Shows::Speed,         kBlue,  nullptr},
    {6,    0, Shows::Text,          kBlack, "          i : increase speed"},
    {7,    0, Shows::Text,          kBlack, "         d : decrease speed"},
    {8,    0, Shows::PausePrompt,   kBlack, nullptr},
    {9,    0, Shows::PreviewPrompt, kBlack, nullptr},
    {10,   0, Shows::QuitPrompt,    kBlack, nullptr},
    {11,   0, Shows::StartPrompt,   kBlack, nullptr},
    {13,   0, Shows::Text,          kBlack, "Current score is "},
    {14,  60, Shows::Score,         kBlue,  nullptr},
};
// clang-format on

// The prompts of a state; null where the line has nothing to say.
struct StatePrompts {
    const char* pause;
    bool preview;
    const char* quit;
    const char* start;
};

StatePrompts promptsOf(GameState state)
{
    switch (state) {
        case GameState::Paused:
            return {"Press p to continue", true, "Press q or <ESC> to stop the game       ", nullptr};
        case GameState::Running:
            return {"Press p to pause       ", true, "Press q or <ESC> to stop the game       ", nullptr};
        case GameState::Ready:
            return {nullptr, true, "Press q or <ESC> to exit the program", "Press g to start the game"};
        case GameState::Over:
            break;
    }
    return {nullptr, false, nullptr, nullptr};
}

}  // namespace

std::vector<PanelItem> GameBoard::statusPanelItems(const Layout& layout, GameState state, bool preview,
                                                   int speed, int score)
{
    // A line with nothing to say is written over with spaces.
    static const std::string blank(99, ' ');
    const auto orBlank = [](const char* text) { return text != nullptr ? std::string(text) : blank; };
    const StatePrompts prompts = promptsOf(state);
    const char* previewPrompt = preview ? "Press v to disable preview" : "Press v to preview objects";
    std::vector<PanelItem> items;
    items.reserve(std::size(kPanel));
    for (const PanelEntry& entry : kPanel) {
        std::string text;
        switch (entry.shows) {
            case Shows::Text:
                text = entry.text;
                break;
            case Shows::Speed:
                text = std::to_string(speed);
                break;
            case Shows::PausePrompt:
                text = orBlank(prompts.pause);
                break;
            case Shows::PreviewPrompt:
                text = orBlank(prompts.preview ? previewPrompt : nullptr);
                break;
            case Shows::QuitPrompt:
                text = orBlank(prompts.quit);
                break;
            case Shows::StartPrompt:
                text = orBlank(prompts.start);
                break;
            case Shows::Score:
                text = std::to_string(score);
                break;
        }
        items.push_back({layout.panelLeft() + layout.scale(entry.offset96), layout.panelLine(entry.line),
                         std::move(text), entry.colour, entry.shows == Shows::Score});
    }
    return items;
}

std::vector<PanelItem> GameBoard::everyPanelItem(const Layout& layout)
{
    // Most items are the same in every state: each is kept once.
    std::vector<PanelItem> items;
    for (GameState state : {GameState::Paused, GameState::Running, GameState::Ready, GameState::Over}) {
        for (bool preview : {false, true}) {
            for (PanelItem& item : statusPanelItems(layout, state, preview, kMaxSpeedLevel, kWidestScore)) {
                const bool known = std::any_of(items.begin(), items.end(), [&item](const PanelItem& seen) {
                    return seen.x == item.x && seen.y == item.y && seen.text == item.text &&
                           seen.large == item.large;
                });
                if (!known) {
                    items.push_back(std::move(item));
                }
            }
        }
    }
    return items;
}

Layout::Extent GameBoard::panelExtent(const Layout& layout, const Layout::TextMeasure& measure)
{
    surface::LOGFONT textLf{};
    const bool ownTextFont = panelFont(layout, measure.surfaceDpi, textLf);
    const surface::LOGFONT scoreLf = scoreFont(layout);
    Layout::Extent extent{0, 0};
    for (const PanelItem& item : everyPanelItem(layout)) {
        // Trailing spaces only paint background.
        const std::string_view text =
            std::string_view(item.text).substr(0, item.text.find_last_not_of(' ') + 1);
        if (text.empty()) {
            continue;
        }
        const surface::LOGFONT* font = item.large ? &scoreLf : ownTextFont ? &textLf : nullptr;
        const Layout::Extent size = measure.extent(text, font);
        extent.cx = std::max(extent.cx, item.x + size.cx);
        extent.cy = std::max(extent.cy, item.y + size.cy);
    }
    return extent;
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
