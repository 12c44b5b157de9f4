#pragma once
// Time of day in milliseconds and the program's pseudo-random numbers.

#include <cstdint>

std::int64_t NowMs();
// The C library's generator, so seeded runs repeat.
int Random();
void SeedRandom(unsigned seed);
