// The one thing a shape asks of the board it moves on. The model declares
// it so that shapes need nothing of the game's rules above them.
#pragma once

class Shape;

class ShapeBoard {
public:
    // True when the shape, where and as it stands now, may not stand there.
    virtual bool collides(const Shape& shape) const = 0;

protected:
    ~ShapeBoard() = default;
};
