// The game's state and table: the stacks it deals into, the sounds, the undo
// record and the difficulty. One Game lives for the whole program (TheGame);
// tests make their own.
#pragma once

#include "game/GameWindow.h"

#include <cstdint>

// Stack and button ids of the table.
constexpr std::uint32_t kFirstSlot = 1;
constexpr std::uint32_t kLastSlot = 28;
constexpr std::uint32_t kFirstSide = 29;
constexpr std::uint32_t kLastSide = 34;
constexpr std::uint32_t kRemovedPile = 35;
constexpr std::uint32_t kNextLevelButton = 36;

// The difficulty is stored as the menu command id of the mode.
constexpr int kEasy = 40005;
constexpr int kNormal = 40006;

// WAVE resources.
constexpr int kRefusalSound = 115;
constexpr int kPairSound = 116;
constexpr int kLevelSound = 119;

class Game {
public:
    Game();
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    // Creates the game window as a child of `parent` and lays out the table:
    // 1 on success, 0 when the window cannot be created.
    int CreateTable(HWND parent);
    // Deals a new game at level 1 (after asking, while a level runs), or the
    // next level.
    int StartLevel(bool nextLevel);

    GameWindow& GetGameWindow() { return window_; }
    void SetDifficulty(int commandId) { difficulty_ = commandId; }
    int GetDifficulty() const { return difficulty_; }
    int IsReady() const { return ready_; }

    // The loaded image of a WAVE resource, or null.
    const void* Sound(int id) const;

    // --- rules of play (the stack callbacks hand over to these) ---
    // The triangle row 1..7 of a slot id; every id of 22 or more is row 7.
    static int RowOf(std::uint32_t slot);
    // Both slots of the row below that overlap the slot are empty, counting
    // a card lifted by a drag under way as still there.
    bool IsUncovered(std::uint32_t slot) const;
    bool SlotCanDrag(CardStack& stack);
    bool SlotCanDrop(CardStack& target, const CardList& dragged);
    bool SideCanDrop(CardStack& target, const CardList& dragged);
    void SlotOnTaken(CardStack& source);
    void SideOnTaken(CardStack& source);
    void SlotOnDropped(CardStack& target);
    void SideOnDropped(CardStack& target);
    // Moves the stack's top two cards to the removed-cards pile; true when
    // that ended the level (all 48 cards removed, the next level dealt).
    bool RemovePair(CardStack& stack);
    // The Easy-mode placeholder rule for an emptied side stack.
    void HideEmptySideStack(CardStack& stack);
    // Where the keyboard's focus frame first shows: the leftmost card of the
    // bottom row, else the first side stack with a card, else null.
    CardStack* FirstFrameStack() const;
    int RemovedCount() const { return removedPile_ ? removedPile_->Count() : 0; }

    // --- levels and the time limit ---
    int TargetForLevel() const;
    void EndLevel(bool success);
    void OnTimeOut();
    void OnNextLevelClicked();

    // --- undo ---
    int CanUndo() const { return undoTarget_ != 0 ? 1 : 0; }
    void ClearUndo() { undoTarget_ = 0; }
    void Undo();
    int UndoTarget() const { return undoTarget_; }
    int UndoSource() const { return undoSource_; }
    int UndoPlainMove() const { return undoPlainMove_; }

private:
    void PlayYielding(int sound) const;
    void PlayInterrupting(int sound) const;
    void CreateSideStacks();
    void CreateTriangle();
    void DealDeck();
    // Button 36, shown from the moment the level's target is reached.
    void ShowNextLevelButton(bool shown);

    GameWindow window_;
    CardStack* sideStacks_[6]{};
    CardStack* triangle_[7][8]{};
    CardStack* removedPile_ = nullptr;
    const void* refusalSound_ = nullptr;
    const void* pairSound_ = nullptr;
    const void* levelSound_ = nullptr;
    int ready_ = 0;
    int undoTarget_ = 0;
    int undoSource_ = 0;
    int undoPlainMove_ = 0;
    int difficulty_ = kNormal;
};

// The program's one game.
Game& TheGame();

// Locates a WAVE resource of the program's own file and returns its bytes,
// valid for the life of the process; null when it cannot be had.
const void* LoadWave(int resourceId);

// The level's target: min(2 * level + 14, 48).
int TargetForLevelNumber(int level);
// The level's time limit in seconds.
int TimeLimitForLevel(int level);
