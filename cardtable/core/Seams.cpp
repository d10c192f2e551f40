#include "cardtable/core/Seams.h"

#include "cardtable/core/GdiHandle.h"
#include "cardtable/core/SystemLibrary.h"

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
// WINMM is not one of the libraries that Windows always takes from the
// system folder, so it is not imported: it is loaded from the system folder
// at the first sound and stays loaded, as an imported library would, for a
// sound may still be playing on its thread while the program ends.
HMODULE Multimedia() {
    static const HMODULE winmm = LoadSystemLibrary("winmm.dll");
    return winmm;
}
template <typename Fn>
Fn MultimediaProc(const char* name) {
    return LibraryProc<Fn>(Multimedia(), name);
}
BOOL PlatformSoundMemory(const void* wave, UINT flags) {
    static const auto play = MultimediaProc<decltype(&sndPlaySoundA)>("sndPlaySoundA");
    return play && play(static_cast<LPCSTR>(wave), flags);
}
BOOL PlatformSoundResource(int id, HMODULE module, DWORD flags) {
    static const auto play = MultimediaProc<decltype(&PlaySoundA)>("PlaySoundA");
    return play && play(MAKEINTRESOURCEA(id), module, flags);
}
// The shell library and what it brings along take over a megabyte, and the
// game needs them only when a link is followed: the library is loaded then
// and kept until the process ends (the shell may still be at work on the
// opened address when the call returns).
HINSTANCE PlatformShellOpen(HWND owner, const char* target) {
    static const UniqueLibrary shell(LoadSystemLibrary("shell32.dll"));
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
