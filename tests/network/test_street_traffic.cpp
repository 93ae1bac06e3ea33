// Traffic on streets built with the street tool's operation over the cell
// layouts of the generated game data: short streets keep cars in
// proportion to their flow, and a junction's lights stop cars at red.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>
#include <string>
#include <utility>

#include "framework/zor_seams.h"
#include "iso/iso_welt.h"
#include "junction_scene.h"
#include "microsim/micro_car.h"
#include "microsim/micro_cells.h"
#include "network/crossing_objects.h"
#include "network/str_ampel.h"
#include "network/str_micro_host.h"

namespace {

using namespace junctiontest;

// The street network's answers with a car mix of one picture.
class TrafficHost : public CStrMicroHost {
 public:
  explicit TrafficHost(CStrJunctionList* net) : m_net(net) {}
  bool GetNextCarPicture(SMicroCarPicture& out) override {
    out.resId = 500;
    out.sprite = 3;
    out.sizeType = 0;
    return true;
  }
  void RemoveCar(CCar* car) override { removed.insert(car); }
  std::set<const CCar*> removed;

 protected:
  CStrJunctionList* GetStreets() override { return m_net; }

 private:
  CStrJunctionList* m_net;
};

struct Traffic : ::testing::Test {
  void SetUp() override {
    CMicroSimHost::Install(&host);
    ZorSetClock(&clock);
    zor_srandom(3);
  }
  void TearDown() override {
    ZorSetClock(nullptr);
    CMicroSimHost::Install(nullptr);
  }
  // The demand simulation's hour that holds the streets built so far
  // becomes active, every direction at `percent` of a capacity of 600.
  void Activate(int percent) {
    ASSERT_GT(w.sim->StartNextIntervall(false), 0);
    for (int guard = 0; w.sim->Computate(1) != 0 && guard < 100000; ++guard) {
    }
    ASSERT_TRUE(w.sim->ActivateCalculatedSlot());
    Feed(percent);
  }
  void Feed(int percent) {
    for (CStrStrasse* s : w.Streets())
      for (int id : {s->GetSimID(), s->GetSimIDSecond()}) {
        CSimStreet* d = id ? w.sim->ActiveSlot()->GetStreet(static_cast<short>(id)) : nullptr;
        if (!d) continue;
        d->ResetCarFlow();
        d->AddCarFlow(6 * percent);
        d->SetCapacity(600);
      }
    w.net->UpdateCarFlow();
  }
  // One turn of the game on the tiles from (x0, y0) to (x1, y1): the
  // evaluation of the counted cars unless left out, then each tile's turn.
  void Turn(int x0, int y0, int x1, int y1, bool evaluate = true) {
    clock.Advance(40);
    host.SetWorldTime(clock.Now());
    if (evaluate) w.net->BerechneISOAuslastung();
    for (int x = x0; x <= x1; ++x)
      for (int y = y0; y <= y1; ++y)
        if (CWorldObj* o = w.map->GetIsoTileObject(x, y, ISO_LAYER_GROUND))
          o->OnPlayloopTurn(static_cast<unsigned short>(x), static_cast<unsigned short>(y));
  }

  World w{GameData{}};
  TrafficHost host{w.net.get()};
  ZorManualClock clock{1000};
};

// Cars held where they are put (frame time 0): what a street shows is
// what its counting, spawning and removal keep. One or two visible tiles
// count once or twice a turn, so below the capacity the wish stays under
// one car; the dropped fraction's chance still brings the street cars, the
// more the busier it is.
TEST_F(Traffic, AStreetOfOneOrTwoTilesShowsCarsInProportionToItsFlow) {
  host.SetFrameTime(0);
  ASSERT_EQ(w.Build(10, 20, 10, 50), STR_BUILD_OK);
  for (int tiles : {1, 2}) ASSERT_EQ(w.Build(10, 20 + 10 * tiles, 11 + tiles, 20 + 10 * tiles), STR_BUILD_OK);
  w.map->SetIsoCenter(12, 30);
  Activate(0);
  for (int tiles : {1, 2}) {
    const int y = 20 + 10 * tiles;
    CStrStrasse* s = w.StreetBetween(10, y, 11 + tiles, y);
    ASSERT_NE(s, nullptr);
    double previous[2] = {-1, -1}, first[2] = {};
    for (int percent : {0, 10, 30, 60, 90}) {
      SCOPED_TRACE(testing::Message() << tiles << " tiles at " << percent << " %");
      Feed(percent);
      long cars[2] = {}, cells[2] = {};
      for (int turn = 0; turn < 10000; ++turn) {
        Turn(11, y, 10 + tiles, y);
        if (turn < 200) continue;  // settling from the last flow
        for (int x = 11; x <= 10 + tiles; ++x) {
          CQnoMicroZelle* z = s->GetMicroZellen(static_cast<unsigned short>(x), static_cast<unsigned short>(y));
          ASSERT_NE(z, nullptr);
          for (int i = 0; i < z->GetCount(); ++i) {
            const int d = z->GetZelle(i)->m_SimID == s->GetSimID() ? 0 : 1;
            ++cells[d];
            cars[d] += z->GetZelle(i)->m_pCar != nullptr;
          }
        }
      }
      for (int d = 0; d < 2; ++d) {
        ASSERT_GT(cells[d], 0);
        const double shown = static_cast<double>(cars[d]) / static_cast<double>(cells[d]);
        if (percent == 0) {
          EXPECT_EQ(shown, 0.0) << d;
        } else {
          // More flow, more cars; a lane holds one car a tile at most.
          EXPECT_GT(shown, previous[d] + 0.01) << d;
        }
        if (percent == 10) first[d] = shown;
        if (percent == 90) {
          EXPECT_GT(shown, 3 * first[d]) << d;
        }
        previous[d] = shown;
      }
    }
  }
}

// Lights set through the crossing object lock the cells in front of the
// junction in the junction's own cell layout; a car on a priority arm
// stops before them at red and drives into the junction at green.
TEST_F(Traffic, ACarStopsAtTheRedLightOfAJunctionAndGoesOnAtGreen) {
  host.SetFrameTime(40);
  ASSERT_EQ(w.Build(10, 20, 30, 20), STR_BUILD_OK);
  ASSERT_EQ(w.Build(20, 20, 20, 30), STR_BUILD_OK);
  ASSERT_EQ(w.Build(20, 20, 20, 10), STR_BUILD_OK);
  CStrJunction* j = w.At(20, 20);
  ASSERT_NE(j, nullptr);
  ASSERT_EQ(j->GetAnzLinkedStreets(), 4);
  w.map->SetIsoCenter(20, 20);
  Activate(50);
  ASSERT_EQ(j->GetKreuzObject()->SetVarData("KR.AMPEL", 2.0), 0);
  ASSERT_TRUE(j->HasAmpel());
  CAmpelGroup* group = j->GetAmpelGroup();
  ASSERT_NE(group, nullptr);
  CQnoMicroZelle* inJunction = j->GetMicroZelle(20, 20);
  ASSERT_NE(inJunction, nullptr);

  // Each arm's light holds the street's cell on the tile next to the
  // junction that leads into the junction's layout.
  for (int slot = 0; slot < CAmpelGroup::kSlots; ++slot) {
    SCOPED_TRACE(slot);
    CStrStrasse* arm = group->GetLinkedStreetsNr(slot);
    ASSERT_NE(arm, nullptr);
    ASSERT_NE(group->GetAmpel(slot), nullptr);
    BinaryMicroSimObject* cell = group->GetAmpel(slot)->GetZelle(0);
    ASSERT_NE(cell, nullptr);
    short x = 0, y = 0;
    if (arm->GetStartJunction() == j)
      arm->GetFirstIsoPos(&x, &y);
    else
      arm->GetLastIsoPos(&x, &y);
    EXPECT_EQ(std::abs(x - 20) + std::abs(y - 20), 1);
    EXPECT_TRUE(arm->GetMicroZellen(static_cast<unsigned short>(x), static_cast<unsigned short>(y))->Owns(cell));
    bool leadsIn = false;
    for (const BinaryMicroSimObject* next : cell->m_pNachfolger) leadsIn = leadsIn || inJunction->Owns(next);
    EXPECT_TRUE(leadsIn);
  }

  // The priority arm's light on its own cycle: open for 4000 ms, then
  // closed for 2 x 1000 + 4000 ms; the light of slot 2 is its inverse.
  CAmpel* light = group->GetAmpel(0);
  light->SetTimes(CAmpel::kGelb, CAmpel::kRot, CAmpel::kGruen);
  BinaryMicroSimObject* stop = light->GetZelle(0);
  const BinaryMicroSimObject* across = group->GetAmpel(2)->GetZelle(0);
  ASSERT_NE(across, nullptr);
  CStrStrasse* arm = group->GetLinkedStreetsNr(0);
  const CStrJunction* end = arm->GetStartJunction() == j ? arm->GetEndJunction() : arm->GetStartJunction();
  const int dx = sign(end->GetXPos() - 20), dy = sign(end->GetYPos() - 20);
  // The arm's and the junction's tiles take their turns; the counted cars
  // are not evaluated, so the streets neither add nor remove cars, while
  // the flows choose the car's way through the junction.
  const int cx = 20 + 5 * dx, cy = 20 + 5 * dy;
  const int x0 = std::min(20, cx), x1 = std::max(20, cx), y0 = std::min(20, cy), y1 = std::max(20, cy);
  const uint32_t begin = clock.Now() + 40;  // the first turn starts the cycle
  auto at = [&] { return static_cast<int>(clock.Now() - begin); };
  auto red = [&] { return at() % 10000 >= 4000; };
  do {
    Turn(x0, y0, x1, y1, false);
    ASSERT_EQ(stop->m_Locked, red() ? 1 : 0) << "at " << at();
    ASSERT_EQ(across->m_Locked, red() ? 0 : 1) << "at " << at();
  } while (!red());
  // At red, a car on the stop cell's lane five tiles up the arm.
  CQnoMicroZelle* start = arm->GetMicroZellen(static_cast<unsigned short>(cx), static_cast<unsigned short>(cy));
  ASSERT_NE(start, nullptr);
  BinaryMicroSimObject* entry = start->HasSimID(stop->m_SimID, false);
  ASSERT_NE(entry, nullptr);
  auto* car = new CCar;
  ASSERT_EQ(car->CreateCar(nullptr), 0);
  ASSERT_EQ(start->SetzeFahrzeug(entry, car, 0, false, true, false), 0);

  const BinaryMicroSimObject* last = nullptr;
  int32_t lastAt = 0;
  const BinaryMicroSimObject* held = nullptr;
  bool stopped = false, wentOn = false;
  while (at() < 3 * 10000 && !wentOn) {
    Turn(x0, y0, x1, y1, false);
    ASSERT_EQ(host.removed.count(car), 0u) << "at " << at();
    ASSERT_EQ(stop->m_Locked, red() ? 1 : 0) << "at " << at();
    ASSERT_EQ(across->m_Locked, red() ? 0 : 1) << "at " << at();
    BinaryMicroSimObject* now = car->GetMicroSimObject();
    ASSERT_NE(now, nullptr);
    if (red()) {
      // Never into the locked cell; once it stands in front of it, it
      // stays there until green.
      ASSERT_NE(now, stop) << "at " << at();
      if (held) {
        EXPECT_EQ(now, held) << "at " << at();
        EXPECT_EQ(now->m_Position, lastAt) << "at " << at();
      } else if (now == last && now->m_Position == lastAt && now->m_pOwner->GetVirtNext(now) == stop) {
        held = now;
      }
    } else if (held) {
      // Green: it drives on within the first turns.
      stopped = true;
      wentOn = now != held || now->m_Position != lastAt;
      ASSERT_LT(at() % 10000, 200) << "still standing";
    }
    last = now;
    lastAt = now->m_Position;
  }
  EXPECT_TRUE(stopped);
  EXPECT_TRUE(wentOn);
}

}  // namespace

namespace {

// Which direction of its street each cell of a layout carries: 'F' the
// street's forward id, 'B' its backward one.
std::string Directions(CStrStrasse* s, CQnoMicroZelle* layout) {
  std::string out;
  for (int i = 0; layout && i < layout->GetCount(); ++i) {
    const uint16_t id = layout->GetZelle(i)->m_SimID;
    out += id == s->GetSimID() ? 'F' : id == s->GetSimIDSecond() ? 'B' : '-';
  }
  return out;
}

// A street of a single tile between its junctions (a street split close to
// its end) carries both of its directions on that tile, each on the lanes
// a longer street running the same way gives it on its first tile.
TEST(StreetCells, AStreetOfOneTileCarriesBothDirectionsTheWayALongerOneDoes) {
  for (auto [dx, dy] : {std::pair{1, 0}, std::pair{-1, 0}, std::pair{0, 1}, std::pair{0, -1}}) {
    SCOPED_TRACE(testing::Message() << "dragged " << dx << "/" << dy);
    std::string single;
    int lx = 0, ly = 0, sx = 0, sy = 0;
    {
      World w{GameData{}};
      ASSERT_EQ(w.Build(20, 20, 20 + 8 * dx, 20 + 8 * dy), STR_BUILD_OK);
      // A street from it two tiles from its start leaves one tile between.
      const int tx = 20 + 2 * dx, ty = 20 + 2 * dy;
      ASSERT_EQ(w.Build(tx, ty, tx + 4 * std::abs(dy), ty + 4 * std::abs(dx)), STR_BUILD_OK);
      CStrStrasse* shortOne = w.StreetBetween(20, 20, tx, ty);
      ASSERT_NE(shortOne, nullptr);
      CStrJunction* a = shortOne->GetStartJunction();
      CStrJunction* b = shortOne->GetEndJunction();
      lx = a->GetXPos(), ly = a->GetYPos();
      sx = (b->GetXPos() > lx) - (b->GetXPos() < lx);
      sy = (b->GetYPos() > ly) - (b->GetYPos() < ly);
      single = Directions(
          shortOne, shortOne->GetMicroZellen(static_cast<unsigned short>(lx + sx), static_cast<unsigned short>(ly + sy)));
    }
    // A longer street from the same cell the same way, on a map of its own.
    World v{GameData{}};
    ASSERT_EQ(v.Build(lx, ly, lx + 6 * sx, ly + 6 * sy), STR_BUILD_OK);
    CStrStrasse* longOne = v.StreetBetween(lx, ly, lx + 6 * sx, ly + 6 * sy);
    ASSERT_NE(longOne, nullptr);
    ASSERT_EQ(longOne->GetStartJunction()->GetXPos(), lx);
    ASSERT_EQ(longOne->GetStartJunction()->GetYPos(), ly);
    const std::string first = Directions(
        longOne, longOne->GetMicroZellen(static_cast<unsigned short>(lx + sx), static_cast<unsigned short>(ly + sy)));
    EXPECT_NE(single.find('F'), std::string::npos) << single;
    EXPECT_NE(single.find('B'), std::string::npos) << single;
    EXPECT_EQ(single, first);
  }
}

}  // namespace
