// Replaces the process-wide seams with recording fakes for one test.
#pragma once

#include "cardtable/core/Seams.h"

#include <functional>
#include <string>
#include <vector>

struct SoundCall {
    const void* wave;
    UINT flags;
};

class FakeSeams {
public:
    FakeSeams() {
        current_ = this;
        seams::Install(seams::Hooks{Tick, Pause, SoundMemory, SoundResource, ShellOpen, Box});
    }
    ~FakeSeams() {
        seams::Reset();
        current_ = nullptr;
    }
    FakeSeams(const FakeSeams&) = delete;
    FakeSeams& operator=(const FakeSeams&) = delete;

    DWORD tick = 12345;
    int pauses = 0;
    std::vector<SoundCall> sounds;
    std::vector<int> resourceSounds;
    std::vector<std::string> opened;
    std::vector<std::string> boxTexts;
    std::vector<std::string> boxCaptions;
    std::vector<UINT> boxTypes;
    int boxAnswer = IDYES;
    // Runs while a message box is up, as the box's own message loop would
    // dispatch what arrives meanwhile.
    std::function<void()> whileBoxUp;

private:
    static DWORD Tick() { return current_->tick; }
    static void Pause() { ++current_->pauses; }
    static BOOL SoundMemory(const void* wave, UINT flags) {
        current_->sounds.push_back({wave, flags});
        return TRUE;
    }
    static BOOL SoundResource(int id, HMODULE, DWORD) {
        current_->resourceSounds.push_back(id);
        return TRUE;
    }
    static HINSTANCE ShellOpen(HWND, const char* target) {
        current_->opened.push_back(target);
        return reinterpret_cast<HINSTANCE>(33);
    }
    static int Box(HWND, const char* text, const char* caption, UINT type) {
        current_->boxTexts.push_back(text ? text : "");
        current_->boxCaptions.push_back(caption ? caption : "");
        current_->boxTypes.push_back(type);
        if (current_->whileBoxUp)
            current_->whileBoxUp();
        return current_->boxAnswer;
    }

    static inline FakeSeams* current_ = nullptr;
};
