// A stand-in for the game view: records what the board asks of it and hands
// out client surfaces that all paint into one shared picture.
#pragma once

#include <memory>
#include <vector>

#include "control/board_host.h"
#include "raster_surface.h"

class RecordingHost : public BoardHost {
public:
    enum class Call { Invalidate, StartTimer, StopTimer, SetSpeed, PostClose, OpenClientDC };

    struct Record {
        Call call;
        // The level for SetSpeed, the erase flag for Invalidate, else 0.
        int value;
    };

    RecordingHost() : m_canvas(std::make_shared<Canvas>()) {}
    virtual ~RecordingHost() = default;

    void Invalidate(bool erase = true) override { m_calls.push_back({Call::Invalidate, erase ? 1 : 0}); }
    void startGameTimer() override { m_calls.push_back({Call::StartTimer, 0}); }
    void stopGameTimer() override { m_calls.push_back({Call::StopTimer, 0}); }
    void setSpeedLevel(int level) override { m_calls.push_back({Call::SetSpeed, level}); }
    std::unique_ptr<surface::CDC> openClientDC() override
    {
        m_calls.push_back({Call::OpenClientDC, 0});
        return std::make_unique<RasterSurface>(m_canvas);
    }
    void postCloseToMainWindow() override { m_calls.push_back({Call::PostClose, 0}); }

    // A client surface on the shared picture, for the test's own calls.
    std::unique_ptr<RasterSurface> clientDC() { return std::make_unique<RasterSurface>(m_canvas); }
    Canvas& canvas() { return *m_canvas; }

    const std::vector<Record>& calls() const { return m_calls; }
    int count(Call call) const
    {
        int n = 0;
        for (const Record& record : m_calls) {
            n += record.call == call ? 1 : 0;
        }
        return n;
    }
    void clear() { m_calls.clear(); }

private:
    std::shared_ptr<Canvas> m_canvas;
    std::vector<Record> m_calls;
};
