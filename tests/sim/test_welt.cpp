#include <climits>
#include <cstdio>
#include <filesystem>
#include <string>
#include <unordered_set>
#include <vector>

#include "framework/qno_log.h"
#include "sim/sim_error.h"
#include "sim_test_city.h"
#include "sim_test_grid.h"
#include "sim_work_dir.h"
#include "support/test_support.h"

using simtest::TestParts;
using simtest::BuildWorldGrid;
using simtest::SomeTrips;
using simtest::TripSpec;

namespace {
void RunToIdle(CSimWelt& w, int countdown, int* calls = nullptr) {
  int n = 0;
  while (w.Computate(countdown) != 0) ++n;
  if (calls) *calls = n + 1;
}

// Reads "sim.sav" into a new world of its own parts.
void LoadSaved(CSimWelt& back) {
  ASSERT_TRUE(back.Create(nullptr));
  FILE* f = std::fopen("sim.sav", "rb");
  ASSERT_TRUE(back.Load(f));
  std::fclose(f);
}

struct WorldTest : ::testing::Test {
  void TearDown() override { SimCloseErrorLog(); }
};
}  // namespace

TEST_F(WorldTest, CreateComputesTheFirstHourAndOpensTheSecond) {
  TestParts parts;
  parts.definition = "NODE M6 2.5\nmore";
  CSimWelt w(&parts);
  ASSERT_TRUE(w.Create(nullptr));
  EXPECT_TRUE(parts.city->created);
  EXPECT_EQ(zortest::ReadFile("WTEMP.DEF"), "NODE M6 2.5\nmore");
  EXPECT_EQ(parts.readText, "NODE M6 2.5\n");
  EXPECT_NE(SimErrorLog(), nullptr);
  EXPECT_EQ(w.Date().TicksFromStart(), 6);
  EXPECT_EQ(w.ActiveSlot()->ID(), 1);
  EXPECT_EQ(w.EditingSlot()->ID(), 2);
  EXPECT_EQ(w.EditingSlot()->Date().Hour(), 7);
  EXPECT_EQ(parts.city->tripHours, std::vector<int>{6});
  EXPECT_EQ(parts.city->steppedHours, std::vector<int>{6});
  EXPECT_EQ(w.ComputateState(), 0);
  EXPECT_FALSE(w.Create(nullptr));  // once only
  EXPECT_NE(w.pCyberNet(), nullptr);
  w.Destroy();
  EXPECT_EQ(parts.netDeletes, 1);
  EXPECT_EQ(w.pCyberNet(), nullptr);
}

TEST_F(WorldTest, CreateFailsWithoutTheNetworkDefinitionOrCityModel) {
  TestParts noText;
  noText.definition = nullptr;
  CSimWelt a(&noText);
  EXPECT_FALSE(a.Create(nullptr));
  EXPECT_FALSE(a.IsValid());
  CSimWelt b(nullptr);
  EXPECT_FALSE(b.Create(nullptr));
  EXPECT_EQ(b.Computate(1), 0);
  EXPECT_EQ(b.StartNextIntervall(true), 0);
  EXPECT_EQ(b.AddCrossing(0), 0);
  EXPECT_FALSE(b.SetStreetVls(1, true));
  EXPECT_EQ(b.Date().TicksFromStart(), 5);
}

TEST_F(WorldTest, NoSimulationStartsOnANetworkNotWrittenOrReadWhole) {
  TestParts unreadable;
  unreadable.readSucceeds = false;
  CSimWelt a(&unreadable);
  EXPECT_FALSE(a.Create(nullptr));
  EXPECT_FALSE(a.IsValid());
  EXPECT_EQ(SimLastError(), 2);
  EXPECT_EQ(a.StartNextIntervall(true), 0);
  SimCloseErrorLog();
  EXPECT_NE(zortest::ReadFile("sim.err").find("Fehler 2: Fehler in CSimWelt::Create(): Wirkungsnetz nicht gelesen"),
            std::string::npos);

  // A full disk cuts the definition file: it is not read at all.
  const std::string big(8192, 'x');
  TestParts cut;
  cut.definition = big.c_str();
  CSimWelt b(&cut);
  {
    zortest::DiskLimit full(1024);
    EXPECT_FALSE(b.Create(nullptr));
  }
  EXPECT_FALSE(b.IsValid());
  EXPECT_EQ(cut.readText, "") << "the network read nothing";
  SimCloseErrorLog();
  EXPECT_NE(zortest::ReadFile("sim.err").find("WTEMP.DEF nicht geschrieben"), std::string::npos);
}

TEST_F(WorldTest, AnHourRunsFromStartToActivation) {
  TestParts parts;
  parts.trips[7] = {{1, 16, 10, SIM_MODE_CAR}, {16, 1, 4, SIM_MODE_CAR}};
  CSimWelt w(&parts);
  ASSERT_TRUE(w.Create(nullptr));
  BuildWorldGrid(w);
  EXPECT_EQ(w.StartNextIntervall(true), 2);
  EXPECT_EQ(w.ComputateState(), 2);
  EXPECT_EQ(w.StartNextIntervall(true), 0);  // an hour is already computing
  EXPECT_EQ(w.EditingSlot()->Date().Hour(), 8);
  int pass = 0;
  EXPECT_EQ(w.ComputateSlotState(pass), 1);  // frozen, not yet switched
  // Countdown 1: every step is followed by one call that only counts down.
  EXPECT_EQ(w.Computate(1), 4);
  EXPECT_EQ(w.ComputateSlotState(pass), 2);
  EXPECT_EQ(w.Computate(1), 4);
  EXPECT_EQ(w.ComputateSlotState(pass), 2);  // nothing happened
  RunToIdle(w, 1);
  EXPECT_NE(w.ComputedSlot(), nullptr);
  EXPECT_EQ(w.Date().Hour(), 6);  // not yet activated
  EXPECT_TRUE(w.ActivateCalculatedSlot());
  EXPECT_FALSE(w.ActivateCalculatedSlot());
  EXPECT_EQ(w.Date().Hour(), 7);
  EXPECT_EQ(parts.city->steppedHours, (std::vector<int>{6, 7}));
  EXPECT_EQ(parts.city->parkingCalls, 1);  // hour 7
  EXPECT_EQ(parts.city->statSlots.back(), w.ActiveSlot());
  // 1 -> 16 on the grid, 16 -> 1 back: every street out of 1 and into 1 is
  // on one of the two routes.
  EXPECT_EQ(w.CarFlow(1) + w.CarFlow(3), 10);  // the streets leaving crossing 1 east and south
  EXPECT_EQ(w.CarFlow(2) + w.CarFlow(4), 4);   // and those entering it
  EXPECT_EQ(w.StreetTravelTime(1), static_cast<int>(w.ActiveSlot()->GetStreet(1)->TravelTime()));
  EXPECT_EQ(w.StreetCapacity(1), 1200);
  EXPECT_EQ(w.StreetLength(1), 310);
  EXPECT_EQ(w.GetStreet(1, 2), w.ActiveSlot()->GetStreet(1));
  EXPECT_EQ(w.GetFirstCrossing(0)->Key(), 0);
  EXPECT_EQ(w.GetStreet(1, 7), nullptr);
}

TEST_F(WorldTest, AfterHourTwentyComesFiveOfTheNextYear) {
  TestParts parts;
  CSimWelt w(&parts);
  ASSERT_TRUE(w.Create(nullptr));
  std::vector<int> hours;
  for (int i = 0; i < 16; ++i) {
    w.StartNextIntervall(true);
    RunToIdle(w, 0);
    w.ActivateCalculatedSlot();
    hours.push_back(w.Date().Hour() + 100 * w.Date().Year());
  }
  EXPECT_EQ(hours, (std::vector<int>{7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 105, 106}));
  EXPECT_EQ(w.Date().TicksFromStart(), 24 + 6);
  // The city model hears the whole date, so that it can tell a game's first
  // hours from the same hours of a later day.
  EXPECT_EQ(parts.city->steppedHours.back(), 24 + 6);
  EXPECT_EQ(parts.city->parkingCalls, 2);  // 7 and 14
}

TEST_F(WorldTest, EditingEntryPointsReportWhatTheSlotDid) {
  TestParts parts;
  CSimWelt w(&parts);
  ASSERT_TRUE(w.Create(nullptr));
  EXPECT_EQ(w.AddCrossing(5), 5);
  EXPECT_EQ(w.AddCrossing(0), 6);
  EXPECT_EQ(w.AddCrossing(5), 0);  // taken
  EXPECT_EQ(w.AddStreet(5, 1, 6, 3, 200, 0), 1);
  EXPECT_EQ(w.AddStreet(5, 1, 6, 2, 200, 0), 0);  // side 1 of 5 is taken
  EXPECT_EQ(w.AddStreet(6, 3, 5, 1, 200, 0), 3);  // the refused id stays used
  EXPECT_TRUE(w.SetStreetCapacity(1, 800));
  EXPECT_FALSE(w.SetStreetCapacity(42, 800));
  EXPECT_FALSE(w.SetStreetVelocity(42, 10.0));
  EXPECT_FALSE(w.SetStreetLength(42, 10));
  EXPECT_FALSE(w.SetStreetVls(42, true));
  short a = 0, b = 0;
  EXPECT_TRUE(w.GetCrossingsOfStreet(1, &a, &b));
  EXPECT_EQ(a, 5);
  EXPECT_EQ(b, 6);
  EXPECT_FALSE(w.GetCrossingsOfStreet(9, &a, &b));
  EXPECT_FALSE(w.RemoveCrossing(5));
  EXPECT_TRUE(w.RemoveStreet(1));
  EXPECT_TRUE(w.RemoveStreet(3));
  EXPECT_TRUE(w.RemoveCrossing(5));
  EXPECT_TRUE(w.IsCrossingValid(6));
  EXPECT_TRUE(w.SetCrossingType(6, SIM_CROSSING_SIGNAL));
  EXPECT_TRUE(w.SetNW_GoTime(6, 50));
  EXPECT_FALSE(w.SetNE_GoTime(77, 50));

  // The player's signal outlives the hour.
  w.StartNextIntervall(true);
  RunToIdle(w, 0);
  w.ActivateCalculatedSlot();
  CSimCrossing* c = w.EditingSlot()->GetCrossing(6);
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->CrossingType(), SIM_CROSSING_SIGNAL);
  EXPECT_EQ(c->NW_GoTime(), 50);
}

// Computes the next hour and makes it the active one.
void TurnHour(CSimWelt& w) {
  w.StartNextIntervall(false);
  RunToIdle(w, 0);
  ASSERT_TRUE(w.ActivateCalculatedSlot());
}

TEST_F(WorldTest, OnceTheHighestIdIsGivenFreedIdsAreGivenAgain) {
  TestParts parts;
  CSimWelt w(&parts);
  ASSERT_TRUE(w.Create(nullptr));
  // A loaded game may hold the highest id; the ids below it are free.
  ASSERT_EQ(w.AddCrossing(SHRT_MAX), SHRT_MAX);
  const int a = w.AddCrossing(0);
  const int b = w.AddCrossing(0);
  ASSERT_GT(a, 0);
  ASSERT_GT(b, 0);
  EXPECT_NE(a, b);
  EXPECT_NE(a, SHRT_MAX);
  const auto ca = static_cast<short>(a), cb = static_cast<short>(b);
  ASSERT_EQ(w.AddStreet(ca, 0, cb, 0, 100, SHRT_MAX), SHRT_MAX);
  const int kept = w.AddStreet(ca, 1, cb, 1, 100, 0);
  ASSERT_GT(kept, 0);

  // Build and remove, twice round every id, a new hour now and then: every
  // id given is new to the streets of every hour the world holds, and a
  // removed one is not given again before its hour is gone.
  std::unordered_set<int> hour;    // the ids removed since the hour turned
  std::unordered_set<int> before;  // those of the hour before, still held
  for (int i = 0; i < 2 * SHRT_MAX + 100; ++i) {
    const int id = w.AddStreet(cb, 3, ca, 3, 100, 0);
    ASSERT_GT(id, 0) << "step " << i;
    ASSERT_NE(id, SHRT_MAX);
    ASSERT_NE(id, kept);
    ASSERT_EQ(hour.count(id), 0u) << "id " << id << " given again in its hour";
    ASSERT_EQ(before.count(id), 0u) << "id " << id << " given again while the hour before holds it";
    CSimStreet* s = w.EditingSlot()->GetStreet(static_cast<short>(id));
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->pStartCrossing()->ID(), b);
    ASSERT_TRUE(w.RemoveStreet(static_cast<short>(id)));
    hour.insert(id);
    if (i % 5000 == 4999) {
      TurnHour(w);
      before = std::move(hour);
      hour.clear();
    }
  }
  // A removed crossing's id comes again after the hours that held it.
  ASSERT_TRUE(w.RemoveCrossing(SHRT_MAX));
  for (int i = 0; i < 3; ++i) TurnHour(w);
  bool again = false;
  for (int i = 0; i < SHRT_MAX && !again; ++i) {
    const int c = w.AddCrossing(0);
    ASSERT_GT(c, 0);
    ASSERT_TRUE(c != a && c != b) << c;
    again = c == SHRT_MAX;
  }
  EXPECT_TRUE(again);
}

TEST_F(WorldTest, WhenEveryIdIsTakenNoneIsGivenAndTheWorldSaysSo) {
  TestParts parts;
  CSimWelt w(&parts);
  ASSERT_TRUE(w.Create(nullptr));
  EXPECT_TRUE(w.HasFreeIds(8, 64));
  for (int i = 1; i <= SHRT_MAX - 3; ++i) ASSERT_EQ(w.AddCrossing(0), i);
  EXPECT_TRUE(w.HasFreeIds(3, 0));
  EXPECT_FALSE(w.HasFreeIds(4, 0));
  for (int i = 0; i < 3; ++i) ASSERT_GT(w.AddCrossing(0), 0);
  EXPECT_FALSE(w.HasFreeIds(1, 0));
  EXPECT_TRUE(w.HasFreeIds(0, 64));
  EXPECT_EQ(w.AddCrossing(0), 0);
  // Removed ids stay taken for the rest of their hour.
  for (short id = 1; id <= 2; ++id) ASSERT_TRUE(w.RemoveCrossing(id));
  EXPECT_FALSE(w.HasFreeIds(1, 0));
  EXPECT_EQ(w.AddCrossing(0), 0);
}

TEST_F(WorldTest, TheDateAndTheCityAreSavedAndLoaded) {
  TestParts parts;
  CSimWelt w(&parts);
  ASSERT_TRUE(w.Create(nullptr));
  for (int i = 0; i < 5; ++i) {
    w.StartNextIntervall(true);
    RunToIdle(w, 0);
    w.ActivateCalculatedSlot();
  }
  ASSERT_EQ(w.Date().TicksFromStart(), 11);
  FILE* f = std::fopen("sim.sav", "wb");
  ASSERT_TRUE(w.Save(f));
  std::fclose(f);
  EXPECT_EQ(zortest::ReadFile("sim.sav"), std::string("\x0b\0\0\0CITY", 8));

  TestParts parts2;
  CSimWelt back(&parts2);
  ASSERT_NO_FATAL_FAILURE(LoadSaved(back));
  EXPECT_EQ(back.Date().TicksFromStart(), 11);
  EXPECT_EQ(back.EditingSlot()->Date().TicksFromStart(), 12);
  EXPECT_EQ(parts2.city->steppedHours.size(), 1u);  // the load stepped no model
  // The next start computes the hour after the loaded one, as the saved
  // game would have, not the loaded hour a second time.
  back.StartNextIntervall(true);
  EXPECT_EQ(back.ComputingSlot()->Date().TicksFromStart(), 12);
  EXPECT_EQ(back.EditingSlot()->Date().TicksFromStart(), 13);
}

TEST_F(WorldTest, AGameLoadedAtTheDaysLastHourGoesOnWithHourFiveOfTheNextDay) {
  TestParts parts;
  CSimWelt w(&parts);
  ASSERT_TRUE(w.Create(nullptr));
  while (w.Date().Hour() != 20) {
    w.StartNextIntervall(true);
    RunToIdle(w, 0);
    w.ActivateCalculatedSlot();
  }
  const int saved = w.Date().TicksFromStart();
  FILE* f = std::fopen("sim.sav", "wb");
  ASSERT_TRUE(w.Save(f));
  std::fclose(f);
  TestParts parts2;
  CSimWelt back(&parts2);
  ASSERT_NO_FATAL_FAILURE(LoadSaved(back));
  EXPECT_EQ(back.Date().TicksFromStart(), saved);
  EXPECT_EQ(back.EditingSlot()->Date().TicksFromStart(), saved + 9);
  EXPECT_EQ(back.EditingSlot()->Date().Hour(), 5);
}

TEST_F(WorldTest, AFailingCityLoadFailsTheWholeLoad) {
  TestParts parts;
  CSimWelt w(&parts);
  ASSERT_TRUE(w.Create(nullptr));
  FILE* f = std::fopen("sim.sav", "wb");
  w.Save(f);
  std::fclose(f);
  parts.city->throwOnLoad = true;
  f = std::fopen("sim.sav", "rb");
  EXPECT_FALSE(w.Load(f));
  std::fclose(f);
  EXPECT_NE(zortest::ReadFile("sim.err").find("kaputt"), std::string::npos);

  f = std::fopen("short.sav", "wb");
  std::fputc(1, f);
  std::fclose(f);
  f = std::fopen("short.sav", "rb");
  parts.city->throwOnLoad = false;
  EXPECT_FALSE(w.Load(f));  // a truncated date is no date
  std::fclose(f);
}

TEST_F(WorldTest, SimLogLinesNameWhatTheyAreAboutAndFollowThoseOfEarlierStarts) {
  zortest::WriteFile("sim.err", "Fehler 8: from an earlier start\n");
  TestParts parts;
  CSimWelt w(&parts);
  ASSERT_TRUE(w.Create(nullptr));
  BuildWorldGrid(w);
  EXPECT_FALSE(w.RemoveStreet(999));
  // Crossing 1 already sends street 1 out of its side 1.
  EXPECT_EQ(w.AddStreet(1, 1, 2, 3, 300, 0), 0);
  SimCloseErrorLog();
  SimSetError(5, "Fehler in CSimWelt::Date()");  // the next start
  SimCloseErrorLog();
  EXPECT_EQ(zortest::ReadFile("sim.err"),
            "Fehler 8: from an earlier start\n"
            "Fehler 41: Fehler in CSimTrafficSlot::RemoveStreet() (slot 2, street 999)\n"
            "Fehler 24: Fehler in CSimWelt::RemoveStreet() (street 999)\n"
            "Fehler 23: Fehler in CSimCrossing::AddOutStreet() (crossing 1, side 1 held by street 1)\n"
            "Fehler 23: Fehler in CSimStreet::Create() (street 49 from crossing 1 side 1 to crossing 2 side 3)\n"
            "Fehler 23: Fehler in CSimWelt::AddStreet() (street 49 from crossing 1 to crossing 2)\n"
            "Fehler 5: Fehler in CSimWelt::Date()\n");
}

TEST_F(WorldTest, SimLogKeepsItsNewestLinesWithinItsBound) {
  // A log from before the bound, already past it, is moved aside at once.
  zortest::WriteFile("sim.err", std::string(kSimErrorLogLimit + 10, 'o'));
  SimSetError(1, "Zeile", "line %d", 0);
  EXPECT_EQ(zortest::ReadFile("sim.err"), "Fehler 1: Zeile (line 0)\n");
  EXPECT_EQ(std::filesystem::file_size(kSimErrorLogOldName), static_cast<uintmax_t>(kSimErrorLogLimit + 10));
  // The game changes its directory while the log is open; the log stays
  // where it was opened. Two and a half limits' worth of lines:
  const std::filesystem::path home = std::filesystem::current_path();
  std::filesystem::create_directory("elsewhere");
  std::filesystem::current_path("elsewhere");
  const std::string text = "Zeile " + std::string(200, '-');
  int last = 0;
  for (long written = 0; written < kSimErrorLogLimit * 5 / 2; written += 230)
    SimSetError(1, text.c_str(), "line %d", ++last);
  std::filesystem::current_path(home);
  SimCloseErrorLog();
  EXPECT_FALSE(std::filesystem::exists("elsewhere/sim.err"));
  const std::string older = zortest::ReadFile(kSimErrorLogOldName), newer = zortest::ReadFile("sim.err");
  EXPECT_LE(older.size(), static_cast<size_t>(kSimErrorLogLimit));
  EXPECT_LE(newer.size(), static_cast<size_t>(kSimErrorLogLimit));
  // Between them the two files hold at least a limit's worth of the newest
  // lines, in order and without a gap, up to the last one written.
  EXPECT_GT(older.size() + newer.size(), static_cast<size_t>(kSimErrorLogLimit));
  const std::string all = older + newer;
  int expect = -1;
  for (size_t at = 0; at < all.size();) {
    const size_t end = all.find('\n', at);
    ASSERT_NE(end, std::string::npos);
    int n = -1;
    const std::string head = "Fehler 1: " + text + " (line ";
    ASSERT_EQ(all.compare(at, head.size(), head), 0) << all.substr(at, 40);
    ASSERT_EQ(std::sscanf(all.c_str() + at + head.size(), "%d)", &n), 1);
    if (expect >= 0) {
      ASSERT_EQ(n, expect);
    }
    expect = n + 1;
    at = end + 1;
  }
  EXPECT_EQ(expect, last + 1);
}

// Programs other than the game start the simulation in their own directory.
TEST_F(WorldTest, ToolsKeepTheSimulationsFilesInTheirOwnDirectory) {
  namespace fs = std::filesystem;
  const fs::path here = fs::current_path();
  TestParts parts;
  CSimWelt w(&parts);
  ASSERT_TRUE(simtest::InSimWorkDir([&] { return w.Create(nullptr); }));
  EXPECT_EQ(fs::current_path(), here);
  ASSERT_NE(simtest::SimWorkDir(), nullptr);
  const fs::path dir = simtest::SimWorkDir();
  EXPECT_NE(dir, here);
  EXPECT_TRUE(fs::exists(dir / "WTEMP.DEF"));
  // The log stays open there for the reports that follow.
  EXPECT_FALSE(w.RemoveStreet(999));
  SimCloseErrorLog();
  EXPECT_FALSE(fs::exists("WTEMP.DEF"));
  EXPECT_FALSE(fs::exists("sim.err"));
  EXPECT_NE(zortest::ReadFile((dir / "sim.err").string()).find("(street 999)"), std::string::npos);
}

TEST_F(WorldTest, TwoRunsWithTheSameInputGiveTheSameFlows) {
  auto run = [](std::vector<int>& flows) {
    zortest::Clock().Set(0);
    zor_srandom(12345);
    TestParts parts;
    parts.trips[7] = SomeTrips(500, 17);
    parts.trips[8] = SomeTrips(300, 4);
    CSimWelt w(&parts);
    ASSERT_TRUE(w.Create(nullptr));
    BuildWorldGrid(w);
    for (int h = 0; h < 2; ++h) {
      w.StartNextIntervall(true);
      RunToIdle(w, 3);
      w.ActivateCalculatedSlot();
      for (short s = 1; s <= 48; ++s) flows.push_back(w.CarFlow(s));
      CSimCrossing* c = w.ActiveSlot()->GetCrossing(6);
      for (int i = 0; i < 4; ++i)
        for (int o = 0; o < 4; ++o) flows.push_back(c->CarFlow(i, o));
    }
  };
  std::vector<int> a, b;
  run(a);
  run(b);
  ASSERT_EQ(a.size(), 2u * (48 + 16));
  int loaded = 0;
  for (int v : a) loaded += v;
  EXPECT_GT(loaded, 0);
  EXPECT_EQ(a, b);
}

TEST_F(WorldTest, AFullDiskUnderTheSimLogIsReportedOnceUntilALineGoesThrough) {
  zortest::WriteFile("sim.err", std::string(4096, 'o') + "\n");
  SimEnsureErrorLog();
  OpenErrorLog("errors.log");
  {
    zortest::DiskLimit full(4097);
    SimSetError(1, "Zeile eins");
    SimSetError(2, "Zeile zwei");
  }
  EXPECT_EQ(SimLastError(), 2) << "the game goes on without the log";
  CloseErrorLog();
  const std::string logged = zortest::ReadFile("errors.log");
  const std::string said = "Unable to write";
  const size_t at = logged.find(said);
  ASSERT_NE(at, std::string::npos) << logged;
  EXPECT_NE(logged.find("sim.err", at), std::string::npos);
  EXPECT_EQ(logged.find(said, at + 1), std::string::npos) << "once, not at every line";
  // With room again the next line is written behind what the file holds.
  SimSetError(3, "Zeile drei");
  SimCloseErrorLog();
  EXPECT_EQ(zortest::ReadFile("sim.err"), std::string(4096, 'o') + "\nFehler 3: Zeile drei\n");
}
