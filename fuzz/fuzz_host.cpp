// The simulated view: its timer by the game's gravity formula.
#include "fuzz_host.h"

#include <algorithm>
#include <utility>

#include "control/gravity.h"

namespace {

// Time advanced in one step brings at most this many expiries.
constexpr int kMaxTicksPerAdvance = 64;

}  // namespace

FuzzHost::FuzzHost(std::shared_ptr<Canvas> canvas)
    : m_canvas(std::move(canvas)),
      m_timerBase(kDefaultTimerBase),
      m_speedLevel(kStartSpeedLevel),
      m_timerRunning(false),
      m_elapsed(0)
{
}

void FuzzHost::Invalidate(bool) {}

void FuzzHost::startGameTimer()
{
    if (!m_timerRunning) {
        m_timerRunning = true;
        m_elapsed = 0;
    }
}

void FuzzHost::stopGameTimer()
{
    m_timerRunning = false;
}

void FuzzHost::setSpeedLevel(int level)
{
    m_speedLevel = level;
    m_elapsed = 0;
}

std::unique_ptr<surface::CDC> FuzzHost::openClientDC()
{
    return std::make_unique<RasterSurface>(m_canvas);
}

void FuzzHost::postCloseToMainWindow() {}

void FuzzHost::setTimerBase(std::int32_t base)
{
    m_timerBase = base;
}

long long FuzzHost::interval() const
{
    return gravityInterval(m_timerBase, m_speedLevel);
}

int FuzzHost::advance(int milliseconds)
{
    if (!m_timerRunning) {
        return 0;
    }
    m_elapsed += milliseconds;
    int expiries = static_cast<int>(std::min<long long>(m_elapsed / interval(), kMaxTicksPerAdvance));
    m_elapsed %= interval();
    return expiries;
}
