#include "cardtable/core/CardImages.h"
#include "cardtable/core/CardWindow.h"
#include "cardtable/core/SharedResources.h"
#include "cardtable/core/TableButton.h"
#include "support/FakeSeams.h"
#include "support/TableOnScreen.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<std::uint32_t> pressed;
int clicks = 0;

void RecordPress(CardStack& s, int) {
    pressed.push_back(s.GetId());
}
void RecordClick(TableButton&) {
    ++clicks;
}

CardList OneCard(Card c) {
    CardList l;
    l.Push(CardEntry{c, 1});
    return l;
}

class CardWindowTest : public testing::Test {
protected:
    void SetUp() override {
        pressed.clear();
        clicks = 0;
        ASSERT_TRUE(ShowTable(table, parent.get(), 600, 400));
    }
    void Send(UINT msg, int x, int y) { SendMouse(table.GetHandle(), msg, x, y); }
    COLORREF PixelOnScreen(int x, int y) { return ScreenPixel(table.GetHandle(), x, y); }

    FakeSeams fake;
    TestWindow parent{600, 400};
    CardWindow table;
};

TEST_F(CardWindowTest, CreateOnlyOnce) {
    EXPECT_FALSE(table.Create(parent.get(), 0, WS_CHILD));
    char name[16] = {};
    GetClassNameA(table.GetHandle(), name, sizeof name);
    EXPECT_STREQ(name, "CardWnd32");
    EXPECT_EQ(CardWindow::FromHandle(table.GetHandle()), &table);
    EXPECT_EQ(CardWindow::FromHandle(parent.get()), nullptr);
}

TEST_F(CardWindowTest, TheLaterStackTakesThePressWhereTwoOverlap) {
    CardStack* under = table.CreateStack(1, true, 100, 100, 0, 0);
    CardStack* over = table.CreateStack(2, true, 130, 100, 0, 0);
    for (CardStack* s : {under, over}) {
        s->SetOnPress(RecordPress);
        s->SetDragRule(kDragNever, nullptr);
        s->SetCards(OneCard(5));
    }
    EXPECT_EQ(table.StackAt(140, 120), over);
    EXPECT_EQ(table.StackAt(110, 120), under);
    EXPECT_EQ(table.StackAt(99, 120), nullptr);
    Send(WM_LBUTTONDOWN, 140, 120);
    Send(WM_LBUTTONUP, 140, 120);
    Send(WM_LBUTTONDOWN, 110, 120);
    Send(WM_LBUTTONUP, 110, 120);
    EXPECT_EQ(pressed, (std::vector<std::uint32_t>{2, 1}));
    over->SetVisible(false); // hidden stacks are not hit
    EXPECT_EQ(table.StackAt(140, 120), under);
}

TEST_F(CardWindowTest, ARefusedLiftLeavesNoGesture) {
    CardStack* s = table.CreateStack(1, true, 100, 100, 0, 0);
    s->SetDragRule(kDragNever, nullptr);
    s->SetCards(OneCard(7));
    Send(WM_LBUTTONDOWN, 110, 110);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_FALSE(s->IsDragging());
    Send(WM_MOUSEMOVE, 300, 300);
    Send(WM_LBUTTONUP, 300, 300);
    EXPECT_EQ(s->Count(), 1);
    EXPECT_EQ(fake.pauses, 0); // nothing glided
}

// A second press with no release between (a release lost somewhere) ends the
// first gesture: its card goes home before the next one is lifted.
TEST_F(CardWindowTest, APressDuringAGestureEndsItFirst) {
    CardStack* a = table.CreateStack(1, true, 100, 100, 0, 0);
    CardStack* b = table.CreateStack(2, true, 300, 100, 0, 0);
    a->SetCards(OneCard(7));
    b->SetCards(OneCard(9));
    Send(WM_LBUTTONDOWN, 110, 110);
    ASSERT_TRUE(a->IsDragging());
    Send(WM_MOUSEMOVE, 200, 250);
    Send(WM_LBUTTONDOWN, 310, 110);
    EXPECT_FALSE(a->IsDragging());
    EXPECT_EQ(a->Count(), 1);
    EXPECT_EQ(a->GetCards().At(0).card, 7u);
    EXPECT_TRUE(b->IsDragging());
    Send(WM_LBUTTONUP, 310, 110);
    EXPECT_EQ(a->Count(), 1);
    EXPECT_EQ(b->Count(), 1);
    Send(WM_LBUTTONDOWN, 110, 110);
    Send(WM_LBUTTONDBLCLK, 110, 110); // a double-click as the second press
    EXPECT_FALSE(a->IsDragging());
    EXPECT_EQ(a->Count(), 1);
}

TEST_F(CardWindowTest, DisabledInputIgnoresTheMouse) {
    CardStack* s = table.CreateStack(1, true, 100, 100, 0, 0);
    s->SetOnPress(RecordPress);
    s->SetCards(OneCard(7));
    TableButton* b = table.CreateButton(9, "go", TableButton::kRaised, true, 300, 50, 70, 30);
    b->SetOnClick(RecordClick);
    table.SetInputEnabled(false);
    Send(WM_LBUTTONDOWN, 110, 110);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_FALSE(s->IsDragging());
    Send(WM_LBUTTONUP, 110, 110);
    Send(WM_LBUTTONDOWN, 310, 60);
    Send(WM_LBUTTONUP, 310, 60);
    Send(WM_LBUTTONDBLCLK, 310, 60);
    EXPECT_TRUE(pressed.empty());
    EXPECT_EQ(clicks, 0);
    EXPECT_FALSE(b->IsPressed());

    table.SetInputEnabled(true);
    Send(WM_LBUTTONDOWN, 310, 60);
    Send(WM_LBUTTONUP, 310, 60);
    EXPECT_EQ(clicks, 1);
}

TEST_F(CardWindowTest, ButtonsAreHitBeforeStacksAndLaterButtonsFirst) {
    table.CreateStack(1, true, 100, 100, 0, 0)->SetCards(OneCard(3));
    TableButton* first = table.CreateButton(1, "a", TableButton::kRaised, true, 100, 100, 70, 30);
    TableButton* second = table.CreateButton(2, "b", TableButton::kRaised, true, 120, 100, 70, 30);
    EXPECT_EQ(table.ButtonAt(130, 110), second);
    EXPECT_EQ(table.ButtonAt(105, 110), first);
    EXPECT_EQ(table.ButtonAt(190, 110), nullptr); // right edge is outside
    second->SetVisible(false);
    EXPECT_EQ(table.ButtonAt(130, 110), first);
    EXPECT_EQ(table.FindButton(2), second);
    EXPECT_EQ(table.FindButton(3), nullptr);
}

TEST_F(CardWindowTest, ThirtyThirdButtonIsRefused) {
    for (int i = 0; i < 32; ++i)
        ASSERT_NE(table.CreateButton(i, "x", 0, true, 0, 0, 10, 10), nullptr);
    EXPECT_EQ(table.CreateButton(99, "x", 0, true, 0, 0, 10, 10), nullptr);
}

TEST_F(CardWindowTest, DoubleClickStartsNoDragButPressesAButton) {
    static int doubleClicks;
    doubleClicks = 0;
    CardStack* s = table.CreateStack(1, true, 100, 100, 0, 0);
    s->SetCards(OneCard(4));
    s->SetOnDoubleClick([](CardStack&, int n) { doubleClicks += n; });
    Send(WM_LBUTTONDBLCLK, 110, 110);
    EXPECT_EQ(doubleClicks, 1);
    EXPECT_FALSE(s->IsDragging());
    EXPECT_EQ(GetCapture(), nullptr);
    Send(WM_MOUSEMOVE, 300, 300);
    Send(WM_LBUTTONUP, 300, 300);
    EXPECT_EQ(s->Count(), 1);

    TableButton* b = table.CreateButton(9, "go", TableButton::kRaised, true, 300, 50, 70, 30);
    b->SetOnClick(RecordClick);
    Send(WM_LBUTTONDBLCLK, 310, 60);
    EXPECT_TRUE(b->IsPressed());
    Send(WM_LBUTTONUP, 310, 60);
    EXPECT_EQ(clicks, 1);
}

TEST_F(CardWindowTest, NewColourShowsOnlyAfterRedraw) {
    table.Redraw();
    const COLORREF green = RGB(0, 0x50, 0);
    EXPECT_EQ(PixelOnScreen(500, 300), green);
    table.SetBackgroundColor(RGB(39, 136, 255));
    EXPECT_EQ(PixelOnScreen(500, 300), green);
    table.Redraw();
    EXPECT_EQ(PixelOnScreen(500, 300), RGB(39, 136, 255));
    EXPECT_EQ(table.GetBackgroundColor(), RGB(39, 136, 255));
}

TEST_F(CardWindowTest, StacksAndButtonsTakeTheColourWhenMadeAndWhenItChanges) {
    table.SetBackgroundColor(RGB(255, 191, 155));
    CardStack* s = table.CreateStack(1, true, 0, 0, 0, 0);
    EXPECT_EQ(s->GetBackgroundColor(), RGB(255, 191, 155));
    TableButton* raised = table.CreateButton(1, "r", TableButton::kRaised, true, 0, 0, 9, 9);
    TableButton* flat = table.CreateButton(2, "f", 0, true, 0, 0, 9, 9);
    EXPECT_EQ(raised->GetBackgroundColor(),
              ShadeColor(RGB(255, 191, 155), RGB(255, 255, 255), 0.1));
    EXPECT_EQ(flat->GetBackgroundColor(), RGB(255, 191, 155));

    // A later change reaches the stacks and buttons already there.
    table.SetBackgroundColor(RGB(0, 64, 100));
    EXPECT_EQ(s->GetBackgroundColor(), RGB(0, 64, 100));
    EXPECT_EQ(raised->GetBackgroundColor(), ShadeColor(RGB(0, 64, 100), RGB(255, 255, 255), 0.1));
    EXPECT_EQ(flat->GetBackgroundColor(), RGB(0, 64, 100));
}

// A colour the surface cannot show is dithered (on a 256-colour screen under
// Wine; on a monochrome bitmap everywhere): an off-screen copy of part of the
// table must carry the pattern in the same phase as the table it stands for.
TEST_F(CardWindowTest, AnOffScreenFillLinesUpItsDitherWithTheTable) {
    table.SetBackgroundColor(RGB(255, 191, 155));
    auto fill = [&](POINT at, int w, int h) {
        UniqueDc dc(CreateCompatibleDC(nullptr));
        UniqueBitmap bits(CreateBitmap(w, h, 1, 1, nullptr));
        SelectGuard selection(dc.get(), bits.get());
        table.FillBackground(dc.get(), 0, 0, w, h, at);
        std::vector<COLORREF> out;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                out.push_back(GetPixel(dc.get(), x, y));
        return out;
    };
    const std::vector<COLORREF> whole = fill(POINT{0, 0}, 24, 24);
    ASSERT_NE(whole[0], whole[1]); // dithered, or nothing is proven
    const std::vector<COLORREF> part = fill(POINT{5, 11}, 8, 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            ASSERT_EQ(part[y * 8 + x], whole[(y + 11) * 24 + x + 5]) << x << ", " << y;
}

TEST(CardWindowLifetime, TheLastWindowReleasesTheSharedResources) {
    ASSERT_EQ(CardWindow::InstanceCount(), 0);
    EXPECT_EQ(CardStripDc(), nullptr);
    EXPECT_EQ(shared_resources::Palette(), nullptr);
    const int gdiBefore = LiveGdiHandles();
    {
        CardWindow first;
        EXPECT_NE(CardStripDc(), nullptr);
        EXPECT_NE(shared_resources::Palette(), nullptr);
        EXPECT_NE(shared_resources::EmptyPlaceDc(), nullptr);
        {
            CardWindow second;
            EXPECT_EQ(CardWindow::InstanceCount(), 2);
        }
        EXPECT_NE(CardStripDc(), nullptr); // one window is left
    }
    EXPECT_EQ(CardWindow::InstanceCount(), 0);
    EXPECT_EQ(CardStripDc(), nullptr);
    EXPECT_EQ(shared_resources::EmptyPlaceDc(), nullptr);
    EXPECT_EQ(LiveGdiHandles(), gdiBefore);
    CardWindow again; // loads everything again
    EXPECT_NE(CardStripDc(), nullptr);
}

} // namespace
