// The random edit storm: builds and deletions of every street type with
// fixed seeds on the real network, map and demand model, every step checked
// (edit_storm.h, storm_checker.h). CI runs 500 steps a mix (a round trip
// included); ZOR_STORM_STEPS=100000 runs the long storm (ZOR_STORM_PROGRESS=N
// reports every N steps), ZOR_STORM_SAVE_EVERY=N saves and loads every N
// steps instead of every 500, ZOR_STORM_SEED picks another
// seed, ZOR_STORM_MINIMIZE=1 shortens a failing run to a replayable
// sequence.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>

#include "edit_storm.h"

namespace {

using namespace stormtest;

constexpr int kCiSteps = 500;

void Storm(const Mix& mix, uint32_t seed) {
  g_ZorLoadVersion = 240;
  const int steps = EnvInt("ZOR_STORM_STEPS", kCiSteps);
  seed = static_cast<uint32_t>(EnvInt("ZOR_STORM_SEED", static_cast<int>(seed)));
  const auto t0 = std::chrono::steady_clock::now();
  const Finding f = RunStorm(seed, mix, steps, EnvInt("ZOR_STORM_SAVE_EVERY", 500));
  const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  std::printf("storm %s seed %u: %d steps in %.1f s, %s\n", mix.name, seed, f.step < 0 ? steps : f.step + 1, s,
              f.step < 0 ? "no faults" : "a fault");
  if (f.step < 0) return;
  std::string text;
  for (const std::string& x : f.faults) text += "  " + x + "\n";
  std::vector<Op> ops = f.ops;
  if (EnvInt("ZOR_STORM_MINIMIZE", 0)) ops = Minimize(ops, Kind(f.faults[0]));
  std::string replay;
  for (const Op& o : ops) replay += Format(o) + "\n";
  if (const char* dir = std::getenv("ZOR_STORM_OUT")) {
    const std::string path = std::string(dir) + "/storm-" + mix.name + "-" + std::to_string(seed) + ".txt";
    if (FILE* out = std::fopen(path.c_str(), "w")) {
      std::fprintf(out, "# %s\n%s", text.c_str(), replay.c_str());
      std::fclose(out);
    }
  }
  if (ops.size() > 60) replay = "(" + std::to_string(ops.size()) + " steps; set ZOR_STORM_MINIMIZE=1)\n";
  ADD_FAILURE() << "storm " << mix.name << " seed " << seed << ": step " << f.step + 1 << " (" << Format(f.ops.back())
                << ", result " << f.result << ") left:\n"
                << text << "replay:\n"
                << replay;
  g_ZorLoadVersion = 0;
}

// ZOR_STORM_REPLAY=file replays the steps of a file (one a line, as the
// storm writes them) and reports the first finding; with ZOR_STORM_MINIMIZE=1
// also the shortest sequence found that still shows it.
TEST(EditStorm, Replay) {
  const char* path = std::getenv("ZOR_STORM_REPLAY");
  if (!path) GTEST_SKIP() << "set ZOR_STORM_REPLAY to a file of steps";
  g_ZorLoadVersion = 240;
  // A path the test cannot read (a relative one, from the test's own
  // working folder) gives no steps: that is a failed replay, not a clean one.
  const std::vector<Op> steps = ReadSteps(path);
  ASSERT_FALSE(steps.empty()) << "no steps read from " << path;
  const Finding f = RunOps(steps);
  for (const std::string& x : f.faults) ADD_FAILURE() << "step " << f.step + 1 << ": " << x;
  if (f.step >= 0 && EnvInt("ZOR_STORM_MINIMIZE", 0)) {
    std::string replay;
    for (const Op& o : Minimize(f.ops, Kind(f.faults[0]))) replay += Format(o) + "\n";
    ADD_FAILURE() << "shortened:\n" << replay;
  }
  g_ZorLoadVersion = 0;
}

TEST(EditStorm, TwoWayStreets) { Storm(Mixes()[0], 1); }
TEST(EditStorm, OneWayStreets) { Storm(Mixes()[1], 2); }
TEST(EditStorm, FourLaneStreets) { Storm(Mixes()[2], 3); }
TEST(EditStorm, EveryType) { Storm(Mixes()[3], 4); }

// Junctions with signs through joins and deletions: a T junction of
// one-cell legs carries a leg's sign on the cell of the dead end beyond
// it; the T joined away by the removal of its stub leaves no sign there.
// Every step is held to the checks, the signs' among them.
TEST(EditStorm, SignsGoWithTheLegsTheyStoodOn) {
  g_ZorLoadVersion = 240;
  StormWorld sw;
  sw.signs = true;
  for (const Op& o : Parse("B 42 36 52 36 2\nB 51 37 51 36 2\nD 51 37 51 36 2\n")) {
    SCOPED_TRACE(Format(o));
    ASSERT_EQ(sw.Apply(o), o.kind == 'B' ? STR_BUILD_OK : 0);
    EXPECT_EQ(sw.checker.Check(sw.w), std::vector<std::string>{});
  }
  EXPECT_EQ(sw.w.At(51, 36), nullptr);
  EXPECT_EQ(LayersAround(sw.w, 51, 36, CStrJunction::kVorfahrtResID), 0);
}

// Sequences that once left a junction's signs wrong, every step checked
// and saved and loaded with signs put up. A street drawn on from a dead end
// round a bend joins the street of a T junction's leg: the joined street
// is that leg, its priority kept; a T laid into the street between two
// junctions with signs and taken away again leaves one street that is the
// leg of both, listed on its cells. A crossing that loses an arm of its
// priority road is a T whose straight pair has the priority, which a load
// keeps, whatever axis the T it once was had. Two legs of a T joined into
// one street round a block leave no arm for each sign: the signs go.
TEST(EditStorm, SignsKeepTheirLegsThroughEdits) {
  g_ZorLoadVersion = 240;
  for (const char* steps : {"B 42 36 52 36 2  B 51 37 51 36 2  B 42 36 42 40 1",
                            "B 42 36 52 36 2  B 51 37 51 36 2  B 52 36 52 40 1",
                            "B 39 36 54 36 2  B 42 37 42 36 2  B 51 37 51 36 2  B 46 36 46 40 2  D 46 36 46 40 2",
                            "B 27 36 21 36 1  B 21 36 21 49 3  B 21 36 21 34 3  B 21 36 18 36 3  D 21 36 21 34 3",
                            "B 35 15 55 15 1  B 45 15 45 25 1  B 55 15 55 25 1  B 55 25 45 25 1"}) {
    SCOPED_TRACE(steps);
    const Finding f = RunOps(Parse(steps), 1);
    for (const std::string& x : f.faults) ADD_FAILURE() << "step " << f.step + 1 << ": " << x;
  }
  g_ZorLoadVersion = 0;
}

}  // namespace
