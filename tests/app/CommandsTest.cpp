// The Game menu as it opens (enabling and check marks), the accelerators
// under the same enabling, and the commands that open the Options dialog
// and the help.
#include "app/HelpViewer.h"
#include "app/AppFixture.h"

namespace {

using Commands = AppFixture;

constexpr COLORREF kDarkBlue = RGB(0, 64, 100), kBrightBlue = RGB(39, 136, 255);

TEST_F(Commands, MenuItemsFollowTheGame) {
    Start(false);
    EXPECT_TRUE(Grey(IDC_NEW_GAME)); // nothing dealt yet
    bool newGameGrey = false, undoGrey = false;
    auto readItems = [&](GameWindow& w) {
        newGameGrey = Grey(IDC_NEW_GAME);
        undoGrey = Grey(IDC_UNDO);
        OverlayPilot::Dismiss(w);
    };
    pilot_->Next(readItems);
    PumpMessages();
    EXPECT_TRUE(newGameGrey); // while the opening overlay is up
    EXPECT_FALSE(Grey(IDC_NEW_GAME));
    EXPECT_TRUE(Grey(IDC_UNDO));
    EXPECT_TRUE(Checked(IDC_NORMAL));
    EXPECT_FALSE(Checked(IDC_EASY));

    Put(22, {CardOf(4)});
    Put(23, {CardOf(9)});
    DragCard(22, 23);
    EXPECT_FALSE(Grey(IDC_UNDO));

    SendMessageA(wnd, WM_COMMAND, IDC_EASY, 0);
    EXPECT_EQ(game().GetDifficulty(), IDC_EASY);
    EXPECT_TRUE(Checked(IDC_EASY));
    EXPECT_FALSE(Checked(IDC_NORMAL));
    SendMessageA(wnd, WM_COMMAND, IDC_NORMAL, 0);
    EXPECT_TRUE(Checked(IDC_NORMAL));
    EXPECT_FALSE(Checked(IDC_EASY));
    game().SetDifficulty(12345); // as a stored value can be: neither mode
    EXPECT_FALSE(Checked(IDC_NORMAL));
    EXPECT_FALSE(Checked(IDC_EASY));

    // After Game Over the recorded move stays, but cannot be taken back;
    // during its overlay New game stays open (it is refused until the end).
    pilot_->Next(readItems);
    game().EndLevel(false);
    EXPECT_FALSE(newGameGrey);
    EXPECT_TRUE(undoGrey);
    EXPECT_EQ(game().CanUndo(), 1);
    EXPECT_TRUE(Grey(IDC_UNDO));
    EXPECT_FALSE(Grey(IDC_NEW_GAME));
    PressKey('Z', true);
    EXPECT_EQ(game().CanUndo(), 1);
}

TEST_F(Commands, CtrlZTakesBackThePairOnceAndF2AsksFirst) {
    Start();
    Put(22, {CardOf(4)});
    Put(23, {CardOf(9)});
    const TableState before = TableState::Of(game());
    DragCard(22, 23);
    ASSERT_EQ(stack(35).Count(), 2);
    PressKey('Z'); // without Ctrl: no command
    EXPECT_EQ(stack(35).Count(), 2);

    fake.sounds.clear();
    PressKey('Z', true);
    EXPECT_TRUE(TableState::Of(game()) == before);
    EXPECT_EQ(stack(22).GetCards().At(0).card, CardOf(4));
    EXPECT_EQ(stack(23).GetCards().At(0).card, CardOf(9));
    EXPECT_EQ(fake.sounds.size(), 1u);
    PressKey('Z', true);
    EXPECT_TRUE(TableState::Of(game()) == before);
    EXPECT_EQ(fake.sounds.size(), 1u);

    fake.boxAnswer = IDNO;
    PressKey(VK_F2);
    ASSERT_EQ(fake.boxTexts.size(), 1u);
    EXPECT_EQ(fake.boxTexts[0], "Do you want to abort the current game?");
    EXPECT_TRUE(TableState::Of(game()) == before);
    EXPECT_EQ(table().GetLevel(), 1);
}

TEST_F(Commands, ChangeBackgroundColorAppliesOnlyAConfirmedSwatch) {
    Start();
    HWND label = table().GetLinkLabel().Handle();
    auto labelRect = [&] {
        RECT r{};
        GetWindowRect(label, &r);
        MapWindowPoints(nullptr, table().GetHandle(), reinterpret_cast<POINT*>(&r), 2);
        return r;
    };
    // Double-clicks swatch `index` of the dialog's list, or cancels it.
    auto choose = [&](int index) {
        WhenIdle idle(wnd, [index](HWND dialog) {
            HWND list = GetDlgItem(dialog, IDC_SWATCHES);
            if (index < 0) {
                SendMessageA(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
                return;
            }
            RECT item{};
            SendMessageA(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item));
            const LPARAM at = MAKELPARAM((item.left + item.right) / 2, item.top + 10);
            for (UINT msg : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP})
                SendMessageA(list, msg, msg == WM_LBUTTONUP ? 0 : MK_LBUTTON, at);
        });
        SendMessageA(wnd, WM_COMMAND, IDC_BACKGROUND, 0);
        EXPECT_TRUE(idle.Ran());
        PumpMessages();
    };
    const RECT peachPlace = labelRect();
    choose(-1);
    EXPECT_EQ(table().GetBackgroundColor(), kDefaultBackground);

    // The corner of each info label's caption band, as the screen shows it.
    auto bandCorner = [](const InfoLabel& l) {
        WindowDc dc(l.Handle());
        return GetPixel(dc.get(), 0, 0);
    };
    EXPECT_EQ(bandCorner(table().LevelLabel()), kDefaultBackground);

    choose(1);
    EXPECT_EQ(table().GetBackgroundColor(), kDarkBlue);
    EXPECT_EQ(table().GetLinkLabel().GetColor(), kDarkBlue);
    // One repaint recolours the labels as well as the table.
    EXPECT_EQ(bandCorner(table().LevelLabel()), kDarkBlue);
    EXPECT_EQ(bandCorner(table().CardsRemainingLabel()), kDarkBlue);
    const RECT plate = labelRect();
    const int w = table().ClientWidth(), h = table().ClientHeight();
    EXPECT_EQ(plate.left, w - 220 - 25);
    EXPECT_EQ(plate.top, h - 46);
    EXPECT_EQ(plate.right - plate.left, 220);
    EXPECT_EQ(plate.bottom - plate.top, 25);

    choose(3); // the same artwork: the label stays
    EXPECT_EQ(table().GetBackgroundColor(), kBrightBlue);
    const RECT stayed = labelRect();
    EXPECT_TRUE(EqualRect(&plate, &stayed));
    choose(0);
    const RECT back = labelRect();
    EXPECT_TRUE(EqualRect(&peachPlace, &back));
    EXPECT_EQ(peachPlace.left, w - 266 - 25);
}

// Without an HTML dialog (as here) the help shows in the program's viewer,
// modal over the main window.
TEST_F(Commands, ContentsShowsTheHelpModally) {
    Start();
    bool ownerDisabled = false;
    char cls[32] = {}, title[64] = {};
    WhenIdle idle(wnd, [&](HWND viewer) {
        ownerDisabled = !IsWindowEnabled(wnd);
        GetClassNameA(viewer, cls, sizeof cls);
        GetWindowTextA(viewer, title, sizeof title);
        PostMessageA(viewer, WM_CLOSE, 0, 0);
    });
    SendMessageA(wnd, WM_COMMAND, IDC_CONTENTS, 0);
    EXPECT_TRUE(idle.Ran());
    EXPECT_TRUE(ownerDisabled);
    EXPECT_STREQ(cls, HelpViewer::kClassName);
    EXPECT_STREQ(title, "Keltrim Solitaire");
    EXPECT_TRUE(IsWindowEnabled(wnd));
    EXPECT_EQ(FindWindowA(HelpViewer::kClassName, nullptr), nullptr);
}

} // namespace
