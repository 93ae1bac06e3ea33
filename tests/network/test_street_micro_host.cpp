// The street network answers the micro simulation by the sim ids of its
// streets.
#include <gtest/gtest.h>

#include <algorithm>

#include "junction_scene.h"
#include "microsim/micro_cells.h"
#include "network/str_micro_host.h"

using namespace junctiontest;

namespace {

class Host : public CStrMicroHost {
 public:
  explicit Host(CStrJunctionList* net) : m_net(net) {}

 protected:
  CStrJunctionList* GetStreets() override { return m_net; }

 private:
  CStrJunctionList* m_net;
};

}  // namespace

TEST(StreetMicroHost, StreetsAreFoundByEitherSimIdAndUnknownIdsAreRefused) {
  World w;
  ASSERT_EQ(w.Build(10, 10, 10, 30), STR_BUILD_OK);
  ASSERT_EQ(w.Build(5, 20, 10, 20), STR_BUILD_OK);
  Host host(w.net.get());
  const std::vector<CStrStrasse*> streets = w.Streets();
  ASSERT_EQ(streets.size(), 3u);
  double v = -1;
  int flow = -1;
  for (size_t i = 0; i < streets.size(); ++i) {
    CStrStrasse* s = streets[i];
    ASSERT_EQ(s->SetVelocity(4.0 + 6.0 * static_cast<double>(i)), 0);
    EXPECT_TRUE(host.GetStreetVelocity(static_cast<uint16_t>(s->GetSimID()), v));
    EXPECT_DOUBLE_EQ(v, 4.0 + 6.0 * static_cast<double>(i));
    EXPECT_TRUE(host.GetStreetFlow(static_cast<uint16_t>(s->GetSimID()), flow));
    EXPECT_EQ(flow, s->GetAuslastung());
    if (s->GetSimIDSecond() != 0) {
      EXPECT_TRUE(host.GetStreetVelocity(static_cast<uint16_t>(s->GetSimIDSecond()), v));
      EXPECT_TRUE(host.GetStreetFlow(static_cast<uint16_t>(s->GetSimIDSecond()), flow));
      EXPECT_EQ(flow, s->GetAuslastungSecond());
    }
  }
  EXPECT_FALSE(host.GetStreetVelocity(0, v));
  EXPECT_FALSE(host.GetStreetFlow(999, flow));
  Host none(nullptr);
  EXPECT_FALSE(none.GetStreetVelocity(static_cast<uint16_t>(streets[0]->GetSimID()), v));
}

TEST(StreetMicroHost, ASpeedIsReadOnceATurnAndAgainInTheNext) {
  World w;
  ASSERT_EQ(w.Build(10, 10, 10, 30), STR_BUILD_OK);
  ASSERT_EQ(w.Build(10, 20, 25, 20), STR_BUILD_OK);
  Host host(w.net.get());
  std::vector<CStrStrasse*> streets = w.Streets();
  ASSERT_EQ(streets.size(), 3u);
  // The branch to the right last: it goes between turns.
  std::sort(streets.begin(), streets.end(), [](CStrStrasse* a, CStrStrasse* b) {
    return std::max(a->GetStartPosX(), a->GetEndPosX()) < std::max(b->GetStartPosX(), b->GetEndPosX());
  });
  CStrStrasse* s = streets[0];
  const auto id = static_cast<uint16_t>(s->GetSimID()), back = static_cast<uint16_t>(s->GetSimIDSecond());
  const auto other = static_cast<uint16_t>(streets[2]->GetSimID());
  double v = -1;
  // Before the first turn every question reads the street.
  ASSERT_EQ(s->SetVelocity(4.0), 0);
  ASSERT_TRUE(host.GetStreetVelocity(id, v));
  EXPECT_DOUBLE_EQ(v, 4.0);
  ASSERT_EQ(s->SetVelocity(10.0), 0);
  ASSERT_TRUE(host.GetStreetVelocity(id, v));
  EXPECT_DOUBLE_EQ(v, 10.0);
  // In a turn the first reading holds, for each id on its own.
  host.SetWorldTime(40);
  ASSERT_TRUE(host.GetStreetVelocity(id, v));
  EXPECT_DOUBLE_EQ(v, 10.0);
  ASSERT_EQ(s->SetVelocity(20.0), 0);
  ASSERT_EQ(streets[2]->SetVelocity(7.0), 0);
  ASSERT_TRUE(host.GetStreetVelocity(id, v));
  EXPECT_DOUBLE_EQ(v, 10.0);
  ASSERT_TRUE(host.GetStreetVelocity(back, v));
  EXPECT_DOUBLE_EQ(v, 10.0) << "the backward id was read with the forward one";
  ASSERT_TRUE(host.GetStreetVelocity(other, v));
  EXPECT_DOUBLE_EQ(v, 7.0);
  EXPECT_FALSE(host.GetStreetVelocity(999, v));
  // The next turn reads again, also at the same time of the world; a
  // question by the backward id first reads the forward id's answer too.
  host.SetWorldTime(40);
  ASSERT_TRUE(host.GetStreetVelocity(back, v));
  EXPECT_DOUBLE_EQ(v, 20.0);
  ASSERT_EQ(s->SetVelocity(30.0), 0);
  ASSERT_TRUE(host.GetStreetVelocity(id, v));
  EXPECT_DOUBLE_EQ(v, 20.0);
  // A street deleted between turns is unknown in the next one.
  ASSERT_EQ(w.net->DeleteStreet(streets[2]), 0);
  host.SetWorldTime(80);
  EXPECT_FALSE(host.GetStreetVelocity(other, v));
  // The street left (the two halves joined) answers by its own id.
  ASSERT_EQ(w.Streets().size(), 1u);
  CStrStrasse* joined = w.Streets()[0];
  ASSERT_EQ(joined->SetVelocity(13.0), 0);
  host.SetWorldTime(120);
  ASSERT_TRUE(host.GetStreetVelocity(static_cast<uint16_t>(joined->GetSimID()), v));
  EXPECT_DOUBLE_EQ(v, 13.0);
}

TEST(StreetMicroHost, ALineVehicleStopsInTheCellOfItsDirectionAndOnTheOuterLaneOfAFourLaneStreet) {
  for (const bool four : {false, true}) {
    SCOPED_TRACE(four ? "four-lane street" : "ordinary street");
    World w{GameData{}};
    // Along y at x 30 from its junction at (30, 10).
    ASSERT_EQ(w.Build(30, 40, 30, 10, four ? STRASSE_VIERSPURIG : STRASSE_1), STR_BUILD_OK);
    Host host(w.net.get());
    ASSERT_EQ(w.Streets().size(), 1u);
    CStrStrasse* s = w.Streets()[0];
    for (short id : {s->GetSimID(), s->GetSimIDSecond()}) {
      ASSERT_NE(id, 0);
      const auto uid = static_cast<uint16_t>(id);
      // Across the street at y 20 one tile's layout carries the
      // direction's stop cell.
      int found = 0;
      for (int x = 29; x <= 31; ++x) {
        CQnoMicroZelle* layout = s->GetMicroZellen(static_cast<unsigned short>(x), 20);
        if (!layout) {
          EXPECT_EQ(host.GetStreetHstZelle(x, 20, uid), nullptr) << x;
          continue;
        }
        BinaryMicroSimObject* cell = host.GetStreetHstZelle(x, 20, uid);
        if (!cell) continue;
        ++found;
        EXPECT_EQ(cell->m_SimID, uid);
        EXPECT_EQ(cell->m_pOwner, layout);
        if (four) {
          EXPECT_TRUE(CQnoMicroZelle::IsAussenSpur(cell));
          // The inner lane of that direction was passed over.
          EXPECT_NE(layout->HasSimIDAndNoBusspur(uid), nullptr);
        } else {
          EXPECT_EQ(cell, layout->HasSimID(uid, false));
        }
      }
      EXPECT_EQ(found, 1) << "direction " << id;
      // Not on the junction's tile, nor off the street.
      EXPECT_EQ(host.GetStreetHstZelle(30, 10, uid), nullptr);
      EXPECT_EQ(host.GetStreetHstZelle(20, 20, uid), nullptr);
    }
    EXPECT_EQ(host.GetStreetHstZelle(30, 20, 999), nullptr);
    EXPECT_EQ(host.GetStreetHstZelle(30, 20, 0), nullptr);
    Host none(nullptr);
    EXPECT_EQ(none.GetStreetHstZelle(30, 20, static_cast<uint16_t>(s->GetSimID())), nullptr);
  }
}
