// The few process-wide effects that tests need to drive or observe: the
// millisecond tick count, the 10 ms pause of a glide, sound playback, the
// shell's open and the message box. The defaults call the platform; tests
// replace them with Install and put the platform back with Reset.
#pragma once

#include <windows.h>

namespace seams {

struct Hooks {
    DWORD (*tickCount)();
    void (*pause10ms)();
    // sndPlaySoundA from memory; flags as for sndPlaySoundA.
    BOOL (*playSoundMemory)(const void* wave, UINT flags);
    // PlaySoundA from a resource of `module`; flags as for PlaySoundA.
    BOOL (*playSoundResource)(int id, HMODULE module, DWORD flags);
    // ShellExecuteA "open"; the result as ShellExecuteA's.
    HINSTANCE (*shellOpen)(HWND owner, const char* target);
    int (*messageBox)(HWND owner, const char* text, const char* caption, UINT type);
};

const Hooks& Platform();
void Install(const Hooks& hooks);
void Reset();

DWORD TickCount();
void Pause10ms();
BOOL PlaySoundMemory(const void* wave, UINT flags);
BOOL PlaySoundResource(int id, HMODULE module, DWORD flags);
HINSTANCE ShellOpen(HWND owner, const char* target);
int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT type);

} // namespace seams
