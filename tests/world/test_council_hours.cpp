// The council and the service measures in the running game's hours: the
// council books each hour's money once, its research takes the years its
// rules give, and passive route planning closes each year once, so that
// last year's balance stays for the finances and the statistics.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "model/stadt_verwaltung.h"
#include "model/statistik.h"
#include "world/scenario_measures_week.h"

namespace {

using namespace zortest;

double Council(CZorvaWorld& world, const char* name) {
  double v = 0.0;
  EXPECT_EQ(world.GetStadtVerwaltung()->GetVarData(name, &v), 0) << name;
  return v;
}

// Runs the game's turns until the simulated hour changes and through the
// turn that takes the new hour; the times of the hour left and the hour
// begun.
void RunOneHour(Scenario& game, STime& last, STime& now) {
  CZorvaWorld& world = game.World();
  CSimWelt* sim = world.GetSimWelt();
  last = STime::FromDate(sim->Date());
  for (int i = 0; i < 40000 && sim->Date().Hour() == last.hour; ++i) {
    Clock().Advance(Scenario::kFrameMs);
    world.OnPlayloopTurn();
    // The message that the town passed its growth target holds the game.
    if (world.IsPause() && game.IsOpen(236)) {
      world.DeActivateWindow(236);
      world.SetPause(false);
    }
  }
  now = STime::FromDate(sim->Date());
  ASSERT_NE(now.hour, last.hour);
  // The hour's turns of the council and the measures follow in the next
  // turn of the game.
  Clock().Advance(Scenario::kFrameMs);
  world.OnPlayloopTurn();
  ASSERT_EQ(sim->Date().Hour(), now.hour);
}

// Runs the game on into the next simulated day (a year of the game) and
// through the turn that closes the old one.
void RunIntoNextYear(Scenario& game) {
  ASSERT_NO_FATAL_FAILURE(RunDays(game, 1));
  Clock().Advance(Scenario::kFrameMs);
  game.World().OnPlayloopTurn();
}

TEST(CouncilHours, EachHourBooksTheWardensOnceAtTheirYearlyCost) {
  std::filesystem::create_directories("SaveGame");
  Scenario game;
  CZorvaWorld& world = game.World();
  ASSERT_NO_FATAL_FAILURE(PeopleInTown(game, 20000));
  ASSERT_EQ(world.GetStadtVerwaltung()->SetVarData("SV.TICKET.PERSON", 12), 0);
  STime last{}, now{};
  // The first hour after the change starts the count.
  ASSERT_NO_FATAL_FAILURE(RunOneHour(game, last, now));
  int booked = 0;
  for (int h = 0; h < 24; ++h) {
    const double before = Council(world, "SV.TICKET.PERSON.EXPENSES");
    ASSERT_NO_FATAL_FAILURE(RunOneHour(game, last, now));
    const double after = Council(world, "SV.TICKET.PERSON.EXPENSES");
    // The council's year closes after its hour: the new year starts at 0.
    if (now.year != last.year) {
      EXPECT_EQ(after, 0.0);
      continue;
    }
    const double dt = static_cast<double>(now.fyear) - last.fyear;
    EXPECT_EQ(after - before, std::floor(12 * 30000.0 * dt)) << now.year << "/" << now.hour;
    booked += after > before;
  }
  // Twelve wardens cost 360000 a year, a twelfth of it in each month's hour.
  EXPECT_GT(booked, 10);
}

TEST(CouncilHours, AResearchOfTwoYearsIsDoneAfterTwoYears) {
  std::filesystem::create_directories("SaveGame");
  Scenario game;
  CZorvaWorld& world = game.World();
  ASSERT_NO_FATAL_FAILURE(PeopleInTown(game, 20000));
  CStadtVerwaltung* council = world.GetStadtVerwaltung();
  ASSERT_EQ(Council(world, "SV.RES.EMISSION.1.DURATION.MAX"), 2.0);
  world.GetDataExchange()->VarAddValue("F.KONTO", 2.0 * Council(world, "SV.RES.EMISSION.1.COST"));
  ASSERT_EQ(council->SetVarData("SV.RES.EMISSION.1.ACTIVE", 1), 0);
  const float started = STime::FromDate(world.GetSimWelt()->Date()).fyear;
  STime last{}, now{};
  for (int h = 0; h < 80 && Council(world, "SV.RES.EMISSION.1.DURATION") < 2.0; ++h)
    ASSERT_NO_FATAL_FAILURE(RunOneHour(game, last, now));
  ASSERT_EQ(Council(world, "SV.RES.EMISSION.1.DURATION"), 2.0);
  // Done in the month that makes two years, not a year early; all of it
  // paid.
  EXPECT_GE(static_cast<double>(now.fyear) - started, 2.0 - 1e-4);
  EXPECT_LE(static_cast<double>(now.fyear) - started, 2.0 + 1.0 / 12.0 + 1e-4);
  EXPECT_EQ(Council(world, "SV.RES.EMISSION.1.COST"), 0.0);
}

TEST(CouncilHours, PassiveRoutePlanningClosesEachYearOnceAndKeepsItsBalance) {
  std::filesystem::create_directories("SaveGame");
  MeasuresWeekWorld* world = nullptr;
  Scenario game([&] { return world = new MeasuresWeekWorld; });
  ASSERT_NO_FATAL_FAILURE(PeopleInTown(game, 20000));
  auto& par = *world->planning;
  // A print campaign puts its price on the year's expenses.
  ASSERT_EQ(par.SetVarData("PAR.ADVERTISMENT.PRINT", 1), 0);
  ASSERT_GT(Var(par, "PAR.COST"), 0);
  double balance = 0.0;
  float awareness = -1.0f;
  int closings = 0;
  par.beforeYear = [&](const STime&, const STime&) {
    if (closings++ > 0) return;
    balance = Var(par, "PAR.INCOME") - Var(par, "PAR.COST");
    awareness = par.GetAwareness();
  };
  ASSERT_NO_FATAL_FAILURE(RunIntoNextYear(game));
  EXPECT_EQ(closings, 1);
  ASSERT_NE(balance, 0.0);
  EXPECT_EQ(Var(par, "PAR.LASTYEAR.BILANZ"), balance);
  EXPECT_EQ(par.GetAwareness(), awareness * 0.8f);
  // The statistics' finances record it at their next hour.
  ASSERT_NO_FATAL_FAILURE(RunToHour(game, 8));
  Clock().Advance(Scenario::kFrameMs);
  world->OnPlayloopTurn();
  EXPECT_EQ(closings, 1);
  EXPECT_EQ(Var(par, "PAR.LASTYEAR.BILANZ"), balance);
  EXPECT_EQ(world->GetStatistik()->GetSeries(68).werte[CStatistik::kSlots - 1], balance);
}

}  // namespace
