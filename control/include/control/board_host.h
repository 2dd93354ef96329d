// What the game board asks of the view that hosts it: repaints, the gravity
// timer, a drawing surface on the client area, and closing the program.
#pragma once

#include <memory>

#include "model/host_window.h"
#include "surface/surface.h"

class BoardHost : public HostWindow {
public:
    // Starts the periodic gravity timer unless one runs already.
    virtual void startGameTimer() = 0;
    // Stops the gravity timer if one runs.
    virtual void stopGameTimer() = 0;
    // Takes the speed level (1 to 10); a running timer is re-timed at once.
    virtual void setSpeedLevel(int level) = 0;
    // A surface on the client area whose drawing shows at once.
    virtual std::unique_ptr<surface::CDC> openClientDC() = 0;
    // Posts WM_CLOSE (wParam 0, lParam 0) to the application's main window.
    virtual void postCloseToMainWindow() = 0;

protected:
    ~BoardHost() = default;
};
