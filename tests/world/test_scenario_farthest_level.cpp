// At the farthest zoom level the game data has no micro-cell layouts, and
// the street network makes none: a zoom there, a turn there, streets and
// lights laid there and a load write nothing about missing layouts to the
// log. Zoomed back, the layouts are laid again, the lights take their
// cells and run, cars put on the streets move, and the frame is the one
// drawn afresh. Played through the frame loop on the real game.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <utility>

#include "framework/zor_seams.h"
#include "iso/iso_info.h"
#include "iso/iso_scene.h"
#include "iso/iso_welt.h"
#include "microsim/micro_car.h"
#include "microsim/micro_cells.h"
#include "network/crossing_objects.h"
#include "network/rail_junction_list.h"
#include "network/str_ampel.h"
#include "network/street_objects.h"
#include "support/test_support.h"
#include "world/town_fixture.h"

namespace {

using namespace zortest;
using Cell = BinaryMicroSimObject;

struct FarthestLevel : towntest::Town {
  void SetUp() override {
    Town::SetUp();
    // A crossing of four arms at (60, 63) under the view's centre.
    ASSERT_EQ(Street(60, 63, 54, 63), STR_BUILD_OK);
    CStrJunction* crossing = JunctionAt(60, 63);
    ASSERT_NE(crossing, nullptr);
    ASSERT_EQ(crossing->GetAnzLinkedStreets(), 4);
    // Lights, switched on through the crossing as its window does.
    auto* control = dynamic_cast<CKreuzObj*>(game.Map().GetIsoInfo(60, 63)->GetWorldObject(ISO_LAYER_GROUND));
    ASSERT_NE(control, nullptr);
    ASSERT_EQ(control->SetVarData("KR.AMPEL", 2.0), 0);
    ASSERT_TRUE(crossing->HasAmpel());
    game.Map().SetIsoCenter(60, 63);
    game.Do(Wait(100));
    ASSERT_EQ(g_ZoomStufe, ISO_ZOOM_2);
  }

  // The log's lines about a street tile or junction without a layout.
  static int MissingLayoutLines() {
    const std::string log = ReadFile("errors.log");
    int n = 0;
    for (const char* what : {"Can't load MicroZellen", "Can't create MicroZelle"})
      for (size_t at = log.find(what); at != std::string::npos; at = log.find(what, at + 1)) ++n;
    return n;
  }

  // Every layout on the map, by tile.
  std::map<std::pair<int, int>, CQnoMicroZelle*> Layouts() {
    std::map<std::pair<int, int>, CQnoMicroZelle*> layouts;
    for (int x = 0; x < ISO_MAP_SIZE; ++x)
      for (int y = 0; y < ISO_MAP_SIZE; ++y)
        if (auto* road = dynamic_cast<CRoadObj*>(game.Map().GetIsoTileObject(x, y, ISO_LAYER_GROUND)))
          if (CQnoMicroZelle* l = road->GetMicroZelle(static_cast<unsigned short>(x), static_cast<unsigned short>(y)))
            layouts[{x, y}] = l;
    return layouts;
  }

  int Track(int x1, int y1, int x2, int y2) {
    CStrBuildLine line(static_cast<short>(x1), static_cast<short>(y1), static_cast<short>(x2), static_cast<short>(y2));
    return world.GetRailNet()->CreateStreet(&line, STRASSE_SCHIENE);
  }

  CStrJunction* JunctionAt(int x, int y) {
    for (CZorvaObject* o = world.GetStreetNet()->GetHead(); o; o = o->GetNext()) {
      auto* j = static_cast<CStrJunction*>(o);
      if (j->GetXPos() == x && j->GetYPos() == y) return j;
    }
    return nullptr;
  }

  // The screen drawn afresh by the plain renderer, or by the sprite lists
  // from what they keep.
  uint32_t Frame(bool plain) {
    SDL_Surface* s = world.GetScreen();
    SDL_FillRect(s, nullptr, 0);
    plain ? game.Map().Render(world.GetDisplay()) : game.Map().RenderSpriteList_Left_Right(world.GetDisplay());
    return isotest::Checksum(s);
  }

  // Puts a car in the first cell of every layout within four cells of the
  // crossing that can take one; the number put.
  int PutCars() {
    int put = 0;
    for (const auto& [at, l] : Layouts()) {
      if (std::abs(at.first - 60) > 4 || std::abs(at.second - 63) > 4) continue;
      Cell* c = l->GetZelle(0);
      if (!CQnoMicroZelle::GetVirtNext(c) || c->m_pCar) continue;
      c->m_Choice = 0;
      put += l->SetzeFahrzeug(c, new CCar, 0, false, false, false) == 0;
    }
    return put;
  }

  // Whether the light's first cell is seen both open and closed within
  // twenty seconds of play.
  bool SeenOpenAndClosed(CAmpel* light) {
    bool open = false, closed = false;
    for (int i = 0; i < 40 && !(open && closed); ++i) {
      game.Do(Wait(500));
      (light->GetZelle(0)->m_Locked ? closed : open) = true;
    }
    return open && closed;
  }

  // Where each vehicle on the map stands: its cell and its position there.
  // The counting takes surplus cars away, so they are known by address only.
  std::map<const CCar*, std::pair<const Cell*, int>> Vehicles() {
    std::map<const CCar*, std::pair<const Cell*, int>> at;
    for (const auto& [tile, l] : Layouts())
      for (int i = 0; i < l->GetCount(); ++i)
        if (const Cell* c = l->GetZelle(i); c->m_pCar) at[c->m_pCar] = {c, c->m_Position};
    return at;
  }
};

TEST_F(FarthestLevel, NoLayoutIsTriedThereAndBackAtLevelTwoTheLayoutsLightsAndCarsAreAsBefore) {
  const size_t laid = Layouts().size();
  ASSERT_GT(laid, 15u);
  const int lines = MissingLayoutLines();

  game.Key(SDLK_c).Do(Wait(100));
  ASSERT_EQ(g_ZoomStufe, ISO_ZOOM_4);
  EXPECT_EQ(MissingLayoutLines(), lines) << "zoomed to the farthest level";
  EXPECT_TRUE(Layouts().empty());

  game.Key(SDLK_x).Do(Wait(100));
  EXPECT_EQ(g_IsoRichtung, 1);
  EXPECT_EQ(MissingLayoutLines(), lines) << "turned";

  // A street from the crossing's south arm splits it: a T junction and
  // the arm's two halves are made again.
  ASSERT_EQ(Street(60, 65, 64, 65), STR_BUILD_OK);
  ASSERT_NE(JunctionAt(60, 65), nullptr);
  ASSERT_EQ(JunctionAt(60, 65)->GetAnzLinkedStreets(), 3);
  game.Do(Wait(100));
  EXPECT_EQ(MissingLayoutLines(), lines) << "a street laid";
  // A track over the crossing's west arm, on round a bend: a level
  // crossing and the track's junctions.
  ASSERT_EQ(Track(57, 59, 57, 68), STR_BUILD_OK);
  ASSERT_EQ(Track(57, 68, 52, 68), STR_BUILD_OK);
  ASSERT_TRUE(world.GetRailNet()->HasGrdCrossingAt(57, 63));
  game.Do(Wait(100));
  EXPECT_EQ(MissingLayoutLines(), lines) << "tracks laid";
  EXPECT_TRUE(Layouts().empty());
  EXPECT_TRUE(Layouts().empty());

  for (int turn = 0; turn < 3; ++turn) game.Key(SDLK_x).Do(Wait(100));
  EXPECT_EQ(g_IsoRichtung, 0);
  game.Key(SDLK_d).Do(Wait(100));
  ASSERT_EQ(g_ZoomStufe, ISO_ZOOM_2);
  EXPECT_GT(Layouts().size(), laid) << "the new street's layouts too";
  EXPECT_EQ(MissingLayoutLines(), lines) << "zoomed back";

  // The crossing's lights hold their arms' cells again and change as their
  // cycle runs.
  CAmpelGroup* lights = JunctionAt(60, 63)->GetAmpelGroup();
  ASSERT_NE(lights, nullptr);
  CAmpel* light = nullptr;
  for (int i = 0; i < CAmpelGroup::kSlots && !light; ++i) light = lights->GetAmpel(i);
  ASSERT_NE(light, nullptr);
  ASSERT_NE(light->GetZelle(0), nullptr);
  EXPECT_TRUE(SeenOpenAndClosed(light));

  // The frame of the sprite lists is the plain one, with cars and without.
  EXPECT_EQ(Frame(false), Frame(true));
  ASSERT_GT(PutCars(), 5);
  EXPECT_EQ(Frame(false), Frame(true));
  const auto before = Vehicles();
  game.Do(Wait(600));
  int moved = 0;
  for (const auto& [car, where] : Vehicles())
    if (auto it = before.find(car); it != before.end()) moved += it->second != where;
  EXPECT_GT(moved, 0);
}

// A zoom to the farthest level, a turn there and the zoom back write
// nothing at all to the log; no cell is laid there, and back at level 2
// the layouts are the ones laid before, tile for tile.
TEST_F(FarthestLevel, AZoomThereATurnThereAndBackWriteNothingToTheLog) {
  const auto before = Layouts();
  ASSERT_GT(before.size(), 15u);
  const std::string log = ReadFile("errors.log");
  game.Key(SDLK_c).Do(Wait(100));
  ASSERT_EQ(g_ZoomStufe, ISO_ZOOM_4);
  EXPECT_TRUE(Layouts().empty());
  game.Key(SDLK_x).Do(Wait(100));
  EXPECT_EQ(g_IsoRichtung, 1);
  EXPECT_TRUE(Layouts().empty());
  for (int turn = 0; turn < 3; ++turn) game.Key(SDLK_x).Do(Wait(100));
  game.Key(SDLK_d).Do(Wait(100));
  ASSERT_EQ(g_ZoomStufe, ISO_ZOOM_2);
  ASSERT_EQ(g_IsoRichtung, 0);
  EXPECT_EQ(ReadFile("errors.log"), log);
  const auto after = Layouts();
  ASSERT_EQ(after.size(), before.size());
  for (const auto& [tile, layout] : before) EXPECT_EQ(after.count(tile), 1u) << tile.first << "/" << tile.second;
}

// Lights switched on at the farthest level find no cells for their arms;
// zoomed closer, every arm gets its light and the lights run.
TEST_F(FarthestLevel, LightsSwitchedOnThereRunOnceTheViewIsCloserAgain) {
  ASSERT_EQ(Street(60, 65, 64, 65), STR_BUILD_OK);
  ASSERT_NE(JunctionAt(60, 65), nullptr);
  ASSERT_EQ(JunctionAt(60, 65)->GetAnzLinkedStreets(), 3);
  game.Do(Wait(100));
  game.Key(SDLK_c).Do(Wait(100));
  ASSERT_EQ(g_ZoomStufe, ISO_ZOOM_4);
  auto* control = dynamic_cast<CKreuzObj*>(game.Map().GetIsoInfo(60, 65)->GetWorldObject(ISO_LAYER_GROUND));
  ASSERT_NE(control, nullptr);
  ASSERT_EQ(control->SetVarData("KR.AMPEL", 2.0), 0);
  ASSERT_TRUE(JunctionAt(60, 65)->HasAmpel());
  game.Do(Wait(100));

  game.Key(SDLK_d).Do(Wait(100));
  ASSERT_EQ(g_ZoomStufe, ISO_ZOOM_2);
  // The lights that hold cells, and the first of them.
  auto lit = [&](CAmpel** first) {
    CAmpelGroup* lights = JunctionAt(60, 65)->GetAmpelGroup();
    int n = 0;
    for (int i = 0; lights && i < CAmpelGroup::kSlots; ++i)
      if (CAmpel* l = lights->GetAmpel(i); l && l->GetZelle(0) && n++ == 0 && first) *first = l;
    return n;
  };
  CAmpel* light = nullptr;
  const int afterZoom = lit(&light);
  ASSERT_NE(light, nullptr);
  EXPECT_TRUE(SeenOpenAndClosed(light));

  // As many lights as the same junction gets when they are switched on here.
  ASSERT_EQ(control->SetVarData("KR.AMPEL", 0.0), 0);
  ASSERT_EQ(control->SetVarData("KR.AMPEL", 2.0), 0);
  game.Do(Wait(100));
  EXPECT_EQ(afterZoom, lit(nullptr));
}

TEST_F(FarthestLevel, ALoadAtTheFarthestLevelTriesNoLayout) {
  std::filesystem::create_directories("SaveGame");
  ASSERT_EQ(world.SerializeGameStore("SaveGame/FAR.GMD"), 0);
  game.Key(SDLK_c).Do(Wait(100));
  ASSERT_EQ(g_ZoomStufe, ISO_ZOOM_4);
  const int lines = MissingLayoutLines();
  ASSERT_EQ(world.SerializeGameLoad("SaveGame/FAR.GMD"), 0);
  game.Do(Wait(100));
  EXPECT_EQ(MissingLayoutLines(), lines);
  // The load shows the map at the level of a new map, with its layouts.
  EXPECT_EQ(g_ZoomStufe, ISO_ZOOM_2);
  EXPECT_GT(Layouts().size(), 15u);
}

}  // namespace
