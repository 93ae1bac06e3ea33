// The town's speed limit set by the council reaches every street of the
// network.
#include <gtest/gtest.h>

#include <unordered_set>
#include <vector>

#include "model/stadt_verwaltung.h"
#include "network/str_junction.h"
#include "network/str_junction_list.h"
#include "network/str_strasse.h"
#include "world/town_fixture.h"

namespace {

using SpeedTown = towntest::Town;

TEST_F(SpeedTown, ALowerLimitSlowsEveryStreetAndFiftyAfterThirtyOpensTheWiderOnes) {
  CStrBuildLine wide(66, 63, 66, 70);
  ASSERT_EQ(world.GetStreetNet()->CreateStreet(&wide, STRASSE_2), STR_BUILD_OK);
  CStadtVerwaltung* sv = world.GetStadtVerwaltung();
  ASSERT_NE(sv, nullptr);
  for (CStrStrasse* s : Streets()) s->SetVelocity(20.0);
  ASSERT_EQ(sv->SetVarData("SV.SPEED.TOWN", 50.0), 0);
  for (CStrStrasse* s : Streets()) EXPECT_NEAR(s->GetVelocity(), 13.9, 1e-4);
  sv->SetVarData("SV.SPEED.TOWN", 30.0);
  for (CStrStrasse* s : Streets()) EXPECT_NEAR(s->GetVelocity(), 8.0, 1e-4);
  sv->SetVarData("SV.SPEED.TOWN", 50.0);
  int wider = 0;
  for (CStrStrasse* s : Streets()) {
    const bool plain = s->GetStreetType() == STRASSE_1;
    EXPECT_NEAR(s->GetVelocity(), plain ? 8.0 : 13.9, 1e-4);
    wider += plain ? 0 : 1;
  }
  EXPECT_GT(wider, 0);
  // 70 leaves the streets as they are.
  sv->SetVarData("SV.SPEED.TOWN", 70.0);
  EXPECT_EQ(sv->GetVarValue("SV.SPEED.TOWN"), 70.0);
  for (CStrStrasse* s : Streets())
    EXPECT_NEAR(s->GetVelocity(), s->GetStreetType() == STRASSE_1 ? 8.0 : 13.9, 1e-4);
}

}  // namespace
