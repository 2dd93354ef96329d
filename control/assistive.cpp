// The status panel's lines regrouped for a screen reader, and where the
// falling shape is.
#include "control/assistive.h"

#include <algorithm>
#include <climits>
#include <cstddef>
#include <vector>

namespace {

// The panel's lines, counted from its first, as the panel lays them out.
constexpr std::size_t kSpeedLine = 5;
constexpr std::size_t kPauseLine = 8;
constexpr std::size_t kStartLine = 11;
constexpr std::size_t kScoreCaptionLine = 12;
constexpr std::size_t kScoreLine = 13;

// The panel's items joined line by line (items of one line share its y), each
// line's runs of spaces made one and its ends trimmed: a blank line is empty.
std::vector<std::string> panelLines(const GameBoard& board)
{
    std::vector<std::string> lines;
    int lineY = INT_MIN;
    for (const PanelItem& item : GameBoard::statusPanelItems(board.layout(), board.state(), board.preview(),
                                                             board.speed(), board.score())) {
        if (lines.empty() || item.y != lineY) {
            lines.emplace_back();
            lineY = item.y;
        }
        std::string& line = lines.back();
        for (char c : item.text) {
            const bool space = c == ' ';
            if (space && (line.empty() || line.back() == ' '))
                continue;
            line += c;
        }
        if (!line.empty() && line.back() != ' ')
            line += ' ';
    }
    for (std::string& line : lines) {
        while (!line.empty() && line.back() == ' ')
            line.pop_back();
    }
    return lines;
}

const std::string& lineAt(const std::vector<std::string>& lines, std::size_t index)
{
    static const std::string none;
    return index < lines.size() ? lines[index] : none;
}

void appendLine(std::string& text, const std::string& line, const char* separator)
{
    if (line.empty())
        return;
    if (!text.empty())
        text += separator;
    text += line;
}

}  // namespace

AccessibleText accessibleText(const GameBoard& board)
{
    const std::vector<std::string> lines = panelLines(board);
    AccessibleText text;
    text.name = lineAt(lines, kStartLine);
    if (text.name.empty())
        text.name = lineAt(lines, kPauseLine);
    if (text.name.empty())
        text.name = GameBoard::gameOverText();

    appendLine(text.value, lineAt(lines, kSpeedLine), "; ");
    appendLine(text.value, lineAt(lines, kScoreCaptionLine) + " " + lineAt(lines, kScoreLine), "; ");

    for (std::size_t index = 0; index < lines.size(); ++index) {
        const bool elsewhere = index == kStartLine || index == kPauseLine || index == kSpeedLine ||
                               index == kScoreCaptionLine || index == kScoreLine;
        if (!elsewhere)
            appendLine(text.description, lines[index], "\n");
    }
    return text;
}

surface::CRect pointOfInterest(const GameBoard& board)
{
    const Layout& layout = board.layout();
    const surface::CRect well = layout.well();
    const Shape* shape = board.current();
    // A small caret: the system keeps a bitmap of its size.
    if (shape == nullptr || shape->cellCount() == 0 || board.state() == GameState::Over)
        return {well.left, well.top, well.right, well.top + layout.cellSize()};
    return shape->bounds();
}
