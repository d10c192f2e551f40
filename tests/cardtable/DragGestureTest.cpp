// The drag gesture played through the card window's mouse messages: what a
// press picks, where the picture is held, which callbacks a landing and a
// return run, and how a gesture that loses the mouse ends.
#include "DragFixture.h"

#include <string>
#include <vector>

namespace {

std::vector<std::string> events;

std::string Event(const char* what, const CardStack& s, int n) {
    return std::string(what) + " " + std::to_string(s.GetId()) + " " + std::to_string(n);
}
void RecordPress(CardStack& s, int n) {
    events.push_back(Event("press", s, n));
}
void RecordTaken(CardStack& s, int n) {
    events.push_back(Event("taken", s, n));
}
void RecordDoubleClick(CardStack& s, int n) {
    events.push_back(Event("double", s, n));
}
void RecordDropped(CardStack& s, const CardList& cards) {
    events.push_back(Event("dropped", s, cards.Count()) + " top " +
                     std::to_string(cards.At(0).card));
}
bool RecordCanDrop(CardStack& s, const CardList& lifted) {
    events.push_back(Event("candrop", s, lifted.Count()) + " top " +
                     std::to_string(lifted.At(0).card));
    return true;
}
bool RefuseDrop(CardStack& s, const CardList& lifted) {
    events.push_back(Event("refuse", s, lifted.Count()));
    return false;
}

class DragGestureTest : public DragFixture {
protected:
    void SetUp() override {
        DragFixture::SetUp();
        events.clear();
        // A side stack of three cards fanned 12 pixels to the right, taking
        // one card at a time, and a stack elsewhere on the table to land on.
        side = table.CreateStack(29, true, 20, 20, 12, 0);
        side->SetCards(ListOf({4, 17, 30}));
        side->SetDragRule(kDragOne, nullptr);
        side->SetOnPress(RecordPress);
        side->SetOnTaken(RecordTaken);
        side->SetOnDropped(RecordDropped);
        target = table.CreateStack(7, true, 300, 200, 0, 15);
        target->SetCards(ListOf({9}));
        target->SetDropRule(kDropAsk, RecordCanDrop);
        target->SetOnTaken(RecordTaken);
        target->SetOnDropped(RecordDropped);
        Show();
    }
    // A point on the top card of the side stack, 10 pixels into it.
    int TopX() const { return side->X() + 2 * side->Dx() + 10; }
    int TopY() const { return side->Y() + 40; }

    CardStack* side = nullptr;
    CardStack* target = nullptr;
};

TEST_F(DragGestureTest, PressOnTheMiddleStripPicksTwoAndIsRefused) {
    const CardImagePixels before = Screen();
    const int handles = LiveGdiHandles();
    Press(side->X() + side->Dx() + 5, TopY()); // the middle card's 12-pixel strip
    EXPECT_EQ(side->PickIndex(), 2);
    EXPECT_EQ(events, (std::vector<std::string>{"press 29 2"}));
    EXPECT_FALSE(side->IsDragging());
    EXPECT_NE(GetCapture(), wnd());
    EXPECT_EQ(side->Count(), 3);
    EXPECT_EQ(LiveGdiHandles(), handles);
    Release(side->X() + side->Dx() + 5, TopY());
    EXPECT_EQ(fake.pauses, 0);
    EXPECT_EQ(table.redraws, 0);
    EXPECT_EQ(events.size(), 1u);
    const PixelDiff d = Compare(Screen(), before);
    EXPECT_EQ(d.count, 0) << d.Describe();

    Press(side->X() + 3, TopY()); // the bottom card's strip picks all three
    EXPECT_EQ(side->PickIndex(), 3);
    EXPECT_FALSE(side->IsDragging());

    Press(TopX(), TopY()); // the top card is lifted
    EXPECT_EQ(side->PickIndex(), 1);
    EXPECT_TRUE(side->IsDragging());
    EXPECT_EQ(GetCapture(), wnd());
    EXPECT_EQ(side->Count(), 2);
    EXPECT_EQ(side->CountWithLifted(), 3);
    Release(TopX(), TopY());
    EXPECT_FALSE(side->IsDragging());
    EXPECT_EQ(side->Count(), 3);
}

TEST_F(DragGestureTest, PictureIsHeldWhereTheCardWasPressedAndJumpsWithThePointer) {
    const int cardLeft = side->X() + 2 * side->Dx();
    Press(cardLeft + 5, side->Y() + 30);
    ASSERT_TRUE(side->IsDragging());
    EXPECT_EQ(side->GrabX(), 5);
    EXPECT_EQ(side->GrabY(), 30);
    EXPECT_EQ(side->ImageX(), cardLeft);
    EXPECT_EQ(side->ImageY(), side->Y());

    // The pointer was put 3 pixels left of and 5 above the press point.
    POINT expected{cardLeft + 5 - 3, side->Y() + 30 - 5};
    ClientToScreen(wnd(), &expected);
    POINT cursor{};
    GetCursorPos(&cursor);
    EXPECT_EQ(cursor.x, expected.x);
    EXPECT_EQ(cursor.y, expected.y);

    // The move that the pointer placement caused arrives as an ordinary
    // mouse move and the picture follows it.
    PumpMessages();
    EXPECT_EQ(side->ImageX(), cardLeft - 3);
    EXPECT_EQ(side->ImageY(), side->Y() - 5);
    const PixelDiff d = ScreenAgainstTableWithPicture(*side);
    EXPECT_EQ(d.count, 0) << d.Describe();
    Release(cardLeft + 2, side->Y() + 25);
    EXPECT_EQ(side->Count(), 3);
}

TEST_F(DragGestureTest, LandingRunsOnTakenBeforeOnDroppedWithTheCardsInPlace) {
    const int handles = LiveGdiHandles();
    Press(TopX(), TopY());
    EXPECT_EQ(LiveGdiHandles(), handles + 4); // two surfaces, each a DC and a bitmap
    MoveTo(150, 150);
    MoveTo(target->X() + 50, target->Y() + 70); // 40 pixels right, 5 below its next place
    Release(target->X() + 50, target->Y() + 70);

    EXPECT_EQ(events, (std::vector<std::string>{"press 29 1", "candrop 7 1 top 30", "taken 29 1",
                                                "dropped 7 2 top 30"}));
    EXPECT_EQ(side->Count(), 2);
    EXPECT_EQ(target->Count(), 2);
    EXPECT_EQ(target->GetCards().At(0).card, 30u);
    EXPECT_EQ(target->GetCards().At(1).card, 9u);
    EXPECT_FALSE(side->IsDragging());
    EXPECT_NE(GetCapture(), wnd());
    EXPECT_GT(fake.pauses, 0);
    EXPECT_EQ(table.redraws, 1);
    EXPECT_EQ(LiveGdiHandles(), handles);
}

TEST_F(DragGestureTest, ReleaseOverTheTableReturnsTheCardWithoutCallbacks) {
    const int handles = LiveGdiHandles();
    Press(TopX(), TopY());
    MoveTo(500, 400);
    Release(500, 400);
    EXPECT_EQ(events, (std::vector<std::string>{"press 29 1"}));
    EXPECT_EQ(side->GetCards(), ListOf({4, 17, 30}));
    EXPECT_EQ(target->Count(), 1);
    EXPECT_FALSE(side->IsDragging());
    EXPECT_NE(GetCapture(), wnd());
    EXPECT_GT(fake.pauses, 0);
    EXPECT_EQ(LiveGdiHandles(), handles);
}

TEST_F(DragGestureTest, RefusedLandingReturnsTheCardAndCallsNothingElse) {
    target->SetDropRule(kDropAsk, RefuseDrop);
    Press(TopX(), TopY());
    MoveTo(target->X() + 10, target->Y() + 50);
    Release(target->X() + 10, target->Y() + 50);
    EXPECT_EQ(events, (std::vector<std::string>{"press 29 1", "refuse 7 1"}));
    EXPECT_EQ(side->GetCards(), ListOf({4, 17, 30}));
    EXPECT_EQ(target->GetCards(), ListOf({9}));
}

TEST_F(DragGestureTest, DoubleClickStartsNoDrag) {
    side->SetOnDoubleClick(RecordDoubleClick);
    const CardImagePixels before = Screen();
    const int handles = LiveGdiHandles();
    DoubleClick(TopX(), TopY());
    EXPECT_EQ(events, (std::vector<std::string>{"double 29 1"}));
    EXPECT_FALSE(side->IsDragging());
    EXPECT_NE(GetCapture(), wnd());
    Release(TopX(), TopY()); // finds no active stack
    MoveTo(200, 200);
    EXPECT_EQ(events.size(), 1u);
    EXPECT_EQ(fake.pauses, 0);
    EXPECT_EQ(table.redraws, 0);
    EXPECT_EQ(side->Count(), 3);
    EXPECT_EQ(LiveGdiHandles(), handles);
    const PixelDiff d = Compare(Screen(), before);
    EXPECT_EQ(d.count, 0) << d.Describe();

    DoubleClick(side->X() + side->Dx() + 2, TopY()); // the middle strip
    EXPECT_EQ(events.back(), "double 29 2");
    EXPECT_EQ(side->PickIndex(), 2);
}

TEST_F(DragGestureTest, CaptureTakenByAnotherWindowGlidesTheCardBack) {
    const CardImagePixels before = Screen();
    const int handles = LiveGdiHandles();
    Press(TopX(), TopY());
    MoveTo(200, 120);
    MoveTo(320, 250); // over the other stack
    fake.pauses = 0;
    SetCapture(parent.get());
    EXPECT_FALSE(side->IsDragging());
    EXPECT_GT(fake.pauses, 0); // glided home
    EXPECT_EQ(side->GetCards(), ListOf({4, 17, 30}));
    EXPECT_EQ(target->GetCards(), ListOf({9}));
    EXPECT_EQ(events, (std::vector<std::string>{"press 29 1"}));
    EXPECT_EQ(LiveGdiHandles(), handles);
    const PixelDiff d = Compare(Screen(), before);
    EXPECT_EQ(d.count, 0) << d.Describe();
    ReleaseCapture();

    // The release that comes later belongs to no gesture.
    const int pauses = fake.pauses;
    Release(320, 250);
    EXPECT_EQ(fake.pauses, pauses);
    EXPECT_EQ(side->Count(), 3);
}

TEST_F(DragGestureTest, InputSwitchedOffMidDragGlidesTheCardBack) {
    const CardImagePixels before = Screen();
    const int handles = LiveGdiHandles();
    Press(TopX(), TopY());
    MoveTo(400, 300);
    table.SetInputEnabled(false);
    EXPECT_FALSE(side->IsDragging());
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(side->GetCards(), ListOf({4, 17, 30}));
    EXPECT_EQ(events, (std::vector<std::string>{"press 29 1"}));
    EXPECT_EQ(LiveGdiHandles(), handles);
    const PixelDiff d = Compare(Screen(), before);
    EXPECT_EQ(d.count, 0) << d.Describe();

    // Presses are ignored while input is off, and work again after.
    Press(TopX(), TopY());
    EXPECT_FALSE(side->IsDragging());
    table.SetInputEnabled(true);
    Press(TopX(), TopY());
    EXPECT_TRUE(side->IsDragging());
    Release(TopX(), TopY());
}

} // namespace
