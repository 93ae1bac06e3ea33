#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "framework/zor_seams.h"
#include "model/finanzen.h"
#include "model/gott_modus.h"
#include "period_test_util.h"

using periodtest::At;
using periodtest::CityContext;
using periodtest::InputNet;
using periodtest::MapOwner;
using periodtest::RecordingExchange;

namespace {
struct Events : testing::Test {
  RecordingExchange dx;
  CityContext context;
  CSimCityModell city;
  MapOwner opnv;

  void SetUp() override {
    context.city = &city;
    dx.SetGrowthContext(&context);
    // Enough public transport that it is not missed.
    opnv.values = {{"OPNV.NET.LENGTH", 50}};
    dx.RegisterOwner("OPNV.", &opnv);
  }
  // A city of r residents with every place it needs.
  void WellServed(unsigned r) {
    city.AddResidents(r);
    city.AddHomes(2 * r + 10000);
    city.AddJobs(r + 4000);
    city.AddSchoolSeats(r);
    city.AddShops(r);
    city.AddLeisurePoints(r);
    dx.SetPeople(static_cast<int>(r));
  }
  int Count(int group) const {
    int n = 0;
    for (const auto& p : dx.posted) n += p.group == group ? 1 : 0;
    return n;
  }
};
}  // namespace

TEST(GlobalEvents, PopulationClassesHaveExclusiveBounds) {
  const int cases[][2] = {{0, -1},      {5000, -1},    {5001, 0},     {10000, 0},    {10001, 1},
                          {20001, 2},   {30001, 3},    {50000, 3},    {50001, 4},    {100001, 5},
                          {150001, 6},  {250001, 7},   {500000, 7},   {500001, 8},   {2000000, 8}};
  for (const auto& [people, pmi] : cases) EXPECT_EQ(CDataExchange::GetPMI(people), pmi) << people;
}

TEST_F(Events, ShortagesRaiseTheirEntryByPlacesAndWeighOnGrowth) {
  // 12000 residents and nothing else: every shortage, and too little
  // public transport for a town of that size.
  city.AddResidents(12000);
  dx.SetPeople(12000);
  dx.SetTargetPeople(20000);
  opnv.values["OPNV.NET.LENGTH"] = 10;
  dx.CreateGlobalEvents(At(7), At(6));
  for (int entry : {7, 9, 5, 2, 0}) EXPECT_TRUE(dx.Has(5, entry)) << entry;
  for (int entry : {8, 10, 6, 3, 1}) EXPECT_FALSE(dx.Has(5, entry)) << entry;
  EXPECT_TRUE(dx.Has(1, 11));
  // Shopping, schools and jobs weigh 2, leisure and housing 1, missing
  // public transport 10.
  EXPECT_EQ(dx.GetGrowthHindernis(), 2 + 1 + 2 + 2 + 1 + 10);

  // Places enough to count, but still short: the other entries.
  dx.posted.clear();
  city.AddHomes(12000);
  city.AddJobs(5000);
  city.AddSchoolSeats(300);
  city.AddShops(300);
  city.AddLeisurePoints(300);
  opnv.values["OPNV.NET.LENGTH"] = 11;
  dx.CreateGlobalEvents(At(12), At(11));
  for (int entry : {8, 10, 6, 3, 1}) EXPECT_TRUE(dx.Has(5, entry)) << entry;
  EXPECT_FALSE(dx.Has(1, 11));
  EXPECT_EQ(dx.GetGrowthHindernis(), 8);

  // At its target the city reports no shortage, however short it is.
  dx.posted.clear();
  dx.SetTargetPeople(12000);
  dx.CreateGlobalEvents(At(17), At(16));
  EXPECT_EQ(Count(5), 0);
  EXPECT_EQ(dx.GetGrowthHindernis(), 0);
}

TEST_F(Events, EachShortageRuleAtItsEdges) {
  WellServed(10000);
  EXPECT_EQ(dx.CheckForHousing() + dx.CheckForJobs() + dx.CheckForSchool() + dx.CheckForShopping() +
                dx.CheckForLeisure(),
            0);
  city.RemoveSchoolSeats(10000 - 1500);  // exactly 0.15 x R is enough
  EXPECT_EQ(dx.CheckForSchool(), 0);
  city.RemoveSchoolSeats(1);
  EXPECT_EQ(dx.CheckForSchool(), 1);
  city.AddConsumers(6501);  // more than 0.65 x shops
  EXPECT_EQ(dx.CheckForShopping(), 1);
  city.AddLeisurers(8000);  // exactly 0.8 x places is no shortage
  EXPECT_EQ(dx.CheckForLeisure(), 0);
  city.AddWorkers(11201);  // more than 0.8 x jobs
  EXPECT_EQ(dx.CheckForJobs(), 1);
  // Below 10000 homes every town is short of homes, however many of them
  // stand empty and whatever its jobs; from 10000 on only more residents
  // than 0.8 x homes make it so, and no home at all does.
  CSimCityModell small;
  context.city = &small;
  small.AddResidents(100);
  small.AddHomes(10000);
  EXPECT_EQ(dx.CheckForHousing(), 0) << "10000 homes, no job";
  small.RemoveHomes(1);
  EXPECT_EQ(dx.CheckForHousing(), 1) << "9999 homes, no job";
  small.AddJobs(6000);
  EXPECT_EQ(dx.CheckForHousing(), 1) << "9999 homes, jobs for all";
  small.AddHomes(1);
  small.AddResidents(7900);  // exactly 0.8 x homes is no shortage
  EXPECT_EQ(dx.CheckForHousing(), 0);
  small.AddResidents(1);
  EXPECT_EQ(dx.CheckForHousing(), 1);
  CSimCityModell empty;
  context.city = &empty;
  EXPECT_EQ(dx.CheckForHousing(), 1) << "no home at all";
}

// What holds a town below its target, as its growth adviser names it: the
// last shortage the events raise, but homes that still take newcomers only
// when nothing else holds the town, and never a shortage no event raised.
// Every small town hears that it needs homes, and their point weighs on its
// growth obstacle.
TEST_F(Events, TheGrowthAdviserNamesTheOneShortageThatHoldsTheTown) {
  const struct {
    const char* town;
    unsigned residents, homes, jobs, seats;
    std::vector<int> raised;  // entries of group 5
    int named;
    int obstacle;
  } towns[] = {
      // Homes only: nobody may move in, and the homes stand empty; the
      // jobs are what the player can give it.
      {"homes alone", 0, 5900, 0, 0, {2, 1}, 2, 3},
      {"homes alone, 10000 of them", 0, 10000, 0, 0, {2}, 2, 2},
      {"a few jobs", 300, 5900, 116, 0, {5, 3, 1}, 3, 5},
      // Jobs let newcomers in: the missing school holds the town, its free
      // homes less.
      {"no school", 2000, 8000, 5000, 0, {5, 1}, 5, 3},
      {"homes full", 2000, 2020, 5000, 0, {5, 1}, 1, 3},
      {"homes only short", 2000, 8000, 5000, 400, {1}, 1, 1},
      // Every seat taken, yet seats for 0.15 x R: no event, so nothing is
      // named.
      {"schools full", 2000, 20000, 5000, 300, {}, -1, 0},
  };
  for (const auto& t : towns) {
    SCOPED_TRACE(t.town);
    CSimCityModell town;
    context.city = &town;
    town.AddResidents(t.residents);
    town.AddHomes(t.homes);
    town.AddJobs(t.jobs);
    town.AddSchoolSeats(t.seats);
    town.AddScholars(t.seats);
    town.AddShops(t.residents + 1000);
    town.AddLeisurePoints(t.residents + 1000);
    dx.SetPeople(static_cast<int>(t.residents));
    dx.SetTargetPeople(15000);
    dx.posted.clear();
    dx.CreateGlobalEvents(At(7), At(6));
    std::vector<int> raised;
    for (const auto& p : dx.posted)
      if (p.group == 5) raised.push_back(p.entry);
    EXPECT_EQ(raised, t.raised);
    EXPECT_EQ(dx.GetGrowthShortage(), t.named);
    EXPECT_EQ(dx.GetGrowthHindernis(), t.obstacle);
  }
}

TEST_F(Events, EachPopulationClassIsAnnouncedOnceAndNotOnShrinking) {
  CMessage message;
  context.message = &message;
  WellServed(5000);
  dx.CreateGlobalEvents(At(7), At(6));
  EXPECT_EQ(Count(5), 0);
  city.AddResidents(1);
  dx.SetPeople(5001);
  dx.CreateGlobalEvents(At(12), At(11));
  EXPECT_TRUE(dx.Has(5, 13));
  EXPECT_EQ(message.GetLastPeopleSizeMessage(), 5001);
  dx.posted.clear();
  dx.CreateGlobalEvents(At(17), At(16));
  dx.SetPeople(4000);
  dx.CreateGlobalEvents(At(7, 4), At(6, 4));
  EXPECT_EQ(Count(5), 0);
  // A refused announcement is made again at the next period.
  dx.SetPeople(60000);
  dx.refuse = true;
  dx.CreateGlobalEvents(At(12, 4), At(11, 4));
  EXPECT_TRUE(dx.Has(5, 17));
  EXPECT_EQ(message.GetLastPeopleSizeMessage(), 5001);
  dx.refuse = false;
  dx.posted.clear();
  dx.CreateGlobalEvents(At(17, 4), At(16, 4));
  EXPECT_TRUE(dx.Has(5, 17));
  EXPECT_EQ(message.GetLastPeopleSizeMessage(), 60000);
}

TEST_F(Events, AQuoteMessageNeedsItsLeastChangeAMinuteAndFiveThousandPeople) {
  auto net = InputNet({}, 1.0e6,
                      "NodeBegin BasicNode Name K12.2 Value 0 MinSize 0 MaxSize 20 NodeEnd\n"
                      "NodeBegin BasicNode Name K12.3 Value 0 MinSize 0 MaxSize 20 NodeEnd\n");
  dx.SetCyberNet(net.get());
  WellServed(6000);
  const uint32_t start = kfx_GetTicks();
  dx.SetMicrocarLastChangeMessage(static_cast<int>(start));
  dx.SetQuoteMicrocarLastMessage(0.0f);
  auto period = [&](int hour) {
    dx.posted.clear();
    dx.CreateGlobalEvents(At(hour), At(hour - 1));
    return dx.Find(14, 0) ? 0 : dx.Find(14, 1) ? 1 : -1;
  };
  net->pNode("K12.2")->SetSize(2.0);
  EXPECT_EQ(period(7), -1);  // not a minute since the last one
  zortest::Clock().Advance(60001);
  net->pNode("K12.2")->SetSize(1.9);
  EXPECT_EQ(period(12), -1);  // 1.9 points is too little
  net->pNode("K12.2")->SetSize(2.0);
  EXPECT_EQ(period(17), 0);
  EXPECT_FLOAT_EQ(dx.Find(14, 0)->v1, 2.0f);
  EXPECT_FLOAT_EQ(dx.GetQuoteMicrocarLastMessage(), 0.02f);
  EXPECT_EQ(static_cast<uint32_t>(dx.GetMicrocarLastChangeMessage()), kfx_GetTicks());

  // A fall, once the minute is over; a refused one changes nothing.
  net->pNode("K12.2")->SetSize(0.0);
  EXPECT_EQ(period(7), -1);
  zortest::Clock().Advance(60001);
  dx.refuse = true;
  EXPECT_EQ(period(12), 1);
  EXPECT_FLOAT_EQ(dx.GetQuoteMicrocarLastMessage(), 0.02f);
  dx.refuse = false;
  EXPECT_EQ(period(17), 1);
  EXPECT_FLOAT_EQ(dx.GetQuoteMicrocarLastMessage(), 0.0f);

  // Below 5000 people neither quote nor growth messages.
  zortest::Clock().Advance(60001);
  net->pNode("K12.3")->SetSize(10.0);
  dx.SetPeople(4999);
  EXPECT_EQ(period(7), -1);
  EXPECT_EQ(Count(8), 0);
}

TEST_F(Events, GrowthWorriesTheAdviserOnlyInATownOfSize) {
  MapOwner indicators;
  dx.RegisterOwner("I.", &indicators);
  WellServed(13001);
  indicators.values["I.GROWTH"] = 0.46;
  dx.CreateGlobalEvents(At(7), At(6));
  EXPECT_TRUE(dx.Has(8, 5));
  indicators.values["I.GROWTH"] = 0.47;
  dx.CreateGlobalEvents(At(12), At(11));
  EXPECT_TRUE(dx.Has(8, 6));
  dx.posted.clear();
  indicators.values["I.GROWTH"] = 0.52;
  dx.CreateGlobalEvents(At(17), At(16));
  EXPECT_EQ(Count(8), 0);
  // Indicators that do not answer count as neutral growth, 0.5.
  indicators.values.clear();
  dx.CreateGlobalEvents(At(7, 4), At(6, 4));
  EXPECT_TRUE(dx.Has(8, 6));
}

// The same raising, once recorded and once handed to the real message
// system: what the record shows is what the player is shown.
TEST_F(Events, ARaisedEventReachesTheRealMessageSystemAsRecorded) {
  std::string texts = "@@startgroup\n";
  for (int group = 0; group <= 21; ++group) {
    if (group > 0) texts += "@@newgroup\n";
    for (int entry = 0; entry <= 6; ++entry)
      texts += "@\n*short " + std::to_string(group) + "/" + std::to_string(entry) + "\n#\n*long\n#\n";
  }
  std::filesystem::create_directories("period_texts");
  zortest::WriteFile("period_texts/MTG.GLA", texts);
  struct TextHost : CMessageHost {
    const char* GetTextDirectory() override { return "period_texts"; }
  } host;
  CMessage message(&host);
  context.message = &message;
  zortest::Clock().Set(400000);
  WellServed(3000);

  dx.CreateGlobalEvents(At(7), At(6));
  ASSERT_EQ(dx.posted.size(), 1u);
  EXPECT_TRUE(dx.Has(21, 6));

  CDataExchange real;
  real.SetGrowthContext(&context);
  real.RegisterOwner("OPNV.", &opnv);
  real.SetPeople(3000);
  real.CreateGlobalEvents(At(7), At(6));
  ASSERT_EQ(message.GetMaxMessage(), 1);
  ASSERT_NE(message.GetMessageE(0), nullptr);
  EXPECT_STREQ(message.GetMessageE(0), "short 21/6");
}

TEST_F(Events, ABankruptCityStopsTheGameButGodModeGoesOn) {
  CFinanzen finances;
  CGottModus god;
  dx.RegisterOwner("F.", &finances);
  context.god = &god;
  WellServed(13001);
  finances.SetVarData("F.KONTO", -400000000.0);
  ASSERT_TRUE(finances.IsPleite());
  dx.CreateGlobalEvents(At(7), At(6));
  ASSERT_EQ(dx.posted.size(), 1u);
  EXPECT_EQ(dx.posted[0].group, 20);
  EXPECT_EQ(dx.posted[0].entry, 14);
  EXPECT_FALSE(dx.posted[0].paced);
  EXPECT_EQ(context.opened, std::vector<int>{248});
  EXPECT_EQ(context.closed, (std::vector<int>{218, 217}));
  EXPECT_TRUE(context.paused);

  dx.posted.clear();
  god.SetGameModus(GAME_GOD);
  dx.CreateGlobalEvents(At(12), At(11));
  EXPECT_FALSE(dx.Has(20, 14));
  EXPECT_TRUE(dx.Has(21, 6));  // the other events as ever
}
