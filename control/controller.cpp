// The key table and the dispatch of command kinds to the handler.
#include "control/controller.h"

#include <cstddef>

namespace {

// Up to six virtual-key codes and four scan codes per row; unused slots are
// left out by the counts.
struct KeyRow {
    CommandKind kind;
    std::size_t virtualKeyCount;
    unsigned virtualKeys[6];
    std::size_t scanCodeCount;
    unsigned scanCodes[4];

    bool matches(unsigned vk, unsigned scan) const
    {
        for (std::size_t i = 0; i < virtualKeyCount; ++i) {
            if (virtualKeys[i] == vk) {
                return true;
            }
        }
        for (std::size_t i = 0; i < scanCodeCount; ++i) {
            if (scanCodes[i] == scan) {
                return true;
            }
        }
        return false;
    }
};

const KeyRow keyRows[] = {
    {CommandKind::Drop, 2, {0x28, 0x62}, 1, {0x50}},
    {CommandKind::MoveLeft, 3, {0x25, 0x64, 0x34}, 2, {0x4B, 0x05}},
    {CommandKind::MoveRight, 3, {0x27, 0x66, 0x36}, 2, {0x4D, 0x07}},
    {CommandKind::Rotate, 6, {0x26, 0x68, 0x38, 0x0C, 0x65, 0x35}, 4, {0x48, 0x09, 0x4C, 0x06}},
    {CommandKind::SpeedUp, 1, {0x49}, 1, {0x17}},
    {CommandKind::SpeedDown, 1, {0x44}, 1, {0x20}},
    {CommandKind::Pause, 1, {0x50}, 1, {0x19}},
    {CommandKind::Quit, 1, {0x51}, 1, {0x10}},
    {CommandKind::KeyR, 1, {0x52}, 1, {0x13}},
    {CommandKind::Preview, 1, {0x56}, 1, {0x2F}},
    {CommandKind::Start, 1, {0x47}, 1, {0x22}},
};

// Rows are tested from the top and the first match wins. A row matches on
// its virtual-key code or on its scan code, so each key also works where the
// layout puts a different letter at its position. Esc alone needs both.
CommandKind kindForKey(unsigned vk, unsigned scan)
{
    if (vk == 0x1B && scan == 0x01) {
        return CommandKind::Quit;
    }
    for (const KeyRow& row : keyRows) {
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
