// Where an arrow key takes the focus frame: the nearest place lying that way.
#pragma once

#include <windows.h>

// Left to Down go by the places' positions; Next and Previous (Tab and
// Shift+Tab) step through every place in the table's own order, so that
// each one can be reached whatever lies where.
enum class FrameDirection { Left, Right, Up, Down, Next, Previous };

// The direction of an arrow key or Tab, or false for any other key.
bool DirectionOfKey(WPARAM key, FrameDirection& direction);

// The index of the place nearest to `from` in the direction, or -1 when none
// lies that way (always for Next and Previous, which go by order). A place
// counts when its centre lies beyond `from`'s centre along the direction; the
// nearest is the one with the least distance along it plus twice the distance
// across it (places off to the side count as farther), the first of equals
// winning.
int NearestInDirection(const RECT& from, const RECT* places, int count, FrameDirection d);
