// The choice of a command for a key and the dispatch of command kinds to
// the handler.
#include "control/controller.h"

#include "control/keytable.h"

namespace {

// The first row of the key table that the key matches; Esc alone needs both
// of its codes.
CommandKind kindForKey(unsigned vk, unsigned scan)
{
    if (vk == kEscapeKey.vk && scan == kEscapeKey.scan) {
        return CommandKind::Quit;
    }
    for (const KeyRow& row : kKeyTable) {
        if (row.matches(vk, scan)) {
            return row.kind;
        }
    }
    return CommandKind::None;
}

}  // namespace

Controller::Controller(CommandHandler* handler) : m_handler(handler), m_pending(CommandKind::None) {}

Controller::~Controller()
{
    delete m_handler;
}

void Controller::translateKey(surface::CDC& dc, unsigned vk, unsigned scan)
{
    if (m_pending == CommandKind::None) {
        m_pending = kindForKey(vk, scan);
    }
    execute(dc);
}

void Controller::execute(surface::CDC& dc)
{
    CommandKind kind = m_pending;
    m_pending = CommandKind::None;
    if (m_handler == nullptr) {
        return;
    }
    switch (kind) {
        case CommandKind::None:
            break;
        case CommandKind::MoveLeft:
            m_handler->moveShape(dc, ShapeMove::Left);
            break;
        case CommandKind::MoveRight:
            m_handler->moveShape(dc, ShapeMove::Right);
            break;
        case CommandKind::Drop:
            m_handler->moveShape(dc, ShapeMove::Drop);
            break;
        case CommandKind::Rotate:
            m_handler->rotateShape(dc);
            break;
        case CommandKind::SpeedUp:
            m_handler->changeSpeed(+1);
            break;
        case CommandKind::SpeedDown:
            m_handler->changeSpeed(-1);
            break;
        case CommandKind::Pause:
            m_handler->togglePause();
            break;
        case CommandKind::KeyR:
            m_handler->commandR(dc);
            break;
        case CommandKind::Preview:
            m_handler->togglePreview(dc);
            break;
        case CommandKind::Quit:
            m_handler->quit();
            break;
        case CommandKind::Start:
            m_handler->start(dc);
            break;
    }
}

void Controller::tick(surface::CDC& dc)
{
    if (m_handler != nullptr) {
        m_handler->tick(dc);
    }
}
