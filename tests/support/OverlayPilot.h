// Drives the message overlays of a game window from inside their own
// message loop, through the window's real messages: a message hook sees the
// overlay's loop fetch a message and runs a script there. The default
// script plays the transition tick by tick and then clicks (or, after Game
// Over, lets the pause's tick end it), so that dealing needs no wall-clock
// time. The real overlay timer still runs; a script that runs at once, in
// one go, is not disturbed by it.
#pragma once

#include "game/GameWindow.h"

#include <functional>
#include <vector>

class OverlayPilot {
public:
    using Script = std::function<void(GameWindow&)>;

    explicit OverlayPilot(GameWindow& window) : window_(window) {
        previous_ = current_;
        current_ = this;
        if (!hook_)
            hook_ = SetWindowsHookExA(WH_GETMESSAGE, Hook, nullptr, GetCurrentThreadId());
    }
    ~OverlayPilot() {
        current_ = previous_;
        if (!current_ && hook_) {
            UnhookWindowsHookEx(hook_);
            hook_ = nullptr;
        }
    }
    OverlayPilot(const OverlayPilot&) = delete;
    OverlayPilot& operator=(const OverlayPilot&) = delete;

    // The script for the next overlay only; later ones are dismissed.
    void Next(Script script) { next_ = std::move(script); }

    // One tick of the overlay's timer, as the window gets it.
    static void Tick(GameWindow& w) { SendMessageA(w.GetHandle(), WM_TIMER, 0, 0); }
    static void Click(GameWindow& w, int x = 300, int y = 300) {
        SendMessageA(w.GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        SendMessageA(w.GetHandle(), WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    }
    // Ticks until the transition is over; answers how many it took.
    static int RunTransition(GameWindow& w) {
        int ticks = 0;
        while (w.IsOverlayRunning() && w.OverlayPhase() == 0 && ticks < 10000) {
            Tick(w);
            ++ticks;
        }
        return ticks;
    }
    static void Dismiss(GameWindow& w) {
        RunTransition(w);
        if (w.OverlayKind() == 3)
            Tick(w);
        else
            Click(w);
    }

    // The kinds of the overlays run so far.
    std::vector<int> kinds;
    // Overlays without a script of their own are dismissed; when this is
    // off they go on with the real timer once a script has played their
    // transition (the real timer never plays it).
    bool autoDismiss = true;

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wp, LPARAM lp) {
        OverlayPilot* self = current_;
        if (code == HC_ACTION && self && !self->busy_ && self->window_.IsOverlayRunning()) {
            // The transition belongs to the scripts: a tick of the real
            // timer that arrives meanwhile is taken out of the message.
            auto* msg = reinterpret_cast<MSG*>(lp);
            if (msg->message == WM_TIMER && msg->hwnd == self->window_.GetHandle() &&
                self->window_.OverlayPhase() == 0)
                msg->message = WM_NULL;
            self->Drive();
        }
        return CallNextHookEx(hook_, code, wp, lp);
    }
    // Runs at every message the overlay's loop fetches; once an overlay has
    // been ended, dismissing it again does nothing.
    void Drive() {
        busy_ = true;
        if (window_.OverlayPhase() == 0 && !started_) {
            started_ = true; // a new overlay: each starts in its transition
            kinds.push_back(window_.OverlayKind());
        }
        Script script = next_ ? std::move(next_) : Script(autoDismiss ? Dismiss : nullptr);
        next_ = nullptr;
        if (script)
            script(window_);
        if (!window_.GetHandle() || window_.OverlayPhase() != 0)
            started_ = false; // the next one in its transition is a new one
        busy_ = false;
    }

    GameWindow& window_;
    Script next_;
    bool busy_ = false;
    bool started_ = false;
    OverlayPilot* previous_ = nullptr;
    static inline OverlayPilot* current_ = nullptr;
    static inline HHOOK hook_ = nullptr;
};
