// Closing the program while a message overlay runs: the window goes, the
// overlay's loop ends on the quit and nothing is dealt or drawn afterwards.
#include "app/MainWindow.h"
#include "game/Game.h"
#include "resources/resource.h"
#include "support/FakeSeams.h"
#include "support/OverlayPilot.h"

#include <gtest/gtest.h>

namespace {

class OverlayClose : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(MainWindow::InitInstance(GetModuleHandleA(nullptr), SW_SHOWNORMAL, game));
        wnd = MainWindow::Handle();
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg); // the posted New game deals the first level
        ASSERT_NE(game.GetGameWindow().GetTimerBar().GetSecondsLeft(), 0u);
    }
    void TearDown() override {
        if (IsWindow(wnd))
            DestroyWindow(wnd);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
    }
    // Runs a command as the menu gives it, with a script for the overlay it
    // brings up; answers whether a quit message with code 0 was waiting.
    bool CloseDuringOverlayOf(int command, UINT closing) {
        pilot.Next([this, closing](GameWindow& w) {
            OverlayPilot::Tick(w);
            if (closing == WM_CLOSE)
                SendMessageA(wnd, WM_CLOSE, 0, 0);
            else
                SendMessageA(wnd, WM_COMMAND, IDC_EXIT, 0); // posts the close
        });
        fake.pauses = 0;
        SendMessageA(wnd, WM_COMMAND, command, 0);
        MSG msg{};
        bool quit = false;
        for (int i = 0; i < 50 && !quit; ++i) {
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                if (msg.message == WM_QUIT) {
                    quit = msg.wParam == 0;
                    break;
                }
                DispatchMessageA(&msg);
            }
        }
        return quit;
    }

    FakeSeams fake;
    Game game;
    OverlayPilot pilot{game.GetGameWindow()};
    HWND wnd = nullptr;
};

TEST_F(OverlayClose, ClosingDuringTheOpeningEndsAtOnceAndDealsNothing) {
    EXPECT_TRUE(CloseDuringOverlayOf(IDC_NEW_GAME, WM_CLOSE));
    EXPECT_FALSE(IsWindow(wnd));
    EXPECT_EQ(game.GetGameWindow().GetHandle(), nullptr);
    EXPECT_FALSE(game.GetGameWindow().IsOverlayRunning());
    EXPECT_EQ(fake.pauses, 0); // no deal, no glide
    EXPECT_EQ(game.GetGameWindow().FindStack(kRemovedPile)->Count(), 0);
}

TEST_F(OverlayClose, ExitFromTheMenuDuringAnOverlayEndsAtOnce) {
    EXPECT_TRUE(CloseDuringOverlayOf(IDC_NEW_GAME, WM_COMMAND));
    EXPECT_FALSE(IsWindow(wnd));
    EXPECT_EQ(fake.pauses, 0);
}

// The Options dialog is up when the level ends: the overlay's loop runs over
// the dialog's own, and Escape must still reach the dialog and close it.
Game* levelEnding = nullptr;
bool closedByKey = false;

// A timer procedure (stdcall on 32-bit x86, which a lambda is not): ends the
// level while the dialog is up, then sees whether the key closed the dialog.
void CALLBACK EndLevelUnderDialog(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    HWND dialog = GetActiveWindow();
    levelEnding->OnTimeOut(); // below the target: Game Over, over the dialog
    closedByKey = !IsWindowVisible(dialog);
    if (!closedByKey)
        EndDialog(dialog, IDCANCEL);
}

TEST_F(OverlayClose, ADialogUpWhenTheLevelEndsKeepsItsKeys) {
    levelEnding = &game;
    closedByKey = false;
    pilot.Next([](GameWindow&) {
        PostMessageA(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 1); // as the keyboard would
    });
    SetTimer(nullptr, 0, 10, EndLevelUnderDialog);
    SendMessageA(wnd, WM_COMMAND, IDC_BACKGROUND, 0);
    EXPECT_TRUE(closedByKey);
    EXPECT_EQ(pilot.kinds.back(), 3);
}

} // namespace
