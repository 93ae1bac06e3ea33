// The vehicles: pictures, sprite table, life, line vehicles at their stops,
// and the placing rules that keep one vehicle per cell.
#include <gtest/gtest.h>

#include "iso/iso_welt.h"
#include "micro_test_host.h"

using namespace microtest;

namespace {

int g_line = 0;
COpnvLine* Line() { return reinterpret_cast<COpnvLine*>(&g_line); }

CMicroOpnv* NewBus(EBusTramType type = BUS_NORMAL) {
  auto* bus = new CMicroOpnv;
  bus->SetBusTramType(type);
  EXPECT_EQ(bus->Create(Line(), 2), 0);
  return bus;
}

}  // namespace

TEST_F(MovementTest, ACarTakesItsPictureAndLifeFromTheCarMix) {
  TestCar car;
  host.sprite = 27;
  host.sizeType = 2;
  EXPECT_EQ(car.CreateCar(nullptr), 0);
  EXPECT_EQ(car.GetSpriteKind(), 27);
  EXPECT_EQ(car.GetResID(), 500);
  EXPECT_EQ(car.GetCarSizeType(), 2);
  EXPECT_EQ(car.GetLife(), 50000);
  EXPECT_EQ(car.GetOffY(1), -3);
  EXPECT_EQ(car.GetOffY(2), -2);
  EXPECT_EQ(car.GetOffY(4), -2);
  host.SetFrameTime(30);
  EXPECT_EQ(car.GetLifeTimeLeft(), 49970);
  EXPECT_EQ(car.GetLifeTimeLeft(), 49940);
}

TEST_F(MovementTest, AKindOutsideTheSpriteTableMakesNoCar) {
  for (int kind : {28, 1000, -1}) {
    TestCar car;
    host.sprite = kind;
    EXPECT_EQ(car.CreateCar(nullptr), 1) << kind;
    EXPECT_EQ(car.GetSpriteKind(), -1);
    EXPECT_EQ(car.SpriteID(0), 0u) << "nothing to draw";
  }
  // Without a car mix there is no car either; a spawn then leaves nothing.
  CMicroSimHost::Install(nullptr);
  TestCar none;
  EXPECT_EQ(none.CreateCar(nullptr), 1);
  CMicroSimHost::Install(&host);
  host.sprite = 30;
  LayoutPtr lane = Chain(4, 40, false);
  int c1 = 0, c2 = 0, s1 = -4, s2 = 0;
  lane->ZaehleAutos(7, 0, c1, c2, s1, s2, 4000, 0);
  EXPECT_EQ(CarsIn(*lane), 0);
  EXPECT_EQ(s1, -4);
}

TEST_F(MovementTest, TheSpriteTableIsReadByKindZoomColumnAndReversedDirection) {
  EXPECT_EQ(CCar::m_SpriteResID[0][0][0], 44614u);
  EXPECT_EQ(CCar::m_SpriteResID[0][1][0], 44500u);
  EXPECT_EQ(CCar::m_SpriteResID[23][0][0], 48819u);
  EXPECT_EQ(CCar::m_SpriteResID[24][1][0], 48950u);
  EXPECT_EQ(CCar::m_SpriteResID[27][0][0], 46526u);
  TestCar car;
  host.sprite = 23;
  ASSERT_EQ(car.CreateCar(nullptr), 0);
  g_ZoomStufe = ISO_ZOOM_1;
  EXPECT_EQ(car.SpriteID(63), 48819u) << "direction 63 is entry 0";
  EXPECT_EQ(car.SpriteID(0), CCar::m_SpriteResID[23][0][63]);
  g_ZoomStufe = ISO_ZOOM_4;
  EXPECT_EQ(car.SpriteID(63), 48786u);
  EXPECT_EQ(car.SpriteID(10), CCar::m_SpriteResID[23][1][53]);
  EXPECT_EQ(car.SpriteID(64), 0u);
  car.SetRichtungsIndex(12);
  car.SetRichtungsIndex(64);
  EXPECT_EQ(car.GetRichtungsIndex(), 12);
}

TEST_F(MovementTest, LineVehiclesTakeThePictureOfTheirKind) {
  struct Row {
    EBusTramType type;
    int picture, sprite, size;
  };
  for (Row r : {Row{BUS_NORMAL, 13014, 23, 3}, Row{BUS_LOWFLOOR, 41469, 25, 3}, Row{BUS_H2, 41337, 24, 3},
                Row{BUS_ELECTRIC, 41658, 26, 3}, Row{TRAM, 24352, 27, 4}}) {
    CMicroOpnv* bus = NewBus(r.type);
    EXPECT_EQ(bus->GetResID(), r.picture);
    EXPECT_EQ(bus->GetSpriteKind(), r.sprite);
    EXPECT_EQ(bus->GetCarSizeType(), r.size);
    EXPECT_EQ(bus->GetOffY(1), -10);
    EXPECT_EQ(bus->GetOffY(2), -5);
    EXPECT_EQ(bus->GetLifeTimeLeft(), 1);
    EXPECT_FALSE(bus->IsAuto());
    bus->Destroy();
    delete bus;
  }
  EXPECT_EQ(host.linesTold, 5) << "each vehicle told its line once";
  CMicroOpnv* a = NewBus();
  CMicroOpnv* b = NewBus();
  EXPECT_EQ(b->GetBusNr(), a->GetBusNr() + 1);
  EXPECT_EQ(a->GetBusNrInLine(), 2);
  delete a;
  delete b;
  EXPECT_EQ(host.linesTold, 7) << "a vehicle deleted with its line tells it too";
}

TEST_F(MovementTest, TheDwellLasts5120Milliseconds) {
  CMicroOpnv* bus = NewBus();
  EXPECT_FALSE(bus->GetStopped());
  bus->SetStopped();
  clock.Advance(3000);
  bus->SetStopped();  // already standing: the dwell does not start again
  clock.Advance(2119);
  EXPECT_TRUE(bus->GetStopped());
  clock.Advance(1);
  EXPECT_FALSE(bus->GetStopped());
  EXPECT_FALSE(bus->GetStopped());
  delete bus;
}

TEST_F(MovementTest, ABusWaitsAtItsStopThenMovesToTheNextStopCell) {
  host.velocity[7] = 20.0;
  host.stopHere = true;
  LayoutPtr stop = Chain(4, 20, false, 7);
  LayoutPtr next = Chain(4, 20, false, 7);
  next->SetScreenPos(300, 100);
  host.nextStop = next->GetZelle(1);
  CMicroOpnv* bus = NewBus();
  stop->GetZelle(0)->m_Choice = 0;
  ASSERT_EQ(stop->SetzeFahrzeug(stop->GetZelle(0), bus, 0, false, false, false), 0);
  const int32_t standsAt = stop->GetZelle(0)->m_Position;
  for (int ms = 0; ms < 5120; ms += 40) {
    stop->MoveCars(5, 6, false);
    ASSERT_EQ(stop->GetZelle(0)->m_pCar, bus) << ms;
    ASSERT_EQ(stop->GetZelle(0)->m_Position, standsAt);
    clock.Advance(40);
  }
  int x = 0, y = 0;
  EXPECT_TRUE(bus->GetIsoXYPos(x, y));
  EXPECT_EQ(x, 5);
  EXPECT_EQ(y, 6);
  // The dwell has passed; another line vehicle on the stop cell holds it.
  CMicroOpnv* other = NewBus();
  CQnoMicroZelle::HoldVehicle(next->GetZelle(1), other);
  next->GetZelle(1)->m_Position = 50;
  stop->MoveCars(5, 6, false);
  EXPECT_EQ(stop->GetZelle(0)->m_pCar, bus);
  CQnoMicroZelle::HoldVehicle(next->GetZelle(1), nullptr);
  next->GetZelle(1)->m_Position = Cell::kNoPosition;
  delete other;
  // Held up, it stands a whole dwell again before it leaves.
  stop->MoveCars(5, 6, false);
  EXPECT_EQ(stop->GetZelle(0)->m_pCar, bus);
  clock.Advance(CMicroOpnv::kDwell);
  stop->MoveCars(5, 6, false);
  EXPECT_EQ(CarsIn(*stop), 0);
  EXPECT_EQ(next->GetZelle(1)->m_pCar, bus);
  EXPECT_EQ(bus->GetMicroSimObject(), next->GetZelle(1));
  // Drawn where it stood: the offset points back to the old cell.
  EXPECT_FLOAT_EQ(next->GetZelle(1)->m_CarX, static_cast<float>(stop->GetZelle(0)->m_ScreenX - next->GetZelle(1)->m_ScreenX));
}

TEST_F(MovementTest, APrivateCarOnTheNextStopCellMakesWayForTheBus) {
  host.velocity[7] = 20.0;
  host.stopHere = true;
  LayoutPtr stop = Chain(3, 20, false, 7);
  LayoutPtr next = Chain(3, 20, false, 7);
  host.nextStop = next->GetZelle(0);
  Park(next->GetZelle(0));
  CMicroOpnv* bus = NewBus();
  stop->GetZelle(0)->m_Choice = 0;
  ASSERT_EQ(stop->SetzeFahrzeug(stop->GetZelle(0), bus, 0, false, false, false), 0);
  stop->MoveCars(1, 1, false);
  clock.Advance(CMicroOpnv::kDwell);
  stop->MoveCars(1, 1, false);
  EXPECT_EQ(next->GetZelle(0)->m_pCar, bus);
  EXPECT_EQ(TestCar::s_alive, 0);
}

TEST_F(MovementTest, ALineVehicleWithoutLineLeaves) {
  LayoutPtr lane = Chain(3, 20, false);
  auto* bus = new CMicroOpnv;
  bus->Create(nullptr, 0);
  lane->GetZelle(0)->m_Choice = 0;
  EXPECT_EQ(lane->SetzeFahrzeug(lane->GetZelle(0), bus, 0, false, false, false), 1);
  EXPECT_EQ(CarsIn(*lane), 0);
  EXPECT_EQ(host.linesTold, 0);
}

TEST_F(MovementTest, ALineVehicleThatLostItsLineLeavesEvenWhenItCannotMove) {
  host.velocity[7] = 20.0;
  LayoutPtr lane = Chain(4, 20, false, 7);
  // The bus at the end of its cell and a car right ahead: it has no room
  // to move this turn.
  Park(lane->GetZelle(1), 200);
  CMicroOpnv* bus = NewBus();
  lane->GetZelle(0)->m_Choice = 0;
  ASSERT_EQ(lane->SetzeFahrzeug(lane->GetZelle(0), bus, 200, false, false, false), 0);
  ASSERT_EQ(lane->GetZelle(0)->m_Position, 0);
  bus->SetOpnvLine(nullptr, 0);
  lane->MoveCars(1, 1, false);
  EXPECT_EQ(lane->GetZelle(0)->m_pCar, nullptr);
  EXPECT_EQ(lane->GetZelle(0)->m_Position, Cell::kNoPosition);
  EXPECT_EQ(CarsIn(*lane), 1) << "the car ahead stays";
  // The stop handling drops one as well, from its cell.
  CMicroOpnv* other = NewBus();
  lane->GetZelle(2)->m_Choice = 0;
  ASSERT_EQ(lane->SetzeFahrzeug(lane->GetZelle(2), other, 0, false, false, false), 0);
  other->SetOpnvLine(nullptr, 0);
  EXPECT_TRUE(lane->SonderfallBus(lane->GetZelle(2), other, 3, 4, 7));
  EXPECT_EQ(lane->GetZelle(2)->m_pCar, nullptr);
  EXPECT_EQ(lane->GetZelle(2)->m_Position, Cell::kNoPosition);
}

TEST_F(MovementTest, ALineVehicleDrivesUpToACellOutOfViewAndWaitsThere) {
  host.velocity[7] = 20.0;
  LayoutPtr lane = Chain(6, 20, false, 7);
  lane->GetZelle(4)->m_Visible = 0;
  CMicroOpnv* bus = NewBus();
  lane->GetZelle(0)->m_Choice = 0;
  ASSERT_EQ(lane->SetzeFahrzeug(lane->GetZelle(0), bus, 0, false, false, false), 0);
  for (int turn = 0; turn < 200; ++turn) lane->MoveCars(1, 1, false);
  EXPECT_EQ(CellOf(*lane, bus), 3) << "it went as far as the cell before the hidden one";
  EXPECT_EQ(bus->GetMicroSimObject(), lane->GetZelle(3));
  EXPECT_EQ(CarsIn(*lane), 1);
  lane->RemoveVehicle(lane->GetZelle(3));
  EXPECT_EQ(host.linesTold, 1);
}

// Where the cells of two tiles join, the last cell of one and the first of
// the next stand at the same point: a step that reaches the first passes
// the joint at once and stops at the cell out of view.
TEST_F(MovementTest, ALineVehicleStoppedOutOfViewAcrossAJointStandsDrawnAndDrivesOnInViewAgain) {
  host.velocity[7] = 20.0;
  LayoutPtr lane = Chain(8, 20, false, 7);
  Cell* joint = lane->GetZelle(3);
  Cell* hidden = lane->GetZelle(4);
  hidden->m_ScreenX = joint->m_ScreenX;
  hidden->m_Visible = 0;
  CMicroOpnv* bus = NewBus();
  lane->GetZelle(0)->m_Choice = 0;
  ASSERT_EQ(lane->SetzeFahrzeug(lane->GetZelle(0), bus, 0, false, false, false), 0);
  for (int turn = 0; turn < 200; ++turn) lane->MoveCars(1, 1, false);
  ASSERT_EQ(bus->GetMicroSimObject(), joint) << "it waits at the joint";
  EXPECT_EQ(joint->m_pCar, bus);
  EXPECT_EQ(joint->m_Position, 0) << "at the joint's point, nothing to go to the hidden cell";
  EXPECT_EQ(lane->GetNextZelle(joint), hidden);
  bus->SetScreenXYPos(-7, -7, -1, -1);
  lane->SetCarPos(joint);
  int x = 0, y = 0, x2 = 0, y2 = 0;
  bus->GetScreenXYPos(x, y, x2, y2);
  EXPECT_EQ(x, joint->m_ScreenX) << "drawn where it stands";
  EXPECT_EQ(y, joint->m_ScreenY);
  // In view again, it drives on.
  hidden->m_Visible = 1;
  for (int turn = 0; turn < 200 && CellOf(*lane, bus) <= 4; ++turn) lane->MoveCars(1, 1, false);
  EXPECT_GT(CellOf(*lane, bus), 4);
}

TEST_F(MovementTest, ALaneChangeKeepsTheCarDrawnWhereItWas) {
  LayoutPtr outer = Chain(3, 20, false, 7);
  LayoutPtr inner = Chain(3, 20, false, 7);
  inner->SetScreenPos(103, 140);
  clock.Set(7777);
  host.SetWorldTime(7777);
  Cell* from = outer->GetZelle(1);
  Cell* target = inner->GetZelle(1);
  Cell* locked = inner->GetZelle(2);
  target->m_pConflict[0] = locked;
  auto* car = new TestCar;
  inner->SetzeAufZielZelle(car, from, target);
  EXPECT_EQ(target->m_pCar, car);
  EXPECT_EQ(car->GetMicroSimObject(), target);
  EXPECT_EQ(locked->m_Locked, 1);
  // The sprite sits at the old cell: 3 pixels left and 40 up of the new.
  EXPECT_FLOAT_EQ(target->m_CarX, -3.0f);
  EXPECT_FLOAT_EQ(target->m_CarY, -40.0f);
  EXPECT_EQ(target->m_Position, 401) << "10 x the 40.1 pixels back to the old cell";
  EXPECT_EQ(target->m_TimeStamp, 7777u);
  inner->RemoveVehicle(target);
  EXPECT_EQ(locked->m_Locked, 0);
  target->m_pConflict[0] = nullptr;
}

TEST_F(MovementTest, ANewCarBeforeALockedCellStandsAtItsCellsOwnPoint) {
  LayoutPtr lane = Chain(4, 40, false);  // 400 tenths apart
  lane->GetZelle(1)->m_Locked = 1;
  auto* car = new TestCar;
  ASSERT_EQ(lane->SetzeFahrzeug(lane->GetZelle(0), car, 0, false, true, false), 0);
  EXPECT_EQ(lane->GetZelle(0)->m_Position, 400);
  EXPECT_FLOAT_EQ(lane->GetZelle(0)->m_CarX, 0.0f);
  // A moving car keeps the offset it got to, lock or not.
  LayoutPtr other = Chain(4, 40, false);
  other->GetZelle(1)->m_Locked = 1;
  auto* moving = new TestCar;
  other->GetZelle(0)->m_Choice = 0;
  ASSERT_EQ(other->SetzeFahrzeug(other->GetZelle(0), moving, 150, false, false, false), 0);
  EXPECT_EQ(other->GetZelle(0)->m_Position, 250);
  EXPECT_FLOAT_EQ(other->GetZelle(0)->m_CarX, 15.0f);
}

// ---------------------------------------------------------------- one vehicle per cell

TEST_F(MovementTest, ASecondCarIsNotPutIntoAnOccupiedCell) {
  LayoutPtr lane = Chain(3, 20, false);
  TestCar* first = Park(lane->GetZelle(0));
  auto* second = new TestCar;
  EXPECT_EQ(lane->SetzeFahrzeug(lane->GetZelle(0), second, 0, false, false, false), 2);
  EXPECT_EQ(lane->GetZelle(0)->m_pCar, first);
  EXPECT_EQ(first->GetMicroSimObject(), lane->GetZelle(0));
  EXPECT_EQ(TestCar::s_alive, 1) << "the newcomer is gone, the occupant stays";
  // A line vehicle takes the cell from a private car, not from another line vehicle.
  CMicroOpnv* bus = NewBus();
  EXPECT_EQ(lane->SetzeFahrzeug(lane->GetZelle(0), bus, 0, false, false, false), 0);
  EXPECT_EQ(lane->GetZelle(0)->m_pCar, bus);
  EXPECT_EQ(TestCar::s_alive, 0);
  CMicroOpnv* bus2 = NewBus();
  EXPECT_EQ(lane->SetzeFahrzeug(lane->GetZelle(0), bus2, 0, false, false, false), 2);
  EXPECT_EQ(lane->GetZelle(0)->m_pCar, bus);
  delete bus2;
}

TEST_F(MovementTest, TheRoomCheckKeepsANewCarClearOfTheOneAhead) {
  LayoutPtr lane = Chain(4, 10, false);  // 100 tenths apart; two lengths are 160 at zoom factor 2
  Park(lane->GetZelle(1), 100);
  auto* car = new TestCar;
  EXPECT_EQ(lane->SetzeFahrzeug(lane->GetZelle(0), car, 0, false, true, false), 2);
  EXPECT_EQ(TestCar::s_alive, 1);
  LayoutPtr wide = Chain(4, 40, false);
  Park(wide->GetZelle(2), 400);
  car = new TestCar;
  EXPECT_EQ(wide->SetzeFahrzeug(wide->GetZelle(0), car, 0, false, true, false), 0);
  EXPECT_EQ(wide->GetZelle(0)->m_Position, 400 - Laenge(0, 2)) << "a new car starts one length into its cell";
}

TEST_F(MovementTest, WalksOverCellsWithoutDistanceEnd) {
  // Four cells on one point in a ring: every distance is 0.
  LayoutPtr ring = Make({C(1, 2, 0, 0, {2}, 4), C(2, 2, 0, 0, {3}, 1), C(3, 2, 0, 0, {4}, 2), C(4, 2, 0, 0, {1}, 3)});
  ring->SetFirstSimID(7);
  TestCar other;
  double gap = 0;
  EXPECT_EQ(ring->FindeNaechstesFahrzeug(ring->GetZelle(1), &other, 500, gap, false), nullptr);
  EXPECT_EQ(gap, 0) << "an empty ring of no length measures nothing";
  TestCar* car = Park(ring->GetZelle(0), 0);
  EXPECT_EQ(ring->FindeNaechstesFahrzeug(ring->GetZelle(0), car, 500, gap, true), car)
      << "a lone car round a ring of no length sees itself";
  EXPECT_LT(gap, 0);
  ring->GetZelle(0)->m_Position = 0;
  EXPECT_EQ(ring->BewegeFahrzeug(ring->GetZelle(0), car, 5.0, nullptr, false, 0, 0, false, false), 0);
  EXPECT_EQ(CarsIn(*ring), 1);
  EXPECT_EQ(car->GetMicroSimObject()->m_pCar, car);
  host.SetFrameTime(40);
  for (int i = 0; i < 10; ++i) ring->MoveCars(0, 0, false);
  EXPECT_EQ(CarsIn(*ring), 1);
}

TEST_F(MovementTest, APlacedCarTakesItsScreenPositionAndDirection) {
  host.velocity[7] = 20.0;
  LayoutPtr lane = Chain(4, 20, false);
  TestCar* car = Place(*lane, 1);
  lane->MoveCars(0, 0, false);
  lane->MoveCars(0, 0, false);
  Cell* cell = car->GetMicroSimObject();
  ASSERT_NE(cell, nullptr);
  lane->SetCarPos(cell);
  int x = 0, y = 0, x2 = 0, y2 = 0;
  car->GetScreenXYPos(x, y, x2, y2);
  EXPECT_EQ(x, cell->m_ScreenX + static_cast<int>(cell->m_CarX));
  EXPECT_EQ(x, 100 + 20 + 3) << "32 tenths past the cell at x 120";
  EXPECT_EQ(y, 100);
  int dir = -1;
  ASSERT_TRUE(lane->CalcRichtung(dir, cell));
  EXPECT_EQ(car->GetRichtungsIndex(), dir);
  // A cell without choice leaves the vehicle where it was drawn.
  cell->m_Choice = Cell::kNoChoice;
  car->SetScreenXYPos(1, 2, -1, -1);
  lane->SetCarPos(cell);
  car->GetScreenXYPos(x, y, x2, y2);
  EXPECT_EQ(x, 1);
}

TEST_F(MovementTest, PlacingAListOfCarsPlacesEachInAVisibleCellAsItsCellWould) {
  host.velocity[7] = 20.0;
  // More cars than the placing reads ahead, moved on a little so that
  // they stand at different offsets in their cells.
  LayoutPtr ring = Chain(48, 20, true);
  std::vector<CCar*> cars;
  for (int i = 0; i < 48; i += 2) cars.push_back(Place(*ring, i));
  for (int t = 0; t < 3; ++t) ring->MoveCars(0, 0, false);
  TestCar loose;  // in no cell: left as it is
  cars.insert(cars.begin() + 5, &loose);
  Cell* hidden = cars[9]->GetMicroSimObject();
  ASSERT_NE(hidden, nullptr);
  hidden->m_Visible = 0;
  struct Drawn {
    int x, y, dir;
  };
  auto drawn = [&] {
    std::vector<Drawn> out;
    for (CCar* car : cars) {
      int x = 0, y = 0, x2 = 0, y2 = 0;
      car->GetScreenXYPos(x, y, x2, y2);
      out.push_back({x, y, car->GetRichtungsIndex()});
    }
    return out;
  };
  auto reset = [&] {
    for (CCar* car : cars) {
      car->SetScreenXYPos(-7, -7, -1, -1);
      car->SetRichtungsIndex(63);
    }
  };
  reset();
  for (CCar* car : cars)
    if (Cell* cell = car->GetMicroSimObject(); cell && cell->m_Visible == 1) ring->SetCarPos(cell);
  const std::vector<Drawn> oneByOne = drawn();
  reset();
  CQnoMicroZelle::PlaceCars(cars);
  const std::vector<Drawn> listed = drawn();
  ASSERT_EQ(listed.size(), oneByOne.size());
  int placed = 0;
  for (size_t i = 0; i < cars.size(); ++i) {
    EXPECT_EQ(listed[i].x, oneByOne[i].x) << i;
    EXPECT_EQ(listed[i].y, oneByOne[i].y) << i;
    EXPECT_EQ(listed[i].dir, oneByOne[i].dir) << i;
    placed += listed[i].x != -7 ? 1 : 0;
  }
  EXPECT_EQ(placed, 23) << "every car but the loose one and the one in the hidden cell";
  EXPECT_EQ(listed[5].x, -7);
  EXPECT_EQ(listed[9].x, -7);
  const Cell* cell = cars[10]->GetMicroSimObject();
  EXPECT_EQ(listed[10].x, cell->m_ScreenX + static_cast<int>(cell->m_CarX));
  EXPECT_EQ(listed[10].dir, 40) << "heading along +x";
  CQnoMicroZelle::PlaceCars({});
}

namespace {

// A host whose map the placing asks for the cars' second tiles.
class MapHost : public ScriptHost {
 public:
  CIsoWelt* map = nullptr;
  CIsoWelt* GetIsoWelt() override { return map; }
};

// The second tile by the map's own conversions: the tile under the point,
// its anchor half a tile down, and the neighbour on the point's side of
// the diagonal; none unless it lies further down the screen.
bool ExpectedSecondTile(CIsoWelt& map, int dir, int x, int y, int& nx, int& ny) {
  int ix = 0, iy = 0;
  map.ScreenKoorToIsoKoor(x, y, &ix, &iy);
  if (!IsoInMap(ix, iy)) return false;
  int ax = 0, ay = 0;
  map.FixeIsoKoorCalc(static_cast<unsigned short>(ix), static_cast<unsigned short>(iy), ax, ay);
  ay += Tile_Size_YDiv2[IsoZoomIndex()];
  nx = ix, ny = iy;
  if ((dir >= 7 && dir <= 24) || (dir >= 40 && dir <= 56))
    nx = (ax - x) - 2 * (y - ay) >= 0 ? ix - 1 : ix + 1;
  else
    ny = (x - ax) - 2 * (y - ay) < 0 ? iy + 1 : iy - 1;
  return nx > ix || ny > iy;
}

}  // namespace

TEST_F(MovementTest, ACarReachingIntoTheTileInFrontIsListedThereAtRotationZeroOnly) {
  MapHost mapHost;
  CIsoWelt map(nullptr, nullptr, nullptr);
  mapHost.map = &map;
  CMicroSimHost::Install(&mapHost);
  map.SetIsoCenter(64, 64);
  map.SetPixelOffset(7, -3);
  // Heading along both axes and the diagonals, so that both neighbours and
  // both sides of a tile's diagonal come up.
  const int steps[][2] = {{20, 0}, {0, 20}, {-20, 0}, {0, -20}, {20, 10}, {-20, 10}, {20, -10}, {-20, -10}};
  int alongX = 0, alongY = 0, none = 0;
  for (TIsoZoomStufe zoom : {ISO_ZOOM_1, ISO_ZOOM_2, ISO_ZOOM_4}) {
    g_ZoomStufe = zoom;
    for (const auto& step : steps) {
      LayoutPtr layout = Make({C(1, 2, 0, 0, {2}), C(2, 2, static_cast<int16_t>(step[0]), static_cast<int16_t>(step[1]), {}, 1)});
      TestCar* car = Park(layout->GetZelle(0), 30);
      layout->GetZelle(0)->m_CarX = 3;
      layout->GetZelle(0)->m_CarY = -2;
      // Every pixel of more than a tile's diamond around the screen centre.
      for (int ay = 280; ay < 330; ++ay)
        for (int ax = 340; ax < 440; ++ax) {
          layout->SetScreenPos(ax, ay);
          car->ResetIsoXYSecond();
          layout->SetCarPos(layout->GetZelle(0));
          int dir = 0;
          ASSERT_TRUE(layout->CalcRichtung(dir, layout->GetZelle(0)));
          const int x = layout->GetZelle(0)->m_ScreenX + 3, y = layout->GetZelle(0)->m_ScreenY - 2;
          int nx = 0, ny = 0;
          if (ExpectedSecondTile(map, dir, x, y, nx, ny)) {
            ASSERT_EQ(car->GetSecondX(), nx) << "zoom " << zoom << " dir " << dir << " at " << x << "," << y;
            ASSERT_EQ(car->GetSecondY(), ny) << "zoom " << zoom << " dir " << dir << " at " << x << "," << y;
            ASSERT_EQ(CIsoWelt::m_CarSecondRender[nx][ny][car->GetSecondSlot()], car);
            ++((dir >= 7 && dir <= 24) || (dir >= 40 && dir <= 56) ? alongX : alongY);
          } else {
            ASSERT_EQ(car->GetSecondX(), -1) << "zoom " << zoom << " dir " << dir << " at " << x << "," << y;
            ++none;
          }
        }
      // At another rotation no tile is listed, whatever the car covers.
      g_IsoRichtung = 1;
      for (int ay = 280; ay < 330; ay += 7)
        for (int ax = 340; ax < 440; ax += 5) {
          layout->SetScreenPos(ax, ay);
          car->ResetIsoXYSecond();
          layout->SetCarPos(layout->GetZelle(0));
          ASSERT_EQ(car->GetSecondX(), -1);
          int x = 0, y = 0, x2 = 0, y2 = 0;
          car->GetScreenXYPos(x, y, x2, y2);
          ASSERT_EQ(x, layout->GetZelle(0)->m_ScreenX + 3);
          ASSERT_EQ(y, layout->GetZelle(0)->m_ScreenY - 2);
        }
      g_IsoRichtung = 0;
    }
  }
  EXPECT_GT(alongX, 1000);
  EXPECT_GT(alongY, 1000);
  EXPECT_GT(none, 1000);
  g_ZoomStufe = ISO_ZOOM_2;
  CMicroSimHost::Install(&host);
}

TEST_F(MovementTest, ACarMovingIntoTheNextCellIsNoLongerDrawnASecondTimeWhereItWas) {
  host.velocity[7] = 20.0;  // 16 tenths a turn
  // Cells a pixel (10 tenths) apart: one turn takes the car from its cell's
  // point into the next cell, where it stops.
  LayoutPtr lane = Chain(10, 1, false);
  TestCar* car = Place(*lane, 0);
  car->SetIsoXYSecond(70, 71, 3);
  CIsoWelt::m_CarSecondRender[70][71][3] = car;
  lane->MoveCars(3, 4, false);
  ASSERT_EQ(CellOf(*lane, car), 1);
  EXPECT_EQ(car->GetMicroSimObject(), lane->GetZelle(1));
  EXPECT_EQ(lane->GetZelle(1)->m_Position, 4);
  EXPECT_EQ(car->GetSecondX(), -1);
  EXPECT_EQ(car->GetSecondSlot(), -1);
  EXPECT_EQ(CIsoWelt::m_CarSecondRender[70][71][3], nullptr);
}
