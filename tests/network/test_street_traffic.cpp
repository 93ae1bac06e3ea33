// Traffic on streets built with the street tool's operation over the cell
// layouts of the generated game data: short streets keep cars in
// proportion to their flow, and a junction's lights stop cars at red.
#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include "framework/zor_seams.h"
#include "iso/iso_geometry.h"
#include "iso/iso_welt.h"
#include "junction_scene.h"
#include "microsim/micro_car.h"
#include "microsim/micro_cells.h"
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
    zoom = g_ZoomStufe;
  }
  void TearDown() override {
    g_ZoomStufe = zoom;
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
  // One turn of the game on the tiles from (x0, y) to (x1, y): the
  // evaluation, then each tile's turn.
  void Turn(int x0, int x1, int y) {
    clock.Advance(40);
    host.SetWorldTime(clock.Now());
    w.net->BerechneISOAuslastung();
    for (int x = x0; x <= x1; ++x)
      if (CWorldObj* o = w.map->GetIsoTileObject(x, y, ISO_LAYER_GROUND))
        o->OnPlayloopTurn(static_cast<unsigned short>(x), static_cast<unsigned short>(y));
  }

  World w{GameData{}};
  TrafficHost host{w.net.get()};
  ZorManualClock clock{1000};
  TIsoZoomStufe zoom = ISO_ZOOM_2;
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
        Turn(11, 10 + tiles, y);
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

}  // namespace
