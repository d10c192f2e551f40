// The link label over a card table: the artwork each table colour gets, the
// colour-keyed picture read back from the screen, the hand cursor and the
// click.
#include "cardtable/CardImagePixels.h"

#include "support/FakeSeams.h"
#include "support/TableOnScreen.h"
#include "widgets/LinkLabel.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

constexpr const char* kAddress = "https://www.darnwick.example/?src=ks";
constexpr COLORREF kPeach = RGB(255, 191, 155), kDarkBlue = RGB(0, 64, 100),
                   kGreyBlue = RGB(198, 212, 230), kBrightBlue = RGB(39, 136, 255);

class LinkLabelTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(ShowTable(table, parent.get(), 700, 500));
        ASSERT_TRUE(label.Create(table.GetHandle(), WS_VISIBLE, 0, 0, 0, 0, kAddress));
    }
    // A size notification waiting for the table, taken from the queue.
    bool TakeSizeNotification() {
        MSG msg;
        return PeekMessageA(&msg, table.GetHandle(), WM_SIZE, WM_SIZE, PM_REMOVE) != 0;
    }
    // Shows the label at (x, y) with its artwork's size over the table.
    CardImagePixels ShowOnTable(COLORREF tableColor, int x, int y) {
        table.SetBackgroundColor(tableColor);
        label.SetColor(tableColor);
        const SIZE art = label.GetArtworkSize();
        label.Place(x, y, art.cx, art.cy);
        RedrawWindow(table.GetHandle(), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        WindowDc dc(table.GetHandle());
        return CardImagePixels(dc.get(), x, y, art.cx, art.cy);
    }

    FakeSeams fake;
    TestWindow parent;
    CardWindow table;
    LinkLabel label;
};

TEST_F(LinkLabelTest, ArtworkFollowsTheTableColourAndTheTableLaysItOut) {
    EXPECT_EQ(label.GetArtworkId(), 0);
    EXPECT_EQ(label.GetArtworkSize().cx, 0);
    struct Case {
        COLORREF color;
        int id, cx, cy;
    };
    const Case cases[] = {{kPeach, 132, 266, 30},
                          {kGreyBlue, 132, 266, 30},
                          {kDarkBlue, 103, 220, 25},
                          {kBrightBlue, 103, 220, 25},
                          {RGB(1, 2, 3), 132, 266, 30}};
    for (const Case& c : cases) {
        label.SetColor(c.color);
        EXPECT_EQ(label.GetArtworkId(), c.id) << std::hex << c.color;
        EXPECT_EQ(label.GetArtworkSize().cx, c.cx);
        EXPECT_EQ(label.GetArtworkSize().cy, c.cy);
        // The label asks its parent for nothing: a posted request could
        // reach a procedure that is not the table's.
        EXPECT_FALSE(TakeSizeNotification()) << std::hex << c.color;
    }
}

TEST_F(LinkLabelTest, ArtworkIsDrawnOverTheTableExceptItsField) {
    const int gdi = LiveGdiHandles();
    // The web address: its field shows the table, its underline the ink.
    CardImagePixels address = ShowOnTable(kPeach, 300, 400);
    ASSERT_TRUE(address.Valid());
    EXPECT_EQ(address.At(0, 0), kPeach);
    EXPECT_EQ(address.At(265, 29), kPeach);
    EXPECT_EQ(address.At(60, 25), RGB(16, 40, 128));
    // The name plate: its light frame, the table inside and around it.
    CardImagePixels plate = ShowOnTable(kDarkBlue, 300, 400);
    EXPECT_EQ(plate.At(0, 0), kDarkBlue);
    EXPECT_EQ(plate.At(100, 1), RGB(255, 246, 220));
    EXPECT_EQ(plate.At(100, 3), kDarkBlue);
    EXPECT_EQ(LiveGdiHandles(), gdi);
}

// The cursor the system made from the label's masks: hot spot and rows
// (AND rows first, then XOR rows, 4 bytes each).
TEST_F(LinkLabelTest, HandCursorOverTheLabelWithTheFingertipAsHotSpot) {
    HWND wnd = label.Handle();
    EXPECT_EQ(label.HandCursor(), nullptr); // made on first use
    EXPECT_TRUE(SendMessageA(wnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(wnd),
                             MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    ASSERT_NE(label.HandCursor(), nullptr);
    EXPECT_EQ(GetCursor(), label.HandCursor());

    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(label.HandCursor(), &info));
    UniqueBitmap mask(info.hbmMask), color(info.hbmColor);
    EXPECT_FALSE(info.fIcon);
    EXPECT_EQ(info.xHotspot, 5u);
    EXPECT_EQ(info.yHotspot, 2u);
    BYTE bits[256] = {};
    ASSERT_EQ(GetBitmapBits(mask.get(), sizeof bits, bits), 256);
    const BYTE and1[] = {0xF9, 0xFF, 0xFF, 0xFF}, and7[] = {0xF0, 0x00, 0x7F, 0xFF};
    const BYTE xor1[] = {0, 0, 0, 0}, xor7[] = {0x06, 0xDB, 0x00, 0x00};
    EXPECT_EQ(std::memcmp(bits + 4, and1, 4), 0);
    EXPECT_EQ(std::memcmp(bits + 28, and7, 4), 0);
    EXPECT_EQ(std::memcmp(bits + 128 + 4, xor1, 4), 0);
    EXPECT_EQ(std::memcmp(bits + 128 + 28, xor7, 4), 0);
    for (int row = 19; row < 32; ++row) // transparent below the hand
        EXPECT_EQ(bits[row * 4] & bits[row * 4 + 3], 0xFF) << row;
}

TEST_F(LinkLabelTest, EveryClickOpensTheAddressAndAFailingShellChangesNothing) {
    EXPECT_STREQ(label.GetAddress(), kAddress);
    HWND wnd = label.Handle();
    SendMessageA(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    SendMessageA(wnd, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    SendMessageA(wnd, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(3, 3));
    ASSERT_EQ(fake.opened.size(), 2u);
    EXPECT_EQ(fake.opened[1], kAddress);

    // Without an address (none given, or one too long to keep) a click only repaints.
    LinkLabel blank, tooLong;
    ASSERT_TRUE(blank.Create(table.GetHandle(), WS_VISIBLE, 0, 0, 10, 10, nullptr));
    const std::string longAddress = "https://" + std::string(260, 'a');
    ASSERT_TRUE(tooLong.Create(table.GetHandle(), WS_VISIBLE, 0, 0, 10, 10, longAddress.c_str()));
    EXPECT_STREQ(tooLong.GetAddress(), "");
    SendMessageA(blank.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    SendMessageA(tooLong.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    EXPECT_EQ(fake.opened.size(), 2u);

    // A shell that cannot open it: no message, and the label stays.
    seams::Hooks failing = seams::Platform();
    failing.shellOpen = [](HWND, const char*) { return reinterpret_cast<HINSTANCE>(2); };
    failing.messageBox = [](HWND, const char*, const char*, UINT) -> int {
        ADD_FAILURE() << "a message was shown";
        return IDOK;
    };
    seams::Install(failing);
    SendMessageA(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    EXPECT_TRUE(IsWindow(wnd));
}

} // namespace
