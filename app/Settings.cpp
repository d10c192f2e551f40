#include "app/Settings.h"

#include "game/Game.h"

namespace {

// A value counts only as a REG_DWORD of exactly 4 bytes.
bool ReadDword(HKEY key, const char* name, DWORD* out) {
    DWORD type = 0, value = 0, size = sizeof value;
    if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
        ERROR_SUCCESS)
        return false;
    if (type != REG_DWORD || size != sizeof value)
        return false;
    *out = value;
    return true;
}

bool WriteDword(HKEY key, const char* name, DWORD value) {
    return RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                          sizeof value) == ERROR_SUCCESS;
}

HKEY OpenKey(const SettingsPlace& place, REGSAM access) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(place.root, place.path, 0, nullptr, REG_OPTION_NON_VOLATILE, access,
                        nullptr, &key, nullptr) != ERROR_SUCCESS)
        return nullptr;
    return key;
}

} // namespace

void ReadSettings(Game& game, const SettingsPlace& place) {
    DWORD color = kDefaultBackground;
    if (HKEY key = OpenKey(place, KEY_READ)) {
        DWORD stored = 0;
        if (ReadDword(key, "bgcolor", &stored))
            color = stored;
        if (ReadDword(key, "difficulty", &stored))
            game.SetDifficulty(static_cast<int>(stored));
        RegCloseKey(key);
    }
    game.GetGameWindow().SetBackgroundColor(color);
}

bool WriteSettings(Game& game, const SettingsPlace& place) {
    HKEY key = OpenKey(place, KEY_WRITE);
    if (!key)
        return false;
    // Each value is written even when the other could not be.
    const bool colourWritten =
        WriteDword(key, "bgcolor", game.GetGameWindow().GetBackgroundColor());
    const bool difficultyWritten =
        WriteDword(key, "difficulty", static_cast<DWORD>(game.GetDifficulty()));
    RegCloseKey(key);
    return colourWritten && difficultyWritten;
}
