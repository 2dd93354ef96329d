// The simulated view the board driver plays in.
#pragma once

#include <cstdint>
#include <memory>

#include "control/board_host.h"
#include "raster_surface.h"

// The view as the board sees it, with the gravity timer kept in simulated
// milliseconds: the interval comes from the base interval and the speed
// level by the game's gravity formula, as in the program's view.
class FuzzHost : public BoardHost {
public:
    // Client surfaces paint on the given picture.
    explicit FuzzHost(std::shared_ptr<Canvas> canvas);
    virtual ~FuzzHost() = default;

    void Invalidate(bool erase = true) override;
    void startGameTimer() override;
    void stopGameTimer() override;
    void setSpeedLevel(int level) override;
    std::unique_ptr<surface::CDC> openClientDC() override;
    void postCloseToMainWindow() override;

    void setTimerBase(std::int32_t base);
    long long interval() const;
    bool timerRunning() const { return m_timerRunning; }
    int speedLevel() const { return m_speedLevel; }
    // Lets time pass; returns how many timer expiries fall into it.
    int advance(int milliseconds);
    const std::shared_ptr<Canvas>& canvas() const { return m_canvas; }

private:
    std::shared_ptr<Canvas> m_canvas;
    std::int32_t m_timerBase;
    int m_speedLevel;
    bool m_timerRunning;
    long long m_elapsed;
};
