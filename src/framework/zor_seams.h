#pragma once
// Seams between the game and its surroundings, so that tests can drive time,
// chance and the fatal exits by hand.
#include <cstdint>

// Millisecond clock, and the wait that goes with it. The game uses SDL's
// tick counter and SDL's delay; tests install a ZorManualClock and advance
// it themselves, so that nothing under test ever sleeps.
class ZorClock {
 public:
  virtual ~ZorClock() = default;
  virtual uint32_t Now() = 0;
  // Gives the processor away for about `ms` milliseconds.
  virtual void Wait(uint32_t ms) = 0;
};

// Time moves only when the test moves it. A wait is noted, not slept, and
// leaves the time as it was: the test decides how much time passes. Each
// look at the clock may cost time (SetReadCost), so that work which watches
// the clock sees its time run out as on a busy machine.
class ZorManualClock : public ZorClock {
 public:
  explicit ZorManualClock(uint32_t start = 0) : m_now(start) {}
  uint32_t Now() override {
    const uint32_t now = m_now;
    m_now += m_readCost;
    return now;
  }
  void Wait(uint32_t ms) override {
    ++m_waits;
    m_lastWait = ms;
    m_waitedMs += ms;
  }
  void Set(uint32_t ms) { m_now = ms; }
  void Advance(uint32_t ms) { m_now += ms; }
  void SetReadCost(uint32_t ms) { m_readCost = ms; }
  // The waits asked for since the last ForgetWaits.
  int Waits() const { return m_waits; }
  uint32_t LastWait() const { return m_lastWait; }
  uint64_t WaitedMs() const { return m_waitedMs; }
  void ForgetWaits() {
    m_waits = 0;
    m_lastWait = 0;
    m_waitedMs = 0;
  }

 private:
  uint32_t m_now;
  uint32_t m_readCost = 0;
  int m_waits = 0;
  uint32_t m_lastWait = 0;
  uint64_t m_waitedMs = 0;
};

// Installs the clock that kfx_GetTicks answers from; null restores SDL's.
// The caller keeps ownership.
void ZorSetClock(ZorClock* clock);
ZorClock* ZorGetClock();
// Milliseconds from the installed clock.
uint32_t kfx_GetTicks();
// Waits on the installed clock.
void kfx_Wait(uint32_t ms);

// Paces the frame loop to a steady rate: frame n is due at the start plus
// n * 1000 / rate milliseconds, so the rate holds on a millisecond clock.
// A pass that ends before its frame is due waits for it; a pass that ends
// late does not wait, and one that falls a whole frame behind starts the
// count afresh instead of rushing frames to catch up.
class ZorFramePacer {
 public:
  explicit ZorFramePacer(int framesPerSecond = 60);
  // Called at the end of each pass: waits, through the installed clock,
  // until the next frame is due. Returns the milliseconds waited.
  uint32_t WaitForNextFrame();
  int FramesPerSecond() const { return m_rate; }

 private:
  int m_rate;
  uint32_t m_start;
  int64_t m_frame = 0;
};

// The sequence's step: position s -> s x ZOR_RANDOM_MUL + ZOR_RANDOM_ADD.
constexpr uint64_t ZOR_RANDOM_MUL = 6364136223846793005ULL;
constexpr uint64_t ZOR_RANDOM_ADD = 1442695040888963407ULL;
// Values of a random sequence lie in 0 .. ZOR_RANDOM_MAX.
constexpr int ZOR_RANDOM_MAX = 0x7FFFFFFF;
// The step on a copy of the position, inline, for a loop that draws many
// values and puts the position back before anything else draws: the next
// value, as the sequence's Next gives it.
inline int zor_random_next(uint64_t& state) {
  state = state * ZOR_RANDOM_MUL + ZOR_RANDOM_ADD;
  return static_cast<int>((state >> 33) & 0x7FFFFFFF);
}

// A random sequence: a 64-bit linear congruential generator with the high
// bits taken; small, fast, and the same values on every platform for a
// given start.
class ZorRandom {
 public:
  explicit constexpr ZorRandom(uint64_t start) : m_state(start) {}
  // Starts the sequence at `start` and steps once.
  void Start(uint64_t start) {
    m_state = start;
    Next();
  }
  int Next() { return zor_random_next(m_state); }
  // The next value as a chance in [0, 1).
  double Chance() { return Next() / 2147483648.0; }
  // The position, to go on from after work that draws from the sequence
  // but must not shift it.
  uint64_t State() const { return m_state; }
  void SetState(uint64_t state) { m_state = state; }

 private:
  uint64_t m_state;
};

// The game has two sequences. The city's draws every random decision of
// the city (agents, demand, growth, events, the council) and goes through
// the savegames: zor_random, zor_chance and the state functions below use
// it. The view's draws what is made only to be seen and heard (the micro
// simulation's cars and cells, the cars shown on a street in view, line
// vehicles on the map, car and ground pictures, music): these depend on
// where the player looks and are in no savegame, so they must never shift
// the city's sequence.
ZorRandom& zor_city_random();
ZorRandom& zor_view_random();
// Seeds both sequences from the game's seed: each starts at a place of its
// own.
void zor_srandom(uint32_t seed);
// Starts the view's sequence again from the last seed (a load does).
void zor_restart_view_random();
int zor_random();
// The next value of the city's sequence as a chance in [0, 1).
double zor_chance();
// The city sequence's position, to go on from after work that draws from
// it but must not shift the game's own sequence.
uint64_t zor_random_state();
void zor_set_random_state(uint64_t state);
// The position n values on from `state`, as n steps would leave it, in
// about log2(n) steps: for draws whose values decide nothing.
uint64_t zor_random_jump(uint64_t state, uint64_t n);
// The seed the game starts its random sequence with: the wall clock, unless
// a fixed seed was set (tests do, so that runs repeat).
uint32_t ZorStartupSeed();
void ZorFixStartupSeed(uint32_t seed);

// Fatal exits. The game ends the process; tests install a handler that
// records the code and unwinds instead (it must not return).
using ZorFatalHandler = void (*)(int code);
void ZorSetFatalHandler(ZorFatalHandler handler);  // null restores exit()
[[noreturn]] void zor_fatal_exit(int code);
