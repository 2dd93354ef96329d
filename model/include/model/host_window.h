// The one thing the playfield asks of the window it lives in.
#pragma once

class HostWindow {
public:
    // The whole client area is to be repainted, its background erased first.
    virtual void Invalidate(bool erase = true) = 0;

protected:
    ~HostWindow() = default;
};
