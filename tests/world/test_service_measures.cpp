// Park-and-ride, car sharing and the advice centre in the running game: a
// station beside a stop on a line, the buildings through the factory, the
// names the game model reads, a save and load, and what the measures' host
// promises in the game and in the measures' own tests.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <string>

#include "measures/advice_centre.h"
#include "measures/carsharing.h"
#include "measures/measure_test_host.h"
#include "measures/opnv.h"
#include "measures/opnv_line.h"
#include "measures/park_ride.h"
#include "model/data_exchange.h"
#include "framework/qno_log.h"
#include "model/gott_modus.h"
#include "sim/sim_city_model.h"
#include "sim/sim_welt.h"
#include "support/test_support.h"
#include "world/town_fixture.h"
#include "world/zor_savegame.h"

namespace {

constexpr int kBusStop = 32290;
constexpr int kParkRide = 33149;

constexpr auto At = MeasureTime;

struct Services : towntest::Town {
  CDataExchange& Dx() { return *world.GetDataExchange(); }
  // The catalogue's graphics of the office, an outlet and the centre.
  CWorldObj* Service(TObjectType kind, int x, int y) {
    return Place(kind, kind == OBJ_CARSHARING_CENTRE ? 28686 : kind == OBJ_ADVICE_CENTRE ? 32456 : 29793, x, y);
  }
};

TEST_F(Services, AStationBesideAStopShowsItsLinesAndTheirUse) {
  ASSERT_NO_FATAL_FAILURE(LongStreetAt80());
  auto* station = dynamic_cast<CBuildingParkRideObject*>(Place(OBJ_PARKRIDE, kParkRide, 82, 62));
  ASSERT_NE(station, nullptr);
  auto* stop = dynamic_cast<CSecondLayerObject*>(Place(OBJ_BUSSTOP_SIGN, kBusStop, 80, 62));
  auto* other = dynamic_cast<CSecondLayerObject*>(Place(OBJ_BUSSTOP_SIGN, kBusStop, 80, 50));
  ASSERT_TRUE(stop && other);
  EXPECT_EQ(Dx().GetVarValue("PR.PLACES"), 40);
  EXPECT_EQ(Dx().GetVarValue("PR.NUMBER"), 1);
  CParkRide* pr = world.GetParkRide();

  // A stop without a line: no lines, no users.
  pr->OnPlayloopTurn(At(0.1f), At(0.0f));
  EXPECT_EQ(station->GetData().lines, 0);
  EXPECT_EQ(station->GetData().userQuote, 0.0f);

  COpnvLine line{NET_BUS}, second{NET_BUS};
  line.Create(7, world.GetStreetNet(), NET_BUS);
  second.Create(8, world.GetStreetNet(), NET_BUS);
  for (COpnvLine* l : {&line, &second}) {
    ASSERT_EQ(l->ToolAddHstTail(stop, 0), 0);
    ASSERT_EQ(l->ToolAddHstTail(other, 0), 0);
  }
  // The demand model counts 4500 passengers on the lines today.
  line.GetData()->passengers[8] = 3000;
  second.GetData()->passengers[9] = 1500;
  pr->OnPlayloopTurn(At(0.2f), At(0.1f));
  double v = 0;
  ASSERT_EQ(station->GetVarData("PRPLACE.LINIEN", &v), 0);
  EXPECT_EQ(v, 2);
  station->GetVarData("PRPLACE.PLACESUSERQUOTE", &v);
  EXPECT_FLOAT_EQ(static_cast<float>(v), 45.0f);
  station->GetVarData("PRPLACE.LINIENUSED", &v);
  EXPECT_NEAR(v, (line.GetUserQuote() + second.GetUserQuote()) / 2.0, 1e-4);
  // From 0.3 on the station shows its busier graphic on the map.
  EXPECT_EQ(station->GetResID(), 33173);
  EXPECT_EQ(world.GetIsoWelt()->GetIsoTileObject(82, 62, ISO_LAYER_GROUND), station);
  line.GetData()->passengers[8] = 0;
  second.GetData()->passengers[9] = 0;
  pr->OnPlayloopTurn(At(0.3f), At(0.2f));
  EXPECT_EQ(station->GetResID(), kParkRide);
  for (COpnvLine* l : {&line, &second}) l->Destroy();
}

TEST_F(Services, TheServicesAnswerTheGameModelsNamesAndComeBackFromASavegame) {
  Dx().SetVarValue("W.M2", 20);
  ASSERT_NE(Place(OBJ_PARKRIDE, kParkRide, 70, 70), nullptr);
  ASSERT_NE(Service(OBJ_CARSHARING_CENTRE, 40, 60), nullptr);
  ASSERT_NE(Service(OBJ_CARSHARING_STATION, 50, 80), nullptr);
  ASSERT_NE(Service(OBJ_ADVICE_CENTRE, 70, 50), nullptr);
  EXPECT_EQ(Dx().GetVarValue("CS.NUMBER"), 2);
  EXPECT_EQ(Dx().GetVarValue("CS.PKW"), 25);
  EXPECT_EQ(Dx().GetVarValue("MZ.ZENTRALE"), 1);
  // A second advice centre is refused by its measure.
  EXPECT_EQ(Service(OBJ_ADVICE_CENTRE, 74, 50), nullptr);
  world.GetZorviZentrale()->SetVarData("MZ.PRICE.BERATUNG", 0.5);
  world.GetCarsharing()->SetVarData("CS.PRICE.MONTH", 6);

  world.GetSimWelt()->pCityModell()->AddResidents(40000);
  const int people = Dx().GetPeople();
  ASSERT_GT(people, 0);
  world.GetZorviZentrale()->OnPlayloopTurn(At(0.5f), At(0.0f));
  world.GetParkRide()->OnPlayloopTurn(At(0.5f), At(0.0f));
  // The share of people advised, in percent, as the derived values read it.
  const double quote = Dx().GetVarValue("MZ.USERQUOTE");
  EXPECT_GT(quote, 0.0);
  EXPECT_NEAR(quote, world.GetZorviZentrale()->Block().users * 100.0 / people, 1e-3);
  EXPECT_EQ(Dx().GetVarValue("PR.USERQUOTE"), static_cast<int>(Dx().GetVarValue("W.M2")));
  const double balance = Dx().GetVarValue("MZ.BILANZ") + Dx().GetVarValue("CS.BILANZ");

  std::filesystem::create_directories("SaveGame");
  ASSERT_EQ(world.SerializeGameStore("SaveGame/SERVICES.GMD"), 0);
  ASSERT_EQ(world.SerializeGameLoad("SaveGame/SERVICES.GMD"), 0);
  // Each building counts and books once again, no more.
  EXPECT_EQ(Dx().GetVarValue("PR.PLACES"), 40);
  EXPECT_EQ(Dx().GetVarValue("CS.NUMBER"), 2);
  EXPECT_EQ(Dx().GetVarValue("CS.PKW"), 25);
  EXPECT_EQ(Dx().GetVarValue("MZ.ZENTRALE"), 1);
  EXPECT_EQ(Dx().GetVarValue("MZ.BILANZ") + Dx().GetVarValue("CS.BILANZ"), balance);
  EXPECT_EQ(Dx().GetVarValue("MZ.USERQUOTE"), quote);
  EXPECT_EQ(Dx().GetVarValue("MZ.PRICE.BERATUNG"), 0.5);
  EXPECT_EQ(Dx().GetVarValue("CS.PRICE.MONTH"), 6);
  EXPECT_EQ(world.GetZorviZentrale()->GetZentrale(), BuildingAt(70, 50));

  // God mode pins the advice centre's share in percent: the users move
  // toward it, and god value 10 reads the centre's quote as it stands. (The
  // town's residents were added without homes and do not come back.)
  world.GetSimWelt()->pCityModell()->AddResidents(40000);
  CGottModus* god = world.GetGottModus();
  ASSERT_EQ(god->SetGottWertActive(true, 10), 0);
  ASSERT_EQ(god->SetVarData("GOTT.10", 12.0), 0);
  for (int i = 1; i <= 40; ++i) world.GetZorviZentrale()->OnPlayloopTurn(At(0.5f + i * 0.25f), At(0.25f + i * 0.25f));
  const double pinned = Dx().GetVarValue("MZ.USERQUOTE");
  EXPECT_GT(pinned, quote);
  EXPECT_LE(pinned, 12.0 + 1e-3);
  double shown = -1;
  god->SetGottWertActive(false, 10);
  ASSERT_EQ(god->GetVarData("GOTT.10", &shown), 0);
  EXPECT_DOUBLE_EQ(shown, pinned);
}

TEST_F(Services, SpoiltServiceRecordsAreRefusedAndTheGameStaysAsItWasWhileAStationsBadQuoteIsHeld) {
  ASSERT_NE(Place(OBJ_PARKRIDE, kParkRide, 70, 70), nullptr);
  ASSERT_NE(Service(OBJ_CARSHARING_CENTRE, 40, 60), nullptr);
  ASSERT_NE(Service(OBJ_ADVICE_CENTRE, 70, 50), nullptr);
  world.GetSimWelt()->pCityModell()->AddResidents(20000);
  world.GetCarsharing()->OnPlayloopTurn(At(0.5f), At(0.0f));
  std::filesystem::create_directories("SaveGame");
  ASSERT_EQ(world.SerializeGameStore("SaveGame/GOOD.GMD"), 0);
  const std::string good = zortest::ReadFile("SaveGame/GOOD.GMD");
  const std::string companion = zortest::ReadFile(ZorCompanionName("SaveGame/GOOD.GMD"));
  // The game as a load gives it, which a refused load must leave alone.
  ASSERT_EQ(world.SerializeGameLoad("SaveGame/GOOD.GMD"), 0);
  std::string before, unused;
  ASSERT_TRUE(world.SerializeToMemory(before, unused));
  // A record is found by its length field and name; `at` counts from its
  // payload.
  auto spoil = [&](const char* name, uint32_t length, long at, const std::string& bytes) {
    std::string key(reinterpret_cast<const char*>(&length), 4);
    key += name;
    key += '\0';
    std::string game = good;
    const size_t start = game.find(key);
    EXPECT_NE(start, std::string::npos) << name;
    if (start != std::string::npos) game.replace(start + 34 + static_cast<size_t>(at), bytes.size(), bytes);
    return game;
  };
  auto lengthOf = [](uint32_t n) { return std::string(reinterpret_cast<const char*>(&n), 4); };
  const float nan = std::nanf("");
  const std::string noNumber(reinterpret_cast<const char*>(&nan), 4);
  const struct {
    std::string game;
    const char* logged;
  } cases[] = {
      {spoil("ParkRide", 74, -34, lengthOf(73)), "ParkRide: a record of 43 bytes is refused, 44 expected"},
      {spoil("Carsharing", 1142, 0, noNumber), "Carsharing: a savegame whose field 0 is no number"},
      {spoil("ZorviZentrale", 90, 16, noNumber), "ZorviZentrale: a savegame whose field 4 is no number"},
      {spoil("Pta", 98, -34, lengthOf(90)), "Pta: a record of 60 bytes is refused, 68 expected"},
      {spoil("AktiveRP", 1146, 84 + 4 * 17, noNumber), "AktiveRP: a savegame whose field 21 is no number"},
      {spoil("PassiveRP", 90, 0, noNumber), "PassiveRP: a savegame whose field 0 is no number"},
      {spoil("Umland", 38, -34, lengthOf(37)), "Umland: a record of 7 bytes is refused, 8 expected"},
  };
  for (const auto& c : cases) {
    zortest::WriteFile("SaveGame/BAD.GMD", c.game);
    zortest::WriteFile(ZorCompanionName("SaveGame/BAD.GMD"), companion);
    OpenErrorLog("errors.log");
    EXPECT_NE(world.SerializeGameLoad("SaveGame/BAD.GMD"), 0) << c.logged;
    CloseErrorLog();
    EXPECT_NE(zortest::ReadFile("errors.log").find(c.logged), std::string::npos) << c.logged;
    std::string after;
    ASSERT_TRUE(world.SerializeToMemory(after, unused));
    EXPECT_TRUE(after == before) << c.logged << ": the game changed";
  }
  // A station's quote that is no number costs the quote, not the game: it
  // loads with the quote 0 and a log line naming the station.
  zortest::WriteFile("SaveGame/BAD.GMD", spoil("BuildingParkRide", 140, 110, noNumber));
  zortest::WriteFile(ZorCompanionName("SaveGame/BAD.GMD"), companion);
  OpenErrorLog("errors.log");
  EXPECT_EQ(world.SerializeGameLoad("SaveGame/BAD.GMD"), 0);
  CloseErrorLog();
  EXPECT_NE(zortest::ReadFile("errors.log")
                .find("The building record BUILDINGPARKRIDE of kind 38 at 70/70: its user quote nan is out of range "
                      "and taken as 0"),
            std::string::npos)
      << zortest::ReadFile("errors.log");
  auto* station = dynamic_cast<CBuildingParkRideObject*>(
      world.GetIsoWelt()->GetIsoTileObject(70, 70, ISO_LAYER_GROUND));
  ASSERT_NE(station, nullptr);
  EXPECT_EQ(station->GetData().userQuote, 0.0f);
}

// ---- what the measures' host promises

template <class Subject>
void ExpectTheHostsAnswers(Subject& subject) {
  CMeasureHost& host = subject.Host();
  EXPECT_EQ(host.GetExchangeValue("MZ.NO.SUCH.VALUE"), 0.0);
  // The districts' residents are the people the game model counts.
  int residents[16][16];
  ASSERT_TRUE(host.GetDistrictResidents(residents));
  long sum = 0;
  for (const auto& row : residents)
    for (int r : row) sum += r;
  EXPECT_EQ(sum, host.GetPeople());
  // Nothing is pinned before god mode pins it.
  EXPECT_FALSE(host.IsGottWertActive(10));
  subject.Pin(10);
  EXPECT_TRUE(host.IsGottWertActive(10));
}

struct TestSubject {
  MeasureTestHost host;
  TestSubject() {
    host.residents[3][4] = 1200;
    host.people = 1200;
  }
  CMeasureHost& Host() { return host; }
  void Pin(int n) { host.pinned.insert(n); }
};

struct GameSubject {
  zortest::Scenario game;
  CMeasureHost& Host() { return *CMeasureHost::Get(); }
  void Pin(int n) { game.World().GetGottModus()->SetGottWertActive(true, n); }
};

TEST(MeasureHostContract, TheTestsHostAnswersAsTheGames) {
  TestSubject fake;
  ExpectTheHostsAnswers(fake);
  GameSubject game;
  ExpectTheHostsAnswers(game);
}

}  // namespace
