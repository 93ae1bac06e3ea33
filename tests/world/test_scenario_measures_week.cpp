// The services without buildings of their own map, each run for a week
// from its page in the measures group: the advice centre, the travel
// assistant on cell phones and passive route planning. The player sets what
// the page offers with its step buttons and starts a campaign on the
// campaigns page; then every hourly turn of the week is recomputed from what
// the measure read at that moment (people, the network's values, its users
// before the turn): the money it books, the campaign's end and the
// awareness it brings, the users' step toward their potential and the quote,
// and every closing of the year. Last, the page's figures are the model's.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "measures/preise.h"
#include "scenario_measures_week.h"

namespace {

using namespace zortest;

constexpr int kCentreGraphic = 32456;
constexpr int kPeople = 40000;

// The centre of the town, built as the palette builds it.
void BuildCentre(CZorvaWorld& world) {
  ASSERT_NE(world.CreateObject(OBJ_ADVICE_CENTRE, kCentreGraphic, CIsoRichtung(0), 70, 50,
                               static_cast<ESimLocationHeight>(0), nullptr, 0, nullptr, 0, -1),
            nullptr);
}


TEST(ScenarioMeasuresWeek, AnAdviceCentreWinsTheShareItsPriceAndCampaignSetHourByHour) {
  std::filesystem::create_directories("SaveGame");
  MeasuresWeekWorld* world = nullptr;
  Scenario game([&] { return world = new MeasuresWeekWorld; });
  ASSERT_NO_FATAL_FAILURE(PeopleInTown(game, kPeople));
  CDataExchange& dx = *world->GetDataExchange();
  auto& centre = *world->centre;

  ASSERT_NO_FATAL_FAILURE(OpenMeasures(game));
  ASSERT_NO_FATAL_FAILURE(OpenPage(game, kCentreTab));
  EXPECT_EQ(WindowOf(81)->GetHinweisWindow(), 1) << "no centre yet: the companion page shows";
  ASSERT_NO_FATAL_FAILURE(BuildCentre(*world));
  // The centre's building price from the price table is its first cost.
  EXPECT_EQ(dx.GetVarValue("MZ.COST"), static_cast<int>(CPreise::GetPreis(32, 0)));
  EXPECT_EQ(WindowOf(81)->GetHinweisWindow(), 0);
  // Two steps down on the price of a consultation, from 2.5 to 1.5.
  for (int i = 0; i < 2; ++i) ClickOnPage(game, 243 + 4, 157 + 8);
  const float price = centre.Block().price;
  EXPECT_FLOAT_EQ(price, 1.5f);
  EXPECT_EQ(Shown(81, "MZ.PRICE.BERATUNG"), Formatted(VAR_FLOAT, price));
  // The radio campaign, started by its switch on the campaigns page.
  ASSERT_NO_FATAL_FAILURE(StartCampaign(game, kCentreRow, kRadioColumn, "MZ.ADRADIO", "MZ.COST", 250000, kCentreTab));

  // The scenario's own account of the campaign and the awareness.
  CampaignTrack radio{true, centre.Block().radioProgress};
  float awareness = 0.0f;
  SZorviZentraleBlock was{};
  double users = 0, income = 0, expenses = 0, potential = 0;
  int grew = 0;
  centre.beforeTurn = [&](const STime& now, const STime& last) {
    was = centre.Block();
    const double elapsed = Elapsed(now, last);
    if (radio.Advance(elapsed)) awareness += 0.2f;
    income = was.income + std::trunc(was.users * 30.0 * elapsed * was.price);
    expenses = was.expenses + std::trunc(was.users * 100.0 * elapsed);
    const double a = std::min(static_cast<double>(awareness), 1.0);
    const double share = ((1.0 - was.price / 5.0) * 0.5 + a * 0.5) * 15.0;
    potential = People() * share / 100.0;
    users = std::clamp(static_cast<double>(was.users), 0.0, potential);
    if (users < potential && elapsed > 0) {
      const double diff = potential - users;
      users += std::min(diff / ((1.0 - a) * 4.0 + 1.0) * 3.0 * elapsed, diff);
    }
  };
  centre.afterTurn = [&](const STime& now, const STime&) {
    const SZorviZentraleBlock& b = centre.Block();
    EXPECT_NEAR(b.income, income, 1.0) << now.year << "/" << now.hour;
    EXPECT_NEAR(b.expenses, expenses, 1.0) << now.year << "/" << now.hour;
    EXPECT_EQ(b.balance, b.income - b.expenses);
    EXPECT_EQ(b.radio != 0, radio.running) << now.year << "/" << now.hour;
    EXPECT_FLOAT_EQ(b.radioProgress, radio.progress);
    EXPECT_FLOAT_EQ(b.awareness, awareness);
    EXPECT_NEAR(b.users, users, 1e-5 * potential + 1e-3) << now.year << "/" << now.hour;
    EXPECT_NEAR(Var(centre, "MZ.USERQUOTE"), b.users * 100.0 / People(), 1e-4);
    grew += b.users > was.users;
  };
  // The centre's year closes without any loss of awareness.
  centre.beforeYear = [&](const STime&, const STime&) { was = centre.Block(); };
  centre.afterYear = [&](const STime&, const STime&) {
    const SZorviZentraleBlock& b = centre.Block();
    EXPECT_EQ(b.lastBalance, was.balance);
    EXPECT_EQ(b.income, 0);
    EXPECT_EQ(b.expenses, 0);
    EXPECT_EQ(b.balance, 0);
    EXPECT_EQ(b.awareness, was.awareness);
  };

  ASSERT_NO_FATAL_FAILURE(RunWeek(game));
  centre.beforeTurn = centre.afterTurn = centre.beforeYear = centre.afterYear = nullptr;
  EXPECT_GE(centre.closings, 7);
  EXPECT_GE(centre.turns, 7 * 15);
  EXPECT_GT(grew, 20) << "the users grew through the week";
  EXPECT_FALSE(radio.running) << "the campaign ran its year";
  EXPECT_FLOAT_EQ(centre.Block().awareness, 0.2f);
  // After the campaign the potential is (0.35 + 0.1) x 15 percent of the
  // people, and a week brings the users close to it.
  EXPECT_GT(centre.Block().users, 0.9 * People() * 0.0675);
  EXPECT_LE(centre.Block().users, People() * 0.0675 * (1 + 1e-6));

  // The page shows the model's figures.
  Settle(game);
  ASSERT_TRUE(game.IsOpen(81));
  for (const char* key : {"MZ.INCOME", "MZ.COST", "MZ.BILANZ"})
    EXPECT_EQ(Shown(81, key), Formatted(VAR_INT, dx.GetVarValue(key))) << key;
  EXPECT_EQ(Shown(81, "MZ.USERQUOTE"), Formatted(VAR_FLOAT, dx.GetVarValue("MZ.USERQUOTE")));
  EXPECT_GT(dx.GetVarValue("MZ.INCOME"), 0);
  game.Shot("measures-week-centre");
}

TEST(ScenarioMeasuresWeek, TheTravelAssistantFollowsTheCentreAndItsPricesHourByHour) {
  std::filesystem::create_directories("SaveGame");
  MeasuresWeekWorld* world = nullptr;
  Scenario game([&] { return world = new MeasuresWeekWorld; });
  ASSERT_NO_FATAL_FAILURE(PeopleInTown(game, kPeople));
  CDataExchange& dx = *world->GetDataExchange();
  auto& pta = *world->assistant;

  // Without the centre's data and without masts the assistant's page is
  // covered by its companion; the centre uncovers it.
  ASSERT_NO_FATAL_FAILURE(OpenMeasures(game));
  ASSERT_NO_FATAL_FAILURE(OpenPage(game, kAssistantTab));
  EXPECT_EQ(WindowOf(90)->GetHinweisWindow(), 1);
  ASSERT_NO_FATAL_FAILURE(BuildCentre(*world));
  EXPECT_EQ(WindowOf(90)->GetHinweisWindow(), 0);
  // The monthly price one step down (10 to 9), the price per query one step
  // down (0.5 to 0.25), the phone subsidy three steps up (to 150).
  ClickOnPage(game, 244 + 4, 187 + 9);
  ClickOnPage(game, 244 + 4, 217 + 9);
  for (int i = 0; i < 3; ++i) ClickOnPage(game, 244 + 45 + 4, 279 + 9);
  EXPECT_EQ(dx.GetVarValue("PTA.PRICE.MONTH"), 9);
  EXPECT_EQ(dx.GetVarValue("PTA.PRICE.ABFRAGE"), 0.25);
  EXPECT_EQ(dx.GetVarValue("PTA.HANDY.SUB"), 150);
  EXPECT_EQ(Shown(90, "PTA.HANDY.SUB"), Formatted(VAR_INT, 150));
  // The television campaign, from the campaigns page.
  ASSERT_NO_FATAL_FAILURE(StartCampaign(game, kAssistantRow, kTelevisionColumn, "PTA.ADVERTISMENT.TELEVISION",
                                        "PTA.COST", 500000, kAssistantTab));

  CampaignTrack television{true, 0.0f};
  float awareness = pta.GetAwareness();
  double users = 0, income = 0, expenses = 0, balance = 0, quality = 0, quote = 0, potential = 0;
  int grew = 0, withQuality = 0;
  pta.beforeTurn = [&](const STime& now, const STime& last) {
    const double elapsed = Elapsed(now, last);
    const double before = pta.GetUsers(), monthly = Var(pta, "PTA.PRICE.MONTH"), query = Var(pta, "PTA.PRICE.ABFRAGE"),
                 subsidy = Var(pta, "PTA.HANDY.SUB");
    const double x = before * elapsed;
    income = Var(pta, "PTA.INCOME") + std::trunc(x * query * 36.0 + x * monthly * 12.0);
    expenses = Var(pta, "PTA.COST") + std::trunc(x * 200.0);
    // The balance is drawn before the new subscribers' phones are paid.
    balance = income - expenses;
    // The advice centre and route guidance have turned this hour already.
    quality = (Value("MZ.USERQUOTE") + 2.0 * Value("AR.QUALITY")) / 3.0;
    const double people = People();
    users = quote = potential = 0.0;
    if (people > 0 && quality != 0.0) {
      const double a = std::min(static_cast<double>(awareness), 1.0);
      const double s = subsidy / 750.0;
      const double bracket = (1.0 - (monthly / 20.0 + query) * 0.5) * 0.4 + a * 0.1 + quality * 0.5 / 100.0;
      potential = people * bracket * Most("W.K9.2") / 100.0;
      users = std::clamp(before, 0.0, std::max(potential, 0.0));
      if (users < potential) {
        const double moved = Toward(users, potential, (3.0 - (2.0 * s + a)) * 4.0 / 3.0 + 1.0, elapsed);
        expenses += std::trunc((moved - users) * subsidy);
        users = moved;
      }
      quote = users / people;
    }
    // The campaign ends after the users moved: its factor holds until the
    // next turn.
    if (television.Advance(elapsed)) quote *= 0.14f;
  };
  pta.afterTurn = [&](const STime& now, const STime&) {
    EXPECT_NEAR(pta.GetUsers(), users, 1e-5 * potential + 1e-3) << now.year << "/" << now.hour;
    EXPECT_NEAR(Var(pta, "PTA.INCOME"), income, 1.0) << now.year << "/" << now.hour;
    EXPECT_NEAR(Var(pta, "PTA.COST"), expenses, 2.0) << now.year << "/" << now.hour;
    EXPECT_NEAR(Var(pta, "PTA.BILANZ"), balance, 1.0);
    EXPECT_NEAR(Var(pta, "PTA.QUALITY"), quality, 1e-5 * quality);
    EXPECT_NEAR(Var(pta, "PTA.USERQUOTE"), quote * 100.0, 1e-5 * quote * 100.0 + 1e-7);
    EXPECT_EQ(Var(pta, "PTA.ADVERTISMENT.TELEVISION") != 0, television.running);
    EXPECT_FLOAT_EQ(Var(pta, "PTA.ADVERTISMENT.TELEVISION.PERCENTREADY"), television.progress);
    // The assistant's campaigns leave its awareness alone.
    EXPECT_EQ(pta.GetAwareness(), awareness);
    grew += pta.GetUsers() > 0 && users > 0;
    withQuality += quality > 0;
  };
  WatchYearClosings(pta, "PTA.", "PTA.COST", awareness);

  ASSERT_NO_FATAL_FAILURE(RunWeek(game));
  pta.beforeTurn = pta.afterTurn = pta.beforeYear = pta.afterYear = nullptr;
  EXPECT_GE(pta.closings, 7);
  EXPECT_GT(withQuality, 7 * 14) << "the centre's users give the assistant its quality";
  EXPECT_GT(grew, 7 * 14) << "the assistant has subscribers through the week";
  EXPECT_FALSE(television.running);

  Settle(game);
  ASSERT_TRUE(game.IsOpen(90));
  for (const char* key : {"PTA.INCOME", "PTA.COST", "PTA.BILANZ", "PTA.QUALITY", "PTA.HANDY.COST"})
    EXPECT_EQ(Shown(90, key), Formatted(VAR_INT, dx.GetVarValue(key))) << key;
  EXPECT_EQ(Shown(90, "PTA.USERQUOTE"), Formatted(VAR_FLOAT, dx.GetVarValue("PTA.USERQUOTE")));
  EXPECT_EQ(Shown(90, "PTA.PRICE.MONTH"), Formatted(VAR_INT, 9));
  EXPECT_GT(dx.GetVarValue("PTA.USERQUOTE"), 0.0);
  game.Shot("measures-week-assistant");
}

TEST(ScenarioMeasuresWeek, PassiveRoutePlanningSellsItsCdsAtThePagesPriceHourByHour) {
  std::filesystem::create_directories("SaveGame");
  MeasuresWeekWorld* world = nullptr;
  Scenario game([&] { return world = new MeasuresWeekWorld; });
  ASSERT_NO_FATAL_FAILURE(PeopleInTown(game, kPeople));
  CDataExchange& dx = *world->GetDataExchange();
  auto& par = *world->planning;

  // The CD one step dearer (22.5 to 27.5), the subsidy three steps up (to
  // 300): the page's second editor works apart from the first.
  ASSERT_NO_FATAL_FAILURE(OpenMeasures(game));
  ASSERT_NO_FATAL_FAILURE(OpenPage(game, kPlanningTab));
  ClickOnPage(game, 244 + 45 + 4, 157 + 9);
  for (int i = 0; i < 3; ++i) ClickOnPage(game, 244 + 45 + 4, 219 + 9);
  EXPECT_EQ(dx.GetVarValue("PAR.PRICE.NEWCD"), 27.5);
  EXPECT_EQ(dx.GetVarValue("PAR.SYSTEM.SUB"), 300);
  // The print campaign, from the campaigns page.
  ASSERT_NO_FATAL_FAILURE(
      StartCampaign(game, kPlanningRow, kPrintColumn, "PAR.ADVERTISMENT.PRINT", "PAR.COST", 150000, kPlanningTab));

  CampaignTrack print{true, 0.0f};
  float awareness = par.GetAwareness();
  double users = 0, income = 0, expenses = 0, balance = 0, quote = 0, potential = 0;
  int grew = 0, shrank = 0;
  PeriodFeed feed{"W.K1.2"};
  auto targetNow = [&] {
    const double a = std::min(static_cast<double>(awareness), 1.0);
    const double price = Var(par, "PAR.PRICE.NEWCD"), subsidy = Var(par, "PAR.SYSTEM.SUB");
    return Most("W.K1.2") * (subsidy * 0.4 / 750.0 + a * 0.2 + (1.0 - (price - 15.0) / 15.0) * 0.2 + 0.2);
  };
  par.beforeTurn = [&](const STime& now, const STime& last) {
    feed.BeforeTurn(now);
    const double elapsed = Elapsed(now, last);
    const double before = par.GetUsers(), price = Var(par, "PAR.PRICE.NEWCD"), subsidy = Var(par, "PAR.SYSTEM.SUB");
    if (print.Advance(elapsed)) awareness += 0.1f;
    income = Var(par, "PAR.INCOME") + std::trunc(2.0 * before * price * elapsed);
    expenses = Var(par, "PAR.COST") + std::trunc(before * 30.0 * elapsed);
    // The balance is drawn before the new users' subsidy is paid.
    balance = income - expenses;
    const double base = People() * Value("W.M7") / 1000.0;
    users = quote = potential = 0.0;
    if (base > 0) {
      potential = base * Value("W.K1.2") / 100.0;
      const double a = std::min(static_cast<double>(awareness), 1.0);
      const double pull = 2.0 * (subsidy / 850.0) + a;
      if (potential <= before) {
        users = Toward(before, potential, pull / 3.0 * 3.0 + 1.0, elapsed);
        shrank += users < before;
      } else {
        users = Toward(before, potential, (3.0 - pull) * 4.0 / 3.0 + 1.0, elapsed);
        if (users > before) expenses += std::trunc((users - before) * subsidy);
      }
      quote = users / base;
    }
  };
  par.afterTurn = [&](const STime& now, const STime&) {
    EXPECT_NEAR(par.GetUsers(), users, 1e-5 * potential + 1e-3) << now.year << "/" << now.hour;
    EXPECT_NEAR(Var(par, "PAR.INCOME"), income, 1.0) << now.year << "/" << now.hour;
    EXPECT_NEAR(Var(par, "PAR.COST"), expenses, 2.0) << now.year << "/" << now.hour;
    EXPECT_NEAR(Var(par, "PAR.BILANZ"), balance, 1.0);
    // A share, not a percentage.
    EXPECT_NEAR(Var(par, "PAR.USERQUOTE"), quote, 1e-5 * quote + 1e-9);
    EXPECT_LE(Var(par, "PAR.USERQUOTE"), 1.0);
    EXPECT_EQ(Var(par, "PAR.ADVERTISMENT.PRINT") != 0, print.running);
    EXPECT_FLOAT_EQ(Var(par, "PAR.ADVERTISMENT.PRINT.PERCENTREADY"), print.progress);
    EXPECT_EQ(par.GetAwareness(), awareness);
    grew += users > 0;
    feed.AfterTurn(now, targetNow());
  };
  WatchYearClosings(par, "PAR.", "PAR.COST", awareness);

  // Three days on the player makes the CD as dear as it gets and stops the
  // subsidy: the target falls at the next period and the users with it.
  ASSERT_NO_FATAL_FAILURE(RunDays(game, 3));
  world->SetPause(true);
  ClickOnPage(game, 244 + 45 + 4, 157 + 9);
  for (int i = 0; i < 3; ++i) ClickOnPage(game, 244 + 4, 219 + 9);
  EXPECT_EQ(dx.GetVarValue("PAR.PRICE.NEWCD"), 30);
  EXPECT_EQ(dx.GetVarValue("PAR.SYSTEM.SUB"), 0);
  world->SetPause(false);
  const float usersThen = par.GetUsers();
  ASSERT_NO_FATAL_FAILURE(RunDays(game, 4));
  ASSERT_NO_FATAL_FAILURE(RunToHour(game, 11));
  par.beforeTurn = par.afterTurn = par.beforeYear = par.afterYear = nullptr;
  EXPECT_LT(par.GetUsers(), usersThen) << "fewer drivers buy the dearer CD";
  EXPECT_GT(shrank, 10);
  EXPECT_GE(par.closings, 7);
  EXPECT_GE(feed.fed, 7 * 3) << "three periods a day";
  EXPECT_GT(grew, 7 * 12) << "drivers buy the CD through the week";
  EXPECT_FALSE(print.running);
  EXPECT_GT(par.GetAwareness(), 0.0f);

  Settle(game);
  ASSERT_TRUE(game.IsOpen(89));
  for (const char* key : {"PAR.INCOME", "PAR.COST", "PAR.BILANZ", "PAR.SYSTEM.COST", "PAR.PRICE.NEWCD", "PAR.SYSTEM.SUB"})
    EXPECT_EQ(Shown(89, key), Formatted(VAR_INT, dx.GetVarValue(key))) << key;
  EXPECT_EQ(Shown(89, "PAR.USERQUOTE"), Formatted(VAR_FLOAT, dx.GetVarValue("PAR.USERQUOTE")));
  EXPECT_GT(dx.GetVarValue("PAR.INCOME"), 0);
  game.Shot("measures-week-planning");
}

}  // namespace
