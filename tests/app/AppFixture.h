// The program's main window with a game of its own, started by each test
// after it has put the settings key as it wants it; menu, accelerator and
// card helpers; and a hook that acts inside a modal loop.
#pragma once

#include "app/MainWindow.h"
#include "app/Settings.h"
#include "game/Game.h"
#include "resources/resource.h"
#include "support/GameTable.h"
#include "support/OverlayPilot.h"

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <optional>
#include <utility>

inline void DeleteSettingsKey() {
    RegDeleteKeyA(HKEY_CURRENT_USER, kSettingsKey);
}

// Runs an action once, given the modal window, when a modal loop owned by
// `owner` first waits for input: a dialog's loop (and the help viewer's)
// then sends its owner WM_ENTERIDLE. A modal window that the action leaves
// open is closed after 20 seconds, so that a failing test ends.
class WhenIdle {
public:
    WhenIdle(HWND owner, std::function<void(HWND modal)> action)
        : owner_(owner), action_(std::move(action)) {
        current_ = this;
        previous_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(owner, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Proc)));
    }
    ~WhenIdle() {
        if (guard_)
            KillTimer(nullptr, guard_);
        if (IsWindow(owner_))
            SetWindowLongPtrA(owner_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
        current_ = nullptr;
    }
    WhenIdle(const WhenIdle&) = delete;
    WhenIdle& operator=(const WhenIdle&) = delete;
    bool Ran() const { return ran_; }

private:
    static LRESULT CALLBACK Proc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
        WhenIdle* self = current_;
        if (msg == WM_ENTERIDLE && !self->ran_) {
            self->ran_ = true;
            self->modal_ = reinterpret_cast<HWND>(lp);
            self->action_(self->modal_);
            self->guard_ = SetTimer(nullptr, 0, 20000, Guard);
        }
        return CallWindowProcA(self->previous_, wnd, msg, wp, lp);
    }

    static void CALLBACK Guard(HWND, UINT, UINT_PTR, DWORD) {
        ADD_FAILURE() << "the modal window was still open";
        PostMessageA(current_->modal_, WM_CLOSE, 0, 0);
    }

    static inline WhenIdle* current_ = nullptr;
    HWND owner_;
    HWND modal_ = nullptr;
    UINT_PTR guard_ = 0;
    WNDPROC previous_ = nullptr;
    std::function<void(HWND)> action_;
    bool ran_ = false;
};

// Repaints a window and its children at once, so that its pixels can be read.
inline void PaintNow(HWND wnd) {
    RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

class AppFixture : public testing::Test {
protected:
    void SetUp() override { DeleteSettingsKey(); }
    void TearDown() override {
        Stop();
        DeleteSettingsKey();
    }

    // Starts the program's window with a new game, as a new run of the
    // program would; `deal` lets the posted New game run.
    void Start(bool deal = true) {
        Stop();
        pilot_.reset();
        game_.reset();
        game_.emplace();
        pilot_.emplace(table()); // the opening overlay ends as a click would end it
        ASSERT_TRUE(MainWindow::InitInstance(GetModuleHandleA(nullptr), SW_SHOWNORMAL, game()));
        wnd = MainWindow::Handle();
        if (deal)
            PumpMessages();
    }
    // Ends the window; the quit message it posts is taken from the queue.
    void Stop() {
        if (IsWindow(wnd))
            DestroyWindow(wnd);
        PumpMessages();
    }

    Game& game() { return *game_; }
    GameWindow& table() { return game().GetGameWindow(); }
    CardStack& stack(std::uint32_t id) { return *table().FindStack(id); }
    HMENU GameMenu() const { return GetSubMenu(GetMenu(wnd), 0); }

    // The state of a Game menu item as the menu shows it when it opens.
    UINT ItemState(UINT id) {
        SendMessageA(wnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(GameMenu()), MAKELPARAM(0, 0));
        return GetMenuState(GameMenu(), id, MF_BYCOMMAND);
    }
    bool Grey(UINT id) { return (ItemState(id) & MF_GRAYED) != 0; }
    bool Checked(UINT id) { return (ItemState(id) & MF_CHECKED) != 0; }

    // A key pressed on the main window, through the program's accelerators
    // the way its message loop translates them.
    void PressKey(WPARAM key, bool control = false) {
        BYTE keys[256] = {};
        GetKeyboardState(keys);
        keys[VK_CONTROL] = control ? 0x80 : 0;
        SetKeyboardState(keys);
        static HACCEL accel =
            LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDA_MAIN));
        MSG msg{wnd, WM_KEYDOWN, key, 1, 0, {}};
        if (!TranslateAcceleratorA(wnd, accel, &msg))
            DispatchMessageA(&msg);
        keys[VK_CONTROL] = 0;
        SetKeyboardState(keys);
        PumpMessages();
    }

    void Put(std::uint32_t id, std::initializer_list<Card> cards) { PutCards(stack(id), cards); }
    // Drags the top card of one triangle slot of the bottom row onto another.
    void DragCard(std::uint32_t from, std::uint32_t to) {
        const CardStack &s = stack(from), &t = stack(to);
        HWND w = table().GetHandle();
        SendMessageA(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(s.X() + 5, s.Y() + 5));
        SendMessageA(w, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(t.X() + 5, t.Y() + 5));
        SendMessageA(w, WM_LBUTTONUP, 0, MAKELPARAM(t.X() + 5, t.Y() + 5));
    }

    FakeSeams fake;
    std::optional<Game> game_;
    std::optional<OverlayPilot> pilot_;
    HWND wnd = nullptr;
};
