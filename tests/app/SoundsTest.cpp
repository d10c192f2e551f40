// The sounds: the WAVE resources in their formats, the sound and the play
// flags of every event, and the game going on without a sound device or a
// sound.
#include "support/GameTable.h"

#include <mmsystem.h>

#include <cstring>

namespace {

constexpr UINT kYielding = SND_ASYNC | SND_NODEFAULT | SND_MEMORY | SND_NOSTOP;
constexpr UINT kInterrupting = SND_ASYNC | SND_NODEFAULT | SND_MEMORY;

// The start of a RIFF WAVE image with its PCM format chunk.
#pragma pack(push, 1)
struct WaveHeader {
    char riff[4];
    DWORD length;
    char waveFmt[8];
    DWORD fmtLength;
    PCMWAVEFORMAT format;
};
#pragma pack(pop)

TEST(SoundResources, EachWaveHasItsFormatAndSize) {
    struct Expected {
        int id;
        DWORD rate;
        WORD bits;
        DWORD bytes;
    };
    HMODULE self = GetModuleHandleA(nullptr);
    for (const Expected& e : {Expected{115, 11025, 8, 1977},
                              Expected{116, 22050, 16, 5458},
                              {119, 11025, 8, 31940},
                              {130, 11025, 8, 616}}) {
        HRSRC found = FindResourceA(self, MAKEINTRESOURCEA(e.id), "WAVE");
        ASSERT_NE(found, nullptr) << e.id;
        EXPECT_EQ(SizeofResource(self, found), e.bytes) << e.id;
        WaveHeader h;
        ASSERT_NE(LoadWave(e.id), nullptr);
        std::memcpy(&h, LoadWave(e.id), sizeof h);
        EXPECT_EQ(std::memcmp(h.riff, "RIFF", 4) | std::memcmp(h.waveFmt, "WAVEfmt ", 8), 0);
        EXPECT_EQ(h.length, e.bytes - 8);
        EXPECT_EQ(h.format.wf.wFormatTag, WAVE_FORMAT_PCM);
        EXPECT_EQ(h.format.wf.nChannels, 1);
        EXPECT_EQ(h.format.wf.nSamplesPerSec, e.rate) << e.id;
        EXPECT_EQ(h.format.wBitsPerSample, e.bits) << e.id;
    }
    EXPECT_EQ(LoadWave(9999), nullptr);
}

BOOL CALLBACK CountShown(HWND wnd, LPARAM count) {
    DWORD process = 0;
    GetWindowThreadProcessId(wnd, &process);
    if (process == GetCurrentProcessId() && IsWindowVisible(wnd))
        ++*reinterpret_cast<int*>(count);
    return TRUE;
}

// The platform's playback, whatever the machine's sound device: a sound
// plays or fails quietly, showing nothing, and a missing one (a null image)
// only stops, so that a yielding sound after it is not refused.
TEST(SoundResources, PlayingWithoutDeviceOrSoundReturnsQuietly) {
    const seams::Hooks& platform = seams::Platform();
    int before = 0, after = 0;
    EnumWindows(CountShown, reinterpret_cast<LPARAM>(&before));
    platform.playSoundMemory(LoadWave(115), kYielding);
    EXPECT_TRUE(platform.playSoundMemory(nullptr, kInterrupting));
    platform.playSoundMemory(LoadWave(119), kInterrupting);
    EXPECT_TRUE(platform.playSoundMemory(nullptr, 0));
    EXPECT_TRUE(platform.playSoundMemory(LoadWave(115), kYielding));
    EXPECT_TRUE(platform.playSoundMemory(nullptr, 0));
    EnumWindows(CountShown, reinterpret_cast<LPARAM>(&after));
    EXPECT_EQ(after, before); // no message, no window
}

using SoundEvents = GameTable;

TEST_F(SoundEvents, EveryEventPlaysItsSoundWithItsFlags) {
    // Level 1 wants 16: 12 already on the pile, then two pairs.
    CardList pile;
    for (int i = 0; i < 12; ++i)
        pile.Push(CardEntry{static_cast<Card>(i), 1});
    stack(35).SetCards(pile);
    Put(22, {CardOf(4)});
    Put(23, {CardOf(9)});
    Put(24, {CardOf(5)});
    Put(25, {CardOf(8)});
    Put(29, {CardOf(2)});
    Drag(22, 24);              // 4 + 5: refused by a slot
    Drag(22, 29);              // 4 + 2: refused by a side stack
    Drag(22, 23);              // a pair
    game.Undo();               // taken back
    Drag(22, 23);              // the pair again
    Drag(24, 25);              // the pair that reaches the target
    game.OnNextLevelClicked(); // the level won
    const void* refusal = game.Sound(kRefusalSound);
    const void* pair = game.Sound(kPairSound);
    const void* level = game.Sound(kLevelSound);
    ASSERT_TRUE(refusal && pair && level);
    const std::vector<std::pair<const void*, UINT>> expected = {
        {refusal, kYielding}, {refusal, kYielding}, {pair, kYielding},      {refusal, kYielding},
        {pair, kYielding},    {pair, kYielding},    {level, kInterrupting}, {level, kInterrupting}};
    ASSERT_EQ(fake.sounds.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(fake.sounds[i].wave, expected[i].first) << i;
        EXPECT_EQ(fake.sounds[i].flags, expected[i].second) << i;
    }
}

} // namespace
