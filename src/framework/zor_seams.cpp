#include "framework/zor_seams.h"

#include <SDL.h>

#include <array>
#include <cstdlib>
#include <ctime>

namespace {

class ZorSdlClock : public ZorClock {
 public:
  uint32_t Now() override { return SDL_GetTicks(); }
  void Wait(uint32_t ms) override { SDL_Delay(ms); }
};

ZorSdlClock g_sdlClock;
ZorClock* g_clock = &g_sdlClock;

// Where the sequences start for a seed: the seed shifted into the
// position, mixed with a constant of each sequence's own.
constexpr uint64_t kCityStart = 0x853c49e6748fea9bULL;
constexpr uint64_t kViewStart = 0xda3e39cb94b95bdbULL;
uint64_t StartFor(uint32_t seed, uint64_t mix) { return (static_cast<uint64_t>(seed) << 16) ^ mix; }

ZorRandom g_cityRandom(kCityStart);
ZorRandom g_viewRandom(kViewStart);
uint32_t g_seed = 0;

ZorFatalHandler g_fatalHandler = nullptr;

bool g_seedFixed = false;
uint32_t g_fixedSeed = 0;

}  // namespace

void ZorSetClock(ZorClock* clock) { g_clock = clock ? clock : &g_sdlClock; }
ZorClock* ZorGetClock() { return g_clock; }
uint32_t kfx_GetTicks() { return g_clock->Now(); }
void kfx_Wait(uint32_t ms) { g_clock->Wait(ms); }

ZorFramePacer::ZorFramePacer(int framesPerSecond)
    : m_rate(framesPerSecond > 0 ? framesPerSecond : 60), m_start(kfx_GetTicks()) {}

uint32_t ZorFramePacer::WaitForNextFrame() {
  const uint32_t now = kfx_GetTicks();
  // The frames fall 16 and 17 ms apart at 60 a second.
  const int64_t longest = (1000 + m_rate - 1) / m_rate;
  ++m_frame;
  // Differences of the 32-bit tick count stay right across its wrap.
  const auto sinceStart = static_cast<int64_t>(static_cast<int32_t>(now - m_start));
  const int64_t due = m_frame * 1000 / m_rate;
  if (sinceStart >= due) {
    if (sinceStart - due >= longest) {
      m_start = now;
      m_frame = 0;
    }
    return 0;
  }
  int64_t wait = due - sinceStart;
  if (wait > longest) {
    // The clock stood still or went back: one frame from now.
    m_start = now;
    m_frame = 1;
    wait = 1000 / m_rate;
  }
  kfx_Wait(static_cast<uint32_t>(wait));
  return static_cast<uint32_t>(wait);
}

ZorRandom& zor_city_random() { return g_cityRandom; }
ZorRandom& zor_view_random() { return g_viewRandom; }

void zor_srandom(uint32_t seed) {
  g_seed = seed;
  g_cityRandom.Start(StartFor(seed, kCityStart));
  zor_restart_view_random();
}

void zor_restart_view_random() { g_viewRandom.Start(StartFor(g_seed, kViewStart)); }

int zor_random() { return g_cityRandom.Next(); }

double zor_chance() { return g_cityRandom.Chance(); }

namespace {

// The jumps of 0 to kShortJumps - 1 steps as one map s -> s x mul + add
// each: the short jumps, the common ones, cost one step.
constexpr int kShortJumps = 64;
struct RandomJump {
  uint64_t mul = 1, add = 0;
};
constexpr auto kJumps = [] {
  std::array<RandomJump, kShortJumps> jumps{};
  for (size_t n = 1; n < jumps.size(); ++n)
    jumps[n] = {jumps[n - 1].mul * ZOR_RANDOM_MUL,
                jumps[n - 1].add * ZOR_RANDOM_MUL + ZOR_RANDOM_ADD};
  return jumps;
}();

}  // namespace

uint64_t zor_random_jump(uint64_t state, uint64_t n) {
  if (n < kShortJumps) return state * kJumps[n].mul + kJumps[n].add;
  // 2^i steps are one such map, found by squaring, and the maps of n's
  // bits compose to the jump of n steps.
  uint64_t stepMul = ZOR_RANDOM_MUL, stepAdd = ZOR_RANDOM_ADD;
  for (; n; n >>= 1) {
    if (n & 1) state = state * stepMul + stepAdd;
    stepAdd *= stepMul + 1;
    stepMul *= stepMul;
  }
  return state;
}

uint64_t zor_random_state() { return g_cityRandom.State(); }
void zor_set_random_state(uint64_t state) { g_cityRandom.SetState(state); }

void ZorSetFatalHandler(ZorFatalHandler handler) { g_fatalHandler = handler; }

void zor_fatal_exit(int code) {
  if (g_fatalHandler) g_fatalHandler(code);
  std::exit(code);
}

uint32_t ZorStartupSeed() { return g_seedFixed ? g_fixedSeed : static_cast<uint32_t>(std::time(nullptr)); }

void ZorFixStartupSeed(uint32_t seed) {
  g_seedFixed = true;
  g_fixedSeed = seed;
}
