// The cells of the streets' layouts in the micro view stand at their tile's
// screen anchor plus their offset after the view scrolled, turned and
// zoomed, with cars on them and after a street with cars went.
#include <gtest/gtest.h>

#include <map>
#include <utility>
#include <vector>

#include "microsim/micro_car.h"
#include "microsim/micro_cells.h"
#include "network/str_junction_list.h"
#include "network/str_strasse.h"
#include "network/street_objects.h"
#include "world/map_fixture.h"

namespace {

using namespace maptest;
using Cell = BinaryMicroSimObject;

struct MicroViewTest : MapFixture<CZorvaWorld> {
  void SetUp() override {
    MapFixture::SetUp();
    g_IsoRichtung = 0;
    g_ZoomStufe = ISO_ZOOM_2;
    map->SetIsoCenter(64, 64);
    map->RefreshAfterModeChange();
  }
  void TearDown() override {
    g_IsoRichtung = 0;
    g_ZoomStufe = ISO_ZOOM_2;
    MapFixture::TearDown();
  }
  std::pair<int, int> Anchor(int x, int y) {
    int sx = 0, sy = 0;
    map->FixeIsoKoorCalc(static_cast<unsigned short>(x), static_cast<unsigned short>(y), sx, sy);
    map->FixeGroupRichtung(static_cast<unsigned short>(x), static_cast<unsigned short>(y), sx, sy);
    return {sx, sy};
  }
};

// Every layout of the street and junction tiles near the centre, by tile.
std::map<std::pair<int, int>, CQnoMicroZelle*> Layouts(CIsoWelt* map) {
  std::map<std::pair<int, int>, CQnoMicroZelle*> layouts;
  for (int x = 58; x <= 70; ++x)
    for (int y = 58; y <= 70; ++y)
      if (auto* road = dynamic_cast<CRoadObj*>(map->GetIsoTileObject(x, y, ISO_LAYER_GROUND)))
        if (CQnoMicroZelle* l = road->GetMicroZelle(static_cast<unsigned short>(x), static_cast<unsigned short>(y)))
          layouts[{x, y}] = l;
  return layouts;
}

TEST_F(MicroViewTest, StreetCellsStandAtTheirAnchorAfterScrollTurnAndZoomWithCarsOnThem) {
  CStrJunctionList* net = world->GetStreetNet();
  auto build = [&](int x1, int y1, int x2, int y2) {
    CStrBuildLine line(static_cast<short>(x1), static_cast<short>(y1), static_cast<short>(x2), static_cast<short>(y2));
    return net->CreateStreet(&line, STRASSE_1);
  };
  ASSERT_EQ(build(60, 64, 64, 64), STR_BUILD_OK);
  ASSERT_EQ(build(64, 64, 68, 64), STR_BUILD_OK);
  ASSERT_EQ(build(64, 60, 64, 64), STR_BUILD_OK);
  ASSERT_EQ(build(64, 64, 64, 68), STR_BUILD_OK);
  map->Update();
  auto checkCells = [&](const char* what) {
    const auto layouts = Layouts(map);
    EXPECT_GT(layouts.size(), 10u) << what;
    for (const auto& [at, l] : layouts) {
      const auto [ax, ay] = Anchor(at.first, at.second);
      for (int i = 0; i < l->GetCount(); ++i) {
        const Cell* c = l->GetZelle(i);
        ASSERT_EQ(c->m_ScreenX, ax + c->m_XOffset) << what << " at " << at.first << "/" << at.second << " cell " << i;
        ASSERT_EQ(c->m_ScreenY, ay + c->m_YOffset) << what << " at " << at.first << "/" << at.second << " cell " << i;
      }
    }
  };
  // A car in the first cell of every layout that can take one.
  auto park = [&] {
    int parked = 0;
    for (const auto& [at, l] : Layouts(map)) {
      Cell* c = l->GetZelle(0);
      if (!CQnoMicroZelle::GetVirtNext(c) || c->m_pCar) continue;
      c->m_Choice = 0;
      parked += l->SetzeFahrzeug(c, new CCar, 0, false, false, false) == 0;
    }
    return parked;
  };
  checkCells("built");
  const int parked = park();
  ASSERT_GT(parked, 5);
  auto cars = [&] {
    int n = 0;
    for (const auto& [at, l] : Layouts(map)) n += l->GetVehicleCount();
    return n;
  };
  ASSERT_EQ(cars(), parked);

  // Scrolled: the cars stay in their cells, which moved with the view.
  map->SetPixelOffset(map->GetPixelOffsetX() + 7, map->GetPixelOffsetY() + 4);
  map->UpdateMicroSim();
  checkCells("scrolled");
  EXPECT_EQ(cars(), parked);
  map->UpdateMicroSim();
  checkCells("placed again");

  // Turned and zoomed: the layouts are made anew for the view.
  for (int turn = 0; turn < 4; ++turn) {
    park();
    map->UserIntTurnRight();
    checkCells("turned");
  }
  park();
  map->UserIntZoomOut();
  checkCells("zoomed out");
  map->UserIntZoomIn();
  checkCells("zoomed in");

  // A street with cars on it goes; the rest is placed as the view moves.
  park();
  CStrStrasse* gone = nullptr;
  for (CZorvaObject* o = net->GetHead(); o && !gone; o = o->GetNext()) {
    auto* j = static_cast<CStrJunction*>(o);
    for (int i = 0; i < j->GetAnzLinkedStreets() && !gone; ++i)
      if (j->GetStreetByNR(i)->GetMicroZellenGroup()) gone = j->GetStreetByNR(i);
  }
  ASSERT_NE(gone, nullptr);
  const size_t before = Layouts(map).size();
  EXPECT_EQ(net->DeleteStreet(gone), 0);
  EXPECT_LT(Layouts(map).size(), before);
  map->SetPixelOffset(map->GetPixelOffsetX() - 11, map->GetPixelOffsetY() + 2);
  map->UpdateMicroSim();
  checkCells("after a street went");
}

}  // namespace
