// The step interpreter and the checks of the board driver.
#include "board_driver.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "control/gravity.h"
#include "control/keytable.h"
#include "control/well.h"
#include "game_fixtures.h"
#include "model/blockary.h"
#include "model/invariant.h"

namespace {

constexpr int kColumns = kWell.columns;
constexpr int kRows = kWell.rows;
constexpr int kOriginX = kWell.originX;
constexpr int kOriginY = kWell.originY;

// Every key of the controller's table: each row's main key, its other
// virtual-key codes and its scan codes each alone, and Esc likewise.
std::vector<KeyCode> everyKey()
{
    std::vector<KeyCode> keys;
    const auto add = [&keys](KeyCode main, std::size_t vkCount, const unsigned* vks, std::size_t scanCount,
                             const unsigned* scans) {
        keys.push_back(main);
        for (std::size_t i = 1; i < vkCount; ++i) {
            keys.push_back({vks[i], 0});
        }
        for (std::size_t i = 0; i < scanCount; ++i) {
            keys.push_back({0, scans[i]});
        }
    };
    for (const KeyRow& row : kKeyTable) {
        add(row.key(), row.virtualKeyCount, row.virtualKeys, row.scanCodeCount, row.scanCodes);
    }
    add(kEscapeKey, 1, &kEscapeKey.vk, 1, &kEscapeKey.scan);
    return keys;
}
const std::vector<KeyCode> kKeys = everyKey();
constexpr KeyCode kLeft = keyFor(CommandKind::MoveLeft);
constexpr KeyCode kRight = keyFor(CommandKind::MoveRight);
constexpr KeyCode kRotate = keyFor(CommandKind::Rotate);
constexpr KeyCode kDrop = keyFor(CommandKind::Drop);
constexpr KeyCode kStart = keyFor(CommandKind::Start);

enum Op {
    TableKey,
    AnyKey,
    StrayTick,
    Advance,
    ChangeSpeed,
    Pause,
    Start,
    Preview,
    Repaint,
    TimerBase,
    Place,
    LoadRows,
    SetDpi,
    OpCount
};
const char* const kOpNames[OpCount] = {
    "table key", "any key", "stray tick", "advance", "change speed", "pause",   "start",
    "preview",   "repaint", "timer base", "place",   "load rows",    "set dpi",
};

// The first failed invariant since the driver began; later ones add nothing.
std::string failedInvariant;

void recordInvariant(const char* expression, const char* file, int line)
{
    if (failedInvariant.empty()) {
        failedInvariant =
            std::string("invariant failed: ") + expression + " at " + file + ":" + std::to_string(line);
    }
}

std::uint8_t byteAt(std::size_t& pos, const std::uint8_t* data, std::size_t size)
{
    return pos < size ? data[pos++] : 0;
}

std::uint32_t wordAt(std::size_t& pos, const std::uint8_t* data, std::size_t size)
{
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) {
        value = (value << 8) | byteAt(pos, data, size);
    }
    return value;
}

const char* stateName(GameState state)
{
    switch (state) {
        case GameState::Paused:
            return "Paused";
        case GameState::Running:
            return "Running";
        case GameState::Ready:
            return "Ready";
        case GameState::Over:
            return "Over";
    }
    return "?";
}

}  // namespace

BoardDriver::BoardDriver(unsigned seed, std::shared_ptr<Canvas> canvas)
    : m_host(std::move(canvas)),
      m_board(new GameBoard(&m_host, kColumns, kRows, kOriginX, kOriginY)),
      m_controller(m_board),
      m_dc(m_host.canvas()),
      m_rowsRemoved(0),
      m_startedAnew(false),
      m_panelChecked(),
      m_cells(),
      m_checkedCells(),
      m_previousHandler(nullptr)
{
    failedInvariant.clear();
    m_previousHandler = setInvariantHandler(recordInvariant);
    std::srand(seed);
    m_board->initGame();
    samplePicture();
}

// Only the middle of each cell is looked at: the picture keeps those points.
// Its texts are not looked at either, so it does not record them.
void BoardDriver::samplePicture()
{
    const int cell = m_board->layout().cellSize();
    m_host.canvas()->keepEvery(cell, cell / 2);
    m_host.canvas()->recordTexts(false);
}

BoardDriver::~BoardDriver()
{
    setInvariantHandler(m_previousHandler);
}

std::string BoardDriver::play(const std::uint8_t* data, std::size_t size)
{
    std::string failure = checkPosition();
    std::size_t pos = 0;
    for (int n = 0; failure.empty() && pos < size; ++n) {
        std::size_t at = pos;
        Op op = static_cast<Op>(data[at] % OpCount);
        failure = step(pos, data, size);
        if (!failure.empty()) {
            failure = "step " + std::to_string(n) + " (" + kOpNames[op] + " at byte " + std::to_string(at) +
                      "): " + failure;
        }
    }
    return failure;
}

std::string BoardDriver::step(std::size_t& pos, const std::uint8_t* data, std::size_t size)
{
    Op op = static_cast<Op>(byteAt(pos, data, size) % OpCount);
    Snapshot before = snapshot();
    GameState stateBefore = m_board->state();
    bool previewBefore = m_board->preview();
    m_startedAnew = false;
    std::string failure;
    switch (op) {
        case TableKey: {
            const KeyCode& code = kKeys[byteAt(pos, data, size) % kKeys.size()];
            failure = key(code.vk, code.scan);
            break;
        }
        case AnyKey: {
            std::uint32_t word = wordAt(pos, data, size);
            failure = key(word >> 16, word & 0xFFFFU);
            break;
        }
        case StrayTick:
            failure = tick();
            break;
        case Advance: {
            int expiries = m_host.advance(byteAt(pos, data, size) * 16);
            for (int i = 0; i < expiries && failure.empty() && m_host.timerRunning(); ++i) {
                failure = tick();
            }
            break;
        }
        case ChangeSpeed:
            m_board->changeSpeed(static_cast<int>(static_cast<std::int32_t>(wordAt(pos, data, size))));
            break;
        case Pause:
            m_board->togglePause();
            break;
        case Start:
            failure = start([this] {
                m_board->start(m_dc);
                return std::string();
            });
            break;
        case Preview:
            m_board->togglePreview(m_dc);
            break;
        case Repaint:
            failure = repaint();
            break;
        case TimerBase:
            m_host.setTimerBase(static_cast<std::int32_t>(wordAt(pos, data, size)));
            break;
        case Place:
            failure = place(byteAt(pos, data, size));
            break;
        case LoadRows:
            loadRows(pos, data, size);
            break;
        case SetDpi:
            failure = setDpi(pos, data, size);
            break;
        case OpCount:
            break;
    }
    // The same checks after every kind of step.
    if (failure.empty()) {
        failure = checkPosition();
    }
    if (!failure.empty()) {
        return failure;
    }
    if (m_board->preview() != previewBefore && op != Preview && op != TableKey && op != AnyKey) {
        return "the preview flag changed";
    }
    if (stateBefore == GameState::Over && m_board->state() != GameState::Over && !m_startedAnew) {
        return std::string("an ended game became ") + stateName(m_board->state()) + " without start";
    }
    // Only a tick lands a shape, and only a new game or new rows change the
    // grid otherwise; each of those was checked as it happened.
    const bool landed = op == StrayTick || op == Advance || op == Place;
    if (m_startedAnew || landed) {
        return {};
    }
    if (op == LoadRows) {
        before.cells = m_cells;
    }
    return checkUnchanged(before);
}

std::string BoardDriver::key(unsigned vk, unsigned scan)
{
    return start([&] { return press(vk, scan); });
}

// Runs an input that may be start: in an ended game it starts a new one on
// an empty well with a score of 0, the speed and the preview flag kept, the
// first new shape at the top of the well and the timer running.
template <typename Input>
std::string BoardDriver::start(const Input& input)
{
    GameState stateBefore = m_board->state();
    int speedBefore = m_board->speed();
    bool previewBefore = m_board->preview();
    std::string failure = input();
    if (!failure.empty()) {
        return failure;
    }
    if (stateBefore != GameState::Over || m_board->state() == GameState::Over) {
        return checkPosition();
    }
    m_startedAnew = true;
    m_rowsRemoved = 0;
    readCells(m_board->blocks(), m_cells);
    if (std::any_of(m_cells.begin(), m_cells.end(), [](std::int32_t v) { return v >= 0; })) {
        return "a new game began on a well that is not empty:" + describe(m_cells);
    }
    const Shape* current = m_board->current();
    const Shape* next = m_board->next();
    if (m_board->state() != GameState::Running || m_board->score() != 0 || m_board->speed() != speedBefore ||
        m_board->preview() != previewBefore || !m_host.timerRunning()) {
        return std::string("a new game began in ") + stateName(m_board->state()) + ", score " +
               std::to_string(m_board->score()) + ", speed " + std::to_string(m_board->speed()) + " (was " +
               std::to_string(speedBefore) + "), timer " + (m_host.timerRunning() ? "running" : "stopped");
    }
    if (current == nullptr || next == nullptr || current->centerX() != kColumns / 2 ||
        current->centerY() != 1 || !current->visible() || next->centerX() >= 0 ||
        next->visible() != previewBefore) {
        return "a new game began without its first shape at the top and the next one waiting";
    }
    return checkPosition();
}

std::string BoardDriver::tick()
{
    Snapshot before = snapshot();
    m_controller.tick(m_dc);
    // A failed invariant explains a wrong landing, so it is reported first.
    std::string failure = failedInvariant.empty() ? checkTick(before) : failedInvariant;
    return failure.empty() ? checkCells() : failure;
}

// One shape played as a person would: turned, moved to a column, dropped
// and landed by the next tick; quick to fill rows and end games. The keys
// that move the shape are checked together, before it lands: each of them
// is checked on its own where a step presses it alone.
std::string BoardDriver::place(std::uint8_t how)
{
    std::string failure = key(kStart.vk, kStart.scan);
    for (int i = 0; i < (how & 3) && failure.empty(); ++i) {
        failure = press(kRotate.vk, kRotate.scan);
    }
    const Shape* shape = m_board->current();
    int column = (how >> 2) % kColumns;
    for (int i = 0; i < kColumns && failure.empty() && shape != nullptr && shape->centerX() != column; ++i) {
        const KeyCode& code = shape->centerX() < column ? kRight : kLeft;
        failure = press(code.vk, code.scan);
    }
    if (failure.empty()) {
        failure = press(kDrop.vk, kDrop.scan);
    }
    if (failure.empty()) {
        failure = checkPosition();
    }
    return failure.empty() ? tick() : failure;
}

std::string BoardDriver::press(unsigned vk, unsigned scan)
{
    m_controller.translateKey(m_dc, vk, scan);
    return m_controller.pending() != CommandKind::None ? "a command stayed pending after a key"
                                                       : std::string();
}

// A new well under the falling shape: a block of rows at the bottom, each
// with at least one cell and one gap, as play can leave it. Reaches full
// wells, deep landings and multi-row removals sooner than play alone.
void BoardDriver::loadRows(std::size_t& pos, const std::uint8_t* data, std::size_t size)
{
    int lowest = 0;
    const Shape* shape = m_board->current();
    for (int i = 0; i < shape->cellCount(); ++i) {
        lowest = std::max(lowest, shape->centerY() + shape->offsetY(i));
    }
    int count = std::min<int>(byteAt(pos, data, size) % kRows, kRows - 1 - lowest);
    BlockArray& grid = GameBoardAccess::blocks(*m_board);
    for (int row = 0; row < kRows; ++row) {
        std::uint32_t mask = 0;
        if (row >= kRows - count) {
            std::uint32_t high = byteAt(pos, data, size);
            std::uint32_t low = byteAt(pos, data, size);
            // Below all 13 bits: the row keeps a gap.
            mask = ((high << 8) | low) % 0x1FFFU;
            mask = mask == 0 ? 1 : mask;
        }
        std::int32_t kind = static_cast<std::int32_t>(row % 6);
        for (int column = 0; column < kColumns; ++column) {
            grid.setCell(column, row, (mask >> column) & 1U ? kind : -1);
        }
    }
}

// Mostly resolutions around the valid range, now and then extremes.
std::string BoardDriver::setDpi(std::size_t& pos, const std::uint8_t* data, std::size_t size)
{
    std::uint32_t word = wordAt(pos, data, size);
    int dpi = (word >> 28) == 0xF ? static_cast<int>(static_cast<std::int32_t>(word))
                                  : static_cast<int>(word % 1100) - 50;
    int before = m_board->layout().dpi();
    bool taken = m_board->setDpi(dpi);
    if (taken) {
        samplePicture();
    }
    if (taken != Layout::validDpi(dpi) || m_board->layout().dpi() != (taken ? dpi : before)) {
        return "resolution " + std::to_string(dpi) + (taken ? " taken" : " refused") + ", now " +
               std::to_string(m_board->layout().dpi());
    }
    return {};
}

BoardDriver::Snapshot BoardDriver::snapshot() const
{
    Snapshot shot{m_cells, m_board->current(), m_board->next(), m_board->score(), -1, 0, {}};
    if (const Shape* shape = m_board->current()) {
        shot.kind = shape->kind();
        // A shape has four cells; the bound keeps a faulty count from
        // writing past the array.
        shot.shapeCellCount = std::clamp(shape->cellCount(), 0, static_cast<int>(shot.shapeCells.size()));
        for (int i = 0; i < shot.shapeCellCount; ++i) {
            shot.shapeCells[static_cast<std::size_t>(i)] = {shape->centerX() + shape->offsetX(i),
                                                            shape->centerY() + shape->offsetY(i)};
        }
    }
    return shot;
}

std::string BoardDriver::checkUnchanged(const Snapshot& before) const
{
    if (m_cells != before.cells) {
        return "the well changed without a tick:" + describe(before.cells) + "\nbecame" + describe(m_cells);
    }
    if (m_board->score() != before.score) {
        return "the score changed without a tick";
    }
    return {};
}

std::string BoardDriver::checkTick(const Snapshot& before)
{
    readCells(m_board->blocks(), m_cells);
    if (before.current == nullptr) {
        return checkUnchanged(before);
    }
    // Where the shape stood, and one row lower, on the grid before the tick.
    const bool stands = cellsFree(before.cells, before.shapeCells.data(), before.shapeCellCount, 0);
    const bool falls = stands && cellsFree(before.cells, before.shapeCells.data(), before.shapeCellCount, 1);
    if (m_board->current() == before.current) {
        if (stands && !falls) {
            return "a shape that cannot fall did not land";
        }
        // One that cannot stand where it is (an ended game's) stays there.
        const int rows = falls ? 1 : 0;
        const Shape& shape = *m_board->current();
        bool moved = shape.kind() == before.kind && shape.cellCount() == before.shapeCellCount;
        for (int i = 0; moved && i < before.shapeCellCount; ++i) {
            const auto& cell = before.shapeCells[static_cast<std::size_t>(i)];
            moved = shape.centerX() + shape.offsetX(i) == cell.first &&
                    shape.centerY() + shape.offsetY(i) == cell.second + rows;
        }
        if (!moved) {
            return "a tick moved the shape otherwise than " + std::to_string(rows) + " row down";
        }
        return checkUnchanged(before);
    }
    if (!stands || falls) {
        return std::string("a shape landed that ") +
               (falls ? "could still fall" : "did not fit where it stood");
    }
    if (m_board->current() != before.next) {
        return "a tick replaced the current shape by one other than the next";
    }
    Cells expected = before.cells;
    for (int i = 0; i < before.shapeCellCount; ++i) {
        const auto& cell = before.shapeCells[static_cast<std::size_t>(i)];
        if (cell.first < 0 || cell.first >= kColumns || cell.second < 0 || cell.second >= kRows) {
            return "a shape landed outside the well at column " + std::to_string(cell.first) + ", row " +
                   std::to_string(cell.second);
        }
        expected[static_cast<std::size_t>(cell.second * kColumns + cell.first)] = before.kind;
    }
    int removed = removeFullRows(expected);
    m_rowsRemoved += removed;
    if (m_cells != expected) {
        return "after a landing the well is" + describe(m_cells) + "\ninstead of" + describe(expected);
    }
    if (m_board->score() != before.score + removed) {
        return "a landing that removed " + std::to_string(removed) + " rows took the score from " +
               std::to_string(before.score) + " to " + std::to_string(m_board->score());
    }
    return {};
}

std::string BoardDriver::checkPosition()
{
    // The grid is copied whole into a well-sized array, so it must keep the
    // well's size; play checks the position before its first step.
    const BlockArray& grid = m_board->blocks();
    if (grid.width() != kColumns || grid.height() != kRows) {
        return "the grid has " + std::to_string(grid.width()) + " by " + std::to_string(grid.height()) +
               " cells";
    }
    readCells(grid, m_cells);
    return checkCells();
}

std::string BoardDriver::checkCells()
{
    if (!failedInvariant.empty()) {
        return failedInvariant;
    }
    const Cells& cells = m_cells;
    // The grid's own checks run only when it changed since they last held.
    if (cells != m_checkedCells) {
        std::string failure = gridFault(cells);
        if (!failure.empty()) {
            return failure;
        }
        m_checkedCells = cells;
    }
    const Shape* current = m_board->current();
    if (current == nullptr || m_board->next() == nullptr) {
        return "a shape is missing";
    }
    GameState state = m_board->state();
    if (state == GameState::Running) {
        for (int i = 0; i < current->cellCount(); ++i) {
            int column = current->centerX() + current->offsetX(i);
            int row = current->centerY() + current->offsetY(i);
            if (column < 0 || column >= kColumns || row < 0 || row >= kRows) {
                return "the running shape stands outside the well at column " + std::to_string(column) +
                       ", row " + std::to_string(row);
            }
            // Read from the grid, not asked of the board: its own collision
            // test may be what is wrong.
            if (cells[static_cast<std::size_t>(row * kColumns + column)] >= 0) {
                return "the running shape overlaps settled cells at column " + std::to_string(column) +
                       ", row " + std::to_string(row);
            }
        }
    }
    if (m_board->score() != m_rowsRemoved) {
        return "score " + std::to_string(m_board->score()) + " after " + std::to_string(m_rowsRemoved) +
               " rows removed";
    }
    bool timerWanted = state == GameState::Running;
    if ((state != GameState::Over) && m_host.timerRunning() != timerWanted) {
        return std::string("the timer ") + (m_host.timerRunning() ? "runs" : "is stopped") + " in " +
               stateName(state);
    }
    if (m_board->speed() < kMinSpeedLevel || m_board->speed() > kMaxSpeedLevel ||
        m_host.speedLevel() != m_board->speed()) {
        return "speed " + std::to_string(m_board->speed()) + ", the view's level " +
               std::to_string(m_host.speedLevel());
    }
    return checkPanel();
}

std::string BoardDriver::checkPanel()
{
    // The panel shows the state, the preview flag, the speed and the score
    // and nothing else: drawn again only when one of them changed.
    PanelInputs inputs{m_board->state(), m_board->preview(), m_board->speed(), m_board->score(),
                       m_board->layout().dpi()};
    if (inputs == m_panelChecked) {
        return {};
    }
    m_panelChecked = inputs;
    // A one-pixel picture: the texts are recorded, the painting costs nothing.
    RasterSurface& dc = m_panelDc;
    dc.canvas().texts().clear();
    m_board->drawStatusPanel(dc);
    // The texts are the game's own list of the panel's items, made from the
    // speed the view was given and the rows this driver counted itself.
    const std::vector<PanelItem> items = GameBoard::statusPanelItems(
        m_board->layout(), m_board->state(), m_board->preview(), m_host.speedLevel(), m_rowsRemoved);
    const auto& drawn = dc.texts();
    for (std::size_t i = 0; i < std::max(items.size(), drawn.size()); ++i) {
        if (i >= items.size() || i >= drawn.size() || items[i].x != drawn[i].x || items[i].y != drawn[i].y ||
            items[i].text != drawn[i].text) {
            return std::string("in ") + stateName(m_board->state()) + " the panel's text " +
                   std::to_string(i) + " is \"" +
                   (i < drawn.size() ? drawn[i].text : std::string("missing")) + "\" instead of \"" +
                   (i < items.size() ? items[i].text : std::string("nothing")) + "\"";
        }
    }
    return {};
}

// A full repaint, then every cell of the well and of the preview area
// compared with what the grid and the two shapes say should show there.
// The position is checked first: the colours of valid cells only are known.
std::string BoardDriver::repaint()
{
    m_board->draw(m_dc);
    std::string failure = checkPosition();
    if (!failure.empty()) {
        return failure;
    }
    const int cell = m_board->layout().cellSize();
    const Canvas& picture = *m_host.canvas();
    if (picture.keptStep() != cell || picture.keptOffset() != cell / 2) {
        return "the picture keeps other points than the middles of the cells";
    }
    constexpr int kPreviewColumn = -kOriginX;
    constexpr int kLeftColumn = -kOriginX;
    constexpr int kWidth = kColumns - kLeftColumn;
    const surface::COLORREF unknown = 0xFFFFFFFFU;
    std::array<surface::COLORREF, kWidth * kRows> expected;
    expected.fill(unknown);
    auto at = [&](int column, int row) -> surface::COLORREF* {
        if (column < kLeftColumn || column >= kColumns || row < 0 || row >= kRows) {
            return nullptr;
        }
        return &expected[static_cast<std::size_t>(row * kWidth + column - kLeftColumn)];
    };
    for (int row = 0; row < kRows; ++row) {
        for (int column = 0; column < kColumns; ++column) {
            std::int32_t v = m_board->blocks().cell(column, row);
            *at(column, row) = colorTable[v < 0 ? 0 : v + 1];
        }
    }
    for (const Shape* shape : {m_board->current(), m_board->next()}) {
        if (shape->centerX() < 0) {
            for (int row = 0; row < kPreviewRows; ++row) {
                for (int column = kPreviewColumn; column < kPreviewColumn + kPreviewColumns; ++column) {
                    *at(column, row) = colorTable[7];
                }
            }
        }
        for (int i = 0; shape->visible() && i < shape->cellCount(); ++i) {
            if (surface::COLORREF* place =
                    at(shape->centerX() + shape->offsetX(i), shape->centerY() + shape->offsetY(i))) {
                *place = colorTable[shape->kind() + 1];
            }
        }
    }
    for (int row = 0; row < kRows; ++row) {
        for (int column = kLeftColumn; column < kColumns; ++column) {
            surface::COLORREF want = *at(column, row);
            // The picture keeps the middle of every cell, one kept point a
            // cell. Cells beyond the picture, at a high resolution, are not seen.
            const surface::COLORREF shown =
                want == unknown ? unknown : picture.keptPixel(kOriginX + column, kOriginY + row);
            if (shown != unknown && shown != want) {
                return "after a repaint the cell at column " + std::to_string(column) + ", row " +
                       std::to_string(row) + " shows colour " + std::to_string(shown) + " instead of " +
                       std::to_string(want);
            }
        }
    }
    return {};
}

std::string playBoardInput(const std::uint8_t* data, std::size_t size)
{
    // One picture for every input: a repaint covers all of it that is checked.
    static const std::shared_ptr<Canvas> canvas =
        std::make_shared<Canvas>(BoardDriver::kPictureWidth, BoardDriver::kPictureHeight);
    BoardDriver driver(size == 0 ? 0 : data[0], canvas);
    return size == 0 ? driver.checkPosition() : driver.play(data + 1, size - 1);
}
