// The game's state machine, gravity step, landing, scoring and spawning.
#include "control/gameboard.h"

#include <cstdlib>
#include <ctime>

#include "control/gravity.h"

namespace {

// Where a shape enters the well: the middle column, and the second row so
// that the cells above the centre lie inside the well too.
int spawnColumn(int cols)
{
    return cols / 2;
}
constexpr int kSpawnRow = 1;

}  // namespace

GameBoard::GameBoard(BoardHost* view, int cols, int rows, int originX, int originY)
    : m_preview(false),
      m_cols(cols),
      m_rows(rows),
      m_speed(kStartSpeedLevel),
      m_state(GameState::Ready),
      m_score(0),
      m_originX(originX),
      m_originY(originY),
      m_layout(Layout::kBaseDpi, cols, rows, originX, originY),
      m_cellSize(m_layout.cellSize()),
      m_current(),
      m_next(),
      m_blocks(view, originX, originY, m_cellSize, cols, rows),
      m_view(view)
{
    applyLayout();
    std::srand(static_cast<unsigned>(std::time(nullptr)));
}

// The current shape, then the next, then the grid as a member: their
// declaration order alone would release the grid first. A shape reads
// nothing of the board or the grid as it goes.
GameBoard::~GameBoard()
{
    m_current.reset();
    m_next.reset();
}

void GameBoard::togglePreview(surface::CDC& dc)
{
    m_preview = !m_preview;
    if (m_next) {
        m_next->setVisible(dc, m_preview);
    }
    m_view->Invalidate(true);
}

void GameBoard::changeSpeed(int delta)
{
    // Clamped after the addition; a huge delta must not overflow first.
    long long speed = static_cast<long long>(m_speed) + delta;
    if (speed > kMaxSpeedLevel) {
        speed = kMaxSpeedLevel;
    } else if (speed < kMinSpeedLevel) {
        speed = kMinSpeedLevel;
    }
    m_speed = static_cast<int>(speed);
    m_view->setSpeedLevel(m_speed);
    m_view->Invalidate(true);
}

void GameBoard::togglePause()
{
    if (m_state == GameState::Paused) {
        m_state = GameState::Running;
        m_view->startGameTimer();
    } else if (m_state == GameState::Running) {
        m_state = GameState::Paused;
        m_view->stopGameTimer();
    }
    m_view->Invalidate(true);
}

void GameBoard::commandR(surface::CDC&) {}

void GameBoard::moveShape(surface::CDC& dc, ShapeMove dir)
{
    if (m_state == GameState::Running && m_current) {
        m_current->move(dc, dir);
    }
}

void GameBoard::rotateShape(surface::CDC& dc)
{
    if (m_state == GameState::Running && m_current) {
        m_current->rotate(dc);
    }
}

void GameBoard::quit()
{
    m_state = GameState::Over;
    m_view->Invalidate(true);
    m_view->postCloseToMainWindow();
}

void GameBoard::start(surface::CDC& dc)
{
    // After a failed spawn the current shape still waits left of the well,
    // where a gravity step would settle it outside the grid: an ended game
    // starts again on an empty well instead.
    if (m_state == GameState::Over) {
        newGame(dc);
    }
    if (!m_current) {
        return;
    }
    m_state = GameState::Running;
    m_current->setVisible(dc, true);
    m_view->startGameTimer();
    m_view->Invalidate(true);
}

void GameBoard::draw(surface::CDC& dc)
{
    drawBorder(dc);
    m_blocks.draw(dc);
    if (m_current) {
        m_current->draw(dc);
    }
    if (m_next) {
        m_next->draw(dc);
    }
    drawStatusPanel(dc);
}

void GameBoard::tick(surface::CDC& dc)
{
    // A shape that does not fit where it stands is the one whose spawn ended
    // the game; it can neither fall nor settle. The timer stopped then and the
    // view drops timer messages queued before, so only a direct call gets here.
    if (!m_current || m_blocks.collides(*m_current)) {
        return;
    }
    if (m_current->move(dc, ShapeMove::Down) != 0) {
        return;
    }
    landShape(dc);
    spawnNext(dc);
}

void GameBoard::initGame()
{
    std::unique_ptr<surface::CDC> dc = m_view->openClientDC();
    if (!dc) {
        return;
    }
    spawnNext(*dc);
    spawnNext(*dc);
    m_view->Invalidate(true);
}

void GameBoard::newGame(surface::CDC& dc)
{
    m_blocks.clear();
    m_score = 0;
    m_current.reset();
    m_next.reset();
    m_state = GameState::Ready;
    spawnNext(dc);
    spawnNext(dc);
}

bool GameBoard::collides(const Shape& shape) const
{
    return m_blocks.collides(shape);
}

void GameBoard::landShape(surface::CDC& dc)
{
    if (!m_current) {
        return;
    }
    // fuzz-reach: a landing (scripts/fuzz.sh fails when its corpus never runs the next line)
    m_blocks.place(*m_current);
    int n = m_blocks.removeFullRows();
    m_score += n;
    if (n != 0) {
        drawStatusPanel(dc);
    }
}

void GameBoard::spawnNext(surface::CDC& dc)
{
    m_current.reset();
    if (m_next) {
        m_current = std::move(m_next);
        if (!m_current->moveTo(dc, spawnColumn(m_cols), kSpawnRow)) {
            m_state = GameState::Over;
            m_view->stopGameTimer();
        }
        if (m_state == GameState::Running) {
            m_current->setVisible(dc, true);
        }
    }
    const CellGeometry geometry = m_layout.geometry();
    const GridCell waiting = geometry.previewCentre();
    m_next = std::make_unique<Shape>(this, geometry.originX, geometry.originY, geometry.cellSize,
                                     waiting.column, waiting.row, m_preview);
    applyLayout();
    m_view->Invalidate(true);
}

void GameBoard::drawBorder(surface::CDC& dc) const
{
    // A wider line is drawn as closed outlines of one pixel, one inside the
    // other, so it looks the same on every surface.
    const surface::CRect outer = m_layout.border();
    for (int inset = 0; inset < m_layout.lineWidth(); ++inset) {
        const int left = outer.left + inset;
        const int top = outer.top + inset;
        const int right = outer.right - inset;
        const int bottom = outer.bottom - inset;
        dc.MoveTo(left, top);
        dc.LineTo(left, bottom);
        dc.LineTo(right, bottom);
        dc.LineTo(right, top);
        dc.LineTo(left, top);
    }
}

bool GameBoard::setDpi(int dpi, Layout::Extent room)
{
    if (!Layout::validDpi(dpi)) {
        return false;
    }
    setLayout(Layout(dpi, m_cols, m_rows, m_originX, m_originY, room));
    return true;
}

void GameBoard::setLayout(const Layout& layout)
{
    m_layout = layout;
    applyLayout();
    m_view->Invalidate(true);
}

void GameBoard::applyLayout()
{
    const CellGeometry geometry = m_layout.geometry();
    m_cellSize = geometry.cellSize;
    m_blocks.setGeometry(geometry);
    for (Shape* shape : {m_current.get(), m_next.get()}) {
        if (shape != nullptr) {
            shape->setGeometry(geometry);
        }
    }
}
