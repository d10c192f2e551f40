// The game's card table: a card window that fills the main window and
// carries the status controls (timer bar, link label, the "level" and
// "cards remaining" labels) and the message overlay's state.
#pragma once

#include "cardtable/core/CardWindow.h"
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
    // 3 Game Over) and returns when it has ended.
    void RunOverlay(int kind);
    int OverlayKind() const { return overlayKind_; }
    // True while an overlay's own message loop runs.
    bool IsOverlayRunning() const { return overlayRunning_; }

private:
    void PaintOverlay(HDC dc);

    Game& game_;
    TimerBar timerBar_;
    LinkLabel linkLabel_;
    InfoLabel levelLabel_;
    InfoLabel cardsRemainingLabel_;
    int overlayKind_ = 0;
    bool overlayRunning_ = false;
};

// The game a stack of the game's table belongs to.
Game& GameOf(const CardStack& stack);
