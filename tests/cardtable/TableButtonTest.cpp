#include "cardtable/core/CardImages.h"
#include "cardtable/core/CardWindow.h"
#include "cardtable/core/MemorySurface.h"
#include "cardtable/core/TableButton.h"
#include "support/FakeSeams.h"
#include "support/InkBox.h"
#include "support/TableOnScreen.h"

#include <gtest/gtest.h>

namespace {

int clicks = 0;
void CountClick(TableButton&) {
    ++clicks;
}

// A parent that counts the command messages a button without callback sends.
int commands = 0;
LRESULT CALLBACK CountingParent(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_COMMAND && LOWORD(wp) == 77)
        ++commands;
    return DefWindowProcA(w, msg, wp, lp);
}

class TableButtonTest : public testing::Test {
protected:
    void SetUp() override {
        clicks = commands = 0;
        previousProc = SetWindowLongPtrA(parent.get(), GWLP_WNDPROC,
                                         reinterpret_cast<LONG_PTR>(CountingParent));
        ASSERT_TRUE(ShowTable(table, parent.get(), 600, 400));
        table.Redraw();
    }
    void TearDown() override { SetWindowLongPtrA(parent.get(), GWLP_WNDPROC, previousProc); }
    void Send(UINT msg, int x, int y) { SendMouse(table.GetHandle(), msg, x, y); }
    COLORREF Pixel(int x, int y) { return ScreenPixel(table.GetHandle(), x, y); }

    FakeSeams fake;
    TestWindow parent{600, 400};
    CardWindow table;
    LONG_PTR previousProc = 0;
};

TEST_F(TableButtonTest, RaisedFrameAndItsSunkenMirror) {
    TableButton* b = table.CreateButton(77, "", TableButton::kRaised, true, 100, 100, 70, 30);
    table.Redraw();
    const COLORREF face = ShadeColor(table.GetBackgroundColor(), RGB(255, 255, 255), 0.1);
    const COLORREF light = ShadeColor(face, RGB(255, 255, 255), 0.25);
    const COLORREF shadow = ShadeColor(face, RGB(0, 0, 0), 0.25);
    EXPECT_EQ(Pixel(100, 115), light);  // column 0
    EXPECT_EQ(Pixel(130, 100), light);  // row 0
    EXPECT_EQ(Pixel(169, 100), 0u);     // column 69, row 0: black
    EXPECT_EQ(Pixel(130, 129), 0u);     // row 29
    EXPECT_EQ(Pixel(130, 128), shadow); // row 28
    EXPECT_EQ(Pixel(168, 115), shadow); // column 68
    EXPECT_EQ(Pixel(101, 101), face);
    EXPECT_EQ(Pixel(167, 127), face);

    Send(WM_LBUTTONDOWN, 130, 115); // pressed: the sunken look
    EXPECT_TRUE(b->IsPressed());
    EXPECT_EQ(Pixel(169, 115), light);  // light on the right
    EXPECT_EQ(Pixel(130, 129), light);  // and the bottom
    EXPECT_EQ(Pixel(100, 115), 0u);     // black on the left
    EXPECT_EQ(Pixel(101, 115), shadow); // then the shadow
    EXPECT_EQ(Pixel(168, 128), face);
    Send(WM_LBUTTONUP, 130, 115);
    EXPECT_EQ(Pixel(100, 115), light);
}

// The label's ink on the window, against the same text drawn alone at
// (0, 0) in the default GUI font: the label's left edge stands at the
// button's left (style 2), its right edge at the button's right (style 4),
// or centred; pressed with the pointer inside, one pixel right and down.
TEST_F(TableButtonTest, LabelStandsByItsStyleInBothLooks) {
    const char* text = "next level";
    MemorySurface alone(nullptr, 200, 40);
    const RECT all{0, 0, 200, 40};
    FillRect(alone.dc(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    SIZE size{};
    {
        SelectGuard font(alone.dc(), GetStockObject(DEFAULT_GUI_FONT));
        GetTextExtentPoint32A(alone.dc(), text, 10, &size);
        SetTextColor(alone.dc(), RGB(255, 255, 255));
        SetBkMode(alone.dc(), TRANSPARENT);
        TextOutA(alone.dc(), 0, 0, text, 10);
    }
    // Pixels the letters cover whole are white on any ground.
    auto white = [](COLORREF c, int, int) { return c == RGB(255, 255, 255); };
    const InkBox ref = FindInk(CardImagePixels(alone.dc(), 0, 0, 200, 40), white);
    ASSERT_FALSE(ref.Empty());

    struct Case {
        std::uint32_t style;
        int left; // where the label's measured box starts, unpressed
    };
    const int x = 100, y = 100, w = 90, h = 30;
    const Case cases[] = {{TableButton::kRaised, x + (w - size.cx) / 2},
                          {TableButton::kRaised | TableButton::kAlignLeft, x},
                          {TableButton::kRaised | TableButton::kAlignRight, x + w - size.cx}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.style);
        TableButton* b = table.CreateButton(77, text, c.style, true, x, y, w, h);
        table.Redraw();
        const RECT area{x, y, x + w, y + h};
        for (bool pressed : {false, true}) {
            if (pressed)
                Send(WM_LBUTTONDOWN, x + w / 2, y + h / 2);
            WindowDc dc(table.GetHandle());
            const InkBox ink = FindInk(CardImagePixels(dc.get(), 0, 0, 600, 400), white, area);
            const int shift = pressed ? 1 : 0;
            EXPECT_EQ(ink.left, c.left + ref.left + shift) << pressed;
            EXPECT_EQ(ink.right, c.left + ref.right + shift) << pressed;
            EXPECT_EQ(ink.top, y + (h - size.cy) / 2 + ref.top + shift) << pressed;
            EXPECT_EQ(ink.count, ref.count) << pressed;
        }
        Send(WM_LBUTTONUP, x + w / 2, y + h / 2);
        b->SetVisible(false); // the next case's button takes its place
    }
}

TEST_F(TableButtonTest, ReleaseOutsideClicksNothing) {
    TableButton* b = table.CreateButton(77, "go", TableButton::kRaised, true, 100, 100, 70, 30);
    b->SetOnClick(CountClick);
    Send(WM_LBUTTONDOWN, 130, 115);
    EXPECT_EQ(GetCapture(), table.GetHandle());
    Send(WM_MOUSEMOVE, 300, 300);
    EXPECT_FALSE(b->IsHot());
    Send(WM_LBUTTONUP, 300, 300);
    EXPECT_EQ(clicks, 0);
    EXPECT_FALSE(b->IsPressed());
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(TableButtonTest, OutAndBackInClicksOnce) {
    TableButton* b = table.CreateButton(77, "go", TableButton::kRaised, true, 100, 100, 70, 30);
    b->SetOnClick(CountClick);
    Send(WM_LBUTTONDOWN, 130, 115);
    Send(WM_MOUSEMOVE, 300, 300);
    Send(WM_MOUSEMOVE, 110, 110);
    EXPECT_TRUE(b->IsHot());
    Send(WM_LBUTTONUP, 110, 110);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(commands, 0); // a callback means no command message
}

TEST_F(TableButtonTest, WithoutCallbackTheParentGetsTheCommand) {
    table.CreateButton(0x10000 + 77, "go", TableButton::kRaised, true, 100, 100, 70, 30);
    Send(WM_LBUTTONDOWN, 130, 115);
    Send(WM_LBUTTONUP, 130, 115);
    EXPECT_EQ(commands, 1); // the low 16 bits of the id
}

TEST_F(TableButtonTest, FlatButtonsNeverPress) {
    TableButton* b = table.CreateButton(77, "flat", 0, true, 100, 100, 70, 30);
    b->SetOnClick(CountClick);
    Send(WM_LBUTTONDOWN, 130, 115);
    EXPECT_EQ(GetCapture(), nullptr);
    Send(WM_LBUTTONUP, 130, 115);
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(commands, 0);
}

TEST_F(TableButtonTest, HiddenButtonLetsThePressThrough) {
    static int presses;
    presses = 0;
    CardStack* s = table.CreateStack(1, true, 100, 100, 0, 0);
    CardList one;
    one.Push(CardEntry{3, 1});
    s->SetCards(one);
    s->SetDragRule(kDragNever, nullptr);
    s->SetOnPress([](CardStack&, int) { ++presses; });
    TableButton* b = table.CreateButton(77, "go", TableButton::kRaised, false, 100, 100, 70, 30);
    b->SetOnClick(CountClick);
    Send(WM_LBUTTONDOWN, 130, 115);
    Send(WM_LBUTTONUP, 130, 115);
    EXPECT_EQ(presses, 1);
    EXPECT_EQ(clicks, 0);
}

TEST_F(TableButtonTest, SetVisibleShowsOnlyAfterRedraw) {
    TableButton* b = table.CreateButton(77, "", TableButton::kRaised, false, 100, 100, 70, 30);
    const COLORREF ground = Pixel(130, 100);
    b->SetVisible(true);
    EXPECT_EQ(Pixel(130, 100), ground);
    table.Redraw();
    EXPECT_NE(Pixel(130, 100), ground);
    b->SetVisible(false);
    table.Redraw();
    EXPECT_EQ(Pixel(130, 100), ground);
}

} // namespace
