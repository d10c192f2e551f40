// The sounds: the WAVE resources in their formats, the sound and the play
// flags of every event, and the game going on without a sound device or a
// sound.
#include "support/GameTable.h"

#include <mmsystem.h>

#include <cstring>

namespace {

constexpr UINT kYielding = SND_ASYNC | SND_NODEFAULT | SND_MEMORY | SND_NOSTOP;
constexpr UINT kInterrupting = SND_ASYNC | SND_NODEFAULT | SND_MEMORY;

struct WaveFormat {
    int id, rate, bits, bytes;
};

TEST(SoundResources, EachWaveHasItsFormatAndSize) {
    HMODULE self = GetModuleHandleA(nullptr);
    for (const WaveFormat& f : {WaveFormat{115, 11025, 8, 1977}, WaveFormat{116, 22050, 16, 5458},
                                WaveFormat{119, 11025, 8, 31940}}) {
        HRSRC found = FindResourceA(self, MAKEINTRESOURCEA(f.id), "WAVE");
        ASSERT_NE(found, nullptr) << f.id;
        EXPECT_EQ(SizeofResource(self, found), static_cast<DWORD>(f.bytes)) << f.id;
        const auto* b = static_cast<const BYTE*>(LoadWave(f.id));
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(std::memcmp(b, "RIFF", 4), 0);
        EXPECT_EQ(std::memcmp(b + 8, "WAVEfmt ", 8), 0);
        WORD tag = 0, channels = 0, bits = 0;
        DWORD rate = 0, length = 0;
        std::memcpy(&tag, b + 20, 2);
        std::memcpy(&channels, b + 22, 2);
        std::memcpy(&rate, b + 24, 4);
        std::memcpy(&bits, b + 34, 2);
        std::memcpy(&length, b + 4, 4);
        EXPECT_EQ(tag, WAVE_FORMAT_PCM);
        EXPECT_EQ(channels, 1);
        EXPECT_EQ(rate, static_cast<DWORD>(f.rate)) << f.id;
        EXPECT_EQ(bits, f.bits) << f.id;
        EXPECT_EQ(length, static_cast<DWORD>(f.bytes - 8));
    }
    EXPECT_EQ(LoadWave(9999), nullptr);
}

// The platform's playback, whatever the machine's sound device: a sound
// plays or fails quietly, and a missing one (a null image) only stops.
TEST(SoundResources, PlayingWithoutDeviceOrSoundReturnsQuietly) {
    const seams::Hooks& platform = seams::Platform();
    platform.playSoundMemory(LoadWave(115), kYielding);
    platform.playSoundMemory(nullptr, kInterrupting);
    platform.playSoundMemory(LoadWave(119), kInterrupting);
    platform.playSoundMemory(nullptr, 0);
    SUCCEED();
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
