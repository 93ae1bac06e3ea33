// The indicators on a real town: the noise, emission and living-quality
// maps around busy streets, the traffic jam and safety ratings from the
// street network, and the three bars on the screen.
#include <gtest/gtest.h>

#include <cstring>
#include <tuple>
#include <unordered_set>
#include <vector>

#include "model/data_exchange.h"
#include "model/indikatoren.h"
#include "network/str_junction.h"
#include "network/str_junction_list.h"
#include "network/str_strasse.h"
#include "sim/sim_city_model.h"
#include "sim/sim_network.h"
#include "sim/sim_traffic_slot.h"
#include "sim/sim_welt.h"
#include "worldbase/building_catalogue.h"
#include "ui/ui_host.h"
#include "world/town_fixture.h"

namespace {

// The town of two side streets meeting at (60, 63), with the day's flows
// of the active hour on every street.
struct RatedTown : towntest::Town {
  CIndikatoren* ind = nullptr;
  void SetUp() override {
    towntest::Town::SetUp();
    ind = world.GetIndikatoren();
    ASSERT_NE(ind, nullptr);
    CSimWelt* sim = world.GetSimWelt();
    ASSERT_GT(sim->StartNextIntervall(false), 0);
    for (int guard = 0; sim->Computate(1) != 0 && guard < 100000; ++guard) {
    }
    ASSERT_TRUE(sim->ActivateCalculatedSlot());
  }
  // Every hour of the day with `flow` cars each way on streets of the
  // capacity.
  void Day(int flow, short capacity) {
    CSimTrafficSlot* slot = world.GetSimWelt()->ActiveSlot();
    for (CStrStrasse* s : Streets())
      for (short id : {s->GetSimID(), s->GetSimIDSecond()})
        if (CSimStreet* street = id ? slot->GetStreet(id) : nullptr) {
          street->ResetCarFlow();
          street->AddCarFlow(flow);
          street->SetCapacity(capacity);
        }
    for (int hour = 1; hour < 24; ++hour) {
      world.GetStreetNet()->UpdateCarFlow();
      world.GetStreetNet()->UpdateCarFlow24(hour);
    }
  }
  int Noise(int x, int y) { return ind->GetLaermMap()[y * 128 + x]; }
  int Emission(int x, int y) { return ind->GetEmmissionsMap()[y * 128 + x]; }
};

TEST_F(RatedTown, BusyStreetsMakeNoiseAndExhaustAroundThemAndLowerTheLivingQuality) {
  ind->UpdateMaps();
  const int quiet = ind->GetWohnqualitaetMapXY(60, 61);
  EXPECT_LT(quiet, 255) << "a street cell has a living quality";
  EXPECT_EQ(ind->GetWohnqualitaetMapXY(20, 20), 255) << "open ground has none";
  Day(300, 1000);
  ind->UpdateMaps();
  EXPECT_GT(Noise(60, 61), 0);
  EXPECT_GT(Noise(60, 61), Noise(63, 58)) << "the noise falls with distance";
  EXPECT_EQ(Noise(30, 30), 0);
  EXPECT_GT(Emission(60, 61), 0);
  EXPECT_GE(Emission(60, 61), Emission(66, 55));
  EXPECT_EQ(Emission(20, 20), 0);
  EXPECT_LT(ind->GetWohnqualitaetMapXY(60, 61), quiet);
  // The thematic map's indicator layers draw these maps.
  EXPECT_EQ(CUiHost::Get()->GetIndicatorCellMap(1), ind->GetLaermMap());
  EXPECT_EQ(CUiHost::Get()->GetIndicatorCellMap(2), ind->GetEmmissionsMap());
  EXPECT_EQ(CUiHost::Get()->GetIndicatorCellMap(3), ind->GetWohnqualitaetMap());
  // The emission map keeps half of what it held: a second pass with the
  // same flows raises it.
  const int once = Emission(64, 58);
  ASSERT_LT(once, 200);
  ind->UpdateMaps();
  EXPECT_GT(Emission(64, 58), once);
}

TEST_F(RatedTown, AMapMadeOverTheTurnsAfterItsHourIsTheMapOfOnePass) {
  // A park and industry beside the busy streets: their weights go out in
  // row order over the slices' borders.
  for (const auto& [kind, x, y] : {std::tuple{OBJ_PARK, 61, 61}, std::tuple{OBJ_INDUSTRY, 62, 64}})
    ASSERT_NE(Place(kind, CBuildingDataList::GetBuildingResIDByType(kind, 1, nullptr), x, y), nullptr);
  Day(300, 1000);
  CIndikatoren whole, sliced;
  for (CIndikatoren* i : {&whole, &sliced}) i->Attach(nullptr, world.GetDataExchange());
  whole.UpdateMaps();
  constexpr int kCells = CIndikatoren::kGrid * CIndikatoren::kGrid;
  for (const auto& [hour, map, done] : {std::tuple{8, &CIndikatoren::GetLaermMap, whole.GetLaermMap()},
                                        std::tuple{10, &CIndikatoren::GetEmmissionsMap, whole.GetEmmissionsMap()},
                                        std::tuple{12, &CIndikatoren::GetWohnqualitaetMap, whole.GetWohnqualitaetMap()}}) {
    STime now{};
    now.hour = hour;
    const std::vector<uint8_t> before((sliced.*map)(), (sliced.*map)() + kCells);
    sliced.OnPlayloopTurn(now, now);
    int turns = 1;
    while (sliced.ContinueMap() != 0) {
      // Until the last rows are made the map shows what it showed.
      EXPECT_EQ(std::memcmp((sliced.*map)(), before.data(), kCells), 0) << "hour " << hour;
      ++turns;
    }
    EXPECT_EQ(turns, CIndikatoren::kGrid / CIndikatoren::kMapRowsPerTurn);
    EXPECT_FALSE(sliced.MapPending());
    EXPECT_EQ(std::memcmp((sliced.*map)(), done, kCells), 0) << "hour " << hour;
    EXPECT_NE(std::memcmp(done, before.data(), kCells), 0) << "hour " << hour << ": the town changes nothing";
  }
}

TEST_F(RatedTown, JamsAndUnsecuredCrossingsLowerTheirRatings) {
  ASSERT_TRUE(world.GetSimWelt()->pCityModell()->AddResidents(6000));
  // The hour's derived values count them.
  ASSERT_EQ(world.GetDataExchange()->DXCalc_People(), 6000);
  Day(120, 600);
  const STime noon{};
  ind->OnPlayloopTurn(noon, noon);
  // Each street once, by its load over the day and its speed class; the
  // crossing's three slots with none secured.
  double jam = 0, length = 0, speeds = 0;
  const std::vector<CStrStrasse*> streets = Streets();
  for (CStrStrasse* s : streets) {
    const double load = static_cast<double>(s->GetAuslastung24()) / s->GetCapacity();
    if (load > 0.13) jam += (load - 0.13) * s->GetLaenge();
    length += s->GetLaenge();
    const double v = s->GetVelocity();
    speeds += v < 13.8 ? 1.0 : (v <= 14.0 ? 0.5 : 0.0);
  }
  ASSERT_EQ(streets.size(), 3u);
  ASSERT_GT(jam, 0);
  const double n = static_cast<double>(streets.size());
  const double firstJam = ind->GetVarValue("I.EFF.TRAFFICJAM");
  EXPECT_NEAR(firstJam,
              std::clamp(1.0 - 5.0 * static_cast<int>(jam) / (n + length), 0.0, 1.0), 1e-6);
  const double open = std::clamp((0.5 + speeds) / n + (0.0 - 0.5) / 3.0, 0.0, 1.0);
  EXPECT_NEAR(ind->GetVarValue("I.ZORV.SECURITY"), open, 1e-6);
  // Lights at the crossing secure its three slots.
  CStrJunction* crossing = nullptr;
  for (CZorvaObject* o = world.GetStreetNet()->GetHead(); o; o = o->GetNext())
    if (static_cast<CStrJunction*>(o)->GetAnzLinkedStreets() == 3) crossing = static_cast<CStrJunction*>(o);
  ASSERT_NE(crossing, nullptr);
  ASSERT_EQ(crossing->SetAmpelData(Ampel_Ampel, 60, 0.5f), 0);
  ind->OnPlayloopTurn(noon, noon);
  EXPECT_NEAR(ind->GetVarValue("I.ZORV.SECURITY"), std::clamp((0.5 + speeds) / n + 0.5, 0.0, 1.0), 1e-6);
  // The jam sum grows over the year and starts again with a new one.
  EXPECT_LT(ind->GetVarValue("I.EFF.TRAFFICJAM"), firstJam);
  ind->NewYear();
  ind->OnPlayloopTurn(noon, noon);
  EXPECT_NEAR(ind->GetVarValue("I.EFF.TRAFFICJAM"), firstJam, 1e-6);
}

TEST_F(RatedTown, SafetyCountsTheCrossingSecuredByLightsAloneAndSpeedsByTheirBands) {
  ASSERT_TRUE(world.GetSimWelt()->pCityModell()->AddResidents(6000));
  ASSERT_EQ(world.GetDataExchange()->DXCalc_People(), 6000);
  const std::vector<CStrStrasse*> streets = Streets();
  ASSERT_EQ(streets.size(), 3u);
  CStrJunction* crossing = nullptr;
  for (CZorvaObject* o = world.GetStreetNet()->GetHead(); o; o = o->GetNext())
    if (static_cast<CStrJunction*>(o)->GetAnzLinkedStreets() == 3) crossing = static_cast<CStrJunction*>(o);
  ASSERT_NE(crossing, nullptr);
  const STime noon{};
  auto safety = [&] {
    ind->OnPlayloopTurn(noon, noon);
    return ind->GetVarValue("I.ZORV.SECURITY");
  };
  // Below 13.8 a street counts 1, from 13.8 to 14.0 a half; the crossing's
  // three slots count, none secured.
  const double speeds[] = {13.75, 13.8, 14.0};
  for (size_t i = 0; i < streets.size(); ++i) streets[i]->SetVelocity(speeds[i]);
  for (size_t i = 0; i < streets.size(); ++i) ASSERT_EQ(streets[i]->GetVelocity(), speeds[i]);
  EXPECT_NEAR(safety(), (0.5 + 1 + 0.5 + 0.5) / 3 + (0.0 - 0.5) / 3, 1e-6);
  // Above 14.0 nothing.
  for (CStrStrasse* s : streets) s->SetVelocity(14.05);
  EXPECT_NEAR(safety(), 0.5 / 3 + (0.0 - 0.5) / 3, 1e-6);
  // Right-of-way signs secure nothing; lights secure every slot.
  ASSERT_EQ(crossing->SetAmpelData(Ampel_Vorfahrt, 60, 0.5f), 0);
  EXPECT_NEAR(safety(), 0.5 / 3 + (0.0 - 0.5) / 3, 1e-6);
  ASSERT_EQ(crossing->SetAmpelData(Ampel_Ampel, 60, 0.5f), 0);
  EXPECT_NEAR(safety(), 0.5 / 3 + (2.0 * 3 / 3 - 0.5) / 3, 1e-6);
}

TEST_F(RatedTown, TheBarsRiseInGreenAndFallInRedFromTheirBaseline) {
  ind->SwitchManuell();
  ind->SetVarData("I.EFF", 1.0);
  ind->SetVarData("I.QUALI", 0.0);
  ind->SetVarData("I.ZORV", 0.5);
  // The status panel with the bars shows while the mouse is at the
  // screen's foot.
  game.Run({zortest::Move(400, game.Height() - 5), zortest::Wait(100)});
  const int w = game.Width(), base = game.Height() - 81;
  EXPECT_EQ(game.Pixel(w - 196, base - 13), 1984);
  EXPECT_EQ(game.Pixel(w - 187, base + 12), 61440);
  // 0.5 x 27 pixels each way, 3 pixels wide; the middle bar at 0.5 draws
  // nothing.
  EXPECT_NE(game.Pixel(w - 196, base - 14), 1984);
  EXPECT_NE(game.Pixel(w - 187, base + 13), 61440);
  EXPECT_NE(game.Pixel(w - 194, base - 5), 1984);
  EXPECT_NE(game.Pixel(w - 196, base + 2), 61440);
  EXPECT_NE(game.Pixel(w - 178, base - 2), 1984);
  EXPECT_NE(game.Pixel(w - 178, base + 2), 61440);
}

TEST_F(RatedTown, ASavegameKeepsTheRatingsAndTheMaps) {
  Day(300, 1000);
  ind->UpdateMaps();
  // Held by hand, so that the save's own hour of a town without people
  // does not set it back to 0.5.
  ind->SwitchManuell();
  ind->SetVarData("I.EQM", 0.8125);
  const int noise = Noise(60, 61);
  ASSERT_GT(noise, 0);
  ASSERT_GT(Emission(60, 61), 0);
  const auto maps = [&] {
    std::vector<uint8_t> all(ind->GetLaermMap(), ind->GetLaermMap() + 128 * 128);
    all.insert(all.end(), ind->GetEmmissionsMap(), ind->GetEmmissionsMap() + 128 * 128);
    all.insert(all.end(), ind->GetWohnqualitaetMap(), ind->GetWohnqualitaetMap() + 128 * 128);
    return all;
  };
  const std::vector<uint8_t> saved = maps();
  ASSERT_EQ(world.SerializeGameStore("SaveGame/RATED.GMD"), 0);
  ASSERT_EQ(world.SerializeGameLoad("SaveGame/RATED.GMD"), 0);
  ind = world.GetIndikatoren();
  EXPECT_FLOAT_EQ(ind->GetVarValue("I.EQM"), 0.8125f);
  EXPECT_EQ(Noise(60, 61), noise);
  // The maps are those of the record: the emission map, a running mean,
  // takes no step of its own at a load.
  EXPECT_TRUE(maps() == saved);
}

}  // namespace
