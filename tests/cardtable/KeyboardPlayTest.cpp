// Keyboard play through the card window's real key messages: the focus
// frame, the raised card, a landing, a refusal and a putting back, each
// checked against what the window shows.
#include "DragFixture.h"

#include "cardtable/core/FrameNavigation.h"

namespace {

int landings = 0;
void CountLanding(CardStack&, const CardList&) {
    ++landings;
}
bool Refuse(CardStack&, const CardList&) {
    return false;
}

class KeyboardPlayTest : public DragFixture {
protected:
    void SetUp() override {
        DragFixture::SetUp();
        landings = 0;
        left = table.CreateStack(1, true, 100, 100, 0, 0);
        left->SetCards(ListOf({4}));
        right = table.CreateStack(2, true, 300, 120, 0, 0);
        right->SetCards(ListOf({9}));
        right->SetOnDropped(CountLanding);
        // A card that may not be lifted never takes the frame.
        CardStack* fixed = table.CreateStack(3, true, 200, 110, 0, 0);
        fixed->SetCards(ListOf({20}));
        fixed->SetDragRule(kDragNever, nullptr);
        Show();
    }
    void Key(WPARAM key) {
        SendMessageA(wnd(), WM_KEYDOWN, key, 1);
        PumpMessages();
    }
    // The window matches a fresh paint of the table, frame and raised card
    // included.
    void ExpectPaintedAsItStands() {
        EXPECT_EQ(Compare(Screen(), FreshPaint()).count, 0)
            << Compare(Screen(), FreshPaint()).Describe();
    }
    // The two-pixel ring just outside a card whose corner is (x, y).
    bool RingAt(int x, int y) {
        const CardImagePixels s = Screen();
        const COLORREF h = Shown(GetSysColor(COLOR_HIGHLIGHT));
        return s.At(x - 2, y - 2) == h && s.At(x - 1, y + 50) == h &&
               s.At(x + cardWidth + 1, y + cardHeight + 1) == h && s.At(x + cardWidth, y + 50) == h;
    }
    CardStack* left = nullptr;
    CardStack* right = nullptr;
};

TEST_F(KeyboardPlayTest, TheFrameMovesToLiftableCardsAndGoesExactly) {
    const CardImagePixels before = Screen();
    Key(VK_DOWN);
    EXPECT_EQ(table.FramedStack(), left); // the first card in creation order
    EXPECT_TRUE(RingAt(100, 100));
    ExpectPaintedAsItStands();
    Key(VK_RIGHT); // over the card that may not be lifted
    EXPECT_EQ(table.FramedStack(), right);
    EXPECT_FALSE(RingAt(100, 100));
    Key(VK_RIGHT); // nothing lies that way
    EXPECT_EQ(table.FramedStack(), right);
    ExpectPaintedAsItStands();
    Key(VK_TAB); // Tab steps through every place in order, round to the first
    EXPECT_EQ(table.FramedStack(), left);
    Key(VK_TAB);
    EXPECT_EQ(table.FramedStack(), right);

    Press(20, 400); // a mouse press on the table takes it away
    Release(20, 400);
    EXPECT_EQ(table.FramedStack(), nullptr);
    EXPECT_EQ(Compare(Screen(), before).count, 0) << Compare(Screen(), before).Describe();
    Key(VK_LEFT); // back where it was
    EXPECT_EQ(table.FramedStack(), right);
}

TEST_F(KeyboardPlayTest, SpaceRaisesTheCardAndEscapeOrSpaceAgainPutsItBack) {
    Key(VK_DOWN);
    const CardImagePixels framed = Screen();
    for (WPARAM putBack : {VK_ESCAPE, VK_SPACE}) {
        Key(VK_SPACE);
        EXPECT_EQ(table.SelectedStack(), left);
        EXPECT_EQ(left->ImageX(), 97);
        EXPECT_EQ(left->ImageY(), 95);
        EXPECT_TRUE(CardShownAt(4, 97, 95));
        EXPECT_TRUE(RingAt(97, 95));
        ExpectPaintedAsItStands();
        table.PaintNow(); // a repaint shows it as it was
        PumpMessages();
        ExpectPaintedAsItStands();
        EXPECT_TRUE(RingAt(97, 95));

        Key(putBack);
        EXPECT_EQ(table.SelectedStack(), nullptr);
        EXPECT_EQ(left->Count(), 1);
        EXPECT_EQ(Compare(Screen(), framed).count, 0) << Compare(Screen(), framed).Describe();
    }
    EXPECT_EQ(landings, 0);
    // Recoloured while lifted: no glide may bring back the old colour.
    Key(VK_SPACE);
    table.SetBackgroundColor(RGB(0, 64, 100));
    Show();
    Key(VK_ESCAPE);
    ExpectPaintedAsItStands();
}

TEST_F(KeyboardPlayTest, SpaceOnTheFramedCardLandsOrIsRefusedAsADropThere) {
    right->SetDropRule(kDropAsk, Refuse);
    Key(VK_DOWN);
    Key(VK_RIGHT);
    const CardImagePixels before = Screen();
    Key(VK_LEFT);
    Key(VK_SPACE);
    Key(VK_RIGHT);
    EXPECT_TRUE(RingAt(300, 120));
    Key(VK_SPACE); // refused: back home, the frame on the target
    EXPECT_EQ(left->Count(), 1);
    EXPECT_EQ(Compare(Screen(), before).count, 0) << Compare(Screen(), before).Describe();

    right->SetDropRule(kDropAlways, nullptr);
    Key(VK_LEFT);
    Key(VK_SPACE);
    Key(VK_RIGHT);
    Key(VK_SPACE);
    EXPECT_EQ(left->Count(), 0);
    EXPECT_EQ(right->Count(), 2);
    EXPECT_EQ(landings, 1);
    EXPECT_EQ(table.redraws, 2); // one at the end of each drop, as after a drag
}

TEST_F(KeyboardPlayTest, NoKeyPlaysDuringADragOrWithInputOff) {
    Press(110, 110);
    Key(VK_DOWN);
    Key(VK_SPACE);
    EXPECT_EQ(table.FramedStack(), nullptr);
    Release(110, 110);
    table.SetInputEnabled(false);
    Key(VK_DOWN);
    EXPECT_EQ(table.FramedStack(), nullptr);
}

TEST_F(KeyboardPlayTest, KeysOfTheTopLevelWindowReachTheTable) {
    MSG msg{parent.get(), WM_KEYDOWN, VK_LEFT, 0, 0, {}};
    table.TakeKey(msg);
    EXPECT_EQ(msg.hwnd, wnd());
    msg.hwnd = GetDesktopWindow(); // not ours
    table.TakeKey(msg);
    EXPECT_EQ(msg.hwnd, GetDesktopWindow());
}

TEST(FrameNavigation, TheNearestPlaceThatWayWins) {
    const RECT from{100, 100, 170, 196};
    const RECT places[] = {{200, 100, 270, 196},
                           {300, 100, 370, 196},
                           {100, 300, 170, 396},
                           {230, 200, 300, 296},
                           {0, 0, 70, 96}};
    struct Row {
        FrameDirection d;
        int expected;
    } rows[] = {{FrameDirection::Right, 0},
                {FrameDirection::Down, 2}, // straight below beats nearer but aside
                {FrameDirection::Left, 4},
                {FrameDirection::Up, 4}};
    for (const Row& r : rows)
        EXPECT_EQ(NearestInDirection(from, places, 5, r.d), r.expected);
    EXPECT_EQ(NearestInDirection(from, places, 1, FrameDirection::Left), -1);
}

} // namespace
