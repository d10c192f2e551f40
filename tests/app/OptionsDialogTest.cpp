// The Options dialog on screen: its layout, the frame of the selected
// swatch read back from the screen, and how each way of ending it answers.
#include "app/AppFixture.h"
#include "app/OptionsDialog.h"

#include <string>

namespace {

constexpr COLORREF kPeach = RGB(255, 191, 155), kGreyBlue = RGB(198, 212, 230),
                   kBrightBlue = RGB(39, 136, 255);

std::string TextOf(HWND wnd) {
    char text[64] = {};
    GetWindowTextA(wnd, text, sizeof text);
    return text;
}

RECT ItemRect(HWND list, int index) {
    RECT r{};
    SendMessageA(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r));
    return r;
}

POINT SwatchCentre(HWND list, int index) {
    const RECT r = ItemRect(list, index);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

void ClickSwatch(HWND dialog, int index) {
    HWND list = GetDlgItem(dialog, IDC_SWATCHES);
    const POINT p = SwatchCentre(list, index);
    SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
    SendMessageA(list, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
}

// A double-click of the real mouse, which the dialog handles once it has
// come through the system's input queue.
void DoubleClickSwatch(HWND dialog, int index) {
    HWND list = GetDlgItem(dialog, IDC_SWATCHES);
    POINT p = SwatchCentre(list, index);
    ClientToScreen(list, &p);
    SetCursorPos(p.x, p.y);
    for (DWORD flags :
         {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP}) {
        INPUT in{};
        in.type = INPUT_MOUSE;
        in.mi.dwFlags = flags;
        SendInput(1, &in, sizeof in);
    }
}

class OptionsDialogTest : public testing::Test {
protected:
    // Runs the dialog over the test window, acting on it once it waits.
    INT_PTR Run(const std::function<void(HWND)>& action) {
        WhenIdle idle(owner.get(), action);
        const INT_PTR result = dialog.Run(owner.get());
        EXPECT_TRUE(idle.Ran());
        return result;
    }

    TestWindow owner;
    OptionsDialog dialog;
};

TEST_F(OptionsDialogTest, CentredWithTheCurrentColourFramed) {
    dialog.SelectByColor(RGB(1, 2, 3)); // not one of the four
    EXPECT_EQ(dialog.GetSelected(), 0u);
    dialog.SelectByColor(kGreyBlue);
    EXPECT_EQ(dialog.GetSelected(), 2u);
    const INT_PTR result = Run([&](HWND dlg) {
        EXPECT_EQ(TextOf(dlg), "Options");
        RECT r{};
        GetWindowRect(dlg, &r);
        EXPECT_NEAR((r.left + r.right) / 2, 512, 1);
        EXPECT_NEAR((r.top + r.bottom) / 2, 384, 1);
        EXPECT_EQ(TextOf(GetDlgItem(dlg, IDOK)), "OK");
        EXPECT_EQ(TextOf(GetDlgItem(dlg, IDCANCEL)), "Cancel");
        EXPECT_TRUE(FindWindowExA(dlg, nullptr, "Static", "Select background color:"));

        HWND list = GetDlgItem(dlg, IDC_SWATCHES);
        // (The list draws its border itself and drops WS_BORDER from its style.)
        const LONG style = GetWindowLongA(list, GWL_STYLE);
        const LONG wanted = LBS_OWNERDRAWFIXED | LBS_MULTICOLUMN | LBS_NOINTEGRALHEIGHT |
                            LBS_DISABLENOSCROLL | LBS_NOTIFY | WS_TABSTOP;
        EXPECT_EQ(style & wanted, wanted);
        RECT lr{};
        GetWindowRect(list, &lr);
        PaintNow(dlg);
        WindowDc dc(list);
        for (int i = 0; i < 4; ++i) {
            const RECT item = ItemRect(list, i);
            // One row of four, each as high as the list less 8 pixels.
            EXPECT_EQ(item.bottom - item.top, lr.bottom - lr.top - 8);
            EXPECT_EQ(item.top, 0);
            EXPECT_EQ(item.left, i * ((lr.right - lr.left - 6) / 4));
            const COLORREF frame = GetSysColor(i == 2 ? COLOR_HIGHLIGHT : COLOR_WINDOW);
            // The frame's inner three pixel rings (the outer one carries the focus).
            for (int d = 1; d < 4; ++d) {
                EXPECT_EQ(GetPixel(dc.get(), item.left + d, item.top + 20), frame) << i;
                EXPECT_EQ(GetPixel(dc.get(), item.right - 1 - d, item.bottom - 5), frame) << i;
            }
            EXPECT_EQ(GetPixel(dc.get(), item.left + 4, item.top + 4), dialog.ColorAt(i)) << i;
            EXPECT_EQ(GetPixel(dc.get(), item.right - 5, item.bottom - 5), dialog.ColorAt(i));
        }
        ClickSwatch(dlg, 3); // chosen, then closed from the title bar
        PostMessageA(dlg, WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(dialog.GetSelectedColor(), kGreyBlue);
}

TEST_F(OptionsDialogTest, EachEndAnswersAsItShould) {
    EXPECT_EQ(Run([](HWND dlg) {
                  ClickSwatch(dlg, 1);
                  SendMessageA(GetDlgItem(dlg, IDCANCEL), BM_CLICK, 0, 0);
              }),
              2);
    EXPECT_EQ(dialog.GetSelectedColor(), kPeach);
    EXPECT_EQ(Run([](HWND dlg) { DoubleClickSwatch(dlg, 3); }), 1);
    EXPECT_EQ(dialog.GetSelectedColor(), kBrightBlue);
    EXPECT_EQ(Run([](HWND dlg) {
                  ClickSwatch(dlg, 2);
                  SendMessageA(GetDlgItem(dlg, IDOK), BM_CLICK, 0, 0);
              }),
              1);
    EXPECT_EQ(dialog.GetSelectedColor(), kGreyBlue);
}

} // namespace
