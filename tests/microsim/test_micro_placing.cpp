// Placing a layout's cells on the screen: UpdateScreenPos works the cells
// out again only when the anchor moved, and every change of the offsets
// (a turn) or of the layouts (a tile removed) still shows in the positions
// the moves and the drawing read.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "iso/iso_geometry.h"
#include "micro_drawing.h"
#include "micro_test_layouts.h"
#include "microsim/micro_host.h"
#include "microsim/micro_simulation.h"

using namespace microtest;

namespace {

std::vector<std::pair<int, int>> Positions(CQnoMicroZelle& layout) {
  std::vector<std::pair<int, int>> at;
  for (int i = 0; i < layout.GetCount(); ++i) at.push_back({layout.GetZelle(i)->m_ScreenX, layout.GetZelle(i)->m_ScreenY});
  return at;
}

// The lane of Lane(5, 2, 3): offsets (5, 3), (15, 3), (25, 3).
std::vector<std::pair<int, int>> LaneAt(int x, int y) { return {{x + 5, y + 3}, {x + 15, y + 3}, {x + 25, y + 3}}; }

}  // namespace

TEST(MicroPlacing, TheCellsFollowTheAnchorAsTheViewScrolls) {
  LayoutPtr lane = Lane(5, 2, 3);
  // A new layout is placed at the first anchor, even one of 0, 0.
  lane->UpdateScreenPos(0, 0);
  EXPECT_EQ(Positions(*lane), LaneAt(0, 0));
  EXPECT_EQ(lane->GetAnchorX(), 0);
  lane->UpdateScreenPos(30, -7);
  EXPECT_EQ(Positions(*lane), LaneAt(30, -7));
  lane->UpdateScreenPos(-1200, 900);
  EXPECT_EQ(Positions(*lane), LaneAt(-1200, 900));
  // Only the x or only the y of the anchor moving is a move too.
  lane->UpdateScreenPos(-1200, 901);
  EXPECT_EQ(Positions(*lane), LaneAt(-1200, 901));
  lane->UpdateScreenPos(-1199, 901);
  EXPECT_EQ(Positions(*lane), LaneAt(-1199, 901));

  // At the same anchor the cells are not written again; SetScreenPos
  // always writes them.
  lane->GetZelle(1)->m_ScreenX = 77;
  lane->UpdateScreenPos(-1199, 901);
  EXPECT_EQ(lane->GetZelle(1)->m_ScreenX, 77);
  lane->SetScreenPos(-1199, 901);
  EXPECT_EQ(Positions(*lane), LaneAt(-1199, 901));
}

TEST(MicroPlacing, AnchorsBeyondSixteenBitsArePlacedEveryTime) {
  LayoutPtr lane = Lane(5, 2, 3);
  // A fresh layout asked for the anchor that marks "none" yet.
  lane->UpdateScreenPos(CQnoMicroZelle::kNoAnchor, CQnoMicroZelle::kNoAnchor);
  EXPECT_EQ(Positions(*lane), LaneAt(INT16_MIN, INT16_MIN));
  lane->UpdateScreenPos(INT16_MIN, 4);
  EXPECT_EQ(Positions(*lane), LaneAt(INT16_MIN, 4));
  // The 16-bit ends themselves and anchors beyond them: none is taken for
  // another that has the same low 16 bits.
  lane->UpdateScreenPos(INT16_MAX, INT16_MAX);
  EXPECT_EQ(Positions(*lane), LaneAt(INT16_MAX, INT16_MAX));
  lane->UpdateScreenPos(40000, 5);
  EXPECT_EQ(Positions(*lane), LaneAt(40000, 5));
  lane->UpdateScreenPos(40000 - 65536, 5);
  EXPECT_EQ(Positions(*lane), LaneAt(40000 - 65536, 5));
  lane->UpdateScreenPos(40000 - 65536, 5 + 65536);
  EXPECT_EQ(Positions(*lane), LaneAt(40000 - 65536, 5 + 65536));
  lane->UpdateScreenPos(40000 - 65536, 5);
  EXPECT_EQ(Positions(*lane), LaneAt(40000 - 65536, 5));
  // Back within 16 bits the anchor is kept again.
  lane->UpdateScreenPos(12, 13);
  lane->GetZelle(0)->m_ScreenY = -1;
  lane->UpdateScreenPos(12, 13);
  EXPECT_EQ(lane->GetZelle(0)->m_ScreenY, -1);
}

TEST(MicroPlacing, ATurnTakesTheTurnedOffsetsAtTheSameAnchorAndAfter) {
  LayoutPtr lane = Lane(5, 2, 3);
  lane->UpdateScreenPos(100, 50);
  // The layout of the turned view: cell 2 missing, cells 1 and 3 elsewhere.
  LayoutPtr turned = Make({C(1, 2, -8, 4), C(3, 2, 6, -9)});
  EXPECT_EQ(lane->TurnRichtung(turned.get(), 100, 50), 0);
  const std::vector<std::pair<int, int>> expect = {{92, 54}, {115, 53}, {106, 41}};
  EXPECT_EQ(Positions(*lane), expect);
  EXPECT_EQ(lane->GetZelle(0)->m_XOffset, -8);
  EXPECT_EQ(lane->GetZelle(1)->m_XOffset, 15);
  // Scrolled and back: the turned offsets stay.
  lane->UpdateScreenPos(0, 0);
  EXPECT_EQ(Positions(*lane), (std::vector<std::pair<int, int>>{{-8, 4}, {15, 3}, {6, -9}}));
  lane->UpdateScreenPos(100, 50);
  EXPECT_EQ(Positions(*lane), expect);
  // A turn at another anchor places there.
  LayoutPtr back = Lane(5, 2, 3);
  EXPECT_EQ(lane->TurnRichtung(back.get(), 1, 2), 0);
  EXPECT_EQ(Positions(*lane), LaneAt(1, 2));
  EXPECT_EQ(lane->TurnRichtung(nullptr, 9, 9), 1);
  EXPECT_EQ(Positions(*lane), LaneAt(1, 2));
}

namespace {

class FixedSpeedHost : public CMicroSimHost {
 public:
  bool GetStreetVelocity(uint16_t simId, double& v) override {
    v = 10.0;
    return simId != 0;
  }
};

// Two tiles of one lane joined into a street with a car on the first.
struct Street {
  LayoutPtr a = Lane(0, 2, 0), b = Lane(30, 2, 0);
  TestCar* car = nullptr;
  Street() {
    a->UpdateScreenPos(0, 0);
    b->UpdateScreenPos(0, 0);
    a->SetFirstSimID(3);
    b->SetFirstSimID(3);
    a->SetNachfolger(a->GetZelle(2), b->GetZelle(0));
    car = new TestCar;
    a->GetZelle(1)->m_Choice = 0;
    EXPECT_EQ(a->SetzeFahrzeug(a->GetZelle(1), car, 40, false, false, false), 0);
  }
  void Move() {
    a->MoveCars(0, 0, false);
    b->MoveCars(0, 0, false);
  }
};

// The moves at a fixed street speed, 100 ms a turn, on the drawing screen.
class MovingStreets : public MicroDrawing {
 protected:
  void SetUp() override {
    MicroDrawing::SetUp();
    CMicroSimHost::Install(&speeds);
    speeds.SetFrameTime(100);
    g_ZoomStufe = ISO_ZOOM_2;
  }
  void TearDown() override {
    CMicroSimHost::Install(nullptr);
    MicroDrawing::TearDown();
  }
  FixedSpeedHost speeds;
};

}  // namespace

TEST_F(MovingStreets, CarsMoveAlikeWhereverTheViewStands) {
  // The same street twice, one of them scrolled between the moves: the
  // cars keep the same cells and positions, drawn shifted by the scroll.
  Street still, scrolled;
  for (int turn = 0; turn < 10; ++turn) {
    const int sx = 17 * turn - 90, sy = 5 - 3 * turn;
    scrolled.a->UpdateScreenPos(sx, sy);
    scrolled.b->UpdateScreenPos(sx, sy);
    still.Move();
    scrolled.Move();
    Cell* s = still.car->GetMicroSimObject();
    Cell* t = scrolled.car->GetMicroSimObject();
    ASSERT_NE(s, nullptr) << turn;
    ASSERT_NE(t, nullptr) << turn;
    EXPECT_EQ(s->m_ID, t->m_ID) << turn;
    EXPECT_EQ(s->m_pOwner == still.b.get(), t->m_pOwner == scrolled.b.get()) << turn;
    EXPECT_EQ(s->m_Position, t->m_Position) << turn;
    EXPECT_EQ(t->m_ScreenX, s->m_ScreenX + sx) << turn;
    EXPECT_EQ(t->m_ScreenY, s->m_ScreenY + sy) << turn;
  }
  // The car crossed into the second tile on the way.
  EXPECT_EQ(scrolled.car->GetMicroSimObject()->m_pOwner, scrolled.b.get());

  // The tile the car stands on goes: its car goes with it, the other tile
  // forgets the link and is still placed.
  const int alive = TestCar::s_alive;
  scrolled.b->Remove();
  EXPECT_EQ(TestCar::s_alive, alive - 1);
  EXPECT_EQ(scrolled.a->GetZelle(2)->m_AnzNachfolger, 0);
  scrolled.a->UpdateScreenPos(1, 1);
  EXPECT_EQ(scrolled.a->GetZelle(2)->m_ScreenX, 21);
}

TEST_F(MovingStreets, ALayoutDrawsTheVehiclesItHoldsAndNoneOnceTheyLeft) {
  Street street;
  street.a->Render(&display);
  street.b->Render(&display);
  EXPECT_EQ(TestCar::s_drawn, 1);
  // Moved on into the second tile, the car is drawn there only.
  for (int turn = 0; turn < 12 && street.car->GetMicroSimObject()->m_pOwner != street.b.get(); ++turn) street.Move();
  ASSERT_EQ(street.car->GetMicroSimObject()->m_pOwner, street.b.get());
  EXPECT_EQ(street.a->GetVehicleCount(), 0);
  TestCar::s_drawn = 0;
  street.a->Render(&display);
  EXPECT_EQ(TestCar::s_drawn, 0);
  street.b->Render(&display);
  EXPECT_EQ(TestCar::s_drawn, 1);
  // The cell view of a layout without vehicles is still drawn.
  host.show = true;
  EXPECT_EQ(Count(Colour(255, 0, 20)), 0);
  street.a->Render(&display);
  EXPECT_GT(Count(Colour(255, 0, 20)), 0);  // its cells link on: red
  EXPECT_EQ(TestCar::s_drawn, 1);
  // A second car placed into the first tile is drawn again.
  auto* second = new TestCar;
  street.a->GetZelle(0)->m_Choice = 0;
  ASSERT_EQ(street.a->SetzeFahrzeug(street.a->GetZelle(0), second, 0, false, false, false), 0);
  street.a->Render(&display);
  EXPECT_EQ(TestCar::s_drawn, 2);
}
