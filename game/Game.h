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

    // The stacks the game deals into.
    CardStack* SideStack(int i) const { return sideStacks_[i]; }
    CardStack* Slot(int row, int k) const { return triangle_[row][k]; }
    CardStack* RemovedPile() const { return removedPile_; }
    // The loaded image of a WAVE resource, or null.
    const void* Sound(int id) const;

    // Undo record, written by the drop callbacks.
    int UndoTarget() const { return undoTarget_; }
    int UndoSource() const { return undoSource_; }
    int UndoPlainMove() const { return undoPlainMove_; }
    void ClearUndo() { undoTarget_ = 0; }

private:
    void CreateSideStacks();
    void CreateTriangle();
    void DealDeck();

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
