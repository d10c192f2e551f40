#include "cardtable/core/FrameNavigation.h"

#include <cstdlib>

bool DirectionOfKey(WPARAM key, FrameDirection& direction) {
    switch (key) {
    case VK_LEFT:
        direction = FrameDirection::Left;
        return true;
    case VK_RIGHT:
        direction = FrameDirection::Right;
        return true;
    case VK_UP:
        direction = FrameDirection::Up;
        return true;
    case VK_DOWN:
        direction = FrameDirection::Down;
        return true;
    case VK_TAB:
        direction = GetKeyState(VK_SHIFT) < 0 ? FrameDirection::Previous : FrameDirection::Next;
        return true;
    default:
        return false;
    }
}

int NearestInDirection(const RECT& from, const RECT* places, int count, FrameDirection d) {
    if (d == FrameDirection::Next || d == FrameDirection::Previous)
        return -1;
    const bool horizontal = d == FrameDirection::Left || d == FrameDirection::Right;
    const int sign = d == FrameDirection::Left || d == FrameDirection::Up ? -1 : 1;
    // Doubled centres keep the arithmetic in whole numbers.
    const int fx = from.left + from.right, fy = from.top + from.bottom;
    int best = -1;
    long long bestScore = 0;
    for (int i = 0; i < count; ++i) {
        const int cx = places[i].left + places[i].right - fx;
        const int cy = places[i].top + places[i].bottom - fy;
        const int along = sign * (horizontal ? cx : cy);
        const int across = horizontal ? cy : cx;
        if (along <= 0)
            continue;
        const long long score = along + 2LL * std::abs(across);
        if (best < 0 || score < bestScore) {
            best = i;
            bestScore = score;
        }
    }
    return best;
}
