#include "app/Commands.h"

#include "app/Help.h"
#include "app/OptionsDialog.h"
#include "game/Game.h"
#include "resources/resource.h"

namespace {

constexpr int kGameOverOverlay = 3;

void ChangeBackgroundColor(HWND main, Game& game) {
    GameWindow& table = game.GetGameWindow();
    OptionsDialog dialog;
    dialog.SelectByColor(table.GetBackgroundColor());
    if (dialog.Run(main) == IDOK)
        table.SetBackgroundColor(dialog.GetSelectedColor());
}

void Enable(HMENU menu, UINT id, bool enabled) {
    EnableMenuItem(menu, id, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

void Check(HMENU menu, UINT id, bool checked) {
    CheckMenuItem(menu, id, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

} // namespace

bool CanStartNewGame(Game& game) {
    const GameWindow& table = game.GetGameWindow();
    const bool opening = table.IsOverlayRunning() && table.OverlayKind() != kGameOverOverlay;
    return game.IsReady() && !opening;
}

bool CanUndoNow(Game& game) {
    const GameWindow& table = game.GetGameWindow();
    return game.CanUndo() && !table.IsOverlayRunning() && table.OverlayKind() != kGameOverOverlay;
}

void RunCommand(HWND main, Game& game, int id) {
    switch (id) {
    case IDC_NEW_GAME:
        game.StartLevel(false);
        break;
    case IDC_EXIT:
        PostMessageA(main, WM_CLOSE, 0, 0);
        break;
    case IDC_UNDO:
        game.Undo();
        break;
    case IDC_BACKGROUND:
        ChangeBackgroundColor(main, game);
        break;
    case IDC_EASY:
    case IDC_NORMAL:
        game.SetDifficulty(id);
        break;
    case IDC_CONTENTS:
        OpenHelp(main, IDR_HELP_PAGE);
        break;
    default:
        break;
    }
}

void PrepareMenuPopup(HMENU popup, int index, Game& game) {
    if (index != 0 || !popup)
        return;
    Enable(popup, IDC_UNDO, CanUndoNow(game));
    Enable(popup, IDC_NEW_GAME, CanStartNewGame(game));
    // A stored mode that is neither leaves both items unchecked.
    const int mode = game.GetDifficulty();
    Check(popup, IDC_EASY, mode == IDC_EASY);
    Check(popup, IDC_NORMAL, mode == IDC_NORMAL);
}
