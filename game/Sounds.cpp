// The game's sounds, played from the loaded WAVE images. Refusal, pair and
// undo sounds yield to a sound still playing; the level sound interrupts.
#include "game/Game.h"

#include "cardtable/core/Seams.h"

#include <mmsystem.h>

void Game::PlayYielding(int sound) const {
    seams::PlaySoundMemory(Sound(sound), SND_ASYNC | SND_NODEFAULT | SND_MEMORY | SND_NOSTOP);
}

void Game::PlayInterrupting(int sound) const {
    seams::PlaySoundMemory(Sound(sound), SND_ASYNC | SND_NODEFAULT | SND_MEMORY);
}
