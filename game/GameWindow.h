// The game's card table: a card window that fills the main window and
// carries the status controls (timer bar, link label, the "level" and
// "cards remaining" labels) and the message overlay's state.
#pragma once

#include "cardtable/core/CardWindow.h"
#include "cardtable/core/GdiHandle.h"
#include "widgets/InfoLabel.h"
#include "widgets/LinkLabel.h"
#include "widgets/TimerBar.h"

class Game;

class GameWindow : public CardWindow {
public:
    explicit GameWindow(Game& game);
    ~GameWindow() override;

    int Create(HWND parent, DWORD exStyle, DWORD style, int x, int y, int w, int h,
               ExpiredFn onExpired);
    using CardWindow::Create;

    void SetBackgroundColor(COLORREF color) override;
    void Redraw() override;
    void PressAt(HWND wnd, int x, int y, int a, int b) override;
    void Resize(int width, int height) override;
    void Paint(HDC dc) override;

    Game& GetGame() const { return game_; }
    TimerBar& GetTimerBar() { return timerBar_; }
    const InfoLabel& LevelLabel() const { return levelLabel_; }
    const InfoLabel& CardsRemainingLabel() const { return cardsRemainingLabel_; }
    const LinkLabel& GetLinkLabel() const { return linkLabel_; }
    void SetLevel(int level) { levelLabel_.SetValue(level); }
    int GetLevel() const { return levelLabel_.GetValue(); }
    void SetCardsRemaining(int n) { cardsRemainingLabel_.SetValue(n); }
    int GetCardsRemaining() const { return cardsRemainingLabel_.GetValue(); }

    // Shows the message overlay of a kind (1 new game, 2 level done,
    // 3 Game Over) and returns when it has ended: true when the player (or,
    // for Game Over, the pause) ended it, false when the program is quitting
    // or the window went, and the caller must not go on drawing.
    bool RunOverlay(int kind);
    // True while RunOverlay's message loop runs.
    bool IsOverlayRunning() const { return overlayRunning_; }
    // The kind of the last overlay (0 before the first); 3 after a Game
    // Over until the next overlay.
    int OverlayKind() const { return overlayKind_; }
    // 0 while the transition runs, 1 afterwards.
    int OverlayPhase() const { return overlayPhase_; }
    // Paints the overlay of the current kind and phase.
    void PaintOverlay(HDC dc);

    static constexpr UINT kOverlayEnd = WM_USER;

private:
    enum class LoopEnd { Ended, Quit, WindowGone };
    void BeginOverlay(int kind);
    LoopEnd RunOverlayLoop(MSG& quitMessage);
    bool DropStrayEndMessages(MSG& quitMessage);
    bool GiveKeyToDialog(MSG& msg) const;
    static LRESULT CALLBACK OverlayProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT OverlayMessage(UINT msg, WPARAM wp, LPARAM lp);
    void OverlayTick();
    void TransitionTick(HDC dc);
    void BlinkTick();
    void EndOverlay();
    void FreezeTable();
    void ShowStatusControls(bool show);
    void PlaceLinkLabel();

    Game& game_;
    TimerBar timerBar_;
    LinkLabel linkLabel_;
    InfoLabel levelLabel_;
    InfoLabel cardsRemainingLabel_;
    int overlayKind_ = 0;
    int overlayPhase_ = 0;
    int curtainOffset_ = 0;
    int wipePos_ = 0;
    bool overlayRunning_ = false;
    bool overlayEnding_ = false; // the end message is posted
    bool overlayDone_ = false;   // the end message has arrived
    WNDPROC tableProc_ = nullptr;
    // The frozen table: the image is kept from one overlay to the next; the
    // surface it is selected into lives only while an overlay runs (the
    // guard, declared last, selects it out before the DC goes).
    UniqueBitmap overlaySnapshot_;
    SIZE snapshotSize_{};
    UniqueDc snapshotDc_;
    SelectGuard snapshotSelection_;
};

// The game a stack of the game's table belongs to.
Game& GameOf(const CardStack& stack);
