// The stop checks of a school on the real game: a school with no stop
// within its reach is told to need public transport (4/3), one whose
// nearest stop serves no line that it needs a line (4/4); the message
// system shows each only while its cause holds.
#include <gtest/gtest.h>

#include "measures/building_object.h"
#include "measures/opnv.h"
#include "measures/opnv_line.h"
#include "model/data_exchange.h"
#include "model/message.h"
#include "network/street_objects.h"
#include "world/town_fixture.h"
#include "world/zor_world.h"

namespace {

using towntest::Town;

constexpr int kBusStop = 32290;

struct SchoolStops : Town {
  void SetUp() override {
    Town::SetUp();
    ASSERT_NO_FATAL_FAILURE(LongStreetAt80());
  }
  CBuildingObject* School(int x, int y) {
    const int resId = CBuildingDataList::GetBuildingResIDByType(OBJ_SCHOOL, 1, nullptr);
    auto* school = resId > 0 ? dynamic_cast<CBuildingObject*>(Place(OBJ_SCHOOL, resId, x, y)) : nullptr;
    EXPECT_NE(school, nullptr) << "a school at " << x << "/" << y;
    return school;
  }
  // What the checks and the message system say of the school at the cell:
  // the two checks, then whether each message is shown when raised there.
  struct Said {
    bool needsStop, needsLine, shows43, shows44;
    bool operator==(const Said&) const = default;
  };
  Said At(CBuildingObject* school) {
    CDataExchange* dx = world.GetDataExchange();
    CMessage* message = world.GetMessage();
    const int x = school->GetXPos(), y = school->GetYPos();
    const int w = school->GetXSizeRichtung(), h = school->GetYSizeRichtung();
    Said said{dx->Check_M_G_BUILDING_SCHOOL_OPNVNEEDED(x, y), dx->Check_M_G_BUILDING_SCHOOL_OPNVLINENEEDED(x, y),
              message->AddMessage(4, 3, -1.0f, -1.0f, -1.0f, x, y, -1, w, h) == 0,
              message->AddMessage(4, 4, -1.0f, -1.0f, -1.0f, x, y, -1, w, h) == 0};
    return said;
  }
  static short SimID(CSecondLayerObject* stop) {
    int x, y;
    CStreetObj* street = stop->GetStreet(&x, &y);
    return street ? static_cast<short>(street->GetSimID()) : 0;
  }
};

}  // namespace

TEST_F(SchoolStops, EachStopCheckFiresWhileItsCauseHoldsAndNotOtherwise) {
  CBuildingObject* near = School(82, 60);
  CBuildingObject* far = School(82, 86);
  ASSERT_TRUE(near && far);
  ASSERT_NE(near->GetSimLocation(), nullptr);
  CDataExchange* dx = world.GetDataExchange();

  // No stop anywhere: both schools need one, neither a line.
  EXPECT_EQ(At(near), (Said{true, false, true, false}));
  EXPECT_EQ(At(far), (Said{true, false, true, false}));
  EXPECT_EQ(dx->CheckSchoolsForOpnv(), 2);
  // A cell without a school answers no to both.
  EXPECT_FALSE(dx->Check_M_G_BUILDING_SCHOOL_OPNVNEEDED(84, 60));
  EXPECT_FALSE(dx->Check_M_G_BUILDING_SCHOOL_OPNVLINENEEDED(84, 60));

  // A stop four cells from the near school, over twenty from the far one:
  // the near school has its stop but no line; the far one still no stop.
  auto* stop = dynamic_cast<CSecondLayerObject*>(Place(OBJ_BUSSTOP_SIGN, kBusStop, 80, 64));
  ASSERT_NE(stop, nullptr);
  EXPECT_EQ(At(near), (Said{false, true, false, true}));
  EXPECT_EQ(At(far), (Said{true, false, true, false}));
  EXPECT_EQ(dx->CheckSchoolsForOpnv(), 2);

  // A line that serves the stop: the near school wants for nothing.
  auto* other = dynamic_cast<CSecondLayerObject*>(Place(OBJ_BUSSTOP_SIGN, kBusStop, 80, 48));
  ASSERT_NE(other, nullptr);
  COpnvLine* line = world.GetOpnv()->CreateNewLine(NET_BUS);
  ASSERT_NE(line, nullptr);
  ASSERT_EQ(line->ToolAddHstTail(stop, SimID(stop)), 0);
  ASSERT_EQ(line->ToolAddHstTail(other, SimID(other)), 0);
  EXPECT_EQ(At(near), (Said{false, false, false, false}));
  EXPECT_EQ(At(far), (Said{true, false, true, false}));
  EXPECT_EQ(dx->CheckSchoolsForOpnv(), 1);
}
