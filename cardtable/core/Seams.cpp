#include "cardtable/core/Seams.h"

#include "cardtable/core/GdiHandle.h"

#include <mmsystem.h>
#include <shellapi.h>

namespace seams {
namespace {

DWORD PlatformTick() {
    return GetTickCount();
}
void PlatformPause() {
    Sleep(10);
}
BOOL PlatformSoundMemory(const void* wave, UINT flags) {
    return sndPlaySoundA(static_cast<LPCSTR>(wave), flags);
}
BOOL PlatformSoundResource(int id, HMODULE module, DWORD flags) {
    return PlaySoundA(MAKEINTRESOURCEA(id), module, flags);
}
// The shell library and what it brings along take over a megabyte, and the
// game needs them only when a link is followed: the library is loaded then
// and kept until the process ends (the shell may still be at work on the
// opened address when the call returns).
HINSTANCE PlatformShellOpen(HWND owner, const char* target) {
    static const UniqueLibrary shell(LoadLibraryA("shell32.dll"));
    using ShellExecuteFn = decltype(&ShellExecuteA);
    static const auto shellExecute = LibraryProc<ShellExecuteFn>(shell.get(), "ShellExecuteA");
    if (!shellExecute)
        return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(SE_ERR_DLLNOTFOUND));
    return shellExecute(owner, "open", target, nullptr, nullptr, SW_SHOWNORMAL);
}
int PlatformMessageBox(HWND owner, const char* text, const char* caption, UINT type) {
    return MessageBoxA(owner, text, caption, type);
}

const Hooks platform{PlatformTick,          PlatformPause,     PlatformSoundMemory,
                     PlatformSoundResource, PlatformShellOpen, PlatformMessageBox};
Hooks current = platform;

} // namespace

const Hooks& Platform() {
    return platform;
}
void Install(const Hooks& hooks) {
    current = hooks;
}
void Reset() {
    current = platform;
}

DWORD TickCount() {
    return current.tickCount();
}
void Pause10ms() {
    current.pause10ms();
}
BOOL PlaySoundMemory(const void* wave, UINT flags) {
    return current.playSoundMemory(wave, flags);
}
BOOL PlaySoundResource(int id, HMODULE module, DWORD flags) {
    return current.playSoundResource(id, module, flags);
}
HINSTANCE ShellOpen(HWND owner, const char* target) {
    return current.shellOpen(owner, target);
}
int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT type) {
    return current.messageBox(owner, text, caption, type);
}

} // namespace seams
