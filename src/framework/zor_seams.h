#pragma once
// Seams between the game and its surroundings, so that tests can drive time,
// chance and the fatal exits by hand.
#include <cstdint>

// Millisecond clock. The game uses SDL's tick counter; tests install a
// ZorManualClock and advance it themselves.
class ZorClock {
 public:
  virtual ~ZorClock() = default;
  virtual uint32_t Now() = 0;
};

class ZorManualClock : public ZorClock {
 public:
  explicit ZorManualClock(uint32_t start = 0) : m_now(start) {}
  uint32_t Now() override { return m_now; }
  void Set(uint32_t ms) { m_now = ms; }
  void Advance(uint32_t ms) { m_now += ms; }

 private:
  uint32_t m_now;
};

// Installs the clock that kfx_GetTicks answers from; null restores SDL's.
// The caller keeps ownership.
void ZorSetClock(ZorClock* clock);
ZorClock* ZorGetClock();
// Milliseconds from the installed clock.
uint32_t kfx_GetTicks();

// The shared random source: one sequence for every random decision of the
// game. Values lie in 0 .. ZOR_RANDOM_MAX.
constexpr int ZOR_RANDOM_MAX = 0x7FFFFFFF;
void zor_srandom(uint32_t seed);
int zor_random();
// The next value of the same sequence as a chance in [0, 1).
double zor_chance();
// The sequence's position, to go on from after work that draws from it
// but must not shift the game's own sequence.
uint64_t zor_random_state();
void zor_set_random_state(uint64_t state);
// The seed the game starts its random sequence with: the wall clock, unless
// a fixed seed was set (tests do, so that runs repeat).
uint32_t ZorStartupSeed();
void ZorFixStartupSeed(uint32_t seed);

// Fatal exits. The game ends the process; tests install a handler that
// records the code and unwinds instead (it must not return).
using ZorFatalHandler = void (*)(int code);
void ZorSetFatalHandler(ZorFatalHandler handler);  // null restores exit()
[[noreturn]] void zor_fatal_exit(int code);
