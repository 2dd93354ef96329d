// What the game tells assistive technology: the state, speed and score in
// the status panel's own words, and where the falling shape is, for a
// magnifier to follow.
#pragma once

#include <string>

#include "control/gameboard.h"
#include "surface/surface.h"

// The panel's texts for a screen reader, each trimmed, as UTF-8.
struct AccessibleText {
    // How the state changes next (the start, pause or continue prompt), or
    // the short text of an ended game, whose panel shows no prompt.
    std::string name;
    // The speed and the score with their captions.
    std::string value;
    // The key help, the speed keys and the preview and quit prompts, one a line.
    std::string description;
};

AccessibleText accessibleText(const GameBoard& board);

// Where a magnifier should look, in client pixels at the board's scale: the
// rectangle around the falling shape's cells (before the start, the shape
// waiting at the top of the well), or the well's top row after the end.
surface::CRect pointOfInterest(const GameBoard& board);
