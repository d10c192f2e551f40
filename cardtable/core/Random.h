// The process's one pseudo-random generator (a linear congruential
// generator). Only the shuffle draws from it, after reseeding it.
#pragma once

#include <cstdint>

void SeedRandom(std::uint32_t seed);
// A number 0..32767.
int NextRandom();
