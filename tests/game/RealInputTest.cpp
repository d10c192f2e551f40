// Whole gestures through the real input path: mouse input injected into the
// system's queue reaches the table as hardware messages, with the pointer
// jump, the mouse capture and double-click detection of the real system.
#include "support/GameTable.h"

namespace {

class RealInput : public GameTable {
protected:
    POINT OnScreen(int x, int y) {
        POINT p{x, y};
        ClientToScreen(window().GetHandle(), &p);
        return p;
    }
    void Button(DWORD flags) {
        INPUT in{};
        in.type = INPUT_MOUSE;
        in.mi.dwFlags = flags;
        SendInput(1, &in, sizeof in);
        Settle();
    }
    void MoveTo(int x, int y) {
        const POINT p = OnScreen(x, y);
        SetCursorPos(p.x, p.y);
        Settle();
    }
    // Lets the input arrive and be handled.
    void Settle() {
        for (int i = 0; i < 3; ++i) {
            Sleep(10);
            PumpMessages();
        }
    }
    // Presses on the centre of the top band of one card, carries it in steps
    // and releases it on another place.
    void RealDrag(int fromX, int fromY, int toX, int toY) {
        MoveTo(fromX, fromY);
        Button(MOUSEEVENTF_LEFTDOWN);
        for (int step = 1; step <= 8; ++step)
            MoveTo(fromX + (toX - fromX) * step / 8, fromY + (toY - fromY) * step / 8);
        Button(MOUSEEVENTF_LEFTUP);
        Sleep(600); // the next press must not count as a double-click
    }
};

TEST_F(RealInput, DraggingAPairRemovesIt) {
    Put(22, {CardOf(4)});
    Put(23, {CardOf(9)});
    window().Redraw();
    const int fromX = stack(22).X() + 35, fromY = stack(22).Y() + 15;
    RealDrag(fromX, fromY, stack(23).X() + 35, stack(23).Y() + 15);
    EXPECT_EQ(stack(35).Count(), 2);
    EXPECT_FALSE(stack(22).IsVisible());
    EXPECT_FALSE(stack(23).IsVisible());
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(game.UndoTarget(), 23);
}

TEST_F(RealInput, ARefusedCardGoesHome) {
    Put(22, {CardOf(4)});
    Put(23, {CardOf(4, 1)});
    window().Redraw();
    RealDrag(stack(22).X() + 35, stack(22).Y() + 15, stack(23).X() + 35, stack(23).Y() + 15);
    EXPECT_EQ(stack(22).Count(), 1);
    EXPECT_EQ(stack(23).Count(), 1);
    EXPECT_EQ(stack(35).Count(), 0);
    ASSERT_EQ(Sounds().size(), 1u);
    EXPECT_EQ(Sounds()[0].first, kRefusalSound);
}

TEST_F(RealInput, PressingLiftsTheCardAndJumpsThePointer) {
    Put(22, {CardOf(4)});
    const int x = stack(22).X() + 5, y = stack(22).Y() + 5;
    MoveTo(x, y);
    Button(MOUSEEVENTF_LEFTDOWN);
    EXPECT_TRUE(stack(22).IsDragging());
    EXPECT_EQ(GetCapture(), window().GetHandle());
    POINT now{};
    GetCursorPos(&now);
    const POINT pressed = OnScreen(x, y);
    EXPECT_EQ(now.x, pressed.x - 3);
    EXPECT_EQ(now.y, pressed.y - 5);
    Button(MOUSEEVENTF_LEFTUP);
    EXPECT_FALSE(stack(22).IsDragging());
    EXPECT_EQ(stack(22).Count(), 1);
    Sleep(600);
}

TEST_F(RealInput, ADoubleClickStartsNoDrag) {
    Put(22, {CardOf(4)});
    const int x = stack(22).X() + 20, y = stack(22).Y() + 10;
    MoveTo(x, y);
    Button(MOUSEEVENTF_LEFTDOWN);
    Button(MOUSEEVENTF_LEFTUP);
    // The lift moved the pointer 3 left and 5 up; back where the first
    // press was, the second press within 500 ms is a double-click.
    MoveTo(x, y);
    Button(MOUSEEVENTF_LEFTDOWN);
    EXPECT_FALSE(stack(22).IsDragging());
    EXPECT_EQ(GetCapture(), nullptr);
    MoveTo(stack(23).X() + 20, stack(23).Y() + 10);
    Button(MOUSEEVENTF_LEFTUP);
    EXPECT_EQ(stack(22).Count(), 1);
    Sleep(600);
}

} // namespace
