// The column of text right of the well: key help, speed, the prompts of the
// current state and the score in a large font.
#include <cstdio>
#include <cstring>
#include <string>

#include "control/gameboard.h"

using surface::COLORREF;
using surface::RGB;

namespace {

constexpr COLORREF kBlue = RGB(0, 0, 250);
constexpr COLORREF kBlack = RGB(0, 0, 0);

// Draws items in order and changes the text colour only between items of
// different colour, once, after the earlier one is drawn.
class PanelWriter {
public:
    PanelWriter(surface::CDC& dc, int x0) : m_dc(dc), m_x0(x0), m_colour(kBlack) {}

    void text(int dx, int y, const std::string& text, COLORREF colour) {
        setColour(colour);
        m_dc.TextOut(m_x0 + dx, y, text);
    }
    void setColour(COLORREF colour) {
        if (colour != m_colour) {
            m_dc.SetTextColor(colour);
            m_colour = colour;
        }
    }

private:
    surface::CDC& m_dc;
    int m_x0;
    // The panel starts in the surface's own text colour, taken to be black
    // as on every fresh surface.
    COLORREF m_colour;
};

}  // namespace

void GameBoard::drawStatusPanel(surface::CDC& dc) const {
    const std::string blank(99, ' ');
    const int x0 = (m_originX + m_cols + 2) * m_cellSize;
    int y = m_originY * m_cellSize;
    char buf[30];
    PanelWriter panel(dc, x0);

    panel.text(0, y, "Use numeric keypad to play::", kBlack);

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
        y += m_cellSize;
        panel.text(36, y, help.arrow, kBlue);
        panel.text(58, y, "(", kBlack);
        panel.text(64, y, help.key, kBlue);
        panel.text(help.labelX, y, help.label, kBlack);
    }

    y += m_cellSize;
    std::snprintf(buf, sizeof buf, "Current speed is");
    panel.text(0, y, buf, kBlack);
    std::snprintf(buf, sizeof buf, "%d", m_speed);
    panel.text(120, y, buf, kBlue);

    y += m_cellSize;
    panel.text(0, y, "          i : increase speed", kBlack);
    y += m_cellSize;
    panel.text(0, y, "         d : decrease speed", kBlack);

    const std::string previewPrompt =
        m_preview ? "Press v to disable preview" : "Press v to preview objects";
    std::string pausePrompt = blank;
    std::string previewLine = previewPrompt;
    std::string quitPrompt = blank;
    std::string startPrompt = blank;
    switch (m_state) {
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
    for (const std::string* prompt : {&pausePrompt, &previewLine, &quitPrompt, &startPrompt}) {
        y += m_cellSize;
        panel.text(0, y, *prompt, kBlack);
    }

    y += 2 * m_cellSize;
    std::snprintf(buf, sizeof buf, "Current score is ");
    panel.text(0, y, buf, kBlack);

    surface::LOGFONT lf;
    std::memset(&lf, 0, sizeof lf);
    lf.lfHeight = surface::MulDiv(80, dc.GetDeviceCaps(surface::LOGPIXELSY), 72);
    std::snprintf(lf.lfFaceName, sizeof lf.lfFaceName, "Arial");
    surface::CFont font;
    font.CreateFontIndirect(&lf);
    surface::CFont* oldFont = dc.SelectObject(&font);
    panel.setColour(kBlue);
    std::snprintf(buf, sizeof buf, "%d", m_score);
    y += m_cellSize;
    panel.text(60, y, buf, kBlue);
    dc.SelectObject(oldFont);
}
