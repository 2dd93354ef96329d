// The white pen that outlines settled cells and shapes, at a line width.
#pragma once

#include "surface/surface.h"

// One pen per width, made on first use and kept for the whole run like the
// game's other pens. Width 1 is a plain solid pen; a wider one keeps the
// whole outline inside the cell, so neighbouring cells still only touch.
surface::CPen& outlinePen(int width);
