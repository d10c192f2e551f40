// The two settings that outlive a run, the table colour and the mode, kept
// as 4-byte numbers under one key of the current user's registry.
#pragma once

#include <windows.h>

class Game;

constexpr const char* kSettingsKey = "Software\\Darnwick\\Vemo";
// The table colour when none is stored: red 255, green 191, blue 155.
constexpr COLORREF kDefaultBackground = 0x009BBFFF;

// Where the settings live; tests name keys of their own.
struct SettingsPlace {
    HKEY root = HKEY_CURRENT_USER;
    const char* path = kSettingsKey;
};

// Applies the stored mode to the game and the stored colour (or the default)
// to its table. A key that cannot be opened, or a value that is not a 4-byte
// REG_DWORD, counts as absent.
void ReadSettings(Game& game, const SettingsPlace& place = {});
// Stores the table colour and the mode; false (and nothing stored) when the
// key cannot be opened for writing.
bool WriteSettings(Game& game, const SettingsPlace& place = {});
