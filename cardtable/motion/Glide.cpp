// The straight-line glide of moving cards to their destination.
#include "cardtable/motion/Glide.h"

#include "cardtable/core/CardStack.h"
#include "cardtable/core/CardWindow.h"
#include "cardtable/core/Seams.h"

#include <cmath>

namespace {
double moveSpeed = 32.0;

// The pixel an axis shows this frame, and whether it has passed its target.
int AxisPixel(double cur, double step, int target, bool& passed) {
    const int pixel = static_cast<int>(cur); // truncates toward zero
    passed = (step < 0 && pixel < target) || (step > 0 && pixel > target);
    return passed ? target : pixel;
}
} // namespace

void SetMoveSpeed(int n) {
    moveSpeed = n;
}
double GetMoveSpeed() {
    return moveSpeed;
}

void CardStack::GlideOnWindow(int sx, int sy, CardStack& destination) {
    WindowDc dc(owner_.GetHandle());
    AnimateImage(dc.get(), sx, sy, destination);
}

void CardStack::AnimateImage(HDC dc, int sx, int sy, CardStack& destination) {
    imageX_ = sx;
    imageY_ = sy;
    const POINT target = destination.NextCardPosition();
    const double DX = target.x - sx, DY = target.y - sy;
    const double length = std::sqrt(DX * DX + DY * DY);
    // A glide onto its own place has no direction, and a speed that is not
    // positive would never arrive: both draw one frame at the target.
    if (length == 0 || moveSpeed <= 0) {
        MoveDragImage(dc, target.x, target.y);
        return;
    }
    const double f = moveSpeed * (1.0 / length);
    const double stepX = f * DX, stepY = f * DY;
    double curX = sx, curY = sy;
    for (;;) {
        curX += stepX;
        curY += stepY;
        bool passedX = false, passedY = false;
        const int px = AxisPixel(curX, stepX, target.x, passedX);
        const int py = AxisPixel(curY, stepY, target.y, passedY);
        MoveDragImage(dc, px, py);
        if ((passedX && passedY) || (px == target.x && py == target.y))
            break;
        imageX_ = px;
        imageY_ = py;
        seams::Pause10ms();
    }
}
