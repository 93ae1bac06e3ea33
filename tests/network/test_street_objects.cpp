#include <vector>

#include "street_scene.h"
#include "worldbase/zor_world_host.h"
#include "support/test_support.h"

using streettest::StreetScene;

namespace {

double Read(CWorldObj* o, const char* name, int expectHeld = 0) {
  double v = -99;
  EXPECT_EQ(o->GetVarData(name, &v), expectHeld) << name;
  return v;
}

}  // namespace

TEST_F(StreetScene, StreetTypeVariableMapsToTypesAndCapacities) {
  CStrStrasse* s = Street(Junction(10, 10), Junction(15, 10), STRASSE_2);
  ASSERT_EQ(s->InsertIntoSimWelt(), 0);
  CStreetObj* o = s->GetWorldObj();
  EXPECT_EQ(Read(o, "ST.TYPE"), 2);
  EXPECT_EQ(o->SetVarData("ST.TYPE", 1.0), 0);
  EXPECT_EQ(s->GetStreetType(), STRASSE_1);
  EXPECT_EQ(s->GetCapacity(), 600);
  EXPECT_EQ(SimStreet(s->GetSimIDSecond())->Capacity(), 600);
  EXPECT_EQ(o->SetVarData("ST.TYPE", 3.0), 0);
  EXPECT_EQ(s->GetStreetType(), STRASSE_VIERSPURIG);
  EXPECT_EQ(s->GetCapacity(), 2400);
  EXPECT_EQ(s->GetCapacitySecond(), 2400);
  Read(o, "ST.TYPE", 1);  // a four-lane street is not one of the three
  EXPECT_EQ(Read(o, "ST.CAPACITY"), 2400);
  EXPECT_EQ(o->SetVarData("ST.TYPE", 7.0), 0);
  EXPECT_EQ(s->GetStreetType(), STRASSE_1);
  EXPECT_EQ(s->GetCapacity(), 1);
  EXPECT_EQ(o->GetStreetType(), 1);
  Read(o, "ST.NOTHING", 1);
}

TEST_F(StreetScene, SpeedVariableSetsAndReadsTheSpeedClass) {
  CStrStrasse* s = Street(Junction(10, 10), Junction(15, 10));
  ASSERT_EQ(s->InsertIntoSimWelt(), 0);
  CStreetObj* o = s->GetWorldObj();
  const struct {
    int write;
    double speed;
    int read;
  } cases[] = {{1, 8.0, 1}, {2, 13.0, 2}, {3, 17.0, 3}, {4, 2.0, 4}, {9, 0.0, 4}};
  for (const auto& c : cases) {
    EXPECT_EQ(o->SetVarData("ST.SPEED", c.write), 0);
    EXPECT_DOUBLE_EQ(s->GetStoredVelocity(), c.speed) << c.write;
    EXPECT_DOUBLE_EQ(SimStreet(s->GetSimID())->Velocity(), c.speed) << c.write;
    EXPECT_EQ(Read(o, "ST.SPEED"), c.read) << c.write;
  }
  // The class borders: below 3, below 9, below 14.9.
  s->SetVelocity(2.9);
  EXPECT_EQ(Read(o, "ST.SPEED"), 4);
  s->SetVelocity(3.0);
  EXPECT_EQ(Read(o, "ST.SPEED"), 1);
  s->SetVelocity(9.0);
  EXPECT_EQ(Read(o, "ST.SPEED"), 2);
  s->SetVelocity(14.95);
  EXPECT_EQ(Read(o, "ST.SPEED"), 2);  // 14 after truncation
  s->SetVelocity(15.0);
  EXPECT_EQ(Read(o, "ST.SPEED"), 3);
}

TEST_F(StreetScene, BusLanesBelongToFourLaneStreetsOnly) {
  CStrStrasse* narrow = Street(Junction(10, 10), Junction(15, 10), STRASSE_2);
  CStreetObj* n = narrow->GetWorldObj();
  EXPECT_EQ(n->SetVarData("ST.BUSSPUR", 1.0), 0);
  EXPECT_FALSE(narrow->HasBusSpur());
  EXPECT_EQ(Read(n, "ST.BUSSPUR"), 0);

  CStrStrasse* wide =
      Street(Junction(10, 20, STRASSE_VIERSPURIG), Junction(20, 20, STRASSE_VIERSPURIG), STRASSE_VIERSPURIG);
  CStreetObj* w = wide->GetWorldObj();
  EXPECT_EQ(w->SetVarData("ST.BUSSPUR", 1.0), 0);
  EXPECT_TRUE(wide->HasBusSpur());
  EXPECT_EQ(wide->GetCapacity(), 1200);
  EXPECT_EQ(Read(w, "ST.BUSSPUR"), 1);
  w->SetBusSpur(true);  // already there: the capacity stays
  wide->SetCapacity(1500);
  w->SetBusSpur(true);
  EXPECT_EQ(wide->GetCapacity(), 1500);
  EXPECT_EQ(w->SetVarData("ST.BUSSPUR", 0.0), 0);
  EXPECT_FALSE(wide->HasBusSpur());
  EXPECT_EQ(wide->GetCapacity(), 2400);
}

TEST_F(StreetScene, FlowVariablesAndLoadsComeFromTheStreet) {
  CStrStrasse* s = Street(Junction(10, 10), Junction(15, 10), STRASSE_2);
  s->SetCapacity(800);
  CStreetObj* o = s->GetWorldObj();
  EXPECT_EQ(Read(o, "ST.FLOW.1"), 0);
  EXPECT_EQ(Read(o, "ST.FLOW.2"), 0);
  int flow = -1, capacity = -1;
  EXPECT_EQ(o->GetAuslastung(&flow, &capacity), 0);
  EXPECT_EQ(capacity, 800);
  EXPECT_EQ(o->GetMaxAuslastung(), 800);
  EXPECT_EQ(Read(o, "ST.VLS"), 0);
  EXPECT_EQ(o->GetSimID(), s->GetSimID());
}

TEST(StreetObject, WithoutAStreetTheQueriesAnswerEmpty) {
  OpenErrorLog("errors.log");
  CStreetObj o;
  o.Create();
  EXPECT_EQ(o.GetType(), OBJ_STREET_PIECE);
  EXPECT_EQ(o.GetSimID(), -1);
  EXPECT_EQ(o.GetSimIDSecond(), -1);
  EXPECT_EQ(o.GetStreetType(), 0);
  EXPECT_EQ(o.GetMicroZelle(1, 1), nullptr);
  EXPECT_EQ(o.UpdateScreenPos(0, 0, 1, 1), 1);
  EXPECT_FALSE(o.HasVLS());
  EXPECT_FALSE(o.SetVLS(true));
  int flow = 5, capacity = 6;
  EXPECT_EQ(o.GetAuslastung(&flow, &capacity), 1);
  EXPECT_EQ(flow, 5);
  EXPECT_EQ(capacity, 6);
  signed char dx = 3, dy = 3;
  o.GetStreetDirectionAt(1, 1, dx, dy);
  EXPECT_EQ(dx, 0);
  EXPECT_EQ(dy, 0);
  CloseErrorLog();
  EXPECT_NE(zortest::ReadFile("errors.log").find("m_pStreetList im CStreetObject nicht vorhanden"), std::string::npos);
  CRailObj rail;
  rail.Create();
  EXPECT_EQ(rail.GetType(), OBJ_RAIL_PIECE);
}

namespace {
// Records the warnings the interface would show.
struct WarningHost : CWorldHost {
  void SetAchtungWindow(int warning) override { warnings.push_back(warning); }
  std::vector<int> warnings;
};
}  // namespace

TEST_F(StreetScene, GuidanceVariableSwitchesTheSignAndWarnsWhenNoneCanStand) {
  WarningHost warn;
  CWorldHost::Install(&warn);
  CStrJunction* a = Junction(10, 40);
  CStrJunction* b = Junction(20, 40);
  CStrStrasse* s = Street(a, b, STRASSE_2);
  a->LinkStreet(s);
  b->LinkStreet(s);
  ASSERT_EQ(s->InsertIntoSimWelt(), 0);
  s->InsertIntoIsoWelt();
  a->InsertIntoIsoWelt();
  b->InsertIntoIsoWelt();
  CStreetObj* o = s->GetWorldObj();
  EXPECT_EQ(o->SetVarData("ST.VLS", 1.0), 0);
  EXPECT_TRUE(s->HasVLS());
  EXPECT_EQ(Read(o, "ST.VLS"), 1);
  EXPECT_EQ(host.placed.size(), 1u);
  EXPECT_TRUE(warn.warnings.empty());
  EXPECT_EQ(o->SetVarData("ST.VLS", 0.0), 0);
  EXPECT_FALSE(s->HasVLS());
  EXPECT_EQ(host.removed.size(), 1u);
  host.refuseSigns = true;
  EXPECT_EQ(o->SetVarData("ST.VLS", 1.0), 0);
  EXPECT_FALSE(s->HasVLS());
  EXPECT_EQ(warn.warnings, std::vector<int>{29});
  EXPECT_EQ(o->SetVarData("ST.NOTHING", 1.0), 1);
  CWorldHost::Install(nullptr);
}

TEST_F(StreetScene, DirectionVariableTurnsWithTheView) {
  CStrStrasse* s = Street(Junction(40, 20), Junction(40, 10));  // along -y
  CStreetObj* o = s->GetWorldObj();
  CStreetObj::m_Selection = {40, 15, 0, false};
  g_IsoRichtung = 0;
  EXPECT_EQ(Read(o, "ST.RICHTUNG"), 3);  // -y is 1, read as 3
  g_IsoRichtung = 2;
  EXPECT_EQ(Read(o, "ST.RICHTUNG"), 1);  // cached, turned with the view
  CStrStrasse* t = Street(Junction(50, 20), Junction(60, 20));  // along +x
  CStreetObj::m_Selection = {55, 20, 0, false};
  EXPECT_EQ(Read(t->GetWorldObj(), "ST.RICHTUNG"), 2);
  g_IsoRichtung = 0;
  CStreetObj::m_Selection = {};
}

TEST_F(StreetScene, ATilesVisibilityIsAlsoItsCells) {
  CStrJunction* a = Junction(10, 10);
  CStrJunction* b = Junction(15, 10);
  CStrStrasse* s = Street(a, b);
  a->LinkStreet(s);
  b->LinkStreet(s);
  s->InsertIntoIsoWelt();
  CStreetObj* o = s->GetWorldObj();
  CQnoMicroZelle* cells = s->GetMicroZellen(12, 10);
  ASSERT_NE(cells, nullptr);
  o->SetVisible(true, 12, 10);
  o->SetVisible(true, 13, 10);
  EXPECT_TRUE(cells->IsVisible());
  EXPECT_TRUE(o->IsVisible(12, 10));
  o->SetVisible(false, 12, 10);
  EXPECT_FALSE(cells->IsVisible());
  EXPECT_FALSE(o->IsVisible(12, 10));
  o->SetVisible(true, 12, 10);
  EXPECT_TRUE(cells->IsVisible());
  // The object is visible, one tile's cells are not: that tile is not.
  cells->SetVisible(false);
  EXPECT_FALSE(o->IsVisible(12, 10));
  EXPECT_TRUE(o->IsVisible(13, 10));
}
