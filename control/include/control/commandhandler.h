// The operations the game offers to its input: what a key press or a timer
// tick can ask of the game, and the command kinds keys are mapped to.
#pragma once

#include <cstdint>

#include "model/shape.h"
#include "surface/surface.h"

enum class CommandKind : std::int32_t {
    None = 0,
    MoveLeft = 1,
    MoveRight = 2,
    Drop = 3,
    Rotate = 4,
    SpeedUp = 5,
    SpeedDown = 6,
    Pause = 7,
    KeyR = 8,
    Preview = 9,
    Quit = 10,
    Start = 11,
};

class CommandHandler {
public:
    virtual ~CommandHandler() {}

    virtual void togglePreview(surface::CDC& dc) = 0;
    virtual void changeSpeed(int delta) = 0;
    virtual void togglePause() = 0;
    virtual void commandR(surface::CDC& dc) = 0;
    virtual void moveShape(surface::CDC& dc, ShapeMove dir) = 0;
    virtual void rotateShape(surface::CDC& dc) = 0;
    virtual void quit() = 0;
    virtual void start(surface::CDC& dc) = 0;
    virtual void draw(surface::CDC& dc) = 0;
    virtual void tick(surface::CDC& dc) = 0;
    virtual void initGame() = 0;

protected:
    CommandHandler() = default;
    CommandHandler(const CommandHandler&) = default;
    CommandHandler& operator=(const CommandHandler&) = default;
};
