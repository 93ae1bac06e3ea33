// The whole game under random input: mouse moves, clicks, drags and wheel
// turns on the map, clicks on the bar and its palette menus, and the keys a player (and, on some seeds,
// a developer with the debug keys) presses, through the real frame loop
// with a hand-driven clock. Now and then the game is saved and loaded again
// in the middle of it all. After every block of input the networks pass
// their own checks, and a savegame loads and saves again to the same bytes.
//
// ZOR_SOAK_EVENTS sets the input events per seed (1,200 by default, 300 in
// the sanitizer build, where a frame costs many times more), ZOR_SOAK_SEED
// runs one other seed, ZOR_SOAK_PROGRESS=n reports every n events.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

#include "model/finanzen.h"
#include "savegame_bytes.h"
#include "sim/sim_date.h"
#include "sim/sim_welt.h"
#include "support/scenario.h"
#include "support/test_support.h"
#include "ui/user_int.h"
#include "world/zor_world.h"

namespace {

using namespace zortest;

#ifdef __SANITIZE_ADDRESS__
constexpr int kEvents = 300;
#else
constexpr int kEvents = 1200;
#endif

int EnvInt(const char* name, int fallback) {
  const char* v = std::getenv(name);
  return v && *v ? std::atoi(v) : fallback;
}

// The keys of the game's tools, views and pages, and the letters and digits
// the debug keys read. The quit key combinations are left out: a soak that
// ends the game tests nothing more.
constexpr int kKeys[] = {SDLK_1, SDLK_2, SDLK_3, SDLK_4, SDLK_5, SDLK_6, SDLK_7, SDLK_8, SDLK_9, SDLK_0,
                         SDLK_a, SDLK_b, SDLK_c, SDLK_e, SDLK_f, SDLK_g, SDLK_h, SDLK_j, SDLK_k, SDLK_n,
                         SDLK_o, SDLK_p, SDLK_q, SDLK_r, SDLK_t, SDLK_u, SDLK_v, SDLK_w, SDLK_x, SDLK_y,
                         SDLK_z, SDLK_ESCAPE, SDLK_RETURN, SDLK_SPACE, SDLK_LEFT, SDLK_RIGHT, SDLK_UP,
                         SDLK_DOWN, SDLK_PLUS, SDLK_MINUS, SDLK_F2, SDLK_F3, SDLK_F5, SDLK_CLEAR};

struct Soak {
  std::mt19937 rng;
  Scenario& game;
  int x = 400, y = 300;

  int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); }
  // A point on the map, or on the bar and the palette menus that open
  // above it.
  void OnMap() { x = Pick(800), y = Pick(450); }
  void OnBar() { x = 190 + Pick(610), y = 420 + Pick(180); }
  void One() {
    const int what = Pick(100);
    if (what < 15) {
      OnMap();
      game.Run({Move(x, y)});
    } else if (what < 35) {
      OnBar();
      game.Click(x, y, Pick(6) == 0 ? kRight : kLeft);
    } else if (what < 50) {
      OnMap();
      game.Click(x, y, Pick(4) == 0 ? kRight : kLeft);
    } else if (what < 68) {
      OnMap();
      const int fx = x, fy = y;
      OnMap();
      game.Drag(fx, fy, x, y, Pick(6) == 0 ? kRight : kLeft, 2 + Pick(7));
    } else if (what < 72) {
      game.Click(x, y, Pick(2) ? kWheelUp : kWheelDown);
    } else if (what < 90) {
      game.Key(kKeys[Pick(static_cast<int>(std::size(kKeys)))]);
    } else {
      game.Run({Wait(100 + Pick(1900))});
    }
  }
};

// The save and load of the running game, in the middle of play: both loads
// succeed, and the game loaded saves and loads again to the same bytes. (A
// load stamps the measures' messages with its time, so the game before the
// first load differs from it in those stamps.)
void SaveLoadSave(CZorvaWorld& world, const std::string& when) {
  const char* path = "SaveGame/SOAK.GMD";
  ASSERT_EQ(world.SerializeGameStore(path), 0) << when;
  ASSERT_EQ(world.SerializeGameLoad(path), 0) << when;
  const std::string loaded = Snapshot(world);
  ASSERT_EQ(world.SerializeGameStore(path), 0) << when;
  ASSERT_EQ(world.SerializeGameLoad(path), 0) << when;
  EXPECT_TRUE(SameBytes(Snapshot(world), loaded)) << when;
}

void RunSoak(uint32_t seed, bool debugKeys) {
  std::filesystem::create_directories("SaveGame");
  Scenario game(debugKeys ? "DEBUGKEYS=1\n" : "");
  CUserInt::m_ActivateDebugInfo = debugKeys ? 1 : 0;
  Soak soak{std::mt19937(seed), game};
  const int events = EnvInt("ZOR_SOAK_EVENTS", kEvents);
  const int progress = EnvInt("ZOR_SOAK_PROGRESS", 0);
  for (int n = 1; n <= events; ++n) {
    soak.One();
    if (n % 300 != 0 && n != events) continue;
    const std::string when = "seed " + std::to_string(seed) + " after " + std::to_string(n) + " events";
    // A frame with nothing pressed, so that no tool is half-way through.
    game.Run({Release(soak.x, soak.y), Release(soak.x, soak.y, kRight), Frames(1)});
    EXPECT_EQ(game.Ui().CheckStreetNet(), 0) << when;
    EXPECT_EQ(game.Ui().CheckRailNet(), 0) << when;
    ASSERT_NO_FATAL_FAILURE(SaveLoadSave(game.World(), when));
    if (progress > 0 && n % progress == 0) {
      std::printf("%s: clean\n", when.c_str());
      game.Shot("soak-" + std::to_string(seed) + "-" + std::to_string(n));
    }
  }
  CUserInt::m_ActivateDebugInfo = 0;
}

// What the finance page shows that moves the account: this year's balance
// (income less expenses: every booking goes into it), last year's when the
// year has changed, and the credits taken and repaid.
struct Books {
  double konto = 0, balance = 0, lastBalance = 0, credits = 0;
  int year = 0;
};

Books ReadBooks(CZorvaWorld& world) {
  CFinanzen* f = world.GetFinanzen();
  return {f->GetVarValue("F.KONTO"), f->GetVarValue("F.BILANZ"), f->GetVarValue("F.LASTYEAR.BILANZ"),
          f->GetVarValue("F.KREDITE"), STime::FromDate(world.GetSimWelt()->Date()).year};
}

// A player's random keys and clicks for ten minutes of the game's clock (two
// in the sanitizer build; ZOR_SOAK_SEED runs another seed), without DEBUGKEYS in the settings, with words
// typed over the map among them (Q, J and K in every order, Y, the digits,
// F12): the debug keys never come on, and after every event the account has
// moved by exactly what the finance page booked. A load brings the loaded
// game's account; the books start again from it.
void RunBookedSoak(uint32_t seed) {
#ifdef __SANITIZE_ADDRESS__
  constexpr uint32_t kPlayMs = 2 * 60000;
#else
  constexpr uint32_t kPlayMs = 10 * 60000;
#endif
  static const char* const kWords[] = {"quak", "jokey", "kajak", "zq9j0k", "yyy"};
  std::filesystem::create_directories("SaveGame");
  Scenario game;
  CZorvaWorld& world = game.World();
  Soak soak{std::mt19937(seed), game};
  const uint32_t start = game.Now();
  Books before = ReadBooks(world);
  uint32_t loaded = CZorvaWorld::m_TicksAfterLoad;
  int events = 0, loads = 0;
  double booked = 0;
  while (game.Now() - start < kPlayMs) {
    if (soak.Pick(12) == 0) {
      for (const char* c = kWords[soak.Pick(static_cast<int>(std::size(kWords)))]; *c; ++c)
        game.Key(*c >= 'a' ? SDLK_a + (*c - 'a') : SDLK_0 + (*c - '0'));
      game.Key(SDLK_F12);
    } else {
      soak.One();
    }
    ++events;
    const Books now = ReadBooks(world);
    const std::string when = "seed " + std::to_string(seed) + " event " + std::to_string(events);
    ASSERT_EQ(CUserInt::m_ActivateDebugInfo, 0) << when;
    ASSERT_FALSE(CUserInt::m_StaticCity) << when;
    if (CZorvaWorld::m_TicksAfterLoad != loaded) {
      loaded = CZorvaWorld::m_TicksAfterLoad;
      ++loads;
    } else {
      double change = now.credits - before.credits;
      change += now.year == before.year ? now.balance - before.balance : now.lastBalance - before.balance + now.balance;
      booked += std::abs(change);
      ASSERT_NEAR(now.konto - before.konto, change, 1.0) << when;
    }
    before = now;
  }
  std::printf("seed %u: %d events, %d loads, %.0f booked\n", seed, events, loads, booked);
  EXPECT_GT(booked, 0.0) << "the run booked something";
}

TEST(InputSoak, APlayersTenMinutesMoveTheAccountOnlyByWhatTheFinancesBook) {
  RunBookedSoak(static_cast<uint32_t>(EnvInt("ZOR_SOAK_SEED", 11)));
}

TEST(InputSoak, APlayersRandomInputWithSavesAndLoads) { RunSoak(static_cast<uint32_t>(EnvInt("ZOR_SOAK_SEED", 1)), false); }

TEST(InputSoak, TheDebugKeysAmongThePlayersInput) { RunSoak(static_cast<uint32_t>(EnvInt("ZOR_SOAK_SEED", 2)), true); }

}  // namespace
