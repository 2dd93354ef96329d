// Turns key presses into game commands and runs them on the handler it owns;
// also passes the gravity timer's ticks on.
#pragma once

#include "control/commandhandler.h"
#include "surface/surface.h"

class Controller {
public:
    // Takes ownership of the handler, which may be null.
    explicit Controller(CommandHandler* handler);
    ~Controller();
    Controller(const Controller&) = delete;
    Controller& operator=(const Controller&) = delete;

    // vk is the virtual-key code, scan the key's scan code without the
    // extended-key bit. Chooses a command and runs it at once.
    void translateKey(surface::CDC& dc, unsigned vk, unsigned scan);
    // Runs the pending command, if any, and clears it.
    void execute(surface::CDC& dc);
    void tick(surface::CDC& dc);

    CommandKind pending() const { return m_pending; }

protected:
    // The deriving view reaches the handler directly to prepare and paint.
    CommandHandler* m_handler;
    CommandKind m_pending;
};
