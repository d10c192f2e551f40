// The main window's menu: what each command does, and which items of the
// "Game" popup are enabled or checked before it opens. The accelerators go
// through the same enabling, since their translation asks the popup first.
#pragma once

#include <windows.h>

class Game;

// Carries out a menu command of the main window `main`.
void RunCommand(HWND main, Game& game, int id);

// Enables and checks the items of a popup about to open; only the first
// popup ("Game") changes.
void PrepareMenuPopup(HMENU popup, int index, Game& game);

// "New game" is enabled unless a level is being opened.
bool CanStartNewGame(Game& game);
// "Undo last move" is enabled when there is a move to take back and the
// game goes on (no overlay running, no Game Over).
bool CanUndoNow(Game& game);
