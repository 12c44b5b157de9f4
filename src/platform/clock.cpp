#include "platform/clock.h"

#include <chrono>
#include <cstdlib>

std::int64_t NowMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

int Random() { return std::rand(); }

void SeedRandom(unsigned seed) { std::srand(seed); }
